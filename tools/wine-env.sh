# Sourced by the run and test scripts: one Xvfb display and one Wine prefix in the build tree,
# set up so that every Wine program runs inside a virtual desktop with a taskbar. Under a
# virtual desktop hiding other programs' windows does not stall and every key reaches Wine.

VELT_SCREEN=${VELT_SCREEN:-1024x768}

# velt_wine_prefix DIR: use (and on first use create) the prefix at DIR.
velt_wine_prefix() {
    export WINEPREFIX="$1"
    export WINEARCH=win64
    export WINEDEBUG=-all
    # No Mono or Gecko: nothing here needs them, and their installers would ask.
    export WINEDLLOVERRIDES="mscoree,mshtml=${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
    if [ ! -f "$WINEPREFIX/.velt-ready" ]; then
        echo "Creating the Wine prefix in $WINEPREFIX (about 15 s, once)"
        mkdir -p "$WINEPREFIX"
        wineboot -i >/dev/null 2>&1 || true
        local reg
        reg=$(mktemp --suffix=.reg)
        # "shell" is the desktop name for which Wine shows a taskbar and notification area.
        cat >"$reg" <<REG
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]
"Desktop"="shell"

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]
"shell"="$VELT_SCREEN"
REG
        wine regedit "$reg" >/dev/null 2>&1
        rm -f "$reg"
        wineserver -w
        touch "$WINEPREFIX/.velt-ready"
    fi
    # Start Wine's own background processes (desktop, services) now, with their output detached:
    # started by a test instead, they would inherit its output pipe and keep ctest waiting.
    wineserver -p60 2>/dev/null || true # already running is fine
    wine reg query 'HKCU\Software\Wine\Explorer' >/dev/null 2>&1 || true
}

# velt_display_start: a private Xvfb display, exported as DISPLAY.
velt_display_start() {
    local fdfile
    fdfile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 "${VELT_SCREEN}x24" -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
    VELT_XVFB_PID=$!
    for _ in $(seq 100); do
        [ -s "$fdfile" ] && break
        sleep 0.1
    done
    export DISPLAY=":$(head -n1 "$fdfile")"
    rm -f "$fdfile"
}

# velt_wine_stop: ends every Wine process of the prefix and the private display.
velt_wine_stop() {
    [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1 || true
    if [ -n "${VELT_XVFB_PID:-}" ]; then
        kill "$VELT_XVFB_PID" >/dev/null 2>&1 || true
        wait "$VELT_XVFB_PID" 2>/dev/null || true
        VELT_XVFB_PID=
    fi
}
