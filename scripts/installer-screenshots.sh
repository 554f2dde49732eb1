#!/bin/sh
# Takes the README's pictures of the installer's wizard into docs/: welcome, folder, components
# progress (done) and finish pages, in Korean. Runs dist/tessaly-setup.exe (or the one named) in a Wine prefix
# of its own on a virtual display, with NanumGothic standing in for the wizard's font "굴림",
# and steps through the pages with the Enter key (xdotool); the install goes into the prefix.
# usage: scripts/installer-screenshots.sh [tessaly-setup.exe]
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
setup=$(realpath "${1:-$root/dist/tessaly-setup.exe}")
docs="$root/docs"
if [ "${2:-}" != "--shoot" ]; then
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    WORK=$work xvfb-run -a -s "-screen 0 640x480x24" sh "$0" "$setup" --shoot
    exit
fi

export WINEPREFIX="$WORK/prefix" WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
. "$root/scripts/wine-prefix-look.sh"
# A Korean setting; without the system's own Korean locale, Wine cannot name files in Korean
# (the start menu's "Tessaly 제거"), so one is compiled into the work folder.
korean_locale "$WORK/locale" || true
# One Wine desktop the size of the display.
wine_prefix_look /usr/lib/wine/wine64 640x480

mkdir -p "$docs"
# shot NAME: the wizard, trimmed to what stands on the desktop's plain background.
shot() {
    import -window root "$docs/$1"
    box=$(convert "$docs/$1" -fuzz 2% -format "%@" info:)
    convert "$docs/$1" -crop "$box" +repage "$docs/$1"
    echo "screenshots: docs/$1"
}
/usr/lib/wine/wine "$setup" >/dev/null 2>&1 </dev/null &
sleep 8
shot installer-welcome.png
xdotool key Return
sleep 2
shot installer-folder.png
xdotool key Return
sleep 2
shot installer-components.png
xdotool key Return
sleep 10
shot installer-progress.png
xdotool key Return
sleep 2
shot installer-finish.png
/usr/lib/wine/wineserver -k
