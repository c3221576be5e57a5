// The grass scene end to end: the real program on the headless display, with
// input injected between frames as a display would deliver it.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "frame_analysis.h"
#include "framework/orvex.h"
#include "platform/headless/headless.h"
#include "scene/grass_scene.h"
#include "scene/program.h"
#include "tests/support/scenario.h"

namespace {

using orvex_headless::Frame;
using namespace orvex_test;

// Actions to run after given frames have been presented; frames captured by name.
struct Script {
    std::multimap<int, std::function<void()>> steps;
    std::map<std::string, Frame> captured;
    void at(int frame, std::function<void()> action) { steps.emplace(frame, std::move(action)); }
    void capture(int frame, const std::string& name) {
        at(frame, [this, name] { captured[name] = orvex_headless::last_frame(); });
    }
};
Script* g_script = nullptr;

int run(Script& script, int last_frame) {
    g_script = &script;
    script.at(last_frame, [] { orvex_headless::key_down(VK_ESCAPE); });
    orvex_headless::answer_next_message_box(IDNO);
    orvex_headless::on_present([](int frame) {
        auto range = g_script->steps.equal_range(frame);
        for (auto it = range.first; it != range.second; ++it) it->second();
    });
    return grass::run_program();
}

// A key held over a few frames: pressed after `frame`, captured and released
// four frames later (the press and its character take a frame each).
int press_and_capture(Script& s, int frame, std::vector<unsigned> keys, const std::string& name) {
    s.at(frame, [keys] {
        for (unsigned k : keys) orvex_headless::key_down(k);
    });
    int when = frame + 2 * static_cast<int>(keys.size()) + 1;
    s.capture(when, name);
    s.at(when, [keys] {
        for (unsigned k : keys) orvex_headless::key_up(k);
    });
    return when + static_cast<int>(keys.size()) + 1;
}

TEST(Scene, EachGrassKeyGivesItsOwnPictureAndTheHighestHeldKeyWins) {
    EXPECT_SCENARIO({
        Script s;
        s.capture(1, "start");
        int f = 2;
        for (char k : {'1', '2', '3', '4', '5'}) f = press_and_capture(s, f, {static_cast<unsigned>(k)}, std::string(1, k));
        f = press_and_capture(s, f, {'4', '2'}, "2 and 4");
        f = press_and_capture(s, f, {'1'}, "back to 1");
        f = press_and_capture(s, f, {VK_NUMPAD3}, "keypad 3");
        f = press_and_capture(s, f, {VK_NUMPAD5, VK_NUMPAD2}, "keypad 5 and 2");
        SCENARIO_CHECK(run(s, f + 1) == 0);
        auto& c = s.captured;
        const char* keys[] = {"1", "2", "3", "4", "5"};
        for (int i = 0; i < 5; ++i)
            for (int j = i + 1; j < 5; ++j) SCENARIO_CHECK(differing_pixels(c[keys[i]], c[keys[j]]) > 1000);
        SCENARIO_CHECK(differing_pixels(c["start"], c["1"]) == 0);
        SCENARIO_CHECK(differing_pixels(c["2 and 4"], c["4"]) == 0);
        SCENARIO_CHECK(differing_pixels(c["keypad 3"], c["1"]) == 0);
        SCENARIO_CHECK(differing_pixels(c["keypad 5 and 2"], c["1"]) == 0);
        SCENARIO_CHECK(grass::SELTEX == 0);
    });
}

TEST(Scene, DragsGiveThePictureOfTheAnglesAndDepthSetDirectly) {
    EXPECT_SCENARIO({
        Script s;
        auto drag = [](orvex_headless::Button b, int dx, int dy) { orvex_headless::drag(orvex::HWINDOW, b, dx, dy); };
        float xrot = 0, yrot = 0, depth = 0;
        // The mouse speed is set by the first frame.
        s.at(1, [&] { drag(orvex_headless::Button::left, 40, -20); });
        s.capture(6, "left drag");
        s.at(6, [&] {
            xrot = orvex::XROT;
            yrot = orvex::YROT;
            orvex::XROT = orvex::YROT = 0;
        });
        s.at(7, [] {
            orvex::XROT = -20;
            orvex::YROT = 40;
        });
        s.capture(8, "angles set");
        s.at(8, [&] {
            orvex::XROT = orvex::YROT = 0;
            drag(orvex_headless::Button::right, 0, 30);
        });
        s.capture(13, "right drag");
        s.at(13, [&] {
            depth = orvex::DEPTH;
            orvex::DEPTH = 0;
        });
        s.at(14, [] { orvex::DEPTH = -6; });
        s.capture(15, "depth set");
        SCENARIO_CHECK(run(s, 16) == 0);
        SCENARIO_CHECK(xrot == -20.0f && yrot == 40.0f);
        SCENARIO_CHECK(depth == -6.0f);
        auto& c = s.captured;
        SCENARIO_CHECK(differing_pixels(c["left drag"], c["angles set"]) == 0);
        SCENARIO_CHECK(differing_pixels(c["right drag"], c["depth set"]) == 0);
        SCENARIO_CHECK(differing_pixels(c["left drag"], c["right drag"]) > 1000);
    });
}

TEST(Scene, ShowsGrassStandingOnTheGroundAndTheSolidObjects) {
    EXPECT_SCENARIO({
        Script s;
        s.capture(2, "scene");
        SCENARIO_CHECK(run(s, 3) == 0);
        const Frame& f = s.captured["scene"];
        // Blades stand above the far edge of the ground, against the black
        // background: the edge is ragged, rows of partly green and partly black
        // pixels above the first fully green row, where a bare edge would turn
        // from black to ground within a row or two.
        int ragged = 0;
        for (int y = 60; y < 200; ++y) {
            double g = green_share(f, 250, y, 380, y + 1);
            if (g > 0.9) break;
            if (g > 0.05 && black_share(f, 250, y, 380, y + 1) > 0.05) ++ragged;
        }
        if (ragged < 4) std::fprintf(stderr, "ragged rows above the far edge: %d\n", ragged);
        SCENARIO_CHECK(ragged >= 4);
        // Well above the ground there is only background.
        SCENARIO_CHECK(black_share(f, 0, 0, 794, 40) > 0.99);
        // The wall and the sphere are drawn solid with their texture: neither
        // background nor lawn at their middles.
        Rgb wall = rgb_at(f, 290, 195);
        SCENARIO_CHECK(!is_black(wall) && !is_green(wall));
        SCENARIO_CHECK(black_share(f, 480, 180, 530, 230) < 0.01);
    });
}

}  // namespace
