// Projection, lighting and render modes.
#pragma once

#include <GL/gl.h>

#include <cstdint>

namespace orvex {

extern float AMBIENTLIGHT[4];
extern float DIFFUSELIGHT[4];
extern float SPECULARLIGHT[4];
extern float LIGHTPOSITION[4];
extern float OFFX;
extern float OFFY;

// Perspective set-up: far plane `depth`, clear colour (R, G, B, A).
void OPENGL_INIT(double depth, double A, double R, double G, double B);
// Orthographic set-up for 2D work, keeping the window's aspect ratio.
void OPENGL_I2D(double A, double R, double G, double B);
void SETGLLIGHT(std::uint32_t NLIGHT, float L0, float L1, float L2, float L3);
void SETGLREFRACTIVE();
void TWOSIDEON();
void TWOSIDEOFF();

}  // namespace orvex
