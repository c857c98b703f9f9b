#!/usr/bin/env bash
# The module's dynamic symbol table defines the ten entry points and nothing else.
#   exported_names_test.sh MODULE
set -euo pipefail
expected="Analyze DoAnalyzerRightClick GetAnalyzerConfigPage GetAnalyzerIconID GetAnalyzerName
GetAnalyzerOrder GetAnalyzerRightClickMenu GetAnalyzerType InitAnalyzer UnInitAnalyzer"
actual=$(nm -D --defined-only "$1" | awk '{print $3}' | sort | tr '\n' ' ')
wanted=$(echo $expected | tr ' ' '\n' | sort | tr '\n' ' ')
if [ "$actual" != "$wanted" ]; then
  echo "exported: $actual"
  echo "expected: $wanted"
  exit 1
fi
echo "exports exactly the ten entry points"
