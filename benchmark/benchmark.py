"""Footprint and timing of Dusklet under Wine, side by side with two programs
built with the same toolchain and size flags, and prints one table:

- the lean reference (benchmark/lean.c): plain C that makes the same window
  from the same layout table, with the same manifest, icon, skin engine, popup
  menu and tray icon, and runs the same 500 ms tick. It is the floor for what
  Dusklet's window must do, and the targets are ratios to it;
- the minimal program (benchmark/minimal.cpp): a bare window and tray icon.

Start-up, the CPU spent starting and memory are taken over BENCH_RUNS warm
starts (default 21; the wineserver keeps running), the three programs in
turn. A command line handed over to the running copy (`Dusklet.exe /p 1`
to a copy armed for 999 hours) is timed by the driver from the second
process's start to its exit with the answer, BENCH_RUNS times. The CPU of an
armed hour (Dusklet armed for 999 hours, blinking on with
a 30-second lead, hidden in the tray with Esc, where no tick runs; the lean
program hidden with its 500 ms tick) and of a blinking hour (Dusklet inside
its blink lead; the lean program started with `blink`) are taken over
BENCH_ARMED_SECONDS (300) and BENCH_BLINK_SECONDS (60) per program, cut into
BENCH_CHUNKS (5) chunks that alternate between the two, with the wineserver's
and the tray's CPU over the same intervals (the tick's cost is shared with
them). CPU is the scheduler's run time of every thread
(/proc/PID/task/*/schedstat), not the 10 ms ticks of utime.

The WM_TIMER messages each program takes are counted in runs of their own,
one chunk long, with Wine's message trace (+msg), which costs CPU of its own
and so never runs while CPU is measured: Dusklet armed as above and hidden,
the lean program hidden, and Dusklet's window showing. Last, the fire latency
over BENCH_FIRES (10) countdowns left hidden in the tray with blinking off,
so that the wake-up at the due moment, not a tick, runs the action.

The 当 mode's conditions, each armed from a command line handed over to a
copy that runs and left hidden for BENCH_CONDITION_SECONDS (120): its CPU (a
run of its own) and its WM_TIMER messages (one with the trace); for 程序退出
on Wine's notepad, also the time from notepad's close to the warning panel.
The lean program's armed tick is the floor the quiet network is measured
against.

Run through scripts/benchmark.sh, which builds everything first.
"""
import json
import math
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "tests", "e2e"))
import bench as e2e  # noqa: E402
from bench import APP_DIR, BM_CLICK, LOADER, LOG_DIR, PREFIX, WM_CLOSE, Bench, poll  # noqa: E402

PRODUCT = os.environ["DUSKLET_PRODUCT_EXE"]  # the 32-bit product, whatever Wine runs here
RUNS = int(os.environ.get("BENCH_RUNS", "21"))
ARMED = int(os.environ.get("BENCH_ARMED_SECONDS", "300"))
BLINK = int(os.environ.get("BENCH_BLINK_SECONDS", "60"))
CHUNKS = int(os.environ.get("BENCH_CHUNKS", "5"))
FIRES = int(os.environ.get("BENCH_FIRES", "10"))
CONDITION = int(os.environ.get("BENCH_CONDITION_SECONDS", "120"))

# Program -> executable, window title.
PROGRAMS = {"Dusklet": ("Dusklet.exe", e2e.MAIN_TITLE), "Lean": ("lean.exe", "Lean"),
            "Minimal": ("minimal.exe", "Minimal")}
SECONDS_LEFT = e2e.LAYOUT["seconds_left"]  # the status strip's text while armed ends so
POWER_OFF, HIBERNATE, HOURS, SECONDS = 0, 4, 0, 2  # places in the action and unit lists
ARMED_HOURS, ARMED_LEAD = 999, 30  # the armed countdown: its warning period is far away
FIRE_SECONDS = 4  # each fire's countdown: time enough to hide the window first
SHOWING_SECONDS = 20  # the timer messages of the showing window, for information
# Wine shows a balloon for at least 10 s; Dusklet shows one as the blinking
# begins. The blinking is measured once it has gone.
BLINK_SETTLE = 11
ARMED_SETTLE = 3
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "shell32.dll", "comctl32.dll", "msvcrt.dll",
               "advapi32.dll"}


