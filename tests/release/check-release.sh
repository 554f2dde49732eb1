#!/bin/sh
# Checks the release binaries as `cmake --install` puts them into dist/: each one the
# very file the PE32 tests ran (byte for byte the build's own), PE32 (i386), with a
# version resource, importing from system libraries only (no compiler run-time DLLs).
# usage: check-release.sh RELEASE_BIN_DIR REQUIRED_FILE...
# RELEASE_BIN_DIR is the bin folder of the PE32 build tree; the files named must ship.
set -e
bin=$1; shift
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cmake --install "$(dirname "$bin")" --prefix "$dir" >/dev/null
for name in "$@"; do
    [ -f "$dir/$name" ] || { echo "missing: $name"; exit 1; }
done
set -- $(cd "$dir" && ls)
allowed="kernel32.dll user32.dll gdi32.dll advapi32.dll shell32.dll comctl32.dll comdlg32.dll
msvcrt.dll winmm.dll wsock32.dll ws2_32.dll ole32.dll oleaut32.dll uuid.dll olepro32.dll
crypt32.dll"
failed=0
for name in "$@"; do
    file="$dir/$name"
    cmp -s "$file" "$bin/$name" || { echo "$name: installed file differs from $bin/$name"; failed=1; }
    dump=$(i686-w64-mingw32-objdump -p "$file")
    echo "$dump" | grep -q "^Magic.*(PE32)$" || { echo "$name: not PE32"; failed=1; }
    echo "$dump" | grep -q "file format pei-i386" || { echo "$name: not i386"; failed=1; }
    i686-w64-mingw32-objdump -h "$file" | grep -q "\.rsrc" || { echo "$name: no resources"; failed=1; }
    for dll in $(echo "$dump" | sed -n 's/.*DLL Name: //p' | tr 'A-Z' 'a-z'); do
        case " $(echo $allowed) " in
        *" $dll "*) ;;
        *) echo "$name: imports $dll"; failed=1 ;;
        esac
    done
    echo "$name: $(stat -c %s "$file") bytes, imports: $(echo "$dump" | sed -n 's/.*DLL Name: //p' | tr '\n' ' ')"
done
exit $failed
