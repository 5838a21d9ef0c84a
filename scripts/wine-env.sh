# Sourced by the scripts: a Wine prefix of the project's own, without the Mono and Gecko prompts.
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

# Wine names Unix files in the locale's character set: without UTF-8 (a bare POSIX locale, as on
# a fresh machine or in CI) a folder such as "Prüfung 日本" cannot even be created.
if [ "$(locale charmap 2>/dev/null)" != "UTF-8" ]; then
    export LC_ALL=C.UTF-8
fi

# Creates the prefix on first use (about 8 s) and starts a persistent wineserver for it.
wine_prefix_up() {
    export WINEPREFIX="$1"
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "Creating the Wine prefix $WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        wineboot -i >/dev/null 2>&1 || true
        wineserver -w
    fi
    # Wine's own fonts (fonts-wine) are not looked for outside the prefix here: without them "MS
    # Shell Dlg" falls back to a wider font and dialogs come out a sixth wider than on Windows.
    local fonts="$WINEPREFIX/drive_c/windows/Fonts"
    if [ -f /usr/share/wine/fonts/tahoma.ttf ] && [ ! -f "$fonts/tahoma.ttf" ]; then
        mkdir -p "$fonts" && cp /usr/share/wine/fonts/*.ttf "$fonts/"
    fi
    # Its output must not hold our pipes open after the run.
    wineserver -p >/dev/null 2>&1 </dev/null
}

wine_prefix_down() {
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
}
