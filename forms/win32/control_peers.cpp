#include "forms/win32/control_peers.h"

#include <commctrl.h>

#include "forms/button.h"
#include "forms/combo_box.h"
#include "forms/edit.h"
#include "forms/image.h"
#include "forms/label.h"
#include "forms/list_box.h"
#include "forms/progress_bar.h"
#include "forms/win32/wide_text.h"
#include "forms/win32/win32_backend.h"

namespace forms::win32 {

namespace {

void SetText(HWND hwnd, const std::string& text) {
  SetWindowTextW(hwnd, Cp1252ToWide(text).c_str());
}

// A control is used only when the user could reach it.
bool Usable(HWND hwnd) {
  return IsWindowVisible(hwnd) && IsWindowEnabled(hwnd);
}

class LabelPeer final : public ControlPeer {
 public:
  LabelPeer(FormWindow& window, Label& label, int id)
      : ControlPeer(window, label, id), label_(label) {
    Create(WC_STATICW, SS_NOTIFY | AlignmentStyle(), 0);
    SetText(Handle(), label_.Caption());
    ApplyBounds();
  }
  bool Graphic() const override { return true; }
  bool HandCursor() const override { return label_.GetCursor() == Cursor::HandPoint; }
  void Command(WORD code) override {
    if (code == STN_CLICKED && Usable(Handle())) label_.Click();
  }

 protected:
  void ChangedOwn(Property property) override {
    switch (property) {
      case Property::Caption:
        SetText(Handle(), label_.Caption());
        ApplyBounds();
        break;
      case Property::Alignment:
        SetStyle(SS_LEFT | SS_CENTER | SS_RIGHT, false);
        SetStyle(AlignmentStyle(), true);
        InvalidateRect(Handle(), nullptr, TRUE);
        break;
      case Property::AutoSize:
      case Property::Font:
        ApplyBounds();
        break;
      default:
        break;
    }
  }
  // An auto-sized label takes the size of its text.
  void ApplyBounds() override {
    if (!label_.AutoSize()) {
      ControlPeer::ApplyBounds();
      return;
    }
    const SIZE text = Window()->Backend().Fonts().Measure(label_.Caption(), label_.Font());
    Place(text.cx, text.cy);
  }

 private:
  DWORD AlignmentStyle() const {
    switch (label_.GetAlignment()) {
      case Alignment::Center:
        return SS_CENTER;
      case Alignment::RightJustify:
        return SS_RIGHT;
      case Alignment::LeftJustify:
        break;
    }
    return SS_LEFT;
  }
  Label& label_;
};

class ButtonPeer final : public ControlPeer {
 public:
  ButtonPeer(FormWindow& window, Button& button, int id)
      : ControlPeer(window, button, id), button_(button) {
    Create(WC_BUTTONW, button.Default() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, 0);
    SetText(Handle(), button_.Caption());
    ApplyHint();
  }
  void Command(WORD code) override {
    if (code == BN_CLICKED && Usable(Handle())) button_.Click();
  }

 protected:
  void ChangedOwn(Property property) override {
    switch (property) {
      case Property::Caption:
        SetText(Handle(), button_.Caption());
        break;
      case Property::Default:
        SendMessageW(Handle(), BM_SETSTYLE, button_.Default() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON,
                     TRUE);
        Window()->UpdateDefaultButton();
        break;
      case Property::Hint:
        ApplyHint();
        break;
      default:
        break;
    }
  }

 private:
  void ApplyHint() { Window()->SetTooltip(Handle(), button_.Hint(), button_.ShowHint()); }
  Button& button_;
};

class EditPeer final : public ControlPeer {
 public:
  EditPeer(FormWindow& window, Edit& edit, int id) : ControlPeer(window, edit, id), edit_(edit) {
    Create(WC_EDITW, ES_LEFT | ES_AUTOHSCROLL | (edit.ReadOnly() ? ES_READONLY : 0),
           WS_EX_CLIENTEDGE);
    SetText(Handle(), edit_.Text());
  }

