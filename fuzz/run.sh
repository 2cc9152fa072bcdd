#!/bin/sh
# Runs every libFuzzer target of a fuzz build in turn, each from its
# committed seed corpus, for FUZZ_SECONDS seconds (or FUZZ_RUNS executions
# when set), and prints each target's last status line. New inputs go to
# BUILD/corpus/TARGET; crashes to BUILD/findings/.
# usage: fuzz/run.sh BUILD_DIR [TARGET...]
set -u
build=${1:?usage: fuzz/run.sh BUILD_DIR [TARGET...]}
shift
here=$(cd "$(dirname "$0")" && pwd)
seconds=${FUZZ_SECONDS:-60}
limit="-max_total_time=$seconds"
[ -n "${FUZZ_RUNS:-}" ] && limit="-runs=$FUZZ_RUNS"
targets=${*:-$(ls "$here/corpus")}
mkdir -p "$build/findings"
failed=0
for target in $targets; do
  program=$build/fuzz/fuzz_$target
  work=$build/corpus/$target
  mkdir -p "$work"
  log=$build/findings/$target.log
  start=$(date +%s)
  # stdout and stderr of the code under test are closed (libFuzzer keeps its
  # own); a finding is written to findings/ and named in the log.
  "$program" "$limit" -close_fd_mask=3 -print_final_stats=1 \
    -artifact_prefix="$build/findings/$target-" "$work" "$here/corpus/$target" >"$log" 2>&1
  status=$?
  end=$(date +%s)
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  last=$(grep -E '^#[0-9]+' "$log" | tail -1)
  printf '%-18s status=%d runs=%s seconds=%d  %s\n' "$target" "$status" "${runs:-?}" \
    $((end - start)) "$last"
  [ "$status" -eq 0 ] || failed=1
done
exit $failed
