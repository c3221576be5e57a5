// The program's main routine: question, window, frame loop, shutdown.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "framework/orvex.h"
#include "platform/headless/headless.h"
#include "platform/platform_control.h"
#include "scene/program.h"
#include "tests/support/scenario.h"

namespace {

int count_calls(const char* prefix) {
    auto log = orvex_platform::call_log();
    return static_cast<int>(
        std::count_if(log.begin(), log.end(), [&](const std::string& e) { return e.rfind(prefix, 0) == 0; }));
}

TEST(Program, AsksTheQuestionAndOpensTheWindowedWindowOnNo) {
    EXPECT_SCENARIO({
        orvex_headless::answer_next_message_box(IDNO);
        orvex_headless::on_present([](int frame) {
            if (frame == 2) orvex_headless::key_down(VK_ESCAPE);
        });
        SCENARIO_CHECK(grass::run_program() == 0);
        const auto& boxes = orvex_headless::message_boxes();
        SCENARIO_CHECK(boxes.size() == 1);
        SCENARIO_CHECK(boxes[0].text == "Settare lo schermo intero?  ");
        SCENARIO_CHECK(boxes[0].caption == "Video!");
        SCENARIO_CHECK(boxes[0].type == 0x24 && boxes[0].owner == nullptr);
        SCENARIO_CHECK(!orvex::FULLSCREEN && orvex::WIDTH == 800 && orvex::HEIGHT == 600);
        SCENARIO_CHECK(orvex_headless::last_frame().width == 794);
        SCENARIO_CHECK(orvex_headless::last_frame().height == 578);
    });
}

TEST(Program, AnyAnswerButNoMeansFullScreen) {
    for (int answer : {IDYES, 0}) {
        EXPECT_SCENARIO({
            orvex_headless::set_screen_size(1024, 768);
            if (answer) orvex_headless::answer_next_message_box(answer);
            orvex_headless::on_present([](int frame) {
                if (frame == 1) orvex_headless::key_down(VK_ESCAPE);
            });
            SCENARIO_CHECK(grass::run_program() == 0);
            SCENARIO_CHECK(orvex::FULLSCREEN && orvex::WIDTH == 1024 && orvex::HEIGHT == 768);
            SCENARIO_CHECK(orvex_headless::last_frame().width == 1022);
        });
    }
}

TEST(Program, EscapeEndsTheLoopAfterTheFrameInProgress) {
    EXPECT_SCENARIO({
        orvex_headless::answer_next_message_box(IDNO);
        orvex_headless::on_present([](int frame) {
            if (frame == 3) orvex_headless::key_down(VK_ESCAPE);
        });
        orvex_platform::enable_call_log(true);
        SCENARIO_CHECK(grass::run_program() == 0);
        // Delivered in the fourth frame, which is still drawn and presented.
        SCENARIO_CHECK(orvex_headless::frames_presented() == 4);
        SCENARIO_CHECK(count_calls("SwapBuffers(") == 4);
        SCENARIO_CHECK(!IsWindow(orvex::HWINDOW));
        SCENARIO_CHECK(wglGetCurrentContext() == nullptr);
    });
}

TEST(Program, TheCloseButtonEndsTheLoopAfterTheFrameInProgress) {
    EXPECT_SCENARIO({
        orvex_headless::answer_next_message_box(IDNO);
        orvex_headless::on_present([](int frame) {
            if (frame == 3) orvex_headless::close_button(orvex::HWINDOW);
        });
        orvex_platform::enable_call_log(true);
        SCENARIO_CHECK(grass::run_program() == 0);
        // The fourth frame runs to its end; its swap finds the window gone.
        SCENARIO_CHECK(count_calls("SwapBuffers(") == 4);
        SCENARIO_CHECK(orvex_headless::frames_presented() == 3);
        SCENARIO_CHECK(count_calls("DestroyWindow(") == 1);
    });
}

TEST(Program, TheLoopBodyRunsAtLeastOnce) {
    EXPECT_SCENARIO({
        orvex_headless::answer_next_message_box(IDNO);
        // Escape is waiting before the first frame.
        orvex_headless::key_down(VK_ESCAPE);
        SCENARIO_CHECK(grass::run_program() == 0);
        SCENARIO_CHECK(orvex_headless::frames_presented() == 1);
    });
}

}  // namespace
