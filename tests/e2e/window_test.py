#!/usr/bin/env python3
"""Drives the real editor at screen scale 2, by --scale and then by Xft.dpi; its client area must
equal what qarno-render paints headless for the same steps, every pixel a 2 x 2 block, and the
files its real dialogs save must equal the headless ones."""
import os, re, shutil, subprocess, sys, tempfile

from xdriver import check, choose, close_box, close_window, expect_exit, find_window, run
from xdriver import start_editor, visible, wait_for, xdo, xvfb

MENU_BAR_HEIGHT, WIDTH, HEIGHT, CAPTION = 25, 768, 575, "QARNO Wavetable Editor"
TITLE = "QARNO Wavetable Maker"
S, SCREEN = 2, "2048x1600x24"  # the screen scale, the Xvfb screen
FOLDER = "chosen"  # the first save dialog picks it; the later dialogs open in it


def geometry(env, window):  # left, top, width, height
    shell = run(["xdotool", "getwindowgeometry", "--shell", window], env)
    return [int(re.search("%s=(-?\\d+)" % k, shell)[1]) for k in ("X", "Y", "WIDTH", "HEIGHT")]


def grab(env, left, top, width, height):
    crop = "%dx%d+%d+%d" % (width, height, left, top)
    return run(["import", "-window", "root", "-crop", crop, "-depth", "8", "rgb:-"], env, False)


