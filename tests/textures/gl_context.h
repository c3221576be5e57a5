// A current OpenGL rendering context for the texture tests, made the way a
// program makes one: a window of a registered class, its device context, a
// pixel format and a WGL context. Made once per test process.
#pragma once

namespace orvex_test {

// Makes the context current (creating it the first time); false if the
// platform cannot give one.
bool make_gl_current();

}  // namespace orvex_test