 protected:
  void ChangedOwn(Property property) override {
    if (property == Property::Caption) SetText(Handle(), edit_.Text());
    if (property == Property::ReadOnly) SendMessageW(Handle(), EM_SETREADONLY, edit_.ReadOnly(), 0);
  }

 private:
  Edit& edit_;
};

class ListBoxPeer final : public ControlPeer {
 public:
  ListBoxPeer(FormWindow& window, ListBox& list, int id)
      : ControlPeer(window, list, id), list_(list) {
    Create(WC_LISTBOXW, Style(), WS_EX_CLIENTEDGE);
    Fill();
  }
  void Command(WORD code) override {
    if (code != LBN_SELCHANGE) return;
    const auto selected = static_cast<int>(SendMessageW(Handle(), LB_GETCURSEL, 0, 0));
    list_.SetItemIndex(selected);
    list_.Click();
  }
  void MeasureItem(MEASUREITEMSTRUCT& item) override {
    item.itemHeight = static_cast<UINT>(list_.ItemHeight());
  }
  // Each item drawn as its text, as the list box itself would.
  void DrawItem(const DRAWITEMSTRUCT& item) override {
    if (item.itemID == static_cast<UINT>(-1)) return;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    const auto index = static_cast<int>(item.itemID);
    if (index < list_.Items().Count()) {
      HGDIOBJ previous = SelectObject(item.hDC, Font());
      SetBkMode(item.hDC, TRANSPARENT);
      SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
      const std::wstring text = Cp1252ToWide(list_.Items()[index]);
      TextOutW(item.hDC, item.rcItem.left + 2, item.rcItem.top, text.c_str(),
               static_cast<int>(text.size()));
      SelectObject(item.hDC, previous);
    }
    if ((item.itemState & ODS_FOCUS) != 0) DrawFocusRect(item.hDC, &item.rcItem);
  }

 protected:
  void ChangedOwn(Property property) override {
    switch (property) {
      case Property::Items:
      case Property::Sorted:  // the component has put its items in order
        Fill();
        break;
      case Property::ItemIndex:
        SendMessageW(Handle(), LB_SETCURSEL, static_cast<WPARAM>(list_.ItemIndex()), 0);
        break;
      case Property::ItemHeight:
        SendMessageW(Handle(), LB_SETITEMHEIGHT, 0, list_.ItemHeight());
        break;
      case Property::Style:
      case Property::MultiSelect:  // fixed when the list box is created
        Recreate(WC_LISTBOXW, Style(), WS_EX_CLIENTEDGE);
        Fill();
        break;
      default:
        break;
    }
  }

