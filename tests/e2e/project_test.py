#!/usr/bin/env python3
"""The real editor saves a project through its file dialog, and after New opens it to the same
window, pixel for pixel; sox reads the file as a table of float samples without a complaint."""
import os, shutil, subprocess, sys, tempfile

from xdriver import check, choose, expect_exit, find_window, run, start_editor, wait_for, xdo
from xdriver import xvfb
from window_test import geometry, grab

MENU_BAR_HEIGHT, WIDTH, HEIGHT = 25, 768, 575
PROJECT_BYTES = 938242

# The steps that make a document unlike New's in every view's choices, as qarno-render reads
# them: presses and drags at client coordinates, and menu choices.
DOCUMENT = [
    "down 328 22", "up 328 22",                             # WAVETABLE tab
    "down 57 89", "move 57 59", "up 57 59",                 # Wave knob 30
    "down 57 217", "move 57 197", "up 57 197",              # Offset knob 20
    "menu Synthesize|Sine",
    "down 418 22", "up 418 22",                             # ADDITIVE tab: levels swept
    "down 190 250", "move 300 215", "move 560 290", "up 560 290",
    "down 740 560", "up 740 560",                           # repaint with the levels just set
    "menu Edit|Negative",
    "menu View|Padwave",
    "menu Edit|x10",
    "down 57 345", "move 57 330", "up 57 330",              # Padwave knob 15
    "menu Edit|Generate",
]


class Editor:
    def __init__(self, program, env, work, route):
        self.env, self.work, self.route = env, work, route
        self.editor, self.window = start_editor(program, env, work)
        self.left, self.top = geometry(env, self.window)[:2]

    def at(self, x, y):
        return ["mousemove", self.left + x, self.top + MENU_BAR_HEIGHT + y, "sleep", 0.08]

    def step(self, line):
        verb, *rest = line.split(" ", 1)
        if verb == "menu":
            choose(self.env, self.window, *self.route.pop(0))
        elif verb == "down":
            xdo(self.env, *self.at(*map(int, rest[0].split())), "mousedown", 1)
        elif verb == "move":
            xdo(self.env, *self.at(*map(int, rest[0].split())))
        elif verb == "up":
            xdo(self.env, *self.at(*map(int, rest[0].split())), "mouseup", 1)

    def client(self):
        return grab(self.env, self.left, self.top + MENU_BAR_HEIGHT, WIDTH, HEIGHT)

    def answer(self, title, typed):
        xdo(self.env, "windowfocus", "--sync", find_window(self.env, title), "sleep", 0.1,
            "type", typed)
        xdo(self.env, "key", "Return")


def settled(editor):  # the client area once two grabs a moment apart agree
    previous = [None]

    def same():
        shot = editor.client()
        agreed, previous[0] = shot == previous[0], shot
        return agreed and shot
    return wait_for(same, "the window to settle", 10)


def main():
    program, renderer, work_root = sys.argv[1:]
    os.makedirs(work_root, exist_ok=True)
    work = tempfile.mkdtemp(dir=work_root)
    lines = DOCUMENT + ["answer %s/render.wav" % work, "menu File|Save Project...",
                        "menu File|New", "answer %s/render.wav" % work, "menu File|Open Project...",
                        "menu File|Exit"]
    done = subprocess.run([renderer], input="\n".join(lines) + "\n", capture_output=True, text=True)
    check(done.returncode == 0 and "quit 0" in done.stdout, done.stderr + done.stdout)
    route = [line.split()[1:] for line in done.stdout.splitlines() if line.startswith("menu ")]
    path = os.path.join(work, "project.wav")
    with xvfb() as env:
        e = Editor(program, env, work, route)
        for line in DOCUMENT:
            e.step(line)
        saved = settled(e)
        e.step("menu File|Save Project...")
        e.answer("Save As", "project")  # .wav is added
        wait_for(lambda: os.path.exists(path) and os.path.getsize(path) == PROJECT_BYTES,
                 "the whole project file")
        e.step("menu File|New")
        check(settled(e) != saved, "New left the window as it was")
        e.step("menu File|Open Project...")
        e.answer("Open", "project.wav")
        wait_for(lambda: e.client() == saved, "the opened project to show the saved window", 10)
        e.step("menu File|Exit")
        expect_exit(e.editor, "File > Exit")
    info = [run(["sox", "--i", "-" + option, path]).strip() for option in "rcbse"]
    check(info == ["44100", "1", "32", "102400", "Floating Point PCM"], "sox reads %s" % info)
    for args in (["--i", path], [path, "-n"]):
        ran = subprocess.run(["sox", *args], capture_output=True, text=True, timeout=30)
        check(ran.returncode == 0 and ran.stderr == "", "sox %s: %s" % (args, ran.stderr))
    shutil.rmtree(work)


if __name__ == "__main__":
    main()
