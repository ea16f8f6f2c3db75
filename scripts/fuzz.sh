#!/usr/bin/env bash
# Runs every fuzz target for FUZZ_SECONDS (default 60) each, from the seed corpus in fuzz/corpus
# (copied, so the repo's seeds stay as they are). Crashes land in build/fuzz/findings/.
set -euo pipefail
build=$(cd "${1:-build/fuzz}" && pwd)  # absolute: a target may change its folder
seconds=${FUZZ_SECONDS:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$build/findings"
status=0
for target in $(ls "$build"/bin/fuzz_* 2>/dev/null); do
  name=$(basename "$target")
  work="$build/corpus/$name"
  mkdir -p "$work"
  if [ -d "$root/fuzz/corpus/$name" ]; then cp -n "$root/fuzz/corpus/$name"/* "$work"/ 2>/dev/null || true; fi
  echo "== $name: ${seconds}s"
  if ! "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 \
      -artifact_prefix="$build/findings/$name-" -print_final_stats=1 "$work" \
      > "$build/$name.log" 2>&1; then
    echo "   FOUND A PROBLEM: see $build/$name.log and $build/findings/"
    status=1
  fi
  grep -E 'stat::number_of_executed_units|stat::peak_rss_mb' "$build/$name.log" | sed 's/^/   /'
done
exit $status
