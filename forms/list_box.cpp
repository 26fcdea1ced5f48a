#include "forms/list_box.h"

namespace forms {

ListBox::ListBox(Form* owner, std::string name) : Control(owner, std::move(name)) {
  items_.SetDuplicates(Duplicates::Accept);
  SetTabStop(true);
}

int ListBox::AddItem(const std::string& text) {
  const int index = items_.Add(text);
  item_index_ = -1;
  Changed(Property::Items);
  return index;
}

void ListBox::ClearItems() {
  items_.Clear();
  item_index_ = -1;
  Changed(Property::Items);
}

void ListBox::AssignItems(const StringList& source) {
  items_.Assign(source);
  item_index_ = -1;
  Changed(Property::Items);
}

void ListBox::SetItemIndex(int index) {
  Set(item_index_, index >= 0 && index < items_.Count() ? index : -1, Property::ItemIndex);
}

void ListBox::SetSorted(bool sorted) {
  items_.SetSorted(sorted);
  Changed(Property::Sorted);
}

void ListBox::SetMultiSelect(bool multi, bool extended) {
  multi_select_ = multi;
  Set(extended_select_, extended, Property::MultiSelect);
}

}  // namespace forms
