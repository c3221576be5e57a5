// The OpenGL calls of one whole frame of the real program.
#pragma once

#include <vector>

#include "tests/support/gl_recorder.h"

namespace orvex_test {

// Arranges that the program's third frame is recorded, from after the second
// swap to the third, and that Escape ends the program after it. Call before
// grass::run_program(), inside a scenario.
void record_third_frame();

// Runs the program, answering No to its start-up question, with the camera
// turned and moved (XROT 12.5, YROT -7, DEPTH 3) so that the camera's values
// reach the stream, and records its third frame; the program's status.
int run_recording_third_frame();

// The recorded frame, whole: the frame loop's colour clear first and the
// headless display's read-back of the frame last.
const std::vector<GlCall>& recorded_frame();

// What OPENGL_DRAW sent: the recorded frame without the colour clear before
// it and the read-back after it; empty when the frame does not have that shape.
std::vector<GlCall> recorded_drawing();

}  // namespace orvex_test
