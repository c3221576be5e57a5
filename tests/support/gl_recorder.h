// The OpenGL call recorder for tests.
//
// A test program linked with orvex_link_gl_recorder(target) has every call of
// the OpenGL and GLU functions listed in gl_recorder_functions.h routed
// through this layer at link time (-Wl,--wrap): while recording is on, each
// call is appended to the record with its name and arguments, in order, and
// every call is forwarded to the real library whether recording is on or not.
// Floats are kept as floats (bit for bit), doubles as doubles.
//
// Every call made by code linked into the test program is seen: the
// framework's, the test's own, and the platform layer's (the headless
// driver reads each presented frame with glPixelStorei, glReadBuffer and
// glReadPixels). Calls made inside the OpenGL and GLU libraries themselves are
// not. Recording is off at start; one thread at a time.
#pragma once

#include <GL/gl.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace orvex_test {

struct GlArg {
    enum class Kind { integer, unsigned_integer, single, double_precision, pointer };
    Kind kind = Kind::integer;
    long long i = 0;            // integer
    unsigned long long u = 0;   // unsigned_integer (GLenum, GLuint, GLbitfield, GLboolean, GLubyte)
    float f = 0.0f;             // single
    double d = 0.0;             // double_precision
    const void* p = nullptr;    // pointer
};

struct GlCall {
    std::string name;
    std::vector<GlArg> args;
    // Floats read through a pointer argument at the call (glLightfv's values,
    // a matrix, ...); empty for calls without such an argument.
    std::vector<float> values;

    // The k-th argument (from 0) of the given kind; a different kind or a
    // missing argument throws std::logic_error, which fails the test.
    float f(std::size_t k) const;
    double d(std::size_t k) const;
    long long i(std::size_t k) const;            // signed integers
    unsigned long long u(std::size_t k) const;   // enumerants and other unsigned values
    const void* p(std::size_t k) const;
    // The call as text, every argument exact and with its type visible:
    // signed integers in decimal, unsigned values (enumerants) in hexadecimal,
    // floats with 9 significant digits and an "f", doubles with 17 and a
    // point: "glAlphaFunc(0x204, 0.0199999996f)", "glOrtho(-2.0, ...)".
    std::string text() const;
};

template <class T>
GlArg gl_arg(T v) {
    GlArg a;
    if constexpr (std::is_pointer_v<T>) {
        a.kind = GlArg::Kind::pointer;
        a.p = static_cast<const void*>(v);
    } else if constexpr (std::is_same_v<T, float>) {
        a.kind = GlArg::Kind::single;
        a.f = v;
    } else if constexpr (std::is_same_v<T, double>) {
        a.kind = GlArg::Kind::double_precision;
        a.d = v;
    } else if constexpr (std::is_integral_v<T> && std::is_signed_v<T>) {
        a.kind = GlArg::Kind::integer;
        a.i = v;
    } else {
        static_assert(std::is_integral_v<T> && std::is_unsigned_v<T>, "no such OpenGL argument type");
        a.kind = GlArg::Kind::unsigned_integer;
        a.u = v;
    }
    return a;
}

// The text() of a call with these arguments, to compare recorded streams
// with: gl_call_text("glMatrixMode", GLenum{GL_PROJECTION}).
template <class... T>
std::string gl_call_text(const char* name, T... args) {
    GlCall c;
    c.name = name;
    (c.args.push_back(gl_arg(args)), ...);
    return c.text();
}

// An OpenGL enumerant constant (an int in the headers) as the GLenum the
// functions take.
constexpr GLenum E(long long v) { return static_cast<GLenum>(v); }

// The number of floats glLightfv and glMaterialfv read for a parameter name.
int gl_light_value_count(GLenum pname);
int gl_material_value_count(GLenum pname);

namespace gl_recorder {

void set_enabled(bool on);
bool enabled();
void clear();
const std::vector<GlCall>& calls();
// The recorded calls of one function, in order.
std::vector<GlCall> calls_named(std::string_view name);
std::size_t count(std::string_view name);
// The names of all recorded calls, in order, and their text().
std::vector<std::string> names();
std::vector<std::string> texts();
// The names of every function the recorder interposes.
const std::vector<std::string>& interposed();

// Clears the record and records until the end of the scope.
class Scope {
public:
    Scope();
    ~Scope();
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

private:
    bool was_enabled_;
};

}  // namespace gl_recorder

// The bit pattern of a float, for exact comparisons (0.0f and -0.0f differ,
// a NaN equals itself).
std::uint32_t float_bits(float v);
std::uint64_t double_bits(double v);

}  // namespace orvex_test
