// Small vector arithmetic: the three-component vector record and face normals.
#pragma once

#include "framework/core/checked.h"

namespace orvex {

// Three single-precision components, copied by value.
struct TGLVECTOR {
    float X;
    float Y;
    float Z;
};

// The same layout as TGLVECTOR under its own name (positions, such as the
// camera translation).
struct TGLVERTEX {
    float X;
    float Y;
    float Z;
};

// The last face normal computed by FINDNORMAL: element 1 is x, 2 is y, 3 is z.
// Zero at start; overwritten whole by every FINDNORMAL call.
extern CheckedArray<double, 1, 3> FNORMAL;

// The vector (X, Y, Z), each component rounded to the nearest single (a double
// beyond the single range becomes an infinity of the same sign).
TGLVECTOR GLVECTOR(double X, double Y, double Z);

// The unit normal of the triangle V1, V2, V3 into FNORMAL; it points towards a
// viewer who sees the three points counter-clockwise. A degenerate triangle
// gives the zero vector.
void FINDNORMAL(double V1X, double V1Y, double V1Z, double V2X, double V2Y, double V2Z, double V3X, double V3Y,
                double V3Z);

}  // namespace orvex
