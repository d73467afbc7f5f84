#!/usr/bin/env bash
# Installs what is missing, builds the programs and starts one of them:
#   bash tools/run.sh          the analysis program TavirCalc
#   bash tools/run.sh edit     the model editor TavirEdit
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install_deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
case "${1:-calc}" in
  edit) program=TavirEdit ;;
  calc) program=TavirCalc ;;
  *) echo "usage: bash tools/run.sh [calc|edit]" >&2; exit 2 ;;
esac
cmake --build build -j "$(nproc)" --target "$program"
cd examples  # the open dialog starts among the sample projects
exec "../build/apps/$program"
