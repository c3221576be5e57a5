// The grass-snapshot tool as a user runs it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
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
                         "--drag-right a",     "--bogus 1",           "--out",          "--out ''"};
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

}  // namespace
