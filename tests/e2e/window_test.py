#!/usr/bin/env python3
"""Drives the real editor in a virtual X display and compares its client area,
pixel for pixel, with what the headless backend paints for the same steps.

Every step is given twice over: as the headless renderer's step lines and as
the xdotool actions that do the same on the real window. The renderer runs
first; it writes the expected pictures and tells where each menu item is: the
keyboard reaches it by the title's mnemonic, then the item's mnemonic or arrow
keys; the mouse clicks the title and the item where the screen shows them.
"""
import argparse
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

WINDOW_WIDTH = 768
MENU_BAR_HEIGHT = 25
CLIENT_WIDTH, CLIENT_HEIGHT = 768, 575
TITLE = "QARNO Wavetable Maker"
EDITOR_CAPTION = "QARNO Wavetable Editor"


def fail(message):
    print("FAIL: " + message, flush=True)
    sys.exit(1)


def run(args, env, timeout=20, check=True):
    result = subprocess.run(args, env=env, capture_output=True, text=True, timeout=timeout)
    if check and result.returncode != 0:
        fail("%s failed: %s" % (" ".join(args), result.stderr.strip()))
    return result.stdout


def free_display():
    for n in range(70, 400):
        if not (os.path.exists("/tmp/.X%d-lock" % n) or os.path.exists("/tmp/.X11-unix/X%d" % n)):
            yield n


def start_xvfb():
    for n in free_display():
        xvfb = subprocess.Popen(["Xvfb", ":%d" % n, "-screen", "0", "1024x768x24", "-noreset"],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for _ in range(100):
            if os.path.exists("/tmp/.X11-unix/X%d" % n) or xvfb.poll() is not None:
                break
            time.sleep(0.05)
        if xvfb.poll() is None:
            return xvfb, ":%d" % n
    fail("no free display for Xvfb")


def read_ppm(data):
    """Returns (width, height, pixel bytes) of a binary PPM."""
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos)
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    if fields[0] != b"P6" or fields[3] != b"255":
        fail("unexpected picture format")
    return int(fields[1]), int(fields[2]), data[pos + 1:]


