"""The end-to-end bench: the real Dusklet.exe under Wine on a virtual X display.

Each test module gets its own display; all share one Wine prefix per test run
(ctest runs them one at a time). A driver program in the same prefix reads and
sets the windows' state; xdotool gives real clicks and keys.
"""
import glob
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

SOURCE = os.environ.get("DUSKLET_SOURCE", os.path.join(os.path.dirname(__file__), "..", ".."))
WIN_BUILD = os.environ["DUSKLET_WIN_BUILD"]


def _wine_arch():
    """win32 where this machine runs 32-bit code, else the 64-bit build under wine64."""
    if os.environ.get("DUSKLET_WINE_ARCH"):
        return os.environ["DUSKLET_WINE_ARCH"]
    try:
        ok = subprocess.run(["/usr/lib/wine/wine", "--version"], capture_output=True).returncode == 0
    except OSError:
        ok = False
    return "win32" if ok else "win64"


ARCH = _wine_arch()
PREFIX = os.environ.get("DUSKLET_E2E_PREFIX") or os.path.join(WIN_BUILD, "..", "e2e-prefix-" + ARCH)
LOADER = "/usr/lib/wine/wine" if ARCH == "win32" else "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver"
APP_DIR = os.path.join(PREFIX, "drive_c", "Dusklet")

# The windows' layout tables, as the program has them (written by the native
# build's layout_json): captions, client sizes in twips, and every control with
# its window id, kind, container, text, state and geometry.
with open(os.environ.get("DUSKLET_LAYOUT") or os.path.join(WIN_BUILD, "..", "native", "layout.json"),
          encoding="utf-8") as _f:
    LAYOUT = json.load(_f)
MAIN_TITLE = LAYOUT["main"]["caption"]
ABOUT_TITLE = LAYOUT["about"]["caption"]
IDS = {c["name"]: c["id"] for c in LAYOUT["main"]["controls"]}
# The numbers of the messages a test sends as the shell or the system would.
MESSAGES = LAYOUT["messages"]


def px(twips, dpi=96):
    """Pixels for twips at a screen's dots per inch, rounded as the program does."""
    return (twips * dpi + 720) // 1440

WM_SETTEXT, WM_CLOSE, WM_COMMAND, WM_MOUSEMOVE, WM_TIMER, BM_CLICK = 0x0C, 0x10, 0x111, 0x200, 0x113, 0xF5
CB_SETCURSEL = 0x14E


LOG_DIR = os.path.join(WIN_BUILD, "..", "e2e-logs")
# What Wine's exception trace (+seh) writes when a program faults, behind the
# process and thread ids (+pid): the exception's code and address.
SEH_RECORD = re.compile(r"^([0-9a-f]+):[0-9a-f]+:trace:seh:\w+ code=([0-9a-f]+) flags=\S+ addr=(?:0x)?([0-9a-f]+)",
                        re.IGNORECASE)
FAULTS = {"c0000005": "access violation", "c0000094": "integer division by zero", "c00000fd": "stack overflow",
          "c000001d": "illegal instruction"}


def faults_in(log, pid=None):
    """The faults of the program (Windows process id `pid`, or any process
    when None) that a log records: (name, address) in order."""
    found = []
    with open(log, errors="replace") as f:
        for line in f:
            m = SEH_RECORD.match(line)
            code = m and m.group(2).lower()
            if code in FAULTS and (pid is None or int(m.group(1), 16) == pid):
                found.append((FAULTS[code], "0x" + m.group(3).lower()))
    return found


def poll(fn, timeout=10.0, interval=0.05):
    """Calls fn until it returns something true, or gives up after timeout seconds."""
    end = time.monotonic() + timeout
    while True:
        value = fn()
        if value or time.monotonic() > end:
            return value
        time.sleep(interval)


