#!/usr/bin/env python3
"""Script... in the real window at scale 1: Open... reads a .wtscript file written here, Run
previews a half-level square (red in the preview's lower half), OK writes the Wave frame."""
import base64, os, re, subprocess, sys, tempfile, time

from xdriver import check, choose, close_window, find_window, run, start_editor, visible
from xdriver import wait_for, xdo, xvfb

LUA = b"function generate(wt) local r = {} for i = 1, wt.sample_count do " \
      b"r[i] = i <= wt.sample_count / 2 and 0.5 or -0.5 end return r end"


def red_in(env, window, left, top, width, height):  # pixels of the preview's red in a strip
    shell = run(["xdotool", "getwindowgeometry", "--shell", window], env)
    x, y = (int(re.search("%s=(-?\\d+)" % k, shell)[1]) for k in ("X", "Y"))
    crop = "%dx%d+%d+%d" % (width, height, x + left, y + top)
    rgb = run(["import", "-window", "root", "-crop", crop, "-depth", "8", "rgb:-"], env, False)
    return sum(rgb[i] > 180 and rgb[i + 1] < 60 for i in range(0, len(rgb), 3))


def main():
    program, renderer, closer = map(os.path.abspath, sys.argv[1:4])
    work = tempfile.mkdtemp()
    path = os.path.join(work, "square.wtscript")
    with open(path, "wb") as f:
        f.write(b'<?xml version="1.0"?>\n<wtscript><script lua="%s" frames="1" samples="5"/>'
                b'</wtscript>\n' % base64.b64encode(LUA))
    said = subprocess.run([renderer], input="menu Synthesize|Script...\n", capture_output=True,
                          text=True).stdout.split()  # "menu s INDEX -"
    with xvfb() as env:
        editor, window = start_editor(program, env, work, ["--scale", "1"])
        check(red_in(env, window, 194, 75, 512, 100) == 0, "a red wave before OK")
        choose(env, window, *said[1:4])
        box = find_window(env, "Script")
        check(red_in(env, box, 14, 420 + 68, 256, 60) == 0, "red below the centre before Run")
        click = lambda x, y: xdo(env, "mousemove", "--window", box, x, y, "click", 1)
        click(320, 347)  # Open...
        xdo(env, "windowfocus", "--sync", find_window(env, "Open"), "type", path)
        xdo(env, "key", "Return", "sleep", 0.5)
        click(490, 347)  # Run
        wait_for(lambda: red_in(env, box, 14, 420 + 68, 256, 60) > 200, "the previewed square")
        run(["import", "-window", "root", os.path.join(work, "run.png")], env)
        click(480, 674)  # OK
        wait_for(lambda: not visible(env, "Script"), "the dialog to close")
        wait_for(lambda: red_in(env, window, 194, 75, 512, 100) > 200, "the square in the table")
        close_window(closer, editor, window, env)
    print("script dialog: ok; screenshot", os.path.join(work, "run.png"))


if __name__ == "__main__":
    main()
