#!/usr/bin/env bash
# Builds everything and runs every test; says at the end when the X11
# driver's tests did not run.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/bootstrap.sh tests
cmake --preset default -DORVEX_BUILD_TESTS=ON -DORVEX_BUILD_BENCHMARKS=ON
cmake --build --preset default -j"$(nproc)"

log=$(mktemp "${TMPDIR:-/tmp}/orvex-ctest.XXXXXX")
trap 'rm -f "$log"' EXIT
status=0
ctest --preset default -j"$(nproc)" 2>&1 | tee "$log" || status=$?

# The X11 tests skip themselves where no Xvfb can be started (unless
# ORVEX_REQUIRE_X11=1 makes that a failure), and are not built at all
# without the X11 driver or the XTest library.
x11_total=$(ctest --preset default -N -L x11 | awk '/^Total Tests:/ {print $3}')
x11_names=$(ctest --preset default -N -L x11 | sed -n 's/^ *Test *#[0-9]*: //p')
x11_skipped=0
if [ -n "$x11_names" ]; then
  x11_skipped=$(sed -n 's/^[[:space:]]*[0-9]* - \(.*\) (Skipped)$/\1/p' "$log" | grep -cxFf <(printf '%s\n' "$x11_names") || true)
fi
if [ "${x11_total:-0}" -eq 0 ]; then
  echo
  echo "run-tests: NOTE: the X11 driver's tests were not built (no X11 driver or no XTest library),"
  echo "run-tests: so this run did not test the X11 driver. tools/bootstrap.sh tests installs what they need."
elif [ "$x11_skipped" -gt 0 ]; then
  echo
  echo "run-tests: NOTE: $x11_skipped of the $x11_total X11 driver tests were SKIPPED: no Xvfb could be started,"
  echo "run-tests: so this run did not test the X11 driver. See why with: ctest --preset default -L x11 -V"
  echo "run-tests: (ORVEX_REQUIRE_X11=1 makes a missing X server fail these tests instead, as in CI)"
fi
exit "$status"
