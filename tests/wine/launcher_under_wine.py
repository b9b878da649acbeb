#!/usr/bin/env python3
"""Runs the Windows launcher under wine64 end to end: it must stage the 33
payload files byte for byte into <TEMP>\\Inst-Setup_Velmora9_Win64, expand
"Setup.exe" equal to the demo next-stage program, open it there (its log
shows every listed file present) and end with exit code 0.

usage: launcher_under_wine.py WINE LAUNCHER SETUP_DEMO RESOURCE_SCRIPT
"""
import os
import re
import shutil
import subprocess
import sys
import time

from wine_checks import STAGING_NAME, Checks, staging_folder

wine, launcher, setup_demo, rc_path = sys.argv[1:5]
env = dict(os.environ, WINEDEBUG="-all")
checks = Checks()
check = checks.check

temp, staging = staging_folder(wine, env)
shutil.rmtree(staging, ignore_errors=True)

result = subprocess.run([wine, launcher, "/ignored", "argument"], env=env, timeout=120)
check(result.returncode == 0, f"exit code {result.returncode}, expected 0")

names = re.findall(r'^TEST\d+ FILE "(.*)"$', open(rc_path).read(), re.M)
check(len(names) == 33, f"{len(names)} rows in the resource script")
for path in names:
    name = os.path.basename(path)
    staged = os.path.join(staging, name)
    check(os.path.isfile(staged) and open(staged, "rb").read() == open(path, "rb").read(),
          f"{name} staged byte for byte")

setup_exe = os.path.join(staging, "Setup.exe")
check(os.path.isfile(setup_exe) and
      open(setup_exe, "rb").read() == open(setup_demo, "rb").read(),
      "Setup.exe equals the demo next-stage program")

log_path = os.path.join(staging, "SetupDemo.log")
log = ""
for _ in range(200):
    if os.path.exists(log_path):
        log = open(log_path, encoding="utf-8", errors="replace").read()
        if "\nresult: " in log:
            break
    time.sleep(0.1)
check("\narguments: 0\n" in log, "the next stage got no arguments")
check(f"\nworking directory: {temp}\\{STAGING_NAME}\n" in log,
      "the next stage ran in the staging folder")
check("\nresult: 33 of 33 listed files present\n" in log, "the next stage found every file")

checks.finish()
