// The OpenGL call recorder: the interposed entry points and the record.
#include "tests/support/gl_recorder.h"

#include <GL/glu.h>

#include <bit>
#include <cstdio>
#include <stdexcept>
#include <tuple>
#include <type_traits>

namespace orvex_test {

namespace {
struct Recorder {
    bool on = false;
    std::vector<GlCall> calls;
};
Recorder& recorder() {
    static Recorder r;
    return r;
}

// Starts a record entry while recording is on; the index of the entry, or -1.
template <class... T>
long long record(const char* name, const std::tuple<T...>& args) {
    Recorder& r = recorder();
    if (!r.on) return -1;
    GlCall c;
    c.name = name;
    c.args.reserve(sizeof...(T));
    std::apply([&](const T&... v) { (c.args.push_back(gl_arg(v)), ...); }, args);
    r.calls.push_back(std::move(c));
    return static_cast<long long>(r.calls.size()) - 1;
}

void copy_floats(long long entry, const GLfloat* values, int count) {
    if (entry < 0 || !values) return;
    auto& c = recorder().calls[static_cast<std::size_t>(entry)];
    c.values.assign(values, values + count);
}

const GlArg& arg_of(const GlCall& c, std::size_t k, GlArg::Kind kind) {
    if (k >= c.args.size())
        throw std::logic_error(c.name + ": no argument " + std::to_string(k) + " in " + c.text());
    if (c.args[k].kind != kind)
        throw std::logic_error(c.name + ": argument " + std::to_string(k) + " has another type in " + c.text());
    return c.args[k];
}

std::string float_text(double v, int digits) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*g", digits, v);
    return buf;
}

std::string double_text(double v) {
    std::string s = float_text(v, 17);
    if (s.find_first_of(".eni") == std::string::npos) s += ".0";
    return s;
}
}  // namespace

float GlCall::f(std::size_t k) const { return arg_of(*this, k, GlArg::Kind::single).f; }
double GlCall::d(std::size_t k) const { return arg_of(*this, k, GlArg::Kind::double_precision).d; }
long long GlCall::i(std::size_t k) const { return arg_of(*this, k, GlArg::Kind::integer).i; }
unsigned long long GlCall::u(std::size_t k) const { return arg_of(*this, k, GlArg::Kind::unsigned_integer).u; }
const void* GlCall::p(std::size_t k) const { return arg_of(*this, k, GlArg::Kind::pointer).p; }

std::string GlCall::text() const {
    std::string s = name + "(";
    for (std::size_t k = 0; k < args.size(); ++k) {
        if (k) s += ", ";
        const GlArg& a = args[k];
        switch (a.kind) {
            case GlArg::Kind::integer: s += std::to_string(a.i); break;
            case GlArg::Kind::unsigned_integer: {
                char buf[32];
                std::snprintf(buf, sizeof buf, "0x%llx", a.u);
                s += buf;
                break;
            }
            case GlArg::Kind::single: s += float_text(a.f, 9) + "f"; break;
            case GlArg::Kind::double_precision: s += double_text(a.d); break;
            case GlArg::Kind::pointer: {
                char buf[32];
                std::snprintf(buf, sizeof buf, "%p", a.p);
                s += buf;
                break;
            }
        }
    }
    s += ")";
    if (!values.empty()) {
        s += " {";
        for (std::size_t k = 0; k < values.size(); ++k) s += (k ? ", " : "") + float_text(values[k], 9) + "f";
        s += "}";
    }
    return s;
}

int gl_light_value_count(GLenum pname) {
    switch (pname) {
        case GL_AMBIENT:
        case GL_DIFFUSE:
        case GL_SPECULAR:
        case GL_POSITION: return 4;
        case GL_SPOT_DIRECTION: return 3;
        default: return 1;
    }
}

int gl_material_value_count(GLenum pname) {
    switch (pname) {
        case GL_AMBIENT:
        case GL_DIFFUSE:
        case GL_SPECULAR:
        case GL_EMISSION:
        case GL_AMBIENT_AND_DIFFUSE: return 4;
        case GL_COLOR_INDEXES: return 3;
        default: return 1;
    }
}

std::uint32_t float_bits(float v) { return std::bit_cast<std::uint32_t>(v); }
std::uint64_t double_bits(double v) { return std::bit_cast<std::uint64_t>(v); }

namespace gl_recorder {

void set_enabled(bool on) { recorder().on = on; }
bool enabled() { return recorder().on; }
void clear() { recorder().calls.clear(); }
const std::vector<GlCall>& calls() { return recorder().calls; }

std::vector<GlCall> calls_named(std::string_view name) {
    std::vector<GlCall> out;
    for (const GlCall& c : recorder().calls)
        if (c.name == name) out.push_back(c);
    return out;
}

std::size_t count(std::string_view name) {
    std::size_t n = 0;
    for (const GlCall& c : recorder().calls) n += c.name == name;
    return n;
}

std::vector<std::string> names() {
    std::vector<std::string> out;
    out.reserve(recorder().calls.size());
    for (const GlCall& c : recorder().calls) out.push_back(c.name);
    return out;
}

std::vector<std::string> texts() {
    std::vector<std::string> out;
    out.reserve(recorder().calls.size());
    for (const GlCall& c : recorder().calls) out.push_back(c.text());
    return out;
}

const std::vector<std::string>& interposed() {
    static const std::vector<std::string> list = {
#define ORVEX_GLREC(result, name, params, args, copy) #name,
#include "tests/support/gl_recorder_functions.h"
#undef ORVEX_GLREC
    };
    return list;
}

Scope::Scope() : was_enabled_(enabled()) {
    clear();
    set_enabled(true);
}
Scope::~Scope() { set_enabled(was_enabled_); }

}  // namespace gl_recorder
}  // namespace orvex_test

// ---- the interposed entry points ------------------------------------------------
//
// For each listed function f the linker sends the calls to f made by the
// test program's objects to __wrap_f, and __real_f names the library's f.
// The static_assert keeps each list entry's signature equal to the header's.

#define ORVEX_GLREC_NONE (void)entry
#define ORVEX_GLREC_FLOATS(pointer, n) orvex_test::copy_floats(entry, pointer, n)
#define ORVEX_GLREC(result, name, params, args, copy)                                                     \
    static_assert(std::is_same_v<decltype(&::name), result(*) params>, #name ": signature differs");      \
    extern "C" result __real_##name params;                                                               \
    extern "C" result __wrap_##name params;                                                               \
    extern "C" result __wrap_##name params {                                                              \
        [[maybe_unused]] const long long entry = orvex_test::record(#name, std::make_tuple args);         \
        copy;                                                                                             \
        return __real_##name args;                                                                        \
    }
#include "tests/support/gl_recorder_functions.h"
#undef ORVEX_GLREC
#undef ORVEX_GLREC_FLOATS
#undef ORVEX_GLREC_NONE
