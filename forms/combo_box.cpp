#include "forms/combo_box.h"

namespace forms {

ComboBox::ComboBox(Form* owner, std::string name) : Control(owner, std::move(name)) {
  items_.SetDuplicates(Duplicates::Accept);
  SetTabStop(true);
}

int ComboBox::AddItem(const std::string& text) {
  const int index = items_.Add(text);
  Changed(Property::Items);
  return index;
}

void ComboBox::SetItemIndex(int index) {
  Set(item_index_, index >= 0 && index < items_.Count() ? index : -1, Property::ItemIndex);
}

}  // namespace forms
