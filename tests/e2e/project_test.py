#!/usr/bin/env python3
"""The real editor saves a project through its file dialog, and after New opens it to the same
window, pixel for pixel."""
import os, shutil, subprocess, sys, tempfile

from xdriver import check, expect_exit, wait_for, xvfb
from window_test import HEIGHT, MENU_BAR_HEIGHT, S, SCREEN, WIDTH, RealWindow, answer, grab
from window_test import menu, press

DOCUMENT = [  # unlike New's in every choice
    press((328, 22)), press((57, 89), (57, 59)), press((57, 217), (57, 197)),  # knobs 30, 20
    menu("Synthesize", "Sine"), press((418, 22)), press((190, 250), (300, 215), (560, 290)),
    press((740, 560)), menu("Edit", "Negative"), menu("View", "Padwave"), menu("Edit", "x10"),
    press((57, 345), (57, 330)), menu("Edit", "Generate")]


def settled(w):  # the client area once two grabs a moment apart agree
    shots = [None]

    def same():
        shots.append(grab(w.env, w.left, w.top + MENU_BAR_HEIGHT * S, WIDTH * S, HEIGHT * S))
        return shots[-1] == shots[-2] and shots[-1]
    return wait_for(same, "the window to settle", 10)


def main():
    program, renderer, closer, work_root = sys.argv[1:]
    os.makedirs(work_root, exist_ok=True)
    work = tempfile.mkdtemp(dir=work_root)
    path, render = os.path.join(work, "project.wav"), "answer %s/render.wav" % work
    lines = [line for step, _ in DOCUMENT for line in step] + [
        render, "menu File|Save Project...", "menu File|New", render, "menu File|Open Project...",
        "menu File|Exit"]
    done = subprocess.run([renderer], input="\n".join(lines) + "\n", capture_output=True, text=True)
    check(done.returncode == 0 and "quit 0" in done.stdout, done.stderr + done.stdout)
    route = [line.split()[1:] for line in done.stdout.splitlines() if line.startswith("menu ")]
    with xvfb(SCREEN) as env:
        w = RealWindow(program, closer, env, work, route)
        for _, act in DOCUMENT:
            act(w)
        saved = settled(w)
        menu("File", "Save Project...")[1](w)
        answer(w, "Save As", "project")  # .wav is added
        wait_for(lambda: os.path.exists(path) and os.path.getsize(path) == 938242, "the file")
        menu("File", "New")[1](w)
        check(settled(w) != saved, "New left the window as it was")
        menu("File", "Open Project...")[1](w)
        answer(w, "Open", "project.wav")
        wait_for(lambda: settled(w) == saved, "the opened project to show the saved window")
        menu("File", "Exit")[1](w)
        expect_exit(w.editor, "File > Exit")
    shutil.rmtree(work)


if __name__ == "__main__":
    main()
