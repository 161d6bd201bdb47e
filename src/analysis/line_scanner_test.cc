#include "analysis/line_scanner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/scan_test_util.h"
#include "driver/state.h"
#include "reports/capture_test_util.h"

namespace vek {
namespace {

using ScannerTest = ScanTest;

using Comments = ScannerTest;

TEST_F(Comments, CodeAndCommentOnOneLine) {
  Feed("x = 1; /* note */\n");
  EXPECT_EQ(1, k().loc);
  EXPECT_EQ(1, k().comment_lines);
  EXPECT_EQ(0, k().blank_lines);
  EXPECT_EQ("g", types_);
}

TEST_F(Comments, ClosingMarkAloneIsACommentLine) {
  Feed("/* start\n   more\n*/\n");
  EXPECT_EQ(0, k().loc);
  EXPECT_EQ(3, k().comment_lines);
  EXPECT_EQ("CCC", types_);
}

TEST_F(Comments, EmptyLineInsideBlockIsBlank) {
  Feed("/* a\n\n   b */\n");
  EXPECT_EQ(1, k().blank_lines);
  EXPECT_EQ(2, k().comment_lines);
}

TEST_F(Comments, SlashStarSlashStaysOpenSlashStarStarSlashCloses) {
  Feed("/*/ still comment\nint a;\n*/\n");
  EXPECT_EQ(0, k().loc);
  Feed("/**/ int b;\n");
  EXPECT_EQ(1, k().loc);
  EXPECT_FALSE(g().scan.in_block_comment);
}

TEST_F(Comments, LineCommentContinuedByBackslash) {
  Feed("// note \\\nint still_comment;\nint code;\n");
  EXPECT_EQ(1, k().loc);
  EXPECT_EQ(2, k().comment_lines);
  EXPECT_EQ(1, k().continuation_lines);
}

TEST_F(Comments, OnlySlashesAreNeitherCodeNorComment) {
  Feed("/\n");
  EXPECT_EQ(0, k().loc);
  EXPECT_EQ(0, k().comment_lines);
  EXPECT_EQ(0, k().blank_lines);
  EXPECT_EQ("-", types_);
}

TEST_F(Comments, CommentAfterCodeEndingALineComment) {
  Feed("a = b; // x */ y\nc = d;\n");
  EXPECT_EQ(2, k().loc);
  EXPECT_EQ(1, k().comment_lines);
}

TEST_F(Comments, FallThroughCommentsAreCounted) {
  Feed("case 1: /* fall through */\n// drop thru\n// Fall Through\n");
  EXPECT_EQ(2, g().scan.fn.fall_through);
}

TEST_F(Comments, CommentRunResetsAtBlankLine) {
  Feed("// one\n// two\n");
  EXPECT_EQ(2, g().scan.comment_run);
  Feed("\n// three\n");
  EXPECT_EQ(1, g().scan.comment_run);
}

using Strings = ScannerTest;

TEST_F(Strings, CommentMarkInsideStringOpensNoComment) {
  Feed("s = \"/* not a comment\";\nt = 1;\n");
  EXPECT_EQ(2, k().loc);
  EXPECT_EQ(0, k().comment_lines);
  EXPECT_EQ(1, k().literal_strings);
}

TEST_F(Strings, QuoteInsideCharacterLiteralOpensNoString) {
  Feed("c = '\"'; // comment\n");
  EXPECT_EQ(1, k().comment_lines);
  EXPECT_EQ(0, k().literal_strings);
  EXPECT_FALSE(g().scan.in_string);
}

TEST_F(Strings, EscapedQuoteAndTrailingBackslashes) {
  Feed("a = \"say \\\"hi\\\"\"; /* c */\n");
  EXPECT_EQ(1, k().literal_strings);
  EXPECT_EQ(1, k().comment_lines);
  Feed("b = \"dir\\\\\"; /* c */\n");
  EXPECT_EQ(2, k().literal_strings);
  EXPECT_EQ(2, k().comment_lines);
}

TEST_F(Strings, VerbatimStringClosesOnBackslashQuote) {
  Use(kCSharp);
  Feed("p = @\"\\\"; // c\n");
  EXPECT_EQ(1, k().literal_strings);
  EXPECT_EQ(1, k().comment_lines);
}

TEST_F(Strings, VerbatimStringEndingInABackslashCloses) {
  // Backslashes escape nothing in a C# @"..." string; the file's later
  // lines must not be taken as string text.
  Use(kCSharp);
  Feed("p = @\"C:\\temp\\\";\n/* c */ q = \"a\\\"b\";\n");
  EXPECT_EQ(2, k().literal_strings);
  EXPECT_EQ(1, k().comment_lines);
  EXPECT_FALSE(g().scan.in_string);
}

TEST_F(Strings, BackslashQuoteKeepsAnOrdinaryStringOpenInC) {
  Feed("p = @\"C:\\temp\\\";\n/* c */\n");
  EXPECT_EQ(0, k().comment_lines);
}

TEST_F(Strings, OddQuoteCountKeepsTheStringOpen) {
  Feed("s = \"open \\\n/* inside */ \";\n");
  EXPECT_EQ(0, k().comment_lines);
  EXPECT_EQ(1, k().literal_strings);
}

TEST_F(Strings, JavaTextBlockRunsToItsClosingQuotes) {
  Use(kJava);
  Feed("String s = \"\"\"\n"
       "    a /* not a comment\n"
       "    say \"hi\" and \"\"twice\"\" \\\"\"\"\n"
       "\n"
       "    \"\"\";\n"
       "int x = 1; /* real */\n");
  EXPECT_EQ(1, k().literal_strings);
  EXPECT_EQ(1, k().comment_lines);
  EXPECT_EQ(5, k().loc);
  EXPECT_EQ(1, k().blank_lines);
  EXPECT_EQ(2, k().semicolon_count);
  EXPECT_FALSE(g().scan.in_string);
  EXPECT_FALSE(g().scan.in_block_comment);
}

TEST_F(Strings, CSharpVerbatimStringOverManyLines) {
  Use(kCSharp);
  Feed("var sql = @\"SELECT *\n"
       "  FROM t /* x */ \\\n"
       "  WHERE name = \"\"a\"\" // y\n"
       "  \";\n"
       "int y = 2; // done\n");
  EXPECT_EQ(1, k().literal_strings);
  EXPECT_EQ(1, k().comment_lines);
  EXPECT_EQ(0, k().continuation_lines);  // the '\\' is the string's
  EXPECT_FALSE(g().scan.in_string);
}

TEST_F(Strings, CSharpRawStringClosesWithAsManyQuotes) {
  Use(kCSharp);
  Feed("var j = \"\"\"\"\n  has \"\"\" inside /*\n  \"\"\"\";\nint z; // c\n");
  EXPECT_EQ(1, k().literal_strings);
  EXPECT_EQ(1, k().comment_lines);
  EXPECT_EQ(2, k().semicolon_count);
}

TEST_F(Strings, CppRawStringKeepsQuotesAndBackslashes) {
  Use(kCpp);
  Feed("auto r = R\"sql(\n"
       "  say \"hi /* not\n"
       "  )\" still inside\n"
       ")sql\";\n"
       "int z; /* c */\n");
  EXPECT_EQ(1, k().literal_strings);
  EXPECT_EQ(1, k().comment_lines);
  EXPECT_EQ(2, k().semicolon_count);
  EXPECT_EQ(0, k().open_paren);  // the delimiter's '(' is string text
  // One line, a backslash before the closing ")\"", and the prefixes.
  Feed("p = R\"(a\\)\" \"b\"; q = u8R\"x(\")x\"; /* c */\n");
  EXPECT_EQ(4, k().literal_strings);
  EXPECT_EQ(2, k().comment_lines);
  // Not raw: another name before the quote, or no '(' after it.
  Feed("s = FOOR\"(\"; t = R\"x\"; /* c */\n");
  EXPECT_EQ(6, k().literal_strings);
  EXPECT_EQ(3, k().comment_lines);
}

TEST_F(Strings, MultiLineStringsAreExtractedALineAtATime) {
  Use(kJava);
  g().opt.extract_strings = 1;
  Feed("s = \"\"\"\n  First line\n  second \"line\"\n  \"\"\"; t = \"x\";\n");
  EXPECT_EQ("       2: First line\n"
            "       3: second \"line\n"
            "       4: x\n",
            out());
}

TEST_F(Strings, RawStringDelimitersAreNotExtracted) {
  Use(kCpp);
  g().opt.extract_strings = 1;
  Feed("a = R\"sql(one)sql\"; b = R\"x(\n  two)\"\n)x\";\n");
  EXPECT_EQ("       1: one\n       2: two\n", out());
}

TEST_F(Strings, DigitSeparatorsOpenNoCharacterLiteral) {
  Use(kCpp);
  Feed("int n = 1'000'000; /* c */\nx = 0x1'FF + 0b1010'0101u; // d\n"
       "c = u8'a' + L'b' + '\\''; /* e */\n");
  EXPECT_EQ(3, k().comment_lines);
  EXPECT_FALSE(g().scan.in_char);
  g().cfg.zero_literal = 0;
  Feed("x = 0'000;\ny = 0'001;\nz = 0x00'01;\n");
  EXPECT_EQ((std::vector<int>{1, 2, 5, 6}), Lines(50));
}

TEST_F(Strings, CSharpVerbatimPrefixesAndDoubledQuotes) {
  Use(kCSharp);
  g().opt.extract_strings = 1;
  Feed("a = @$\"C:\\{dir}\\\"; // c\nb = $@\"D:\\\"; // d\n"
       "c = @\"say \"\"hi\"\" now\"; // e\n");
  EXPECT_EQ(3, k().literal_strings);
  EXPECT_EQ(3, k().comment_lines);
  EXPECT_EQ("       1: C:\\{dir\n       2: D\n       3: say \"hi\" now\n",
            out());
}

TEST_F(Strings, StrayApostropheDoesNotSwallowTheFile) {
  Feed("#error don't\nint a; /* c */\n");
  EXPECT_EQ(1, k().comment_lines);
  EXPECT_FALSE(g().scan.in_char);
}

TEST_F(Strings, PartitionsSplitTheLine) {
  g().debug_flag = 1;
  Feed("f(\"x\"); /* c */\n");
  EXPECT_NE(std::string::npos, out().find("*** Code   : f(); \n"));
  EXPECT_NE(std::string::npos, out().find("*** String : \"x\"\n"));
  EXPECT_NE(std::string::npos, out().find("*** Comment: /* c */\n"));
}

using Classification = ScannerTest;

TEST_F(Classification, BlankAndWhiteSpace) {
  Feed("\n  \t \r\n\x01\x02\n");
  EXPECT_EQ(3, k().blank_lines);
  EXPECT_EQ(0, k().loc);
  EXPECT_EQ("---", types_);
}

TEST_F(Classification, TabsCountTheirWidthAsWhiteSpaceAndAsCharacters) {
  // White space is a share of the characters: a tab four blanks wide is
  // four characters, wherever it stands, or the share passes 100%.
  g().cfg.tab_size = 4;
  Feed("\tx;\n\t\t/*\t*/\n\ts = \"\t\";\n");
  EXPECT_EQ(26, k().whitespace_count);
  EXPECT_EQ(3 + 7 + 9 + 6 * 3, k().char_count);
  Feed("\t\t\n");
  EXPECT_EQ(34, k().whitespace_count);
  EXPECT_EQ(45, k().char_count);
  EXPECT_LE(k().whitespace_count, k().char_count);
}

TEST_F(Classification, LineEndsAreNotCharacters) {
  Feed("ab\r\n");
  EXPECT_EQ(2, k().char_count);
}

TEST_F(Classification, ForHeaderSemicolons) {
  Feed("for (i = 0; i < n; i++) x++;\n");
  EXPECT_EQ(3, k().semicolon_count);
  EXPECT_EQ(1, k().for_count);
  EXPECT_EQ(2, k().lloc());
  // A header spread over lines is still one statement.
  Feed("for (i = 0;\n     i < n;\n     i++)\n  x++;\nfor (;;) {}\n");
  EXPECT_EQ(2 + 2 + 1, k().lloc());
}

TEST_F(Classification, RangeForTakesNoStatementBack) {
  // Range, enhanced and foreach loops hold no ';' in their heads: lLOC is
  // the semicolons, and never goes below 0.
  Use(kCpp);
  Feed("for (auto& x : v) { sum += x; }\nfor (int y : w)\n  f([](int a) { return a; }(y));\n");
  EXPECT_EQ(2, k().for_count);
  EXPECT_EQ(3, k().lloc());
  reset_file_state(g());
  Use(kJava);
  Feed("for (String s : names) {}\n");
  EXPECT_EQ(0, k().lloc());
  reset_file_state(g());
  Use(kCSharp);
  Feed("foreach (var s in names) {}\nforeach (var t in more)\n  Use(t);\n");
  EXPECT_EQ(2, k().for_count);
  EXPECT_EQ(1, k().lloc());
}

TEST_F(Classification, OtherLanguagesCountLinesOnly) {
  g().typing = FileTyping();
  g().typing.other_flag = 1;
  Feed("x = 1; /* c */\n{\n");
  EXPECT_EQ(2, k().loc);
  EXPECT_EQ(1, k().comment_lines);
  EXPECT_EQ(0, k().semicolon_count);
  EXPECT_EQ(0, k().noneff_brace_lines);
}

TEST_F(Classification, NulBytesDoNotEndTheLine) {
  std::string line("a\0b; /* c */\n", 13);
  analyse_line(line.data(), line.size(), 1, g());
  EXPECT_EQ(1, k().comment_lines);
  EXPECT_EQ(1, k().loc);
}

using LoneBrackets = ScannerTest;

TEST_F(LoneBrackets, Recognised) {
  for (const char* line : {"{", "}", "};", "  (", ")", ");", "} // end",
                           "{ /* open */", "\t}\r\n", "}  ;  \n"}) {
    char b = std::string_view(line).find_first_of("{}()") != std::string::npos
                 ? line[std::string_view(line).find_first_of("{}()")]
                 : '?';
    EXPECT_EQ(1, lone_bracket_line(line, b)) << line;
  }
}

TEST_F(LoneBrackets, Rejected) {
  EXPECT_EQ(0, lone_bracket_line("{ }", '{'));
  EXPECT_EQ(0, lone_bracket_line("}}", '}'));
  EXPECT_EQ(0, lone_bracket_line("()", '('));
  EXPECT_EQ(0, lone_bracket_line("x {", '{'));
  EXPECT_EQ(0, lone_bracket_line("{ /* open", '{'));
  EXPECT_EQ(0, lone_bracket_line("", '{'));
  EXPECT_EQ(0, lone_bracket_line("{", '}'));
}

TEST_F(LoneBrackets, CountedAsLocButNotEloc) {
  Feed("int f()\n{\n  return 1;\n}\n{ }\n}}\n");
  EXPECT_EQ(6, k().loc);
  EXPECT_EQ(2, k().noneff_brace_lines);
  EXPECT_EQ(4, k().eloc());
  EXPECT_EQ("LNGNLL", types_);
}

TEST_F(LoneBrackets, ParenthesisLines) {
  Feed("call(\n  a,\n  b\n);\n");
  EXPECT_EQ(1, k().noneff_paren_lines);
  EXPECT_EQ(3, k().eloc());
}

using Extraction = ScannerTest;

TEST_F(Extraction, StringsAreTrimmedAndNumbered) {
  g().opt.extract_strings = 1;
  Feed("puts(\"Hello, world!\\n\"); puts(\"  -- two --\");\nx = \"\";\n");
  EXPECT_EQ("       1: Hello, world!\n       1: two\n", out());
}

TEST_F(Extraction, CommentsAreWrittenAtTheEndOfTheLine) {
  g().opt.extract_comments = 1;
  Feed("int a; /* first */ int b; // second\n/* multi\n   line */\n");
  EXPECT_EQ("       1: first */// second\n"
            "       2: multi\n"
            "       3: line\n",
            out());
}

TEST_F(Extraction, LeadingEscapesLeaveNoStrayLetter) {
  g().opt.extract_strings = 1;
  Feed("puts(\"\\nHello\"); puts(\"\\tName:\\t\"); puts(\"\\x1b Bold\\r\\n\");\n"
       "puts(\"C:\\\\n\");\n");
  EXPECT_EQ("       1: Hello\n       1: Name:\n       1: Bold\n       2: C:\\\\n\n",
            out());
}

TEST_F(Extraction, CommentsKeepBackslashWords) {
  g().opt.extract_comments = 1;
  Feed("/* \\brief Sums. */\n// \\n Note\n// \\todo fix\n");
  EXPECT_EQ("       1: brief Sums\n       2: Note\n       3: todo fix\n", out());
}

TEST_F(Extraction, LettersBeyondAsciiAreKept) {
  g().opt.extract_comments = 1;
  g().opt.extract_strings = 1;
  Feed("// \xC3\x9C" "berblick \xC3\xA9t\xC3\xA9\ns = \"\xC3\x84rger\";\n");
  EXPECT_EQ("       1: \xC3\x9C" "berblick \xC3\xA9t\xC3\xA9\n       2: \xC3\x84rger\n",
            out());
}

TEST_F(Extraction, HtmlIsEscaped) {
  g().opt.extract_comments = 1;
  g().opt.html_flag = 1;
  Feed("// a < b & c\n");
  EXPECT_EQ("       1: a &lt; b &amp; c\n", out());
}

using Determination = ScannerTest;

TEST_F(Determination, TraceNamesEachLineType) {
  g().opt.deterministic_flag = 1;
  Feed("int a; // x\n{\n\n/* c */\n");
  EXPECT_EQ("\n  Line 1: int a; // x\n  LOC Type(s): LOC Effective Logical C++ Comment\n"
            "\n  Line 2: {\n  LOC Type(s): LOC Non-Effective\n"
            "\n  Line 3: \n  LOC Type(s): Blank\n"
            "\n  Line 4: /* c */\n  LOC Type(s): C Comment\n",
            out());
}

TEST_F(Determination, JavaCommentNames) {
  Use(kJava);
  g().opt.deterministic_flag = 1;
  Feed("/* a */\n// b\n");
  EXPECT_NE(std::string::npos, out().find(" Java (C-Style) Comment\n"));
  EXPECT_NE(std::string::npos, out().find(" Java Comment\n"));
}

TEST_F(Determination, NoTraceForOtherFiles) {
  g().typing = FileTyping();
  g().typing.other_flag = 1;
  g().opt.deterministic_flag = 1;
  Feed("x\n");
  EXPECT_EQ("", out());
}

TEST(LineTypeCode, BlankLinesOnlyWhenNotIgnored) {
  CapturedG c;
  c.g().typing.c_flag = 1;
  c.g().cfg.ignore_diff_blank_lines = 0;
  analyse_line("\n", 1, 1, c.g());
  EXPECT_EQ('B', line_type_code(c.g()));
  c.g().cfg.ignore_diff_blank_lines = 1;
  EXPECT_EQ(0, line_type_code(c.g()));
}

TEST(FileState, ResetAndTotals) {
  CapturedG c;
  G& g = c.g();
  g.typing.c_flag = 1;
  analyse_line("/* open\n", 8, 1, g);
  analyse_line("a = 1;\n", 7, 2, g);
  add_file_to_totals(g);
  reset_file_state(g);
  EXPECT_EQ(0, g.counters.comment_lines);
  EXPECT_FALSE(g.scan.in_block_comment);  // a comment never spans files
  analyse_line("b = 2;\n", 7, 1, g);
  add_file_to_totals(g);
  totals_to_file_fields(g);
  EXPECT_EQ(1, g.counters.loc);
  EXPECT_EQ(2, g.counters.comment_lines);
}

}  // namespace
}  // namespace vek