# ---- Linux processes -----------------------------------------------------------

def cpu_ns(pid):
    """CPU time of a process so far: the scheduler's run time summed over its
    threads, in nanoseconds (a thread that ends takes its time with it)."""
    total = 0
    try:
        threads = os.listdir("/proc/%d/task" % pid)
    except OSError:
        return 0
    for tid in threads:
        try:
            with open("/proc/%d/task/%s/schedstat" % (pid, tid)) as f:
                total += int(f.read().split()[0])
        except (OSError, ValueError, IndexError):
            pass  # ended meanwhile
    return total


def status_kb(pid, key):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith(key + ":"):
                return int(line.split()[1])
    return 0


def wineserver_pid():
    """The prefix's wineserver: it works in a folder named after the prefix
    folder's device and inode, server-DEV-INODE (under /tmp/.wine-UID or, for
    root, a temporary folder of its own)."""
    st = os.stat(PREFIX)
    folder = "server-%x-%x" % (st.st_dev, st.st_ino)
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            if os.path.basename(os.readlink("/proc/%s/cwd" % pid)) == folder and \
                    os.path.basename(os.readlink("/proc/%s/exe" % pid)).startswith("wineserver"):
                return int(pid)
        except OSError:
            pass
    return None


def kill(b, exe):
    pid = b.unix_pid(exe)
    while pid:
        os.kill(pid, signal.SIGKILL)
        poll(lambda: b.unix_pid(exe) != pid, 5)
        pid = b.unix_pid(exe)


def spread(values, fmt):
    """Median (min-max)."""
    return (fmt + " (" + fmt + "-" + fmt + ")") % (statistics.median(values), min(values), max(values))


# ---- The programs ------------------------------------------------------------

class Programs:
    """Starts and stops the three programs in one bench, each with a log of
    its own (Wine's exception trace), which the bench's fault check reads."""

    def __init__(self, b):
        self.b = b
        self.started = 0
        for exe in ("lean.exe", "minimal.exe"):
            shutil.copy(os.path.join(e2e.WIN_BUILD, exe), APP_DIR)

    def _log(self, name):
        os.makedirs(LOG_DIR, exist_ok=True)
        self.started += 1
        return os.path.join(LOG_DIR, "%s-%s-%d.log" % (self.b.label, name, self.started))

    def _env(self, debug=()):
        return dict(self.b.env, WINEDEBUG=",".join(["+pid", "+seh", *debug]))

    def launch(self, name):
        """Starts a program through the driver, which times it to a visible
        window. Returns the milliseconds and the program's Linux process."""
        exe, title = PROGRAMS[name]
        log = self._log(name)
        with open(log, "w") as err, tempfile.TemporaryFile() as out:
            # The program inherits the driver's error output: its trace goes to the log.
            subprocess.run([LOADER, "C:\\Dusklet\\driver.exe", "launch", "C:\\Dusklet\\" + exe, title],
                           env=self._env(), cwd=APP_DIR, stdout=out, stderr=err, check=True, timeout=60)
            out.seek(0)
            result = json.loads(out.read().decode().strip().splitlines()[-1])
        self.b.logs.append(log)
        self.b.log_pids.append(result["pid"])
        return result["ms"], self._unix_pid(exe)

    def start(self, name, *args, debug=()):
        """Starts a program directly, as a user would, with more of Wine's
        debug channels in its log if asked. Returns its window, Linux process
        and log."""
        exe, title = PROGRAMS[name]
        log = self._log(name)
        with open(log, "w") as err:
            self.b.procs.append(subprocess.Popen([LOADER, "C:\\Dusklet\\" + exe, *args], env=self._env(debug),
                                                 cwd=APP_DIR, stdout=subprocess.DEVNULL, stderr=err))
        window = self.b.find(title, 20)
        if not window:
            raise AssertionError("%s showed no window" % name)
        self.b.logs.append(log)
        self.b.log_pids.append(window["pid"])
        return window, self._unix_pid(exe), log

    def hide(self, name, hwnd):
        """Hides the program's window to the tray: Dusklet with Esc, as a user
        leaves it, the lean program by closing its window."""
        if name == "Dusklet":
            self.b.xdo("key", "Escape")
        else:
            self.b.post(hwnd, WM_CLOSE)
        if not poll(lambda: not self.b.find(PROGRAMS[name][1]), 5):
            raise AssertionError("%s's window did not hide" % name)

    def _unix_pid(self, exe):
        pid = self.b.unix_pid(exe)
        if not pid:
            raise AssertionError("no Linux process runs " + exe)
        return pid

    def stop(self, name, hwnd=None):
        """Removes the program's tray icon (as its own exit would) and ends it;
        hwnd is its window, when hidden (a visible one is found by its title)."""
        exe, title = PROGRAMS[name]
        if hwnd is None:
            hwnd = (self.b.find(title) or {}).get("hwnd")
        if hwnd:
            self.b.driver("trayremove", hwnd, 1)
        kill(self.b, exe)
        for proc in self.b.procs:
            proc.poll()  # reaps the ones that ended


