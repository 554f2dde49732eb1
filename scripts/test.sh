#!/bin/sh
# Command 2: build the three trees and run every test: the native cores first, then
# the Windows programs under Wine on a virtual display: the x64 build, then the PE32
# release build under Wine's 32-bit side.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"

log=$(mktemp -d)
trap 'rm -rf "$log"' EXIT
times=""
now() { date +%s; }

# Build times per tree, then test times, for the closing summary.
for tree in win32 win64 native; do
    start=$(now)
    TD_TREES=$tree "$root/scripts/configure.sh"
    times="$times $tree build $(($(now) - start)) s;"
done

start=$(now)
ctest --test-dir "$root/build/native" -j 2 --output-on-failure --timeout 600 \
    2>&1 | tee "$log/native" || true
times="$times native tests $(($(now) - start)) s;"

# Per Windows tree: one X display and one wineserver for the whole run, in the tree's
# own prefix. The first start creates the prefix; a PE32 start then pays the 32-bit
# side's first load before any test is timed.
for tree in win64 win32; do
    start=$(now)
    prefix="$root/build/$tree/wineprefix"
    WINEPREFIX="$prefix" xvfb-run -a -s "-screen 0 1280x1024x24" sh -c "
        '$root/cmake/wine-run.sh' cmd /c exit 0 >/dev/null 2>&1 || true
        if [ $tree = win32 ]; then
            '$root/cmake/wine-run.sh' '$prefix/drive_c/windows/syswow64/cmd.exe' /c exit 0 \
                >/dev/null 2>&1 || true
        fi
        ctest --test-dir '$root/build/$tree' -j 2 --output-on-failure --timeout 600
    " 2>&1 | tee "$log/$tree" || true
    WINEPREFIX="$prefix" /usr/lib/wine/wineserver -k 2>/dev/null || true
    # A prefix holds over a gigabyte of Wine's files; the next run makes it again.
    rm -rf "$prefix"
    times="$times $tree tests $(($(now) - start)) s;"
done
echo "times:$times"

# One closing line for every run.
status=0; total=0; failed=0
for f in "$log/native" "$log/win64" "$log/win32"; do
    line=$(grep "tests failed out of" "$f" | tail -1)
    if [ -z "$line" ]; then status=1; continue; fi
    n=$(echo "$line" | sed 's/.*out of \([0-9]*\).*/\1/')
    k=$(echo "$line" | sed 's/.*, \([0-9]*\) tests failed.*/\1/')
    total=$((total + n)); failed=$((failed + k))
done
[ "$failed" -eq 0 ] || status=1
echo "tests: $((total - failed)) passed, $failed failed"
exit $status
