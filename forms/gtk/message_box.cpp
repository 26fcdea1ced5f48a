#include "forms/gtk/message_box.h"

#include <optional>

#include "forms/cp1252.h"
#include "forms/gtk/fonts.h"
#include "forms/gtk/mnemonic.h"

namespace forms::gtk {
namespace {

// The size of a message box's buttons on the platform the program was designed on.
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;

void OnResponse(GtkDialog* /*dialog*/, gint response, gpointer answer) {
  *static_cast<std::optional<gint>*>(answer) = response;
}

// The close box answers through "response"; the box stays until we destroy it.
gboolean KeepOnDelete(GtkWidget* /*dialog*/, GdkEvent* /*event*/, gpointer /*data*/) {
  return TRUE;
}

}  // namespace

ModalResult RunMessageBox(const DialogRequest& request, GtkWindow* owner,
                          const std::function<void(const std::function<bool()>&)>& run_until) {
  GtkWidget* dialog = gtk_dialog_new();
  GtkWindow* window = GTK_WINDOW(dialog);
  gtk_style_context_add_class(gtk_widget_get_style_context(dialog), kWindowClass);
  gtk_window_set_title(window, Cp1252ToUtf8(request.caption).c_str());
  gtk_window_set_resizable(window, FALSE);
  gtk_window_set_modal(window, TRUE);
  if (owner != nullptr && gtk_widget_get_visible(GTK_WIDGET(owner))) {
    gtk_window_set_transient_for(window, owner);
    gtk_window_set_position(window, GTK_WIN_POS_CENTER_ON_PARENT);
  } else {
    gtk_window_set_position(window, GTK_WIN_POS_CENTER);
  }

  GtkWidget* row = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 12);
  gtk_container_set_border_width(GTK_CONTAINER(row), 12);
  GtkWidget* icon = gtk_image_new_from_icon_name(
      request.kind == MsgDlgType::Error ? "dialog-error" : "dialog-information",
      GTK_ICON_SIZE_DIALOG);
  gtk_widget_set_valign(icon, GTK_ALIGN_START);
  GtkWidget* text = gtk_label_new(Cp1252ToUtf8(request.text).c_str());
  gtk_label_set_xalign(GTK_LABEL(text), 0.0F);
  gtk_label_set_line_wrap(GTK_LABEL(text), TRUE);
  gtk_label_set_max_width_chars(GTK_LABEL(text), 70);
  gtk_box_pack_start(GTK_BOX(row), icon, FALSE, FALSE, 0);
  gtk_box_pack_start(GTK_BOX(row), text, TRUE, TRUE, 0);
  gtk_widget_show_all(row);
  gtk_box_pack_start(GTK_BOX(gtk_dialog_get_content_area(GTK_DIALOG(dialog))), row, TRUE, TRUE, 0);

  for (const auto& [label, result] : request.button_labels) {
    GtkWidget* button = gtk_dialog_add_button(GTK_DIALOG(dialog), MnemonicLabel(label).c_str(),
                                              static_cast<gint>(result));
    gtk_widget_set_size_request(button, kButtonWidth, kButtonHeight);
  }
  if (!request.button_labels.empty()) {
    const auto first = static_cast<gint>(request.button_labels.front().second);
    gtk_dialog_set_default_response(GTK_DIALOG(dialog), first);
    gtk_widget_grab_focus(gtk_dialog_get_widget_for_response(GTK_DIALOG(dialog), first));
  }

  std::optional<gint> answer;
  g_signal_connect(dialog, "response", G_CALLBACK(OnResponse), &answer);
  g_signal_connect(dialog, "delete-event", G_CALLBACK(KeepOnDelete), nullptr);
  gtk_window_present(window);
  run_until([&answer] { return answer.has_value(); });
  gtk_widget_destroy(dialog);

  if (*answer >= 0) return static_cast<ModalResult>(*answer);
  return request.buttons == MsgDlgButtons::YesNo ? ModalResult::No : ModalResult::Ok;
}

}  // namespace forms::gtk
