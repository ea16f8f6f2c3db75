#!/usr/bin/env bash
# Runs every benchmark against a build folder: bench/run-all.sh BUILD_DIR [fit_bench options]
set -euo pipefail
build=${1:?usage: bench/run-all.sh BUILD_DIR [--sizes 30,300,3000] [--seeds 5] [--repeat 3]}
shift
here=$(cd "$(dirname "$0")" && pwd)
echo "== Fits: built-in engine against SciPy least_squares"
# SciPy is Debian's python3-scipy, so the system interpreter, not whatever python3 is first.
/usr/bin/python3 "$here/fit_bench.py" "$build" "$@"
if [ -x "$build/bin/large_inputs" ]; then
  echo
  echo "== Large inputs: the build and the results reader"
  "$build/bin/large_inputs"
fi
