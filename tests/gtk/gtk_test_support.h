#pragma once
// Helpers for tests that run the GTK backend on a display (Xvfb in CI):
// running the loop with a real-time limit, drawing a window into a PNG, and
// reading the widgets back to compare them with their components.

#include <gtk/gtk.h>

#include <functional>
#include <memory>
#include <string>

#include "forms/form.h"
#include "forms/gtk/gtk_backend.h"

namespace kst_test {

// The GTK backend, with GTK's warnings and criticals made fatal so that a
// misuse of the toolkit fails the test; null without a display.
std::unique_ptr<forms::gtk::GtkBackend> CreateTestBackend(platform::Clock& clock);

// Runs the backend's loop until done() holds or real_limit_ms of real time
// have gone by; returns done().
bool Pump(forms::gtk::GtkBackend& backend, const std::function<bool()>& done,
          unsigned real_limit_ms = 20000);

// Brings window's styles and sizes up to date at once, as its next frame
// would: its pending restyling and resizing run on its frame clock's layout.
void Settle(GtkWindow* window);

// A real click of the pointer in the middle of widget, through the X
// server (xdotool); false when it could not be made.
bool ClickWithTheMouse(GtkWidget* widget);

// Lays window out as it stands and draws it into a PNG file at path,
// creating the file's directory.
void SaveScreenshot(GtkWindow* window, const std::string& path);

// Each way in which the form's window and widgets differ from the form and
// its components (texts, visibility, enabled state, selection, progress,
// geometry), one per line; empty when they agree.
std::string Mismatches(const forms::Form& form);

// The message box or error box open now, if any.
GtkDialog* OpenDialog();
// The texts of a box's icon ("icon:<name>") and labels, '|' after each.
std::string DialogTexts(GtkDialog* dialog);

// The window of a form attached to the GTK backend.
GtkWindow* WindowOf(const forms::Form& form);

}  // namespace kst_test
