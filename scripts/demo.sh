#!/usr/bin/env bash
# The main job: a real uninstall of a staged, installed Veltrane under Wine.
#
#   scripts/demo.sh [ANSWERS] [LANGUAGE]
#
# ANSWERS lists the answers to the uninstaller's boxes in order, separated by commas (yes, no,
# ok, cancel, or default for the box's default button). The default "yes,no,no,ok" confirms the
# removal, does not keep the settings, does not keep the plug-ins and closes the final message.
# LANGUAGE (such as german) stages the product in that language: its component is installed
# and registered as the product's installer does it, so the uninstaller speaks it too.
# Pictures of the window and the lists of what was there before and after go to out/demo/.
# VT_DEMO_DPI=144 shows the display at 144 dots per inch (150 %), as any other dots per inch.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
answers="${1:-yes,no,no,ok}"
language="${2:-}"
component=""
if [[ -n "$language" ]]; then
    component="build/win64/Languages/$language.dll"
fi

bash scripts/setup.sh
bash scripts/build.sh win64
cmake --build build/win64 --target uninsdrive >/dev/null
if [[ -n "$component" && ! -f "$component" ]]; then
    echo "demo.sh: no language component $component (language/texts/$language.rc)" >&2
    exit 2
fi

out="$root/out/demo"
rm -rf "$out"
mkdir -p "$out"
export VT_DEMO_OUT="$out" VT_DEMO_ANSWERS="$answers" VT_ROOT="$root" VT_DEMO_DPI="${VT_DEMO_DPI:-96}" \
    VT_DEMO_COMPONENT="$component"
tests/wine/with-wine.sh bash -c '
    set -euo pipefail
    cd "$VT_ROOT"
    bash scripts/stage-product.sh build/win64/unins000.exe \
        build/win64/tests/support/vt_com_probe.dll $VT_DEMO_COMPONENT
    bash scripts/report-product.sh >"$VT_DEMO_OUT/before.txt"
    "$VT_WINE" reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d "$VT_DEMO_DPI" \
        /f >/dev/null 2>&1
    # The session'"'"'s web browser only writes down the pages it is asked to open.
    browser_log=$("$VT_WINE" winepath -w "$VT_DEMO_OUT/browser.txt" 2>/dev/null | tr -d "\r")
    recorder=$("$VT_WINE" winepath -w build/win64/tests/support/vt_url_recorder.exe 2>/dev/null |
        tr -d "\r")
    for scheme in http https; do
        "$VT_WINE" reg add "HKCR\\$scheme\\shell\\open\\command" /ve /f \
            /d "\"$recorder\" \"$browser_log\" \"%1\"" >/dev/null 2>&1
    done
    # The staged libraries write down their unregistration here.
    export VT_UNREGISTER_RECORD=$("$VT_WINE" winepath -w "$VT_DEMO_OUT/unregistered.txt" 2>/dev/null |
        tr -d "\r")
    echo "--- running C:\\Program Files\\Veltrane\\unins000.exe, answers: $VT_DEMO_ANSWERS"
    # The driver prints the exit code itself: a Unix shell sees it only modulo 256.
    tests/wine/wine-exec build/win64/tests/e2e/uninsdrive.exe "$VT_DEMO_ANSWERS" \
        "$("$VT_WINE" winepath -w "$VT_DEMO_OUT" 2>/dev/null | tr -d "\r")" \
        "C:\\Program Files\\Veltrane\\unins000.exe" || true
    # A finished run leaves its batch deleting the uninstaller: the report waits for it.
    batch="$WINEPREFIX/drive_c/Program Files/Veltrane/clearup.bat"
    for _ in $(seq 600); do [[ -e "$batch" ]] || break; sleep 0.1; done
    bash scripts/report-product.sh >"$VT_DEMO_OUT/after.txt"
    echo "--- what is left of the product:"
    cat "$VT_DEMO_OUT/after.txt"
    echo "    (left by design: the installation folder, Orvale.dll, Help - the log scan removes"
    echo "    files, not folders - and page.html, whose logged name is cut to page.htm; what the"
    echo "    answers keep: the user data and plug-ins when kept; in another language, its"
    echo "    component, which the run speaks through, goes at the next restart)"
    echo "--- libraries unregistered:"
    sed "s/\t/  by  /" "$VT_DEMO_OUT/unregistered.txt" 2>/dev/null || echo "  (none)"
    echo "--- pages opened in the web browser:"
    cat "$VT_DEMO_OUT/browser.txt" 2>/dev/null || echo "  (none)"
    echo "--- what the run changed:"
    diff "$VT_DEMO_OUT/before.txt" "$VT_DEMO_OUT/after.txt" && echo "  (nothing)" || true
'
echo "--- pictures and lists in $out"
ls "$out"