class Bench:
    def __init__(self, dpi=96, relay=None, version=None, program_files=None, debug=(), label="bench",
                 locale="zh_CN.UTF-8", server_trace=False):
        """relay: the functions whose calls Wine traces; debug: more of Wine's
        debug channels ("+systray"); server_trace: the wineserver logs every
        request of the prefix's programs (server_requests() reads them);
        program_files: a folder holding Dusklet.exe,
        SkinH_VB6.dll and aero.she to run instead of the build's (an unpacked
        release, say); label: names the logs of the programs it starts, which
        are kept in build/e2e-logs; locale: the system locale Wine runs in,
        which sets its ANSI code page (zh_CN 936, en_US 1252, zh_TW 950)."""
        self.program_files = program_files or WIN_BUILD
        self.debug = list(debug)
        self.label = label
        self.server_log = os.path.join(LOG_DIR, "%s-server.log" % label) if server_trace else None
        self.display, self._xvfb = self._start_display(dpi)
        try:
            self._set_up(relay, version, dpi, locale)
        except BaseException:
            self._stop_display()
            raise

    def _set_up(self, relay, version, dpi, locale):
        self.env = dict(os.environ, DISPLAY=self.display, WINEPREFIX=PREFIX, WINEDEBUG="-all",
                        WINEDLLOVERRIDES="mscoree,mshtml=", LANG=locale, LC_ALL=locale)
        if ARCH == "win64":
            self.env["WINEARCH"] = "win64"
        self._prepare_prefix()
        self._stop_wine()
        self.dpi = dpi
        relay_include = ";".join(relay) if relay else ""
        self.reg(
            # Mail links go to the driver, which records them: nothing starts on the host.
            '[HKEY_CLASSES_ROOT\\mailto\\shell\\open\\command]\n'
            '@="C:\\\\Dusklet\\\\driver.exe record C:\\\\Dusklet\\\\mail.txt \\"%%1\\""\n\n'
            # Wine takes its DPI from here for programs started afterwards.
            '[HKEY_CURRENT_USER\\Control Panel\\Desktop]\n"LogPixels"=dword:%08x\n\n'
            '[HKEY_CURRENT_USER\\Software\\Wine\\Debug]\n"RelayInclude"="%s"\n\n' % (dpi, relay_include)
            + self.version_entry(version))
        # Writing the registry starts the prefix's desktop process, which would
        # keep the DPI it started with (its tray icons sized for another DPI):
        # the program starts with a fresh one.
        self._stop_wine()
        self.relay = bool(relay)
        self.procs = []
        self.logs = []
        self.log_pids = []  # Windows process ids, where known
        if self.server_log:
            os.makedirs(LOG_DIR, exist_ok=True)
        with open(self.server_log or os.devnull, "w") as out:
            self.server = subprocess.Popen([WINESERVER, "-p", "-f"] + (["-d1"] if self.server_log else []), env=self.env,
                                           stdout=subprocess.DEVNULL, stderr=out)
        # Up before the first program starts, which would otherwise start a
        # server of its own (untraced) while this one is still on its way.
        prefix = os.stat(PREFIX)
        sockets = "/tmp/*wine-*/server-%x-%x/socket" % (prefix.st_dev, prefix.st_ino)  # the folder's name varies
        if not poll(lambda: glob.glob(sockets) or self.server.poll() is not None, 10) or self.server.poll() is not None:
            raise RuntimeError("the bench's wineserver did not start")

    # ---- set-up -------------------------------------------------------------

    @staticmethod
    def _start_display(dpi):
        for n in range(90, 190):
            lock, socket = "/tmp/.X%d-lock" % n, "/tmp/.X11-unix/X%d" % n
            if os.path.exists(lock):
                try:
                    with open(lock) as f:
                        pid = int(f.read().strip())
                    os.kill(pid, 0)
                    continue  # a live server owns it
                except (ValueError, OSError):
                    for stale in (lock, socket):  # left by a server that was killed
                        if os.path.exists(stale):
                            os.unlink(stale)
            elif os.path.exists(socket):
                continue
            # A screen of 1024 x 768 at 96 DPI, of the same inches at more.
            size = "%dx%dx24" % (1024 * max(dpi, 96) // 96, 768 * max(dpi, 96) // 96)
            proc = subprocess.Popen(["Xvfb", ":%d" % n, "-screen", "0", size, "-dpi", str(dpi),
                                     "-nolisten", "tcp"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            if poll(lambda: os.path.exists(socket) or proc.poll() is not None, 10) and proc.poll() is None:
                return ":%d" % n, proc
            proc.kill()
            proc.wait()
        raise RuntimeError("no free X display")

    def _prepare_prefix(self):
        if not os.path.exists(os.path.join(PREFIX, "system.reg")):
            os.makedirs(PREFIX, exist_ok=True)
            self.wine([LOADER, "wineboot", "-i"], check=False)
            self.wine([WINESERVER, "-w"], check=False)
            with open(os.path.join(SOURCE, "tests", "e2e", "fonts.reg")) as f:
                fonts = f.read().split("\n", 2)[2]
            self.reg(fonts
                     + "\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\n\"Managed\"=\"N\"\n")
        os.makedirs(APP_DIR, exist_ok=True)
        for name in ("Dusklet.exe", "SkinH_VB6.dll", "aero.she"):
            shutil.copy(os.path.join(self.program_files, name), APP_DIR)
        shutil.copy(os.path.join(WIN_BUILD, "driver.exe"), APP_DIR)

    def _stop_wine(self):
        """Ends the prefix's server and its processes, and waits until the
        server has gone, so that the next command starts a fresh one."""
        self.wine([WINESERVER, "-k"], check=False)
        self.wine([WINESERVER, "-w"], check=False)

    def wine(self, args, check=True):
        # Output goes through a file, not a pipe: a program that the command
        # starts inherits its output and would hold a pipe open.
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            done = subprocess.run(args, env=self.env, stdout=out, stderr=err,
                                  cwd=APP_DIR if os.path.isdir(APP_DIR) else None)
            out.seek(0)
            done.stdout = out.read()
            err.seek(0)
            done.stderr = err.read()
        if check and done.returncode != 0:
            raise RuntimeError("%s ended with %d: %s" % (" ".join(args), done.returncode,
                                                         done.stderr.decode(errors="replace")[-2000:]))
        return done

    def reg(self, body):
        with tempfile.NamedTemporaryFile("w", suffix=".reg", delete=False) as f:
            f.write("REGEDIT4\n\n" + body + "\n")
        try:
            # Wine's regedit in a prefix whose server has just been stopped
            # has been seen to end with 1 once in a while: once more after a
            # clean stop, then the error with what Wine printed.
            if self.wine([LOADER, "regedit", f.name], check=False).returncode != 0:
                self._stop_wine()
                self.wine([LOADER, "regedit", f.name])
        finally:
            os.unlink(f.name)

    @staticmethod
    def version_entry(version):
        """The registry entry that makes Wine report `version` (win98, winxp,
        win10, ...) to the program; None removes it (Wine's default, Windows 7)."""
        key = "HKEY_CURRENT_USER\\Software\\Wine\\AppDefaults\\Dusklet.exe"
        return "[-%s]\n" % key if version is None else "[%s]\n\"Version\"=\"%s\"\n" % (key, version)

    def set_version(self, version):
        self.reg(self.version_entry(version))

    def unix_pid(self, exe_name):
        """The Linux process that runs exe_name in this bench's prefix."""
        for pid in subprocess.run(["pgrep", "-f", exe_name], capture_output=True, text=True).stdout.split():
            try:
                with open("/proc/%s/environ" % pid, "rb") as f:
                    if ("WINEPREFIX=" + PREFIX).encode() in f.read().split(b"\0"):
                        return int(pid)
            except OSError:
                pass
        return None

    def remove_skin_engine(self):
        os.unlink(os.path.join(APP_DIR, "SkinH_VB6.dll"))

    def close(self):
        for p in self.procs:
            if p.poll() is None:
                p.kill()
        self.wine([WINESERVER, "-k"], check=False)
        self.server.kill()
        self.server.wait()
        self._stop_display()

    def _stop_display(self):
        self._xvfb.terminate()  # lets the server remove its lock and socket
        try:
            self._xvfb.wait(5)
        except subprocess.TimeoutExpired:
            self._xvfb.kill()
            self._xvfb.wait()

    # ---- the program --------------------------------------------------------

    def start(self, wait=True, env=None, args=()):
        """Starts Dusklet.exe with `args`; with `wait`, until its main window
        shows (which a command line that arms keeps in the tray)."""
        os.makedirs(LOG_DIR, exist_ok=True)
        log = os.path.join(LOG_DIR, "%s-%d.log" % (self.label, len(self.logs) + 1))
        env = dict(self.env, **(env or {}))
        # Wine's exception trace is always on: a fault in a handler reached from
        # another process is otherwise invisible (Wine carries on past it).
        env["WINEDEBUG"] = ",".join(["+pid", "+seh"] + (["+relay"] if self.relay else []) + self.debug)
        with open(log, "w") as out:
            proc = subprocess.Popen([LOADER, "C:\\Dusklet\\Dusklet.exe"] + list(args), env=env, cwd=APP_DIR,
                                    stdout=subprocess.DEVNULL, stderr=out)
        self.procs.append(proc)
        self.logs.append(log)
        self.log_pids.append(None)
        if wait:
            main = self.find(MAIN_TITLE, 20)
            if not main:
                raise AssertionError("the main window did not appear")
            self.main = main["hwnd"]
            self.log_pids[-1] = main["pid"]
        return proc

    def server_requests(self, name):
        """The wineserver's traced requests `name` so far (server_trace), as
        their argument texts."""
        with open(self.server_log, errors="replace") as f:
            return re.findall(r"\b%s\( (.*) \)$" % re.escape(name), f.read(), re.MULTILINE)

    def faults(self):
        """Every fault that a started program's log records: (log, name, address)."""
        return [(log, name, address) for log, pid in zip(self.logs, self.log_pids)
                for name, address in faults_in(log, pid)]

    def relay_calls(self, index=-1):
        """The traced calls of a started copy, in order: (function, arguments).
        Where its Windows process id is known, only its own: the log also
        holds the processes it started (the desktop's, the tray's)."""
        calls = []
        pid = self.log_pids[index]
        with open(self.logs[index], errors="replace") as f:
            for line in f:
                if ":Call " in line:
                    if pid is not None and int(line.split(":", 1)[0], 16) != pid:
                        continue
                    part = line.split(":Call ", 1)[1]
                    name, _, args = part.partition("(")
                    calls.append((name.strip(), args.split(")")[0]))
        return calls

    # ---- the driver ---------------------------------------------------------

    def driver(self, *args):
        out = self.wine([LOADER, "C:\\Dusklet\\driver.exe"] + [str(a) for a in args], check=False)
        return [json.loads(line) for line in out.stdout.decode("utf-8").splitlines() if line.startswith("{")] \
            if out.returncode == 0 else None

    def raw(self, *args):
        out = self.wine([LOADER, "C:\\Dusklet\\driver.exe"] + [str(a) for a in args], check=False)
        return out.stdout.decode("utf-8").strip()

    def background(self, *args):
        """A driver command that keeps running (refuseshell, cover, squat,
        winevents): the process, and what it printed first, once it has."""
        proc = subprocess.Popen([LOADER, "C:\\Dusklet\\driver.exe"] + [str(a) for a in args], env=self.env,
                                cwd=APP_DIR, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.procs.append(proc)
        first = proc.stdout.readline()
        if not first.startswith(b"{"):
            raise AssertionError("the driver's %s did not start" % args[0])
        return proc, json.loads(first)

    def refusing_shell(self, seconds):
        """A shell window, in front of Wine's, that refuses every tray icon
        for `seconds` (as Explorer does while it starts), then goes; the
        process, once the window is there."""
        return self.background("refuseshell", int(seconds * 1000))[0]

    def find(self, title, timeout=0):
        found = self.driver("find", title, int(timeout * 1000))
        return found[0] if found else None

    def controls(self):
        """The main window's controls by name."""
        tree = self.driver("tree", self.main) or []
        by_id = {w["id"]: w for w in tree[1:]}
        return {name: by_id[i] for name, i in IDS.items() if i in by_id}

    def message_box(self, title, timeout=10):
        """The visible message box titled `title`: its window, texts, buttons
        and whether it shows an icon; None when none appears in time."""
        box = self.find(title, timeout)
        if not box:
            return None
        parts = self.driver("tree", box["hwnd"])[1:]
        statics = [p for p in parts if p["class"].lower() == "static"]
        return dict(box, texts=[p["text"] for p in statics if p["text"]],
                    icon=any(p["style"] & 0x3 == 0x3 for p in statics),  # SS_ICON
                    buttons=[p for p in parts if p["class"].lower() == "button"])

    def close_message_box(self, box):
        self.send(box["buttons"][0]["hwnd"], BM_CLICK)

    def control(self, name):
        return self.controls()[name]

    def send(self, hwnd, msg, w=0, l=0):
        return int(self.raw("send", hwnd, msg, w, l) or 0)

    def post(self, hwnd, msg, w=0, l=0):
        self.raw("post", hwnd, msg, w, l)

    def set_text(self, name, text):
        self.raw("settext", self.control(name)["hwnd"], text)

    def text(self, name):
        return self.control(name)["text"]

    def text_if_shown(self, name):
        """The control's text, or None once the window has gone."""
        control = self.controls().get(name)
        return control and control["text"]

    def click_control(self, name):
        """A real click in the middle of the control."""
        c = self.control(name)
        self.xdo("mousemove", c["sx"] + c["w"] // 2, c["sy"] + c["h"] // 2, "click", 1)

    def choose(self, name, index):
        c = self.control(name)
        self.send(c["hwnd"], CB_SETCURSEL, index, 0)

    def tray_icons(self):
        tray = [w for w in self.driver("windows") if w["class"] == "__winex11_standalone_tray"]
        if not tray:
            return []
        return [w for w in self.driver("tree", tray[0]["hwnd"])[1:] if w["class"] == "__winex11_tray_icon"]

    def tray_icon_centre(self, n=1):
        """Where the n-th tray icon is on the screen (its size and place
        follow the DPI)."""
        icons = poll(lambda: len(self.tray_icons()) >= n and self.tray_icons(), 5)
        if not icons:
            raise AssertionError("no tray icon %d" % n)
        icon = icons[n - 1]
        return icon["sx"] + icon["w"] // 2, icon["sy"] + icon["h"] // 2

    def tray_tooltip(self, n=1):
        """Hovers over the n-th tray icon and reads the tooltip the shell shows."""
        x, y = self.tray_icon_centre(n)
        self.xdo("mousemove", x + 1, y)
        self.xdo("mousemove", x, y)

        def shown():
            tips = [t["text"] for t in self.driver("tooltips") or [] if t["visible"] and not t["balloon"] and t["text"]]
            return tips[0] if tips else None
        tip = poll(shown, 8, 0.2)
        self.xdo("mousemove", 600, 700)
        return tip

    def tray_right_click(self, n=1):
        """A right click on the tray icon. Without a window manager the tray
        window takes the focus when pressed; releasing only once it has it
        keeps that from cancelling the menu that the release opens."""
        self.xdo("mousemove", *self.tray_icon_centre(n), "mousedown", 3)
        poll(lambda: (self.driver("foreground") or [{}])[0].get("class") == "__winex11_standalone_tray", 3)
        self.xdo("mouseup", 3)

    def choose_about(self):
        """关于(&A) from the tray icon's menu, the last item: hovered a moment
        first, as the menu may have no keyboard focus."""
        self.tray_right_click()
        open_menus = lambda: [w for w in self.driver("windows") if w["class"] == "#32768" and w["visible"]]  # noqa: E731
        menu = poll(open_menus, 3)
        if not menu:
            raise AssertionError("no menu")
        m = menu[0]
        self.xdo("mousemove", m["sx"] + 20, m["sy"] + m["h"] - 10, "sleep", "0.4", "click", "1")
        if not poll(lambda: not open_menus(), 3):
            raise AssertionError("the menu stayed open")

    def tray_double_click(self, n=1):
        self.tray_click("click", "--repeat", "2", "--delay", "80", "1", n=n)

    def tray_click(self, *xdo_click, n=1):
        self.xdo("mousemove", *self.tray_icon_centre(n), *xdo_click)

    # ---- X ------------------------------------------------------------------

    def xdo(self, *args):
        subprocess.run(["xdotool"] + [str(a) for a in args], env=self.env, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def pixels(self, x, y, w, h):
        """The screen's colours in a rectangle: rows of (r, g, b), top down."""
        raw = subprocess.run(["import", "-window", "root", "-crop", "%dx%d+%d+%d" % (w, h, x, y), "-depth", "8",
                              "rgb:-"], env=self.env, check=True, capture_output=True).stdout
        return [[tuple(raw[3 * (w * row + col):3 * (w * row + col) + 3]) for col in range(w)] for row in range(h)]

    def screenshot(self, path, crop=None):
        args = ["import", "-window", "root"]
        if crop:
            args += ["-crop", crop]
        subprocess.run(args + [path], env=self.env, check=False)


class BenchTest(unittest.TestCase):
    """A test case with a bench of its own: Dusklet started fresh for each test."""
    bench_options = {}

    def setUp(self):
        self.bench = open_bench(self, **self.bench_options)

    def wait_gone(self, proc, timeout=10):
        try:
            proc.wait(timeout)
        except subprocess.TimeoutExpired:
            self.fail("the program did not end")


def open_bench(test, **options):
    """A bench for `test`, closed after it, and the test failed when a program
    the bench started faulted."""
    label = "%s.%s.%s" % (os.path.splitext(os.path.basename(sys.argv[0]))[0], type(test).__name__,
                          test._testMethodName)
    bench = Bench(label=label, **options)

    def assert_no_faults():
        faults = bench.faults()
        if faults:
            test.fail("the program faulted: " + "; ".join("%s at %s (%s)" % (name, address, log)
                                                          for log, name, address in faults))

    test.addCleanup(assert_no_faults)  # after the bench has closed
    test.addCleanup(bench.close)
    return bench


# The clock-shift preload library (tests/e2e/clockshift.c, built by the native
# build) for the Wine that runs the program: the 32-bit product's where the
# machine runs 32-bit code, else the 64-bit build's.
CLOCKSHIFT = os.path.join(os.environ.get("DUSKLET_NATIVE_BUILD") or os.path.join(WIN_BUILD, "..", "native"),
                          "clockshift-%s.so" % ARCH)


class ShiftedClock:
    """A program's own wall clock, moved from the real one by the clock-shift
    library, as after a sleep or a change of the system time. Made before the
    test's bench, so that its file is removed after the bench has ended every
    process that reads it."""

    def __init__(self, test):
        if not os.path.isfile(CLOCKSHIFT):
            test.fail("no clock-shift library for the %s Wine at %s" % (ARCH, CLOCKSHIFT))
        folder = tempfile.mkdtemp(prefix="dusklet-clock-")
        test.addCleanup(shutil.rmtree, folder)
        self.file = os.path.join(folder, "offset")
        self.shift(0)
        # What the program is started with (Bench.start's env).
        self.env = {"LD_PRELOAD": CLOCKSHIFT, "CLOCKSHIFT_FILE": self.file}

    def shift(self, seconds):
        """Moves the clock `seconds` from the real one. The file is replaced
        whole: the library reads it at every call."""
        with open(self.file + ".part", "w") as f:
            f.write("%d\n" % seconds)
        os.replace(self.file + ".part", self.file)


def artefact(name):
    folder = os.path.join(WIN_BUILD, "..", "e2e-artefacts")
    os.makedirs(folder, exist_ok=True)
    return os.path.join(folder, name)
