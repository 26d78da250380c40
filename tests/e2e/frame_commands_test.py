#!/usr/bin/env python3
"""The Edit menu's frame processes in the real editor at scale 1: each changes the Waveform
view's saw and Undo takes it back pixel for pixel; the number dialogs refuse a wrong answer in
place, take a typed one with Enter and change nothing on Esc, not even the undo snapshot; the
Wavetable view offers the same items."""
import os, sys, tempfile, time

from xdriver import check, choose, close_box, close_window, run, start_editor
from xdriver import visible, wait_for, xdo, xvfb

MENU_BAR_HEIGHT, WIDTH, HEIGHT = 25, 768, 575
TITLE = "QARNO Wavetable Maker"
# Places in the menus (separators are no places): Edit in the Waveform and Wavetable views.
SAW, WAVETABLE_VIEW = 3, 1
SPECTRAL_MORPH, FILL_GAPS, REMOVE_DC, NORMALIZE_EACH, ALIGN_PHASE = 12, 13, 15, 16, 17
LOW_PASS, HIGH_PASS, HARMONIC_SHIFT, WAVE_FOLD = 18, 19, 20, 21


def client(env, window):
    shell = run(["xdotool", "getwindowgeometry", "--shell", window], env)
    place = dict(line.split("=") for line in shell.split())
    crop = "%dx%d+%s+%d" % (WIDTH, HEIGHT, place["X"], int(place["Y"]) + MENU_BAR_HEIGHT)
    return run(["import", "-window", "root", "-crop", crop, "-depth", "8", "rgb:-"], env, False)


def edit(env, window, place):
    choose(env, window, "e", place, "-")


def boxes(env):  # windows titled as the editor: the editor itself and an open number dialog
    return len(visible(env, TITLE))


def dialog(env):
    wait_for(lambda: boxes(env) == 2, "the number dialog")
    return visible(env, TITLE)[-1]


def close_box_over_editor(env):  # a box titled as the editor, closed with Return
    xdo(env, "windowfocus", "--sync", dialog(env), "key", "Return")
    wait_for(lambda: boxes(env) == 1, "the box to close with Return")


def type_into(env, box, text, key):
    xdo(env, "windowfocus", "--sync", box, "type", "--delay", "30", text)
    xdo(env, "key", key, "sleep", 0.3)


def main(program, closer, work):
    os.makedirs(work, exist_ok=True)
    with xvfb() as env:
        editor, window = start_editor(program, env, work)
        choose(env, window, "s", SAW, "-")
        time.sleep(0.3)
        saw = client(env, window)

        def undone(what):
            xdo(env, "windowfocus", "--sync", window, "key", "--clearmodifiers", "ctrl+z",
                "sleep", 0.3)
            check(client(env, window) == saw, "Undo did not take back " + what)

        for name, place in (("Normalize Each", NORMALIZE_EACH), ("Align Phase", ALIGN_PHASE)):
            edit(env, window, place)
            check(client(env, window) != saw, name + " changed nothing")
            undone(name)
        # Fill Gaps with one frame: its box; Spectral Morph in the Waveform view: Morph's.
        edit(env, window, FILL_GAPS)
        wait_for(lambda: boxes(env) == 2, "the Fill Gaps box")
        close_box_over_editor(env)
        edit(env, window, SPECTRAL_MORPH)
        close_box(env, "QARNO Wavetable Editor", "Return")
        check(client(env, window) == saw, "the boxes changed the frame")

        for name, place, typed in (("Low Pass", LOW_PASS, "3"), ("High Pass", HIGH_PASS, "5"),
                                   ("Harmonic Shift", HARMONIC_SHIFT, "2"),
                                   ("Wave Fold", WAVE_FOLD, "3.5")):
            edit(env, window, place)
            box = dialog(env)
            type_into(env, box, "abc", "Return")
            check(boxes(env) == 2, name + ": the dialog took text")
            type_into(env, box, "9999", "KP_Enter")
            check(boxes(env) == 2, name + ": the dialog took 9999")
            type_into(env, box, typed, "Return")
            wait_for(lambda: boxes(env) == 1, name + "'s dialog to close on Enter")
            time.sleep(0.3)
            changed = client(env, window)
            check(changed != saw, name + " changed nothing")
            # Esc in the next dialog: nothing changes, and Undo still goes back to the saw.
            edit(env, window, LOW_PASS)
            xdo(env, "windowfocus", "--sync", dialog(env), "key", "Escape", "sleep", 0.3)
            wait_for(lambda: boxes(env) == 1, "the dialog to close on Esc")
            check(client(env, window) == changed, name + ": Esc changed the frame")
            undone(name)

        choose(env, window, "v", WAVETABLE_VIEW, "-")
        time.sleep(0.3)
        table = client(env, window)
        edit(env, window, WAVE_FOLD)
        type_into(env, dialog(env), "8", "Return")
        wait_for(lambda: boxes(env) == 1, "the Wavetable view's dialog to close")
        time.sleep(0.3)
        check(client(env, window) != table, "Wave Fold changed nothing in the Wavetable view")
        xdo(env, "windowfocus", "--sync", window, "key", "--clearmodifiers", "ctrl+z", "sleep", 0.3)
        check(client(env, window) == table, "Undo did not take back the Wavetable view's fold")
        close_window(closer, editor, window, env)
    print("PASS")


if __name__ == "__main__":
    main(*sys.argv[1:4])
