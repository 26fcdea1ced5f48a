#include "forms/win32/form_window.h"

#include <commctrl.h>

#include <algorithm>
#include <climits>
#include <exception>
#include <tuple>

#include "forms/application.h"
#include "forms/button.h"
#include "forms/win32/control_peers.h"
#include "forms/win32/wide_text.h"
#include "forms/win32/win32_backend.h"

namespace forms::win32 {

namespace {

// Control identifiers start above the dialog manager's IDOK..IDHELP.
constexpr int kFirstControlId = 100;

bool IsFocus(HWND hwnd) {
  return hwnd != nullptr && GetFocus() == hwnd;
}

}  // namespace

// The form's own peer: hands its property changes to the window.
class FormPeer final : public ComponentPeer {
 public:
  explicit FormPeer(FormWindow& window) : window_(&window) {}
  void Changed(Property property) override {
    if (window_ != nullptr) window_->FormChanged(property);
  }
  void Detach() { window_ = nullptr; }

 private:
  FormWindow* window_;
};

// ---- ControlPeer

ControlPeer::ControlPeer(FormWindow& window, Control& control, int id)
    : window_(&window), control_(control), id_(id) {}

ControlPeer::~ControlPeer() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

void ControlPeer::Detach() {
  hwnd_ = nullptr;
  window_ = nullptr;
}

HFONT ControlPeer::Font() const {
  return window_->Backend().Fonts().Get(control_.Font());
}

void ControlPeer::Create(const wchar_t* window_class, DWORD style, DWORD ex_style) {
  style |= WS_CHILD | WS_CLIPSIBLINGS;
  if (control_.Visible()) style |= WS_VISIBLE;
  if (!control_.Enabled()) style |= WS_DISABLED;
  if (control_.TabStop()) style |= WS_TABSTOP;
  hwnd_ = CreateWindowExW(ex_style, window_class, L"", style, control_.Left(), control_.Top(),
                          control_.Width(), control_.Height(), window_->Handle(),
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)),
                          window_->Backend().Instance(), nullptr);
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
}

void ControlPeer::Recreate(const wchar_t* window_class, DWORD style, DWORD ex_style) {
  const bool had_focus = IsFocus(hwnd_);
  HWND old = hwnd_;
  Create(window_class, style, ex_style);
  DestroyWindow(old);
  window_->ArrangeZOrder();
  if (had_focus) SetFocus(hwnd_);
}

void ControlPeer::SetStyle(DWORD bits, bool on) {
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE));
  const DWORD updated = on ? (style | bits) : (style & ~bits);
  if (updated == style) return;
  SetWindowLongPtrW(hwnd_, GWL_STYLE, static_cast<LONG_PTR>(updated));
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void ControlPeer::Changed(Property property) {
  if (hwnd_ == nullptr) return;
  switch (property) {
    case Property::Bounds:
      ApplyBounds();
      break;
    case Property::Visible:
      ApplyVisible();
      break;
    case Property::Enabled:
      ApplyEnabled();
      break;
    case Property::TabOrder:
      SetStyle(WS_TABSTOP, control_.TabStop());
      window_->ArrangeZOrder();
      break;
    case Property::Font:
      SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), TRUE);
      ChangedOwn(property);
      break;
    case Property::Color:
      InvalidateRect(hwnd_, nullptr, TRUE);
      break;
    default:
      ChangedOwn(property);
      break;
  }
}

void ControlPeer::ApplyBounds() {
  Place(control_.Width(), control_.Height());
}

