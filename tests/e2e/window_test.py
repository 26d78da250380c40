#!/usr/bin/env python3
"""Drives the real editor in a virtual X display at screen scale 2 (asked for by --scale in the
first run, by the X resource Xft.dpi in the second); its client area must equal, pixel for pixel,
what qarno-render paints on the headless backend for the same steps, every pixel a 2 x 2 block.
The renderer also tells where each menu item is: by mnemonics or arrow keys, and by position for
the mouse."""
import argparse, os, re, shutil, subprocess, tempfile, time

from xdriver import check, choose, close_window, expect_exit, find_window, run
from xdriver import start_editor, visible, wait_for, xdo, xvfb

MENU_BAR_HEIGHT, WIDTH, HEIGHT, CAPTION = 25, 768, 575, "QARNO Wavetable Editor"
S, SCREEN_WIDTH, SCREEN_HEIGHT = 2, 2048, 1600  # the screen scale, the Xvfb screen


def geometry(env, window):
    shell = run(["xdotool", "getwindowgeometry", "--shell", window], env).split()
    found = dict(word.split("=") for word in shell)
    return [int(found[k]) for k in ("X", "Y", "WIDTH", "HEIGHT")]


class RealWindow:
    def __init__(self, args, env, work, options=()):
        self.env, self.work = env, work
        self.editor, self.window = start_editor(args.editor, env, work, options)
        self.left, self.top, width, height = geometry(env, self.window)
        check((width, height) == (WIDTH * S, 600 * S), "size %dx%d" % (width, height))
        hints = run(["xprop", "-id", self.window, "WM_CLASS", "WM_NORMAL_HINTS"], env)
        check('"QARNO_Wavetable_Maker", "QARNO_Wavetable_Maker"' in hints, "class: " + hints)
        fixed = "imum size: %d by %d" % (WIDTH * S, 600 * S)
        check(hints.count(fixed) == 2, hints)

    def at(self, x, y):
        """xdotool's words for a pointer move to client coordinates: the middle of the pixel's
        block on the screen, which the window must round down to the pixel itself."""
        return ["mousemove", self.left + x * S + S // 2,
                self.top + (MENU_BAR_HEIGHT + y) * S + S // 2, "sleep", 0.08]


def grab(env, width=SCREEN_WIDTH, height=SCREEN_HEIGHT, left=0, top=0):
    crop = "%dx%d+%d+%d" % (width, height, left, top)
    return run(["import", "-window", "root", "-crop", crop, "-depth", "8", "rgb:-"], env, False)


def dark_runs(shot, pixels, gap, least, width=SCREEN_WIDTH, dark=250):
    """[start, end) of the runs of `pixels` lines with dark pixels, gaps < `gap` joined."""
    runs = []
    for i, line in enumerate(pixels):
        if any(sum(shot[3 * (y * width + x) + c] for c in range(3)) < dark for x, y in line):
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
    columns = [[(w.left + x, w.top + y) for y in range(4 * S, 21 * S)] for x in range(WIDTH * S)]
    start, end = dark_runs(grab(w.env), columns, 8 * S, 0)[popup]
    xdo(w.env, "mousemove", w.left + (start + end) // 2, w.top + MENU_BAR_HEIGHT * S // 2,
        "click", 1)
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
    """Waits for the real client area to show the expected picture enlarged S times."""
    expected = run(["convert", os.path.join(w.work, name + ".ppm"), "-sample", "%d%%" % (100 * S),
                    "-depth", "8", "rgb:-"], w.env, False)
    deadline = time.time() + 10
    while (actual := grab(w.env, WIDTH * S, HEIGHT * S, w.left,
                          w.top + MENU_BAR_HEIGHT * S)) != expected:
        if time.time() > deadline:
            with open(os.path.join(w.work, name + "-actual.ppm"), "wb") as f:
                f.write(b"P6\n%d %d\n255\n" % (WIDTH * S, HEIGHT * S) + actual)
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


def key(keys, accelerator):
    """A key pressed in the window: the menu bar runs the item of the current menus that has it."""
    return (["key " + accelerator],
            lambda w, _: xdo(w.env, "windowfocus", "--sync", w.window, "key", "--clearmodifiers",
                             keys, "sleep", 0.2))


def wheel(x, y, notches):
    """The wheel turned away from the user (X button 4), one click per notch."""
    return (["wheel %d %d %d" % (x, y, notches)],
            lambda w, _: xdo(w.env, *w.at(x, y), "click", "--repeat", notches, 4, "sleep", 0.2))


def plain_box(w):
    """The box is laid out at the screen scale and has no icon, whose face would be white; it
    closes with Escape (the sound test's box with Return)."""
    box = find_window(w.env, CAPTION)
    left, top, width, height = geometry(w.env, box)
    shot = grab(w.env, width, height, left, top)
    check(height >= 55 * S, "a box %d pixels high" % height)
    check(all(shot[i:i + 3] != b"\xff\xff\xff" for i in range(0, len(shot), 3)), "an icon")
    xdo(w.env, "windowfocus", "--sync", box, "key", "Escape")
    wait_for(lambda: not visible(w.env, CAPTION), 'the box "%s" to close with Escape' % CAPTION)


def snapshot(name):
    return ["snapshot {work}/%s.ppm" % name], lambda w, _: compare(w, name)


def save_as(typed, folder):
    """Answers the save dialog with a name without extension: it appends .wav. The file must
    appear in `folder` of the working folder."""
    def act(w, _):
        xdo(w.env, "windowfocus", "--sync", find_window(w.env, "Save As"))
        xdo(w.env, "type", typed)
        xdo(w.env, "key", "Return")
        path = os.path.join(w.work, folder, os.path.basename(typed) + ".wav")
        wait_for(lambda: os.path.exists(path) and os.path.getsize(path) > 44, path)
    return [], act


SCENARIO = [
    snapshot("start"),
    click(328, 22),                                     # WAVETABLE tab
    drag((57, 89), (57, 79), (57, 74)),                 # Wave knob: 30 screen pixels, 15 up
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
    ([], lambda w, _: plain_box(w)),
    click(300, 300, 3),
    snapshot("morph-refused"),
    click(418, 22),                                     # ADDITIVE tab: a sweep over the sliders
    drag((190, 250), (230, 230), (300, 215), (420, 260), (560, 290), (690, 240)),
    click(740, 560),                                    # repaint with the levels just set
    snapshot("additive"),
    menu("View", "Padwave", mouse=True),
    menu("Edit", "x10"),
    key("ctrl+z", "Ctrl+Z"),                            # this view has no Undo: nothing
    menu("Edit", "Generate"),
    snapshot("padwave"),
    menu("View", "Waveform", mouse=True),
    menu("Synthesize", "Triangle", mouse=True),
    snapshot("triangle"),
    key("ctrl+x", "Ctrl+X"),                            # the triangle cut from the Wave frame
    wheel(57, 89, 3),                                   # Wave knob 3 up
    key("ctrl+v", "Ctrl+V"),                            # pasted into that frame
    key("ctrl+z", "Ctrl+Z"),                            # and taken back; the cut stays
    snapshot("keys"),
]
def export_as(name, via):
    """Chooses `via` and answers its save dialog; the file equals the headless one and sox
    reads it. The headless run has its answer queued before the menu choice. The name typed
    puts it in a folder of its own: the next dialogs open there."""
    def act(w, route):
        via[1](w, route)
        save_as(os.path.join(FOLDER, name), FOLDER)[1](w, route)
        path = os.path.join(w.work, FOLDER, name + ".wav")
        wait_for(lambda: os.path.getsize(path) == 819288, "the whole export")
        with open(path, "rb") as real, open(os.path.join(w.work, "render-" + name + ".wav"), "rb") as ours:
            check(real.read() == ours.read(), "the export differs from the headless one")
        info = [run(["sox", "--i", "-" + o, path], w.env).strip() for o in "rcbse"]
        check(info == ["44100", "1", "32", "204800", "Floating Point PCM"], "sox: %s" % info)
    return ["answer {work}/render-%s.wav" % name] + via[0], act


# Where FLTK's chooser has the filter's text and the file list, laid out for scale 1. The folder
# holds a file listed as the filter's text followed, far to the right, by ".wav".
FOLDER, FILTER_TEXT, FILE_LIST = "chosen", (67, 12, 255, 33), (12, 47, 303, 268)
FILTER_PROBE = "Wavefile(*.wav)          .wav"


def first_words(shot, width, box):
    """The pixels of the first word (glyphs less than 6 pixels apart) of every text line in the
    box of a shot `width` pixels wide."""
    left, top, right, bottom = [v * S for v in box]
    rows = [[(x, y) for x in range(left, right)] for y in range(top, bottom)]
    words = []
    for start, end in dark_runs(shot, rows, 2, 0, width, 384):
        columns = [[(x, y) for y in range(top + start, top + end)] for x in range(left, right)]
        first = dark_runs(shot, columns, 6 * S, 0, width, 384)[0]
        words.append([shot[3 * (y * width + left + first[0]):3 * (y * width + left + first[1])]
                      for y in range(top + start, top + end)])
    return words


def shows_filter(env, dialog):
    """The filter reads exactly as the file list shows the probe's first word."""
    left, top, width, height = geometry(env, dialog)
    shot = grab(env, width, height, left, top)
    shown = first_words(shot, width, FILTER_TEXT)
    return len(shown) == 1 and shown[0] in first_words(shot, width, FILE_LIST)


def open_file(name, via):
    """Chooses `via` and answers its open dialog with a file of the folder the last dialog chose;
    the dialog shows its filter's text once, as the program wrote it."""
    def act(w, route):
        via[1](w, route)
        dialog = find_window(w.env, "Open")
        wait_for(lambda: shows_filter(w.env, dialog),
                 'the dialog in "%s" with the filter "Wavefile(*.wav)"' % FOLDER, 5)
        xdo(w.env, "windowfocus", "--sync", dialog)
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
    menu("File", "Save Waveform..."), save_as("frame", FOLDER), menu("File", "Exit")]
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
    os.makedirs(os.path.join(work, FOLDER))
    open(os.path.join(work, FOLDER, FILTER_PROBE), "wb").close()
    with xvfb("%dx%dx24" % (SCREEN_WIDTH, SCREEN_HEIGHT)) as env:
        real = RealWindow(args, env, work, ["--scale", str(S)])
        for _, act in SCENARIO:
            act(real, route)
        close_window(args.close_window, real.editor, real.window, env)
        with open(os.path.join(work, "resources"), "w") as f:
            f.write("Xft.dpi: %d\n" % (96 * S))
        run(["xrdb", "-merge", os.path.join(work, "resources")], env)
        real = RealWindow(args, env, work)
        for _, act in SAVE_AND_EXIT:
            act(real, route)
        expect_exit(real.editor, "File > Exit")
    shutil.rmtree(work)


if __name__ == "__main__":
    main()
