#!/usr/bin/env python3
"""The monkey soak of xkest: random but valid user input for a given time.

Run by scripts/monkey.sh, which gives it a private /tmp, an X server and a
window manager. It starts the sanitizer build of xkest with a scratch kest
home, scratch DSM files and the real kestb, and sends it keys, typed text,
clicks, menu choices, resizes, the window manager's close and a few outside
events (DSM files changed or removed on disk, the output folder made
read-only). After every action it checks:

- xkest answers within 10 s (an editres round trip through its event loop);
- it has not died: a sanitizer report, a crash or an X error fails; a quit
  with status 0 is a user's choice, and xkest is started again;
- no file changed unless the action could have saved or run the generator
  (a save key, or input while a menu or a saving dialog was up; only such
  an action may write outside the scratch folder, where the user's dialog
  pointed), and no temporary file of a save or a run is left behind;
- resident memory after 10,000 actions of one xkest is at most 1.5 times
  that after 1,000.

A fixed seed repeats the run's choices (timing may still differ).
"""

import argparse
import hashlib
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import time

HANG_MS = 10000
ROOT = "/tmp"             # the folder watched for files; set from --root
SCRATCH = ROOT + "/monkey"
UNWATCHED = set()         # folders under ROOT that are the run's own (a checkout there)
REPORT_FILE = "/tmp/kestout.txt"
SANITIZER = re.compile(r"AddressSanitizer|LeakSanitizer|UndefinedBehaviorSanitizer|runtime error:")
X_FATAL = re.compile(r"X Error of failed request|XIO: +fatal IO error|X connection to .* broken|^Error: ",
                     re.M)
# Temporary files of a save (".NAME.XXXXXX") and of a generator run.
TEMP_FILE = re.compile(r"^\..+\.[A-Za-z0-9]{6}$|\.kestb-[A-Za-z0-9]{6}$")
SAVING_DIALOGS = ("Save DSM file as", "Open DSM", "File changed on disk", "Replace file")
# What an action reaches (see Monkey.may_write).
KEYS_TO, AT, NOTHING, OUTSIDE = "keys", "at", "nothing", "outside"


class Failure(Exception):
    pass


def log(*parts):
    print("monkey:", *parts, flush=True)


# --- scratch files ----------------------------------------------------------

def write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)


def big_model(rng):
    lines = ["model big;", ""]
    for r in range(40):
        lines.append("// Record %d. " % r + "A long comment line of the large model. " * 3)
        for c in range(600):
            lines.append("// %d.%d " % (r, c) + "x" * rng.randrange(20, 120))
        lines.append("record R%d {" % r)
        for f in range(30):
            lines.append("  f%d : %s;" % (f, rng.choice(["int", "long", "string", "list of int", "double"])))
        lines.append("}")
    return "\n".join(lines) + "\n"


def make_scratch(source, rng):
    shutil.rmtree(SCRATCH, ignore_errors=True)
    dirs = {k: os.path.join(SCRATCH, k) for k in ("home", "tmp", "cwd", "dsm", "out", "bin")}
    for d in dirs.values():
        os.makedirs(d)
    dirs["kesthome"] = os.path.join(SCRATCH, "kesthome")
    shutil.copytree(os.path.join(source, "demo-home"), dirs["kesthome"])
    shop = open(os.path.join(source, "demo-home", "shop.dsm"), encoding="utf-8").read()
    dsm = dirs["dsm"]
    write(os.path.join(dsm, "shop.dsm"), shop)
    write(os.path.join(dsm, "utf8.dsm"),
          "// Modèle « boutique » – größe, 日本語 comments\nmodel boutique;\n\n"
          "// Un client.\nrecord Client {\n  nom : string;   // é\n  âge : int;\n}\n")
    write(os.path.join(dsm, "broken.dsm"), "record A {\n  x : flaot;\n  y : B;\n}\nrecord A { }\n")
    write(os.path.join(dsm, "sub", "nested.dsm"), "record N {\n  items : list of list of int;\n}\n")
    write(os.path.join(dsm, "big.dsm"), big_model(rng))
    stub = "#!/bin/sh\necho \"$0 $*\" >> %s/stub.log\n" % SCRATCH
    for tool in ("editor", "browser", "lpr"):
        write(os.path.join(dirs["bin"], tool), stub)
        os.chmod(os.path.join(dirs["bin"], tool), 0o755)
    return dirs


