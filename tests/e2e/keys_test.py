#!/usr/bin/env python3
"""The computer keys play the audition in the real program, heard through SDL's disk driver:
pitch after a file dialog closed without a window manager, octaves, a held key's repeats, Escape, an edit (Ctrl+Z) heard while a key is held, and a
Wavetable-view note sweeping from a Sine frame to a Square frame."""
import os, sys, tempfile

from sound_measure import RATE, amplitude, capture, cents, level, pitch, runs
from window_test import geometry
from xdriver import check, choose, close_window, find_window, start_editor, xdo, xvfb

def release_time(sound):
    """Seconds from the last 5 ms at the held level to the end of the sound."""
    window = RATE // 200
    held = level(sound[len(sound) // 4:len(sound) // 2])
    peaks = [level(sound[k:k + window]) for k in range(0, len(sound) - window, window)]
    last_held = max(i for i, p in enumerate(peaks) if p > 0.9 * held)
    return (len(sound) - (last_held + 1) * window) / RATE


def third_over_first(sound, at):
    part = sound[int(at * RATE):int((at + 0.05) * RATE)]
    return amplitude(part, 3 * 440.0) / amplitude(part, 440.0)


def main():
    program, closer = sys.argv[1:]
    with tempfile.TemporaryDirectory(prefix="qarno-keys-e2e-") as work, xvfb() as display:
        captured = os.path.join(work, "capture.raw")
        env = dict(display, SDL_AUDIODRIVER="disk", SDL_DISKAUDIOFILE=captured, TMPDIR=work)
        editor, window = start_editor(program, env, work)
        left, top = geometry(env, window)[:2]
        at = lambda x, y: ["mousemove", left + x, top + 25 + y, "sleep", 0.1]
        # By the mouse alone, as nothing gives the window the keys here but the program: Sine
        # into frame 0, Open Project... cancelled, the pointer off the window; H still plays.
        xdo(env, *at(180, -13), "click", 1, *at(180, 53), "click", 1,
            *at(22, -13), "click", 1, *at(60, 53), "click", 1, "sleep", 0.5)
        box = geometry(env, find_window(env, "Open"))
        xdo(env, "mousemove", box[0] + box[2] - 40, box[1] + box[3] - 22, "click", 1,
            "mousemove", 1000, 700, "sleep", 0.3, "keydown", "h", "sleep", 0.5, "keyup", "h", "sleep", 0.6,
            "key", "z", "keydown", "h", "sleep", 0.5, "keyup", "h", "sleep", 0.6, "key", "x",
            "keydown", "h", "sleep", 0.2, "keydown", "h", "sleep", 0.1, "keydown", "h",
            "sleep", 0.2, "keyup", "h", "sleep", 0.6,
            "keydown", "h", "sleep", 0.3, "key", "Escape", "sleep", 0.4, "keyup", "h", "sleep", 0.6,
            "keydown", "h", "sleep", 0.3, "key", "ctrl+z", "sleep", 0.5, "keyup", "h", "sleep", 0.5)
        # Frame 0 a Sine again, the Wave knob dragged to frame 99 and a Square there; the
        # Wavetable view's note sweeps from frame 0 to 99 in the sweep time, 2 s.
        choose(env, window, "s", 2, "-")
        xdo(env, *at(57, 89), "mousedown", 1, *at(57, 60), *at(57, 20), *at(57, -20), "mouseup", 1)
        choose(env, window, "s", 6, "-")  # Synthesize > Square into frame 99
        xdo(env, *at(328, 20), "click", 1, "sleep", 0.3)  # the Wavetable view
        choose(env, window, "e", 11, "-")  # Edit > Morph from frame 0 to 99
        xdo(env, "keydown", "h", "sleep", 2.3, "keyup", "h", "sleep", 0.5)
        close_window(closer, editor, window, env)
        left = capture(captured)[0]
        found = runs(left)
        check(len(found) == 6, "%d sounding stretches, not 6: %s" % (len(found), found))
        durations = [(b - a) / RATE for a, b in found]
        first, low, repeated, escaped, undone, sweep = [left[a:b] for a, b in found]
        held = first[RATE // 10:RATE * 4 // 10]
        check(cents(pitch(held), 440.0) < 1.0, "H played %.3f Hz" % pitch(held))
        check(release_time(first) < 0.2, "H took %.3f s to fade" % release_time(first))
        check(cents(pitch(low[RATE // 10:RATE * 4 // 10]), 220.0) < 1.0,
              "Z then H played %.3f Hz" % pitch(low[RATE // 10:RATE * 4 // 10]))
        # A retriggered note would fade out and start again: the level dips.
        steady = repeated[RATE // 20:RATE * 45 // 100]
        window = RATE // 200
        dips = min(level(steady[k:k + window]) for k in range(0, len(steady) - window, window))
        check(dips > 0.9 * level(steady), "the held H was played again (level dips to %g)" % dips)
        check(durations[3] < 0.45, "Escape did not silence the held H (%.3f s)" % durations[3])
        check(durations[4] < 0.5, "Ctrl+Z while H was held was not heard (%.3f s)" % durations[4])
        # Every 0.1 s the third harmonic grows, from the Sine's none to the Square's third: a
        # note that started again on the way (the key's autorepeat) would fall back.
        rising = [third_over_first(sweep, 0.05 + k / 10) for k in range(19)]
        check(rising[0] < 0.05 and rising[-1] > 0.3 and
              all(a < b for a, b in zip(rising, rising[1:])),
              "the Wavetable note did not sweep to the Square: %s" % rising)


if __name__ == "__main__":
    main()
