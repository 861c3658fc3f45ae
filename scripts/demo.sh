#!/usr/bin/env bash
# Runs the main job on a shipped example. Until the host program exists it reports what
# the build holds so far and runs its checks.
set -euo pipefail
build=${1:-build}
host="$build/stage/bin/tamrix-host"
if [[ -x "$host" ]]; then
  exec "$host" demo
fi
echo "The host program is not built yet; these parts of Tamrix are built and checked:"
find "$build" -name '*_tests' -type f -perm -u+x -printf '  %f\n' | sed 's/_tests$//' | sort
ctest --test-dir "$build" -j "$(nproc)" 2>&1 | tail -n 3
