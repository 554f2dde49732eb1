# Sourced by the scripts that show the programs under Wine as a Korean user sees them:
# a Korean setting, NanumGothic for the Korean and dialog fonts, and the window frames drawn by
# one Wine desktop.

# korean_locale [FOLDER]: the Korean setting (LANG, LC_ALL) for every program started from
# here. With FOLDER, a system without its own Korean locale gets one compiled there (localedef
# makes the locale's own folder, not the folders above it; a folder kept from an earlier run is
# reused) and found through LOCPATH; without a Korean locale Wine's file names cannot hold
# Korean. Fails when it cannot be compiled.
korean_locale() {
    export LANG=ko_KR.UTF-8 LC_ALL=ko_KR.UTF-8
    [ -n "${1:-}" ] || return 0
    locale -a 2>/dev/null | grep -qi '^ko_KR.utf-\?8$' && return 0
    if [ ! -f "$1/ko_KR.UTF-8/LC_CTYPE" ]; then
        mkdir -p "$1"
        localedef -i ko_KR -f UTF-8 "$1/ko_KR.UTF-8" >/dev/null 2>&1 || true
    fi
    export LOCPATH="$1"
    [ -f "$1/ko_KR.UTF-8/LC_CTYPE" ]
}

# wine_prefix_look LOADER SIZE [FACE...]: sets up $WINEPREFIX with the Wine loader LOADER
# (made first when it has no registry yet), NanumGothic standing in for "굴림", Gulim, Tahoma,
# "MS Shell Dlg" and each FACE, and, when SIZE (WxH) is given, every program of the prefix on
# one Wine desktop of that size, which draws the window frames. Returns once the prefix's
# registry is saved.
wine_prefix_look() {
    look_loader=$1
    look_size=$2
    shift 2
    [ -f "$WINEPREFIX/system.reg" ] || "$look_loader" wineboot -i >/dev/null 2>&1 </dev/null
    # Wine draws the caption buttons (close box) with its Marlett font, which this Wine does not
    # find in its own data folder: the prefix's font folder gets a copy.
    look_marlett=/usr/share/wine/fonts/marlett.ttf
    [ -f "$look_marlett" ] && cp "$look_marlett" "$WINEPREFIX/drive_c/windows/Fonts/"
    for look_face in 굴림 Gulim Tahoma "MS Shell Dlg" "$@"; do
        "$look_loader" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$look_face" \
            /d NanumGothic /f >/dev/null 2>&1 </dev/null
    done
    if [ -n "$look_size" ]; then
        "$look_loader" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f \
            >/dev/null 2>&1 </dev/null
        "$look_loader" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default \
            /d "$look_size" /f >/dev/null 2>&1 </dev/null
    fi
    /usr/lib/wine/wineserver -w
}
