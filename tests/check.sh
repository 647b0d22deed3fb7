# Shared by the shell tests: `source` it with the program under test as $1.
# Sets CLI and a temporary directory TMP (the current directory from here
# on, removed at exit), and `check NAME EXPECTED ACTUAL` counts failures;
# `finish` prints the tally and sets the exit status.
set -uo pipefail
CLI=$(readlink -f "$1")
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
failures=0
checks=0
check() {
    checks=$((checks + 1))
    if [ "$2" == "$3" ]; then echo "ok   $1"; else echo "FAIL $1: expected [$2], got [$3]"; failures=$((failures + 1)); fi
}
finish() {
    echo "checks: $checks, failures: $failures"
    [ "$failures" -eq 0 ]
}
cd "$TMP" || exit 1
