"""scripts/setup.sh against stand-ins for apt-get, dpkg and dpkg-query on
PATH, as a mirror caught mid-sync makes them answer: a failed index update
is said and not fatal, a failed install is tried once more with the base
release preferred, and when that fails too the packages left out are named."""
import os
import stat
import subprocess
import tempfile
import unittest

SETUP = os.path.join(os.path.dirname(__file__), "..", "..", "scripts", "setup.sh")

# Each stand-in appends its arguments to calls.log and answers as FAIL (a
# space-separated list of what fails: "update", "install", "install-t") says.
STANDINS = {
    "apt-get": """#!/bin/sh
echo "apt-get $*" >> "$STANDIN/calls.log"
case "$1" in
  update) case " $FAIL " in *" update "*) exit 100;; esac ;;
  install)
    case "$*" in *" -t "*) kind=install-t;; *) kind=install;; esac
    case " $FAIL " in *" $kind "*) exit 100;; esac
    touch "$STANDIN/installed" ;;
esac
exit 0
""",
    "dpkg": """#!/bin/sh
[ "$1" = --print-foreign-architectures ] && echo i386
exit 0
""",
    # Every package is missing (but with ALL_INSTALLED) until an install
    # succeeds; then all but wine32:i386 are there.
    "dpkg-query": """#!/bin/sh
for p; do :; done
if [ -n "$ALL_INSTALLED" ] || { [ -e "$STANDIN/installed" ] && [ "$p" != wine32:i386 ]; }; then
  printf 'install ok installed'
fi
exit 0
""",
    "sudo": """#!/bin/sh
exec "$@"
""",
}


def codename():
    with open("/etc/os-release") as f:
        return dict(line.strip().split("=", 1) for line in f if "=" in line)["VERSION_CODENAME"].strip('"')


class Setup(unittest.TestCase):
    def run_setup(self, fail, all_installed=False):
        folder = tempfile.mkdtemp(prefix="dusklet-setup-")
        self.addCleanup(subprocess.run, ["rm", "-rf", folder])
        for name, body in STANDINS.items():
            path = os.path.join(folder, name)
            with open(path, "w") as f:
                f.write(body)
            os.chmod(path, stat.S_IRWXU)
        env = dict(os.environ, PATH=folder + os.pathsep + os.environ["PATH"], STANDIN=folder, FAIL=fail,
                   ALL_INSTALLED="1" if all_installed else "")
        done = subprocess.run(["bash", SETUP], env=env, capture_output=True, text=True, timeout=60)
        log = os.path.join(folder, "calls.log")
        calls = open(log).read().splitlines() if os.path.exists(log) else []
        return done, calls

    def test_a_mirror_in_sync_is_said_and_the_base_release_installs(self):
        done, calls = self.run_setup("update install")
        self.assertEqual(done.returncode, 0, done.stderr)
        self.assertIn("apt-get update failed", done.stderr)
        self.assertIn("base release (%s)" % codename(), done.stderr)
        installs = [c for c in calls if c.startswith("apt-get install")]
        self.assertEqual(len(installs), 2, calls)
        self.assertNotIn(" -t ", installs[0])
        self.assertIn(" -t %s " % codename(), installs[1])

    def test_when_both_installs_fail_it_names_the_packages_and_fails(self):
        done, calls = self.run_setup("install install-t")
        self.assertNotEqual(done.returncode, 0)
        self.assertIn("could not install:", done.stderr)
        self.assertIn("wine32:i386", done.stderr.split("could not install:")[1])
        self.assertEqual(len([c for c in calls if c.startswith("apt-get install")]), 2, calls)

    def test_it_installs_only_what_is_missing(self):
        done, calls = self.run_setup("", all_installed=True)
        self.assertEqual((done.returncode, calls), (0, []), done.stderr)
        done, calls = self.run_setup("")
        self.assertEqual(done.returncode, 0, done.stderr)
        self.assertEqual(len([c for c in calls if c.startswith("apt-get install")]), 1, calls)


if __name__ == "__main__":
    unittest.main(verbosity=2)
