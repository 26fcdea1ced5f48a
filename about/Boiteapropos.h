#pragma once
// TFormAPropos: the about box, with the maker's logo and contact details in
// the wizard's language; two of its labels open the web site and the mail
// program.

#include <cstdint>

#include "forms/application.h"
#include "forms/browse_url.h"
#include "forms/button.h"
#include "forms/form.h"
#include "forms/image.h"
#include "forms/label.h"
#include "platform/system_services.h"
#include "wizard/text_catalogue.h"

// The box's own texts: caption, OK button, street, town, country, phone,
// fax, web site and e-mail lines, [French, English] each.
inline constexpr int kAboutTextCount = 9;
extern const TextPair AboutTexts[kAboutTextCount];
// Link targets of the web site and e-mail labels.
extern const char* const WebSiteAddress;
extern const char* const MailTarget;

class TFormAPropos : public forms::Form {
 public:
  TFormAPropos(forms::Application& application, platform::SystemServices& system);

  forms::Button ButtonOk;
  forms::Image Image1;
  forms::Label LabelAdresse;
  forms::Label LabelCodeVille;
  forms::Label LabelPays;
  forms::Label LabelTelephone;
  forms::Label LabelTelecopie;
  forms::Label LabelNomSite;
  forms::Label LabelMel;
  forms::BrowseUrl BrowseInternet;

  std::int32_t Language = 0;  // language of the texts shown

  void SetLanguage(std::int32_t language);
  void UpdateTexts();
  void ButtonOkClick(forms::Component* sender);
  void LabelNomSiteClick(forms::Component* sender);
  void LabelMelClick(forms::Component* sender);

 private:
  void ApplyDesign();
};

// The about box, as start-up created it.
extern TFormAPropos* FormAPropos;
