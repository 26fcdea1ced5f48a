#include "forms/string_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace forms {
namespace {

std::vector<std::string> Entries(const StringList& list) {
  return list.Strings();
}

TEST(StringListTest, SortedListOrdersWithoutCaseAndDropsDuplicates) {
  StringList list;
  list.SetSorted(true);
  list.Add("COM4 : VORANEX");
  list.Add("com1");
  list.Add("COM10");
  EXPECT_EQ(list.Add("COM1"), 0);  // already there, whatever the case
  EXPECT_EQ(Entries(list), (std::vector<std::string>{"com1", "COM10", "COM4 : VORANEX"}));
  EXPECT_EQ(list.IndexOf("com4 : voranex"), 2);
  EXPECT_EQ(list.IndexOf("COM2"), -1);
}

TEST(StringListTest, UnsortedListKeepsOrderAndDuplicates) {
  StringList list;
  list.Add("b");
  list.Add("a");
  list.Add("B");
  EXPECT_EQ(Entries(list), (std::vector<std::string>{"b", "a", "B"}));
  EXPECT_EQ(list.IndexOf("B"), 0);  // the first match, ignoring case
  list.SetSorted(true);
  EXPECT_EQ(Entries(list), (std::vector<std::string>{"a", "b", "B"}));
}

TEST(StringListTest, AssignIntoASortedListSortsAndReplaces) {
  StringList source;
  for (const char* text : {"COM3", "COM1", "com3"}) source.Add(text);
  StringList target;
  target.SetSorted(true);
  target.Add("old");
  target.Assign(source);
  EXPECT_EQ(Entries(target), (std::vector<std::string>{"COM1", "COM3"}));
  target.Assign(target);
  EXPECT_EQ(target.Count(), 2);
}

TEST(StringListTest, SortedListAcceptingDuplicatesKeepsThemInArrivalOrder) {
  StringList list;
  list.SetDuplicates(Duplicates::Accept);
  list.SetSorted(true);
  EXPECT_EQ(list.Add("x"), 0);
  EXPECT_EQ(list.Add("X"), 1);
  EXPECT_EQ(list.Add("a"), 0);
  EXPECT_EQ(Entries(list), (std::vector<std::string>{"a", "x", "X"}));
  EXPECT_THROW(list[3], std::out_of_range);
}

}  // namespace
}  // namespace forms
