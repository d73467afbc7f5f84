#!/usr/bin/env bash
# Installs what is missing, builds the GUI test suites and runs them headless:
# they drive the real windows and grab each main window and dialog (the analysis
# program's main window, a result view with isolines, the status window, the
# editor's strip and an editing window with a mesh, supports and loads, every
# dialog) as PNG pictures into build/pictures.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install_deps.sh
[ -f build/build.ninja ] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
suites=(tavir_platform_qt_tests tavir_shared_dialogs_tests tavir_editor_qt_tests tavir_viewer_qt_tests)
cmake --build build -j "$(nproc)" --target "${suites[@]}"
mkdir -p build/pictures
for suite in "${suites[@]}"; do
  QT_QPA_PLATFORM=offscreen "build/tests/$suite" --gtest_brief=1
done
ls build/pictures/*.png
