#include "tests/gtk/gtk_test_support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "forms/button.h"
#include "forms/cp1252.h"
#include "forms/edit.h"
#include "forms/gtk/button_peer.h"
#include "forms/gtk/edit_peer.h"
#include "forms/gtk/form_peer.h"
#include "forms/gtk/label_peer.h"
#include "forms/gtk/list_box_peer.h"
#include "forms/gtk/progress_bar_peer.h"
#include "forms/label.h"
#include "forms/list_box.h"
#include "forms/progress_bar.h"

namespace kst_test {
namespace {

using forms::Cp1252ToUtf8;

// What GTK shows for a caption with an '&' mnemonic: the same text with '_'.
std::string Underscored(const std::string& caption) {
  std::string text = Cp1252ToUtf8(caption);
  for (char& c : text) {
    if (c == '&') c = '_';
  }
  return text;
}

// GTK gives null for a text never set.
std::string Str(const char* text) {
  return text != nullptr ? text : "";
}

std::string Bounds(int left, int top, int width, int height) {
  return std::to_string(left) + "," + std::to_string(top) + " " + std::to_string(width) + "x" +
         std::to_string(height);
}

class Report {
 public:
  void Compare(const std::string& name, const char* what, const std::string& shown,
               const std::string& model) {
    if (shown != model) {
      out_ << name << ' ' << what << ": shows \"" << shown << "\", the model has \"" << model
           << "\"\n";
    }
  }
  void Compare(const std::string& name, const char* what, bool shown, bool model) {
    Compare(name, what, std::string(shown ? "true" : "false"),
            std::string(model ? "true" : "false"));
  }
  void Note(const std::string& text) { out_ << text << '\n'; }
  std::string Text() const { return out_.str(); }

