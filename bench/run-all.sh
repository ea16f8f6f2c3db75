#!/usr/bin/env bash
# Runs the benchmarks against a build folder: bench/run-all.sh BUILD_DIR [fit_bench options]
set -euo pipefail
build=${1:?usage: bench/run-all.sh BUILD_DIR [--sizes 30,300,3000] [--seeds 5] [--repeat 3]}
shift
here=$(cd "$(dirname "$0")" && pwd)
# SciPy is Debian's python3-scipy, so the system interpreter, not whatever python3 is first.
exec /usr/bin/python3 "$here/fit_bench.py" "$build" "$@"
