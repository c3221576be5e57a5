// Vectors and face normals.
//
// Arithmetic is done in 80-bit extended precision (long double on x86) and
// rounded to double or single at the places where a value is stored: the edge
// vectors and FNORMAL are doubles, the length used for normalisation is a
// single. Every rounding point is an explicit conversion below; nothing is
// computed in double or float arithmetic, so no contraction or excess
// precision of the compiler can move a rounding.
#include "framework/geometry/vectors.h"

#include <cmath>

namespace orvex {

CheckedArray<double, 1, 3> FNORMAL;

TGLVECTOR GLVECTOR(double X, double Y, double Z) {
    return TGLVECTOR{static_cast<float>(X), static_cast<float>(Y), static_cast<float>(Z)};
}

void FINDNORMAL(double V1X, double V1Y, double V1Z, double V2X, double V2Y, double V2Z, double V3X, double V3Y,
                double V3Z) {
    constexpr long long X = 1, Y = 2, Z = 3;
    using ext = long double;

    // Scales the three values in place to unit length. The length is held as
    // a single; a zero or not-a-number length is replaced by 1, which leaves
    // a degenerate vector as it is.
    auto REDUCETOUNIT = [](double& VX, double& VY, double& VZ) {
        const ext x = VX, y = VY, z = VZ;
        float LENGTH = static_cast<float>(std::sqrt((x * x + y * y) + z * z));
        if (LENGTH == 0.0f || std::isnan(LENGTH)) LENGTH = 1.0f;
        VX = static_cast<double>(x / static_cast<ext>(LENGTH));
        VY = static_cast<double>(y / static_cast<ext>(LENGTH));
        VZ = static_cast<double>(z / static_cast<ext>(LENGTH));
    };

    CheckedArray<double, 1, 3> TEMP_V1;  // V1 - V2
    CheckedArray<double, 1, 3> TEMP_V2;  // V2 - V3
    TEMP_V1[X] = static_cast<double>(static_cast<ext>(V1X) - static_cast<ext>(V2X));
    TEMP_V1[Y] = static_cast<double>(static_cast<ext>(V1Y) - static_cast<ext>(V2Y));
    TEMP_V1[Z] = static_cast<double>(static_cast<ext>(V1Z) - static_cast<ext>(V2Z));
    TEMP_V2[X] = static_cast<double>(static_cast<ext>(V2X) - static_cast<ext>(V3X));
    TEMP_V2[Y] = static_cast<double>(static_cast<ext>(V2Y) - static_cast<ext>(V3Y));
    TEMP_V2[Z] = static_cast<double>(static_cast<ext>(V2Z) - static_cast<ext>(V3Z));

    // The cross product TEMP_V1 x TEMP_V2.
    FNORMAL[X] = static_cast<double>(static_cast<ext>(TEMP_V1[Y]) * TEMP_V2[Z] - static_cast<ext>(TEMP_V1[Z]) * TEMP_V2[Y]);
    FNORMAL[Y] = static_cast<double>(static_cast<ext>(TEMP_V1[Z]) * TEMP_V2[X] - static_cast<ext>(TEMP_V1[X]) * TEMP_V2[Z]);
    FNORMAL[Z] = static_cast<double>(static_cast<ext>(TEMP_V1[X]) * TEMP_V2[Y] - static_cast<ext>(TEMP_V1[Y]) * TEMP_V2[X]);

    REDUCETOUNIT(FNORMAL[X], FNORMAL[Y], FNORMAL[Z]);
}

}  // namespace orvex
