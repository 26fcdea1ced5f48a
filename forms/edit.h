#pragma once
// A single-line text box; the program only uses it read-only.

#include <string>

#include "forms/component.h"

namespace forms {

class Edit : public Control {
 public:
  Edit(Form* owner, std::string name) : Control(owner, std::move(name)) { SetTabStop(true); }

  const std::string& Text() const { return text_; }
  void SetText(const std::string& text) { Set(text_, text, Property::Caption); }
  bool ReadOnly() const { return read_only_; }
  void SetReadOnly(bool read_only) { Set(read_only_, read_only, Property::ReadOnly); }

 private:
  std::string text_;
  bool read_only_ = false;
};

}  // namespace forms
