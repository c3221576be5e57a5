#!/usr/bin/env bash
# Short regression run of the libFuzzer targets: builds the fuzz preset
# (clang) and runs each target for a while over a copy of its seed corpus.
# Exits non-zero when a target finds a crash, a leak or a broken promise; the
# input that did it is left in the printed directory.
#
#   tools/fuzz-regression.sh [seconds per target, default 30]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-30}"
targets=(tga_reader bmp_decoder region_builder bitmap_region)

tools/bootstrap.sh fuzz

if ! command -v clang++ >/dev/null 2>&1; then
  echo "fuzz-regression: clang++ is not installed" >&2
  exit 2
fi

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target "${targets[@]/%/_fuzz}" -j2

work="$(mktemp -d "${TMPDIR:-/tmp}/orvex-fuzz.XXXXXX")"
status=0
for t in "${targets[@]}"; do
  mkdir -p "$work/$t/corpus" "$work/$t/artifacts"
  cp fuzz/corpus/"$t"/* "$work/$t/corpus/"
  echo "fuzz-regression: $t for ${seconds}s"
  if ! build/fuzz/bin/"${t}_fuzz" -max_total_time="$seconds" -print_final_stats=1 \
      -artifact_prefix="$work/$t/artifacts/" "$work/$t/corpus" >"$work/$t/log" 2>&1; then
    echo "fuzz-regression: $t FAILED; log and input in $work/$t" >&2
    tail -n 40 "$work/$t/log" >&2
    status=1
  else
    grep -E "^stat::number_of_executed_units" "$work/$t/log" || true
  fi
done
if [ "$status" -eq 0 ]; then rm -rf "$work"; fi
exit "$status"
