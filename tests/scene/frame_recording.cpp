#include "frame_recording.h"

#include <GL/gl.h>

#include "framework/orvex.h"
#include "platform/headless/headless.h"
#include "platform/win32.h"
#include "scene/program.h"

namespace orvex_test {

namespace {
std::vector<GlCall>& frame() {
    static std::vector<GlCall> calls;
    return calls;
}
}  // namespace

void record_third_frame() {
    orvex_headless::on_present([](int n) {
        if (n == 2) {
            gl_recorder::clear();
            gl_recorder::set_enabled(true);
        }
        if (n == 3) {
            gl_recorder::set_enabled(false);
            frame() = gl_recorder::calls();
            orvex_headless::key_down(VK_ESCAPE);
        }
    });
}

int run_recording_third_frame() {
    orvex_headless::answer_next_message_box(IDNO);
    record_third_frame();
    orvex::XROT = 12.5f;
    orvex::YROT = -7.0f;
    orvex::DEPTH = 3.0f;
    return grass::run_program();
}

const std::vector<GlCall>& recorded_frame() { return frame(); }

std::vector<GlCall> recorded_drawing() {
    const std::vector<GlCall>& all = frame();
    if (all.empty() || all[0].text() != gl_call_text("glClear", GLbitfield{GL_COLOR_BUFFER_BIT})) return {};
    // The read-back starts with the display's glPixelStorei.
    std::size_t end = all.size();
    while (end > 0 && all[end - 1].name != "glPixelStorei") --end;
    if (end < 2) return {};
    return std::vector<GlCall>(all.begin() + 1, all.begin() + static_cast<long>(end) - 1);
}

}  // namespace orvex_test