 private:
  DWORD Style() const {
    DWORD style = LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;
    if (list_.Style() == ListBoxStyle::OwnerDrawFixed) style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
    if (list_.MultiSelect()) {
      style |= list_.ExtendedSelect() ? DWORD{LBS_EXTENDEDSEL} : DWORD{LBS_MULTIPLESEL};
    }
    return style;
  }
  void Fill() {
    SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
    SendMessageW(Handle(), LB_RESETCONTENT, 0, 0);
    for (const std::string& item : list_.Items().Strings()) {
      const std::wstring text = Cp1252ToWide(item);
      SendMessageW(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    if (list_.Style() == ListBoxStyle::OwnerDrawFixed) {
      SendMessageW(Handle(), LB_SETITEMHEIGHT, 0, list_.ItemHeight());
    }
    SendMessageW(Handle(), LB_SETCURSEL, static_cast<WPARAM>(list_.ItemIndex()), 0);
    SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(Handle(), nullptr, TRUE);
  }
  ListBox& list_;
};

class ComboBoxPeer final : public ControlPeer {
 public:
  ComboBoxPeer(FormWindow& window, ComboBox& combo, int id)
      : ControlPeer(window, combo, id), combo_(combo) {
    Create(WC_COMBOBOXW, CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL, 0);
    ApplyBounds();
    Fill();
  }
  void Command(WORD code) override {
    if (code != CBN_SELCHANGE) return;
    combo_.SetItemIndex(static_cast<int>(SendMessageW(Handle(), CB_GETCURSEL, 0, 0)));
    combo_.Select();
  }

 protected:
  void ChangedOwn(Property property) override {
    if (property == Property::Items) Fill();
    if (property == Property::ItemIndex) {
      SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(combo_.ItemIndex()), 0);
    }
  }
  // The window's height includes the list it drops down.
  void ApplyBounds() override {
    constexpr int kDropDownRows = 8;
    const int height = combo_.Height() * (kDropDownRows + 1);
    Place(combo_.Width(), height);
  }

 private:
  void Fill() {
    SendMessageW(Handle(), CB_RESETCONTENT, 0, 0);
    for (const std::string& item : combo_.Items().Strings()) {
      const std::wstring text = Cp1252ToWide(item);
      SendMessageW(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(combo_.ItemIndex()), 0);
  }
  ComboBox& combo_;
};

class ProgressBarPeer final : public ControlPeer {
 public:
  ProgressBarPeer(FormWindow& window, ProgressBar& bar, int id)
      : ControlPeer(window, bar, id), bar_(bar) {
    Create(PROGRESS_CLASSW, bar.Smooth() ? PBS_SMOOTH : 0, 0);
    ApplyRange();
    SendMessageW(Handle(), PBM_SETSTEP, static_cast<WPARAM>(bar_.Step()), 0);
  }

 protected:
  void ChangedOwn(Property property) override {
    switch (property) {
      case Property::Range:
        ApplyRange();
        break;
      case Property::Position:
        SendMessageW(Handle(), PBM_SETPOS, static_cast<WPARAM>(bar_.Position()), 0);
        break;
      case Property::Step:
        SendMessageW(Handle(), PBM_SETSTEP, static_cast<WPARAM>(bar_.Step()), 0);
        break;
      case Property::Smooth:
        SetStyle(PBS_SMOOTH, bar_.Smooth());
        break;
      default:
        break;
    }
  }

 private:
  void ApplyRange() {
    SendMessageW(Handle(), PBM_SETRANGE32, static_cast<WPARAM>(bar_.Min()), bar_.Max());
    SendMessageW(Handle(), PBM_SETPOS, static_cast<WPARAM>(bar_.Position()), 0);
  }
  ProgressBar& bar_;
};

class ImagePeer final : public ControlPeer {
 public:
  ImagePeer(FormWindow& window, Image& image, int id)
      : ControlPeer(window, image, id), image_(image) {
    Create(WC_STATICW, SS_OWNERDRAW, 0);
  }
  bool Graphic() const override { return true; }
  void DrawItem(const DRAWITEMSTRUCT& item) override {
    // Where the picture does not reach, the form shows through.
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    DrawPicture(item.hDC, item.rcItem, Window()->Backend().Pictures().Get(image_.Picture()),
                image_.Center(), image_.Proportional());
  }

 protected:
  void ChangedOwn(Property property) override {
    if (property == Property::Picture || property == Property::PictureLayout) {
      InvalidateRect(Handle(), nullptr, TRUE);
    }
  }

 private:
  Image& image_;
};

}  // namespace

std::unique_ptr<ControlPeer> MakeControlPeer(FormWindow& window, Control& control, int id) {
  if (auto* label = dynamic_cast<Label*>(&control)) {
    return std::make_unique<LabelPeer>(window, *label, id);
  }
  if (auto* button = dynamic_cast<Button*>(&control)) {
    return std::make_unique<ButtonPeer>(window, *button, id);
  }
  if (auto* edit = dynamic_cast<Edit*>(&control)) {
    return std::make_unique<EditPeer>(window, *edit, id);
  }
  if (auto* list = dynamic_cast<ListBox*>(&control)) {
    return std::make_unique<ListBoxPeer>(window, *list, id);
  }
  if (auto* combo = dynamic_cast<ComboBox*>(&control)) {
    return std::make_unique<ComboBoxPeer>(window, *combo, id);
  }
  if (auto* bar = dynamic_cast<ProgressBar*>(&control)) {
    return std::make_unique<ProgressBarPeer>(window, *bar, id);
  }
  if (auto* image = dynamic_cast<Image*>(&control)) {
    return std::make_unique<ImagePeer>(window, *image, id);
  }
  return nullptr;
}

}  // namespace forms::win32
