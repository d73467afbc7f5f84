#!/bin/sh
# Builds the analysis program's GUI tests and writes pictures of its windows
# (main window, a result view with isolines, the status window, every dialog)
# into build/pictures, headless.
set -e
cd "$(dirname "$0")/.."
[ -f build/build.ninja ] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build --target tavir_viewer_qt_tests
mkdir -p build/pictures
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} build/tests/tavir_viewer_qt_tests --gtest_filter='Pictures.*'
ls build/pictures/calc_*.png
# The editor's windows: the main strip, and an editing window with a mesh,
# supports and a point load.
cmake --build build --target tavir_editor_qt_tests
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} build/tests/tavir_editor_qt_tests \
  --gtest_filter='EditorFixture.MainFormIsAStripAsHighAsItsBars:EditorDeskTest.SupportsPointLoadSaveReopenAndSolve'
ls build/pictures/editor_*.png
