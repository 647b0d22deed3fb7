#!/bin/bash
# A restless user: drives the real window under Xvfb with random clicks and
# key presses on its controls (Start, Pause, Parzyste, Search, the arrows,
# typing into the number field, Tab, Space, Enter, double clicks) during a
# run, then presses Pause and Start until the list is exhausted. The window
# must not crash, no error box may appear, and the seven analysis report
# files must be byte-identical to those of quillomar-cli run.
#
# monkey.sh QUILLOMAR QUILLOMAR-CLI [PRIMES [ACTIONS]]
# MONKEY_SEED repeats a run.
set -u
app=$1
cli=$2
primes=${3:-5000}
actions=${4:-3000}
seed=${MONKEY_SEED:-$(( $(od -An -N2 -tu2 /dev/urandom) ))}
RANDOM=$seed
echo "monkey: $primes primes, $actions actions, seed $seed"

work=$(mktemp -d)
xvfb_pid=
app_pid=
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null && wait "$app_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "monkey: FAILED: $*"
    echo "--- window's output:"
    cat "$work/app.log" 2>/dev/null | tail -20
    exit 1
}

files="ShortPrimes LongPrimes FlowPrimes FlowPurePrimes FlowReversePrimes FlowUpPrimes FlowDownPrimes"
mkdir "$work/ref" "$work/run"
"$cli" primes "$primes" > "$work/ref/primes.txt" || fail "quillomar-cli primes"
cp "$work/ref/primes.txt" "$work/run/primes.txt"
(cd "$work/ref" && "$cli" run > /dev/null) || fail "quillomar-cli run"

# Xvfb picks a free display and tells it on fd 3.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -dpi 96 3> "$work/display" 2> "$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
[ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$(head -1 "$work/display")"
export QT_QPA_PLATFORM=xcb QT_ENABLE_HIGHDPI_SCALING=0 QT_SCALE_FACTOR=1

(cd "$work/run" && exec "$app") > "$work/app.log" 2>&1 &
app_pid=$!
win=$(timeout 30 xdotool search --sync --onlyvisible --name '^Quillomar Magic$' | head -1)
[ -n "$win" ] || fail "the window did not appear"
eval "$(xdotool getwindowgeometry --shell "$win")"
dx=$((WIDTH - 941))  # right-anchored controls move with the right edge
dy=$((HEIGHT - 630)) # bottom-anchored ones with the bottom edge

# Control rectangles at their design size: name left top width height.
rect_btnStart="16 $((595 + dy)) 75 25"
rect_btnPause="97 $((595 + dy)) 75 25"
rect_btnParzyste="$((842 + dx)) $((597 + dy)) 75 25"
rect_btnSearch="213 $((499 + dy)) 75 25"
rect_btnLeft="143 $((499 + dy)) 29 25"
rect_btnRight="178 $((499 + dy)) 29 25"
rect_edtFirst="16 $((501 + dy)) 121 21"
rect_edtSibiles="44 $((561 + dy)) $((873 + dx)) 21"
rect_mmoLog="16 76 $((901 + dx)) $((409 + dy))"

# A point inside a control, as "x y".
point() {
    local r
    eval "r=\$rect_$1"
    set -- $r
    echo "$(($1 + 2 + RANDOM % ($3 - 4))) $(($2 + 2 + RANDOM % ($4 - 4)))"
}

# Some numbers to type: primes of the list, others, and non-numbers.
mapfile -t listed < <(tr ' ' '\n' < "$work/ref/primes.txt" | head -200)
typed() {
    case $((RANDOM % 6)) in
        0) echo 4 ;;
        1) echo "7a" ;;
        2) echo "\$B" ;;
        *) echo "${listed[RANDOM % ${#listed[@]}]}" ;;
    esac
}

error_box() {
    # The error box carries the application's title, the window its own.
    xdotool search --onlyvisible --name '^Quillomar$' 2>/dev/null | head -1
}
check_alive() {
    kill -0 "$app_pid" 2>/dev/null || fail "the window is gone: $(wait "$app_pid"; echo "exit status $?")"
    local box
    box=$(error_box)
    [ -z "$box" ] || fail "an error box appeared"
}

