#!/usr/bin/env bash
# Times `quillomar-cli run` over the first COUNT primes against copying the
# report files it writes (cp), and reports the peak memory of the run.
# Usage: bench/run_vs_cp.sh [path/to/quillomar-cli] [COUNT] [ROUNDS]
set -euo pipefail
CLI=${1:-build/cli/quillomar-cli}
COUNT=${2:-10000}
ROUNDS=${3:-5}
CLI=$(readlink -f "$CLI")
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
"$CLI" primes "$COUNT" > "$TMP/primes.txt"
REPORTS=(ShortPrimes.txt LongPrimes.txt FlowPrimes.txt FlowPurePrimes.txt FlowReversePrimes.txt FlowUpPrimes.txt FlowDownPrimes.txt)

now() { date +%s.%N; }
median() { sort -g | awk '{a[NR]=$1} END {print (NR%2) ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2}'; }

: > "$TMP/run.times"; : > "$TMP/cp.times"; : > "$TMP/dd.times"; : > "$TMP/rss"
for ((i = 1; i <= ROUNDS; i++)); do
    mkdir "$TMP/run" "$TMP/copy"
    cp "$TMP/primes.txt" "$TMP/run/"
    sync
    t0=$(now)
    (cd "$TMP/run" && /usr/bin/time -f "%M" -o "$TMP/rss.one" "$CLI" run > /dev/null)
    t1=$(now)
    cat "$TMP/rss.one" >> "$TMP/rss"
    sync
    t2=$(now)
    (cd "$TMP/run" && cp "${REPORTS[@]}" "$TMP/copy/")
    t3=$(now)
    # For scale: the same bytes through user space, read and written in
    # 64 KiB blocks (cp copies inside the kernel, which no writer can match).
    rm -rf "$TMP/copy" && mkdir "$TMP/copy" && sync
    t4=$(now)
    for f in "${REPORTS[@]}"; do dd if="$TMP/run/$f" of="$TMP/copy/$f" bs=64K status=none; done
    t5=$(now)
    echo "$t5 - $t4" | bc >> "$TMP/dd.times"
    echo "$t1 - $t0" | bc >> "$TMP/run.times"
    echo "$t3 - $t2" | bc >> "$TMP/cp.times"
    BYTES=$(cd "$TMP/run" && cat "${REPORTS[@]}" | wc -c)
    rm -rf "$TMP/run" "$TMP/copy"
    sync
done
RUN=$(median < "$TMP/run.times")
CP=$(median < "$TMP/cp.times")
DD=$(median < "$TMP/dd.times")
RSS=$(sort -n "$TMP/rss" | tail -1)
printf 'primes: %d, report bytes: %d, rounds: %d\n' "$COUNT" "$BYTES" "$ROUNDS"
printf 'quillomar-cli run: %.3f s (median)\n' "$RUN"
printf 'cp of the reports: %.3f s (median)\n' "$CP"
printf 'dd of the reports: %.3f s (median, 64 KiB blocks through user space)\n' "$DD"
printf 'ratio run/cp:      %.2f (target <= 1.5)\n' "$(echo "$RUN / $CP" | bc -l)"
printf 'ratio run/dd:      %.2f\n' "$(echo "$RUN / $DD" | bc -l)"
printf 'peak memory:       %.1f MiB (target < 64)\n' "$(echo "$RSS / 1024" | bc -l)"
