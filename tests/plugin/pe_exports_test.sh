#!/usr/bin/env bash
# What the Windows module file says of itself: it exports the ten entry points by name
# and nothing else, imports from KERNEL32 and msvcrt only, and carries the version block.
#   pe_exports_test.sh OBJDUMP MODULE VERSION_TEXT
set -euo pipefail
objdump=$1
module=$2
version=$3
headers=$("$objdump" -p "$module")
failed=0

expected="Analyze DoAnalyzerRightClick GetAnalyzerConfigPage GetAnalyzerIconID GetAnalyzerName
GetAnalyzerOrder GetAnalyzerRightClickMenu GetAnalyzerType InitAnalyzer UnInitAnalyzer"
wanted=$(echo $expected | tr ' ' '\n' | sort | tr '\n' ' ')
# The name table lists one "[ index] name" line per export.
exported=$(echo "$headers" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' \
  | awk '/^[ \t]*\[ *[0-9]+\]/ {print $NF}' | sort | tr '\n' ' ')
if [ "$exported" != "$wanted" ]; then
  echo "exported: $exported"
  echo "expected: $wanted"
  failed=1
fi

imported=$(echo "$headers" | awk '/DLL Name:/ {print tolower($3)}' | sort | tr '\n' ' ')
if [ "$imported" != "kernel32.dll msvcrt.dll " ]; then
  echo "imports from: $imported"
  echo "expected:     kernel32.dll msvcrt.dll"
  failed=1
fi

# The version block's strings are UTF-16: the file and product versions, a DLL.
version_strings=$(strings -el "$module")
for key in FileVersion ProductVersion; do
  if ! echo "$version_strings" | grep -A1 -x "$key" | tail -n1 | grep -qx "$version"; then
    echo "no $key \"$version\" in the version block"
    failed=1
  fi
done
[ "$failed" -eq 0 ] && echo "exports the ten entry points, imports KERNEL32 and msvcrt, version $version"
exit "$failed"