# --- the file watch -----------------------------------------------------------

def ignored(path):
    return (path == REPORT_FILE or path.startswith(ROOT + "/.X") or path.startswith(ROOT + "/wm-home") or
            path.startswith(SCRATCH + "/home/.cache/") or path == SCRATCH + "/stub.log")


def snapshot():
    """Every file under the watched folder: path -> (mtime, ctime, size, inode)."""
    files = {}
    for top, subdirs, names in os.walk(ROOT):
        subdirs[:] = [d for d in subdirs if os.path.join(top, d) not in UNWATCHED]
        for name in names + subdirs:
            path = os.path.join(top, name)
            if ignored(path):
                continue
            try:
                st = os.lstat(path)
            except FileNotFoundError:
                continue
            # A folder changes with what it holds; only its presence counts.
            files[path] = "folder" if os.path.isdir(path) and not os.path.islink(path) else \
                (st.st_mtime_ns, st.st_ctime_ns, st.st_size, st.st_ino)
    return files


def digest(path):
    try:
        with open(path, "rb") as f:
            return hashlib.sha1(f.read()).hexdigest()[:12]
    except OSError:
        return "unreadable"


# --- X -------------------------------------------------------------------------

class Window:
    def __init__(self, line):
        p = line.split(" ", 12)
        self.wid = int(p[0])
        self.frame = tuple(int(v) for v in p[1:5])
        self.client = tuple(int(v) for v in p[5:9])
        self.kind, self.name, self.cls = p[9], p[10], p[11]
        self.title = p[12] if len(p) > 12 else "-"

    def __repr__(self):
        return "%s(%s)" % (self.name, self.title) if self.kind == "wm" else "menu"


class XHelper:
    def __init__(self, path):
        self.proc = subprocess.Popen([path], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                     text=True, bufsize=1)

    def ask(self, line):
        self.proc.stdin.write(line + "\n")
        self.proc.stdin.flush()
        return self.proc.stdout.readline().strip()

    def windows(self):
        self.proc.stdin.write("list\n")
        self.proc.stdin.flush()
        out = []
        for line in iter(self.proc.stdout.readline, ""):
            line = line.rstrip("\n")
            if line == "end":
                break
            w = Window(line)
            # Override-redirect windows off the screen are the toolkit's own.
            if w.kind == "or" and (w.frame[0] < 0 or w.frame[1] < 0 or w.frame[2] <= 10):
                continue
            if w.kind == "wm" and w.cls != "xkest":
                continue
            out.append(w)
        return out


HELPER = None


def server_grabbed():
    """Does another client hold the X server? An ordinary request then waits."""
    try:
        subprocess.run(["xprop", "-root", "-len", "1", "WM_NAME"], stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=3)
        return False
    except subprocess.TimeoutExpired:
        return True


def inside(rect, x, y):
    return rect[0] <= x < rect[0] + rect[2] and rect[1] <= y < rect[1] + rect[3]


def xdo(*args):
    try:
        subprocess.run(["xdotool"] + [str(a) for a in args], stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=5)
    except subprocess.TimeoutExpired:
        # xdotool waits only for the X server, so a client holds a server
        # grab: a Motif drag does until its button goes up, which a real
        # mouse can do under a grab and xdotool cannot. Let go as a user
        # would; the probe that follows finds a client that stays stuck.
        HELPER.ask("release")
        log("xdotool was held by a server grab; mouse buttons and keys released")


# --- the monkey ----------------------------------------------------------------

KEYS = ["Return", "Escape", "Tab", "shift+Tab", "F10", "F1", "space", "BackSpace", "Delete",
        "Up", "Down", "Left", "Right", "Home", "End", "Page_Up", "Page_Down", "shift+Right",
        "shift+End", "shift+Down", "ctrl+Home", "ctrl+End", "ctrl+o", "ctrl+s", "ctrl+shift+s",
        "ctrl+w", "ctrl+p", "ctrl+x", "ctrl+c", "ctrl+v", "ctrl+f", "ctrl+h", "ctrl+g",
        "ctrl+comma", "ctrl+e", "ctrl+z", "ctrl+a", "ctrl+slash", "ctrl+backslash", "ctrl+k",
        "o", "s", "a", "c", "p", "t", "d", "f", "r", "i", "e", "u", "b", "ctrl+Return",
        "shift+F10", "Menu", "KP_Enter", "F4", "shift+F4"]
