#pragma once
// The form library on Win32: every form a top-level window run by the
// system's dialog manager (Tab, Enter for the default button, mnemonics),
// every component a native control, timers with SetTimer, posted messages
// with PostMessage to the form's own window, message boxes with MessageBoxW.

#include <windows.h>

#include <map>
#include <memory>

#include "forms/backend.h"
#include "forms/win32/font_cache.h"
#include "forms/win32/picture.h"

namespace forms::win32 {

class FormWindow;

class Win32Backend final : public Backend {
 public:
  // instance: the module holding the icons and pictures.
  explicit Win32Backend(HINSTANCE instance);
  ~Win32Backend() override;
  Win32Backend(const Win32Backend&) = delete;
  Win32Backend& operator=(const Win32Backend&) = delete;

  void AttachForm(Form& form) override;
  void DetachForm(Form& form) override;
  void RunLoop(Application& application) override;
  void RunModal(Form& form) override;
  ModalResult ShowDialog(const DialogRequest& request) override;
  bool Post(Form& form, const Message& message) override;
  int TextWidth(const std::string& text, const FontSpec& font) override;
  int OuterWidth(int client_width, BorderStyle border) override;

  // The native window of a form or of a control; null for anything without one.
  HWND NativeWindow(const Component& component) const;

  HINSTANCE Instance() const { return instance_; }
  FontCache& Fonts() { return fonts_; }
  PictureCache& Pictures() { return pictures_; }
  // The first form's window: the owner of the others and of message boxes.
  HWND MainWindow() const { return main_window_; }

 private:
  // Gets and handles one message; false when the queue reported an error.
  bool PumpOne();

  HINSTANCE instance_;
  bool com_ready_ = false;
  FontCache fonts_;
  PictureCache pictures_;
  std::map<const Form*, std::unique_ptr<FormWindow>> windows_;
  HWND main_window_ = nullptr;
};

}  // namespace forms::win32
