#!/bin/sh
# Runs one libFuzzer target of the fuzz build for a while, on a scratch corpus that starts
# from the target's seed corpus (new inputs are kept there, so the repository's corpus stays
# as it is and the next run goes on where this one stopped), and says how fast it ran and
# how much coverage it reached. Inputs that crash are left in FUZZ_DIR/artifacts/TARGET/.
#
# Usage: scripts/fuzz-target.sh FUZZ_DIR TARGET SECONDS
# Exit status: 0, or 1 when the fuzzer found a crash, a leak or a time-out.
set -u
dir=$1
target=$2
seconds=$3
mkdir -p "$dir/corpus/$target" "$dir/artifacts/$target" "$dir/logs"
log="$dir/logs/$target.log"
LSAN_OPTIONS="suppressions=$(pwd)/.ci/lsan.supp" \
  "$dir/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -print_final_stats=1 -artifact_prefix="$dir/artifacts/$target/" \
  "$dir/corpus/$target" "fuzz/corpus/$target" >"$log" 2>&1
status=$?
coverage() { sed -n 's/.*cov: \([0-9]*\) ft: \([0-9]*\).*/\1 \2/p' | "$@"; }
start=$(grep 'INITED' "$log" | coverage head -1)
end=$(grep -E '^#[0-9]+' "$log" | coverage tail -1)
speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
added=$(sed -n 's/^stat::new_units_added: *//p' "$log")
set -- $start $end
printf 'fuzz_%s: %s s, %s runs, %s exec/s, edges %s -> %s, features %s -> %s, %s new inputs' \
  "$target" "$seconds" "${runs:-?}" "${speed:-?}" "${1:-?}" "${3:-?}" "${2:-?}" "${4:-?}" \
  "${added:-?}"
if [ "$status" -ne 0 ]; then
  printf ', FAILED (status %s, see %s)\n' "$status" "$log"
  exit 1
fi
printf '\n'
