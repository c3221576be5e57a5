#include "tests/api/declared_names.h"

#include <cctype>
#include <regex>
#include <sstream>

namespace api_page {

namespace {

bool identifier_char(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// The header without comments and preprocessor lines; string and character
// literals are kept as empty ones, so that nothing inside them is read as
// code.
std::string code_only(std::string_view in) {
    std::string out;
    bool line_start = true;
    for (std::size_t i = 0; i < in.size(); ++i) {
        const char c = in[i];
        if (line_start && c == '#') {
            // A preprocessor line, with its continuations.
            while (i < in.size() && in[i] != '\n') {
                if (in[i] == '\\' && i + 1 < in.size() && in[i + 1] == '\n') ++i;
                ++i;
            }
            out += '\n';
            continue;
        }
        if (c == '/' && i + 1 < in.size() && in[i + 1] == '/') {
            while (i < in.size() && in[i] != '\n') ++i;
            out += '\n';
            line_start = true;
            continue;
        }
        if (c == '/' && i + 1 < in.size() && in[i + 1] == '*') {
            const std::size_t end = in.find("*/", i + 2);
            i = end == std::string_view::npos ? in.size() : end + 1;
            out += ' ';
            continue;
        }
        if (c == '"' || c == '\'') {
            std::size_t j = i + 1;
            while (j < in.size() && in[j] != c) j += in[j] == '\\' ? 2 : 1;
            out += c;
            out += c;
            i = j;
            line_start = false;
            continue;
        }
        out += c;
        if (c == '\n')
            line_start = true;
        else if (!std::isspace(static_cast<unsigned char>(c)))
            line_start = false;
    }
    return out;
}

std::string last_identifier(std::string_view s) {
    std::size_t end = s.size();
    while (end > 0 && !identifier_char(s[end - 1])) --end;
    std::size_t begin = end;
    while (begin > 0 && identifier_char(s[begin - 1])) --begin;
    return std::string(s.substr(begin, end - begin));
}

// The part of a declaration before the first of `stops` that stands outside
// every bracket, parenthesis and template argument list.
std::string_view before_outermost(std::string_view s, std::string_view stops) {
    int depth = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (depth == 0 && stops.find(c) != std::string_view::npos) return s.substr(0, i);
        if (c == '(' || c == '[' || c == '{' || c == '<') ++depth;
        if (c == ')' || c == ']' || c == '}' || c == '>') --depth;
    }
    return s;
}

// The name one namespace-scope declaration introduces; empty for those that
// introduce none (using-directives, static assertions).
std::string declared_name(std::string decl) {
    static const std::regex attributes(R"(\[\[[^\]]*\]\])");
    decl = std::regex_replace(decl, attributes, " ");
    // A template's parameter list.
    static const std::regex template_head(R"(^\s*template\s*<)");
    std::smatch m;
    if (std::regex_search(decl, m, template_head)) {
        std::size_t i = static_cast<std::size_t>(m.length(0));
        for (int depth = 1; i < decl.size() && depth > 0; ++i) {
            if (decl[i] == '<') ++depth;
            if (decl[i] == '>') --depth;
        }
        decl.erase(0, i);
    }
    static const std::regex ignored(R"(^\s*(using\s+namespace|static_assert)\b)");
    if (std::regex_search(decl, ignored)) return {};
    static const std::regex alias(R"(^\s*using\s+(\w+)\s*=)");
    if (std::regex_search(decl, m, alias)) return m[1];
    static const std::regex type(R"(^\s*(struct|class|union|enum(\s+class|\s+struct)?)\s+(\w+))");
    if (std::regex_search(decl, m, type)) {
        // A forward declaration only names a type declared elsewhere.
        if (decl.find('{') == std::string::npos) return {};
        return m[3];
    }

    // A routine or a variable: cut off the initializer and the body.
    const std::string head(before_outermost(decl, "={"));
    const std::size_t paren = before_outermost(head, "(").size();
    if (paren < head.size()) {
        // "void (*NAME)(...)" and "R (CALLBACK* NAME)(...)" declare a routine pointer.
        std::size_t close = head.find(')', paren);
        const std::string group = head.substr(paren + 1, close == std::string::npos ? std::string::npos : close - paren - 1);
        static const std::regex pointer(R"(^\s*(\w+\s*)?\*\s*(\w+)\s*$)");
        if (std::regex_search(group, m, pointer)) return m[2];
        return last_identifier(std::string_view(head).substr(0, paren));
    }
    return last_identifier(before_outermost(head, "["));
}

}  // namespace

std::vector<std::string> declared_names(std::string_view header) {
    const std::string code = code_only(header);
    std::vector<std::string> names;
    std::string decl;
    int depth = 0;       // brackets open inside the current declaration
    int namespaces = 0;  // namespace blocks open around it
    static const std::regex namespace_head(R"(^\s*(inline\s+)?namespace(\s+[\w:]+)?\s*$)");
    static const std::regex routine_body(R"(^\s*(struct|class|union|enum)\b)");
    auto finish = [&] {
        if (const std::string name = declared_name(decl); !name.empty()) names.push_back(name);
        decl.clear();
    };
    for (const char c : code) {
        if (depth == 0) {
            if (c == '{' && std::regex_search(decl, namespace_head)) {
                ++namespaces;
                decl.clear();
                continue;
            }
            if (c == '}') {  // the end of a namespace block
                if (namespaces > 0) --namespaces;
                decl.clear();
                continue;
            }
            if (c == ';') {
                finish();
                continue;
            }
        }
        decl += c;
        if (c == '(' || c == '[' || c == '{') ++depth;
        if (c == ')' || c == ']' || c == '}') {
            --depth;
            // A routine's body ends its definition; a class body is followed by ';'.
            if (depth == 0 && c == '}' && !std::regex_search(decl, routine_body)) finish();
        }
    }
    return names;
}

std::set<std::string> documented_identifiers(std::string_view page) {
    std::set<std::string> found;
    bool fenced = false;
    std::size_t pos = 0;
    while (pos < page.size()) {
        std::size_t end = page.find('\n', pos);
        if (end == std::string_view::npos) end = page.size();
        const std::string_view line = page.substr(pos, end - pos);
        pos = end + 1;
        if (line.find("```") != std::string_view::npos && line.find_first_not_of(" \t") == line.find("```")) {
            fenced = !fenced;
            continue;
        }
        if (fenced) continue;
        for (std::size_t open = line.find('`'); open != std::string_view::npos;) {
            const std::size_t close = line.find('`', open + 1);
            if (close == std::string_view::npos) break;
            const std::string_view span = line.substr(open + 1, close - open - 1);
            for (std::size_t i = 0; i < span.size();) {
                if (!identifier_char(span[i])) {
                    ++i;
                    continue;
                }
                std::size_t j = i;
                while (j < span.size() && identifier_char(span[j])) ++j;
                found.insert(std::string(span.substr(i, j - i)));
                i = j;
            }
            open = line.find('`', close + 1);
        }
    }
    return found;
}

std::vector<std::string> entry_names(std::string_view page) {
    std::vector<std::string> names;
    static const std::regex entry(R"(^\s*[-*]\s+`([A-Za-z_]\w*))");
    std::stringstream lines{std::string(page)};
    for (std::string line; std::getline(lines, line);) {
        std::smatch m;
        if (std::regex_search(line, m, entry)) names.push_back(m[1]);
    }
    return names;
}

}  // namespace api_page
