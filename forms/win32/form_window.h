#pragma once
// A form's top-level window and the peers that keep it and its native
// controls in step with the components. The window class runs the system's
// dialog procedure, so the dialog manager handles focus, Tab, Enter and
// mnemonics; the window procedure routes control notifications, timer ticks
// and posted form messages to the components.

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "forms/form.h"
#include "forms/timer.h"

namespace forms::win32 {

class Win32Backend;
class FormWindow;

// A native control standing for one component.
class ControlPeer : public ComponentPeer {
 public:
  ControlPeer(FormWindow& window, Control& control, int id);
  ~ControlPeer() override;
  ControlPeer(const ControlPeer&) = delete;
  ControlPeer& operator=(const ControlPeer&) = delete;

  HWND Handle() const { return hwnd_; }
  int Id() const { return id_; }
  Control& Target() const { return control_; }
  // The form's window is going: forget it and the control, which goes with it.
  void Detach();

  void Changed(Property property) override;

  // Labels and pictures are drawn below the controls that take input.
  virtual bool Graphic() const { return false; }
  virtual void Command(WORD /*code*/) {}
  virtual void DrawItem(const DRAWITEMSTRUCT& /*item*/) {}
  virtual void MeasureItem(MEASUREITEMSTRUCT& /*item*/) {}
  // Colours for WM_CTLCOLOR*: the background brush, or null for the default.
  virtual HBRUSH Colors(HDC dc);
  virtual bool HandCursor() const { return false; }

 protected:
  // Creates the control with the component's geometry, visibility, state and font.
  void Create(const wchar_t* window_class, DWORD style, DWORD ex_style);
  // Destroys and creates the control again, for styles fixed at creation.
  void Recreate(const wchar_t* window_class, DWORD style, DWORD ex_style);
  virtual void ChangedOwn(Property /*property*/) {}
  virtual void ApplyBounds();
  // Moves the control to the component's place with the given size.
  void Place(int width, int height);
  void SetStyle(DWORD bits, bool on);
  FormWindow* Window() const { return window_; }
  HFONT Font() const;

 private:
  void ApplyVisible();
  void ApplyEnabled();
  void MoveFocusOnIfLost(bool had_focus);

  FormWindow* window_;
  Control& control_;
  int id_;
  HWND hwnd_ = nullptr;
};

// A timer ticking through SetTimer on its form's window.
class TimerPeer final : public ComponentPeer {
 public:
  TimerPeer(FormWindow& window, Timer& timer, UINT_PTR id);
  ~TimerPeer() override;
  TimerPeer(const TimerPeer&) = delete;
  TimerPeer& operator=(const TimerPeer&) = delete;
  void Changed(Property property) override;
  void Detach() { window_ = nullptr; }
  Timer& Target() const { return timer_; }

 private:
  void Arm();
  FormWindow* window_;
  Timer& timer_;
  UINT_PTR id_;
};

class FormWindow {
 public:
  // Creates the window (hidden) and the peers of the form and its components.
  FormWindow(Win32Backend& backend, Form& form, HWND owner);
  // Detaches the peers and destroys the window with its controls.
  ~FormWindow();
  FormWindow(const FormWindow&) = delete;
  FormWindow& operator=(const FormWindow&) = delete;

  HWND Handle() const { return hwnd_; }
  Form& Target() const { return form_; }
  Win32Backend& Backend() const { return backend_; }
  const ControlPeer* PeerOf(const Component& component) const;

  // The form's own properties.
  void FormChanged(Property property);
  // Runs an event handler; what escapes it is reported by the application
  // and the loop goes on, since nothing may unwind through the system.
  void Guard(const std::function<void()>& handler) const;

  // Z-order: input controls in tab order (the order the dialog manager
  // walks), then labels and pictures, the later created on top.
  void ArrangeZOrder();
  void UpdateDefaultButton();
  void SetTooltip(HWND tool, const std::string& text, bool show);

  static DWORD StyleFor(BorderStyle border, BorderIcons icons);
  static DWORD ExStyleFor(BorderStyle border);
  static const wchar_t* ClassName() { return L"KstForm"; }
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM w_param, LPARAM l_param);

 private:
  LRESULT Handle(UINT msg, WPARAM w_param, LPARAM l_param);
  ControlPeer* PeerById(int id) const;
  ControlPeer* PeerByHandle(HWND control) const;
  void ApplyFrame();
  void ApplyIcon();
  void ApplyVisible();
  void PlaceOnShow();

  Win32Backend& backend_;
  Form& form_;
  HWND hwnd_ = nullptr;
  HWND tooltip_ = nullptr;
  class FormPeer* form_peer_ = nullptr;
  std::vector<ControlPeer*> controls_;  // in creation order
  std::vector<TimerPeer*> timers_;
};

}  // namespace forms::win32
