"""下载完成 on the real program, with traffic on an interface that Wine
lists: a veth pair made by the test, one end moved into a network namespace
of its own, and a bounded stream of bytes sent from inside it to the end
beside it, for a fixed time. Nothing is sent anywhere else. Where this
machine cannot make a namespace, the test says so on its last line and skips."""
import os
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from bench import poll  # noqa: E402
from when import WhenBench  # noqa: E402

NS = "dusklet-%d" % os.getpid()
HOST, PEER = "dsk%d" % (os.getpid() % 10000), "dskp%d" % (os.getpid() % 10000)
HOST_IP, PEER_IP = "192.0.2.1", "192.0.2.2"
# 100 KB a second in datagrams of 1 KB, from the namespace to the host's end (the discard port).
STREAM = r"""
import socket, sys, time
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
end = time.monotonic() + float(sys.argv[1])
while time.monotonic() < end:
    for _ in range(10):
        s.sendto(b"x" * 1024, ("%s", 9))
    time.sleep(0.1)
""" % HOST_IP


def ip(*args, ns=None):
    cmd = (["ip", "netns", "exec", ns] if ns else []) + ["ip", *args]
    return subprocess.run(cmd, capture_output=True, text=True)


class Network:
    """The pair and the namespace, made; None where this machine cannot."""

    @staticmethod
    def make():
        steps = [lambda: ip("netns", "add", NS),
                 lambda: ip("link", "add", HOST, "type", "veth", "peer", "name", PEER),
                 lambda: ip("link", "set", PEER, "netns", NS),
                 lambda: ip("addr", "add", HOST_IP + "/30", "dev", HOST),
                 lambda: ip("link", "set", HOST, "up"),
                 lambda: ip("addr", "add", PEER_IP + "/30", "dev", PEER, ns=NS),
                 lambda: ip("link", "set", PEER, "up", ns=NS)]
        for step in steps:
            done = step()
            if done.returncode != 0:
                Network.remove()
                return done.stderr.strip() or "ip failed"
        mac = open("/sys/class/net/%s/address" % HOST).read().strip()
        # Address resolution across the pair fails here: a static neighbour lets the stream flow.
        done = ip("neigh", "replace", HOST_IP, "lladdr", mac, "dev", PEER, "nud", "permanent", ns=NS)
        if done.returncode != 0:
            Network.remove()
            return done.stderr.strip()
        return None

    @staticmethod
    def remove():
        ip("link", "del", HOST)  # takes its peer with it
        ip("netns", "del", NS)

    @staticmethod
    def stream(seconds):
        return subprocess.Popen(["ip", "netns", "exec", NS, sys.executable, "-c", STREAM, str(seconds)],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


class DownloadDone(WhenBench):
    def setUp(self):
        why = Network.make()
        if why:
            print("The network test was skipped: this machine cannot make a network namespace (%s)." % why,
                  file=sys.stderr)
            self.skipTest("no network namespace: " + why)
        self.addCleanup(Network.remove)
        super().setUp()

    def test_no_call_while_the_stream_runs_and_the_call_after_a_quiet_minute_and_the_warning(self):
        stream = Network.stream(40)
        self.addCleanup(stream.kill)
        self.start_armed("/l", "/net", "1", "/kb", "20", "/w", "5")
        b = self.bench
        b.tray_double_click()  # the window shows the rate and the quiet time
        self.assertTrue(poll(lambda: b.text("lblStatus").startswith("网络 ") and
                             int(b.text("lblStatus").split()[1]) >= 50, 15), b.text("lblStatus"))
        stream.wait(60)
        stopped = time.monotonic()
        self.assertFalse(self.panels(), "warned while the stream ran")
        self.assertEqual(self.calls(), [])
        self.assertFalse(poll(self.panels, 55), "warned before a quiet minute")
        self.assertTrue(poll(self.panels, 15), "no warning after a quiet minute")
        self.assertFalse(poll(self.calls, stopped + 85 - time.monotonic()), "the action came before its warning ran")
        self.wait_for_the_call(stopped + 105 - time.monotonic())


if __name__ == "__main__":
    unittest.main(verbosity=2)
