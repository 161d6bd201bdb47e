#include "listing/code_listing.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace vek {
namespace {

// Runs a listing into memory.
class Listed {
 public:
  Listed() { out_ = open_memstream(&buf_, &size_); }
  ~Listed() {
    if (out_ != nullptr) fclose(out_);
    free(buf_);
  }
  FILE* out() { return out_; }
  std::string Text() {
    fflush(out_);
    return std::string(buf_, size_);
  }

 private:
  char* buf_ = nullptr;
  size_t size_ = 0;
  FILE* out_ = nullptr;
};

// A file with `text`, opened for reading; its time is unknown to fstat
// callers only through the date line, which the tests cut out.
FILE* Source(const std::string& text) {
  FILE* f = tmpfile();
  fwrite(text.data(), 1, text.size(), f);
  rewind(f);
  return f;
}

std::string ListText(const std::string& text, ListingSettings s,
                     const char* name = "a.c") {
  Listed out;
  CodeListing listing;
  EXPECT_TRUE(listing.Prepare(s, out.out()));
  FILE* in = Source(text);
  listing.ListFile(in, name);
  fclose(in);
  std::string all = out.Text();
  // The date line depends on the clock: keep its label only.
  size_t at = all.find("Date: ");
  while (at != std::string::npos) {
    size_t end = all.find('\n', at);
    all.replace(at, end - at, "Date: X");
    at = all.find("Date: ", at + 1);
  }
  return all;
}

int Count(const std::string& s, const std::string& what) {
  int n = 0;
  for (size_t at = s.find(what); at != std::string::npos;
       at = s.find(what, at + what.size()))
    ++n;
  return n;
}

const std::string kRule80(80, '_');

TEST(CodeListing, DefaultLayout) {
  std::string got = ListText("int a;\n\tb();\n", ListingSettings());
  std::string want =
      "\n" + std::string(37, ' ') + "VEK Code Listing\n" +
      "     File: a.c" + std::string(64, ' ') + "\n" +
      "     Date: X\n" + "     " + kRule80 + "\n\n" +
      "         1| int a;\n" + "         2| \tb();\n" + "\n" + "     " +
      kRule80 + "\n\n";
  EXPECT_EQ(want, got);
}

TEST(CodeListing, PageFieldEndsInTheLastColumn) {
  ListingSettings s;
  s.page_breaks = 1;
  std::string got = ListText("x\n", s, "src/queue.c");
  size_t at = got.find("     File: src/queue.c");
  ASSERT_NE(std::string::npos, at);
  std::string line = got.substr(at, got.find('\n', at) - at);
  EXPECT_EQ(85u, line.size());  // margin plus line length
  EXPECT_EQ("Page: 1", line.substr(78));
}

TEST(CodeListing, LongLinesWrap) {
  // 73 visible characters and the line feed pass the content width of 73:
  // the full line and an empty continuation line.
  std::string line73(73, 'x');
  std::string got = ListText(line73 + "\n", ListingSettings());
  EXPECT_NE(std::string::npos,
            got.find("         1| " + line73 + "\n          | \n"));
  // 72 characters fit on one line.
  std::string line72(72, 'y');
  got = ListText(line72 + "\n", ListingSettings());
  EXPECT_NE(std::string::npos, got.find("         1| " + line72 + "\n\n"));
  // 150 characters: three pieces, the last with the line's own feed.
  std::string line150 = std::string(73, 'a') + std::string(73, 'b') + "cccc";
  got = ListText(line150 + "\nnext\n", ListingSettings());
  EXPECT_NE(std::string::npos,
            got.find("         1| " + std::string(73, 'a') + "\n" +
                     "          | " + std::string(73, 'b') + "\n" +
                     "          | cccc\n" + "         2| next\n"));
}

TEST(CodeListing, LineLongerThanAReadBlockKeepsOneNumber) {
  std::string huge(200000, 'z');
  std::string got = ListText("a\n" + huge + "\nb\n", ListingSettings());
  EXPECT_NE(std::string::npos, got.find("         2| zzz"));
  EXPECT_NE(std::string::npos, got.find("         3| b\n"));
  EXPECT_EQ(0, Count(got, "         4| "));
  EXPECT_EQ(200000, Count(got, "z"));
}

TEST(CodeListing, LastLineWithoutFeedAndBinaryBytes) {
  std::string got = ListText(std::string("a\0b\r\nend", 8), ListingSettings());
  EXPECT_NE(std::string::npos,
            got.find("         1| " + std::string("a\0b\r\n", 5) +
                     "         2| end\n\n     " + kRule80 + "\n\n"));
  // An empty file: the page header and the footer, no line.
  got = ListText("", ListingSettings());
  EXPECT_EQ(std::string::npos, got.find("| "));
  EXPECT_EQ("\n\n     " + kRule80 + "\n\n", got.substr(got.size() - 89));
}

TEST(CodeListing, PageBreaksAtTwentyLines) {
  ListingSettings s;
  s.page_breaks = 1;
  s.page_length = 20;
  std::string text;
  for (int i = 1; i <= 30; ++i) text += "line " + std::to_string(i) + "\n";
  std::string got = ListText(text, s);
  // Top margin and header count as two lines: 13 source lines fill a page.
  EXPECT_EQ(2, Count(got, "\f\n"));
  size_t first_break = got.find("\f\n");
  EXPECT_NE(std::string::npos, got.rfind("        13| line 13\n", first_break));
  EXPECT_EQ(std::string::npos, got.rfind("        14| ", first_break));
  EXPECT_NE(std::string::npos, got.find("Page: 3"));
  EXPECT_EQ(std::string::npos, got.find("Page: 4"));
  // The last page is padded to its length before the footer.
  size_t last = got.rfind("        30| line 30\n");
  std::string tail = got.substr(last + 20);
  EXPECT_EQ(std::string(9, '\n') + "\n     " + kRule80 + "\n\n", tail);
}

TEST(CodeListing, FullLastPageGetsNoEmptyPage) {
  ListingSettings s;
  s.page_breaks = 1;
  s.page_length = 20;
  std::string text;
  for (int i = 1; i <= 13; ++i) text += "l\n";
  std::string got = ListText(text, s);
  EXPECT_EQ(0, Count(got, "\f"));
  EXPECT_EQ(std::string::npos, got.find("Page: 2"));
}

TEST(CodeListing, MarginsAndLengthLimits) {
  ListingSettings s;
  s.line_length = 15;  // becomes 20: content width 13
  s.left_margin = -2;
  s.top_margin = -1;
  s.header = "T";
  std::string got = ListText(std::string(13, 'q') + "\n", s);
  EXPECT_EQ(std::string(10, ' ') + "T\n", got.substr(0, 12));
  EXPECT_NE(std::string::npos,
            got.find("    1| " + std::string(13, 'q') + "\n     | \n"));
  EXPECT_NE(std::string::npos, got.find("\n" + std::string(20, '_') + "\n\n"));
}

TEST(CodeListing, HugeWidthsAreBounded) {
  ListingSettings s;
  s.line_length = 2000000000;
  s.left_margin = 2000000000;
  Listed out;
  CodeListing listing;
  ASSERT_TRUE(listing.Prepare(s, out.out()));
  EXPECT_EQ(32767, listing.settings().line_length);
  EXPECT_EQ(32767, listing.settings().left_margin);
}

TEST(CodeListing, NegativePageLengthTurnsBreaksOff) {
  ListingSettings s;
  s.page_breaks = 1;
  s.page_length = -5;
  std::string text;
  for (int i = 0; i < 200; ++i) text += "x\n";
  std::string got = ListText(text, s);
  EXPECT_EQ(0, Count(got, "\f"));
  EXPECT_EQ(std::string::npos, got.find("Page:"));
}

TEST(CodeListing, HeaderLongerThanTheLineIsAnError) {
  ListingSettings s;
  s.header = std::string(81, 'h');
  Listed out;
  CodeListing listing;
  EXPECT_FALSE(listing.Prepare(s, out.out()));
  EXPECT_EQ("\n  Error: The Specified header length (81) exceeds\n"
            "         the available line length (80). \n"
            "         Header: " + s.header + "\n",
            out.Text());
  s.header = std::string(80, 'h');
  Listed fits;
  EXPECT_TRUE(listing.Prepare(s, fits.out()));
  EXPECT_EQ("", fits.Text());

  s.header = std::string(81, '<');
  s.html = 1;
  Listed html;
  EXPECT_FALSE(listing.Prepare(s, html.out()));
  std::string text = html.Text();
  EXPECT_NE(std::string::npos, text.find("Header: &lt;&lt;"));
  EXPECT_EQ("</pre></body></html>", text.substr(text.size() - 20));
}

TEST(CodeListing, HtmlEscapesAndNeverBreaksPages) {
  ListingSettings s;
  s.html = 1;
  s.page_breaks = 1;
  s.page_length = 20;
  s.header = "A&B";
  std::string text;
  for (int i = 0; i < 40; ++i) text += "if (a<b && c>\"d\") {}\n";
  std::string got = ListText(text, s, "x&y.c");
  EXPECT_EQ(0, Count(got, "\f"));
  EXPECT_EQ(40, Count(got, "| if (a&lt;b &amp;&amp; c&gt;&quot;d&quot;) {}\n"));
  EXPECT_NE(std::string::npos, got.find("A&amp;B\n"));
  EXPECT_NE(std::string::npos, got.find("File: x&amp;y.c"));
  // An escaped piece is cut before escaping: a line of 80 '&' wraps as 73
  // and 7 characters, whole entities each.
  std::string amps(80, '&');
  got = ListText(amps + "\n", s);
  std::string first, second;
  for (int i = 0; i < 73; ++i) first += "&amp;";
  for (int i = 0; i < 7; ++i) second += "&amp;";
  EXPECT_NE(std::string::npos,
            got.find("    1| " + first + "\n          | " + second + "\n"));
}

TEST(CodeListing, DateIsTheFixedForm) {
  setenv("TZ", "UTC", 1);
  tzset();
  EXPECT_EQ("Tue Nov 14 22:13:20 2023", ListingDate(1700000000));
  EXPECT_EQ("Thu Jan 01 00:00:09 1970", ListingDate(9));
}

}  // namespace
}  // namespace vek
