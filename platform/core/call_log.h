// The optional log of platform operations (see platform_control.h).
#pragma once

#include <cstdint>
#include <sstream>
#include <string>
#include <type_traits>

#include "platform/win32.h"

namespace orvex_platform {

bool call_log_enabled();
void append_call(std::string entry);

// Only the operations the program calls are logged: while the platform is
// inside one of its own operations the calls it makes itself are not, but
// the window procedures it calls are program code again.
int& api_depth();
struct ApiScope {
    ApiScope() { ++api_depth(); }
    ~ApiScope() { --api_depth(); }
    ApiScope(const ApiScope&) = delete;
    ApiScope& operator=(const ApiScope&) = delete;
};
struct ProgramCodeScope {
    ProgramCodeScope() : saved(api_depth()) { api_depth() = 0; }
    ~ProgramCodeScope() { api_depth() = saved; }
    ProgramCodeScope(const ProgramCodeScope&) = delete;
    ProgramCodeScope& operator=(const ProgramCodeScope&) = delete;
    int saved;
};

namespace detail {
inline void put(std::ostringstream& out, const char* text) {
    if (!text) {
        out << "null";
    } else if (reinterpret_cast<std::uintptr_t>(text) >> 16 == 0) {
        out << "#" << reinterpret_cast<std::uintptr_t>(text);  // an integer resource name
    } else {
        out << '"' << text << '"';
    }
}
inline void put(std::ostringstream& out, char* text) { put(out, static_cast<const char*>(text)); }
inline void put(std::ostringstream& out, bool v) { out << (v ? "true" : "false"); }
void put(std::ostringstream& out, const PIXELFORMATDESCRIPTOR* pfd);
template <class T>
void put(std::ostringstream& out, T v) {
    if constexpr (std::is_pointer_v<T>) {
        out << "0x" << std::hex << reinterpret_cast<std::uintptr_t>(v) << std::dec;
    } else if constexpr (std::is_enum_v<T>) {
        out << static_cast<long long>(v);
    } else {
        out << +v;
    }
}
}  // namespace detail

// Logs "name(arg, arg, ...)" when the log is on.
template <class... A>
void log_call(const char* name, A... args) {
    if (!call_log_enabled() || api_depth() > 0) return;
    std::ostringstream out;
    out << name << '(';
    bool first = true;
    ((out << (first ? "" : ", "), detail::put(out, args), first = false), ...);
    out << ')';
    append_call(out.str());
}

// The first statement of every platform operation, given the operation's
// arguments: logs the call under the function's own name and marks what
// follows as the platform's own work. A test (platform_api_entries) holds
// every WINAPI definition of the platform to it.
#define ORVEX_API(...)                                                  \
    ::orvex_platform::log_call(__func__ __VA_OPT__(, ) __VA_ARGS__); \
    ::orvex_platform::ApiScope orvex_api_scope_

}  // namespace orvex_platform