clicks=0
keys=0
shortlines() { wc -l < "$work/run/ShortPrimes.txt" 2>/dev/null || echo 0; }
during_run=0
done_actions=0
start_share=4
hold=0
while [ "$done_actions" -lt "$actions" ]; do
    cmd=()
    for _ in $(seq 25); do
        r=$((RANDOM % 100))
        # Start comes with a share that spreads the run, quick once going,
        # over the actions (see below); Pause takes the rest of the first 17.
        if   [ $r -lt $start_share ]; then c=btnStart
        elif [ $r -lt 17 ]; then c=btnPause
        elif [ $r -lt 21 ]; then c=btnParzyste
        elif [ $r -lt 31 ]; then c=btnSearch
        elif [ $r -lt 40 ]; then c=btnLeft
        elif [ $r -lt 49 ]; then c=btnRight
        elif [ $r -lt 63 ]; then c=type
        elif [ $r -lt 75 ]; then c=key
        elif [ $r -lt 81 ]; then c=double
        else c=other
        fi
        case $c in
            type)
                cmd+=(mousemove --window "$win" $(point edtFirst) mousedown 1 mouseup 1 key --delay 0 ctrl+a BackSpace
                      type --delay 0 "$(typed)")
                clicks=$((clicks + 1)); keys=$((keys + 3)) ;;
            key)
                k=(Tab space Return Tab space)
                cmd+=(key --delay 0 "${k[RANDOM % 5]}")
                keys=$((keys + 1)) ;;
            double)
                b=(btnStart btnPause btnSearch btnLeft btnRight)
                cmd+=(mousemove --window "$win" $(point "${b[RANDOM % 5]}") mousedown 1 mouseup 1 sleep 0.03 mousedown 1 mouseup 1)
                clicks=$((clicks + 2)) ;;
            other)
                o=(mmoLog edtSibiles)
                cmd+=(mousemove --window "$win" $(point "${o[RANDOM % 2]}") mousedown 1 mouseup 1)
                clicks=$((clicks + 1)) ;;
            *)
                cmd+=(mousemove --window "$win" $(point $c) mousedown 1 mouseup 1)
                clicks=$((clicks + 1)) ;;
        esac
        if [ $hold = 1 ]; then
            cmd+=(mousemove --window "$win" $(point btnPause) mousedown 1 mouseup 1)
            clicks=$((clicks + 1))
        fi
        done_actions=$((done_actions + 1))
    done
    before=$(shortlines)
    [ "$before" -lt "$primes" ] && during_run=$((during_run + 25))
    # Each batch ends with Pause, so the run rests while the next one is
    # made up.
    xdotool "${cmd[@]}" mousemove --window "$win" $(point btnPause) mousedown 1 mouseup 1 sleep 0.02 \
        > /dev/null 2>&1
    clicks=$((clicks + 1))
    check_alive
    # The run is spread over the actions: ahead of an even pace, the next
    # batch holds it with a Pause after every action (Start may still come,
    # by a click or a key, and is paused at once); behind, Start becomes
    # likelier from batch to batch.
    after=$(shortlines)
    if [ "$after" -gt $(( primes * done_actions / actions )) ]; then
        hold=1
        start_share=2
    else
        hold=0
        [ $start_share -lt 12 ] && start_share=$((start_share + 1))
    fi
done
echo "monkey: $clicks clicks and $keys key presses; $during_run of $actions actions before the list was exhausted"

# Pause and Start until the list is exhausted: header plus one line per prime
# from the second on.
want=$primes
for round in $(seq 40); do
    [ "$(shortlines)" -ge "$want" ] && break
    xdotool mousemove --window "$win" $(point btnPause) click 1 sleep 0.2 \
            mousemove --window "$win" $(point btnStart) click 1 > /dev/null 2>&1
    for _ in $(seq 100); do
        [ "$(shortlines)" -ge "$want" ] && break
        sleep 0.1
    done
    check_alive
done
[ "$(shortlines)" -ge "$want" ] || fail "the run did not finish: $(shortlines) of $want lines"
# Pause ends an even-number listing that may still run.
xdotool mousemove --window "$win" $(point btnPause) click 1 sleep 0.5 > /dev/null 2>&1
check_alive
for f in $files; do
    cmp -s "$work/ref/$f.txt" "$work/run/$f.txt" || fail "$f.txt differs from quillomar-cli run's: $(cmp "$work/ref/$f.txt" "$work/run/$f.txt" 2>&1)"
done
echo "monkey: passed after $round rounds of Pause and Start; the seven files match quillomar-cli run's"
