#!/usr/bin/env bash
# Installs what is missing, builds, and starts the window.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLABY_TESTS=OFF >/dev/null
cmake --build build -j2
if [ ! -x build/bin/quillaby ]; then
  echo "The window is not built yet; build/bin holds what there is."
  exit 0
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display here: the window needs one. Use build/bin/quillaby-batch --help to extract from the command line."
  exit 0
fi
exec build/bin/quillaby "$@"