def arm(b, action, unit, amount, lead):
    """Arms Dusklet's countdown; returns the moments just before and just
    after the click that armed it."""
    b.choose("cmbAction", action)
    b.choose("cmbUnit", unit)
    b.set_text("txtPeriod", str(amount))
    b.set_text("txtBlink", str(lead))
    before = time.time()
    b.send(b.control("cmdTimer")["hwnd"], BM_CLICK)
    return before, time.time()


# ---- Start-up and memory -----------------------------------------------------

def start_up(p):
    """Per program: ms to a visible window, CPU ms spent by then, private and
    resident KB a second later; over RUNS starts, the programs in turn."""
    results = {name: {"ms": [], "cpu": [], "private": [], "resident": []} for name in PROGRAMS}
    names = list(PROGRAMS)
    for run in range(-1, RUNS):  # the first round warms the caches and is not counted
        for name in names[run % 3:] + names[:run % 3]:
            ms, pid = p.launch(name)
            cpu = cpu_ns(pid) / 1e6
            time.sleep(1)
            private, resident = status_kb(pid, "RssAnon"), status_kb(pid, "VmRSS")
            p.stop(name)
            if run >= 0:
                for key, value in (("ms", ms), ("cpu", cpu), ("private", private), ("resident", resident)):
                    results[name][key].append(value)
    return results


# ---- CPU while armed and while blinking --------------------------------------------

def start_armed(p, name, blink, seconds, debug=()):
    """Starts the program armed: Dusklet for 999 hours (its 30-second blink
    lead far away) or, with `blink`, inside its blink lead throughout the
    next `seconds` and the settling before them; the lean program with its
    tick, blinking its icon with `blink`. Returns what Programs.start does."""
    b = p.b
    window, pid, log = p.start(name, *(["blink"] if blink and name == "Lean" else []), debug=debug)
    if name == "Dusklet":
        b.main = window["hwnd"]
        if blink:
            arm(b, HIBERNATE, SECONDS, seconds + BLINK_SETTLE + 60, 999)
        else:
            arm(b, HIBERNATE, HOURS, ARMED_HOURS, ARMED_LEAD)
        if not poll(lambda: b.text("lblStatus").endswith(SECONDS_LEFT), 5):
            raise AssertionError("Dusklet did not arm")
    return window, pid, log


