#include "tests/win32/model_check.h"

#include <commctrl.h>

#include <string>

#include "forms/button.h"
#include "forms/edit.h"
#include "forms/label.h"
#include "forms/list_box.h"
#include "forms/progress_bar.h"
#include "forms/win32/wide_text.h"

namespace kst_test {

namespace {

using forms::win32::WideToCp1252;

std::string WindowText(HWND hwnd) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
  return WideToCp1252(text);
}

std::string ListItem(HWND list, int index) {
  const auto length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(length));
  return WideToCp1252(text);
}

class Checker {
 public:
  Checker(const forms::Form& form, std::ostream& out) : form_(form), out_(out) {}

  template <class T>
  void Expect(const std::string& where, const char* what, const T& native, const T& model) {
    if (native == model) return;
    out_ << form_.Name() << "." << where << ": " << what << " shows '" << native
         << "', the model says '" << model << "'\n";
    ++differences_;
  }
  int Differences() const { return differences_; }

 private:
  const forms::Form& form_;
  std::ostream& out_;
  int differences_ = 0;
};

void CompareGeometry(Checker& check, const forms::Control& control, HWND form, HWND hwnd) {
  RECT rect{};
  GetWindowRect(hwnd, &rect);
  MapWindowPoints(HWND_DESKTOP, form, reinterpret_cast<POINT*>(&rect), 2);
  check.Expect(control.Name(), "left", static_cast<int>(rect.left), control.Left());
  check.Expect(control.Name(), "top", static_cast<int>(rect.top), control.Top());
  check.Expect(control.Name(), "width", static_cast<int>(rect.right - rect.left), control.Width());
  check.Expect(control.Name(), "height", static_cast<int>(rect.bottom - rect.top),
               control.Height());
}

}  // namespace

int CompareWithModel(forms::win32::Win32Backend& backend, const forms::Form& form,
                     std::ostream& out) {
  Checker check(form, out);
  HWND window = backend.NativeWindow(form);
  check.Expect("window", "caption", WindowText(window), form.Caption());
  check.Expect("window", "visible", IsWindowVisible(window) != 0, form.Visible());
  RECT client{};
  GetClientRect(window, &client);
  check.Expect("window", "client width", static_cast<int>(client.right), form.ClientWidth());
  check.Expect("window", "client height", static_cast<int>(client.bottom), form.ClientHeight());
  RECT outer{};
  GetWindowRect(window, &outer);
  check.Expect("window", "outer width", static_cast<int>(outer.right - outer.left), form.Width());

  for (const forms::Component* component : form.Components()) {
    const auto* control = dynamic_cast<const forms::Control*>(component);
    if (control == nullptr) continue;
    HWND hwnd = backend.NativeWindow(*control);
    const std::string& name = control->Name();
    if (hwnd == nullptr) {
      check.Expect(name, "native window", std::string("none"), std::string("one"));
      continue;
    }
    // IsWindowVisible also needs the form shown; the style bit is the control's own.
    const bool shown = (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
    check.Expect(name, "visible", shown, control->Visible());
    check.Expect(name, "enabled", IsWindowEnabled(hwnd) != 0, control->Enabled());
    check.Expect(name, "tab stop", (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_TABSTOP) != 0,
                 control->TabStop());

    if (const auto* label = dynamic_cast<const forms::Label*>(control)) {
      check.Expect(name, "text", WindowText(hwnd), label->Caption());
      if (!label->AutoSize()) CompareGeometry(check, *control, window, hwnd);
    } else if (const auto* button = dynamic_cast<const forms::Button*>(control)) {
      check.Expect(name, "text", WindowText(hwnd), button->Caption());
      CompareGeometry(check, *control, window, hwnd);
    } else if (const auto* edit = dynamic_cast<const forms::Edit*>(control)) {
      check.Expect(name, "text", WindowText(hwnd), edit->Text());
      CompareGeometry(check, *control, window, hwnd);
    } else if (const auto* list = dynamic_cast<const forms::ListBox*>(control)) {
      const auto count = static_cast<int>(SendMessageW(hwnd, LB_GETCOUNT, 0, 0));
      check.Expect(name, "item count", count, list->Items().Count());
      for (int i = 0; i < count && i < list->Items().Count(); ++i) {
        check.Expect(name, "item", ListItem(hwnd, i), list->Items()[i]);
      }
      check.Expect(name, "selection", static_cast<int>(SendMessageW(hwnd, LB_GETCURSEL, 0, 0)),
                   list->ItemIndex());
      CompareGeometry(check, *control, window, hwnd);
    } else if (const auto* bar = dynamic_cast<const forms::ProgressBar*>(control)) {
      check.Expect(name, "position", static_cast<int>(SendMessageW(hwnd, PBM_GETPOS, 0, 0)),
                   bar->Position());
      check.Expect(name, "maximum", static_cast<int>(SendMessageW(hwnd, PBM_GETRANGE, FALSE, 0)),
                   bar->Max());
      check.Expect(name, "smooth", (GetWindowLongPtrW(hwnd, GWL_STYLE) & PBS_SMOOTH) != 0,
                   bar->Smooth());
      CompareGeometry(check, *control, window, hwnd);
    }
  }
  return check.Differences();
}

}  // namespace kst_test
