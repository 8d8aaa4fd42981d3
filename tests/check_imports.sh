#!/usr/bin/env bash
# Fails when the executable imports a library that is not on the system's known-DLL list: those
# alone are always loaded from the system folder, never from beside the program, before it runs.
#   check_imports.sh OBJDUMP EXE
set -euo pipefail
objdump="$1"
exe="$2"
allowed='^(ADVAPI32|COMDLG32|GDI32|IMAGEHLP|IMM32|KERNEL32|msvcrt|NORMALIZ|ole32|OLEAUT32|PSAPI|SETUPAPI|SHELL32|SHLWAPI|USER32|WLDAP32|WS2_32)\.dll$'
imports=$("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p')
[[ -n "$imports" ]] || { echo "no import table found in $exe" >&2; exit 1; }
status=0
# The import table keeps whatever case the import library used (imagehlp.dll, KERNEL32.dll):
# names of libraries are compared as the system does, without regard to case.
shopt -s nocasematch
while read -r dll; do
    if [[ "$dll" =~ $allowed ]]; then
        echo "ok      $dll"
    else
        echo "FOREIGN $dll" >&2
        status=1
    fi
done <<<"$imports"
exit $status
