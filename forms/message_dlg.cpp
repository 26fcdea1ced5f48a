#include "forms/message_dlg.h"

#include "forms/application.h"

namespace forms {

const char* DialogCaption(MsgDlgType kind) {
  return kind == MsgDlgType::Error ? "Erreur" : "Information";
}

std::vector<std::pair<std::string, ModalResult>> DialogButtons(MsgDlgButtons buttons) {
  if (buttons == MsgDlgButtons::YesNo)
    return {{"&Oui", ModalResult::Yes}, {"&Non", ModalResult::No}};
  return {{"OK", ModalResult::Ok}};
}

ModalResult MessageDlg(Application& application, const std::string& text, MsgDlgType kind,
                       MsgDlgButtons buttons, int /*help_context*/) {
  DialogRequest request;
  request.caption = DialogCaption(kind);
  request.text = text;
  request.kind = kind;
  request.buttons = buttons;
  request.button_labels = DialogButtons(buttons);
  return application.GetBackend().ShowDialog(request);
}

}  // namespace forms
