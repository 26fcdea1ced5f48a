#pragma once
// A list of texts. A sorted list keeps its entries in case-insensitive order
// and, unless told to accept them, drops an entry equal (ignoring case) to
// one it holds.

#include <string>
#include <vector>

namespace forms {

enum class Duplicates { Ignore, Accept };

class StringList {
 public:
  StringList() = default;

  int Count() const { return static_cast<int>(strings_.size()); }
  const std::string& operator[](int index) const;
  const std::vector<std::string>& Strings() const { return strings_; }

  bool Sorted() const { return sorted_; }
  // Turning sorting on sorts the entries already there.
  void SetSorted(bool sorted);
  Duplicates GetDuplicates() const { return duplicates_; }
  void SetDuplicates(Duplicates duplicates) { duplicates_ = duplicates; }

  // Returns the index of the new entry; in a sorted list that drops
  // duplicates, the index of the entry already there.
  int Add(const std::string& text);
  // Position of the first entry equal to text, ignoring case; -1 when absent.
  int IndexOf(const std::string& text) const;
  void Clear() { strings_.clear(); }
  // Replaces the entries by those of source, added one by one (so a sorted
  // list sorts them).
  void Assign(const StringList& source);

 private:
  std::vector<std::string> strings_;
  bool sorted_ = false;
  Duplicates duplicates_ = Duplicates::Ignore;
};

// Case-insensitive comparison of two Windows-1252 texts: <0, 0 or >0.
int CompareText(const std::string& a, const std::string& b);

}  // namespace forms
