"""What the end-to-end tests of the 当 mode share: the program armed on a
condition, its warning panel, and the power call it makes at the end."""
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(__file__))
from bench import BM_CLICK, LAYOUT, LOADER, BenchTest, poll  # noqa: E402

CB_SHOWDROPDOWN, CB_GETCOUNT = 0x14F, 0x146
PANEL = {c["name"]: c["id"] for c in LAYOUT["warning"]["controls"]}


class WhenBench(BenchTest):
    version = "win10"

    def setUp(self):
        self.bench_options = {"relay": ["user32.ExitWindowsEx"], "version": self.version}
        super().setUp()

    def start_armed(self, *args):
        """A start with an arming command line: it answers at once, and the
        copy it starts stays armed; its log is the bench's first."""
        b = self.bench
        started = b.start(wait=False, args=list(args))
        self.wait_gone(started, 10)
        self.assertEqual(started.returncode, 0)
        main = poll(lambda: [w for w in b.driver("windows") if w["class"] == "DuskletMain"], 5)
        self.assertTrue(main, "no copy stays")
        b.main = main[0]["hwnd"]
        self.armed_at = time.monotonic()

    def panels(self):
        return [w for w in self.bench.driver("windows") if w["class"] == "DuskletWarning" and w["visible"]]

    def countdown(self):
        panel = self.panels()
        parts = panel and self.bench.driver("tree", panel[0]["hwnd"])[1:]
        texts = [w["text"] for w in parts or [] if w["id"] == PANEL["lblCountdown"]]
        return int(texts[0].split()[0]) if texts else None

    def calls(self):
        return [f for f, _ in self.bench.relay_calls(0) if f.endswith("ExitWindowsEx")]

    def notepad(self):
        """Wine's notepad, started; its window once it shows."""
        b = self.bench
        before = {w["hwnd"] for w in b.driver("windows") if w["class"] == "Notepad"}
        proc = subprocess.Popen([LOADER, "notepad"], env=b.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        b.procs.append(proc)
        pads = poll(lambda: [w for w in b.driver("windows")
                             if w["class"] == "Notepad" and w["visible"] and w["hwnd"] not in before], 15)
        self.assertTrue(pads, "notepad did not start")
        return pads[0]

    def arm_in_the_window(self, condition_index):
        """当, the condition of that place in the list, and the button, as the
        user clicks them."""
        b = self.bench
        b.send(b.control("opt(2)")["hwnd"], BM_CLICK)
        b.choose("cmbCondition", condition_index)
        self.assertTrue(b.control("cmbCondition")["enabled"])

    def wait_for_the_call(self, timeout):
        self.assertTrue(poll(lambda: self.calls(), timeout, 0.2), "no power call")
