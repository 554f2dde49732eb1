#!/bin/sh
# Takes the README's pictures of larkbell into docs/: the tray icon with its tool-tip, the tray
# menu, and both pages of the options dialog. Runs the demo (scripts/larkbell-demo.sh) on a
# virtual display and works it with the mouse and keys (xdotool).
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
if [ "$1" != "--shoot" ]; then
    unset DISPLAY
    exec "$root/scripts/larkbell-demo.sh" sh "$0" --shoot
fi

docs="$root/docs"
mkdir -p "$docs"
# The Wine desktop is 800 x 600 at the top left of the display; its notification area is at
# the right end of the taskbar, whose last 22 pixels hold the icon.
icon_x=790
icon_y=590

# shot NAME GEOMETRY: a part of the desktop.
shot() {
    import -window root -crop "$2" +repage "$docs/$1"
    echo "screenshots: docs/$1"
}
# dialog NAME: the desktop without its taskbar, trimmed to what stands on the plain background;
# box holds where that was (WxH+X+Y).
dialog() {
    import -window root "$docs/$1"
    convert "$docs/$1" -crop 800x578+0+0 +repage "$docs/$1"
    box=$(convert "$docs/$1" -fuzz 2% -format "%@" info:)
    convert "$docs/$1" -crop "$box" +repage "$docs/$1"
    echo "screenshots: docs/$1"
}

sleep 2
xdotool mousemove $((icon_x - 3)) $((icon_y - 2))
sleep 0.3
xdotool mousemove $icon_x $icon_y
sleep 2.5
shot larkbell-tooltip.png 360x90+440+510

xdotool click 3
sleep 1.5
shot larkbell-menu.png 360x200+440+400

xdotool key Down Down Return  # the second command: 설정(&O)...
sleep 1
xdotool mousemove 300 200  # away from the icon: its tool-tip goes
sleep 2
dialog larkbell-options-1.png
# The second page's tab, found from where the dialog stands.
set -- $(echo "$box" | tr 'x+' '  ')
xdotool mousemove $(($3 + 100)) $(($4 + 40)) click 1
sleep 1.5
dialog larkbell-options-2.png
xdotool key Escape
sleep 1
