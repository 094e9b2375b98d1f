#!/usr/bin/env bash
# Fails when the plugin imports any DLL outside the Windows system set, or when
# its exports are not exactly the functions the host looks up by name, plain
# and undecorated. With --no-test-hooks, also when its symbol table holds any
# of the tests' hooks (for the unstripped product DLL).
# Usage: check_imports.sh OBJDUMP DLL [--no-test-hooks]
set -euo pipefail
objdump=$1
dll=$2

allowed='^(kernel32|user32|gdi32|comctl32|comdlg32|uxtheme|usp10|dwmapi|gdiplus|ole32|oleaut32|oleacc|wininet|ws2_32|shell32|shlwapi|advapi32|msvcrt|msimg32|version|api-ms-win-crt-[a-z0-9-]+)\.dll$'
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

exports=$("$objdump" -p "$dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
  sed -n 's/^[[:space:]]*\[ *[0-9]*\] //p' | sort | tr '\n' ' ')
expected=$(printf '%s\n' ListLoad ListLoadW ListLoadNext ListLoadNextW ListCloseWindow \
  ListGetDetectString ListGetDetectStringW ListSearchText ListSearchTextW ListSendCommand \
  ListSetDefaultParams ListGetPreviewBitmap ListGetPreviewBitmapW | sort | tr '\n' ' ')
if [ "$exports" != "$expected" ]; then
  echo "exports: $exports" >&2
  echo "wanted:  $expected" >&2
  status=1
fi

if [ "${3:-}" = --no-test-hooks ]; then
  hooks=$("$objdump" -t "$dll" | grep -oE 'Kontaktel(GetDiagnostics|GetListView|GetListRow|PostPhoto|SetSeams)|LivePhotoRecords|RunningPhotoWorkers|LiveGdiObjects|__wrap_' | sort -u | tr '\n' ' ' || true)
  if [ -n "$hooks" ]; then
    echo "test hooks in the product: $hooks" >&2
    status=1
  fi
fi
echo "$(basename "$dll") imports: $(tr '\n' ' ' <<< "$imports")"
exit $status
