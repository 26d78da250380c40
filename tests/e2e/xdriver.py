"""Runs the real editor in a virtual X display of its own and drives it with xdotool."""
import contextlib, os, subprocess, sys, time

EDITORS = []


def check(ok, message):
    if not ok:
        sys.exit("FAIL: " + message)


def run(args, env=None, text=True):
    ran = subprocess.run(list(map(str, args)), env=env, capture_output=True, text=text, timeout=30)
    check(ran.returncode == 0, "%s failed: %s" % (args, ran.stderr))
    return ran.stdout


def xdo(env, *args):
    run(["xdotool", *args], env)
    time.sleep(0.08)


def wait_for(condition, what, seconds=20):
    deadline = time.time() + seconds
    while not (value := condition()):
        check(time.time() < deadline, "timed out waiting for " + what)
        time.sleep(0.1)
    return value


def visible(env, name):
    return subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^%s$" % name], env=env,
                          capture_output=True, text=True).stdout.split()


def find_window(env, name):
    return wait_for(lambda: visible(env, name), 'the window "%s"' % name)[0]


@contextlib.contextmanager
def xvfb(screen="1024x768x24"):  # an Xvfb's environment; it and the editors in it end after
    server = subprocess.Popen(["Xvfb", "-displayfd", "1", "-screen", "0", screen, "-noreset"],
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    display = server.stdout.readline().strip()
    suppressions = os.path.join(os.path.dirname(os.path.abspath(__file__)), "lsan.supp")
    lsan = filter(None, [os.environ.get("LSAN_OPTIONS"), "suppressions=" + suppressions])
    try:
        check(display, "Xvfb did not start")
        yield dict(os.environ, DISPLAY=":" + display, LSAN_OPTIONS=":".join(lsan))
    finally:
        for editor in EDITORS:
            editor.kill()
        server.terminate()
        server.wait(timeout=20)


def start_editor(path, env, cwd, options=()):
    EDITORS.append(subprocess.Popen([path, *options], cwd=cwd, env=env,
                                    stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True))
    return EDITORS[-1], find_window(env, "QARNO Wavetable Maker")


def expect_exit(editor, how):
    errors = editor.communicate(timeout=20)[1]
    check(editor.returncode == 0, "after %s: exit code %s, %s" % (how, editor.returncode, errors))


def close_window(program, editor, window, env):  # as a window manager's close box does
    check(editor.poll() is None, "the program ended before its window was closed")
    run([program, window], env)
    expect_exit(editor, "closing the window")


def choose(env, window, title_key, index, item_key):  # by mnemonics, or Down keys and Return
    keys = [item_key] if item_key != "-" else ["Down"] * (int(index) + 1) + ["Return"]
    xdo(env, "windowfocus", "--sync", window, "key", "--clearmodifiers", "alt+" + title_key,
        "sleep", 0.2, "key", *keys, "sleep", 0.2)


def close_box(env, caption, key):
    xdo(env, "windowfocus", "--sync", find_window(env, caption), "key", key)
    wait_for(lambda: not visible(env, caption), 'the box "%s" to close with %s' % (caption, key))
