#!/bin/sh
# A commit that cannot read the committed file (an I/O error, not damage)
# must fail and leave the store as it was, not replace the file with the
# defaults plus its own change. Runs inside the sandbox.
# usage: commit_read_error_test.sh NVRAM_PROGRAM STORE_DIR
set -u
nvram=$1 store=$2
"$nvram" set 0 Kept old || { echo "setup failed"; exit 1; }
"$nvram" set 0 Second one || { echo "setup failed"; exit 1; }
# Every open of the set file fails with EIO; the lock and temporaries do not.
# (LeakSanitizer cannot run under ptrace: a sanitizer build leaves it off.)
ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0" strace -f -qq -o /dev/null -P "$store/2860" -e trace=openat -e inject=openat:error=EIO \
  "$nvram" set 0 Second two 2>/tmp/commit.err
status=$?
fail=0
[ "$status" -eq 1 ] || { echo "FAIL: exit status $status, expected 1"; fail=1; }
grep -q "not committed" /tmp/commit.err || { echo "FAIL: no message: $(cat /tmp/commit.err)"; fail=1; }
[ "$("$nvram" get 0 Kept)" = old ] || { echo "FAIL: Kept lost"; fail=1; }
[ "$("$nvram" get 0 Second)" = one ] || { echo "FAIL: Second changed"; fail=1; }
[ "$fail" -eq 0 ] && echo "ok"
exit "$fail"
