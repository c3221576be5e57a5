// Checked indices and checked integer arithmetic.
//
// An index outside its declared bounds, an integer operation that overflows,
// an integer division by zero or a call through a null procedure ends the
// program at once: a message on stderr and a non-zero exit status (see exit
// codes below). Nothing undefined ever happens in its place. Every checked
// place of the framework goes through here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <type_traits>

namespace orvex {

// Exit statuses of the fatal run-time errors.
inline constexpr int EXIT_RANGE_ERROR = 201;
inline constexpr int EXIT_DIVISION_BY_ZERO = 200;
inline constexpr int EXIT_OVERFLOW_ERROR = 215;
inline constexpr int EXIT_IO_ERROR = 101;
inline constexpr int EXIT_NULL_PROCEDURE = 216;

[[noreturn]] void fatal_range_error(const char* what, long long value, long long low, long long high);
[[noreturn]] void fatal_overflow_error(const char* what);
[[noreturn]] void fatal_division_by_zero(const char* what);
[[noreturn]] void fatal_io_error(const char* what, const char* detail);
[[noreturn]] void fatal_null_procedure(const char* what);

// The index `value` must lie in low..high.
inline long long check_index(long long value, long long low, long long high, const char* what) {
    if (value < low || value > high) fatal_range_error(what, value, low, high);
    return value;
}

// A value converted to a narrower integer type must fit it.
template <class To, class From>
To checked_narrow(From value, const char* what) {
    static_assert(std::is_integral_v<To> && std::is_integral_v<From>);
    To result = static_cast<To>(value);
    if (static_cast<From>(result) != value || ((result < To{}) != (value < From{}))) {
        fatal_range_error(what, static_cast<long long>(value), static_cast<long long>(std::numeric_limits<To>::min()),
                          static_cast<long long>(std::numeric_limits<To>::max()));
    }
    return result;
}

template <class T>
T checked_add(T a, T b, const char* what) {
    T r;
    if (__builtin_add_overflow(a, b, &r)) fatal_overflow_error(what);
    return r;
}

template <class T>
T checked_sub(T a, T b, const char* what) {
    T r;
    if (__builtin_sub_overflow(a, b, &r)) fatal_overflow_error(what);
    return r;
}

template <class T>
T checked_mul(T a, T b, const char* what) {
    T r;
    if (__builtin_mul_overflow(a, b, &r)) fatal_overflow_error(what);
    return r;
}

// Integer division rounding toward zero; a zero divisor and the one
// overflowing quotient (lowest value / -1) are fatal.
template <class T>
T checked_div(T a, T b, const char* what) {
    static_assert(std::is_integral_v<T>);
    if (b == 0) fatal_division_by_zero(what);
    if constexpr (std::is_signed_v<T>) {
        if (a == std::numeric_limits<T>::min() && b == T(-1)) fatal_overflow_error(what);
    }
    return a / b;
}

// An array with declared bounds Low..High whose every access is checked.
template <class T, long long Low, long long High>
class CheckedArray {
    static_assert(High >= Low);

public:
    static constexpr long long low = Low;
    static constexpr long long high = High;
    static constexpr std::size_t count = static_cast<std::size_t>(High - Low + 1);

    constexpr CheckedArray() = default;
    template <class... V>
    constexpr explicit CheckedArray(V... values) : items_{values...} {}

    T& at(long long index, const char* what) {
        return items_[static_cast<std::size_t>(check_index(index, Low, High, what) - Low)];
    }
    const T& at(long long index, const char* what) const {
        return items_[static_cast<std::size_t>(check_index(index, Low, High, what) - Low)];
    }
    T& operator[](long long index) { return at(index, "array index"); }
    const T& operator[](long long index) const { return at(index, "array index"); }

    T* data() { return items_; }
    const T* data() const { return items_; }
    static constexpr std::size_t size() { return count; }

private:
    T items_[count]{};
};

}  // namespace orvex
