// docs/api.md names every public routine, global, type and constant of the
// headers behind framework/orvex.h and of the headless display's interface,
// and lists nothing that no public header declares.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tests/api/declared_names.h"

namespace {

using api_page::declared_names;
using api_page::documented_identifiers;
using api_page::entry_names;

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> public_headers() {
    std::vector<std::string> headers;
    std::stringstream list(ORVEX_API_HEADERS);
    for (std::string header; std::getline(list, header, ',');) headers.push_back(header);
    return headers;
}

std::string page_text() { return read_file(std::string(ORVEX_SOURCE_DIR) + "/docs/api.md"); }

// The public names the page does not mention, as "header: name".
std::vector<std::string> missing_names(const std::string& page) {
    const auto documented = documented_identifiers(page);
    std::vector<std::string> missing;
    for (const std::string& header : public_headers())
        for (const std::string& name : declared_names(read_file(std::string(ORVEX_SOURCE_DIR) + "/" + header)))
            if (!documented.count(name)) missing.push_back(header + ": " + name);
    return missing;
}

// ---- the reader of declarations ------------------------------------------------

struct DeclarationCase {
    const char* what;
    const char* header;
    std::vector<std::string> names;
};

const DeclarationCase kDeclarationCases[] = {
    {"a global", "extern int A;", {"A"}},
    {"a global of a template type", "extern CheckedArray<std::int32_t, 1, 20> B;", {"B"}},
    {"an array", "extern char C[261]; extern const std::uint8_t C2[12];", {"C", "C2"}},
    {"a constant whose text holds code", "inline constexpr const char* D = \"{;}\";", {"D"}},
    {"a routine with default arguments", "void E(int a, int* b = nullptr, int* c = nullptr);", {"E"}},
    {"a routine with an attribute", "[[noreturn]] void F(const char* what);", {"F"}},
    {"routine pointers", "extern void (*G)();\nextern LRESULT(CALLBACK* G2)(HWND, UINT);", {"G", "G2"}},
    {"a routine taking a routine type", "void H(std::function<void(int frame)> hook);", {"H"}},
    {"a template routine with a body", "template <class To, class From>\nTo I(From v) { if (v) { return To{}; } return To{}; }",
     {"I"}},
    {"an inline routine", "inline long long J(long long v, long long low) {\n  if (v < low) f(v);\n  return v;\n}", {"J"}},
    {"a struct; its members are not names", "struct K {\n  int x;\n  void member(int y) const;\n};", {"K"}},
    {"a class template", "template <class T, long long Low>\nclass L {\n  T& at(long long i) { return items_[i]; }\n  T items_[4]{};\n};",
     {"L"}},
    {"an alias", "using M = void (*)();", {"M"}},
    {"an enumeration", "enum class N { a, b, c };", {"N"}},
    {"a forward declaration", "namespace other {\nclass N2;\n}\nN2* n2();", {"n2"}},
    {"comments and preprocessor lines", "// extern int X1;\n/* extern int X2; */\n#define X3(a) \\\n  a\n#include \"x.h\"\nextern int O;",
     {"O"}},
    {"nested namespaces", "namespace a {\nnamespace b {\nextern int P;\n}  // namespace b\nvoid Q();\n}  // namespace a",
     {"P", "Q"}},
    {"a using-directive and a static assertion", "using namespace std;\nstatic_assert(sizeof(int) == 4);\nextern int R;", {"R"}},
};

TEST(ApiPageReader, FindsTheNameOfEachKindOfDeclaration) {
    for (const DeclarationCase& c : kDeclarationCases)
        EXPECT_EQ(declared_names(c.header), c.names) << c.what << ":\n" << c.header;
}

TEST(ApiPageReader, TakesDocumentedNamesFromCodeSpansOutsideFencedBlocks) {
    const std::string page =
        "# Page\n- `SFERA(PX, PY)`: a sphere; see `orvex_headless::Frame`.\nPlain TEXTUREID2 text.\n"
        "```cpp\nCUBO(0, 0);\n```\n";
    const auto ids = documented_identifiers(page);
    for (const char* name : {"SFERA", "PX", "orvex_headless", "Frame"}) EXPECT_TRUE(ids.count(name)) << name;
    for (const char* name : {"TEXTUREID2", "CUBO"}) EXPECT_FALSE(ids.count(name)) << name;
    EXPECT_EQ(entry_names(page), std::vector<std::string>{"SFERA"});
}

// ---- the page ------------------------------------------------------------------------

TEST(ApiPage, NamesEveryPublicName) {
    const std::string page = page_text();
    ASSERT_FALSE(page.empty()) << "docs/api.md cannot be read";
    for (const std::string& header : public_headers()) {
        const std::string text = read_file(std::string(ORVEX_SOURCE_DIR) + "/" + header);
        ASSERT_FALSE(text.empty()) << header << " cannot be read";
        // Only a header of nothing but includes (framework/orvex.h) declares nothing itself.
        if (std::regex_search(text, std::regex(R"(\bnamespace\s+\w+\s*\{)"))) {
            EXPECT_FALSE(declared_names(text).empty()) << header << ": no declaration found";
        }
    }
    for (const std::string& missing : missing_names(page))
        ADD_FAILURE() << "docs/api.md does not describe " << missing;
}

TEST(ApiPage, ListsOnlyDeclaredNames) {
    std::set<std::string> declared;
    for (const std::string& header : public_headers())
        for (const std::string& name : declared_names(read_file(std::string(ORVEX_SOURCE_DIR) + "/" + header)))
            declared.insert(name);
    for (const std::string& name : entry_names(page_text()))
        EXPECT_TRUE(declared.count(name)) << "docs/api.md has an entry for " << name
                                          << ", which no public header declares";
}

// The check finds a name whose entry was taken out: the page without an
// entry that is its name's only mention must be missing that name.
TEST(ApiPage, MissesANameWhoseEntryIsTakenOut) {
    const std::string page = page_text();
    std::vector<std::string> lines;
    std::stringstream in(page);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto names = entry_names(lines[i]);
        if (names.empty()) continue;
        std::string rest;
        for (std::size_t j = 0; j < lines.size(); ++j)
            if (j != i) rest += lines[j] + "\n";
        if (documented_identifiers(rest).count(names[0])) continue;  // mentioned elsewhere too
        const auto missing = missing_names(rest);
        EXPECT_TRUE(std::any_of(missing.begin(), missing.end(),
                                [&](const std::string& m) { return m.ends_with(": " + names[0]); }))
            << "without the entry of " << names[0] << " the check still passes";
        return;
    }
    FAIL() << "no entry of the page is its name's only mention";
}

}  // namespace
