#include "about/Boiteapropos.h"

TFormAPropos* FormAPropos = nullptr;

// The maker's contact details, spliced into the texts at compile time.
#define KST_STREET "Rue des Tanneurs 14"
#define KST_TOWN "4000 Li\xE8ge"
#define KST_PHONE "+32 4 221 47 50"
#define KST_FAX "+32 4 221 47 59"
#define KST_WEB "https://www.voranex.example"
#define KST_MAIL "support@voranex.example"

const TextPair AboutTexts[kAboutTextCount] = {
    {"A propos de la mise \xE0 jour", "About update"},
    {"&Ok", "&Ok"},
    {KST_STREET, KST_STREET},
    {KST_TOWN, KST_TOWN},
    {"Belgique", "Belgium"},
    {"T\xE9l : " KST_PHONE, "Phone : " KST_PHONE},
    {"T\xE9l\xE9"
     "copie  : " KST_FAX,
     "Fax : " KST_FAX},
    {"Site : " KST_WEB, "Site : " KST_WEB},
    {"M\xE8l : " KST_MAIL, "Mail : " KST_MAIL},
};

const char* const WebSiteAddress = KST_WEB;
const char* const MailTarget = "mailto: " KST_MAIL;

#undef KST_STREET
#undef KST_TOWN
#undef KST_PHONE
#undef KST_FAX
#undef KST_WEB
#undef KST_MAIL

TFormAPropos::TFormAPropos(forms::Application& application, platform::SystemServices& system)
    : forms::Form(application, "FormAPropos"),
      ButtonOk(this, "ButtonOk"),
      Image1(this, "Image1"),
      LabelAdresse(this, "LabelAdresse"),
      LabelCodeVille(this, "LabelCodeVille"),
      LabelPays(this, "LabelPays"),
      LabelTelephone(this, "LabelTelephone"),
      LabelTelecopie(this, "LabelTelecopie"),
      LabelNomSite(this, "LabelNomSite"),
      LabelMel(this, "LabelMel"),
      BrowseInternet(this, "BrowseInternet", system) {
  ApplyDesign();
  Language = 0;
  UpdateTexts();
}

void TFormAPropos::ApplyDesign() {
  SetClientSize(446, 207);
  SetBorderStyle(forms::BorderStyle::Dialog);
  SetPosition(forms::FormPosition::OwnerFormCenter);
  SetIcon("about_icon");

  ButtonOk.SetBounds(201, 168, 75, 25);
  ButtonOk.SetDefault(true);
  ButtonOk.SetTabOrder(0);
  ButtonOk.OnClick = [this](forms::Component* sender) { ButtonOkClick(sender); };

  Image1.SetBounds(0, 16, 441, 41);
  Image1.SetCenter(true);
  Image1.SetProportional(true);
  Image1.SetPicture("about_logo");

  LabelAdresse.SetBounds(16, 80, 0, 13);
  LabelCodeVille.SetBounds(16, 96, 0, 13);
  LabelPays.SetBounds(16, 112, 0, 13);
  LabelTelephone.SetBounds(240, 80, 0, 13);
  LabelTelecopie.SetBounds(240, 96, 0, 13);
  LabelNomSite.SetBounds(16, 136, 0, 13);
  LabelMel.SetBounds(240, 136, 0, 13);
  // Link labels: blue, underlined, 13 pixels high (10 pt), hand cursor.
  const forms::FontSpec link{
      .size = 10, .style = forms::FontStyles{.underline = true}, .color = forms::Color::Blue};
  for (forms::Label* label : {&LabelNomSite, &LabelMel}) {
    label->SetFont(link);
    label->SetCursor(forms::Cursor::HandPoint);
  }
  LabelNomSite.OnClick = [this](forms::Component* sender) { LabelNomSiteClick(sender); };
  LabelMel.OnClick = [this](forms::Component* sender) { LabelMelClick(sender); };
}

void TFormAPropos::SetLanguage(std::int32_t language) {
  if (language < 0 || language > 1 || language == Language) return;
  Language = language;
  UpdateTexts();
}

void TFormAPropos::UpdateTexts() {
  SetCaption(AboutTexts[0][Language]);
  ButtonOk.SetCaption(AboutTexts[1][Language]);
  LabelAdresse.SetCaption(AboutTexts[2][Language]);
  LabelCodeVille.SetCaption(AboutTexts[3][Language]);
  LabelPays.SetCaption(AboutTexts[4][Language]);
  LabelTelephone.SetCaption(AboutTexts[5][Language]);
  LabelTelecopie.SetCaption(AboutTexts[6][Language]);
  LabelNomSite.SetCaption(AboutTexts[7][Language]);
  LabelMel.SetCaption(AboutTexts[8][Language]);
}

void TFormAPropos::ButtonOkClick(forms::Component* /*sender*/) {
  Close();
}

void TFormAPropos::LabelNomSiteClick(forms::Component* sender) {
  BrowseInternet.SetUrl(WebSiteAddress);
  BrowseInternet.ExecuteTarget(sender);
}

void TFormAPropos::LabelMelClick(forms::Component* sender) {
  BrowseInternet.SetUrl(MailTarget);
  BrowseInternet.ExecuteTarget(sender);
}