class RealWindow:
    def __init__(self, program, closer, env, work, route):
        self.program, self.closer, self.env = program, closer, env
        self.work, self.route = work, route
        self.start(["--scale", str(S)])

    def start(self, options=()):
        self.editor, self.window = start_editor(self.program, self.env, self.work, options)
        self.left, self.top, width, height = geometry(self.env, self.window)
        check((width, height) == (WIDTH * S, 600 * S), "size %dx%d" % (width, height))
        hints = run(["xprop", "-id", self.window, "WM_NORMAL_HINTS"], self.env)
        check(hints.count("imum size: %d by %d" % (WIDTH * S, 600 * S)) == 2, "not fixed: " + hints)
        wm_class = run(["xprop", "-id", self.window, "WM_CLASS"], self.env)  # the entry's class
        check('"QARNO_Wavetable_Maker"' in wm_class, "the window's class: " + wm_class)

    def at(self, x, y):  # to the middle of client pixel (x, y)'s block: the window rounds down
        return ["mousemove", self.left + x * S + S // 2,
                self.top + (MENU_BAR_HEIGHT + y) * S + S // 2, "sleep", 0.08]


# The steps: (qarno-render lines, action on the real window).
def press(*points, button=1):  # pressed at the first point, moved, released at the last
    down, up = ("down", "up") if button == 1 else ("rdown", "rup")
    lines = ["%s %d %d" % (down, *points[0])] + ["move %d %d" % p for p in points[1:]]
    return (lines + ["%s %d %d" % (up, *points[-1])],
            lambda w: xdo(w.env, *w.at(*points[0]), "mousedown", button,
                          *[word for p in points[1:] for word in w.at(*p)], "mouseup", button))


def menu(title, item):  # by the mnemonics or arrow keys of the route the renderer reports
    return ["menu %s|%s" % (title, item)], lambda w: choose(w.env, w.window, *w.route.pop(0))


def key(name):  # the menu bar runs the item of the current menus that has it; arrows step knobs
    typed = re.sub("[A-Z]$", lambda m: m[0].lower(), name)  # a letter without Shift
    return ["key " + name], lambda w: xdo(w.env, "windowfocus", "--sync", w.window, "key",
                                          "--clearmodifiers", typed, "sleep", 0.2)


def wheel(x, y, notches):  # turned away from the user (X button 4)
    return (["wheel %d %d %d" % (x, y, notches)],
            lambda w: xdo(w.env, *w.at(x, y), "click", "--repeat", notches, 4, "sleep", 0.2))


def plain_box(w):  # laid out at the screen scale, without an icon (its face would be white)
    left, top, width, height = geometry(w.env, find_window(w.env, CAPTION))
    check(height >= 55 * S, "a box %d pixels high" % height)
    shot = grab(w.env, left, top, width, height)
    check(all(shot[i:i + 3] != b"\xff\xff\xff" for i in range(0, len(shot), 3)), "an icon")
    close_box(w.env, CAPTION, "Escape")


def snapshot(name):  # the client area must show the headless picture enlarged S times
    def compare(w):
        expected = run(["convert", os.path.join(w.work, name + ".ppm"), "-sample",
                        "%d%%" % (100 * S), "-depth", "8", "rgb:-"], w.env, False)

        def same():  # the last picture shown stays for a look
            actual = grab(w.env, w.left, w.top + MENU_BAR_HEIGHT * S, WIDTH * S, HEIGHT * S)
            with open(os.path.join(w.work, name + "-actual.ppm"), "wb") as f:
                f.write(b"P6\n%d %d\n255\n" % (WIDTH * S, HEIGHT * S) + actual)
            return actual == expected
        wait_for(same, "%s to match the headless raster" % name, 10)
    return ["snapshot {work}/%s.ppm" % name], compare


def answer(w, title, typed):  # the name typed and Return
    xdo(w.env, "windowfocus", "--sync", find_window(w.env, title), "sleep", 0.1, "type", typed)
    xdo(w.env, "key", "Return")


def restart(w):  # closed by its close box, opened again at the scale Xft.dpi asks for
    close_window(w.closer, w.editor, w.window, w.env)
    subprocess.run(["xrdb", "-merge"], input="Xft.dpi: %d\n" % (96 * S), env=w.env, text=True)
    w.start()


def asked(title, item, answers, act):  # a menu choice, then `act` on the dialog it opens
    lines, choose_item = menu(title, item)
    return ["answer " + a for a in answers] + lines, lambda w: (choose_item(w), act(w))


def save(item, typed, name, size, same=True):  # .wav is added; the same bytes as headless
    def saved(w):  # (a project's additive frame survives the headless restart: not the same)
        answer(w, "Save As", typed)
        path = os.path.join(w.work, FOLDER, name + ".wav")
        wait_for(lambda: os.path.exists(path) and os.path.getsize(path) == size, "all of " + path)
        with open(path, "rb") as real, \
                open(os.path.join(w.work, "render-" + name + ".wav"), "rb") as ours:
            check(not same or real.read() == ours.read(), name + " differs from the headless one")
    return asked("File", item, ["{work}/render-%s.wav" % name], saved)


def load(item, name):  # typed without its folder: the dialog opens where the last one chose
    return asked("File", item, ["{work}/render-%s.wav" % name],
                 lambda w: answer(w, "Open", name + ".wav"))


def wave_fold(*keys):  # the number dialog, titled as the editor: (text, key, windows left)
    def answered(w):
        wait_for(lambda: len(visible(w.env, TITLE)) == 2, "the number dialog")
        box = visible(w.env, TITLE)[-1]
        for typed, key, left in keys:
            xdo(w.env, "windowfocus", "--sync", box, "type", "--delay", "30", typed)
            xdo(w.env, "key", key, "sleep", 0.3)  # apart: type takes all the words after it
            wait_for(lambda: len(visible(w.env, TITLE)) == left, "%s then %s" % (typed, key), 5)
    return asked("Edit", "Wave Fold...", [t for t, key, _ in keys if key != "Escape"], answered)


STEPS = [
    snapshot("start"),
    menu("Synthesize", "Saw"), menu("Edit", "Normalize Each"), snapshot("normalized"),
    key("Ctrl+Z"),
    wave_fold(("abc", "Return", 2), ("9999", "KP_Enter", 2), ("3.5", "Return", 1)),
    snapshot("folded"),
    wave_fold(("", "Escape", 1)),                       # no change, no undo snapshot
    key("Ctrl+Z"),                                      # back to the saw, frame 0 of the stack
    press((328, 22)),                                   # WAVETABLE tab
    press((57, 89), (57, 79), (57, 74)),                # Wave knob: 30 screen pixels, 15 up
    press((57, 217), (57, 200), (57, 162)),             # Offset knob up 55
    snapshot("knobs"),
    # Padwave knob released outside, above the window: the move afterwards drags nothing.
    press((57, 345), (57, 200), (57, -40), (900, -42)),
    (["move 57 400"], lambda w: xdo(w.env, *w.at(57, 400))),
    menu("Synthesize", "Sine"), snapshot("sine"),
    press((238, 22)),                                   # WAVEFORM tab
    menu("Edit", "Morph"), ([], plain_box), press((300, 300), button=3), snapshot("morph-refused"),
    press((418, 22)),                                   # ADDITIVE tab: a sweep over the sliders
    press((190, 250), (230, 230), (300, 215), (420, 260), (560, 290), (690, 240)),
    press((740, 560)),                                  # repaint with the levels just set
    snapshot("additive"),
    menu("View", "Padwave"), menu("Edit", "x10"),
    key("Ctrl+Z"),                                      # this view has no Undo: nothing
    menu("Edit", "Generate"), snapshot("padwave"),
    menu("View", "Waveform"), menu("Synthesize", "Triangle"), snapshot("triangle"),
    key("Ctrl+X"),                                      # the triangle cut from the Wave frame
    wheel(57, 89, 3),                                   # Wave knob 3 up
    key("Ctrl+V"),                                      # pasted into that frame
    key("Ctrl+Z"),                                      # and taken back; the cut stays
    key("Right"), key("Right"), key("Shift+Right"),     # Wave 3 to 5, Offset 0 to 1
    snapshot("keys"),
    (["restart"], restart),
    press((328, 22)),                                   # WAVETABLE tab
    press((57, 217), (57, 190), (57, 157)),             # Offset knob up 60
    menu("Synthesize", "Saw"), save("Export 2048 Wavetable...", FOLDER + "/table", "table", 819302),
    menu("Synthesize", "Sine"), load("Load Wavetable...", "table"), snapshot("loaded"),
    save("Save Project...", "project", "project", 938666, same=False),
    menu("File", "New"), snapshot("new"), load("Open Project...", "project"), snapshot("opened"),
    menu("File", "Exit"),
]


def main():
    program, renderer, closer, work_root = sys.argv[1:]
    os.makedirs(work_root, exist_ok=True)
    work = tempfile.mkdtemp(dir=work_root)  # a failed run's pictures stay for a look
    lines = [line.format(work=work) for step, _ in STEPS for line in step]
    done = subprocess.run([renderer], input="\n".join(lines) + "\n", capture_output=True, text=True)
    report = ["box %s|Select wavetable view to morph" % CAPTION, "dialog save *.wav\n",
              "dialog open *.wav\n", "quit 0\n"]
    check(done.returncode == 0 and all(s in done.stdout for s in report), done.stderr + done.stdout)
    route = [line.split()[1:] for line in done.stdout.splitlines() if line.startswith("menu ")]
    os.makedirs(os.path.join(work, FOLDER))
    with xvfb(SCREEN) as env:
        w = RealWindow(program, closer, env, work, route)
        for _, act in STEPS:
            act(w)
        expect_exit(w.editor, "File > Exit")
    shutil.rmtree(work)


if __name__ == "__main__":
    main()
