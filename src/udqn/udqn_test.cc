// User defined quality notices: reading the notice file, trying the records
// on lines and at the end of files, their messages and output forms.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "analysis/scan_test_util.h"
#include "driver/run.h"
#include "driver/state.h"
#include "reports/notice_reports.h"
#include "udqn/pattern.h"
#include "udqn/udqn.h"

namespace vek {
namespace {

// A record of the notice file, written from its parts.
std::string Record(int id, const std::string& pattern,
                   const std::string& extra = "",
                   const std::string& context = "Line") {
  return "UDQN Begin:\nUDQN Identifier: " + std::to_string(id) +
         "\nactive: yes\nsources: c, h\ncontext: " + context +
         "\npattern: " + pattern + "\nsummary: Rule " + std::to_string(id) +
         "\nmessage: Found rule " + std::to_string(id) + "\n" + extra +
         "UDQN End:\n";
}

class UdqnTest : public ScanTest {
 protected:
  UdqnTest() {
    char tmpl[] = "/tmp/udqn_test.XXXXXX";
    dir_ = mkdtemp(tmpl);
    g().file.name = "src/t.c";
    g().opt.notice_flag = 1;
  }
  ~UdqnTest() override {
    std::string cmd = "rm -rf '" + dir_ + "'";
    EXPECT_EQ(0, system(cmd.c_str()));
  }

  std::string Write(const std::string& name, const std::string& text) {
    std::string path = dir_ + "/" + name;
    FILE* f = fopen(path.c_str(), "wb");
    fwrite(text.data(), 1, text.size(), f);
    fclose(f);
    return path;
  }
  // Loads `text` as the main notice file and returns what loading wrote.
  std::string Load(const std::string& text) {
    g().cfg.udqn_file = Write("rules.cfg", text);
    load_udqn_file(nullptr, g());
    return out();
  }
  const UdqnRecord& At(size_t i) { return *g().udqn.records.list_at(i); }
  size_t Count() { return g().udqn.records.count(); }
  // Ends the current file as the file loop does.
  void EndFile() {
    udqn_end_of_file(g());
    reset_file_state(g());
    line_number_ = 0;
  }
  // Feeds `source` and returns what was written meanwhile.
  std::string Run(const std::string& source) {
    size_t before = out().size();
    Feed(source);
    return out().substr(before);
  }