// Without copying the old contents: a control moved while shown would keep
// stale pixels of where it stood (seen with list boxes under Wine).
void ControlPeer::Place(int width, int height) {
  SetWindowPos(hwnd_, nullptr, control_.Left(), control_.Top(), width, height,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
}

void ControlPeer::ApplyVisible() {
  const bool had_focus = IsFocus(hwnd_);
  ShowWindow(hwnd_, control_.Visible() ? SW_SHOWNA : SW_HIDE);
  MoveFocusOnIfLost(had_focus);
}

void ControlPeer::ApplyEnabled() {
  const bool had_focus = IsFocus(hwnd_);
  EnableWindow(hwnd_, control_.Enabled());
  MoveFocusOnIfLost(had_focus);
}

// A control that goes away or off while it has the focus hands it on, so
// the keyboard keeps working on the active form.
void ControlPeer::MoveFocusOnIfLost(bool had_focus) {
  if (!had_focus || (control_.Visible() && control_.Enabled())) return;
  HWND form = window_->Handle();
  if (GetActiveWindow() != form) return;
  if (HWND next = GetNextDlgTabItem(form, hwnd_, FALSE); next != nullptr && next != hwnd_) {
    SendMessageW(form, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(next), TRUE);
  }
}

HBRUSH ControlPeer::Colors(HDC dc) {
  const Color color = control_.GetColor();
  const int background = color == Color::Default && !Graphic() ? COLOR_WINDOW : COLOR_BTNFACE;
  SetBkColor(dc, GetSysColor(background));
  SetTextColor(
      dc, control_.Font().color == Color::Blue ? RGB(0, 0, 255) : GetSysColor(COLOR_WINDOWTEXT));
  return GetSysColorBrush(background);
}

// ---- TimerPeer

TimerPeer::TimerPeer(FormWindow& window, Timer& timer, UINT_PTR id)
    : window_(&window), timer_(timer), id_(id) {
  Arm();
}

TimerPeer::~TimerPeer() {
  if (window_ != nullptr) KillTimer(window_->Handle(), id_);
}

void TimerPeer::Changed(Property property) {
  if (property == Property::Interval || property == Property::Enabled) Arm();
}

// SetTimer on a running id restarts its countdown, as a change must.
void TimerPeer::Arm() {
  if (window_ == nullptr) return;
  if (timer_.Enabled() && timer_.Interval() > 0) {
    SetTimer(window_->Handle(), id_, timer_.Interval(), nullptr);
  } else {
    KillTimer(window_->Handle(), id_);
  }
}

// ---- FormWindow

DWORD FormWindow::StyleFor(BorderStyle border, BorderIcons icons) {
  DWORD style = WS_CAPTION | WS_CLIPCHILDREN;
  if (icons.system_menu) style |= WS_SYSMENU;
  if (border != BorderStyle::Dialog) {
    if (icons.minimize) style |= WS_MINIMIZEBOX;
    if (icons.maximize) style |= WS_MAXIMIZEBOX;
  }
  if (border == BorderStyle::Sizeable) style |= WS_THICKFRAME;
  return style;
}

DWORD FormWindow::ExStyleFor(BorderStyle border) {
  return border == BorderStyle::Dialog ? WS_EX_DLGMODALFRAME : 0;
}

FormWindow::FormWindow(Win32Backend& backend, Form& form, HWND owner)
    : backend_(backend), form_(form) {
  const DWORD style = StyleFor(form.GetBorderStyle(), form.GetBorderIcons());
  const DWORD ex_style = ExStyleFor(form.GetBorderStyle());
  RECT frame{0, 0, form.ClientWidth(), form.ClientHeight()};
  AdjustWindowRectEx(&frame, style, FALSE, ex_style);
  CreateWindowExW(ex_style, ClassName(), Cp1252ToWide(form.Caption()).c_str(), style, CW_USEDEFAULT,
                  CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, owner, nullptr,
                  backend.Instance(), this);  // WM_NCCREATE sets hwnd_

  auto form_peer = std::make_unique<FormPeer>(*this);
  form_peer_ = form_peer.get();
  form.SetPeer(std::move(form_peer));

  int id = kFirstControlId;
  for (Component* component : form.Components()) {
    if (auto* timer = dynamic_cast<Timer*>(component)) {
      auto peer = std::make_unique<TimerPeer>(*this, *timer, timers_.size() + 1);
      timers_.push_back(peer.get());
      timer->SetPeer(std::move(peer));
    } else if (auto* control = dynamic_cast<Control*>(component)) {
      if (auto peer = MakeControlPeer(*this, *control, id++)) {
        controls_.push_back(peer.get());
        control->SetPeer(std::move(peer));
      }
    }
  }
  ArrangeZOrder();
  UpdateDefaultButton();
  ApplyIcon();
  if (form.Visible()) ApplyVisible();
}

FormWindow::~FormWindow() {
  for (ControlPeer* peer : controls_) peer->Detach();
  for (TimerPeer* peer : timers_) peer->Detach();
  form_peer_->Detach();
  // The window and its controls go without calling back into the form.
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  DestroyWindow(hwnd_);
}

const ControlPeer* FormWindow::PeerOf(const Component& component) const {
  for (const ControlPeer* peer : controls_) {
    if (&peer->Target() == &component) return peer;
  }
  return nullptr;
}

ControlPeer* FormWindow::PeerById(int id) const {
  for (ControlPeer* peer : controls_) {
    if (peer->Id() == id) return peer;
  }
  return nullptr;
}

ControlPeer* FormWindow::PeerByHandle(HWND control) const {
  for (ControlPeer* peer : controls_) {
    if (peer->Handle() == control) return peer;
  }
  return nullptr;
}

void FormWindow::Guard(const std::function<void()>& handler) const {
  form_.App().RunGuarded(handler);
}

void FormWindow::ArrangeZOrder() {
  std::vector<ControlPeer*> input;
  std::vector<ControlPeer*> graphic;
  for (ControlPeer* peer : controls_) (peer->Graphic() ? graphic : input).push_back(peer);
  std::stable_sort(input.begin(), input.end(), [](const ControlPeer* a, const ControlPeer* b) {
    // Controls without a place in the tab order come after those with one.
    const auto rank = [](const ControlPeer* peer) {
      const int order = peer->Target().TabOrder();
      return order < 0 ? INT_MAX : order;
    };
    return rank(a) < rank(b);
  });
  std::reverse(graphic.begin(), graphic.end());
  HWND above = HWND_TOP;
  for (const std::vector<ControlPeer*>* group : {&input, &graphic}) {
    for (ControlPeer* peer : *group) {
      SetWindowPos(peer->Handle(), above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      above = peer->Handle();
    }
  }
}

void FormWindow::UpdateDefaultButton() {
  for (ControlPeer* peer : controls_) {
    const auto* button = dynamic_cast<const Button*>(&peer->Target());
    if (button != nullptr && button->Default()) {
      // Straight to the dialog procedure: DM_SETDEFID shares its number
      // with the form messages that this window's procedure dispatches.
      DefDlgProcW(hwnd_, DM_SETDEFID, static_cast<WPARAM>(peer->Id()), 0);
      return;
    }
  }
}

void FormWindow::SetTooltip(HWND tool, const std::string& text, bool show) {
  if (tooltip_ == nullptr) {
    if (!show) return;
    tooltip_ =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                        WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, backend_.Instance(), nullptr);
  }
  std::wstring wide = Cp1252ToWide(text);
  TTTOOLINFOW info{};
  info.cbSize = TTTOOLINFOW_V2_SIZE;
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = hwnd_;
  info.uId = reinterpret_cast<UINT_PTR>(tool);
  info.lpszText = wide.data();
  SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  if (show && !text.empty())
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

void FormWindow::FormChanged(Property property) {
  switch (property) {
    case Property::Caption:
      SetWindowTextW(hwnd_, Cp1252ToWide(form_.Caption()).c_str());
      break;
    case Property::ClientSize:
    case Property::BorderStyle:
    case Property::BorderIcons:
      ApplyFrame();
      break;
    case Property::Visible:
      ApplyVisible();
      break;
    case Property::Icon:
      ApplyIcon();
      break;
    case Property::Font:
    case Property::Color:
      InvalidateRect(hwnd_, nullptr, TRUE);
      break;
    default:
      break;
  }
}

void FormWindow::ApplyFrame() {
  constexpr DWORD kKept = WS_VISIBLE | WS_DISABLED;
  const auto old_style = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE));
  const DWORD style =
      StyleFor(form_.GetBorderStyle(), form_.GetBorderIcons()) | (old_style & kKept);
  const DWORD ex_style = ExStyleFor(form_.GetBorderStyle());
  SetWindowLongPtrW(hwnd_, GWL_STYLE, static_cast<LONG_PTR>(style));
  SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, static_cast<LONG_PTR>(ex_style));
  RECT frame{0, 0, form_.ClientWidth(), form_.ClientHeight()};
  AdjustWindowRectEx(&frame, style, FALSE, ex_style);
  SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void FormWindow::ApplyIcon() {
  std::wstring name = Cp1252ToWide(form_.Icon());
  const wchar_t* resource = name.c_str();
  if (name.empty()) {
    // The application's icon: the module's first icon group.
    LPCWSTR first = nullptr;
    EnumResourceNamesW(
        backend_.Instance(), MAKEINTRESOURCEW(14),  // RT_GROUP_ICON
        [](HMODULE, LPCWSTR, LPWSTR found, LONG_PTR param) -> BOOL {
          *reinterpret_cast<LPCWSTR*>(param) = found;
          return FALSE;
        },
        reinterpret_cast<LONG_PTR>(&first));
    if (first == nullptr) return;
    if (IS_INTRESOURCE(first)) {
      resource = first;
    } else {
      name = first;
      resource = name.c_str();
    }
  }
  for (const auto& [which, metric_x, metric_y] :
       {std::tuple{WPARAM{ICON_BIG}, SM_CXICON, SM_CYICON},
        std::tuple{WPARAM{ICON_SMALL}, SM_CXSMICON, SM_CYSMICON}}) {
    HANDLE icon = LoadImageW(backend_.Instance(), resource, IMAGE_ICON, GetSystemMetrics(metric_x),
                             GetSystemMetrics(metric_y), LR_SHARED);
    if (icon != nullptr) SendMessageW(hwnd_, WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
  }
}

void FormWindow::PlaceOnShow() {
  RECT window{};
  GetWindowRect(hwnd_, &window);
  const int width = window.right - window.left;
  const int height = window.bottom - window.top;
  RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  HWND owner = GetWindow(hwnd_, GW_OWNER);
  if (form_.Position() == FormPosition::OwnerFormCenter && owner != nullptr &&
      IsWindowVisible(owner)) {
    GetWindowRect(owner, &area);
  } else if (form_.Position() == FormPosition::Designed) {
    return;
  }
  int left = area.left + (area.right - area.left - width) / 2;
  int top = area.top + (area.bottom - area.top - height) / 2;
  // Keep the title bar on the screen.
  left = std::clamp(left, 0, std::max(0, GetSystemMetrics(SM_CXSCREEN) - width));
  top = std::clamp(top, 0, std::max(0, GetSystemMetrics(SM_CYSCREEN) - height));
  SetWindowPos(hwnd_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::ApplyVisible() {
  if (!form_.Visible()) {
    ShowWindow(hwnd_, SW_HIDE);
    return;
  }
  if (!IsWindowVisible(hwnd_)) PlaceOnShow();
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
  // The window was not made by the dialog functions, which would have
  // focused the first control in the tab order: do it here.
  if (!IsChild(hwnd_, GetFocus())) {
    if (HWND first = GetNextDlgTabItem(hwnd_, nullptr, FALSE); first != nullptr) {
      SendMessageW(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(first), TRUE);
    }
  }
}

LRESULT CALLBACK FormWindow::Procedure(HWND hwnd, UINT msg, WPARAM w_param, LPARAM l_param) {
  if (msg == WM_NCCREATE) {
    auto* window =
        static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTW*>(l_param)->lpCreateParams);
    window->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
  }
  auto* window = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (window == nullptr) return DefDlgProcW(hwnd, msg, w_param, l_param);
  return window->Handle(msg, w_param, l_param);
}

LRESULT FormWindow::Handle(UINT msg, WPARAM w_param, LPARAM l_param) {
  switch (msg) {
    case WM_COMMAND:
      if (ControlPeer* peer = PeerById(LOWORD(w_param)); peer != nullptr) {
        Guard([peer, w_param] { peer->Command(HIWORD(w_param)); });
        return 0;
      }
      break;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(l_param);
      if (ControlPeer* peer = PeerById(static_cast<int>(item->CtlID)); peer != nullptr) {
        peer->DrawItem(*item);
        return TRUE;
      }
      break;
    }
    case WM_MEASUREITEM: {
      auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(l_param);
      if (ControlPeer* peer = PeerById(static_cast<int>(item->CtlID)); peer != nullptr) {
        peer->MeasureItem(*item);
        return TRUE;
      }
      break;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
      if (ControlPeer* peer = PeerByHandle(reinterpret_cast<HWND>(l_param)); peer != nullptr) {
        if (HBRUSH brush = peer->Colors(reinterpret_cast<HDC>(w_param)); brush != nullptr) {
          return reinterpret_cast<LRESULT>(brush);
        }
      }
      break;
    case WM_CTLCOLORDLG:
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    case WM_SETCURSOR:
      if (ControlPeer* peer = PeerByHandle(reinterpret_cast<HWND>(w_param));
          peer != nullptr && peer->HandCursor() && LOWORD(l_param) == HTCLIENT) {
        SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32649)));  // IDC_HAND
        return TRUE;
      }
      break;
    case WM_TIMER:
      if (w_param >= 1 && w_param <= timers_.size()) {
        Timer& timer = timers_[w_param - 1]->Target();
        Guard([&timer] { timer.Tick(); });
        return 0;
      }
      break;
    case WM_CLOSE:
      // Closing follows the form's rules (hide, end the loop or the modal
      // display); the window itself lives until the form goes.
      Guard([this] { form_.Close(); });
      return 0;
    default:
      // Form messages; WM_USER itself is the dialog manager's DM_GETDEFID,
      // and from 0xC000 on are the system's registered messages.
      if (msg > DM_GETDEFID && msg < 0xC000) {
        Message message;
        message.Msg = msg;
        message.WParam = w_param;
        message.LParam = l_param;
        Guard([this, &message] { form_.Dispatch(message); });
        return message.Result;
      }
      break;
  }
  return DefDlgProcW(hwnd_, msg, w_param, l_param);
}

}  // namespace forms::win32
