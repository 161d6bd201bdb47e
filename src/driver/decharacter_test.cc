#include "driver/decharacter.h"

#include <gtest/gtest.h>

#include <string>

namespace vek {
namespace {

struct Mode {
  bool tabs = false, unix_ends = false, dos_ends = false;
  int width = 2;
};

struct Result {
  std::string text;
  int lines = 0;
  int tabs = 0;
};

// Converts `in` fed in pieces of `piece` bytes (0: all at once).
Result Convert(const std::string& in, Mode m, size_t piece = 0) {
  Decharacterizer d(m.tabs, m.unix_ends, m.dos_ends, m.width);
  Result r;
  if (piece == 0) piece = in.size() + 1;
  for (size_t at = 0; at < in.size(); at += piece)
    d.Feed(in.data() + at, std::min(piece, in.size() - at), r.text);
  d.Finish(r.text);
  r.lines = d.lines();
  r.tabs = d.tabs_replaced();
  return r;
}

Mode Tabs(int width = 2) {
  Mode m;
  m.tabs = true;
  m.width = width;
  return m;
}
Mode Unix() {
  Mode m;
  m.unix_ends = true;
  return m;
}
Mode Dos() {
  Mode m;
  m.dos_ends = true;
  return m;
}

TEST(Decharacter, TabsOutsideStringsBecomeBlanks) {
  Result r = Convert("\tint a;\t// \"x\ty\" z\t\n", Tabs());
  EXPECT_EQ("  int a;  // \"x\ty\" z  \n", r.text);
  EXPECT_EQ(3, r.tabs);
  EXPECT_EQ(1, r.lines);
  EXPECT_EQ("    a", Convert("\ta", Tabs(4)).text);
  // A width below one removes the tab.
  EXPECT_EQ("ab", Convert("a\tb", Tabs(0)).text);
  EXPECT_EQ("ab", Convert("a\tb", Tabs(-3)).text);
}

TEST(Decharacter, EscapedQuotesKeepTheStringOpen) {
  // \" does not end the string; \\" does; \\\" does not.
  EXPECT_EQ("\"a\\\"\tb\"  ", Convert("\"a\\\"\tb\"\t", Tabs()).text);
  EXPECT_EQ("\"a\\\\\"  ", Convert("\"a\\\\\"\t", Tabs()).text);
  EXPECT_EQ("\"a\\\\\\\"\tb\"  ", Convert("\"a\\\\\\\"\tb\"\t", Tabs()).text);
  // The string state carries over to the next line.
  EXPECT_EQ("\"a\n\tb\"\n  c\n", Convert("\"a\n\tb\"\n\tc\n", Tabs()).text);
}

TEST(Decharacter, UnixEndsTakeOnlyCrLf) {
  Result r = Convert("a\r\nb\r\nc\n", Unix());
  EXPECT_EQ("a\nb\nc\n", r.text);
  EXPECT_EQ(3, r.lines);
  // A CR inside a line is text, not a line end: nothing after it is lost.
  EXPECT_EQ("a\rb\nc\r\r", Convert("a\rb\r\nc\r\r", Unix()).text);
  EXPECT_EQ("x\n\n\n", Convert("x\r\n\r\n\n", Unix()).text);
  // LF files pass unchanged.
  EXPECT_EQ("a\nb\n", Convert("a\nb\n", Unix()).text);
}

TEST(Decharacter, DosEndsLeaveCrLfAlone) {
  EXPECT_EQ("a\r\nb\r\n", Convert("a\nb\n", Dos()).text);
  EXPECT_EQ("a\r\nb\r\n", Convert("a\r\nb\r\n", Dos()).text);
  EXPECT_EQ("a\r\nb\r\nc", Convert("a\r\nb\nc", Dos()).text);
  EXPECT_EQ("a\rb\r\n", Convert("a\rb\n", Dos()).text);
  EXPECT_EQ("\r\n\r\n", Convert("\n\n", Dos()).text);
}

TEST(Decharacter, LineCounts) {
  EXPECT_EQ(0, Convert("", Tabs()).lines);
  EXPECT_EQ(1, Convert("no end", Tabs()).lines);
  EXPECT_EQ(2, Convert("a\nb", Unix()).lines);
  EXPECT_EQ(3, Convert("\n\n\n", Dos()).lines);
  // Control characters at the start of a line are ordinary bytes.
  Result r = Convert("a\n\f\n\x01x\n\t\n", Tabs());
  EXPECT_EQ("a\n\f\n\x01x\n  \n", r.text);
  EXPECT_EQ(4, r.lines);
}

// However the input is cut into reads, the result is that of one read.
TEST(Decharacter, ReadBoundariesChangeNothing) {
  const std::string input =
      "\tx = \"a\\\"\tb\\\\\";\r\n\r\n\ty\r\rz\n\"q\t\"\r\n\t\x0c\r";
  Mode modes[4] = {Tabs(), Unix(), Dos(), Tabs(3)};
  modes[1].tabs = true;
  modes[2].tabs = true;
  for (const Mode& m : modes) {
    Result whole = Convert(input, m);
    for (size_t piece = 1; piece <= input.size(); ++piece) {
      Result cut = Convert(input, m, piece);
      EXPECT_EQ(whole.text, cut.text) << "pieces of " << piece;
      EXPECT_EQ(whole.lines, cut.lines);
      EXPECT_EQ(whole.tabs, cut.tabs);
    }
  }
  // The CR of a CR LF at the end of one read and its LF at the start of
  // the next make one line end.
  EXPECT_EQ("ab\ncd\n", Convert("ab\r\ncd\r\n", Unix(), 3).text);
}

}  // namespace
}  // namespace vek
