// Orvex: a framework for small OpenGL 1.1 programs. Its routines, globals,
// types and named constants live in the namespace orvex.
#pragma once

#include "platform/win32.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "framework/buttons/buttons.h"
#include "framework/core/checked.h"
#include "framework/geometry/grass.h"
#include "framework/geometry/primitives.h"
#include "framework/geometry/vectors.h"
#include "framework/geometry/vertex_recorder.h"
#include "framework/input/input.h"
#include "framework/render/render_state.h"
#include "framework/textures/textures.h"
#include "framework/window/window.h"
