#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "NSObject.h"
#include "TestSupport.h"
#include "UxCommon.h"

namespace {
// An object carrying both keys, and a name to tell equal keys apart.
class Keyed : public NSObject {
 public:
  Keyed(int value, int tag, std::string name) : value_(value), tag_(tag), name_(std::move(name)) {}
  int intValue() const { return value_; }
  int tag() const { return tag_; }
  const std::string& name() const { return name_; }

 private:
  int value_, tag_;
  std::string name_;
};

std::vector<std::string> names(const std::vector<Ptr<Keyed>>& items) {
  std::vector<std::string> out;
  for (const auto& item : items) out.push_back(item ? item->name() : "null");
  return out;
}

using Strings = std::vector<std::string>;
}  // namespace

TEST(UxCommonSort, MergeSortOrdersStringsByTheirIntegerValue) {
  Strings keys{"3", "1", "2"};
  UxCommon::vMergeSort(keys);
  EXPECT_EQ(keys, (Strings{"1", "2", "3"}));

  // By value, not as text: "10" after "9", negative numbers first.
  Strings mixed{"10", "9", "-4", " 7", "100", "0"};
  UxCommon::vMergeSort(mixed, "");
  EXPECT_EQ(mixed, (Strings{"-4", "0", " 7", "9", "10", "100"}));

  Strings none;
  UxCommon::vMergeSort(none);
  EXPECT_TRUE(none.empty());
}

TEST(UxCommonSort, EqualKeysInDifferentHalvesTakeTheRightHalfFirst) {
  // Halves [a b] and [c]: a and c share key 5; the right half's c comes first.
  std::vector<Ptr<Keyed>> items{makeObject<Keyed>(5, 0, "a"), makeObject<Keyed>(7, 0, "b"),
                                makeObject<Keyed>(5, 0, "c")};
  UxCommon::vMergeSort(items, "intValue");
  EXPECT_EQ(names(items), (Strings{"c", "a", "b"}));
}

TEST(UxCommonSort, TagTypeSortsByTagAndOtherTypesByIntValue) {
  std::vector<Ptr<Keyed>> items{makeObject<Keyed>(1, 30, "x"), makeObject<Keyed>(2, 10, "y"),
                                makeObject<Keyed>(3, 20, "z")};
  UxCommon::vMergeSort(items, "tag");
  EXPECT_EQ(names(items), (Strings{"y", "z", "x"}));
  UxCommon::vMergeSort(items, "Tag");  // not "tag": intValue
  EXPECT_EQ(names(items), (Strings{"x", "y", "z"}));
  for (const auto& item : items) EXPECT_EQ(item->retainCount(), 1u) << "sorting leaked a reference";
}

TEST(UxCommonSort, MergeSortMatchesAReferenceSortOnLargerInput) {
  std::vector<int> values;
  unsigned seed = 12345;
  for (int i = 0; i < 1000; ++i) {
    seed = seed * 1103515245u + 12345u;
    values.push_back(static_cast<int>(seed >> 16) % 200 - 100);
  }
  std::vector<int> expected = values;
  std::sort(expected.begin(), expected.end());
  UxCommon::vMergeSort(values);
  EXPECT_EQ(values, expected);
}

TEST(UxCommonSort, SubrangeSortLeavesTheRestAlone) {
  std::vector<int> values{9, 8, 7, 6, 5, 4};
  UxCommon::vMerge_Sort(values, 1, 4, "");
  EXPECT_EQ(values, (std::vector<int>{9, 5, 6, 7, 8, 4}));
  std::vector<int> halves{1, 4, 9, 2, 3, 10};
  UxCommon::vMerge(halves, 0, 2, 5, "");
  EXPECT_EQ(halves, (std::vector<int>{1, 2, 3, 4, 9, 10}));
  EXPECT_ASSERTION(UxCommon::vMerge_Sort(values, 0, 6, ""), "sort range outside the array");
  EXPECT_ASSERTION(UxCommon::vMerge(values, 2, 1, 3, ""), "merge range outside the array");
}

TEST(UxCommonSort, NullElementsSortAsZeroAndMissingKeysAssert) {
  std::vector<Ptr<Keyed>> items{makeObject<Keyed>(3, 0, "p"), nullptr,
                                makeObject<Keyed>(-1, 0, "n")};
  UxCommon::vMergeSort(items);
  EXPECT_EQ(names(items), (Strings{"n", "null", "p"}));
  Strings text{"2", "1"};
  EXPECT_ASSERTION(UxCommon::vMergeSort(text, "tag"), "strings have no tag");
}

TEST(UxCommonSort, DistinctKeepsTheFirstOfEachRunAndSortsTheArgument) {
  Strings values{"2", "1", "2", "1"};
  Strings distinct = UxCommon::arrDistinct(values);
  EXPECT_EQ(distinct, (Strings{"1", "2"}));
  EXPECT_EQ(values, (Strings{"1", "1", "2", "2"}));

  // The first element counts even when it holds the largest integer.
  Strings top{"2147483647", "2147483647"};
  EXPECT_EQ(UxCommon::arrDistinct(top), (Strings{"2147483647"}));
  Strings none;
  EXPECT_TRUE(UxCommon::arrDistinct(none).empty());

  std::vector<Ptr<Keyed>> items{makeObject<Keyed>(4, 0, "a"), makeObject<Keyed>(4, 0, "b"),
                                makeObject<Keyed>(1, 0, "c")};
  auto kept = UxCommon::arrDistinct(items);
  EXPECT_EQ(names(kept), (Strings{"c", "b"}));
  EXPECT_EQ(kept[1]->retainCount(), 2u) << "the result shares the elements";
}

TEST(UxCommonSort, MaxValue) {
  EXPECT_EQ(UxCommon::getMAXValueFrom(Strings{}), INT_MIN);
  EXPECT_EQ(UxCommon::getMAXValueFrom(Strings{"-5", "12", "3x", "-2147483648"}), 12);
  EXPECT_EQ(UxCommon::getMAXValueFrom(Strings{"-7", "-3"}), -3);
}

TEST(UxCommonSort, StringSortUsesCharacterCodeOrder) {
  Strings words{"banana", "Apple", "apple", "", "b", "ab"};
  UxCommon::vStringCompareOfA(words);
  EXPECT_EQ(words, (Strings{"", "Apple", "ab", "apple", "b", "banana"}));
  // UTF-16 order: a character past U+FFFF (a surrogate pair) sorts before U+E000..U+FFFF.
  Strings wide{"\uFF21", "\U0001F600", "\u00E9"};
  UxCommon::vStringCompareOfA(wide);
  EXPECT_EQ(wide, (Strings{"\u00E9", "\U0001F600", "\uFF21"}));
  Strings one{"z"};
  UxCommon::vStringCompareOfA(one);
  EXPECT_EQ(one, Strings{"z"});
}

TEST(UxCommonSort, IntValueOfText) {
  EXPECT_EQ(UxCommon::intValueOfS("  42abc"), 42);
  EXPECT_EQ(UxCommon::intValueOfS("-17"), -17);
  EXPECT_EQ(UxCommon::intValueOfS("+8"), 8);
  EXPECT_EQ(UxCommon::intValueOfS("abc"), 0);
  EXPECT_EQ(UxCommon::intValueOfS(""), 0);
  EXPECT_EQ(UxCommon::intValueOfS("99999999999999999999"), INT_MAX);
  EXPECT_EQ(UxCommon::intValueOfS("-99999999999999999999"), INT_MIN);
  EXPECT_EQ(UxCommon::intValueOfS("-2147483648"), INT_MIN);
}
