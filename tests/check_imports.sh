#!/usr/bin/env bash
# Fails when the executable imports a library that is not part of Windows itself.
#   check_imports.sh OBJDUMP EXE
set -euo pipefail
objdump="$1"
exe="$2"
allowed='^(ADVAPI32|COMCTL32|GDI32|KERNEL32|msvcrt|ole32|OLEAUT32|SHELL32|SHLWAPI|USER32|VERSION|PSAPI|IMAGEHLP)\.dll$'
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
