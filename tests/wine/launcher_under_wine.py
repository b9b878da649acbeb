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

wine, launcher, setup_demo, rc_path = sys.argv[1:5]
env = dict(os.environ, WINEDEBUG="-all")
failures = []
checks = 0


def check(condition, what):
    global checks
    checks += 1
    if not condition:
        failures.append(what)
        print("FAILED:", what)


def wine_output(*args):
    return subprocess.run([wine, *args], env=env, capture_output=True, text=True,
                          timeout=120).stdout.strip()


temp = wine_output("cmd.exe", "/c", "echo %TEMP%")
unix_temp = wine_output("winepath.exe", "-u", temp)
staging = os.path.join(unix_temp, "Inst-Setup_Velmora9_Win64")
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
check(f"\nworking directory: {temp}\\Inst-Setup_Velmora9_Win64\n" in log,
      "the next stage ran in the staging folder")
check("\nresult: 33 of 33 listed files present\n" in log, "the next stage found every file")

print(f"{checks - len(failures)} passed, {len(failures)} failed")
sys.exit(1 if failures else 0)
