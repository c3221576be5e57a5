// Vectors and face normals.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "framework/orvex.h"
#include "tests/support/gl_recorder.h"

namespace {

using orvex::FNORMAL;
using orvex_test::double_bits;
using orvex_test::float_bits;

struct NormalCase {
    const char* what;
    double v[9];
    double expected[3];
};

TEST(FindNormal, UnitNormalOfATriangleFacesTheCounterClockwiseViewer) {
    const NormalCase cases[] = {
        {"counter-clockwise in z = 0", {0, 0, 0, 1, 0, 0, 1, 1, 0}, {0, 0, 1}},
        {"the same points reversed", {1, 1, 0, 1, 0, 0, 0, 0, 0}, {0, 0, -1}},
        {"size does not matter", {0, 0, 0, 3, 0, 0, 3, 0, 4}, {0, -1, 0}},
        // The length is rounded to single before the divisions: 1 / single(sqrt 2),
        // not 1 / sqrt 2 (0.7071067811865475).
        {"length held as a single", {0, 0, 0, 1, 0, 0, 1, 1, 1}, {0, -0.7071067932881648, 0.7071067932881648}},
        {"three equal components", {1, 0, 0, 0, 1, 0, 0, 0, 1}, {0.5773502795520422, 0.5773502795520422, 0.5773502795520422}},
    };
    for (const NormalCase& c : cases) {
        SCOPED_TRACE(c.what);
        orvex::FINDNORMAL(c.v[0], c.v[1], c.v[2], c.v[3], c.v[4], c.v[5], c.v[6], c.v[7], c.v[8]);
        for (int k = 0; k < 3; ++k) EXPECT_EQ(FNORMAL[k + 1], c.expected[k]) << "component " << k + 1;
    }
}

TEST(FindNormal, IntermediatesAreExtendedPrecision) {
    // Points given as singles, as the box and the ground pass them. Products
    // and sums are formed with a 64-bit significand and rounded only where
    // stored; evaluated in plain doubles instead, the z component comes out
    // one unit in the last place lower (-0x1.443e97afc7f92p-1).
    orvex::FINDNORMAL(-0.4f, 0.2f, -1.8f, 1.1f, 0.1f, -1.9f, 0.7f, -1.5f, 0.1f);
    EXPECT_EQ(double_bits(FNORMAL[1]), double_bits(-0x1.7eb700beb6426p-4));
    EXPECT_EQ(double_bits(FNORMAL[2]), double_bits(-0x1.89588531afa3bp-1));
    EXPECT_EQ(double_bits(FNORMAL[3]), double_bits(-0x1.443e97afc7f93p-1));
}

TEST(FindNormal, DegenerateAndExtremeCrossProducts) {
    // Collinear points: zero length, replaced by 1, the zero vector stays.
    orvex::FINDNORMAL(0, 0, 0, 1, 1, 1, 2, 2, 2);
    for (int k = 1; k <= 3; ++k) EXPECT_EQ(FNORMAL[k], 0.0) << k;

    // A length beyond the single range: LENGTH is infinite, all components 0.
    orvex::FINDNORMAL(0, 0, 0, 1e30, 0, 0, 1e30, 1e30, 0);
    EXPECT_EQ(FNORMAL[1], 0.0);
    EXPECT_EQ(FNORMAL[2], 0.0);
    EXPECT_EQ(FNORMAL[3], 0.0);

    // A length below half the smallest single: LENGTH rounds to 0 and is
    // replaced by 1, so the tiny components stay unnormalised.
    orvex::FINDNORMAL(0, 0, 0, 1e-23, 0, 0, 1e-23, 1e-23, 0);
    EXPECT_EQ(FNORMAL[1], 0.0);
    EXPECT_EQ(FNORMAL[2], 0.0);
    EXPECT_EQ(FNORMAL[3], 1e-23 * 1e-23);

    // Just above that, LENGTH is a subnormal single and the result a unit vector.
    orvex::FINDNORMAL(0, 0, 0, 1e-22, 0, 0, 1e-22, 1e-22, 0);
    EXPECT_NEAR(FNORMAL[3], 1.0, 0.2);

    // A not-a-number coordinate: LENGTH replaced by 1, components not numbers.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    orvex::FINDNORMAL(0, 0, 0, 1, 0, 0, 1, nan, 0);
    EXPECT_TRUE(std::isnan(FNORMAL[1]));
    EXPECT_TRUE(std::isnan(FNORMAL[3]));
}

TEST(GlVector, RoundsEachDoubleToTheNearestSingle) {
    const orvex::TGLVECTOR v = orvex::GLVECTOR(0.1, 0.2, 0.3);
    EXPECT_EQ(float_bits(v.X), float_bits(0.1f));
    EXPECT_EQ(float_bits(v.Y), float_bits(0.2f));
    EXPECT_EQ(float_bits(v.Z), float_bits(0.3f));
    const orvex::TGLVECTOR big = orvex::GLVECTOR(1e300, -1e300, 3.4028234663852886e38);
    EXPECT_EQ(big.X, std::numeric_limits<float>::infinity());
    EXPECT_EQ(big.Y, -std::numeric_limits<float>::infinity());
    EXPECT_EQ(big.Z, std::numeric_limits<float>::max()) << "the largest single is not an overflow";
    static_assert(sizeof(orvex::TGLVECTOR) == 12 && sizeof(orvex::TGLVERTEX) == 12);
}

}  // namespace
