#!/usr/bin/env python3
"""The looping preview in the real program, in a virtual X display.

With SDL's disk driver the program's sound output goes to a file: after
Synthesize > Sine and Preview > Play it must hold frame 0 looping at
176400 / 1024 Hz, and closing the window must end the program with 0, leave a
user's own temp.wav alone and leave no preview folder behind. Without any audio
driver, Play must say so in a message box and the window must keep working.
"""
import argparse
import array
import os
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
# The player asks the device for 48000 Hz stereo floats, and the disk driver
# gives what it is asked for.
DEVICE_RATE = 48000
CHANNELS = 2
FRAME_HZ = 176400 / 1024
# 147 passes through a 1024-sample loop at 176400 Hz take exactly 40960 frames
# at 48000 Hz: the output repeats itself bit for bit when the pitch does not drift.
EXACT_REPEAT = 40960


def fail(message):
    print("FAIL:", message)
    sys.exit(1)


def start_xvfb():
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24",
                             "-noreset"], pass_fds=(write_end,), stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as numbers:
        display = numbers.readline().strip()
    if not display:
        fail("Xvfb did not start")
    return xvfb, ":" + display


def xdotool(env, *args):
    return subprocess.run(["xdotool", *args], env=env, check=True, capture_output=True,
                          text=True).stdout.split()


def find_window(env, name, seconds=10):
    deadline = time.time() + seconds
    while time.time() < deadline:
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", name], env=env,
                               capture_output=True, text=True).stdout.split()
        if found:
            return found[0]
        time.sleep(0.1)
    return None


def choose(env, window, title_key, downs, item_key=None):
    """A menu choice by keyboard: Alt + the title's mnemonic, then the item's
    mnemonic or that many steps down and Return."""
    xdotool(env, "windowfocus", "--sync", window)
    xdotool(env, "key", "--clearmodifiers", "alt+" + title_key)
    time.sleep(0.3)
    if item_key:
        xdotool(env, "key", item_key)
    else:
        xdotool(env, "key", *(["Down"] * downs), "Return")
    time.sleep(0.3)


def run_editor(args, env, work, audio_driver):
    # A short delay per buffer makes the disk driver run faster than real time.
    env = dict(env, SDL_AUDIODRIVER=audio_driver, TMPDIR=os.path.join(work, "tmp"),
               SDL_DISKAUDIOFILE=os.path.join(work, "capture.raw"), SDL_DISKAUDIODELAY="2",
               LSAN_OPTIONS=":".join(filter(None, [env.get("LSAN_OPTIONS"), "suppressions=" +
                                                   os.path.join(HERE, "lsan.supp")])))
    os.makedirs(env["TMPDIR"], exist_ok=True)
    editor = subprocess.Popen([args.editor], cwd=work, env=env, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL)
    window = find_window(env, "QARNO Wavetable Maker")
    if window is None:
        editor.kill()
        fail("the main window did not appear")
    return editor, env, window


def close_editor(args, editor, env, window):
    subprocess.run([args.close_window, window], env=env, check=True)
    try:
        code = editor.wait(timeout=10)
    except subprocess.TimeoutExpired:
        editor.kill()
        fail("the program did not end after its window closed")
    if code != 0:
        fail("exit code %d" % code)
    if os.listdir(env["TMPDIR"]):
        fail("left behind in the temporary folder: %s" % os.listdir(env["TMPDIR"]))


def check_capture(path):
    samples = array.array("f")
    with open(path, "rb") as capture:
        samples.frombytes(capture.read())
    left, right = samples[0::CHANNELS], samples[1::CHANNELS]
    if left != right:
        fail("the channels differ")
    sounding = [k for k, v in enumerate(left) if v != 0.0]
    if not sounding:
        fail("nothing sounded")
    sound = left[sounding[0]:sounding[-1] + 1]
    if len(sound) < EXACT_REPEAT + DEVICE_RATE // 10:
        fail("only %d frames sounded" % len(sound))
    # A sine of peak 0.3536 in the file plays at 0.7071.
    if abs(max(sound) - 0.7071) > 0.001 or abs(min(sound) + 0.7071) > 0.001:
        fail("peaks %f %f" % (max(sound), min(sound)))
    rises = [k for k in range(1, len(sound)) if sound[k - 1] < 0.0 <= sound[k]]
    period = (rises[-1] - rises[0]) / (len(rises) - 1)
    if abs(period - DEVICE_RATE / FRAME_HZ) > 0.01:
        fail("period %f frames, not %f" % (period, DEVICE_RATE / FRAME_HZ))
    worst = max(abs(sound[k] - sound[k + EXACT_REPEAT]) for k in range(len(sound) - EXACT_REPEAT))
    if worst > 1e-6:
        fail("the loop drifts: %g" % worst)
    gaps = [k for k in range(1, len(sound) - 1) if sound[k - 1] == sound[k] == sound[k + 1] == 0.0]
    if gaps:
        fail("a gap in the sound at frame %d" % gaps[0])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--editor", required=True)
    parser.add_argument("--close-window", required=True)
    args = parser.parse_args()
    xvfb, display = start_xvfb()
    work = tempfile.mkdtemp(prefix="qarno-sound-e2e-")
    try:
        env = dict(os.environ, DISPLAY=display)
        mine = b"the user's own temp.wav"
        with open(os.path.join(work, "temp.wav"), "wb") as user_file:
            user_file.write(mine)

        editor, run_env, window = run_editor(args, env, work, "disk")
        choose(run_env, window, "s", 3)       # Synthesize > Sine
        choose(run_env, window, "p", 0, "p")  # Preview > Play
        time.sleep(0.5)
        close_editor(args, editor, run_env, window)
        check_capture(os.path.join(work, "capture.raw"))
        with open(os.path.join(work, "temp.wav"), "rb") as user_file:
            if user_file.read() != mine:
                fail("the user's temp.wav changed")

        editor, run_env, window = run_editor(args, env, work, "nonexistent")
        choose(run_env, window, "p", 0, "p")
        box = find_window(run_env, "^Error$")
        if box is None:
            fail("no message box when no audio output can be opened")
        xdotool(run_env, "windowfocus", "--sync", box)
        xdotool(run_env, "key", "Return")
        time.sleep(0.5)
        if find_window(run_env, "^Error$", 1) is not None:
            fail("the message box came more than once")
        if editor.poll() is not None:
            fail("the program ended after the message")
        close_editor(args, editor, run_env, window)
        print("PASS")
    finally:
        xvfb.terminate()
        xvfb.wait()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
