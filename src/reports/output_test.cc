#include "reports/output.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "driver/state.h"
#include "reports/capture_test_util.h"

namespace vek {
namespace {

// Out writes the common conversions itself; what it writes must be what
// printf writes, for every flag, width and length it takes on, and for the
// formats it leaves to printf.
TEST(Out, WritesWhatPrintfWrites) {
  char expect[4096];
#define VEK_SAME(...)                                   \
  do {                                                  \
    snprintf(expect, sizeof expect, __VA_ARGS__);       \
    CapturedG c;                                        \
    Out(c.g(), __VA_ARGS__);                            \
    EXPECT_EQ(std::string(expect), c.text());           \
  } while (0)
  VEK_SAME("plain text, no conversion\n");
  VEK_SAME("100%% sure");
  VEK_SAME("%d|%5d|%-5d|%1d|%i", 42, -42, 7, 12345, 0);
  VEK_SAME("%d %d", -2147483647 - 1, 2147483647);
  VEK_SAME("%ld|%lld|%-20lld|%lu|%llu", -5L, -9223372036854775807LL - 1,
           123456789012LL, 18446744073709551615UL, 0ULL);
  VEK_SAME("%zu|%6zu|%u|%-4u|", static_cast<size_t>(77), static_cast<size_t>(3),
           4294967295u, 9u);
  VEK_SAME("[%s][%10s][%-10s][%.3s][%.*s][%-6.2s]", "abc", "right", "left",
           "abcdef", 2, "xyz", "pqrs");
  VEK_SAME("[%.*s]", 10, "short");
  VEK_SAME("[%c][%3c][%-3c]", 'a', 'b', 'c');
  VEK_SAME("%s", std::string(3000, 'w').c_str());  // longer than the buffer
  VEK_SAME("%40s|", std::string(20, 'y').c_str());
  // Padding that fills the buffer to its end, and padding past it.
  VEK_SAME("%-2040s|%5d", "pad", 1);
  VEK_SAME("%2046d|", 9);
  VEK_SAME("%-2100d|%s", 5, "after");
  VEK_SAME("%s%17s%-16s|", std::string(2000, 'x').c_str(), "b", "c");
  // Fixed-point reals, rounded as printf rounds them (halves of the exact
  // binary value), with the widths and flags the reports use.
  VEK_SAME("%.2f %6.1f %e", 3.14159, -2.5, 1e10);
  VEK_SAME("%.2f %6.1f %f", 3.14159, -2.5, 1.0 / 3);
  VEK_SAME("[%-7.1f][%7.1f][%6.0f][%-7.0f][%.2f]", 12.25, 0.05, 2.5, 3.5,
           1.005);
  VEK_SAME("[%.1f][%.0f][%.1f][%.0f][%.3f]", 0.45, 0.5, -0.05, -0.0, 1e-7);
  VEK_SAME("[%.1f][%.2f][%6.2f]", 1e21, 123456789.125, 99.995);
  VEK_SAME("[%f][%.1f][%-6.1f|][%8.2f]", 1.0 / 0.0, -1.0 / 0.0, 0.0 / 0.0,
           -0.0 / 0.0);
  VEK_SAME("[%.1f][%s]", 1e300, "after a long real");
  // Left to printf: exponent forms, zero padding, signs, star widths.
  VEK_SAME("%e %lf", 1e10, 2.5);
  VEK_SAME("%05d %+d % d %#x %x %X %o", 42, 7, 8, 255, 255, 255, 8);
  VEK_SAME("%*d|%-*s|", 6, 12, 5, "ab");
  VEK_SAME("%d then %.2f then %s", 1, 2.0, "three");
#undef VEK_SAME
  CapturedG held;
  held.g().hold_output = 1;
  Out(held.g(), "%-4d|%s", 5, "kept");
  EXPECT_EQ("5   |kept", held.g().held_output);
}

// The direct writers must leave on the stream what fwrite would, whatever
// its buffering and however the pieces fall on the buffer's end.
TEST(WriteStream, SameBytesAsFwriteForEveryBuffering) {
  for (int mode : {_IOFBF, _IOLBF, _IONBF}) {
    FILE* f = tmpfile();
    ASSERT_NE(nullptr, f);
    char buffer[64];
    setvbuf(f, mode == _IONBF ? nullptr : buffer, mode, sizeof buffer);
    std::string expect;
    for (size_t n = 0; n < 150; n += 7) {
      const std::string a(n % 23, 'a'), b = std::to_string(n) + "\n",
                        c(n, 'c');
      WriteStream(f, c.data(), c.size());
      WritePieces(f, a, b, c);
      WritePieces(f, "", b, "");
      fwrite(b.data(), 1, b.size(), f);
      expect += c + a + b + c + b + b;
    }
    fflush(f);
    rewind(f);
    std::string got(expect.size() + 1, '\0');
    got.resize(fread(got.data(), 1, got.size(), f));
    fclose(f);
    EXPECT_EQ(expect, got) << "buffering mode " << mode;
  }
}

TEST(CenterLine, IndentIs37LessHalfTheLength) {
  CapturedG c;
  center_line(c.g(), "abcd");  // 37 - 2 = 35 blanks
  EXPECT_EQ(std::string(35, ' ') + "abcd\n", c.text());
}

TEST(CenterLine, LongTextGetsNoIndent) {
  CapturedG c;
  std::string long_text(80, 'x');
  center_line(c.g(), long_text);
  EXPECT_EQ(long_text + "\n", c.text());
}

TEST(CenterLine, HtmlIsCentredByItsPlainText) {
  CapturedG c;
  center_html_line(c.g(), "<b>ab</b>", "ab");
  EXPECT_EQ(std::string(36, ' ') + "<b>ab</b>\n", c.text());
}

TEST(WrapName, BreaksBeforeEveryMultipleOfTheWidth) {
  G g;
  std::string name(130, 'n');
  std::string wrapped = wrap_name(name, 59, 15, g);
  std::string indent = "\n" + std::string(15, ' ');
  EXPECT_EQ(name.substr(0, 59) + indent + name.substr(59, 59) + indent +
                name.substr(118),
            wrapped);
  g.cfg.wrap_names = 0;
  EXPECT_EQ(name, wrap_name(name, 59, 15, g));
  EXPECT_EQ("short", wrap_name("short", 59, 15, g));
}

TEST(WrapName, ExactMultipleGetsNoTrailingBreak) {
  G g;
  std::string name(118, 'n');
  std::string wrapped = wrap_name(name, 59, 2, g);
  EXPECT_EQ(name.substr(0, 59) + "\n  " + name.substr(59), wrapped);
}

TEST(WrapName, CutsAt2047Characters) {
  G g;
  g.cfg.wrap_names = 0;
  EXPECT_EQ(2047u, wrap_name(std::string(5000, 'a'), 59, 15, g).size());
}

TEST(Escaping, XmlHtmlAndCsvRules) {
  EXPECT_EQ("a &amp; &lt;b&gt; &quot;c&quot; &apos;d&apos;",
            XmlEscape("a & <b> \"c\" 'd'"));
  EXPECT_EQ("a &amp; &lt;b&gt; &quot;c&quot; 'd'",
            HtmlEscape("a & <b> \"c\" 'd'"));
  EXPECT_EQ("a b c", CsvEscape("a,b,c"));
  EXPECT_EQ("no commas", CsvEscape("no commas"));
}

TEST(Escaping, LongTextIsCutNeverOverrun) {
  // 1000 ampersands escape to 5000 characters: the result stops at the
  // last whole entity that fits in 2047 characters.
  std::string out = XmlEscape(std::string(1000, '&'));
  EXPECT_LE(out.size(), 2047u);
  EXPECT_EQ(0u, out.size() % 5);
  EXPECT_EQ(2047u, CsvEscape(std::string(3000, ',')).size());
}

// The XML report declares UTF-8: whatever bytes a name or a source line
// holds, the escaped text must be characters an XML document may carry.
TEST(Escaping, XmlKeepsValidUtf8AndMendsEverythingElse) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"\xC3\xBC.c", "\xC3\xBC.c"},                 // valid UTF-8 stays
      {"\xE2\x82\xAC \xF0\x9F\x98\x80", "\xE2\x82\xAC \xF0\x9F\x98\x80"},
      {"\xFC.c", "\xC3\xBC.c"},                     // Latin-1 byte
      {"\xFF", "\xC3\xBF"},
      {"a\x01" "b\x1B\x7F", "a\xEF\xBF\xBD" "b\xEF\xBF\xBD\x7F"},  // controls
      {"\t\r\n", "\t\r\n"},
      {"\x85", "\xEF\xBF\xBD"},                      // C1 byte alone
      {"\xC3", "\xC3\x83"},                          // cut sequence
      {"\xC0\xAF", "\xC3\x80\xC2\xAF"},                // overlong '/'
      {"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xEF\xBF\xBD"},  // surrogate
      {"\xEF\xBF\xBE", "\xC3\xAF\xC2\xBF\xC2\xBE"},      // U+FFFE
      {"\xF4\x90\x80\x80", "\xC3\xB4\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"<\xFC&>", "&lt;\xC3\xBC&amp;&gt;"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.out, XmlEscape(c.in)) << c.in;
  EXPECT_EQ("a\xEF\xBF\xBD" "b", XmlEscape(std::string("a\0b", 3)));
  // A long run of mended bytes is cut at whole characters.
  std::string out = XmlEscape(std::string(1500, '\x01'));
  EXPECT_LE(out.size(), 2047u);
  EXPECT_EQ(0u, out.size() % 3);
}

// Text written before the switches have chosen the format is held back; an
// XML report takes it after its head, escaped, any other report as it is.
TEST(HeldOutput, XmlTakesItAfterTheHead) {
  CapturedG x;
  x.g().hold_output = 1;
  Out(x.g(), "\n  Error: %d invalid sort key value <%s>\n", 42, "\xFC");
  EXPECT_EQ("", x.text());
  x.g().opt.xml_flag = 1;
  write_xml_head(x.g().report_stream, x.g());
  Out(x.g(), "<file>\n");
  const std::string text = x.text();
  EXPECT_EQ(0u, text.find("<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n"));
  EXPECT_NE(std::string::npos,
            text.find("</config_file>\n\n  Error: 42 invalid sort key value "
                      "&lt;\xC3\xBC&gt;\n<file>\n"));

  CapturedG t;
  t.g().hold_output = 1;
  Out(t.g(), "%s", std::string(3000, 'w').c_str());
  Out(t.g(), "\n");
  write_head(t.g().report_stream, t.g(), 0);
  EXPECT_EQ(0u, t.text().find(std::string(3000, 'w') + "\n\n"));
  EXPECT_EQ(0, t.g().hold_output);
}

TEST(FileLink, RelativeAndAbsolute) {
  G g;
  g.paths.start_dir = "/home/me/proj";
  EXPECT_EQ("src/a.c", file_link("/home/me/proj/src/a.c", g));
  EXPECT_EQ("/other/b.c", file_link("/other/b.c", g));
  EXPECT_EQ("src", file_link("/home/me/proj/src/", g));
  g.cfg.relative_html_links = 0;
  EXPECT_EQ("file:///other/b.c", file_link("/other/b.c", g));
  EXPECT_EQ("file:///home/me/proj/src/a.c", file_link("src/a.c", g));
}

TEST(RunTime, HonoursSourceDateEpoch) {
  setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
  setenv("TZ", "UTC", 1);
  tzset();
  EXPECT_EQ(1700000000, RunTime());
  EXPECT_EQ("Tue Nov 14 22:13:20 2023", Ctime24(RunTime()));
  EXPECT_EQ("Nov 14, 2023", FormatTime(RunTime(), "%b %d, %Y"));
  setenv("SOURCE_DATE_EPOCH", "garbage", 1);
  EXPECT_NE(0, RunTime());
  unsetenv("SOURCE_DATE_EPOCH");
}

TEST(Head, HtmlBodyTakesTheDefaultColours) {
  CapturedG c;
  c.g().opt.html_flag = 1;
  write_head(c.g().report_stream, c.g(), 0);
  EXPECT_NE(std::string::npos,
            c.text().find("<body bgcolor=\"#F8F8F8\" text=\"#000000\" "
                          "vlink=\"#660099\" link=\"#0000EE\" "
                          "alink=\"#CCCCCC\" >\n<pre>\n"));
}

TEST(Head, HtmlBodyWithoutBackgroundOrColours) {
  CapturedG c;
  c.g().opt.html_flag = 1;
  c.g().cfg.color_background.clear();
  c.g().cfg.color_link.clear();
  write_head(c.g().report_stream, c.g(), 0);
  EXPECT_NE(std::string::npos,
            c.text().find("<body text=\"#000000\" vlink=\"#660099\" "
                          "link=\"#0000ee\" alink=\"#CCCCCC\">\n"));
}

TEST(Head, NoHeaderKeepsOnlyThePrologAndTitleIsDropped) {
  CapturedG c;
  c.g().opt.no_header_flag = 1;
  c.g().opt.title_flag = 1;
  c.g().opt.title = "My Title";
  write_head(c.g().report_stream, c.g(), 0);
  EXPECT_EQ("", c.text());

  CapturedG h;
  h.g().opt.html_flag = 1;
  h.g().opt.no_header_flag = 1;
  write_head(h.g().report_stream, h.g(), 0);
  EXPECT_EQ(0u, h.text().find("<?xml version=\"1.0\""));
  EXPECT_EQ(std::string::npos, h.text().find("Vek Code Gauge&#8482;"));
}

TEST(Head, SyntaxErrorEndsTheRun) {
  CapturedG c;
  c.g().paths.command_line = "-c a.c";
  write_head(c.g().report_stream, c.g(), 1);
  EXPECT_NE(std::string::npos,
            c.text().find("  Command Line Syntax Error, Try -hs for help...\n"
                          "  -c a.c \n\n"));
  EXPECT_TRUE(c.g().stop_flag);
  EXPECT_EQ(1, c.g().stop_status);
}

TEST(XmlHead, StylesheetHrefFromAWindowsPath) {
  CapturedG c;
  c.g().opt.xsl_file = "c:\\styles\\vek.xsl";
  write_xml_head(c.g().report_stream, c.g());
  EXPECT_NE(std::string::npos,
            c.text().find("<?xml-stylesheet type=\"text/xsl\" "
                          "href=\"file:///c:/styles/vek.xsl\"?>\n"));
  CapturedG p;
  p.g().opt.xsl_file = "/srv/vek.xsl";
  write_xml_head(p.g().report_stream, p.g());
  EXPECT_NE(std::string::npos, p.text().find("href=\"/srv/vek.xsl\""));
}

TEST(XmlHead, CommandLineIsEscaped) {
  CapturedG c;
  c.g().opt.xml_flag = 1;
  c.g().paths.command_line = "-X -S\"a<b\" x&y.c";
  write_xml_head(c.g().report_stream, c.g());
  EXPECT_NE(std::string::npos,
            c.text().find("<command>-X -S&quot;a&lt;b&quot; x&amp;y.c</command>\n"));
}

TEST(ModeLegend, BannersInOrder) {
  CapturedG c;
  Options& o = c.g().opt;
  o.function_flag = o.complexity_flag = o.notice_flag = o.deterministic_flag = 1;
  write_mode_legend(c.g());
  std::string t = c.text();
  size_t f = t.find("~~ Function Metrics ~~");
  size_t d = t.find("~~ Determine Source vs. LOC Algorithms ~~");
  size_t x = t.find("~~ Complexity Analysis ~~");
  size_t q = t.find("~~ Quality Analysis ~~");
  ASSERT_NE(std::string::npos, f);
  EXPECT_LT(f, d);
  EXPECT_LT(d, x);
  EXPECT_LT(x, q);
}

TEST(ModeLegend, NothingInTotalsOrCsvMode) {
  CapturedG c;
  c.g().opt.function_flag = 1;
  c.g().opt.totals_flag = 1;
  write_mode_legend(c.g());
  EXPECT_EQ("", c.text());
}

// Nothing may stand before or between the elements of an XML report, not
// even the legend of the single-line notices.
TEST(ModeLegend, NothingInXml) {
  CapturedG c;
  c.g().opt.xml_flag = 1;
  c.g().opt.notice_visual_flag = 1;
  c.g().opt.notice_collect_flag = 1;
  c.g().opt.function_flag = 1;
  write_mode_legend(c.g());
  EXPECT_EQ("", c.text());
}

TEST(Trailer, EachFormat) {
  CapturedG x;
  x.g().opt.xml_flag = 1;
  x.g().cfg.report_header_active = 1;
  x.g().cfg.report_header_text = "ACME & Co";
  write_trailer(x.g());
  EXPECT_EQ("<banner>ACME &amp; Co</banner>\n</bwvek>\n", x.text());
  CapturedG h;
  h.g().opt.html_flag = 1;
  write_trailer(h.g());
  EXPECT_EQ("</pre></body></html>", h.text());
  CapturedG t;
  write_trailer(t.g());
  EXPECT_EQ("", t.text());
}

}  // namespace
}  // namespace vek
