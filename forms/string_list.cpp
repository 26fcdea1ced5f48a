#include "forms/string_list.h"

#include <algorithm>
#include <stdexcept>

#include "forms/text.h"

namespace forms {

int CompareText(const std::string& a, const std::string& b) {
  const std::string upper_a = AnsiUpperCase(a);
  const std::string upper_b = AnsiUpperCase(b);
  return upper_a.compare(upper_b);
}

const std::string& StringList::operator[](int index) const {
  if (index < 0 || index >= Count()) throw std::out_of_range("StringList index out of bounds");
  return strings_[static_cast<std::size_t>(index)];
}

void StringList::SetSorted(bool sorted) {
  sorted_ = sorted;
  if (sorted_) {
    std::stable_sort(
        strings_.begin(), strings_.end(),
        [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; });
  }
}

int StringList::Add(const std::string& text) {
  if (!sorted_) {
    strings_.push_back(text);
    return Count() - 1;
  }
  const auto position = std::lower_bound(
      strings_.begin(), strings_.end(), text,
      [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; });
  const int index = static_cast<int>(position - strings_.begin());
  if (duplicates_ == Duplicates::Ignore && position != strings_.end() &&
      CompareText(*position, text) == 0) {
    return index;
  }
  // After any equal entries, so equal texts keep the order they came in.
  const auto after = std::upper_bound(
      position, strings_.end(), text,
      [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; });
  const int after_index = static_cast<int>(after - strings_.begin());
  strings_.insert(after, text);
  return after_index;
}

int StringList::IndexOf(const std::string& text) const {
  for (int i = 0; i < Count(); ++i) {
    if (CompareText(strings_[static_cast<std::size_t>(i)], text) == 0) return i;
  }
  return -1;
}

void StringList::Assign(const StringList& source) {
  if (&source == this) return;
  strings_.clear();
  for (const std::string& text : source.strings_) Add(text);
}

}  // namespace forms
