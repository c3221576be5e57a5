#include "framework/geometry/vertex_recorder.h"

namespace orvex {

bool GLVERT3FREMOVE = false;
bool GLVERT3FENABLEEDIT = false;

}  // namespace orvex
