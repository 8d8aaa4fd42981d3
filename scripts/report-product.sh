#!/usr/bin/env bash
# Lists which parts of a staged Veltrane are still there (run inside the Wine session).
set -uo pipefail
: "${WINEPREFIX:?run inside tests/wine/with-wine.sh}"
wine_path() { "$VT_WINE" winepath -u "$1" 2>/dev/null | tr -d '\r'; }
drive_c="$WINEPREFIX/drive_c"
appdata=$(wine_path "$("$VT_WINE" cmd /c echo %APPDATA% | tr -d '\r')")

show() { if [[ -e "$2" ]]; then echo "  present  $1"; else echo "  absent   $1"; fi; }
echo "Files and folders:"
app="$drive_c/Program Files/Veltrane"
show 'C:\Program Files\Veltrane' "$app"
if [[ -d "$app" ]]; then
    (cd "$app" && find . -mindepth 1 | sort | sed 's|^\./|    |')
fi
show '%APPDATA%\Veltrane' "$appdata/Veltrane"
show 'Quick Launch\Veltrane.lnk' "$appdata/Microsoft/Internet Explorer/Quick Launch/Veltrane.lnk"
show 'Desktop\Veltrane.lnk' "$(wine_path "$("$VT_WINE" cmd /c echo %USERPROFILE% | tr -d '\r')")/Desktop/Veltrane.lnk"
show 'Start menu group Veltrane' "$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Veltrane"

echo "Registry:"
key() {
    if "$VT_WINE" reg query "$1" >/dev/null 2>&1; then echo "  present  $1"; else echo "  absent   $1"; fi
}
value() {
    if "$VT_WINE" reg query "$1" /v "$2" >/dev/null 2>&1; then
        echo "  present  $1 : $2"
    else
        echo "  absent   $1 : $2"
    fi
}
key 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Veltrane_is1'
value 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' Veltrane
key 'HKCR\.vtp'
key 'HKCR\Veltrane.Tessaly'
key 'HKCU\Software\Veltrane'
key 'HKCR\vtLanguage_german.clsLanguage'
value 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' MyTool
value 'HKLM\Software\Microsoft\Windows\CurrentVersion\Run' SomeApp
