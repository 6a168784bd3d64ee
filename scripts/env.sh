# Sourced by the other scripts: the checkout's private Wine prefix and a display.
# Everything lives under the checkout, so two checkouts never share a prefix.

VARO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
VARO_CACHE="$VARO_ROOT/.cache"
export WINEPREFIX="$VARO_CACHE/wine"
export WINEARCH=win64
export WINEDEBUG=-all
# No Mono or Gecko installer dialogs when the prefix is created.
export WINEDLLOVERRIDES="mscoree,mshtml="
VARO_BUILD="${VARO_BUILD:-$VARO_ROOT/build}"

# Uses the display that is set, else the checkout's own Xvfb (started when
# it is not running yet).
varo_ensure_display() {
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
        return 0
    fi
    mkdir -p "$VARO_CACHE"
    if [ -f "$VARO_CACHE/xvfb.display" ]; then
        export DISPLAY=$(cat "$VARO_CACHE/xvfb.display")
        xdpyinfo >/dev/null 2>&1 && return 0
    fi
    local n i
    for n in $(seq 91 140); do
        { [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; } && continue
        nohup Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >"$VARO_CACHE/xvfb.log" 2>&1 &
        export DISPLAY=":$n"
        for i in $(seq 1 50); do
            if xdpyinfo >/dev/null 2>&1; then
                echo "$DISPLAY" >"$VARO_CACHE/xvfb.display"
                return 0
            fi
            sleep 0.1
        done
        echo "Xvfb did not start on :$n" >&2
        return 1
    done
    echo "no free X display number" >&2
    return 1
}

# The Linux path of a Windows program under Wine, as Wine sees it (Z: is /).
varo_winpath() {
    local p
    p=$(readlink -f "$1")
    printf 'Z:%s' "${p//\//\\}"
}
