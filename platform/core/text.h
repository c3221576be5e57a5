// Small text helpers of the platform core.
#pragma once

#include <string>
#include <string_view>

namespace orvex_platform {

// Class and property names compare without regard to ASCII case, as on Windows.
inline char ascii_lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

inline bool equal_nocase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (ascii_lower(a[i]) != ascii_lower(b[i])) return false;
    return true;
}

struct NoCaseLess {
    bool operator()(const std::string& a, const std::string& b) const {
        std::size_t n = a.size() < b.size() ? a.size() : b.size();
        for (std::size_t i = 0; i < n; ++i) {
            char x = ascii_lower(a[i]), y = ascii_lower(b[i]);
            if (x != y) return x < y;
        }
        return a.size() < b.size();
    }
};

inline std::string safe_string(const char* text) { return text ? std::string(text) : std::string(); }

}  // namespace orvex_platform
