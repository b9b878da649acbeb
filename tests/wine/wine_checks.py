"""What the wine tests share: counting their checks, the closing line and
exit code, and where the launcher stages its files under wine's TEMP."""
import os
import subprocess
import sys

STAGING_NAME = "Inst-Setup_Velmora9_Win64"


class Checks:
    def __init__(self):
        self.count = 0
        self.failures = []

    def check(self, condition, what):
        self.count += 1
        if not condition:
            self.failures.append(what)
            print("FAILED:", what)

    def finish(self):
        print(f"{self.count - len(self.failures)} passed, {len(self.failures)} failed")
        sys.exit(1 if self.failures else 0)


def wine_output(wine, env, *args):
    return subprocess.run([wine, *args], env=env, capture_output=True, text=True,
                          timeout=120).stdout.strip()


def staging_folder(wine, env):
    """wine's TEMP as Windows sees it, and the staging folder on this side."""
    temp = wine_output(wine, env, "cmd.exe", "/c", "echo %TEMP%")
    unix_temp = wine_output(wine, env, "winepath.exe", "-u", temp)
    return temp, os.path.join(unix_temp, STAGING_NAME)
