#!/usr/bin/env bash
# Stages an installed Veltrane in the current Wine session (run inside tests/wine/with-wine.sh):
# the installation folder with the uninstaller, its COM libraries and the installer's log, the
# per-user data, the Start-menu group and shortcuts, and the product's registry entries.
#   stage-product.sh UNINSTALLER_EXE COM_LIBRARY [LANGUAGE_COMPONENT]
# COM_LIBRARY is copied under the names of the product's libraries; it writes each of its
# unregistrations into the file that VT_UNREGISTER_RECORD names. With a language component
# (such as build/win64/Languages/german.dll) the product runs in that language: the component
# is installed in the Languages folder and registered through the system's regsvr32, as the
# product's installer does, and the product's language is set to it.
set -euo pipefail
uninstaller="$1"
library="$2"
component="${3:-}"
: "${WINEPREFIX:?run inside tests/wine/with-wine.sh}"

wine_path() { "$VT_WINE" winepath -u "$1" 2>/dev/null | tr -d '\r'; }
reg_add() { "$VT_WINE" reg add "$@" /f >/dev/null 2>&1; }

drive_c="$WINEPREFIX/drive_c"
app="$drive_c/Program Files/Veltrane"
appdata=$(wine_path "$("$VT_WINE" cmd /c echo %APPDATA% | tr -d '\r')")
desktop="$(wine_path "$("$VT_WINE" cmd /c echo %USERPROFILE% | tr -d '\r')")/Desktop"
[[ -d "$appdata" ]] || { echo "stage-product: no APPDATA folder ($appdata)" >&2; exit 1; }

mkdir -p "$app"/{Themes,Languages,PlugIns,Help}
cp "$uninstaller" "$app/unins000.exe"
# The product's programs: any executable will do, they are not started here.
for program in Veltrane Brendix Tessaly; do
    cp "$drive_c/windows/system32/notepad.exe" "$app/$program.exe"
done
for file in Orvale.dll SQLite.dll Themes/skin.dll Languages/german.dll; do
    cp "$library" "$app/$file"
done
for file in Readme.txt Licence.txt WhatsNew.txt Veltrane.url "Tessaly User's Manual.url" \
    tmpVt.log Themes/skin.dll.bak PlugIns/Cookies.vtp PlugIns/History.vtp Help/Manual.chm \
    page.html; do
    printf 'staged %s\n' "$file" >"$app/$file"
done
# The installer's log: paths behind a drive and ":\", each followed some time later by two
# NUL bytes, in a binary record layout of the installer's own.
{
    printf 'VT setup log 3\0\0\0\0'
    for file in Readme.txt Licence.txt WhatsNew.txt Veltrane.exe Brendix.exe Tessaly.exe \
        PlugIns\\Cookies.vtp PlugIns\\History.vtp Help\\Manual.chm Orvale.dll page.html \
        unins000.exe; do
        printf '\x01\x20C:\\Program Files\\Veltrane\\%s\x7f\x00\x00\x05' "$file"
    done
    printf '\x01\x20C:\\Program Files\\Veltrane\x01\x82\x02\x03\x00\x00'
} >"$app/unins000.dat"

mkdir -p "$appdata/Veltrane"
for file in Settings.ini CookieInfo.ini Stats.ini Recent.dat Uninstall.info; do
    printf 'user data %s\n' "$file" >"$appdata/Veltrane/$file"
done
mkdir -p "$appdata/Microsoft/Internet Explorer/Quick Launch" "$desktop"
printf 'shortcut\n' >"$appdata/Microsoft/Internet Explorer/Quick Launch/Veltrane.lnk"
printf 'shortcut\n' >"$desktop/Veltrane.lnk"
group="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Veltrane"
mkdir -p "$group"
printf 'shortcut\n' >"$group/Veltrane.lnk"
printf 'shortcut\n' >"$group/Uninstall Veltrane.lnk"

reg_add 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Veltrane_is1' \
    /v DisplayName /d Veltrane
reg_add 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Veltrane_is1' \
    /v UninstallString /d '"C:\Program Files\Veltrane\unins000.exe"'
reg_add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' /v Veltrane \
    /d '"C:\Program Files\Veltrane\Veltrane.exe" /min'
reg_add 'HKCR\.vtp' /ve /d Veltrane.Tessaly
reg_add 'HKCR\Veltrane.Tessaly' /ve /d 'Veltrane plug-in'
reg_add 'HKCR\Veltrane.Tessaly\DefaultIcon' /ve /d 'C:\Program Files\Veltrane\Tessaly.exe,0'
reg_add 'HKCR\Veltrane.Tessaly\shell\open\command' /ve \
    /d '"C:\Program Files\Veltrane\Tessaly.exe" "%1"'
if [[ -n "$component" ]]; then
    language=$(basename "$component" .dll)
    cp "$component" "$app/Languages/$language.dll"
    "$VT_WINE" 'C:\windows\system32\regsvr32.exe' /s \
        "C:\\Program Files\\Veltrane\\Languages\\$language.dll" ||
        { echo "stage-product: regsvr32 could not register $language.dll" >&2; exit 1; }
    reg_add 'HKCU\Software\Veltrane' /v Language /d "$language"
else
    reg_add 'HKCU\Software\Veltrane' /v Language /d english_uk
fi
reg_add 'HKCU\Software\Veltrane\Settings' /v Theme /d Blue
reg_add 'HKCU\Software\Veltrane\Schedule' /v Daily /t REG_DWORD /d 1
reg_add 'HKCU\Software\Veltrane\StartUp' /v 'HKCU:My Tool' /d 'C:\Tools\mytool.exe'
reg_add 'HKCU\Software\Veltrane\StartUp' /v 'HKLM:Some App' /d 'C:\Tools\someapp.exe /q'
echo "staged C:\\Program Files\\Veltrane"
