#include "framework/core/checked.h"

#include <cstdio>
#include <cstdlib>

namespace orvex {

namespace {
[[noreturn]] void end_program(int status) {
    std::fflush(stdout);
    std::fflush(stderr);
    // The program is in the middle of whatever failed: no static destructor
    // or exit handler runs on half-updated state.
    std::_Exit(status);
}
}  // namespace

void fatal_range_error(const char* what, long long value, long long low, long long high) {
    std::fprintf(stderr, "orvex: fatal range error: %s: %lld is outside %lld..%lld\n", what, value, low, high);
    end_program(EXIT_RANGE_ERROR);
}

void fatal_overflow_error(const char* what) {
    std::fprintf(stderr, "orvex: fatal overflow error: %s\n", what);
    end_program(EXIT_OVERFLOW_ERROR);
}

void fatal_division_by_zero(const char* what) {
    std::fprintf(stderr, "orvex: fatal division by zero: %s\n", what);
    end_program(EXIT_DIVISION_BY_ZERO);
}

void fatal_io_error(const char* what, const char* detail) {
    std::fprintf(stderr, "orvex: fatal input/output error: %s: %s\n", what, detail ? detail : "");
    end_program(EXIT_IO_ERROR);
}

void fatal_null_procedure(const char* what) {
    std::fprintf(stderr, "orvex: fatal call of a null procedure: %s\n", what);
    end_program(EXIT_NULL_PROCEDURE);
}

}  // namespace orvex
