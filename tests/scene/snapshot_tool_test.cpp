// The grass-snapshot tool as a user runs it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

// Runs the tool with these arguments; its exit status, and what it printed.
int run_tool(const std::string& args, std::string* output = nullptr) {
    std::string command = std::string(GRASS_SNAPSHOT) + " " + args + " 2>&1";
    FILE* p = popen(command.c_str(), "r");
    if (!p) return -1;
    std::string text;
    char buf[512];
    while (std::fgets(buf, sizeof buf, p)) text += buf;
    int status = pclose(p);
    if (output) *output = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(SnapshotTool, BadOptionsGetTheUsageAndStatusTwo) {
    const char* bad[] = {"--frames 0",         "--frames x",          "--answer maybe", "--screen 100",
                         "--screen 10x10",     "--key 12",            "--key !",        "--drag-left 5",
                         "--drag-right a",     "--bogus 1",           "--out",          "--out ''",
                         "--images /no/such/directory"};
    for (const char* args : bad) {
        std::string out;
        EXPECT_EQ(run_tool(args, &out), 2) << args;
        EXPECT_NE(out.find("usage: grass-snapshot"), std::string::npos) << args;
    }
}

TEST(SnapshotTool, WritesThePictureOfTheProgram) {
    std::string path = testing::TempDir() + "snapshot_tool_test.png";
    std::remove(path.c_str());
    std::string out;
    ASSERT_EQ(run_tool("--out " + path + " --frames 2 --answer yes --screen 320x240 --key 2", &out), 0) << out;
    std::ifstream png(path, std::ios::binary);
    ASSERT_TRUE(png);
    unsigned char head[24] = {};
    png.read(reinterpret_cast<char*>(head), sizeof head);
    const unsigned char signature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    EXPECT_TRUE(std::equal(signature, signature + 8, head));
    // Full-screen on a 320 by 240 screen: the client area inside a 1-pixel border.
    auto be32 = [&](int at) { return (head[at] << 24) | (head[at + 1] << 16) | (head[at + 2] << 8) | head[at + 3]; };
    EXPECT_EQ(be32(16), 318);
    EXPECT_EQ(be32(20), 238);
    // The key press needs more frames than asked for: the tool says so.
    EXPECT_NE(out.find("frames are needed"), std::string::npos) << out;
    std::remove(path.c_str());
}

std::string file_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(SnapshotTool, ReadsTheImagesBesideItselfOrWhereToldAndNamesEachMissingOne) {
    // The tests run where the images are: the textured picture.
    const std::string args = " --frames 1 --screen 64x48";
    const std::string textured = testing::TempDir() + "snapshot_textured.png";
    std::string out;
    ASSERT_EQ(run_tool("--out " + textured + args, &out), 0) << out;
    EXPECT_EQ(out.find("not found"), std::string::npos) << out;

    const std::filesystem::path empty = testing::TempDir() + "snapshot_no_images";
    std::filesystem::create_directories(empty);
    const std::string bin = std::filesystem::current_path().string();
    const struct {
        const char* what;
        std::string options;
        bool all_found;
    } cases[] = {
        {"from a directory without images: those beside the tool", "", true},
        {"--images naming where they are", " --images " + bin, true},
        {"--images naming a directory without them: only there", " --images " + empty.string(), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        // Run from the empty directory, the picture named relative to it.
        std::filesystem::remove(empty / "picture.png");
        const std::string command = "cd " + empty.string() + " && " + GRASS_SNAPSHOT + " --out picture.png" + args +
                                    c.options + " 2>&1";
        FILE* p = popen(command.c_str(), "r");
        ASSERT_NE(p, nullptr);
        std::string text;
        char buf[512];
        while (std::fgets(buf, sizeof buf, p)) text += buf;
        const int status = pclose(p);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << text;
        const std::string picture = file_bytes((empty / "picture.png").string());
        ASSERT_FALSE(picture.empty()) << "the picture is written where it was asked for";
        if (c.all_found) {
            EXPECT_EQ(text.find("not found"), std::string::npos) << text;
            EXPECT_TRUE(picture == file_bytes(textured)) << "not the textured picture";
        } else {
            for (const char* name : {"Floor04.bmp", "wall.bmp", "grassb00.tga", "grassb01.tga", "grassb02.tga",
                                     "grassc00.tga", "grassc01.tga"})
                EXPECT_NE(text.find(std::string("grass: image file \"") + name + "\" not found in " +
                                    std::filesystem::canonical(empty).string() + "\n"),
                          std::string::npos)
                    << name << "\n" << text;
            EXPECT_FALSE(picture == file_bytes(textured)) << "the textured picture without the images";
        }
    }
    std::filesystem::remove_all(empty);
    std::remove(textured.c_str());
}

}  // namespace