 private:
  std::ostringstream out_;
};

std::string RowTexts(GtkListBox* list, int& selected) {
  std::string texts;
  selected = -1;
  for (int i = 0;; ++i) {
    GtkListBoxRow* row = gtk_list_box_get_row_at_index(list, i);
    if (row == nullptr) break;
    if (gtk_list_box_row_is_selected(row)) selected = i;
    texts += gtk_label_get_text(GTK_LABEL(gtk_bin_get_child(GTK_BIN(row))));
    texts += '|';
  }
  return texts;
}

void CompareControl(Report& report, const forms::Control& control, bool laid_out) {
  const std::string& name = control.Name();
  const auto* peer = dynamic_cast<forms::gtk::ControlPeer*>(control.Peer());
  if (peer == nullptr) {
    report.Note(name + " has no widget");
    return;
  }
  GtkWidget* outer = peer->Outer();
  report.Compare(name, "visible", gtk_widget_get_visible(outer) != FALSE, control.Visible());
  report.Compare(name, "enabled", gtk_widget_get_sensitive(outer) != FALSE, control.Enabled());

  const auto* label = dynamic_cast<const forms::Label*>(&control);
  if (laid_out && control.Visible() && (label == nullptr || !label->AutoSize())) {
    GtkAllocation shown;
    gtk_widget_get_allocation(outer, &shown);
    report.Compare(name, "bounds", Bounds(shown.x, shown.y, shown.width, shown.height),
                   Bounds(control.Left(), control.Top(), control.Width(), control.Height()));
  }
  if (label != nullptr) {
    const auto& label_peer = dynamic_cast<const forms::gtk::LabelPeer&>(*peer);
    report.Compare(name, "text", Str(gtk_label_get_text(label_peer.Widget())),
                   Cp1252ToUtf8(label->Caption()));
  } else if (const auto* button = dynamic_cast<const forms::Button*>(&control)) {
    const auto& button_peer = dynamic_cast<const forms::gtk::ButtonPeer&>(*peer);
    report.Compare(name, "caption", Str(gtk_button_get_label(button_peer.Widget())),
                   Underscored(button->Caption()));
  } else if (const auto* edit = dynamic_cast<const forms::Edit*>(&control)) {
    const auto& edit_peer = dynamic_cast<const forms::gtk::EditPeer&>(*peer);
    report.Compare(name, "text", Str(gtk_entry_get_text(edit_peer.Widget())),
                   Cp1252ToUtf8(edit->Text()));
  } else if (const auto* list = dynamic_cast<const forms::ListBox*>(&control)) {
    const auto& list_peer = dynamic_cast<const forms::gtk::ListBoxPeer&>(*peer);
    int selected = -1;
    std::string items;
    for (const std::string& item : list->Items().Strings()) items += Cp1252ToUtf8(item) + '|';
    report.Compare(name, "items", RowTexts(list_peer.Widget(), selected), items);
    report.Compare(name, "selection", std::to_string(selected), std::to_string(list->ItemIndex()));
  } else if (const auto* bar = dynamic_cast<const forms::ProgressBar*>(&control)) {
    const auto& bar_peer = dynamic_cast<const forms::gtk::ProgressBarPeer&>(*peer);
    const int span = bar->Max() - bar->Min();
    const double model = span > 0 ? static_cast<double>(bar->Position() - bar->Min()) / span : 0.0;
    char shown_text[16];
    char model_text[16];
    std::snprintf(shown_text, sizeof shown_text, "%.4f",
                  gtk_progress_bar_get_fraction(bar_peer.Widget()));
    std::snprintf(model_text, sizeof model_text, "%.4f", model);
    report.Compare(name, "fraction", std::string(shown_text), std::string(model_text));
  }
}

}  // namespace

std::unique_ptr<forms::gtk::GtkBackend> CreateTestBackend(platform::Clock& clock) {
  std::unique_ptr<forms::Backend> created = forms::CreateGtkBackend(clock);
  if (created == nullptr) return nullptr;
  g_log_set_always_fatal(
      static_cast<GLogLevelFlags>(G_LOG_FATAL_MASK | G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING));
  return std::unique_ptr<forms::gtk::GtkBackend>(
      dynamic_cast<forms::gtk::GtkBackend*>(created.release()));
}

void Settle(GtkWindow* window) {
  if (GdkFrameClock* clock = gtk_widget_get_frame_clock(GTK_WIDGET(window))) {
    g_signal_emit_by_name(clock, "layout");
  }
  gtk_container_check_resize(GTK_CONTAINER(window));
}

bool Pump(forms::gtk::GtkBackend& backend, const std::function<bool()>& done,
          unsigned real_limit_ms) {
  bool expired = false;
  const guint watchdog = g_timeout_add(
      real_limit_ms,
      [](gpointer flag) -> gboolean {
        *static_cast<bool*>(flag) = true;
        return G_SOURCE_REMOVE;
      },
      &expired);
  backend.RunUntil([&] { return expired || done(); });
  if (!expired) g_source_remove(watchdog);
  return done();
}

bool ClickWithTheMouse(GtkWidget* widget) {
  GtkWidget* window = gtk_widget_get_toplevel(widget);
  Settle(GTK_WINDOW(window));
  int x = 0;
  int y = 0;
  gdk_window_get_origin(gtk_widget_get_window(window), &x, &y);
  int in_window_x = 0;
  int in_window_y = 0;
  if (!gtk_widget_translate_coordinates(widget, window, gtk_widget_get_allocated_width(widget) / 2,
                                        gtk_widget_get_allocated_height(widget) / 2, &in_window_x,
                                        &in_window_y)) {
    return false;
  }
  const std::string command = "xdotool mousemove --sync " + std::to_string(x + in_window_x) + " " +
                              std::to_string(y + in_window_y) + " click 1";
  return std::system(command.c_str()) == 0;
}

GtkDialog* OpenDialog() {
  GtkDialog* found = nullptr;
  GList* windows = gtk_window_list_toplevels();
  for (GList* item = windows; item != nullptr; item = item->next) {
    if (GTK_IS_DIALOG(item->data) && gtk_widget_get_visible(GTK_WIDGET(item->data))) {
      found = GTK_DIALOG(item->data);
    }
  }
  g_list_free(windows);
  return found;
}

std::string DialogTexts(GtkDialog* dialog) {
  std::string texts;
  GList* rows = gtk_container_get_children(GTK_CONTAINER(gtk_dialog_get_content_area(dialog)));
  GList* parts = gtk_container_get_children(GTK_CONTAINER(rows->data));
  for (GList* part = parts; part != nullptr; part = part->next) {
    if (GTK_IS_IMAGE(part->data)) {
      const gchar* icon = nullptr;
      gtk_image_get_icon_name(GTK_IMAGE(part->data), &icon, nullptr);
      texts += "icon:" + Str(icon) + '|';
    } else if (GTK_IS_LABEL(part->data)) {
      texts += Str(gtk_label_get_text(GTK_LABEL(part->data))) + '|';
    }
  }
  g_list_free(parts);
  g_list_free(rows);
  return texts;
}

GtkWindow* WindowOf(const forms::Form& form) {
  const forms::gtk::FormPeer* peer = forms::gtk::FormPeer::Of(form);
  return peer != nullptr ? peer->Window() : nullptr;
}

void SaveScreenshot(GtkWindow* window, const std::string& path) {
  GtkWidget* widget = GTK_WIDGET(window);
  Settle(window);
  cairo_surface_t* surface =
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, gtk_widget_get_allocated_width(widget),
                                 gtk_widget_get_allocated_height(widget));
  cairo_t* cairo = cairo_create(surface);
  gtk_widget_draw(widget, cairo);
  cairo_destroy(cairo);
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  cairo_surface_write_to_png(surface, path.c_str());
  cairo_surface_destroy(surface);
}

std::string Mismatches(const forms::Form& form) {
  Report report;
  GtkWindow* window = WindowOf(form);
  if (window == nullptr) return form.Name() + " has no window\n";
  const bool shown = gtk_widget_get_visible(GTK_WIDGET(window)) != FALSE;
  report.Compare(form.Name(), "visible", shown, form.Visible());
  report.Compare(form.Name(), "caption", Str(gtk_window_get_title(window)),
                 Cp1252ToUtf8(form.Caption()));
  if (shown) Settle(window);
  for (const forms::Component* component : form.Components()) {
    if (const auto* control = dynamic_cast<const forms::Control*>(component)) {
      CompareControl(report, *control, shown);
    }
  }
  return report.Text();
}

}  // namespace kst_test
