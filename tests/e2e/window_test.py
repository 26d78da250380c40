#!/usr/bin/env python3
"""Drives the real editor in a virtual X display; its client area must equal, pixel for pixel,
what qarno-render paints on the headless backend for the same steps. The renderer also tells
where each menu item is: by mnemonics or arrow keys, and by position for the mouse."""
import argparse, os, re, shutil, subprocess, tempfile, time

from xdriver import check, choose, close_box, close_window, expect_exit, find_window, run
from xdriver import start_editor, visible, wait_for, xdo, xvfb

MENU_BAR_HEIGHT, WIDTH, HEIGHT, SCREEN_WIDTH, CAPTION = 25, 768, 575, 1024, "QARNO Wavetable Editor"


class RealWindow:
    def __init__(self, args, env, work):
        self.env, self.work = env, work
        self.editor, self.window = start_editor(args.editor, env, work)
        shell = run(["xdotool", "getwindowgeometry", "--shell", self.window], env).split()
        geometry = dict(word.split("=") for word in shell)
        self.left, self.top = int(geometry["X"]), int(geometry["Y"])
        check((geometry["WIDTH"], geometry["HEIGHT"]) == ("768", "600"), "size %s" % geometry)
        hints = run(["xprop", "-id", self.window, "WM_CLASS", "WM_NORMAL_HINTS"], env)
        check('"QARNO_Wavetable_Maker", "QARNO_Wavetable_Maker"' in hints, "class: " + hints)
        check("minimum size: 768 by 600" in hints and "maximum size: 768 by 600" in hints, hints)

    def at(self, x, y):  # xdotool's words for a pointer move to client coordinates
        return ["mousemove", self.left + x, self.top + MENU_BAR_HEIGHT + y, "sleep", 0.08]


def grab(env, width=SCREEN_WIDTH, height=768, left=0, top=0):
    crop = "%dx%d+%d+%d" % (width, height, left, top)
    return run(["import", "-window", "root", "-crop", crop, "-depth", "8", "rgb:-"], env, False)


def dark_runs(shot, pixels, gap, least):
    """[start, end) of the runs of `pixels` lines with dark pixels, gaps < `gap` joined."""
    runs = []
    for i, line in enumerate(pixels):
        if any(sum(shot[3 * (y * SCREEN_WIDTH + x) + c] for c in range(3)) < 250 for x, y in line):
            if runs and i - runs[-1][1] < gap:
                runs[-1][1] = i + 1
            else:
                runs.append([i, i + 1])
    return [r for r in runs if r[1] - r[0] > least]


def open_menu(env):
    """The open menu's window on the screen: (left, top, width, height)."""
    for line in run(["xwininfo", "-root", "-children"], env).splitlines():
        found = re.match(r"\s+0x\w+ \(has no name\): \(\)\s+(\d+)x(\d+)\+(-?\d+)\+(-?\d+)", line)
        if found and int(found[1]) > 30 and int(found[2]) > 30:
            return [int(found[k]) for k in (3, 4, 1, 2)]


