#!/usr/bin/env python3
"""Installs under /usr in a scratch DESTDIR: the expected files, sound icons and manual, a window
of the desktop entry's class; the package test validates the entry and metainfo."""
import os, pathlib, shutil, subprocess, sys, tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from xdriver import check, close_window, run, start_editor, xvfb



def output(*args):
    ran = subprocess.run(args, capture_output=True, text=True)
    check(ran.returncode == 0, "%s fails:\n%s%s" % (args, ran.stdout, ran.stderr))
    return (ran.stdout + ran.stderr).strip()


def main():
    cmake, build, app_id, closer = sys.argv[1:]
    missing = [t for t in ("groff", "identify", "Xvfb", "xdotool", "xprop") if not shutil.which(t)]
    if missing:
        sys.exit(print("SKIP: not found: " + ", ".join(missing)) or 77)
    with tempfile.TemporaryDirectory(prefix="qarno-install-") as root:
        # The build's install_manifest.txt (its uninstall list) is kept as it was.
        manifest = pathlib.Path(build, "install_manifest.txt")
        kept = manifest.read_bytes() if manifest.exists() else None
        run([cmake, "--install", build, "--prefix", "/usr"], dict(os.environ, DESTDIR=root))
        manifest.unlink() if kept is None else manifest.write_bytes(kept)
        usr = os.path.join(root, "usr")
        program, manual = "bin/qarno-wavetable-maker", "share/man/man1/qarno-wavetable-maker.1"
        desktop = "share/applications/%s.desktop" % app_id
        metainfo = "share/metainfo/%s.metainfo.xml" % app_id
        icons = {size: "share/icons/hicolor/%dx%d/apps/qarno-wavetable-maker.png" % (size, size)
                 for size in (48, 128, 256)}
        found = sorted(os.path.relpath(os.path.join(d, f), usr) for d, _, files in os.walk(root)
                       for f in files)
        runner = "bin/qarno-script-runner"  # beside the program, which starts it from there
        check(found == sorted([program, runner, manual, desktop, metainfo, *icons.values()]),
              str(found))

        with open(os.path.join(usr, desktop)) as f:  # one group: [Desktop Entry]
            entry = dict(line.strip().split("=", 1) for line in f if "=" in line)
        names = (entry["Exec"].split()[0], entry["Icon"])
        check(names == (os.path.basename(program), "qarno-wavetable-maker"), str(entry))
        meta = pathlib.Path(usr, metainfo).read_text()
        check("<id>%s</id>" % app_id in meta and ">%s</launchable>" % os.path.basename(desktop)
              in meta, "the metainfo names another id or desktop entry")

        for size, icon in icons.items():  # identify reads it all: a broken chunk fails it
            info = output("identify", "-format", "%m %wx%h %[fx:minima.a] %[fx:maxima.a]",
                          os.path.join(usr, icon))
            check(info == "PNG %dx%d 0 1" % (size, size), "%s: %s" % (icon, info))
        said = output("groff", "-man", "-ww", "-z", os.path.join(usr, manual))
        check(not said, "groff warns:\n" + said)

        with xvfb() as env:
            editor, window = start_editor(os.path.join(usr, program), env, root)
            wm_class = run(["xprop", "-id", window, "WM_CLASS"], env)
            check('"%s"' % entry["StartupWMClass"] in wm_class, "the window's class: " + wm_class)
            close_window(closer, editor, window, env)


if __name__ == "__main__":
    main()
