#!/usr/bin/env python3
"""Runs the Windows launcher under wine64 on a virtual display with a
read-only "Readme.txt" in its staging folder: its application window must
carry the title "Setup_Velmora9_Win64" while the report of the uncaught
failure, a message box titled "Anwendungsfehler", waits for the user;
pressing Return ends the launcher with exit code 1, rows 1 to 3 written and
"Readme.txt" unchanged.

usage: report_under_wine.py WINE LAUNCHER
"""
import os
import shutil
import stat
import subprocess
import sys
import time

from wine_checks import Checks, staging_folder

wine, launcher = sys.argv[1:3]
checks = Checks()
check = checks.check


def xdotool(*args):
    result = subprocess.run(["xdotool", *args], capture_output=True, text=True, env=env)
    return result.stdout.split()


display = ":%d" % (90 + os.getpid() % 100)
xvfb = subprocess.Popen(["Xvfb", display, "-screen", "0", "800x600x24", "-nolisten", "tcp"],
                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
env = dict(os.environ, WINEDEBUG="-all", DISPLAY=display)
try:
    time.sleep(1)
    _, staging = staging_folder(wine, env)
    shutil.rmtree(staging, ignore_errors=True)
    os.makedirs(staging)
    readme = os.path.join(staging, "Readme.txt")
    with open(readme, "w") as f:
        f.write("an old read-only Readme")
    os.chmod(readme, stat.S_IRUSR | stat.S_IRGRP | stat.S_IROTH)

    process = subprocess.Popen([wine, launcher], env=env)
    box = []
    for _ in range(300):
        box = xdotool("search", "--name", "^Anwendungsfehler$")
        if box or process.poll() is not None:
            break
        time.sleep(0.1)
    check(box, "a message box titled Anwendungsfehler appears")
    check(xdotool("search", "--name", "^Setup_Velmora9_Win64$"),
          "the application window carries the title while the report waits")
    check(process.poll() is None, "the launcher waits for the report to be closed")
    for window in box:
        xdotool("windowactivate", "--sync", window)
        xdotool("key", "--window", window, "Return")
    try:
        code = process.wait(timeout=30)
    except subprocess.TimeoutExpired:
        process.kill()
        code = None
    check(code == 1, f"exit code {code}, expected 1")
    check(sorted(os.listdir(staging)) == sorted(["Velmora.ex_", "Velmora.cHel_", "Twain32.dl_",
                                                  "Readme.txt"]),
          f"rows 1 to 3 and the old Readme.txt only: {sorted(os.listdir(staging))}")
    check(open(readme).read() == "an old read-only Readme", "Readme.txt unchanged")
    os.chmod(readme, stat.S_IRUSR | stat.S_IWUSR)
    shutil.rmtree(staging, ignore_errors=True)
finally:
    xvfb.terminate()
    xvfb.wait()

checks.finish()
