// The vertex recorder.
#include "framework/geometry/vertex_recorder.h"

#include <GL/gl.h>

namespace orvex {

TGLVERTEX3F GLBASEVERTEX3F{};
bool GLVERT3FREMOVE = false;
bool GLVERT3FENABLEEDIT = false;

void GLBEGIN(std::uint32_t MODE) {
    if (!GLVERT3FREMOVE) glBegin(MODE);
    GLBASEVERTEX3F.GLVERT3FMAX = GLBASEVERTEX3F.GLVERT3FSETNUM;
}

void GLEND() {
    if (!GLVERT3FREMOVE) glEnd();
}

void GLVERTEX3F(float X, float Y, float Z) {
    if (!GLVERT3FENABLEEDIT) {
        if (!GLVERT3FREMOVE) glVertex3f(X, Y, Z);
        return;
    }
    TGLVERTEX3F& r = GLBASEVERTEX3F;
    // The count advances up to GLVERT3FMAX and then stays there, so that
    // further vertices overwrite the last slot.
    if (r.GLVERT3FCOUNT < r.GLVERT3FMAX) r.GLVERT3FCOUNT = checked_add(r.GLVERT3FCOUNT, 1, "GLVERTEX3F: GLVERT3FCOUNT + 1");
    const std::int32_t k = r.GLVERT3FCOUNT;
    r.GLVERT3FOFFSET.at(k, "GLVERTEX3F: slot GLVERT3FCOUNT of GLVERT3FOFFSET") = GLVECTOR(X, Y, Z);
    const TGLVECTOR& offset = r.GLVERT3FTMP.at(k, "GLVERTEX3F: slot GLVERT3FCOUNT of GLVERT3FTMP");
    TGLVECTOR& sent = r.GLVERT3F.at(k, "GLVERTEX3F: slot GLVERT3FCOUNT of GLVERT3F");
    // Each sum is formed in extended precision and stored as a single.
    sent.X = static_cast<float>(static_cast<long double>(X) + static_cast<long double>(offset.X));
    sent.Y = static_cast<float>(static_cast<long double>(Y) + static_cast<long double>(offset.Y));
    sent.Z = static_cast<float>(static_cast<long double>(Z) + static_cast<long double>(offset.Z));
    if (!GLVERT3FREMOVE) glVertex3f(sent.X, sent.Y, sent.Z);
}

}  // namespace orvex
