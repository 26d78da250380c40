#!/bin/sh
# The render command of the real program, without a display: a table made by
# sox renders to a file sox reads as 48 kHz float stereo of the held note and
# its release; a missing table and misuse end with 1 and 2 and leave no file.
set -u
program=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

sox -n -r 44100 -b 16 -c 1 "$dir/table.wav" synth 102400s sawtooth 43.06640625 ||
    fail "sox cannot make the table"
env -u DISPLAY "$program" render "$dir/table.wav" "$dir/out.wav" --note A4 --seconds 1 ||
    fail "render ended with $?"
[ "$(soxi -r "$dir/out.wav")" = 48000 ] || fail "rate $(soxi -r "$dir/out.wav")"
[ "$(soxi -c "$dir/out.wav")" = 2 ] || fail "channels $(soxi -c "$dir/out.wav")"
[ "$(soxi -e "$dir/out.wav")" = "Floating Point PCM" ] || fail "encoding $(soxi -e "$dir/out.wav")"
seconds=$(soxi -D "$dir/out.wav")
awk "BEGIN { exit !($seconds > 1.14 && $seconds < 1.17) }" || fail "lasts $seconds s"
peak=$(sox "$dir/out.wav" -n stat 2>&1 | awk '/Maximum amplitude/ { print $3 }')
awk "BEGIN { exit !($peak > 0.1 && $peak < 0.5) }" || fail "peak $peak"

errors=$(env -u DISPLAY "$program" render "$dir/missing.wav" "$dir/none.wav" 2>&1 >/dev/null)
status=$?
[ $status -eq 1 ] || fail "missing table: status $status"
[ "$errors" = "qarno-wavetable-maker: can not open file $dir/missing.wav: No such file or directory" ] ||
    fail "missing table: $errors"
errors=$(env -u DISPLAY "$program" render "$dir/table.wav" "$dir/none.wav" --note X 2>&1 >/dev/null)
status=$?
[ $status -eq 2 ] || fail "misuse: status $status"
echo "$errors" | head -n 1 | grep -q '^Usage: qarno-wavetable-maker render' || fail "misuse: $errors"
[ ! -e "$dir/none.wav" ] || fail "a failed render left a file"
env -u DISPLAY "$program" --help | grep -q 'render' || fail "--help does not name render"
echo "render: ok"
