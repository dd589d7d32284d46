#!/usr/bin/env bash
# Installs what is missing, builds, and starts the window.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLABY_TESTS=OFF >/dev/null
cmake --build build -j2
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display here: the window needs one. Use build/bin/quillaby-batch --help to extract from the command line."
  exit 0
fi
# The window takes no arguments: archives come in by drop or its open dialog.
exec build/bin/quillaby
