#pragma once
// Helpers for tests that run the GTK backend on a display (Xvfb in CI):
// running the loop with a real-time limit, drawing a window into a PNG, and
// reading the widgets back to compare them with their components.

#include <gtk/gtk.h>

#include <functional>
#include <string>

#include "forms/form.h"
#include "forms/gtk/gtk_backend.h"

namespace kst_test {

// Runs the backend's loop until done() holds or real_limit_ms of real time
// have gone by; returns done().
bool Pump(forms::gtk::GtkBackend& backend, const std::function<bool()>& done,
          unsigned real_limit_ms = 20000);

// Lays window out as it stands and draws it into a PNG file at path,
// creating the file's directory.
void SaveScreenshot(GtkWindow* window, const std::string& path);

// Each way in which the form's window and widgets differ from the form and
// its components (texts, visibility, enabled state, selection, progress,
// geometry), one per line; empty when they agree.
std::string Mismatches(const forms::Form& form);

// The window of a form attached to the GTK backend.
GtkWindow* WindowOf(const forms::Form& form);

}  // namespace kst_test