class RealWindow:
    def __init__(self, args, env, work):
        self.args, self.env, self.work = args, env, work
        self.editor = subprocess.Popen([args.editor], cwd=work, env=env,
                                       stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        found = run(["xdotool", "search", "--sync", "--name", "^%s$" % TITLE], env, timeout=30)
        self.window = found.split()[0]
        info = run(["xwininfo", "-id", self.window], env)
        values = {}
        for line in info.splitlines():
            key, _, value = line.strip().partition(":")
            values[key] = value.strip()
        self.left = int(values["Absolute upper-left X"])
        self.top = int(values["Absolute upper-left Y"])
        if (int(values["Width"]), int(values["Height"])) != (768, 600):
            fail("window is %sx%s, not 768x600" % (values["Width"], values["Height"]))
        properties = run(["xprop", "-id", self.window, "WM_CLASS", "WM_NORMAL_HINTS"], env)
        for expected in ('"QARNO_Wavetable_Maker", "QARNO_Wavetable_Maker"',
                         "minimum size: 768 by 600", "maximum size: 768 by 600"):
            if expected not in properties:
                fail("window properties lack %r: %s" % (expected, properties))
        self.pointer(400, 560)

    def xdo(self, *args):
        run(["xdotool"] + [str(a) for a in args], self.env)
        time.sleep(0.08)

    def pointer(self, x, y):
        self.xdo("mousemove", self.left + x, self.top + MENU_BAR_HEIGHT + y)

    def client_area(self):
        width, pixels = screen(self.env)
        rows = []
        for y in range(CLIENT_HEIGHT):
            start = ((self.top + MENU_BAR_HEIGHT + y) * width + self.left) * 3
            rows.append(pixels[start:start + CLIENT_WIDTH * 3])
        return b"".join(rows)


def run_bytes(args, env):
    result = subprocess.run(args, env=env, capture_output=True, timeout=30)
    if result.returncode != 0:
        fail("%s failed" % " ".join(args))
    return result.stdout


def screen(env):
    """The whole screen: (width, RGB bytes)."""
    grab = run_bytes(["import", "-window", "root", "-depth", "8", "ppm:-"], env)
    width, _, pixels = read_ppm(grab)
    return width, pixels


def save_picture(path, pixels):
    header = b"P6\n%d %d\n255\n" % (CLIENT_WIDTH, CLIENT_HEIGHT)
    with open(path, "wb") as f:
        f.write(header + pixels)


def compare(real, name, expected_path):
    """Waits for the real window to show the expected picture."""
    with open(expected_path, "rb") as f:
        _, _, expected = read_ppm(f.read())
    deadline = time.time() + 10
    while True:
        actual = real.client_area()
        if actual == expected:
            print("ok: %s matches the headless raster" % name, flush=True)
            return
        if time.time() > deadline:
            break
        time.sleep(0.2)
    save_picture(os.path.join(real.work, name + "-actual.ppm"), actual)
    differ = [i // 3 for i in range(0, len(expected), 3) if actual[i:i + 3] != expected[i:i + 3]]
    first = differ[0]
    fail("%s: %d pixels differ, first at (%d, %d): window %s, headless %s" % (
        name, len(differ), first % CLIENT_WIDTH, first // CLIENT_WIDTH,
        tuple(actual[first * 3:first * 3 + 3]), tuple(expected[first * 3:first * 3 + 3])))


# The scenario. Each entry: (headless step lines, real action).
def click(x, y):
    return (["down %d %d" % (x, y), "up %d %d" % (x, y)],
            lambda w, _: (w.pointer(x, y), w.xdo("click", 1)))


def drag(points):
    """Left-button drag through client points; a point may lie outside the window."""
    steps = ["down %d %d" % points[0]] + ["move %d %d" % p for p in points[1:]]
    steps.append("up %d %d" % points[-1])

    def act(w, _):
        w.pointer(*points[0])
        w.xdo("mousedown", 1)
        for p in points[1:]:
            w.pointer(*p)
        w.xdo("mouseup", 1)
    return steps, act


def right_click(x, y):
    return (["rdown %d %d" % (x, y), "rup %d %d" % (x, y)],
            lambda w, _: (w.pointer(x, y), w.xdo("click", 3)))


def menu(title, item):
    def act(w, route):
        _, key, index, item_key = route.pop(0)
        w.xdo("key", "alt+" + key)
        if item_key != "-":
            w.xdo("key", item_key)
        else:
            for _ in range(int(index) + 1):
                w.xdo("key", "Down")
            w.xdo("key", "Return")
    return ["menu %s|%s" % (title, item)], act


def dark_runs(flags, gap):
    """Runs of True in flags, joined across gaps shorter than `gap`: (start, end)."""
    runs = []
    for i, dark in enumerate(flags):
        if not dark:
            continue
        if runs and i - runs[-1][1] < gap:
            runs[-1][1] = i + 1
        else:
            runs.append([i, i + 1])
    return runs


def is_dark(pixels, width, x, y):
    i = (y * width + x) * 3
    return pixels[i] + pixels[i + 1] + pixels[i + 2] < 250


def open_menu(w):
    """The open menu's window on the screen, (left, top, width, height), or None."""
    for line in run(["xwininfo", "-root", "-children"], w.env).splitlines():
        found = re.match(r"\s+0x[0-9a-f]+ \(has no name\): \(\)\s+(\d+)x(\d+)\+(-?\d+)\+(-?\d+)",
                         line)
        if found:
            width, height, x, y = map(int, found.groups())
            if width > 30 and height > 30:
                return x, y, width, height
    return None


def menu_labels(w, rect):
    """Label rows of the open menu, top to bottom, in its own coordinates."""
    x, y, pw, ph = rect
    width, shot = screen(w.env)
    rows = [any(is_dark(shot, width, px, py) for px in range(x + 3, x + pw - 3))
            for py in range(y, y + ph)]
    # Labels are several rows high; dividers and mnemonic underlines are thin.
    return [r for r in dark_runs(rows, 2) if r[1] - r[0] > 3]


def menu_by_mouse(title, item):
    """Clicks the menu title, then the item, where the screen shows them."""
    def act(w, route):
        popup_index, _, index, _ = route.pop(0)
        index = int(index)
        width, shot = screen(w.env)
        columns = [any(is_dark(shot, width, w.left + x, w.top + y) for y in range(4, 21))
                   for x in range(WINDOW_WIDTH)]
        start, end = dark_runs(columns, 8)[int(popup_index)]
        w.xdo("mousemove", w.left + (start + end) // 2, w.top + MENU_BAR_HEIGHT // 2)
        w.xdo("click", 1)
        # Wait until the menu is open and drawn: the same labels on two grabs.
        deadline, labels, rect = time.time() + 10, None, None
        while time.time() < deadline:
            rect = open_menu(w)
            seen = menu_labels(w, rect) if rect else None
            if seen and len(seen) > index and seen == labels:
                break
            labels = seen
            time.sleep(0.1)
        else:
            fail("the %s menu did not open with its items" % title)
        top, bottom = labels[index]
        w.xdo("mousemove", rect[0] + rect[2] // 2, rect[1] + (top + bottom) // 2)
        w.xdo("click", 1)
    return ["menu %s|%s" % (title, item)], act


def close_box(caption):
    def act(w, _):
        found = run(["xdotool", "search", "--sync", "--name", "^%s$" % caption], w.env, timeout=20)
        box = found.split()[0]
        w.xdo("windowfocus", "--sync", box)
        w.xdo("key", "Return")
        for _ in range(100):
            still = run(["xdotool", "search", "--name", "^%s$" % caption], w.env, check=False)
            if still.strip() == "":
                return
            time.sleep(0.05)
        fail("the box \"%s\" did not close with Return" % caption)
    return [], act


def snapshot(name):
    return ["snapshot {%s}" % name], None


SCENARIO = [
    snapshot("start"),
    click(328, 22),                                     # WAVETABLE tab
    drag([(57, 89), (57, 79), (57, 64), (57, 49)]),     # Wave knob up 40
    drag([(57, 217), (57, 200), (57, 162)]),            # Offset knob up 55
    snapshot("knobs"),
    # Padwave knob: up past the window's top edge, released outside; the
    # release still arrives, so the move afterwards drags nothing.
    drag([(57, 345), (57, 200), (57, -40), (900, -42)]),
    (["move 57 400"], lambda w, _: w.pointer(57, 400)),
    menu("Synthesize", "Sine"),
    snapshot("sine"),
    click(238, 22),                                     # WAVEFORM tab
    menu("Edit", "Morph"),
    close_box(EDITOR_CAPTION),
    right_click(300, 300),
    snapshot("morph-refused"),
    click(418, 22),                                     # ADDITIVE tab
    drag([(190, 250), (230, 230), (300, 215), (420, 260), (560, 290), (690, 240)]),
    click(740, 560),                                    # repaint with the levels just set
    snapshot("additive"),
    menu_by_mouse("View", "Padwave"),
    menu("Edit", "x10"),
    menu("Edit", "Generate"),
    snapshot("padwave"),
    (["iconify-restore"], lambda w, _: (w.xdo("windowunmap", "--sync", w.window),
                                        w.xdo("windowmap", "--sync", w.window))),
    menu_by_mouse("View", "Waveform"),
    menu_by_mouse("Synthesize", "Triangle"),
    snapshot("restored"),
]


def wait_for(condition, what, seconds=20):
    deadline = time.time() + seconds
    while not condition():
        if time.time() > deadline:
            fail("timed out waiting for " + what)
        time.sleep(0.1)


def answer_window(w, title, keys):
    """Focuses the visible window with this title and types into it."""
    found = run(["xdotool", "search", "--sync", "--onlyvisible", "--name", "^%s$" % title], w.env,
                timeout=30)
    w.xdo("windowfocus", "--sync", found.split()[0])
    for key in keys:
        w.xdo(*key)


def save_frame(w, save_action, route):
    """Saves a frame under a name without extension, twice: the dialog appends
    ".wav", and the second time asks before replacing the file."""
    path = os.path.join(w.work, "frame.wav")
    save_action(w, route)
    answer_window(w, "Save As", [("type", "frame"), ("key", "Return")])
    wait_for(lambda: os.path.exists(path) and os.path.getsize(path) > 44, "frame.wav")
    with open(path, "wb") as f:
        f.write(b"not a wave file")
    save_action(w, route)
    answer_window(w, "Save As", [("type", "frame"), ("key", "Return")])
    answer_window(w, "Confirm Save As", [("key", "Return")])

    def replaced():
        with open(path, "rb") as f:
            return f.read(4) == b"RIFF"
    wait_for(replaced, "frame.wav to be replaced")
    print("ok: the save dialog appends .wav and asks before replacing", flush=True)


def render(args, lines):
    """Runs the headless renderer; returns its report lines."""
    rendered = subprocess.run([args.render], input="\n".join(lines) + "\n", capture_output=True,
                              text=True, timeout=60)
    if rendered.returncode != 0:
        fail("qarno-render: " + rendered.stderr.strip())
    output = rendered.stdout.splitlines()
    if "quit 0" not in output:
        fail("the headless run did not quit with 0")
    return output


def menu_route(output):
    return [line.split()[1:] for line in output if line.startswith("menu ")]


def expect_exit(real, how):
    try:
        code = real.editor.wait(timeout=20)
    except subprocess.TimeoutExpired:
        fail("the editor did not exit after %s" % how)
    if code != 0:
        fail("exit code %d after %s: %s" % (code, how, real.editor.stderr.read().decode()))
    print("ok: %s ends the editor with exit code 0" % how, flush=True)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--editor", required=True)
    parser.add_argument("--render", required=True)
    parser.add_argument("--close-window", required=True)
    parser.add_argument("--work", required=True)
    args = parser.parse_args()
    # Pictures of a failed run stay in --work for a look.
    os.makedirs(args.work, exist_ok=True)
    work = tempfile.mkdtemp(dir=args.work)

    # Expected pictures and menu routes from the headless backend.
    lines = []
    for steps, _ in SCENARIO:
        lines += [s.replace("{", os.path.join(work, "")).replace("}", "-expected.ppm")
                  for s in steps]
    output = render(args, lines + ["close"])
    route = menu_route(output)
    morph_box = "box %s|Select wavetable view to morph from one waveform to another."
    if morph_box % EDITOR_CAPTION not in output:
        fail("the headless run showed no morph box: %s" % output)
    # The second run: a frame saved twice through the file dialog, then Exit.
    save_steps, save_action = menu("File", "Save Waveform...")
    exit_steps, exit_action = menu("File", "Exit")
    second = render(args, save_steps * 2 + exit_steps)
    second_route = menu_route(second)
    saves = second.count("dialog save *.wav") == 2

    env = dict(os.environ)
    env.pop("DISPLAY", None)
    suppressions = os.path.join(os.path.dirname(os.path.abspath(__file__)), "lsan.supp")
    env["LSAN_OPTIONS"] = ":".join(
        filter(None, [env.get("LSAN_OPTIONS"), "suppressions=" + suppressions]))
    # Without a display the editor says so and fails.
    no_display = subprocess.run([args.editor], env=env, capture_output=True, text=True, timeout=20)
    if no_display.returncode != 1 or "Window Creation Failed!" not in no_display.stderr:
        fail("without a display: exit %d, stderr %r" % (no_display.returncode, no_display.stderr))
    print("ok: without a display the editor exits with 1", flush=True)

    xvfb, display = start_xvfb()
    env["DISPLAY"] = display
    editors = []
    try:
        real = RealWindow(args, env, work)
        editors.append(real.editor)
        for steps, act in SCENARIO:
            if act:
                act(real, route)
            elif steps[0].startswith("snapshot"):
                name = steps[0][len("snapshot {"):-1]
                compare(real, name, os.path.join(work, name + "-expected.ppm"))
        run([args.close_window, real.window], env)
        expect_exit(real, "closing the window")

        real = RealWindow(args, env, work)
        editors.append(real.editor)
        if saves:
            save_frame(real, save_action, second_route)
        else:
            second_route = second_route[2:]
            print("skipped: this build's Save Waveform... opens no file dialog", flush=True)
        exit_action(real, second_route)
        expect_exit(real, "File > Exit")
        shutil.rmtree(work)
    finally:
        for editor in editors:
            if editor.poll() is None:
                editor.send_signal(signal.SIGKILL)
                editor.wait()
        xvfb.terminate()
        xvfb.wait(timeout=20)


if __name__ == "__main__":
    main()
