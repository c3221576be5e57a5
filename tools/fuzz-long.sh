#!/usr/bin/env bash
# A long run of libFuzzer targets, one after the other on one core at the
# lowest priority: each target works on a copy of its seed corpus for the
# given time; then the inputs it found that reach code the seeds do not are
# merged into fuzz/corpus/<target>. Prints the run's figures (runs, time,
# corpus size before and after, coverage) and exits non-zero on a finding,
# leaving the input that did it in the printed directory.
#
#   tools/fuzz-long.sh SECONDS TARGET...    (targets: tga_reader bmp_decoder region_builder bitmap_region)
set -euo pipefail
cd "$(dirname "$0")/.."

if [ $# -lt 2 ]; then
  echo "usage: tools/fuzz-long.sh SECONDS TARGET..." >&2
  exit 2
fi
seconds="$1"
shift

tools/bootstrap.sh fuzz
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target "${@/%/_fuzz}" -j"$(nproc)"

work="$(mktemp -d "${TMPDIR:-/tmp}/orvex-fuzz-long.XXXXXX")"
status=0
for t in "$@"; do
  fuzzer="build/fuzz/bin/${t}_fuzz"
  mkdir -p "$work/$t/corpus" "$work/$t/artifacts"
  cp fuzz/corpus/"$t"/* "$work/$t/corpus/"
  before=$(find fuzz/corpus/"$t" -type f | wc -l)
  echo "fuzz-long: $t for ${seconds}s from $before seed files (log: $work/$t/log)"
  start=$(date +%s)
  if ! nice -n 19 "$fuzzer" -max_total_time="$seconds" -print_final_stats=1 -timeout=30 \
      -artifact_prefix="$work/$t/artifacts/" "$work/$t/corpus" >"$work/$t/log" 2>&1; then
    echo "fuzz-long: $t FAILED; log and input in $work/$t" >&2
    tail -n 40 "$work/$t/log" >&2
    status=1
    continue
  fi
  end=$(date +%s)
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/$t/log")
  cov=$(grep -oE 'cov: [0-9]+' "$work/$t/log" | tail -n 1)
  grown=$(find "$work/$t/corpus" -type f | wc -l)
  # Only what reaches new code joins the seed corpus.
  nice -n 19 "$fuzzer" -merge=1 fuzz/corpus/"$t" "$work/$t/corpus" >"$work/$t/merge.log" 2>&1
  after=$(find fuzz/corpus/"$t" -type f | wc -l)
  echo "fuzz-long: $t: $runs runs in $((end - start)) s, no findings, final $cov;" \
       "working corpus $before -> $grown files; seed corpus $before -> $after files"
done
if [ "$status" -eq 0 ]; then rm -rf "$work"; fi
exit "$status"