QUIT_KEYS = ["ctrl+q", "q"]
MNEMONICS = "fegoh"
WORDS = ["record", "Order", "Item", "{", "}", "id : long;", "name : string;", "list of", "model shop;",
         "// note", "flaot", "'flaot'", "dir2/m.dsm:12:", "shop.dsm", "big.dsm", "sub", "-x", "..",
         "*", "12", "0", "9999999", "class", "x", "Ärger", "größe", "日本", "  ", "a b", ";", ":",
         "record R { n : int; }", "$HOME", "~", "%s", "\\", "\"", "'"]


class Monkey:
    def __init__(self, args):
        self.args = args
        self.rng = random.Random(args.seed)
        self.build = args.build
        global HELPER
        self.x = HELPER = XHelper(os.path.join(args.build, "tests", "monkey_x"))
        self.dirs = make_scratch(args.source, self.rng)
        self.files = snapshot()
        self.proc = None
        self.main = None
        self.life = 0
        self.life_actions = 0
        self.actions = 0
        self.quits = 0
        self.rss = {}
        self.history = []
        self.windows = []
        self.out_readonly = False
        self.queue = []
        self.removed = {}
        self.journal = open(os.path.join(args.log, "actions.log"), "w", buffering=1)

    # -- xkest ----------------------------------------------------------------
    def env(self):
        env = {k: v for k, v in os.environ.items()
               if k not in ("XENVIRONMENT", "XAPPLRESDIR", "XUSERFILESEARCHPATH", "KESTBTRACE")}
        env.update({
            "HOME": self.dirs["home"], "TMPDIR": self.dirs["tmp"], "KESTHOME": self.dirs["kesthome"],
            "LC_ALL": "C", "XFILESEARCHPATH": os.path.join(self.args.source, "app", "%N.ad"),
            "PATH": "%s:%s:/usr/bin:/bin" % (os.path.join(self.build, "kestb"), self.dirs["bin"]),
            # A small quarantine keeps the allocator's own growth out of the
            # memory check; handle_abort gives a stack when a hang is ended.
            "ASAN_OPTIONS": "strict_memcmp=0:detect_leaks=1:quarantine_size_mb=16:handle_abort=1",
            "LSAN_OPTIONS": "suppressions=%s:print_suppressions=0"
                            % os.path.join(self.args.source, "fuzz", "lsan.supp"),
            "UBSAN_OPTIONS": "print_stacktrace=1:halt_on_error=1",
        })
        return env

    def start(self):
        self.life += 1
        self.life_actions = 0
        if 10000 not in self.rss:
            self.rss = {}
        self.err_path = os.path.join(self.args.log, "xkest-%d.out" % self.life)
        bindir = self.dirs["bin"]
        cmd = [os.path.join(self.build, "xkest"), "-tooleditor", bindir + "/editor",
               "-toolhtml", bindir + "/browser", "-outdir", self.dirs["out"]]
        with open(self.err_path, "w") as err:
            self.proc = subprocess.Popen(cmd, cwd=self.dirs["cwd"], env=self.env(),
                                         stdout=err, stderr=err)
        deadline = time.time() + 60
        while time.time() < deadline:
            self.check_alive()
            for w in self.x.windows():
                if w.kind == "wm" and w.name == "xkest":
                    self.main = w.wid
                    log("life %d: xkest %d is up (window %d)" % (self.life, self.proc.pid, w.wid))
                    return
            time.sleep(0.2)
        raise Failure("xkest showed no window within 60 s")

    def stderr_text(self):
        try:
            with open(self.err_path, errors="replace") as f:
                return f.read()
        except OSError:
            return ""

    def check_alive(self):
        text = self.stderr_text()
        if SANITIZER.search(text):
            raise Failure("sanitizer report (see %s)" % self.err_path)
        status = self.proc.poll()
        if status is None:
            return True
        if status != 0 or X_FATAL.search(text):
            raise Failure("xkest ended with status %d (see %s)" % (status, self.err_path))
        self.quits += 1
        log("life %d: xkest quit after %d actions" % (self.life, self.life_actions))
        return False

    def probe(self):
        answer = self.x.ask("probe %d %d" % (self.main, HANG_MS))
        if answer == "timeout" and server_grabbed():
            # No client can answer while another holds the server: mwm does
            # through a keyboard move or resize (its window menu's Move or
            # Size). A user ends it with Escape; then xkest gets its time.
            self.x.ask("cancel")
            log("the X server was held by a grab; Escape pressed, buttons and keys released")
            self.journal.write("    (server grab: Escape pressed, buttons and keys released)\n")
            answer = self.x.ask("probe %d %d" % (self.main, HANG_MS))
        if answer == "timeout":
            self.proc.send_signal(signal.SIGABRT)
            self.proc.send_signal(signal.SIGCONT)  # in case it was stopped
            try:
                self.proc.wait(10)
            except subprocess.TimeoutExpired:
                pass
            raise Failure("xkest did not answer for %d s (stack in %s)" % (HANG_MS // 1000, self.err_path))

    def memory(self):
        if self.life_actions % 1000 or 10000 in self.rss:
            return
        with open("/proc/%d/status" % self.proc.pid) as f:
            rss = int(re.search(r"VmRSS:\s+(\d+)", f.read()).group(1))
        self.rss[self.life_actions] = rss
        log("life %d: resident %d KiB after %d actions" % (self.life, rss, self.life_actions))
        if 10000 in self.rss and self.rss[10000] > 1.5 * self.rss[1000]:
            raise Failure("memory grew from %d KiB to %d KiB" % (self.rss[1000], self.rss[10000]))

    # -- checks -----------------------------------------------------------------
    def check_files(self, may_write):
        now = snapshot()
        if now == self.files:
            return
        changed = sorted(p for p in set(now) | set(self.files) if now.get(p) != self.files.get(p))
        left = [p for p in now if TEMP_FILE.search(os.path.basename(p))]
        if left:
            raise Failure("temporary files left behind: %s" % ", ".join(left))
        # A save may go wherever the user's dialog pointed (in the private
        # /tmp, the only place left writable); xkest on its own may not.
        outside = [p for p in changed if not p.startswith(SCRATCH + "/")]
        if outside and not may_write:
            raise Failure("files written outside the scratch folder: %s" % ", ".join(outside))
        if not may_write:
            raise Failure("files changed without a save or a generator run: %s" % ", ".join(
                "%s (%s)" % (p, "removed" if p not in now else digest(p)) for p in changed[:10]))
        self.journal.write("    changed: %s%s\n" % (" ".join(changed[:5]), " ..." if len(changed) > 5 else ""))
        self.files = now

    # -- actions ------------------------------------------------------------------
    def visible(self):
        return [w for w in self.windows if w.kind == "or" or w.cls == "xkest"]

    def point_in(self, w, decorations):
        x, y, wd, ht = w.frame if decorations else w.client
        return x + self.rng.randrange(max(wd, 1)), y + self.rng.randrange(max(ht, 1))

    def choose(self):
        """One action: (description, target, function). The target tells
        whether it could save: KEYS go to the focus (or to a given window;
        typed text comes last), AT is a pointer action inside a window,
        NOTHING cannot save."""
        if self.queue:
            return self.queue.pop(0)
        r = self.rng.random()
        wins = self.visible()
        managed = [w for w in wins if w.kind == "wm"]
        dialogs = [w for w in managed if w.name != "xkest"]
        quits = self.quits_allowed()
        # Until then a dialog may still be closed by the window manager.
        closable = [w for w in managed if quits or w.wid != self.main]
        if r < 0.30:
            key = self.rng.choice(KEYS)
            if quits and self.rng.random() < 0.01:
                key = self.rng.choice(QUIT_KEYS)
            return ("key " + key, (KEYS_TO, None, key), lambda: xdo("key", key))
        if r < 0.38:
            m = self.rng.choice(MNEMONICS)
            return ("mnemonic alt+" + m, (KEYS_TO, None, ""),
                    lambda: xdo("keydown", "Alt_L", "key", m, "keyup", "Alt_L"))
        if r < 0.50:
            text = " ".join(self.rng.choice(WORDS) for _ in range(self.rng.randrange(1, 4)))
            return ("type %r" % text, (KEYS_TO, None, "", text), lambda: xdo("type", "--delay", "2", text))
        if r < 0.78 and wins:
            w = self.rng.choice(wins)
            px, py = self.point_in(w, w in closable and self.rng.random() < 0.1)
            if not quits:
                px, py = self.not_on_quit(w, px, py)
            button = self.rng.choice([1, 1, 1, 1, 1, 2, 3])
            count = self.rng.choice([1, 1, 1, 2, 3])
            return ("click %d x%d on %r at %d,%d" % (button, count, w, px, py), (AT, w, [(px, py)]),
                    lambda: xdo("mousemove", px, py, "click", "--repeat", count, "--delay", 60, button))
        if r < 0.82 and wins:
            w = self.rng.choice(wins)
            (ax, ay), (bx, by) = self.point_in(w, False), self.point_in(w, False)
            if not quits:
                (ax, ay), (bx, by) = self.not_on_quit(w, ax, ay), self.not_on_quit(w, bx, by)
            return ("drag on %r %d,%d to %d,%d" % (w, ax, ay, bx, by), (AT, w, [(ax, ay), (bx, by)]),
                    lambda: xdo("mousemove", ax, ay, "mousedown", 1, "mousemove", bx, by, "mouseup", 1))
        if r < 0.85 and managed:
            w = self.rng.choice(managed)
            size = [int(10 ** self.rng.uniform(0, 3.6)) for _ in range(2)]
            return ("resize %r to %dx%d" % (w, *size), (NOTHING,), lambda: xdo("windowsize", w.wid, *size))
        if r < 0.86 and closable:
            w = self.rng.choice(closable)
            return ("window manager close of %r" % w, (NOTHING,),
                    lambda: xdo("windowfocus", w.wid, "key", "alt+F4"))
        if r < 0.89 and managed:
            w = self.rng.choice(managed)
            return ("focus %r" % w, (NOTHING,), lambda: xdo("windowfocus", w.wid))
        if r < 0.95:
            return self.macro()
        if r < 0.96:
            return self.outside()
        if dialogs:
            w = self.rng.choice(dialogs)
            return ("Escape in %r" % w, (KEYS_TO, w, ""), lambda: xdo("windowfocus", w.wid, "key", "Escape"))
        return ("key ctrl+g", (KEYS_TO, None, "ctrl+g"), lambda: xdo("key", "ctrl+g"))

    def quits_allowed(self):
        # A long run keeps xkest going until one of them reaches the memory
        # check at 10,000 actions: no quits until then.
        return self.args.seconds < 1200 or 10000 in self.rss

    def not_on_quit(self, w, px, py):
        """The point moved off what quits xkest: the File menu's last item
        and the main window's frame (the close button, the window menu)."""
        if self.is_file_menu(w):
            py = min(py, w.frame[1] + w.frame[3] * 3 // 4)
        for m in self.windows:
            if m.wid == self.main and inside(m.frame, px, py) and not inside(m.client, px, py):
                x, y, wd, ht = m.client
                px, py = min(max(px, x), x + wd - 1), min(max(py, y), y + ht - 1)
        return px, py

    def activates_quit(self, desc):
        """Could this key press choose Quit in a posted File menu? Its last
        item is one Up away from the first."""
        if not any(self.is_file_menu(w) for w in self.windows):
            return False
        return desc in ("key Return", "key KP_Enter", "key space", "key ctrl+Return") or \
            (desc.startswith("type ") and " " in desc[5:])

    def is_file_menu(self, w):
        main = [m for m in self.windows if m.wid == self.main]
        return w.kind == "or" and main and abs(w.frame[0] - main[0].client[0]) < 20

    def macro(self):
        """Sequences that reach deep states: open or save a named file, run."""
        paths = [os.path.join(self.dirs["dsm"], n)
                 for n in ("shop.dsm", "utf8.dsm", "broken.dsm", "big.dsm", "sub/nested.dsm", "new.dsm")]
        kind = self.rng.choice(["open", "open", "saveas", "run", "find", "report"])
        main = [w for w in self.windows if w.wid == self.main]
        to_main = (KEYS_TO, main[0] if main else None)
        if kind in ("open", "saveas"):
            path = self.rng.choice(paths)
            key = "ctrl+o" if kind == "open" else "ctrl+shift+s"
            self.queue = [
                ("key ctrl+slash", (KEYS_TO, None, ""), lambda: xdo("key", "ctrl+slash")),
                ("type %r" % path, (KEYS_TO, None, "", path), lambda: xdo("type", "--delay", "2", path)),
                ("key Return", (KEYS_TO, None, ""), lambda: xdo("key", "Return")),
            ]
            return ("focus main, key " + key, to_main + (key,),
                    lambda: xdo("windowfocus", self.main, "key", key))
        if kind == "run":
            return ("focus main, key ctrl+g", to_main + ("ctrl+g",),
                    lambda: xdo("windowfocus", self.main, "key", "ctrl+g"))
        if kind == "find":
            word = self.rng.choice(["record", "id", "flaot", "zzz", "R7"])
            self.queue = [("type %r" % word, (KEYS_TO, None, "", word), lambda: xdo("type", "--delay", "2", word)),
                          ("key Return", (KEYS_TO, None, ""), lambda: xdo("key", "Return"))]
            return ("focus main, key ctrl+f", to_main + ("",),
                    lambda: xdo("windowfocus", self.main, "key", "ctrl+f"))
        # A word of the report, then one of its popup menu's items.
        if not main:
            return ("key F10", (KEYS_TO, None, ""), lambda: xdo("key", "F10"))
        w = main[0]
        x, y, wd, ht = w.client
        # Near the bottom, but inside the window: the report, not the frame.
        px = x + min(wd - 1, self.rng.randrange(10, max(11, wd - 10)))
        py = y + max(0, ht - self.rng.randrange(10, max(11, ht // 5)))
        self.queue = [("right click at %d,%d" % (px, py), (AT, w, [(px, py)]),
                       lambda: xdo("mousemove", px, py, "click", 3))]
        return ("double click in the report at %d,%d" % (px, py), (AT, w, [(px, py)]),
                lambda: xdo("mousemove", px, py, "click", "--repeat", 2, "--delay", 60, 1))

    def outside(self):
        """Something else changes the files under xkest's feet."""
        kind = self.rng.choice(["change", "remove", "readonly"])
        dsm = self.dirs["dsm"]
        if kind == "readonly":
            def flip():
                out = self.dirs["out"]
                if self.out_readonly:
                    subprocess.run(["umount", out], check=False) if os.geteuid() == 0 else os.chmod(out, 0o755)
                elif os.geteuid() == 0:
                    # root may write a folder whatever its mode: make it a read-only mount.
                    subprocess.run(["mount", "--bind", "-o", "ro", out, out], check=False)
                else:
                    os.chmod(out, 0o555)
                self.out_readonly = not self.out_readonly
            return ("outside: output folder %s" % ("writable" if self.out_readonly else "read-only"),
                    (OUTSIDE,), flip)
        names = sorted(n for n in os.listdir(dsm) if n.endswith(".dsm"))
        if kind == "remove" and names:
            path = os.path.join(dsm, self.rng.choice(names))

            def remove():
                with open(path, "rb") as f:
                    self.removed[path] = f.read()
                os.unlink(path)
            return ("outside: remove " + path, (OUTSIDE,), remove)
        if self.removed and self.rng.random() < 0.5:
            path = self.rng.choice(sorted(self.removed))

            def restore():
                with open(path, "wb") as f:
                    f.write(self.removed.pop(path))
            return ("outside: restore " + path, (OUTSIDE,), restore)
        if names:
            path = os.path.join(dsm, self.rng.choice(names))

            def change():
                with open(path, "a") as f:
                    f.write("// changed on disk by someone else\nrecord Outside%d { n : int; }\n"
                            % self.actions)
            return ("outside: append to " + path, (OUTSIDE,), change)
        return ("key Escape", (KEYS_TO, None, ""), lambda: xdo("key", "Escape"))

    def may_write(self, target):
        """Could this action save a file or run the generator? A posted menu
        takes every key; a saving dialog saves on its keys and clicks."""
        menu_up = any(w.kind == "or" for w in self.windows)
        saving = {w.wid for w in self.windows if w.title in SAVING_DIALOGS}
        if target[0] == KEYS_TO:
            if "ctrl+s" in target[2] or "ctrl+g" in target[2]:
                return True
            focus = target[1].wid if target[1] else int(self.x.ask("focus") or 0)
            # A typed key that closes the focused dialog sends the rest to
            # the next window, which may be a saving dialog.
            typed = target[3] if len(target) > 3 else ""
            return menu_up or self.menubar_armed or focus in saving or bool(saving and len(typed) > 1)
        if target[0] == AT:
            # Windows overlap: what counts is every window under the points.
            # A press on the menu bar dragged into its menu chooses an item.
            main = target[1].client if target[1].wid == self.main else None
            return any(inside(w.frame, x, y) for w in self.windows
                       if w.kind == "or" or w.wid in saving for x, y in target[2]) or \
                bool(main and any(y - main[1] < 40 for _, y in target[2]))
        return False

    def step(self):
        self.windows = self.x.windows()
        if not any(w.wid == self.main for w in self.windows):
            # Iconified or withdrawn by the window manager: the user brings it back.
            xdo("windowmap", self.main)
        desc, target, act = self.choose()
        if not self.quits_allowed() and self.activates_quit(desc):
            desc, target, act = ("(not a key that may choose Quit) key Escape", (KEYS_TO, None, ""),
                                  lambda: xdo("key", "Escape"))
        writes = self.may_write(target)
        # F10 makes the menu bar take the keys that follow, as mnemonics,
        # until a click or Escape ends it, with no menu on the screen yet.
        if target[0] == AT or desc.endswith("Escape"):
            self.menubar_armed = False
        elif target[0] == KEYS_TO and "F10" in desc:
            self.menubar_armed = True
        outside = target[0] == OUTSIDE
        line = "%d %s%s" % (self.actions, desc, " [may write]" if writes else "")
        self.history = (self.history + [line])[-40:]
        self.journal.write(line + "\n")
        act()
        self.actions += 1
        self.life_actions += 1
        alive = self.check_alive()
        if alive:
            self.probe()
            alive = self.check_alive()
        if not alive:
            # Quit by the user: its last save was checked as it happened.
            self.check_files(True)
            self.start()
            self.files = snapshot()
            return
        self.memory()
        if outside:
            self.files = snapshot()
        # A save's effects may trail its key by one action (a dialog's default
        # button, a double-click completed by the next click).
        self.check_files(writes or self.last_writes)
        self.last_writes = writes

    def run(self):
        log("seed %d, window manager %s, %d s" % (self.args.seed, self.args.wm, self.args.seconds))
        self.last_writes = False
        self.menubar_armed = False
        end = time.time() + self.args.seconds
        try:
            self.start()
            self.files = snapshot()
            while time.time() < end:
                self.step()
        except Failure as f:
            log("FAILED after %d actions (life %d, action %d of it): %s"
                % (self.actions, self.life, self.life_actions, f))
            log("the last actions:")
            for line in self.history:
                print("   ", line)
            log("the windows before the last action: %s" % ", ".join(map(repr, self.windows)))
            tail = self.stderr_text()[-4000:]
            if tail:
                log("xkest's standard error (end):")
                print(tail)
            self.stop()
            return 1
        self.stop()
        if 10000 in self.rss:
            log("memory: %d KiB after 1,000 actions of one xkest, %d KiB after 10,000 (%.2fx)"
                % (self.rss[1000], self.rss[10000], self.rss[10000] / self.rss[1000]))
        elif not self.quits_allowed():
            log("memory check not reached: no xkest lived 10,000 actions")
        log("passed: %d actions in %d s, %d lives (%d quits by the user), seed %d, %s"
            % (self.actions, self.args.seconds, self.life, self.quits, self.args.seed, self.args.wm))
        return 0

    def stop(self):
        # What the screen showed at the end, for whoever reads the log.
        try:
            subprocess.run(["import", "-window", "root", os.path.join(self.args.log, "screen.png")],
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
        except subprocess.TimeoutExpired:
            log("no picture of the screen: the X server is held by a grab")
        if self.proc and self.proc.poll() is None:
            log("stopping xkest %d" % self.proc.pid)
            self.proc.kill()
            self.proc.wait()
        # The helper leaves before the X server does.
        self.x.proc.stdin.close()
        self.x.proc.wait(30)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--seconds", type=int, required=True)
    ap.add_argument("--seed", type=int, required=True)
    ap.add_argument("--wm", required=True)
    ap.add_argument("--build", required=True)
    ap.add_argument("--source", required=True)
    ap.add_argument("--log", required=True)
    ap.add_argument("--root", default="/tmp")
    ap.add_argument("--unwatched", action="append", default=[],
                    help="a folder under the root left out of the file watch")
    args = ap.parse_args()
    global ROOT, SCRATCH, UNWATCHED
    ROOT, SCRATCH = args.root, os.path.join(args.root, "monkey")
    UNWATCHED = set(args.unwatched)
    return Monkey(args).run()


if __name__ == "__main__":
    sys.exit(main())
