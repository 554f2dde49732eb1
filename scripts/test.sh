#!/bin/sh
# Command 2: build the three trees and run every test: the native cores first, then
# the Windows programs under Wine on one virtual display.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/configure.sh"

log=$(mktemp -d)
ctest --test-dir "$root/build/native" -j 2 --output-on-failure --timeout 600 \
    2>&1 | tee "$log/native" || true

# One X display and one wineserver for the whole Windows run; the first start
# creates the prefix.
prefix="$root/build/win64/wineprefix"
WINEPREFIX="$prefix" xvfb-run -a -s "-screen 0 1280x1024x24" sh -c "
    '$root/cmake/wine-run.sh' cmd /c exit 0 >/dev/null 2>&1 || true
    ctest --test-dir '$root/build/win64' -j 2 --output-on-failure --timeout 600
" 2>&1 | tee "$log/win" || true
WINEPREFIX="$prefix" /usr/lib/wine/wineserver -k 2>/dev/null || true

# One closing line for both runs.
status=0; total=0; failed=0
for f in "$log/native" "$log/win"; do
    line=$(grep "tests failed out of" "$f" | tail -1)
    if [ -z "$line" ]; then status=1; continue; fi
    n=$(echo "$line" | sed 's/.*out of \([0-9]*\).*/\1/')
    k=$(echo "$line" | sed 's/.*, \([0-9]*\) tests failed.*/\1/')
    total=$((total + n)); failed=$((failed + k))
done
[ "$failed" -eq 0 ] || status=1
echo "tests: $((total - failed)) passed, $failed failed"
exit $status
