#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "UxCommon.h"

using Strings = std::vector<std::string>;

TEST(UxCommonStrings, SmallConversions) {
  EXPECT_EQ(UxCommon::sOfI(-2147483647 - 1), "-2147483648");
  EXPECT_EQ(UxCommon::sClearSpaceOfS(" a b\tc "), "ab\tc");
  EXPECT_EQ(UxCommon::sClearFrontSpaceOfS("   a b "), "a b ");
  EXPECT_EQ(UxCommon::sClearFrontSpaceOfS("\t a"), "\t a");  // only character 32
  EXPECT_EQ(UxCommon::sClearFrontSpaceOfS("    "), "");
  EXPECT_EQ(UxCommon::sClearNOfS("a\nb\r\n"), "ab\r");
}

TEST(UxCommonStrings, FillBlankCountsCharacters) {
  EXPECT_EQ(UxCommon::sFillBlankOfS("ab", 5), "ab   ");
  EXPECT_EQ(UxCommon::sFillBlankOfS("abcdef", 3), "abcdef");
  EXPECT_EQ(UxCommon::sFillBlankOfS("\u0434\u0430", 4), "\u0434\u0430  ");  // two Cyrillic letters
  EXPECT_EQ(UxCommon::sFillBlankOfS("ab", -3), "ab");
}

TEST(UxCommonStrings, ReplaceEveryOccurrence) {
  EXPECT_EQ(UxCommon::sReplace("ab", "X", "abcabab"), "XcXX");
  EXPECT_EQ(UxCommon::sReplace("a", "aa", "aba"), "aabaa");  // no re-scan of the replacement
  EXPECT_EQ(UxCommon::sReplace("", "X", "abc"), "abc");
  EXPECT_EQ(UxCommon::sReplace("zz", "X", "abc"), "abc");
}

TEST(UxCommonStrings, ReverseKeepsCharactersWhole) {
  EXPECT_EQ(UxCommon::sReverseOfS("abc"), "cba");
  EXPECT_EQ(UxCommon::sReverseOfS("\u043c\u0438\u0440"), "\u0440\u0438\u043c");
  EXPECT_EQ(UxCommon::sReverseOfS("a\U0001F600b"), "b\U0001F600a");
  EXPECT_EQ(UxCommon::sReverseOfS(std::string("a\xff\xc3", 3)), std::string("\xc3\xff"
                                                                            "a",
                                                                            3));
  EXPECT_EQ(UxCommon::sReverseOfS(""), "");
}

TEST(UxCommonStrings, SubstringByInclusiveIndexes) {
  EXPECT_EQ(UxCommon::sStartIndex(1, 3, "abcdef"), "bcd");
  EXPECT_EQ(UxCommon::sStartIndex(-1, 3, "abcdef"), "abc");
  EXPECT_EQ(UxCommon::sStartIndex(4, -1, "abcdef"), "ef");
  EXPECT_EQ(UxCommon::sStartIndex(-1, -1, "abcdef"), "nil");
  EXPECT_EQ(UxCommon::sStartIndex(2, 1, "abcdef"), "");
  EXPECT_EQ(UxCommon::sStartIndex(1, 2, "\u0434\u0430\u0434\u0430"), "\u0430\u0434");
  EXPECT_ASSERTION(UxCommon::sStartIndex(2, 6, "abcdef"),
                   "end index past the string or before the start");
  EXPECT_ASSERTION(UxCommon::sStartIndex(7, -1, "abcdef"), "start index past the string");
  EXPECT_ASSERTION(UxCommon::sStartIndex(-1, 7, "abcdef"), "end index past the string");
  EXPECT_ASSERTION(UxCommon::sStartIndex(-2, 3, "abcdef"), "a negative index other than -1");
}

TEST(UxCommonStrings, SeparatorEveryStep) {
  EXPECT_EQ(UxCommon::sAddSeparate(",", 3, "abcdefg"), "abc,def,g");
  EXPECT_EQ(UxCommon::sAddSeparate(",", 3, "abcdef"), "abc,def");  // none after the last
  EXPECT_EQ(UxCommon::sAddSeparate(",", 1, "abcd"), "ab,c,d");     // none after the first
  EXPECT_EQ(UxCommon::sAddSeparate("--", 2, "\u0434\u0430\u0434"), "\u0434\u0430--\u0434");
  EXPECT_EQ(UxCommon::sAddSeparate(",", 2, ""), "");
  EXPECT_ASSERTION(UxCommon::sAddSeparate(",", 0, "abc"), "a separator step below 1");
}

TEST(UxCommonStrings, ThousandsGrouping) {
  EXPECT_EQ(UxCommon::sSplitByThousandOfS("1234567"), "1,234,567");
  EXPECT_EQ(UxCommon::sSplitByThousandOfS("-1234"), "-1,234");
  EXPECT_EQ(UxCommon::sSplitByThousandOfS("-123456"), "-123,456");
  EXPECT_EQ(UxCommon::sSplitByThousandOfS("100"), "100");
  EXPECT_EQ(UxCommon::sSplitByThousandOfS("1000"), "1,000");
  EXPECT_EQ(UxCommon::sSplitByThousandOfS("+123456"), "+123,456");
  EXPECT_EQ(UxCommon::sSplitByThousandOfS("-1"), "-1");
  EXPECT_EQ(UxCommon::sSplitByThousandOfS(""), "");
  EXPECT_EQ(UxCommon::sSplitByThousandOfS("-"), "-");
}

TEST(UxCommonStrings, BetweenTwoWords) {
  EXPECT_EQ(UxCommon::sBetweenW1("<b>", "</b>", "x<b>bold</b>y"), "<b>bold</b>");
  EXPECT_EQ(UxCommon::sBetweenW1("start", "end", "no start here"), "nil");
  EXPECT_EQ(UxCommon::sBetweenW1("missing", "here", "no start here"), "nil");
  // The same word twice: from the first to the last occurrence.
  EXPECT_EQ(UxCommon::sBetweenW1("|", "|", "a|b|c|d"), "|b|c|");
  EXPECT_EQ(UxCommon::sBetweenW1("|", "|", "a|b"), "|");
  // The second word only before the first: nothing between them.
  EXPECT_EQ(UxCommon::sBetweenW1("end", "start", "start ... end"), "nil");
  // A second word overlapping the first is found where it begins.
  EXPECT_EQ(UxCommon::sBetweenW1("abc", "c", "abcdc"), "abc");
  EXPECT_EQ(UxCommon::sBetweenW1("", "x", "x"), "nil");
}

TEST(UxCommonStrings, SplitAtRunsOfThreeSpaces) {
  EXPECT_EQ(UxCommon::saSplitMultiSpaceOfS("name   value     other"),
            (Strings{"name", "value", "other"}));
  EXPECT_EQ(UxCommon::saSplitMultiSpaceOfS("two  spaces   stay"), (Strings{"two  spaces", "stay"}));
  EXPECT_EQ(UxCommon::saSplitMultiSpaceOfS("   lead   trail  "), (Strings{"lead", "trail"}));
  EXPECT_EQ(UxCommon::saSplitMultiSpaceOfS("end "), Strings{"end"});
  EXPECT_EQ(UxCommon::saSplitMultiSpaceOfS("one"), Strings{"one"});
  EXPECT_TRUE(UxCommon::saSplitMultiSpaceOfS("     ").empty());
  EXPECT_TRUE(UxCommon::saSplitMultiSpaceOfS("").empty());
}
