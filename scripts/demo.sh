#!/usr/bin/env bash
# Builds the launcher natively and runs it end to end on the demo payload:
# TMPDIR points at build/demo-tmp, so the staging folder is
# build/demo-tmp/Inst-Setup_Velmora9_Win64. Shows the staged files and the
# log that the demo next-stage program ("Setup.exe") writes there.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

cmake --preset native >/dev/null
cmake --build --preset native -j "$(nproc)" --target Setup_Velmora9_Win64

temp="$PWD/build/demo-tmp"
staging="$temp/Inst-Setup_Velmora9_Win64"
rm -rf "$temp"
mkdir -p "$temp"

echo "== running the launcher (TMPDIR=$temp)"
set +e
TMPDIR="$temp" build/native/launcher/Setup_Velmora9_Win64
code=$?
set -e
echo "exit code: $code"

# The launcher does not wait for the next stage: give it a moment.
for _ in $(seq 50); do
  grep -q '^result: ' "$staging/SetupDemo.log" 2>/dev/null && break
  sleep 0.1
done

echo "== staged into $staging"
ls -l "$staging"
echo "== $staging/SetupDemo.log (written by the expanded Setup.exe)"
cat "$staging/SetupDemo.log"
