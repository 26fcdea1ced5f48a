#pragma once
// A drop-down list; the program gives it no items and only reacts to a selection.

#include <string>

#include "forms/component.h"
#include "forms/string_list.h"

namespace forms {

class ComboBox : public Control {
 public:
  ComboBox(Form* owner, std::string name);

  const StringList& Items() const { return items_; }
  int AddItem(const std::string& text);
  // -1 when nothing is selected; an index outside the items selects nothing.
  int ItemIndex() const { return item_index_; }
  void SetItemIndex(int index);

  NotifyEvent OnSelect;
  void Select() {
    if (OnSelect) OnSelect(this);
  }

 private:
  StringList items_;
  int item_index_ = -1;
};

}  // namespace forms
