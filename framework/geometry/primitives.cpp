// Textured primitives. The sphere's values are computed in
// sphere_mesh.cpp and kept for identical spheres in sphere_cache.cpp.
#include "framework/geometry/primitives.h"

#include <GL/gl.h>

#include "framework/core/checked.h"
#include "framework/geometry/sphere_cache.h"
#include "framework/geometry/sphere_mesh.h"
#include "framework/geometry/vectors.h"
#include "framework/geometry/vertex_recorder.h"

namespace orvex {

namespace {
// One face of a box: its corners in the order they are sent, and the
// texture co-ordinate of each corner as a multiple of TSIZE (0 or 1).
struct Face {
    int corner[4][3];  // per corner: 0 selects the first coordinate of the axis, 1 the second
    int tex[4][2];
};

// Faces in drawing order: z = Z2, z = Z1, y = Y2, y = Y1, x = X2, x = X1.
// Each is counter-clockwise seen from outside when the corners ascend.
constexpr Face kFaces[6] = {
    {{{0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}}, {{0, 0}, {1, 0}, {1, 1}, {0, 1}}},
    {{{0, 0, 0}, {0, 1, 0}, {1, 1, 0}, {1, 0, 0}}, {{1, 0}, {1, 1}, {0, 1}, {0, 0}}},
    {{{0, 1, 0}, {0, 1, 1}, {1, 1, 1}, {1, 1, 0}}, {{0, 1}, {0, 0}, {1, 0}, {1, 1}}},
    {{{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}}, {{1, 1}, {0, 1}, {0, 0}, {1, 0}}},
    {{{1, 0, 0}, {1, 1, 0}, {1, 1, 1}, {1, 0, 1}}, {{1, 0}, {1, 1}, {0, 1}, {0, 0}}},
    {{{0, 0, 0}, {0, 0, 1}, {0, 1, 1}, {0, 1, 0}}, {{0, 0}, {1, 0}, {1, 1}, {0, 1}}},
};
}  // namespace

void LINEFREE(float TX1, float TY1, float TX2, float TY2, float X1, float Y1, float Z1, float X2, float Y2, float Z2,
              bool TEXTURE) {
    if (TEXTURE) glTexCoord2f(TX1, TY1);
    GLVERTEX3F(X1, Y1, Z1);
    if (TEXTURE) glTexCoord2f(TX2, TY2);
    GLVERTEX3F(X2, Y2, Z2);
}

void CUBO(float X, float Y, float Z, float X1, float Y1, float Z1, float X2, float Y2, float Z2, float TSIZE) {
    const float xs[2] = {X1, X2}, ys[2] = {Y1, Y2}, zs[2] = {Z1, Z2};
    const float ts[2] = {0.0f, TSIZE};
    glPushMatrix();
    glTranslatef(X, Y, Z);
    GLBEGIN(GL_QUADS);
    for (const Face& f : kFaces) {
        float p[4][3];
        float t[4][2];
        for (int c = 0; c < 4; ++c) {
            p[c][0] = xs[f.corner[c][0]];
            p[c][1] = ys[f.corner[c][1]];
            p[c][2] = zs[f.corner[c][2]];
            t[c][0] = ts[f.tex[c][0]];
            t[c][1] = ts[f.tex[c][1]];
        }
        FINDNORMAL(p[0][0], p[0][1], p[0][2], p[1][0], p[1][1], p[1][2], p[2][0], p[2][1], p[2][2]);
        glNormal3f(static_cast<float>(FNORMAL[1]), static_cast<float>(FNORMAL[2]), static_cast<float>(FNORMAL[3]));
        LINEFREE(t[0][0], t[0][1], t[1][0], t[1][1], p[0][0], p[0][1], p[0][2], p[1][0], p[1][1], p[1][2], true);
        LINEFREE(t[2][0], t[2][1], t[3][0], t[3][1], p[2][0], p[2][1], p[2][2], p[3][0], p[3][1], p[3][2], true);
    }
    GLEND();
    glPopMatrix();
}

namespace {
// Sends a sphere's values as they are computed (a sphere too large to be kept).
class DirectSink final : public sphere::SphereSink {
public:
    void begin_band() override { GLBEGIN(GL_TRIANGLE_STRIP); }
    void vertex(const sphere::SphereVertex& v) override { send(v); }
    void end_band() override { GLEND(); }

    static void send(const sphere::SphereVertex& v) {
        glNormal3f(v.normal[0], v.normal[1], v.normal[2]);
        glTexCoord2f(v.tex[0], v.tex[1]);
        GLVERTEX3F(v.position[0], v.position[1], v.position[2]);
    }
};
}  // namespace

void SFERA(float PX, float PY, float PZ, float RADIUS, std::int32_t NUMCIRCLE, std::int32_t NUMLINE, float TSIZE) {
    checked_sub(NUMLINE, std::int32_t{1}, "SFERA: NUMLINE - 1");
    if (NUMLINE <= 0) return;
    const sphere::SphereArgs args{PX, PY, PZ, RADIUS, NUMCIRCLE, NUMLINE, TSIZE};
    // The values come from the cache; only the recorder's switches decide,
    // here as for any vertex, what reaches OpenGL.
    if (const sphere::CachedSphere* kept = sphere::cached_sphere(args)) {
        const sphere::SphereVertex* v = kept->vertices.data();
        for (std::int64_t band = 0; band < kept->bands; ++band) {
            GLBEGIN(GL_TRIANGLE_STRIP);
            for (std::int64_t k = 0; k < kept->vertices_per_band; ++k) DirectSink::send(*v++);
            GLEND();
        }
        return;
    }
    DirectSink direct;
    sphere::compute_sphere(args, direct);
}

}  // namespace orvex
