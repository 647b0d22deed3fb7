#!/usr/bin/env bash
# quillomar-cli siblings NUMBER: the three texts of the search as the window
# shows them, over the files an earlier run left; the usage error for a
# number that does not convert; the I/O error for a missing file.
source "$(dirname "$0")/../check.sh" "$1"
"$CLI" primes 15 > primes.txt && "$CLI" run > /dev/null || { echo "FAIL the worked run"; exit 1; }
snapshot() { ls -l --time-style=+%s.%N ./*Primes*.txt Odds.txt primes.txt; md5sum ./*Primes*.txt Odds.txt; }
before=$(snapshot)

# NUMBER, then the expected lines: lblSibiles, lblSibilesAll, edtSibiles.
while IFS='|' read -r number sibiles all edt; do
    "$CLI" siblings "$number" > out.txt 2> err.txt
    check "siblings '$number' status" 0 $?
    check "siblings '$number' output" "$(printf '%s\n%s\n%s\n.' "$sibiles" "$all" "$edt")" "$(cat out.txt; printf .)"
    check "siblings '$number' stderr" "" "$(cat err.txt)"
done <<'TABLE'
3|3(5)|11;13;23;29;43;|11(1);13(1);23(0);29(0);43(0);
$7|7(2)|19;37;|19(1);37(0);
x5|5(1)|17;|17(0);
47|47(0)||
4|4(0)||
-$7|-7(0)||
+3|3(5)|11;13;23;29;43;|11(1);13(1);23(0);29(0);43(0);
2|2(14)|3;5;7;11;13;17;19;23;29;31;37;41;43;47;|3(5);5(1);7(2);11(1);13(1);17(0);19(1);23(0);29(0);31(1);37(0);41(0);43(0);47(0);
TABLE
check "the files are left as they were" "$before" "$(snapshot)"

# A number the field does not take is a usage error.
for number in "7a" "" " 7 " "3.0" "99999999999" "-7a" "--"; do
    "$CLI" siblings "$number" > out.txt 2> err.txt
    check "siblings '$number' status" 2 $?
    check "siblings '$number' prints no texts" "" "$(cat out.txt)"
done

# Without FlowPurePrimes.txt: the I/O error, and no file is created.
mkdir missing && cp primes.txt missing/ && cd missing
"$CLI" siblings 3 > out.txt 2> err.txt
check "missing file status" 1 $?
check "missing file message" "The specified file was not found." "$(cat err.txt)"
check "missing file prints no texts" "" "$(cat out.txt)"
check "missing file creates nothing" "err.txt out.txt primes.txt" "$(ls | tr '\n' ' ' | sed 's/ $//')"
cd ..

finish
