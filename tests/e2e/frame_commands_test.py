#!/usr/bin/env python3
"""The Edit menu's frame processes in the real editor at scale 1: Normalize Each changes the
Waveform view's saw and Undo takes it back pixel for pixel; Wave Fold's number dialog refuses
text and a number out of range in place, takes a typed one with Enter, and changes nothing on
Esc, not even the undo snapshot; Formula... refuses an unknown name and takes a formula with
Enter, which Undo takes back."""
import os, sys, time

from xdriver import check, choose, close_window, find_window, start_editor, visible, wait_for
from xdriver import xdo, xvfb
from window_test import HEIGHT, MENU_BAR_HEIGHT, WIDTH, geometry, grab

TITLE = "QARNO Wavetable Maker"
# Places in the menus; separators are no places.
SAW, NORMALIZE_EACH, WAVE_FOLD, FORMULA = 3, 16, 21, 8


def client(env, window):
    left, top = geometry(env, window)[:2]
    return grab(env, left, top + MENU_BAR_HEIGHT, WIDTH, HEIGHT)


def boxes(env):  # windows titled as the editor: the editor itself and an open number dialog
    return len(visible(env, TITLE))


def dialog(env):
    wait_for(lambda: boxes(env) == 2, "the number dialog")
    return visible(env, TITLE)[-1]


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

        choose(env, window, "e", NORMALIZE_EACH, "-")
        check(client(env, window) != saw, "Normalize Each changed nothing")
        undone("Normalize Each")

        choose(env, window, "e", WAVE_FOLD, "-")
        box = dialog(env)
        type_into(env, box, "abc", "Return")
        check(boxes(env) == 2, "the dialog took text")
        type_into(env, box, "9999", "KP_Enter")
        check(boxes(env) == 2, "the dialog took 9999")
        type_into(env, box, "3.5", "Return")
        wait_for(lambda: boxes(env) == 1, "the dialog to close on Enter")
        time.sleep(0.3)
        folded = client(env, window)
        check(folded != saw, "Wave Fold changed nothing")
        # Esc in the next dialog: nothing changes, and Undo still goes back to the saw.
        choose(env, window, "e", WAVE_FOLD, "-")
        xdo(env, "windowfocus", "--sync", dialog(env), "key", "Escape", "sleep", 0.3)
        wait_for(lambda: boxes(env) == 1, "the dialog to close on Esc")
        check(client(env, window) == folded, "Esc changed the frame")
        undone("Wave Fold")
        choose(env, window, "s", FORMULA, "-")
        box = find_window(env, "Formula")  # offering sin(2*pi*w), the cursor at its end
        type_into(env, box, "+fo", "Return")
        check(visible(env, "Formula"), "the formula dialog took an unknown name")
        xdo(env, "key", "BackSpace", "BackSpace", "BackSpace", "Return", "sleep", 0.3)
        wait_for(lambda: not visible(env, "Formula"), "the formula dialog to close on Enter")
        check(client(env, window) != saw, "Formula... changed nothing")
        undone("Formula...")
        close_window(closer, editor, window, env)
    print("PASS")


if __name__ == "__main__":
    main(*sys.argv[1:4])
