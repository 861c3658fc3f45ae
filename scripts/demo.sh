#!/usr/bin/env bash
# Runs the main job on the shipped example: tamrix-host opens the example article in a
# fresh home folder, selects its main block, saves it with Ctrl+S into a new repository
# prints what was stored and writes the latest-entries page to an HTML file.
set -euo pipefail
build=${1:-build}
host="$build/stage/bin/tamrix-host"
if [[ ! -x "$host" ]]; then
  echo "tamrix-host is not built; run 'make demo' or build the tree first." >&2
  exit 1
fi
exec "$host" demo