  std::string dir_;
};

using UdqnFileReading = UdqnTest;

TEST_F(UdqnFileReading, ReadsEveryKeyOfARecord) {
  Load(
      "# a comment: with a colon\n"
      "no colon here\n"
      "UDQN Begin:\n"
      "udqn id: 150\n"
      "ACTIVE  : On\n"
      "sources: c cpp,h\n"
      "context:\tcomment  \r\n"
      "pattern: TODO\n"
      "string: // TODO later\n"
      "message: Fix it\n"
      "summary: Open TODO\n"
      "set flags: 3 4\n"
      "check flags: 5\n"
      "!check flags: 6, 7\n"
      "clear flags: 8\n"
      "emit eof flag: no\n"
      "silent flag: yes\n"
      "UDQN End:\n");
  ASSERT_EQ(1u, Count());
  const UdqnRecord& r = At(0);
  EXPECT_EQ(150, r.id);
  EXPECT_EQ(1, r.active);
  EXPECT_EQ((std::vector<std::string>{"c", "cpp", "h"}), r.sources);
  EXPECT_EQ(kUdqnComment, r.context);
  EXPECT_EQ("TODO", r.pattern);
  EXPECT_EQ("Successful Pattern Compile", r.compile_message);
  EXPECT_EQ("Expression Match: Start[4] End[7] Span[4]", r.test_result);
  EXPECT_EQ("Fix it", r.message);
  EXPECT_EQ("Open TODO", r.summary);
  EXPECT_EQ(2, r.set_flags.count);
  EXPECT_EQ(5, r.check_flags.number[0]);
  EXPECT_EQ(2, r.not_check_flags.count);
  EXPECT_EQ(8, r.clear_flags.number[0]);
  EXPECT_EQ(0, r.emit_eof);
  EXPECT_EQ(1, r.silent);
  EXPECT_EQ(3, r.match_start);
}

TEST_F(UdqnFileReading, RecordKeysOutsideARecordAndUnfinishedRecords) {
  Load(
      "pattern: stray\nUDQN End:\n"
      "UDQN Begin:\nUDQN Identifier: 101\npattern: lost\n"
      "UDQN Begin:\nUDQN Identifier: 102\npattern: kept\ncontext: Other\n"
      "UDQN End:\n");
  ASSERT_EQ(1u, Count());
  EXPECT_EQ(102, At(0).id);
  EXPECT_EQ(kUdqnUnknown, At(0).context);  // an unknown context changes nothing
  EXPECT_EQ(0, At(0).active);
}

TEST_F(UdqnFileReading, SmallAndDuplicateIdsAreReported) {
  std::string text = Load(Record(99, "a") + Record(200, "b") + Record(200, "c"));
  const std::string path = g().cfg.udqn_file;
  EXPECT_EQ(
      "  UDQN File   : " + path + "\n"
      "  Error: UDQN Identifiers 99 cannot be less than 100.\n"
      "         Please correct UDQN file " + path + "\n"
      "         to create unique UDQN Ids.\n\n"
      "  Error: Duplicate UDQN Identifier 200\n"
      "         Please correct UDQN file " + path + "\n"
      "         to create unique UDQN Ids.\n\n",
      text);
  ASSERT_EQ(3u, Count());
  EXPECT_EQ(99, At(0).id);  // still used
  EXPECT_EQ(0, At(2).id);   // the duplicate keeps 0
}

TEST_F(UdqnFileReading, FlagNumbersOutOfRangeAndBeyondTheLimit) {
  std::string many;
  for (int i = 1; i <= 40; ++i) many += std::to_string(i) + " ";
  Load(Record(100, "a", "set flags: 0, 7, 2000\nclear flags: -3 1999 x\n"
                        "check flags: " + many + "\n"));
  const UdqnRecord& r = At(0);
  ASSERT_EQ(1, r.set_flags.count);
  EXPECT_EQ(7, r.set_flags.number[0]);
  ASSERT_EQ(1, r.clear_flags.count);
  EXPECT_EQ(1999, r.clear_flags.number[0]);
  EXPECT_EQ(kUdqnMaxFlags, r.check_flags.count);
  EXPECT_EQ(32, r.check_flags.number[31]);
}

TEST_F(UdqnFileReading, MoreThan64SourcesKeepTheFirst64) {
  std::string sources;
  for (int i = 0; i < 70; ++i) sources += "e" + std::to_string(i) + ",";
  Load("UDQN Begin:\nsources: " + sources + "\nsources: more\nUDQN End:\n");
  ASSERT_EQ(static_cast<size_t>(kUdqnMaxSources), At(0).sources.size());
  EXPECT_EQ("e63", At(0).sources.back());
}

TEST_F(UdqnFileReading, IcaseAppliesOnlyToLaterPatterns) {
  Load(
      "UDQN Begin:\nUDQN Identifier: 100\npattern: abc\nREG_ICASE: yes\n"
      "string: ABC\nUDQN End:\n"
      "UDQN Begin:\nUDQN Identifier: 101\npattern: abc\nstring: ABC\n"
      "UDQN End:\n");
  EXPECT_EQ("No Match", At(0).test_result);
  EXPECT_EQ("Expression Match: Start[1] End[3] Span[3]", At(1).test_result);
}

TEST_F(UdqnFileReading, OptionWordsStartAgainInEachFile) {
  Write("inc.cfg", "REG_ICASE: on\nREG_NOTBOL: yes\n");
  Load("REG_NEWLINE: yes\ninclude: inc.cfg\n" +
       Record(100, "^x", "string: X\n"));
  EXPECT_EQ(kRegIcase, g().udqn.options.compile_options);
  EXPECT_EQ(kRegNotbol, g().udqn.options.match_options);
  EXPECT_EQ("No Match", At(0).test_result);  // ^ cannot match: not BOL
}

TEST_F(UdqnFileReading, BadPatternIsKeptAndNeverMatches) {
  Load(Record(100, "a(b", "string: a(b\n") + Record(101, "ok") +
       Record(102, "x[", "string: x\n"));
  ASSERT_EQ(3u, Count());
  EXPECT_NE("Successful Pattern Compile", At(0).compile_message);
  EXPECT_FALSE(At(0).compile_message.empty());
  // Before any pattern compiled there is nothing to test with.
  EXPECT_EQ("", At(0).test_result);
  EXPECT_EQ("Pattern Compile Error", At(2).test_result);
  EXPECT_EQ("", Run("a(b x[\n"));
  EXPECT_EQ(0, k().notice_count);
}

TEST_F(UdqnFileReading, IncludeBesideTheMainFileAndItsHeading) {
  Write("more.cfg", Record(300, "more"));
  std::string text = Load(Record(100, "a") + "include: more.cfg\n");
  ASSERT_EQ(2u, Count());
  EXPECT_EQ(300, At(1).id);
  EXPECT_EQ("  UDQN File   : " + g().cfg.udqn_file + "\n" +
                "  UDQN Inc. File: " + dir_ + "/more.cfg\n",
            text);
}

TEST_F(UdqnFileReading, MissingFilesAreReportedAndTheRunGoesOn) {
  std::string text = Load(Record(100, "a") + "include: gone.cfg\n" +
                          Record(101, "b"));
  EXPECT_NE(std::string::npos,
            text.find("\n  Error: Problem opening User Defined Quality Notice "
                      "file:\n         " + dir_ + "/gone.cfg\n         For "
                      "modification, No such file or directory\n\n"));
  EXPECT_EQ(2u, Count());
}

TEST_F(UdqnFileReading, DefaultFileMayBeMissingButAConfiguredOneMayNot) {
  g().paths.VEKHOME = dir_ + "/";
  load_udqn_file(nullptr, g());
  EXPECT_EQ("", out());
  auto next = std::make_unique<CapturedG>();
  next->g().cfg.udqn_file = dir_ + "/mine.cfg";
  load_udqn_file(nullptr, next->g());
  EXPECT_NE(std::string::npos, next->text().find("Problem opening"));
}

TEST_F(UdqnFileReading, SelfIncludeStopsAtTheRepeatedFile) {
  std::string text = Load(Record(100, "a") + "include: rules.cfg\n" +
                          Record(101, "b"));
  EXPECT_NE(std::string::npos,
            text.find("\n  Error: UDQN include cycle: " + dir_ +
                      "/rules.cfg\n         is already being read; this "
                      "include is skipped.\n\n"));
  ASSERT_EQ(2u, Count());  // the records around the include are kept
  EXPECT_EQ(101, At(1).id);
}

TEST_F(UdqnFileReading, IncludeCycleThroughAnotherFile) {
  Write("b.cfg", Record(200, "b") + "include: rules.cfg\n");
  std::string text = Load(Record(100, "a") + "include: b.cfg\n");
  EXPECT_NE(std::string::npos, text.find("UDQN include cycle"));
  EXPECT_EQ(2u, Count());
}

TEST_F(UdqnFileReading, DeepIncludeChainsStop) {
  for (int i = 0; i < 30; ++i)
    Write("n" + std::to_string(i) + ".cfg",
          "include: n" + std::to_string(i + 1) + ".cfg\n");
  std::string text = Load("include: n0.cfg\n");
  EXPECT_NE(std::string::npos, text.find("UDQN includes nested deeper than 16"));
}

TEST_F(UdqnFileReading, BinaryJunkAndLongLines) {
  std::string junk;
  for (int i = 0; i < 4096; ++i) junk += static_cast<char>((i * 37) % 256);
  std::string text = junk + "\n" + std::string(5000, ':') + "\n" +
                     "message: " + std::string(3000, 'm') + "\n" +
                     Record(100, "a", "message: " + std::string(2100, 'z') + "\n");
  Load(text);
  ASSERT_GE(Count(), 1u);
  const UdqnRecord& r = At(Count() - 1);
  EXPECT_EQ(100, r.id);
  EXPECT_LT(r.message.size(), 2048u);  // cut at the line limit, not lost
  EXPECT_NE(std::string::npos, Run("a\n").find("\n    Notice #100: zzz"));
}

using UdqnMatching = UdqnTest;

TEST_F(UdqnMatching, SilentRecordGatesAnotherWithinTheFile) {
  Load(Record(100, "open", "set flags: 5\nsilent flag: yes\n") +
       Record(101, "use", "check flags: 5\n"));
  Run("use();\nopen();\nuse();\n");
  EXPECT_EQ(std::vector<int>({3}), Lines(101));
  EXPECT_EQ(0, Raised(100));  // silent: never emitted
  EXPECT_EQ(0, At(0).count);
  EXPECT_EQ(1, At(1).count);
  EXPECT_EQ(1, k().notice_count);
  EndFile();
  Run("use();\n");  // a new file starts with its flags cleared
  EXPECT_EQ(1, At(1).count);
}

TEST_F(UdqnMatching, NotCheckAndClearFlags) {
  Load(Record(100, "begin", "set flags: 9\nsilent flag: on\n") +
       Record(101, "end", "clear flags: 9\nsilent flag: on\n") +
       Record(102, "x", "!check flags: 9\n"));
  Run("x\nbegin\nx\nend\nx\n");
  EXPECT_EQ(std::vector<int>({1, 5}), Lines(102));
}

TEST_F(UdqnMatching, EndOfFileRecordFiresOncePerFile) {
  Load(Record(100, "eof", "emit eof flag: yes\n"));
  Run("eof\neof\n");
  EXPECT_EQ(0, Raised(100));  // never on lines
  EndFile();
  g().file.name = "u.h";
  g().file.line_number = 12;
  Run("x\n");
  EndFile();
  g().file.name = "v.java";  // not one of its sources
  EndFile();
  EXPECT_EQ(2, At(0).count);
  EXPECT_EQ(std::vector<int>({0, 12}), Lines(100));
}

TEST_F(UdqnMatching, ContextsReadTheLineParts) {
  Load(Record(100, "TODO", "", "Comment") + Record(101, "TODO", "", "String") +
       Record(102, "TODO", "", "Code") + Record(103, "TODO", "", "Line"));
  Run("x = 1; // TODO\n");
  Run("s = \"TODO\";\n");
  Run("TODO();\n");
  Run("/* TODO\n   still TODO */ y;\n");
  EXPECT_EQ(std::vector<int>({1, 4, 5}), Lines(100));
  EXPECT_EQ(std::vector<int>({2}), Lines(101));
  EXPECT_EQ(std::vector<int>({3}), Lines(102));
  EXPECT_EQ(std::vector<int>({1, 2, 3, 4, 5}), Lines(103));
}

TEST_F(UdqnMatching, EmptyPartsStillMeetPatternsThatMatchNothing) {
  Load(Record(100, "^$", "", "Comment"));
  Run("code;\n// x\n");
  EXPECT_EQ(std::vector<int>({1}), Lines(100));
}

TEST_F(UdqnMatching, ExtensionDecidesWhichRecordsApply) {
  Load(Record(100, "x"));
  g().file.name = "dir.c/file";  // the dot of a folder is no extension
  Run("x\n");
  EndFile();
  g().file.name = "T.C";  // case ignored by default
  Run("x\n");
  EndFile();
  g().cfg.case_sensitive = 1;
  Run("x\n");
  EndFile();
  g().file.name = "lib/a.c@@/main/4";
  Run("x\n");
  EndFile();
  EXPECT_EQ(2, At(0).count);
}

TEST_F(UdqnMatching, InactiveRecordsAreNeverTried) {
  Load("UDQN Begin:\nUDQN Identifier: 100\nactive: off\nsources: c\n"
       "context: Line\npattern: x\nUDQN End:\n");
  Run("x\n");
  EXPECT_EQ(0, Raised(100));
}

TEST_F(UdqnMatching, SkipQualityRegionSuppressesCountingNotFlags) {
  Load(Record(100, "a", "set flags: 2\n") + Record(101, "b", "check flags: 2\n"));
  g().file.skip_quality_flag = 1;
  EXPECT_EQ("", Run("a\n"));
  g().file.skip_quality_flag = 0;
  Run("b\n");
  EXPECT_EQ(0, At(0).count);
  EXPECT_EQ(1, At(1).count);
  EXPECT_EQ(1, g().notice_count);
}

TEST_F(UdqnMatching, CatastrophicPatternEndsWithinTheMatchLimit) {
  Load(Record(100, "(a+)+$"));
  std::string line = std::string(2000, 'a') + "!\n";
  auto start = std::chrono::steady_clock::now();
  Run(line + line);
  double seconds = std::chrono::duration<double>(
                       std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(0, At(0).count);
  EXPECT_LT(seconds, 20.0);
}

TEST_F(UdqnMatching, NulBytesAndLongLinesAreMatchedWhole) {
  Load(Record(100, "end$"));
  std::string line = std::string("a\0b", 3) + std::string(2040, 'x') + "end\n";
  Run(line);
  EXPECT_EQ(1, At(0).count);
}

using UdqnMessages = UdqnTest;

TEST_F(UdqnMessages, PlaceholdersAndLineBreaks) {
  UdqnMessageValues v;
  v.file = "a.c";
  v.line = "int x = 3;\r\n";
  v.line_number = 42;
  v.function = "main";
  EXPECT_EQ("Found 42 in main\nCheck it",
            udqn_format_message("Found _LINE#_ in _FUNC_\\nCheck it", v, false));
  EXPECT_EQ("a.c: int x = 3; _x_ _CLASS \\t",
            udqn_format_message("_FILE_: _LINE_ _x_ _CLASS _CLASS_\\t", v,
                                false));
  v.function = "";
  EXPECT_EQ("in  at <b>42</b> &lt;&amp;&gt; <b>a.c</b>",
            udqn_format_message("in _FUNC_ at _LINE#_ <&> _FILE_", v, true));
}

TEST_F(UdqnMessages, FunctionAndClassOnlyInsideThem) {
  Use(kCpp);
  g().file.name = "t.cpp";
  g().opt.function_flag = 1;  // functions are identified under -fa
  Load("UDQN Begin:\nUDQN Identifier: 100\nactive: yes\nsources: cpp\n"
       "context: Code\npattern: magic\nmessage: [_CLASS_/_FUNC_]\n"
       "UDQN End:\n");
  std::string text = Run(
      "int magic;\n"
      "class Box {\n"
      "  int magic;\n"
      "};\n"
      "int run(int a)\n"
      "{\n"
      "  return magic;\n"
      "}\n");
  std::string notices;
  for (size_t at = text.find("Notice #100"); at != std::string::npos;
       at = text.find("Notice #100", at + 1))
    notices += text.substr(at, text.find('\n', at) - at + 1);
  EXPECT_EQ(
      "Notice #100: [/]\n"
      "Notice #100: [Box/]\n"
      "Notice #100: [/run]\n",
      notices);
}

using UdqnOutput = UdqnTest;

TEST_F(UdqnOutput, LongFormsAndTheirEscaping) {
  Load(Record(100, "x", "message: _LINE_, & <_FILE_>\n"));
  EXPECT_EQ("\n    Notice #100: x, y, & <src/t.c>\n", Run("x, y\n"));
  g().opt.html_flag = 1;
  EXPECT_EQ(
      "\n    <font color=\"#CC0000\"><b>Notice</b></font> #100: "
      "<b>x</b>, &amp; &lt;<b>src/t.c</b>&gt;\n",
      Run("x\n"));
  g().opt.html_flag = 0;
  g().opt.csv_flag = 1;
  EXPECT_EQ("\n    Notice #100: x  y  & <src/t.c>\n", Run("x, y\n"));
  EXPECT_TRUE(g().recorded_notices.empty());  // the long form records nothing
}

TEST_F(UdqnOutput, SingleLineFormsWriteTheSummary) {
  Load(Record(100, "x"));
  g().opt.notice_single_flag = 1;
  EXPECT_EQ("  Notice # 100: Line 1, Rule 100\n", Run("x\n"));
  g().opt.notice_visual_flag = 1;
  EXPECT_EQ("src/t.c(2) : Notice #100  - Rule 100\n", Run("x\n"));
  g().opt.notice_visual_flag = 0;
  g().opt.html_flag = 1;
  EXPECT_EQ(
      "  <font color=#CC0000>Notice</font> <b># 100</b>: Line <b>3</b>, Rule 100\n",
      Run("x\n"));
  g().opt.html_flag = 0;
  g().opt.csv_flag = 1;
  EXPECT_EQ("Notice #, 100,Line,4,Rule 100\n", Run("x\n"));
  g().opt.csv_flag = 0;
  g().opt.xml_flag = 1;
  EXPECT_EQ(
      "<notice>\n<type>100</type>\n<line>5</line>\n"
      "<description>Rule 100</description></notice>\n",
      Run("x\n"));
  g().opt.no_file_names = 1;
  EXPECT_EQ("", Run("x\n"));
  ASSERT_EQ(6u, g().recorded_notices.size());
  EXPECT_EQ(100, g().recorded_notices[5].number);
}

TEST_F(UdqnOutput, TotalsModeCollectsWithoutWriting) {
  Load(Record(100, "x"));
  g().opt.totals_flag = 1;
  g().opt.notice_collect_flag = 1;
  EXPECT_EQ("", Run("a\nx\n"));
  ASSERT_EQ(1u, g().recorded_notices.size());
  EXPECT_EQ(2, g().recorded_notices[0].line);
  size_t before = out().size();
  notice_list_report(g());
  EXPECT_NE(std::string::npos,
            out().substr(before).find("  t.c - Notice #100: Line 2, Rule 100\n"));
  EXPECT_EQ(1, exit_status(g()));
}

TEST_F(UdqnOutput, ProfileRowsFollowTheBuiltInOnes) {
  Load(Record(100, "x") + Record(101, "never") + Record(102, "y"));
  g().cfg.notice_on[30] = 1;
  Run("x\n\tx y\n");
  g().opt.csv_flag = 1;
  size_t before = out().size();
  quality_profile_report(g());
  std::string text = out().substr(before);
  EXPECT_NE(std::string::npos,
            text.find("30,      1, 25.00,TAB character has been identified\n"
                      " 100,     2, 50.00,Rule 100\n"
                      " 102,     1, 25.00,Rule 102\n"
                      "\n,      4,100.00,Total Quality Notices\n"));
}

TEST_F(UdqnOutput, ShowListsEveryRecordAndStops) {
  g().opt.udqn_show_flag = 1;
  std::string text = Load(
      "UDQN Begin:\nUDQN Identifier: 120\nactive: yes\nsources: c h\n"
      "context: String\npattern: .{40,}\nstring: short\nset flags: 1 2\n"
      "message: Long string in _FUNC_ at _FILE_:_LINE#_\\n  _LINE_\n"
      "summary: Long literal\nUDQN End:\n");
  EXPECT_EQ(
      "  UDQN File   : " + g().cfg.udqn_file + "\n"
      "\n  #------------------------------------------------------\n"
      "UDQN Id      : 120\n"
      "Active       : Yes\n"
      "Sources      : c h\n"
      "Context      : String\n"
      "Pattern      : .{40,}\n"
      "Set Flags    : 1 2\n"
      "Check Flags  :\n"
      "!Check Flags :\n"
      "Clear Flags  :\n"
      "Emit EOF Flag: No\n"
      "Silent Flag  : No\n"
      "Compile      : Successful Pattern Compile\n"
      "String       : short\n"
      "Test         : No Match\n"
      "Count        : 0\n"
      "Summary      : Long literal\n"
      "Message      : Long string in _FUNC_ at _FILE_:_LINE#_\\n  _LINE_\n"
      "Formated     : \n"
      "Long string in SomeExampleFunction at ExampleFileName.c:127\n"
      "  Some Example Source Code Line;\n",
      text);
  EXPECT_TRUE(g().stop_flag);
  EXPECT_EQ(1, g().stop_status);
  EXPECT_EQ(0u, Count());
}

// The machine-code patterns against the interpreted ones of the POSIX
// interface: every pattern, option and line gives the same answer.
TEST(UdqnPatternJit, MatchesLikeTheInterpreter) {
  const char* patterns[] = {
      "\\bstrcpy[[:space:]]*\\(", "TODO|FIXME", "^[ \t]*#[ \t]*if 0",
      "\"[^\"]{10,}\"",          "[0-9]{3,}",   "(a+)+$",
      "x$",                       "^$",          "\\bint\\b.*;",
      "abc"};
  const int cflags[] = {0, kRegIcase, kRegNewline, kRegIcase | kRegNosub};
  const int eflags[] = {0, kRegNotbol, kRegNoteol};
  std::string long_a = std::string(300, 'a') + "!";
  const std::string lines[] = {
      "", "strcpy (a, b);", "  // todo: FIXME later", "#if 0", "  # if 0 x",
      "s = \"a long literal text\";", "n = 12345;", long_a, "x", "x\n",
      "ABC abc", "int a = 1; int b;", std::string("a\0bc", 4)};
  for (const char* pattern : patterns) {
    for (int cf : cflags) {
      std::string error;
      CompiledPatternPtr fast = CompilePattern(pattern, cf, &error, true);
      CompiledPatternPtr slow = CompilePattern(pattern, cf, &error, false);
      ASSERT_TRUE(fast && slow) << pattern;
      for (const std::string& line : lines) {
        for (int ef : eflags) {
          int s1 = -1, e1 = -1, s2 = -1, e2 = -1;
          bool m1 = MatchPattern(*fast, line.data(), line.size(), ef, &s1, &e1);
          bool m2 = MatchPattern(*slow, line.data(), line.size(), ef, &s2, &e2);
          EXPECT_EQ(m2, m1) << pattern << " on " << line;
          if (m1 && m2 && !(cf & kRegNosub)) {
            EXPECT_EQ(s2, s1) << pattern << " on " << line;
            EXPECT_EQ(e2, e1) << pattern << " on " << line;
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace vek
