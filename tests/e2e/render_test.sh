#!/bin/sh
# The render command of the real program, without a display: a table made by
# sox (100 frames, no frame size declared) renders without a word to a file sox
# reads, without a warning, as 48 kHz float stereo of the held note and its
# release; other lengths render with a word; a missing table and misuse end
# with 1 and 2 and leave no file.
set -u
program=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
render() { env -u DISPLAY "$program" render "$@" 2>&1 >/dev/null; }

sox -r 44100 -n -b 16 -c 1 "$dir/table.wav" synth 102400s sawtooth 43.06640625 vol 0.9 ||
    fail "sox cannot make the table"
errors=$(render "$dir/table.wav" "$dir/out.wav" --note A4 --seconds 1) || fail "render ended with $?"
[ -z "$errors" ] || fail "render says $errors"
info=$( (soxi -r "$dir/out.wav"; soxi -c "$dir/out.wav"; soxi -e "$dir/out.wav") 2>&1)
[ "$info" = "$(printf '48000\n2\nFloating Point PCM')" ] || fail "sox reads $info"
seconds=$(soxi -D "$dir/out.wav")
awk "BEGIN { exit !($seconds > 1.14 && $seconds < 1.17) }" || fail "lasts $seconds s"
peak=$(sox "$dir/out.wav" -n stat 2>&1 | awk '/Maximum amplitude/ { print $3 }')
awk "BEGIN { exit !($peak > 0.1 && $peak < 0.5) }" || fail "peak $peak"

# A file that declares no frame size and holds no whole number of frames, or more than 100,
# still renders, with a word on how it was read.
for samples in 1000 103424; do
    sox -r 44100 -n -b 16 "$dir/odd.wav" synth ${samples}s sine 440 vol 0.5 || fail "sox: odd.wav"
    errors=$(render "$dir/odd.wav" "$dir/odd-out.wav" --seconds 0) || fail "$samples: status $?"
    [ "$errors" = "qarno-wavetable-maker: $dir/odd.wav: no frame size declared: read as 1024-sample frames" ] ||
        fail "$samples samples: $errors"
done

errors=$(render "$dir/missing.wav" "$dir/none.wav")
[ $? -eq 1 ] || fail "missing table: status not 1"
[ "$errors" = "qarno-wavetable-maker: $dir/missing.wav: No such file or directory" ] ||
    fail "missing table: $errors"
errors=$(render "$dir/table.wav" "$dir/none.wav" --note X)
[ $? -eq 2 ] || fail "misuse: status not 2"
echo "$errors" | head -n 1 | grep -q '^Usage: qarno-wavetable-maker render' || fail "misuse: $errors"
[ ! -e "$dir/none.wav" ] || fail "a failed render left a file"
env -u DISPLAY "$program" --help | grep -q 'render' || fail "--help does not name render"
echo "render: ok"
