#pragma once
// The modal message box. Its caption and button labels are the platform's
// French texts whatever the wizard's language.

#include <string>
#include <vector>

#include "forms/form.h"

namespace forms {

class Application;

enum class MsgDlgType { Error, Information };
enum class MsgDlgButtons { Ok, YesNo };

// What a backend shows: all texts already chosen, Windows-1252.
struct DialogRequest {
  std::string caption;
  std::string text;
  MsgDlgType kind = MsgDlgType::Error;
  MsgDlgButtons buttons = MsgDlgButtons::Ok;
  // Button labels with their results, in display order.
  std::vector<std::pair<std::string, ModalResult>> button_labels;
};

// "Erreur" or "Information".
const char* DialogCaption(MsgDlgType kind);
// The box's buttons: "OK", or "&Oui" and "&Non".
std::vector<std::pair<std::string, ModalResult>> DialogButtons(MsgDlgButtons buttons);

// Shows text in a modal box and returns the button pressed; closing the box
// counts as No for Yes/No and as OK for OK. Timer ticks and posted messages
// go on being handled while it is open.
ModalResult MessageDlg(Application& application, const std::string& text, MsgDlgType kind,
                       MsgDlgButtons buttons, int help_context = 0);

}  // namespace forms
