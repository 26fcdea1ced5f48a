#pragma once
// A list of texts of which at most one is selected. A sorted list box keeps
// its items in case-insensitive order; unlike a sorted StringList it keeps
// duplicates, as the system's list box does.

#include <string>

#include "forms/component.h"
#include "forms/string_list.h"

namespace forms {

enum class ListBoxStyle { Standard, OwnerDrawFixed };

class ListBox : public Control {
 public:
  ListBox(Form* owner, std::string name);

  const StringList& Items() const { return items_; }
  // Returns the index of the new item. Removing or adding items clears the selection.
  int AddItem(const std::string& text);
  void ClearItems();
  void AssignItems(const StringList& source);

  // -1 when nothing is selected; an index outside the items selects nothing.
  int ItemIndex() const { return item_index_; }
  void SetItemIndex(int index);

  bool Sorted() const { return items_.Sorted(); }
  void SetSorted(bool sorted);
  int ItemHeight() const { return item_height_; }
  void SetItemHeight(int height) { Set(item_height_, height, Property::ItemHeight); }
  ListBoxStyle Style() const { return style_; }
  void SetStyle(ListBoxStyle style) { Set(style_, style, Property::Style); }
  bool MultiSelect() const { return multi_select_; }
  bool ExtendedSelect() const { return extended_select_; }
  void SetMultiSelect(bool multi, bool extended);

  NotifyEvent OnClick;
  void Click() {
    if (OnClick) OnClick(this);
  }

 private:
  StringList items_;
  int item_index_ = -1;
  int item_height_ = 13;
  ListBoxStyle style_ = ListBoxStyle::Standard;
  bool multi_select_ = false;
  bool extended_select_ = true;
};

}  // namespace forms
