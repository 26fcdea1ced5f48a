#include "forms/gtk/progress_bar_peer.h"

#include <string>

namespace forms::gtk {

ProgressBarPeer::ProgressBarPeer(FormPeer& form, ProgressBar& bar)
    : ControlPeer(form, bar, gtk_progress_bar_new()), bar_(bar), height_(gtk_css_provider_new()) {
  gtk_style_context_add_provider(gtk_widget_get_style_context(Outer()), GTK_STYLE_PROVIDER(height_),
                                 GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  ApplyAll();
}

ProgressBarPeer::~ProgressBarPeer() {
  g_object_unref(height_);
}

void ProgressBarPeer::Update(Property property) {
  switch (property) {
    case Property::Range:
    case Property::Position: {
      const int span = bar_.Max() - bar_.Min();
      const double fraction =
          span > 0 ? static_cast<double>(bar_.Position() - bar_.Min()) / span : 0.0;
      gtk_progress_bar_set_fraction(Widget(), fraction);
      break;
    }
    case Property::Bounds: {
      // The theme draws a thin trough; the control is a tall bar.
      const std::string css = "progressbar trough, progressbar progress { min-height: " +
                              std::to_string(bar_.Height() > 2 ? bar_.Height() - 2 : 0) + "px; }";
      gtk_css_provider_load_from_data(height_, css.c_str(), -1, nullptr);
      break;
    }
    default:
      break;
  }
}

}  // namespace forms::gtk
