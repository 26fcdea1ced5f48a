#include "forms/win32/win32_backend.h"

#include <commctrl.h>
#include <objbase.h>

#include <vector>

#include "forms/application.h"
#include "forms/native_backend.h"
#include "forms/win32/form_window.h"
#include "forms/win32/message_box.h"

namespace forms {

std::unique_ptr<Backend> CreateNativeBackend(platform::Clock& /*clock*/,
                                             const FrontEndOptions& /*options*/) {
  // The system's own timers drive the forms; the clock serves only backends without them.
  return std::make_unique<win32::Win32Backend>(GetModuleHandleW(nullptr));
}

}  // namespace forms

namespace forms::win32 {

Win32Backend::Win32Backend(HINSTANCE instance) : instance_(instance), pictures_(instance) {
  // The picture loader decodes JPEG through COM, and the shell opens URLs through it.
  com_ready_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS |
                                                     ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);

  WNDCLASSEXW form_class{};
  form_class.cbSize = sizeof form_class;
  form_class.lpfnWndProc = FormWindow::Procedure;
  form_class.cbWndExtra = DLGWINDOWEXTRA;  // the dialog procedure keeps its state there
  form_class.hInstance = instance_;
  form_class.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  form_class.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  form_class.lpszClassName = FormWindow::ClassName();
  RegisterClassExW(&form_class);
}

Win32Backend::~Win32Backend() {
  windows_.clear();
  UnregisterClassW(FormWindow::ClassName(), instance_);
  if (com_ready_) CoUninitialize();
}

void Win32Backend::AttachForm(Form& form) {
  // Later forms belong to the first: they stay above it and out of the taskbar.
  auto window = std::make_unique<FormWindow>(*this, form, main_window_);
  if (main_window_ == nullptr) main_window_ = window->Handle();
  windows_[&form] = std::move(window);
}

void Win32Backend::DetachForm(Form& form) {
  const auto found = windows_.find(&form);
  if (found == windows_.end()) return;
  if (found->second->Handle() == main_window_) main_window_ = nullptr;
  windows_.erase(found);
}

bool Win32Backend::PumpOne() {
  MSG msg;
  if (GetMessageW(&msg, nullptr, 0, 0) <= 0) {
    if (msg.message == WM_QUIT) PostQuitMessage(static_cast<int>(msg.wParam));  // for outer loops
    return false;
  }
  // Keys for a form go through the dialog manager: Tab, Enter, mnemonics.
  HWND root = msg.hwnd != nullptr ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
  for (const auto& [form, window] : windows_) {
    if (window->Handle() == root) {
      if (IsDialogMessageW(root, &msg)) return true;
      break;
    }
  }
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
  return true;
}

void Win32Backend::RunLoop(Application& application) {
  while (!application.Terminated() && PumpOne()) {
  }
}

void Win32Backend::RunModal(Form& form) {
  const auto found = windows_.find(&form);
  if (found == windows_.end()) return;
  HWND modal = found->second->Handle();
  // The other forms take no input meanwhile.
  std::vector<HWND> disabled;
  for (const auto& [other, window] : windows_) {
    if (window->Handle() != modal && IsWindowEnabled(window->Handle())) {
      EnableWindow(window->Handle(), FALSE);
      disabled.push_back(window->Handle());
    }
  }
  while (form.GetModalResult() == ModalResult::None && form.Visible() && !form.App().Terminated() &&
         PumpOne()) {
  }
  // Enabled again before the box hides, so the owner becomes active again.
  for (HWND hwnd : disabled) EnableWindow(hwnd, TRUE);
}

ModalResult Win32Backend::ShowDialog(const DialogRequest& request) {
  HWND owner = GetActiveWindow();
  if (owner == nullptr && main_window_ != nullptr && IsWindowVisible(main_window_)) {
    owner = main_window_;
  }
  return ShowMessageBox(owner, request);
}

bool Win32Backend::Post(Form& form, const Message& message) {
  const auto found = windows_.find(&form);
  if (found == windows_.end()) return false;
  return PostMessageW(found->second->Handle(), message.Msg, message.WParam, message.LParam) != 0;
}

int Win32Backend::TextWidth(const std::string& text, const FontSpec& font) {
  return fonts_.Measure(text, font).cx;
}

int Win32Backend::OuterWidth(int client_width, BorderStyle border) {
  RECT frame{0, 0, client_width, 0};
  AdjustWindowRectEx(&frame, FormWindow::StyleFor(border, BorderIcons{}), FALSE,
                     FormWindow::ExStyleFor(border));
  return frame.right - frame.left;
}

HWND Win32Backend::NativeWindow(const Component& component) const {
  if (const auto* form = dynamic_cast<const Form*>(&component)) {
    const auto found = windows_.find(form);
    return found != windows_.end() ? found->second->Handle() : nullptr;
  }
  if (component.Owner() == nullptr) return nullptr;
  const auto found = windows_.find(component.Owner());
  if (found == windows_.end()) return nullptr;
  const ControlPeer* peer = found->second->PeerOf(component);
  return peer != nullptr ? peer->Handle() : nullptr;
}

}  // namespace forms::win32
