#!/usr/bin/env bash
# Stages the folder the program starts in: the model templates and the plotting script from
# resources/, the schema pictures drawn by the build, and the sample data when there is any.
# The stand-ins stay beside the program, where the launcher finds them.
# Usage: scripts/stage-workdir.sh BUILD_DIR WORKDIR
set -euo pipefail
if [ $# -ne 2 ]; then
  echo "usage: $0 BUILD_DIR WORKDIR" >&2
  exit 2
fi
repo=$(cd "$(dirname "$0")/.." && pwd)
build=$1
workdir=$2
mkdir -p "$workdir"
shopt -s nullglob
copied=0
for file in "$repo"/resources/*.gms "$repo"/resources/*.m "$repo"/resources/samples/*.txt; do
  cp -f "$file" "$workdir/"
  copied=$((copied + 1))
done
pictures=("$build"/resources/schema*.bmp)
if [ ${#pictures[@]} -eq 0 ]; then
  echo "No schema pictures in $build/resources: build the program first." >&2
  exit 1
fi
cp -f "${pictures[@]}" "$workdir/"
echo "Staged $((copied + ${#pictures[@]})) files in $workdir"
