#!/usr/bin/env python3
"""Installs the build into a scratch DESTDIR with prefix /usr and checks what a desktop gets:
exactly the expected files, a desktop entry and metainfo that pass their validators and agree
with each other, with the icon files and with the window's X11 class, valid PNG icons of the
named sizes, a manual page that renders without warnings, and a binary that opens its window."""
import argparse, configparser, os, shutil, struct, subprocess, sys, tempfile, zlib
import xml.etree.ElementTree as ET

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from xdriver import check, close_window, run, start_editor, xvfb

ICON_SIZES = (48, 128, 256)


def install(cmake, build, destdir):
    """cmake --install, keeping the build's own install_manifest.txt (the uninstall list)."""
    manifest = os.path.join(build, "install_manifest.txt")
    kept = open(manifest, "rb").read() if os.path.exists(manifest) else None
    try:
        ran = subprocess.run([cmake, "--install", build, "--prefix", "/usr"],
                             env=dict(os.environ, DESTDIR=destdir), capture_output=True, text=True)
        check(ran.returncode == 0, "cmake --install failed: " + ran.stdout + ran.stderr)
    finally:
        if kept is None:
            os.remove(manifest) if os.path.exists(manifest) else None
        else:
            open(manifest, "wb").write(kept)


def validate(args, what):
    ran = subprocess.run(args, capture_output=True, text=True)
    output = (ran.stdout + ran.stderr).strip()
    check(ran.returncode == 0, "%s does not validate:\n%s" % (what, output))
    return output


def check_png(path, size):
    """Chunk CRCs, the zlib stream (with its Adler-32) and its length, and the header."""
    data = open(path, "rb").read()
    check(data[:8] == b"\x89PNG\r\n\x1a\n", path + ": no PNG signature")
    chunks, at = {}, 8
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        check(struct.unpack(">I", data[at + 8 + length:at + 12 + length])[0] ==
              zlib.crc32(kind + body), "%s: bad CRC in %s" % (path, kind))
        chunks[kind] = chunks.get(kind, b"") + body
        at += 12 + length
    check(kind == b"IEND", path + ": does not end with IEND")
    width, height, depth, colour = struct.unpack(">IIBB", chunks[b"IHDR"][:10])
    check((width, height) == (size, size), "%s is %dx%d" % (path, width, height))
    check((depth, colour) == (8, 6), "%s: not 8-bit RGBA" % path)
    try:
        pixels = zlib.decompress(chunks[b"IDAT"])
    except zlib.error as error:
        check(False, "%s: %s" % (path, error))
    check(len(pixels) == size * (size * 4 + 1), path + ": wrong amount of image data")
    alpha = [pixels[row * (size * 4 + 1) + 4 + 4 * x] for row in range(size) for x in range(size)]
    check(min(alpha) == 0 and max(alpha) == 255, path + ": no transparent and opaque parts")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--app-id", required=True)
    parser.add_argument("--tool", action="append", default=[], help="NAME=PATH")
    args = parser.parse_args()
    tools = dict(t.split("=", 1) for t in args.tool)
    missing = [name for name, path in tools.items() if not path or path.endswith("-NOTFOUND")]
    if missing:
        print("SKIP: not found: " + ", ".join(missing))
        sys.exit(77)

    root = tempfile.mkdtemp(prefix="qarno-install-")
    try:
        install(tools["cmake"], args.build, root)
        usr = os.path.join(root, "usr")
        program = "bin/qarno-wavetable-maker"
        desktop = "share/applications/%s.desktop" % args.app_id
        metainfo = "share/metainfo/%s.metainfo.xml" % args.app_id
        manual = "share/man/man1/qarno-wavetable-maker.1"
        icons = ["share/icons/hicolor/%dx%d/apps/qarno-wavetable-maker.png" % (s, s)
                 for s in ICON_SIZES]
        found = sorted(os.path.relpath(os.path.join(d, f), root)
                       for d, _, files in os.walk(root) for f in files)
        expected = sorted("usr/" + f for f in [program, desktop, metainfo, manual, *icons])
        check(found == expected, "installed %s, expected %s" % (found, expected))
        check(os.access(os.path.join(usr, program), os.X_OK), program + " is not executable")
        print("ok: exactly the program, desktop entry, metainfo, manual page and icons installed")

        desktop_output = validate([tools["desktop-file-validate"], os.path.join(usr, desktop)],
                                  "the desktop entry")
        check(not desktop_output, "desktop-file-validate says:\n" + desktop_output)
        validate([tools["appstreamcli"], "validate", "--no-net", os.path.join(usr, metainfo)],
                 "the metainfo")
        print("ok: desktop-file-validate and appstreamcli validate --no-net pass")

        entry = configparser.ConfigParser(interpolation=None)
        entry.optionxform = str
        entry.read(os.path.join(usr, desktop))
        entry = entry["Desktop Entry"]
        check(entry["Exec"].split()[0] == os.path.basename(program), "Exec=" + entry["Exec"])
        check(entry["Icon"] + ".png" == os.path.basename(icons[0]), "Icon=" + entry["Icon"])
        check({"AudioVideo", "Audio"} <= set(entry["Categories"].split(";")), "Categories")
        component = ET.parse(os.path.join(usr, metainfo)).getroot()
        check(component.findtext("id") == args.app_id, "metainfo id")
        check(component.findtext("launchable") == os.path.basename(desktop), "launchable")
        print("ok: Exec, Icon and the metainfo's id and launchable name the installed files")

        for size, icon in zip(ICON_SIZES, icons):
            check_png(os.path.join(usr, icon), size)
        print("ok: the icons are valid RGBA PNG files of %s pixels" % (ICON_SIZES,))

        ran = subprocess.run([tools["groff"], "-man", "-ww", "-z", os.path.join(usr, manual)],
                             capture_output=True, text=True)
        check(ran.returncode == 0 and not ran.stderr, "groff warns:\n" + ran.stderr)
        print("ok: the manual page renders without warnings")

        with xvfb() as env:
            editor, window = start_editor(os.path.join(usr, program), env, root)
            wm_class = run([tools["xprop"], "-id", window, "WM_CLASS"], env)
            check('"%s"' % entry["StartupWMClass"] in wm_class,
                  "StartupWMClass=%s, window %s" % (entry["StartupWMClass"], wm_class))
            print("ok: the installed program opens its window, of class StartupWMClass")
            close_window(tools["qarno-close-window"], editor, window, env)
    finally:
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    main()
