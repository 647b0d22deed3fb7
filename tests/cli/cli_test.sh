#!/usr/bin/env bash
# The command-line contract of quillomar-cli: output formats, exit statuses
# and messages, Ctrl-C as Pause.
source "$(dirname "$0")/../check.sh" "$1"

# primes COUNT: ten to a line, blanks between, LF ends.
"$CLI" primes 23 > p.txt; check "primes status" 0 $?
check "primes text" "$(printf '2 3 5 7 11 13 17 19 23 29\n31 37 41 43 47 53 59 61 67 71\n73 79 83\n')" "$(cat p.txt)"
check "primes ends in LF" "0a" "$(tail -c1 p.txt | od -An -tx1 | tr -d ' ')"
check "primes 0 is empty" "0" "$("$CLI" primes 0 | wc -c)"
check "primes 10 lines" "1" "$("$CLI" primes 10 | wc -l)"

# Usage errors exit 2.
for args in "" "primes" "primes abc" "primes -5" "frobnicate" "run extra" "siblings 7a" "siblings"; do
    # shellcheck disable=SC2086
    "$CLI" $args > /dev/null 2> err.txt
    check "usage '$args' status" 2 $?
    grep -q "usage: quillomar-cli run" err.txt || { echo "FAIL usage text for '$args'"; failures=$((failures + 1)); }
done

# System errors exit 1 with the error box's text.
mkdir missing && cd missing
"$CLI" run > out.txt 2> err.txt; check "missing primes.txt status" 1 $?
check "missing primes.txt message" "The specified file was not found." "$(cat err.txt)"
check "report files created" 8 "$(ls | grep -c -E '(Primes|Odds)\.txt$')"
printf '2 3 x 7\n' > primes.txt
"$CLI" run > out.txt 2> err.txt; check "bad piece status" 1 $?
check "bad piece message" "'x' is not a valid integer value for Integer type." "$(cat err.txt)"
check "bad piece: the run did not start" "" "$(cat out.txt)"
cd ..

# run: the log on standard output, nothing on standard error off a terminal.
mkdir small && cd small && "$CLI" primes 15 > primes.txt
"$CLI" run > out.txt 2> err.txt; check "run status" 0 $?
check "run log lines" 14 "$(wc -l < out.txt)"
check "run log first" "              3|   1|       0" "$(head -1 out.txt)"
check "no progress off a terminal" 0 "$(wc -c < err.txt)"
check "pure flow" "$(printf 'v^\r\nvv^\r')" "$(head -2 FlowPurePrimes.txt)"
cd ..

# Ctrl-C acts as Pause: the step in progress completes, exit 130.
mkdir interrupted && cd interrupted && "$CLI" primes 20000 > primes.txt
"$CLI" run > out.txt 2> err.txt &
pid=$!
sleep 1
kill -INT $pid
wait $pid; check "interrupted status" 130 $?
lines=$(wc -l < out.txt)
check "interrupted before the end" 1 "$((lines > 0 && lines < 19999))"
check "every step whole" "$lines" "$(wc -l < FlowPurePrimes.txt)"
check "short lines match" "$((lines + 1))" "$(wc -l < ShortPrimes.txt)"
cd ..

finish