def chunk(p, name, seconds, blink):
    """CPU seconds per hour of the program, the wineserver and the tray over
    one measured chunk of the program running hidden in the tray."""
    b = p.b
    window, pid, _ = start_armed(p, name, blink, seconds)
    p.hide(name, window["hwnd"])
    time.sleep(BLINK_SETTLE if blink else ARMED_SETTLE)
    # The wineserver is looked for over a few seconds: a server that is just
    # starting has not yet moved into its folder (a run on a fresh prefix once
    # found none here).
    pids = {"program": pid, "wineserver": poll(wineserver_pid, 5), "tray": b.unix_pid("explorer.exe")}
    missing = [k for k, v in pids.items() if not v]
    if missing:
        raise AssertionError("no Linux process found for: " + ", ".join(missing))
    before = {k: cpu_ns(v) for k, v in pids.items()}
    t0 = time.monotonic()
    time.sleep(seconds)
    elapsed = time.monotonic() - t0
    used = {k: cpu_ns(v) - before[k] for k, v in pids.items()}
    p.stop(name, window["hwnd"])
    return {k: used[k] / 1e9 * 3600 / elapsed for k in used}


def running_cpu(p, total, blink):
    """Alternating chunks, `total` seconds per program: per program, the
    per-hour figures of every chunk."""
    per_chunk = max(1, total // CHUNKS)
    if blink:
        assert per_chunk + BLINK_SETTLE + 60 <= 999, "a blinking chunk must fit a 999-second countdown"
    results = {name: [] for name in ("Dusklet", "Lean")}
    for i in range(CHUNKS):
        for name in (("Dusklet", "Lean") if i % 2 == 0 else ("Lean", "Dusklet")):
            results[name].append(chunk(p, name, per_chunk, blink))
    return results, per_chunk * CHUNKS


# ---- Timer messages and fire latency ---------------------------------------------

def timer_lines(log, pid):
    """The WM_TIMER messages that the program (Windows process id `pid`) has
    taken so far, as Wine's message trace (+msg) records them in its log
    (which a desktop process it started would share)."""
    own = "%04x:" % pid
    with open(log, errors="replace") as f:
        return sum(1 for line in f if line.startswith(own) and "(WM_TIMER)" in line)


def timer_rate(log, pid, seconds):
    """WM_TIMER messages per minute over the next `seconds`."""
    first, t0 = timer_lines(log, pid), time.monotonic()
    time.sleep(seconds)
    return (timer_lines(log, pid) - first) * 60 / (time.monotonic() - t0)


def timer_messages(p, seconds):
    """Per minute: Dusklet armed as for the armed CPU while its window shows
    and then hidden, and the lean program hidden with its tick; each counted
    by Wine's message trace over `seconds` (the showing window over at most
    SHOWING_SECONDS), in runs of their own."""
    rates = {}
    for name in ("Dusklet", "Lean"):
        window, _, log = start_armed(p, name, False, seconds, debug=["+msg"])
        if name == "Dusklet":
            rates["showing"] = timer_rate(log, window["pid"], min(seconds, SHOWING_SECONDS))
        p.hide(name, window["hwnd"])
        time.sleep(ARMED_SETTLE)
        rates[name] = timer_rate(log, window["pid"], seconds)
        p.stop(name, window["hwnd"])
    return rates


def fire_latency(faults):
    """Worst and median delay from the due moment to the traced power call:
    hibernation, which Wine allows and does nothing for; the program ends.
    Each countdown of FIRE_SECONDS, blinking off, is left hidden in the tray
    with Esc, so that the wake-up aimed at the due moment runs the action.
    The program counts in whole seconds: armed at hh:mm:ss.xxx, it is due
    as second ss + FIRE_SECONDS begins."""
    b = Bench(relay=["powrprof.SetSuspendState"], label="benchmark-fire")
    latencies = []
    try:
        while len(latencies) < FIRES:
            b.start()
            b.send(b.control("chkBlink")["hwnd"], BM_CLICK)  # blinking off
            before, after = arm(b, HIBERNATE, SECONDS, FIRE_SECONDS, 30)
            b.xdo("key", "Escape")
            hidden = poll(lambda: not b.find(e2e.MAIN_TITLE), 3) and time.time()
            due = math.floor(before) + FIRE_SECONDS
            if math.floor(before) != math.floor(after) or not hidden or hidden > due - 1:
                # Armed across a second boundary (the due moment is ambiguous),
                # or not hidden well before it: not counted.
                kill(b, "Dusklet.exe")
                continue
            with open(b.logs[-1], errors="replace") as log:
                seen = [""]

                def called():  # reads on where it stopped, keeping a line cut by a write
                    seen[0] = seen[0][-100:] + log.read()
                    return ":Call powrprof.SetSuspendState" in seen[0]
                if not poll(called, FIRE_SECONDS + 10, 0.002):
                    raise AssertionError("the countdown did not reach the power call")
            latencies.append(time.time() - due)
            b.procs[-1].wait(10)
    finally:
        b.close()
        faults += b.faults()
    return max(latencies), statistics.median(latencies)


# ---- A command line handed over ------------------------------------------------------------

def hand_over(p):
    """ms from the start of `Dusklet.exe /p 1` to its exit with the answer of
    the copy that runs (armed for 999 hours), timed by the driver; RUNS times."""
    window, _, _ = p.start("Dusklet")
    p.b.main = window["hwnd"]
    arm(p.b, POWER_OFF, HOURS, 999, 30)
    times = []
    for run in range(-1, RUNS):  # the first warms the caches and is not counted
        out = p.b.raw("run", "C:\\Dusklet\\Dusklet.exe", "/p", "1")
        result = json.loads(out.splitlines()[-1])
        if result["exit"] != 0:
            raise AssertionError("the hand-over ended with %d" % result["exit"])
        if run >= 0:
            times.append(result["ms"])
    p.stop("Dusklet", window["hwnd"])
    return times


# ---- The 当 mode's conditions --------------------------------------------------------------

CONDITIONS = {"exit": ("/s", "/exit", "notepad.exe"), "idle": ("/s", "/idle", "999"), "net": ("/s", "/net", "999")}


def armed_on(p, args, seconds, debug=()):
    """Dusklet armed on a condition through a command line handed over to
    it, hidden: CPU seconds per hour and WM_TIMER messages per minute over
    `seconds` (the latter only where the message trace is asked for)."""
    b = p.b
    window, pid, log = p.start("Dusklet", debug=debug)
    b.main = window["hwnd"]
    result = json.loads(b.raw("run", "C:\\Dusklet\\Dusklet.exe", *args).splitlines()[-1])
    if result["exit"] != 0:
        raise AssertionError("%s answered %d" % (" ".join(args), result["exit"]))
    p.hide("Dusklet", window["hwnd"])
    time.sleep(ARMED_SETTLE)
    timers, cpu, t0 = timer_lines(log, window["pid"]), cpu_ns(pid), time.monotonic()
    time.sleep(seconds)
    elapsed = time.monotonic() - t0
    figures = {"cpu": (cpu_ns(pid) - cpu) / 1e9 * 3600 / elapsed,
               "timers": (timer_lines(log, window["pid"]) - timers) * 60 / elapsed}
    return window, figures


def conditions(p, seconds):
    """Per condition: its CPU an hour and its timer messages a minute; for
    程序退出 the seconds from notepad's close to the panel."""
    b = p.b
    notepad = subprocess.Popen([LOADER, "notepad"], env=b.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    b.procs.append(notepad)
    pad = poll(lambda: [w for w in b.driver("windows") if w["class"] == "Notepad" and w["visible"]], 15)
    if not pad:
        raise AssertionError("notepad did not start")
    results = {}
    for name, args in CONDITIONS.items():
        window, measured = armed_on(p, args, seconds)
        p.stop("Dusklet", window["hwnd"])
        window, traced = armed_on(p, args, seconds, debug=["+msg"])
        results[name] = {"cpu": measured["cpu"], "timers": traced["timers"]}
        if name == "exit":
            closed = time.monotonic()
            b.post(pad[0]["hwnd"], WM_CLOSE)
            shown = poll(lambda: [w for w in b.driver("windows") if w["class"] == "DuskletWarning" and w["visible"]],
                         10, 0.02)
            results[name]["warning"] = time.monotonic() - closed if shown else math.inf
        p.stop("Dusklet", window["hwnd"])
    return results


# ---- The table -------------------------------------------------------------------------

def imports(exe):
    out = subprocess.run(["i686-w64-mingw32-objdump", "-p", exe], capture_output=True, text=True).stdout
    return sorted({line.split(":")[1].strip() for line in out.splitlines() if "DLL Name:" in line})


def ratio_row(figure, values, fmt, limit=None):
    """A row comparing the three programs; the target, if any, is a ratio of
    Dusklet's median to the lean program's."""
    cells = [spread(values[name], fmt) if values.get(name) else "" for name in PROGRAMS]
    lean = statistics.median(values["Lean"])
    if limit is None:
        return (figure, *cells, "(for information: %.2fx lean)" % (statistics.median(values["Dusklet"]) / lean)
                if lean else "(for information)", "-")
    ratio = statistics.median(values["Dusklet"]) / lean if lean else math.inf
    return (figure, *cells, "%.2fx lean <= %.2fx" % (ratio, limit), "yes" if ratio <= limit else "no")


def main():
    if e2e.ARCH == "win32":
        print("Wine runs the win32 build: the 32-bit product itself (%s)." % e2e.WIN_BUILD)
    else:
        print("Wine runs the win64 build (%s): this machine cannot execute 32-bit code; size and imports are "
              "those of the 32-bit product." % e2e.WIN_BUILD)
    sys.stdout.flush()
    faults = []
    b = Bench(label="benchmark")
    try:
        p = Programs(b)
        b.driver("screen")  # a warm wineserver and desktop for every program
        startup = start_up(p)
        handed = hand_over(p)
        armed, armed_for = running_cpu(p, ARMED, blink=False)
        blinking, blinked_for = running_cpu(p, BLINK, blink=True)
        timers = timer_messages(p, max(1, ARMED // CHUNKS))
        when = conditions(p, CONDITION)
    finally:
        b.close()
        faults += b.faults()
    worst, median_latency = fire_latency(faults)

    folder = os.path.dirname(PRODUCT)
    exes = {"Dusklet": PRODUCT, "Lean": os.path.join(folder, "lean.exe"),
            "Minimal": os.path.join(folder, "minimal.exe")}
    size = os.path.getsize(PRODUCT)
    dlls = {name: imports(exe) for name, exe in exes.items()}

    def per_hour(results, key):
        return {name: [c[key] for c in chunks] for name, chunks in results.items()}

    def column(key):
        return {name: startup[name][key] for name in PROGRAMS}
    rows = [
        ("Executable size (32-bit, stripped)",
         *("%d KB" % math.ceil(os.path.getsize(exe) / 1024) for exe in exes.values()), "<= 80 KB",
         "yes" if size <= 80 * 1024 else "no"),
        ("Imported DLLs", *(" ".join(d) for d in dlls.values()), "system DLLs only",
         "yes" if all(d.lower() in SYSTEM_DLLS for d in dlls["Dusklet"]) else "no"),
        ratio_row("Start-up to visible window, ms, median (min-max) of %d" % RUNS, column("ms"), "%.1f", 1.05),
        ratio_row("CPU spent starting, ms", column("cpu"), "%.1f", 1.05),
        ("Command line handed over to the running copy (`Dusklet.exe /p 1` to its exit), ms, median "
         "(min-max) of %d" % RUNS, spread(handed, "%.1f"), "", "",
         "%.2fx lean's start-up <= 0.50x" % (statistics.median(handed) / statistics.median(column("ms")["Lean"])),
         "yes" if statistics.median(handed) <= 0.5 * statistics.median(column("ms")["Lean"]) else "no"),
        ratio_row("Private memory (RssAnon), KB", column("private"), "%d", 1.05),
        ratio_row("Resident memory (VmRSS), KB", column("resident"), "%d"),
        ratio_row("CPU armed for %d hours and hidden, s per hour (%d chunks, %d s each)"
                  % (ARMED_HOURS, CHUNKS, armed_for // CHUNKS), per_hour(armed, "program"), "%.2f", 0.25),
        ratio_row("  wineserver meanwhile, s per hour", per_hour(armed, "wineserver"), "%.2f"),
        ratio_row("  tray (explorer.exe) meanwhile, s per hour", per_hour(armed, "tray"), "%.2f"),
        ratio_row("CPU blinking, s per hour (%d chunks, %d s each)" % (CHUNKS, blinked_for // CHUNKS),
                  per_hour(blinking, "program"), "%.2f"),
        ratio_row("  wineserver meanwhile, s per hour", per_hour(blinking, "wineserver"), "%.2f"),
        ratio_row("  tray (explorer.exe) meanwhile, s per hour", per_hour(blinking, "tray"), "%.2f"),
        ("Timer messages per minute, armed %d h and hidden (%d s each)" % (ARMED_HOURS, max(1, ARMED // CHUNKS)),
         "%.1f" % timers["Dusklet"], "%.1f" % timers["Lean"], "", "<= 1", "yes" if timers["Dusklet"] <= 1 else "no"),
        ("Timer messages per minute, armed, window showing (%d s)" % min(max(1, ARMED // CHUNKS), SHOWING_SECONDS),
         "%.1f" % timers["showing"], "", "", "(for information)", "-"),
        ("Fire latency over %d countdowns, worst / median (s)" % FIRES, "%.3f / %.3f" % (worst, median_latency),
         "", "", "worst <= 0.1", "yes" if worst <= 0.1 else "no"),
        ("`/exit notepad.exe`, hidden: CPU, s per hour (%d s)" % CONDITION, "%.2f" % when["exit"]["cpu"], "", "",
         "0.00", "yes" if round(when["exit"]["cpu"], 2) == 0 else "no"),
        ("  timer messages per minute", "%.1f" % when["exit"]["timers"], "", "", "0",
         "yes" if when["exit"]["timers"] == 0 else "no"),
        ("  from notepad's close to the warning, s", "%.2f" % when["exit"]["warning"], "", "", "<= 1",
         "yes" if when["exit"]["warning"] <= 1 else "no"),
        ("`/idle 999`, hidden: wake-ups (timer messages) per minute (%d s)" % CONDITION,
         "%.1f" % when["idle"]["timers"], "", "", "<= 1", "yes" if when["idle"]["timers"] <= 1 else "no"),
        ("  CPU, s per hour", "%.2f" % when["idle"]["cpu"], "", "", "(for information)", "-"),
        ("`/net 999`, hidden: wake-ups (timer messages) per minute (%d s)" % CONDITION,
         "%.1f" % when["net"]["timers"], "", "", "<= 12", "yes" if when["net"]["timers"] <= 12.5 else "no"),
        ("  CPU, s per hour, against the lean program's armed tick", "%.2f" % when["net"]["cpu"],
         "%.2f" % statistics.median(per_hour(armed, "program")["Lean"]), "",
         "%.2fx lean <= 0.25x" % (when["net"]["cpu"] / statistics.median(per_hour(armed, "program")["Lean"])),
         "yes" if when["net"]["cpu"] <= 0.25 * statistics.median(per_hour(armed, "program")["Lean"]) else "no"),
    ]
    print("| Figure | Dusklet | Lean | Minimal | Target | Met |")
    print("|---|---|---|---|---|---|")
    for row in rows:
        print("| " + " | ".join(row) + " |")
    if faults:
        for log, name, address in faults:
            print("A program faulted: %s at %s (%s)" % (name, address, log))
    else:
        print("No program faulted (Wine's exception trace, logs in build/e2e-logs).")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
