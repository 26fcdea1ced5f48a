#pragma once
// A line of text; as a link it takes clicks and shows the hand cursor.

#include <string>

#include "forms/component.h"

namespace forms {

class Label : public Control {
 public:
  using Control::Control;

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption) { Set(caption_, caption, Property::Caption); }
  Alignment GetAlignment() const { return alignment_; }
  void SetAlignment(Alignment alignment) { Set(alignment_, alignment, Property::Alignment); }
  // False keeps the designed size whatever the text.
  bool AutoSize() const { return auto_size_; }
  void SetAutoSize(bool auto_size) { Set(auto_size_, auto_size, Property::AutoSize); }
  forms::Cursor GetCursor() const { return cursor_; }
  void SetCursor(forms::Cursor cursor) { Set(cursor_, cursor, Property::Cursor); }

  NotifyEvent OnClick;
  void Click() {
    if (OnClick) OnClick(this);
  }

 private:
  std::string caption_;
  Alignment alignment_ = Alignment::LeftJustify;
  bool auto_size_ = true;
  forms::Cursor cursor_ = forms::Cursor::Default;
};

}  // namespace forms
