#include "common/text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vek {
namespace {

TEST(Text, BoundedStopsOneShortOfTheBuffer) {
  EXPECT_EQ("abc", Bounded("abcdef", 4));
  EXPECT_EQ("ab", Bounded("ab", 4));
  EXPECT_EQ("", Bounded("ab", 0));
}

TEST(Text, CaseComparison) {
  EXPECT_EQ(0, CaseCompare("NoConfig", "NOCONFIG"));
  EXPECT_LT(CaseCompare("abc", "ABD"), 0);
  EXPECT_LT(CaseCompare("ab", "abc"), 0);
  EXPECT_GT(CaseCompare("b", "A"), 0);
  EXPECT_TRUE(CaseStartsWith("CREATE /x", "create"));
  EXPECT_FALSE(CaseStartsWith("crea", "create"));
  // Bytes above 127 compare as unsigned, after ASCII.
  EXPECT_GT(CaseCompare("\xe9", "z"), 0);
}

TEST(Text, Trimming) {
  EXPECT_EQ("x y", TrimLeft(" \t x y"));
  EXPECT_EQ("x y", TrimRight("x y \t\r\n"));
  EXPECT_EQ("", TrimRight(" \r\n"));
  EXPECT_EQ("", TrimLeft(""));
}

TEST(Text, SplitDropsEmptyPieces) {
  std::vector<std::string> parts;
  SplitEach("c,,h  cpp\t", ", \t", [&](std::string_view p) {
    parts.emplace_back(p);
  });
  EXPECT_EQ((std::vector<std::string>{"c", "h", "cpp"}), parts);
}

TEST(Text, ParseIntReadsLeadingNumberOnly) {
  EXPECT_EQ(12, ParseInt("12abc"));
  EXPECT_EQ(-5, ParseInt("-5"));
  EXPECT_EQ(0, ParseInt("abc"));
  EXPECT_EQ(0, ParseInt(""));
  EXPECT_EQ(2147483647, ParseInt("99999999999999999999"));
}

TEST(Text, BaseNameAcceptsBothSeparators) {
  EXPECT_EQ("vek", BaseName("/usr/bin/vek"));
  EXPECT_EQ("vek.exe", BaseName("c:\\tools\\vek.exe"));
  EXPECT_EQ("vek", BaseName("vek"));
}

}  // namespace
}  // namespace vek
