#!/usr/bin/env bash
# The whole test suite again under AddressSanitizer and
# UndefinedBehaviorSanitizer: builds the sanitize preset (build/sanitize)
# and runs every test there, the X11 tests included.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/bootstrap.sh tests
cmake --preset sanitize -DORVEX_BUILD_TESTS=ON
cmake --build --preset sanitize -j"$(nproc)"
ctest --preset sanitize -j"$(nproc)"
