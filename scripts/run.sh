#!/usr/bin/env bash
# Starts the file manager. Without a display it runs under Xvfb, saves a screenshot of the main window and exits.
set -euo pipefail
build=${1:-build}
shift || true
exe="$build/bin/orvo"
# The desktop entry and icon go to a staging prefix inside the build folder, which the program's data
# folders then include, so it finds its own icon as the desktop would after an install.
stage="$(pwd)/$build/stage"
cmake --install "$build" --prefix "$stage" >/dev/null
export XDG_DATA_DIRS="$stage/share:${XDG_DATA_DIRS:-/usr/local/share:/usr/share}"
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$exe" "$@"
fi
shot="$(pwd)/$build/orvo-screenshot.png"
rm -f "$shot"
ORVO_SCREENSHOT="$shot" xvfb-run -a -s "-screen 0 1280x800x24" "$exe" "$@"
if [ -f "$shot" ]; then
  echo "No display: Orvo ran under Xvfb; screenshot of the main window saved to $build/orvo-screenshot.png"
else
  echo "No display: Orvo ran under Xvfb, but no screenshot was written" >&2
  exit 1
fi
