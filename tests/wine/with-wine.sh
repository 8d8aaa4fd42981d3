#!/usr/bin/env bash
# Runs a command inside a throwaway Wine session: its own HOME, its own Wine prefix and its own
# virtual display, all removed again afterwards. Nothing of the machine's own files is reachable
# through the prefix: the folders that a new prefix links into $HOME (Desktop, Documents, ...)
# are replaced by real folders inside the prefix before anything runs.
#
#   tests/wine/with-wine.sh [--keep DIR] COMMAND [ARG...]
#
# Inside, WINEPREFIX, HOME, DISPLAY, WINEDEBUG and WINEDLLOVERRIDES are set, and VT_WINE names
# the 64-bit loader of the 64-bit prefix. With --keep DIR, or VT_WINE_SESSION=DIR, the session is
# made in DIR (once) and left there: sessions run one after another (never two at once) share it.
set -euo pipefail
# A set-up step that fails names itself, rather than ending the session without a word.
trap 'echo "with-wine.sh: line $LINENO: \"$BASH_COMMAND\" failed (status $?)" >&2' ERR

keep="${VT_WINE_SESSION:-}"
if [[ "${1:-}" == "--keep" ]]; then
    keep="$2"
    shift 2
fi
[[ $# -gt 0 ]] || { echo "usage: with-wine.sh [--keep DIR] COMMAND [ARG...]" >&2; exit 2; }

export VT_WINE=/usr/lib/wine/wine64
[[ -x "$VT_WINE" ]] || { echo "with-wine.sh: $VT_WINE not found (install wine64)" >&2; exit 2; }

if [[ -n "$keep" ]]; then
    mkdir -p "$keep"
    session=$(cd "$keep" && pwd)
else
    session=$(mktemp -d "${TMPDIR:-/tmp}/vt-wine.XXXXXX")
fi
export HOME="$session/home"
export WINEPREFIX="$session/prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
mkdir -p "$HOME"

xvfb_pid=""
cleanup() {
    local status=$?
    WINEPREFIX="$WINEPREFIX" /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
    WINEPREFIX="$WINEPREFIX" /usr/lib/wine/wineserver -w >/dev/null 2>&1 || true
    [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" >/dev/null 2>&1 || true
    [[ -z "$keep" ]] && rm -rf "$session"
    exit "$status"
}
trap cleanup EXIT INT TERM

# A virtual display of our own; Xvfb picks a free number and tells it through a pipe.
exec {display_fd}<> <(:)
Xvfb -displayfd "$display_fd" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
read -r -t 30 -u "$display_fd" display_number || { echo "with-wine.sh: Xvfb did not start" >&2; exit 1; }
exec {display_fd}<&-
export DISPLAY=":$display_number"

if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
    timeout 300 "$VT_WINE" wineboot --init >/dev/null 2>&1
    timeout 120 /usr/lib/wine/wineserver -w || echo "with-wine.sh: the Wine server still runs" >&2
    # Cut the links from the prefix into $HOME: a test that deletes a shortcut on the desktop
    # must only ever reach the prefix.
    for user_dir in "$WINEPREFIX"/drive_c/users/*/; do
        for link in "$user_dir"*; do
            if [[ -L "$link" ]]; then
                rm -f "$link"
                mkdir -p "$link"
            fi
        done
    done
    # Tahoma is the window's font; Marlett draws the caption buttons of the frames Wine draws.
    cp /usr/share/wine/fonts/tahoma*.ttf /usr/share/wine/fonts/marlett.ttf \
        "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    # No page a program opens may reach a browser of the machine: the session has none.
    for scheme in http https; do
        timeout 60 "$VT_WINE" reg delete "HKCR\\$scheme\\shell" /f </dev/null >/dev/null 2>&1 || true
    done
    # There is no window manager on the virtual display: without this, Wine waits for one
    # (about two seconds) every time a top-level window is hidden. (Limits against hangs only.)
    timeout 300 "$VT_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
        </dev/null >/dev/null 2>&1
    timeout 120 /usr/lib/wine/wineserver -w || echo "with-wine.sh: the Wine server still runs" >&2
fi

# A persistent server keeps later starts quick (one still running serves as well). Wine's
# background processes are started here, with no terminal or pipe of the caller's open in them.
/usr/lib/wine/wineserver -p </dev/null >/dev/null 2>&1 || true
timeout 120 "$VT_WINE" rundll32.exe user32.dll,GetDesktopWindow </dev/null >/dev/null 2>&1 || true
trap - ERR
"$@"
