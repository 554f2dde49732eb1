#!/bin/sh
# Command 1: install what is missing, build every deliverable into dist/, run the main job.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
TD_TREES=win32 TD_TARGET=release "$root/scripts/configure.sh"
rm -rf "$root/dist"
cmake --install "$root/build/win32" --prefix "$root/dist" >/dev/null

echo "dist/:"
for f in "$root"/dist/*; do
    printf '  %-22s %8d bytes\n' "$(basename "$f")" "$(stat -c %s "$f")"
done
