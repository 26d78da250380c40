#!/usr/bin/env python3
"""The looping preview heard through SDL's disk driver, Play with no driver, and signals."""
import math, os, pathlib, signal, sys, tempfile, time

from sound_measure import RATE, capture
from xdriver import check, choose, close_box, close_window, start_editor, visible, wait_for, xdo, xvfb

EXACT_REPEAT = 40960  # 147 passes of the 1024-sample loop at 176400 Hz, in frames at 48000 Hz


def check_capture(path):  # frame 0's sine, looping at 176400 / 1024 Hz from Space until Escape
    left, right = capture(path)
    check(left == right, "the channels differ")
    sounding = [k for k, v in enumerate(left) if v != 0.0] or [0]
    sound = left[sounding[0]:sounding[-1] + 1]
    check(len(sound) > EXACT_REPEAT + RATE // 10, "only %d frames sounded" % len(sound))
    # The sine plays at 0.7071 from -pi, frame k linearly (k + 1) x 176400 / 48000 into the loop.
    stray = max(abs(v + 0.70710678 * math.sin(2 * math.pi * (k + 1) * 176400 / RATE / 1024))
                for k, v in enumerate(sound))
    check(stray < 1e-4, "the sound strays %g from the sine" % stray)
    drift = max(abs(sound[k] - sound[k + EXACT_REPEAT]) for k in range(len(sound) - EXACT_REPEAT))
    check(drift < 1e-6, "the loop drifts by %g" % drift)
    check(len(left) - sounding[-1] > RATE // 10, "the sound went on after Escape")


def main():
    program, closer = sys.argv[1:]
    with tempfile.TemporaryDirectory(prefix="qarno-sound-e2e-") as work, xvfb() as display:
        tmp, users_file = os.path.join(work, "tmp"), pathlib.Path(work, "temp.wav")
        os.makedirs(tmp)
        users_file.write_text("the user's own")

        def start(driver):  # a short delay per buffer: the disk driver outruns real time
            env = dict(display, SDL_AUDIODRIVER=driver, TMPDIR=tmp, SDL_DISKAUDIODELAY="2",
                       SDL_DISKAUDIOFILE=os.path.join(work, "capture.raw"))
            return (*start_editor(program, env, work), env)

        def close(editor, window, env):
            close_window(closer, editor, window, env)
            check(not os.listdir(tmp), "left behind: %s" % os.listdir(tmp))

        editor, window, env = start("disk")
        choose(env, window, "s", 2, "-")  # Synthesize > Sine
        xdo(env, "windowfocus", "--sync", window, "key", "space", "sleep", 0.5,
            "key", "Escape", "sleep", 0.5)
        close(editor, window, env)
        check_capture(os.path.join(work, "capture.raw"))
        check(users_file.read_text() == "the user's own", "the user's temp.wav changed")
        editor, window, env = start("nonexistent")
        choose(env, window, "p", 0, "p")  # Preview > Play
        close_box(env, "Error", "Return")
        time.sleep(0.5)
        check(not visible(env, "Error"), "the message box came more than once")
        close(editor, window, env)
        for ending in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
            editor, window, env = start("disk")
            choose(env, window, "p", 0, "p")
            wait_for(lambda: os.listdir(tmp), "the preview folder")
            editor.send_signal(ending)
            check(editor.wait(timeout=20) == -ending and not os.listdir(tmp), "%s: exit status %s,"
                  " left behind %s" % (ending.name, editor.returncode, os.listdir(tmp)))


if __name__ == "__main__":
    main()
