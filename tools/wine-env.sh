# Sourced by the run and test scripts: one Xvfb display and one Wine prefix in the build tree,
# set up so that every Wine program runs inside a virtual desktop with a taskbar. Under a
# virtual desktop hiding other programs' windows does not stall.

VELT_SCREEN=${VELT_SCREEN:-1024x768}

# velt_wine_environment DIR: the variables every Wine program of the prefix at DIR runs with.
velt_wine_environment() {
    WINEPREFIX=$(realpath -m "$1")
    export WINEPREFIX
    export WINEARCH=win64
    export WINEDEBUG=-all
    # No Mono or Gecko: nothing here needs them, and their installers would ask.
    case "${WINEDLLOVERRIDES:-}" in
    mscoree,mshtml=*) ;;
    *) export WINEDLLOVERRIDES="mscoree,mshtml=${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}" ;;
    esac
}

# velt_wine_prefix DIR: use (and on first use create) the prefix at DIR. A prefix is marked ready
# only once it was created completely; a failed creation is tried again next time.
velt_wine_prefix() {
    velt_wine_environment "$1"
    if [ ! -f "$WINEPREFIX/.velt-ready" ]; then
        echo "Creating the Wine prefix in $WINEPREFIX (about 15 s, once)"
        mkdir -p "$WINEPREFIX" || return 1
        if ! wineboot -i >/dev/null 2>&1; then
            echo "wineboot could not create the Wine prefix in $WINEPREFIX" >&2
            return 1
        fi
        local reg status=0
        reg=$(mktemp --suffix=.reg)
        # "shell" is the desktop name for which Wine shows a taskbar and notification area.
        cat >"$reg" <<REG
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]
"Desktop"="shell"

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]
"shell"="$VELT_SCREEN"
REG
        wine regedit "$reg" >/dev/null 2>&1 || status=$?
        rm -f "$reg"
        wineserver -w || true
        if [ "$status" -ne 0 ]; then
            echo "The virtual desktop could not be set in the Wine prefix $WINEPREFIX" >&2
            return 1
        fi
        touch "$WINEPREFIX/.velt-ready"
    fi
    # Start Wine's own background processes (desktop, services) now, with their output detached:
    # started by a test instead, they would inherit its output pipe and keep ctest waiting.
    wineserver -p60 >/dev/null 2>&1 || true # already running is fine
    wine reg query 'HKCU\Software\Wine\Explorer' >/dev/null 2>&1 || true
}

# velt_display_start: a private Xvfb display, exported as DISPLAY.
velt_display_start() {
    local fdfile
    fdfile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 "${VELT_SCREEN}x24" -nolisten tcp 3>"$fdfile" </dev/null \
        >/dev/null 2>&1 &
    VELT_XVFB_PID=$!
    for _ in $(seq 100); do
        [ -s "$fdfile" ] && break
        sleep 0.1
    done
    if [ ! -s "$fdfile" ]; then
        rm -f "$fdfile"
        echo "Xvfb did not start (package xvfb)" >&2
        return 1
    fi
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
