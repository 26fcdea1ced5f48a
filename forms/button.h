#pragma once
// A push button; '&' in its caption marks the mnemonic letter.

#include <string>

#include "forms/component.h"

namespace forms {

class Button : public Control {
 public:
  Button(Form* owner, std::string name) : Control(owner, std::move(name)) { SetTabStop(true); }

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption) { Set(caption_, caption, Property::Caption); }
  // The default button is pressed by Enter anywhere in its form.
  bool Default() const { return default_; }
  void SetDefault(bool is_default) { Set(default_, is_default, Property::Default); }
  const std::string& Hint() const { return hint_; }
  bool ShowHint() const { return show_hint_; }
  void SetHint(const std::string& hint, bool show) {
    hint_ = hint;
    Set(show_hint_, show, Property::Hint);
  }

  NotifyEvent OnClick;
  void Click() {
    if (OnClick) OnClick(this);
  }

 private:
  std::string caption_;
  bool default_ = false;
  std::string hint_;
  bool show_hint_ = false;
};

}  // namespace forms
