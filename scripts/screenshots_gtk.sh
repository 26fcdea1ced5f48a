#!/usr/bin/env bash
# Walks the GTK wizard through every screen in French and English on a
# virtual X display, checking each against its components, and leaves a
# picture of every screen and of the about box in build/linux/screenshots/.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset linux >/dev/null
cmake --build build/linux -j2 --target gtk_wizard_test
rm -rf build/linux/screenshots
xvfb-run -a build/linux/tests/gtk/gtk_wizard_test
ls build/linux/screenshots
