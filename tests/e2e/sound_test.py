#!/usr/bin/env python3
"""The looping preview in the real program. With SDL's disk driver the sound goes to a file: after
Synthesize > Sine and Space (Preview > Play) it holds frame 0 looping at 176400 / 1024 Hz until
Escape (Stop) silences it, leaving the window open; closing the window ends the program with 0,
leaves the user's own temp.wav alone and no preview folder behind. Without an audio driver Play
says so in one box and the program keeps running. Ended by SIGTERM, SIGINT or SIGHUP after Play,
it removes its preview folder and ends as the signal ends a program."""
import argparse, array, os, shutil, signal, tempfile, time

from xdriver import check, choose, close_box, close_window, start_editor, visible, wait_for, xdo, xvfb

# The player asks the disk driver for 48000 Hz stereo floats and gets them. 147 passes through
# a 1024-sample loop at 176400 Hz take exactly 40960 frames at 48000 Hz: the output repeats
# itself bit for bit when the pitch does not drift.
RATE, PERIOD, EXACT_REPEAT = 48000, 48000 / (176400 / 1024), 40960


def check_capture(path):
    samples = array.array("f")
    with open(path, "rb") as capture:
        samples.frombytes(capture.read())
    left = samples[0::2]
    check(left == samples[1::2], "the channels differ")
    sounding = [k for k, v in enumerate(left) if v != 0.0] or [0]
    sound = left[sounding[0]:sounding[-1] + 1]
    check(len(sound) > EXACT_REPEAT + RATE // 10, "only %d frames sounded" % len(sound))
    # A sine of peak 0.3536 in the preview file plays at 0.7071.
    peaks = max(sound), min(sound)
    check(max(abs(peaks[0] - 0.7071), abs(peaks[1] + 0.7071)) < 0.001, "peaks %s" % (peaks,))
    rises = [k for k in range(1, len(sound)) if sound[k - 1] < 0.0 <= sound[k]]
    period = (rises[-1] - rises[0]) / (len(rises) - 1)
    check(abs(period - PERIOD) < 0.01, "period %f frames, not %f" % (period, PERIOD))
    drift = max(abs(sound[k] - sound[k + EXACT_REPEAT]) for k in range(len(sound) - EXACT_REPEAT))
    check(drift < 1e-6, "the loop drifts by %g" % drift)
    check(bytes(12) not in sound.tobytes(), "a gap in the sound: three silent frames in a row")
    check(len(left) - sounding[-1] > RATE // 10, "the sound went on after Escape")


def run_editor(args, env, work, driver):
    """The editor on this SDL audio driver, with a temporary folder of its own."""
    # A short delay per buffer makes the disk driver run faster than real time.
    env = dict(env, SDL_AUDIODRIVER=driver, TMPDIR=os.path.join(work, "tmp"),
               SDL_DISKAUDIOFILE=os.path.join(work, "capture.raw"), SDL_DISKAUDIODELAY="2")
    os.makedirs(env["TMPDIR"], exist_ok=True)
    return (*start_editor(args.editor, env, work), env)


def close(args, editor, window, env):
    check(editor.poll() is None, "the program ended before its window was closed")
    close_window(args.close_window, editor, window, env)
    check(not os.listdir(env["TMPDIR"]), "left behind: %s" % os.listdir(env["TMPDIR"]))


def end_by_signal(args, display, work, ending):
    """Ended by a signal after Play, the program removes its preview folder and ends as the
    signal ends a program."""
    editor, window, env = run_editor(args, display, work, "disk")
    choose(env, window, "p", 0, "p")
    wait_for(lambda: os.listdir(env["TMPDIR"]), "the preview folder")
    editor.send_signal(ending)
    editor.wait(timeout=20)
    check(editor.returncode == -ending, "after %s: exit status %s" % (ending.name, editor.returncode))
    check(not os.listdir(env["TMPDIR"]), "%s left behind %s" % (ending.name, os.listdir(env["TMPDIR"])))


def main():
    parser = argparse.ArgumentParser()
    for option in ("--editor", "--close-window"):
        parser.add_argument(option, required=True)
    args = parser.parse_args()
    work = tempfile.mkdtemp(prefix="qarno-sound-e2e-")
    users_file, users_bytes = os.path.join(work, "temp.wav"), b"the user's own temp.wav"
    with open(users_file, "wb") as f:
        f.write(users_bytes)
    try:
        with xvfb() as display:
            editor, window, env = run_editor(args, display, work, "disk")
            choose(env, window, "s", 2, "-")  # Synthesize > Sine
            xdo(env, "windowfocus", "--sync", window, "key", "space", "sleep", 0.5,
                "key", "Escape", "sleep", 0.5)
            close(args, editor, window, env)
            check_capture(os.path.join(work, "capture.raw"))
            with open(users_file, "rb") as f:
                check(f.read() == users_bytes, "the user's temp.wav changed")
            editor, window, env = run_editor(args, display, work, "nonexistent")
            choose(env, window, "p", 0, "p")
            close_box(env, "Error")
            time.sleep(0.5)
            check(not visible(env, "Error"), "the message box came more than once")
            close(args, editor, window, env)
            for ending in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
                end_by_signal(args, display, work, ending)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("PASS")


if __name__ == "__main__":
    main()
