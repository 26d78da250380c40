#!/usr/bin/env python3
"""The computer keys' audition heard through SDL's disk driver."""
import math, os, sys, tempfile

from sound_measure import RATE, amplitude, capture, level, levels, pitch, runs
from window_test import geometry
from xdriver import check, choose, close_window, find_window, start_editor, xdo, xvfb

def main():
    program, closer = sys.argv[1:]
    with tempfile.TemporaryDirectory(prefix="qarno-keys-e2e-") as work, xvfb() as display:
        captured = os.path.join(work, "capture.raw")
        env = dict(display, SDL_AUDIODRIVER="disk", SDL_DISKAUDIOFILE=captured, TMPDIR=work)
        editor, window = start_editor(program, env, work)
        left, top = geometry(env, window)[:2]
        at = lambda x, y: ["mousemove", left + x, top + 25 + y, "sleep", 0.1]
        # By mouse alone: Sine into frame 0, Open Project... cancelled, pointer away; H still plays.
        xdo(env, *at(180, -13), "click", 1, *at(180, 53), "click", 1, *at(22, -13), "click", 1,
            *at(60, 53), "click", 1, "sleep", 0.5)
        box = geometry(env, find_window(env, "Open"))
        h = lambda *between: ["keydown", "h", *between, "keyup", "h", "sleep", 0.6]
        repeats = ["sleep", 0.2, "keydown", "h", "sleep", 0.1, "keydown", "h", "sleep", 0.2]
        xdo(env, "mousemove", box[0] + box[2] - 40, box[1] + box[3] - 22, "click", 1,
            "mousemove", 1000, 700, "sleep", 0.3, *h("sleep", 0.5), "key", "z", *h("sleep", 0.5),
            "key", "x", *h(*repeats), *h("sleep", 0.3, "key", "Escape", "sleep", 0.4),
            *h("sleep", 0.3, "key", "ctrl+z", "sleep", 0.5))
        # A Sine in frame 0, a Square in 99: the Wavetable view's note sweeps between them in 2 s.
        choose(env, window, "s", 2, "-")
        xdo(env, *at(57, 89), "mousedown", 1, *at(57, 60), *at(57, 20), *at(57, -20), "mouseup", 1)
        choose(env, window, "s", 6, "-")  # Synthesize > Square into frame 99
        xdo(env, *at(328, 20), "click", 1, "sleep", 0.3)  # the Wavetable view
        choose(env, window, "e", 11, "-")  # Edit > Morph from frame 0 to 99
        xdo(env, "keydown", "h", "sleep", 2.3, "keyup", "h", "sleep", 0.5)
        close_window(closer, editor, window, env)
        found = runs(left := capture(captured)[0])
        check(len(found) == 6, "%d sounding stretches, not 6: %s" % (len(found), found))
        first, low, repeated, escaped, undone, sweep = [left[a:b] for a, b in found]
        for sound, hz in (first, 440.0), (low, 220.0):
            played = pitch(sound[RATE // 10:RATE * 4 // 10])
            check(abs(math.log2(played / hz)) < 1 / 1200, "H played %.3f Hz, not %g" % (played, hz))
        # From the last 5 ms at the held level to the end of the sound.
        held = 0.9 * level(first[len(first) // 4:len(first) // 2])
        fade = len(first) / RATE - max(i + 1 for i, p in enumerate(levels(first)) if p > held) / 200
        check(fade < 0.2, "H took %.3f s to fade" % fade)
        dips = min(levels(steady := repeated[RATE // 20:RATE * 45 // 100]))
        check(dips > 0.9 * level(steady), "the held H was played again (level dips to %g)" % dips)
        check(len(escaped) < 0.45 * RATE, "Escape left the held H on (%d frames)" % len(escaped))
        check(len(undone) < 0.5 * RATE, "Ctrl+Z with H held went unheard (%d frames)" % len(undone))
        # The third harmonic grows every 0.1 s; a note restarted by autorepeat would fall back.
        parts = [sweep[int((0.05 + k / 10) * RATE):int((0.1 + k / 10) * RATE)] for k in range(19)]
        rising = [amplitude(part, 3 * 440.0) / amplitude(part, 440.0) for part in parts]
        check(rising[0] < 0.05 and rising[-1] > 0.3 and rising == sorted(set(rising)),
              "the Wavetable note did not sweep to the Square: %s" % rising)


if __name__ == "__main__":
    main()
