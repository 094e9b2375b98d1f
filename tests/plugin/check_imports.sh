#!/usr/bin/env bash
# Fails when the plugin imports any DLL outside the Windows system set, or when
# an export the host looks up by name is missing or decorated.
set -euo pipefail
objdump=$1
dll=$2

allowed='^(kernel32|user32|gdi32|comctl32|comdlg32|uxtheme|usp10|dwmapi|gdiplus|ole32|oleaut32|wininet|ws2_32|shell32|shlwapi|advapi32|msvcrt|msimg32|version|api-ms-win-crt-[a-z0-9-]+)\.dll$'
imports=$("$objdump" -p "$dll" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z')
if [ -z "$imports" ]; then
  echo "no imports found in $dll" >&2
  exit 1
fi
status=0
while read -r name; do
  if ! [[ $name =~ $allowed ]]; then
    echo "not a Windows system DLL: $name" >&2
    status=1
  fi
done <<< "$imports"

exports=$("$objdump" -p "$dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p')
for name in ListLoad ListLoadW ListLoadNext ListLoadNextW ListCloseWindow ListGetDetectString \
    ListGetDetectStringW ListSearchText ListSearchTextW ListSendCommand ListSetDefaultParams; do
  if ! grep -Eq "\] $name\$" <<< "$exports"; then
    echo "export missing or decorated: $name" >&2
    status=1
  fi
done
echo "$(basename "$dll") imports: $(tr '\n' ' ' <<< "$imports")"
exit $status