def click_menu(w, popup, index):
    """Clicks the popup's title, then its item, where the screen shows them."""
    columns = [[(w.left + x, w.top + y) for y in range(4, 21)] for x in range(WIDTH)]
    start, end = dark_runs(grab(w.env), columns, 8, 0)[popup]
    xdo(w.env, "mousemove", w.left + (start + end) // 2, w.top + MENU_BAR_HEIGHT // 2, "click", 1)
    last = [None]

    def item_centre():  # once two grabs show the same label rows
        x, y, width, height = wait_for(lambda: open_menu(w.env), "the menu to open")
        rows = [[(px, py) for px in range(x + 3, x + width - 3)] for py in range(y, y + height)]
        # Labels are several rows high; dividers and mnemonic underlines are thin.
        labels = dark_runs(grab(w.env), rows, 2, 3)
        stable, last[0] = labels == last[0] and len(labels) > index, labels
        return stable and (x + width // 2, y + sum(labels[index]) // 2)
    xdo(w.env, "mousemove", *wait_for(item_centre, "the menu's items"), "sleep", 0.08, "click", 1)


def compare(w, name):
    """Waits for the real client area to show the expected picture."""
    with open(os.path.join(w.work, name + ".ppm"), "rb") as f:
        expected = f.read()[-WIDTH * HEIGHT * 3:]
    deadline = time.time() + 10
    while (actual := grab(w.env, WIDTH, HEIGHT, w.left, w.top + MENU_BAR_HEIGHT)) != expected:
        if time.time() > deadline:
            with open(os.path.join(w.work, name + "-actual.ppm"), "wb") as f:
                f.write(b"P6\n%d %d\n255\n" % (WIDTH, HEIGHT) + actual)
            check(False, "%s differs from the headless raster: see %s-actual.ppm" % (name, name))
        time.sleep(0.2)
    print("ok: %s matches the headless raster" % name, flush=True)


# The steps: (qarno-render lines, action on the real window given the menu route).
def click(x, y, button=1):
    verbs = ("down", "up") if button == 1 else ("rdown", "rup")
    return (["%s %d %d" % (verb, x, y) for verb in verbs],
            lambda w, _: xdo(w.env, *w.at(x, y), "click", button))


def drag(*points):
    moves = ["move %d %d" % p for p in points[1:]]
    return (["down %d %d" % points[0]] + moves + ["up %d %d" % points[-1]],
            lambda w, _: xdo(w.env, *w.at(*points[0]), "mousedown", 1,
                             *[word for p in points[1:] for word in w.at(*p)], "mouseup", 1))


def menu(title, item, mouse=False):
    def act(w, route):
        popup, key, index, item_key = route.pop(0)
        if mouse:
            click_menu(w, int(popup), int(index))
        else:
            choose(w.env, w.window, key, index, item_key)
    return ["menu %s|%s" % (title, item)], act


def snapshot(name):
    return ["snapshot {work}/%s.ppm" % name], lambda w, _: compare(w, name)


def save_as(name):
    """Answers the save dialog with a name without extension: it appends .wav."""
    def act(w, _):
        xdo(w.env, "windowfocus", "--sync", find_window(w.env, "Save As"))
        xdo(w.env, "type", name)
        xdo(w.env, "key", "Return")
        path = os.path.join(w.work, name + ".wav")
        wait_for(lambda: os.path.exists(path) and os.path.getsize(path) > 44, path)
    return [], act


SCENARIO = [
    snapshot("start"),
    click(328, 22),                                     # WAVETABLE tab
    drag((57, 89), (57, 79), (57, 64), (57, 49)),       # Wave knob up 40
    drag((57, 217), (57, 200), (57, 162)),              # Offset knob up 55
    snapshot("knobs"),
    # Padwave knob: up past the window's top edge, released outside; the
    # release still arrives, so the move afterwards drags nothing.
    drag((57, 345), (57, 200), (57, -40), (900, -42)),
    (["move 57 400"], lambda w, _: xdo(w.env, *w.at(57, 400))),
    menu("Synthesize", "Sine"),
    snapshot("sine"),
    click(238, 22),                                     # WAVEFORM tab
    menu("Edit", "Morph"),
    ([], lambda w, _: close_box(w.env, CAPTION)),
    click(300, 300, 3),
    snapshot("morph-refused"),
    click(418, 22),                                     # ADDITIVE tab: a sweep over the sliders
    drag((190, 250), (230, 230), (300, 215), (420, 260), (560, 290), (690, 240)),
    click(740, 560),                                    # repaint with the levels just set
    snapshot("additive"),
    menu("View", "Padwave", mouse=True),
    menu("Edit", "x10"),
    menu("Edit", "Generate"),
    snapshot("padwave"),
    menu("View", "Waveform", mouse=True),
    menu("Synthesize", "Triangle", mouse=True),
    snapshot("triangle"),
]
def export_as(name, via):
    """Chooses `via` and answers its save dialog; the file equals the headless one and sox
    reads it. The headless run has its answer queued before the menu choice."""
    def act(w, route):
        via[1](w, route)
        save_as(name)[1](w, route)
        path = os.path.join(w.work, name + ".wav")
        wait_for(lambda: os.path.getsize(path) == 819288, "the whole export")
        with open(path, "rb") as real, open(os.path.join(w.work, "render-" + name + ".wav"), "rb") as ours:
            check(real.read() == ours.read(), "the export differs from the headless one")
        info = [run(["sox", "--i", "-" + o, path], w.env).strip() for o in "rcbse"]
        check(info == ["44100", "1", "32", "204800", "Floating Point PCM"], "sox: %s" % info)
    return ["answer {work}/render-%s.wav" % name] + via[0], act


def open_file(name, via):
    """Chooses `via` and answers its open dialog with a file of the working folder."""
    def act(w, route):
        via[1](w, route)
        xdo(w.env, "windowfocus", "--sync", find_window(w.env, "Open"))
        xdo(w.env, "type", name + ".wav")
        xdo(w.env, "key", "Return")
        wait_for(lambda: not visible(w.env, "Open"), "the open dialog to close")
    return ["answer {work}/render-%s.wav" % name] + via[0], act


# The second run: the table exported for 2048-sample synthesizers through the file dialog, a
# sine over it, the export loaded back; then a frame saved, and File > Exit.
SAVE_AND_EXIT = [
    click(328, 22),                                     # WAVETABLE tab
    drag((57, 217), (57, 190), (57, 157)),              # Offset knob up 60
    menu("Synthesize", "Saw"),
    export_as("table", menu("File", "Export 2048 Wavetable...")),
    menu("Synthesize", "Sine"),
    open_file("table", menu("File", "Load Wavetable...")),
    snapshot("loaded"),
    click(238, 22),                                     # WAVEFORM tab
    menu("File", "Save Waveform..."), save_as("frame"), menu("File", "Exit")]
REPORT = ["box %s|Select wavetable view to morph" % CAPTION, "dialog save *.wav\n",
          "dialog open *.wav\n", "quit 0\n"]


def render(args, work):
    """Runs qarno-render over both runs' steps; returns the menu route it reports."""
    steps = SCENARIO + [(["restart"], None)] + SAVE_AND_EXIT
    lines = [line.format(work=work) for step, _ in steps for line in step]
    done = subprocess.run([args.render], input="\n".join(lines) + "\n", capture_output=True,
                          text=True, timeout=60)
    check(done.returncode == 0 and all(s in done.stdout for s in REPORT), done.stderr + done.stdout)
    return [line.split()[1:] for line in done.stdout.splitlines() if line.startswith("menu ")]


def main():
    parser = argparse.ArgumentParser()
    for option in ("--editor", "--render", "--close-window", "--work"):
        parser.add_argument(option, required=True)
    args = parser.parse_args()
    os.makedirs(args.work, exist_ok=True)
    work = tempfile.mkdtemp(dir=args.work)  # the pictures of a failed run stay for a look
    route = render(args, work)
    with xvfb() as env:
        real = RealWindow(args, env, work)
        for _, act in SCENARIO:
            act(real, route)
        close_window(args.close_window, real.editor, real.window, env)
        real = RealWindow(args, env, work)
        for _, act in SAVE_AND_EXIT:
            act(real, route)
        expect_exit(real.editor, "File > Exit")
    shutil.rmtree(work)


if __name__ == "__main__":
    main()
