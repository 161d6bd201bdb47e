#include "driver/switches.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/state.h"
#include "reports/capture_test_util.h"

namespace vek {
namespace {

// Runs the parser over "vek" + words; returns the first file index.
struct Parsed {
  int first_file = 0;
  std::string out;
};

Parsed Parse(CapturedG& c, std::vector<std::string> words) {
  words.insert(words.begin(), "vek");
  std::vector<char*> argv;
  for (auto& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  Parsed p;
  p.first_file = parse_switches(static_cast<int>(words.size()), argv.data(), c.g());
  p.out = c.text();
  return p;
}

TEST(OptionScanner, ClustersArgumentsAndEnd) {
  std::vector<std::string> words = {"vek", "-cn", "-fa", "-k", "3", "--", "-x"};
  std::vector<char*> argv;
  for (auto& w : words) argv.push_back(w.data());
  OptionScanner s(static_cast<int>(argv.size()), argv.data());
  EXPECT_EQ('c', s.Next());
  EXPECT_EQ('n', s.Next());
  EXPECT_EQ('f', s.Next());
  EXPECT_STREQ("a", s.arg());
  EXPECT_EQ('k', s.Next());
  EXPECT_STREQ("3", s.arg());
  EXPECT_EQ(-1, s.Next());
  EXPECT_EQ(6, s.index());
}

TEST(OptionScanner, UnknownLetterAndMissingArgument) {
  std::vector<std::string> words = {"vek", "-j", "-O"};
  std::vector<char*> argv;
  for (auto& w : words) argv.push_back(w.data());
  OptionScanner s(static_cast<int>(argv.size()), argv.data());
  EXPECT_EQ('?', s.Next());
  EXPECT_EQ('O', s.Next());
  EXPECT_EQ(nullptr, s.arg());
  EXPECT_EQ(-1, s.Next());
}

TEST(OptionScanner, SlashClusterButNotAPath) {
  std::vector<std::string> words = {"vek", "/c", "/usr/src/a.c"};
  std::vector<char*> argv;
  for (auto& w : words) argv.push_back(w.data());
  OptionScanner s(static_cast<int>(argv.size()), argv.data());
  EXPECT_EQ('c', s.Next());
  EXPECT_EQ(-1, s.Next());
  EXPECT_EQ(2, s.index());
}

TEST(Switches, ClusteredSwitchesKeepTheFirstFile) {
  CapturedG c;
  Parsed p = Parse(c, {"-cn", "a.c", "b.c"});
  EXPECT_EQ(2, p.first_file);
  EXPECT_EQ(2, c.g().input_file_count);
  EXPECT_TRUE(c.g().opt.notice_flag);
  EXPECT_TRUE(c.g().opt.function_flag);  // -c turns function analysis on
  EXPECT_TRUE(c.g().opt.summary_flag);   // always on after parsing
}

TEST(Switches, FirstFileRuleStepsOverASeparateValue) {
  // -O out -c a.c: the rule steps over "out" and counts one file.
  CapturedG c;
  std::string out = testing::TempDir() + "vek_switch_out.txt";
  Parse(c, {"-O", out, "-c", "a.c"});
  EXPECT_EQ(1, c.g().input_file_count);
  EXPECT_TRUE(c.g().opt.output_file_flag);
  // -c -O out a.c: the rule stops at "out" and counts two.
  CapturedG d;
  Parse(d, {"-c", "-O", out, "a.c"});
  EXPECT_EQ(2, d.g().input_file_count);
  remove(out.c_str());
}

TEST(Switches, SortKeyOutOfRangeWarnsAndRunGoesOn) {
  CapturedG c;
  Parsed p = Parse(c, {"-k11", "a.c"});
  EXPECT_FALSE(c.g().stop_flag);
  EXPECT_EQ(0, c.g().opt.sort_key);
  EXPECT_EQ("\n  Error: 11 invalid sort key value.\n"
            "         Defaulting to no sort\n"
            "         Use -hs for help text\n",
            p.out);
  CapturedG d;
  Parse(d, {"-k5", "-kd"});
  EXPECT_EQ(5, d.g().opt.sort_key);
  EXPECT_TRUE(d.g().opt.sort_descending);
}

TEST(Switches, ListingNumbersAreClamped) {
  CapturedG c;
  Parse(c, {"-L5", "-M-3", "-B-1", "-P-4"});
  EXPECT_EQ(20, c.g().cfg.print_line_length);
  EXPECT_EQ(0, c.g().cfg.print_left_margin);
  EXPECT_EQ(0, c.g().cfg.print_top_margin);
  EXPECT_EQ(-4, c.g().cfg.print_page_length);
  EXPECT_EQ(1, c.g().cfg.no_page_breaks);
}

struct ErrorCase {
  std::vector<std::string> words;
  int status;
  const char* message;
};

TEST(Switches, ErrorsGiveTheirMessageAndStatus) {
  const ErrorCase cases[] = {
      {{"-j"}, 1,
       "\n  Error: Command line parse error, invalid option.\n"
       "         Use -hs to show program help syntax.\n"},
      {{"-f", "-c"}, 1, "\n  Error: As of version 6.20 the -f flag requires\n"},
      {{"-Dx"}, 1, "\n  Error: Invalid or missing parameter for -D option\n"},
      {{"-Ex"}, 1, "\n  Error: Invalid parameter for -E option\n"},
      {{"-Nq"}, 1, "\n  Error: Invalid or missing parameter for -N option\n"},
      {{"-Rz"}, 1, "\n  Error: Invalid parameter for -R option\n"},
      {{"-TZ"}, 1, "\n  Error: Invalid or missing parameter for -T option\n"},
      {{"-q"}, 1, "\n  -q Query setup mode is now supported in the vek.cfg file.\n"},
      {{"-W"}, 1, "\n  -W Work Diff mode is now supported under the -wx option\n"},
      {{"-wx old.dat new.dat"}, 1, "\n  Error: -wx option syntax is invalid\n"},
      {{"-wcreat /x"}, 1, "\n  Error: The correct syntax for the work file create\n"},
      {{"-wCreate"}, 1, "\n  Error: No baseline directory specififed for the\n"},
      {{"-wW"}, 0, "\n  Error: The -wW switch has been deprecated and is no\n"},
      {{"-wFile dat"}, 0, "\n  Error: -w \"File dat\" file name not parsed\n"},
      {{"-wFile xyz a"}, 0, "\n  Error: -w \"File [dat|cfg] [path\\filename]\"\n"},
      {{"-wz"}, 1, "\n  Error: Invalid or missing parameter for -w option\n"},
      {{"-x"}, 1,
       "\n  -x Work Diff extraction mode is now supported under the -wx option\n"},
      {{"-xBOGUS"}, 1, "\n  Error: Invalid parameter for -x option\n"},
      {{"-xFile txt r.cfg"}, 1, "\n  Error: Invalid report file type\n"},
      {{"-r", ". ."}, 1, "\n  Error: In the specified parameter: -r\n"},
      {{"-uFile abc x"}, 0, "\n  Error: -u \"File [cfg | xsl] [path\\filename]\"\n"},
      {{"-uFile xsl"}, 0, "\n  Error: -w \"File xsl\" file name not parsed\n"},
  };
  for (const auto& tc : cases) {
    CapturedG c;
    Parsed p = Parse(c, tc.words);
    SCOPED_TRACE(tc.words[0]);
    EXPECT_TRUE(c.g().stop_flag);
    EXPECT_EQ(tc.status, c.g().stop_status);
    EXPECT_EQ(0u, p.out.find(tc.message)) << p.out;
  }
}

TEST(Switches, HtmlErrorsCloseThePage) {
  CapturedG c;
  Parsed p = Parse(c, {"-H", "-j"});
  EXPECT_EQ("\n  Error: Command line parse error, invalid option.\n"
            "         Use -hs to show program help syntax.\n"
            "</pre></body></html>",
            p.out);
}

TEST(Switches, ExtendedKeywordsIgnoreCase) {
  CapturedG c;
  Parse(c, {"-xnocommand", "-xNoConfig", "-xNOWRAP", "-xudqnshow", "-xNOHEADER"});
  const Options& o = c.g().opt;
  EXPECT_TRUE(o.no_command_flag);
  EXPECT_TRUE(o.no_config_flag);
  EXPECT_FALSE(c.g().cfg.wrap_names);
  EXPECT_TRUE(o.udqn_show_flag);
  EXPECT_TRUE(o.notice_flag);
  EXPECT_TRUE(o.no_header_flag);
  EXPECT_FALSE(c.g().stop_flag);
}

TEST(Switches, WorkFileCreateAndDeterministic) {
  CapturedG c;
  Parse(c, {"-wCreate /src/proj/", "-wd"});
  const Options& o = c.g().opt;
  EXPECT_TRUE(o.workfile_create);
  EXPECT_EQ("/src/proj", o.baseline_dir);
  EXPECT_TRUE(o.function_flag && o.object_flag && o.complexity_flag);
  EXPECT_TRUE(o.totals_flag && o.no_file_names);
  EXPECT_TRUE(o.code_diff_flag);
  CapturedG d;
  Parse(d, {"-wcreate .", "-wD"});
  EXPECT_FALSE(d.g().opt.workfile_create);
  EXPECT_FALSE(d.g().opt.no_file_names);
}

TEST(Switches, WorkDiffNamesAreTrimmed) {
  CapturedG c;
  Parse(c, {"-wx old base.dat ,\t new.dat \t"});
  EXPECT_EQ("old base.dat ", c.g().opt.diff_old);
  EXPECT_EQ("new.dat", c.g().opt.diff_new);
  // Neither work file exists: the differential reports it and ends with 1.
  EXPECT_EQ(1, c.g().stop_status);
}

TEST(Switches, WorkFileNameSetsItsDirectory) {
  CapturedG c;
  Parse(c, {"-wFile dat /base lines/wf.dat"});
  EXPECT_EQ("/base lines/wf.dat", c.g().opt.workfile_name);
  EXPECT_EQ("/base lines", c.g().opt.workfile_dir);
  CapturedG d;
  Parse(d, {"-wFile dat wf.dat"});
  EXPECT_EQ(".", d.g().opt.workfile_dir);
}

TEST(Switches, RecursiveArgumentSplitsAtTheFirstBlank) {
  CapturedG c;
  Parse(c, {"-r", "c,h /my project/src"});
  EXPECT_TRUE(c.g().opt.recursive_flag);
  EXPECT_EQ("c,h", c.g().opt.recursive_extensions);
  EXPECT_EQ("/my project/src", c.g().opt.recursive_dir);
  CapturedG d;
  Parse(d, {"-Flist.txt", "-rc ."});
  EXPECT_FALSE(d.g().opt.list_file_flag);  // -r switches list mode off
  EXPECT_NE("", d.g().opt.recursive_dir);
  EXPECT_NE(".", d.g().opt.recursive_dir);
}

TEST(Switches, UserConfigIgnoredUnlessEnabled) {
  CapturedG c;
  Parse(c, {"-uFile cfg /no/such/file.cfg"});
  EXPECT_FALSE(c.g().stop_flag);
  EXPECT_EQ("", c.text());
}

TEST(Switches, UserXslPathMayHoldBlanks) {
  CapturedG c;
  Parse(c, {"-u", "File XSL /my styles/vek.xsl"});
  EXPECT_EQ("/my styles/vek.xsl", c.g().opt.xsl_file);
}

TEST(Switches, TotalsLetters) {
  CapturedG c;
  Parse(c, {"-Tq"});
  const Options& o = c.g().opt;
  EXPECT_TRUE(o.totals_flag && o.notice_flag && o.function_flag &&
              o.object_flag && o.complexity_flag);
  EXPECT_TRUE(o.notice_single_flag && o.notice_collect_flag && o.class_link_flag);
  CapturedG d;
  Parse(d, {"-Nv", "-Tq"});
  EXPECT_TRUE(d.g().opt.notice_visual_flag);
  EXPECT_FALSE(d.g().opt.notice_single_flag);
  CapturedG e;
  Parse(e, {"-Nv", "-Tp"});
  EXPECT_FALSE(e.g().opt.notice_collect_flag);
}

TEST(Switches, ReportOptionFlag) {
  for (const char* quiet : {"-b", "-B2", "-fp", "-H", "-k1", "-L90", "-M2", "-p",
                            "-P40", "-Rn", "-s", "-STitle", "-xNOCONFIG"}) {
    CapturedG c;
    Parse(c, {quiet});
    EXPECT_FALSE(c.g().opt.report_option_flag) << quiet;
  }
  for (const char* loud : {"-a", "-c", "-d", "-fa", "-i", "-l", "-m", "-n", "-o",
                           "-v", "-X", "-Ta"}) {
    CapturedG c;
    Parse(c, {loud});
    EXPECT_TRUE(c.g().opt.report_option_flag) << loud;
  }
}

TEST(Switches, CsvRowsOnlyWhenCsvCameFirst) {
  CapturedG c;
  Parse(c, {"-C", "-fa"});
  EXPECT_TRUE(c.g().opt.csv_file_rows);
  CapturedG d;
  Parse(d, {"-fa", "-C"});
  EXPECT_FALSE(d.g().opt.csv_file_rows);
}

TEST(Switches, OutputFileThatCannotBeOpened) {
  CapturedG c;
  Parse(c, {"-O", "/no/such/dir/out.txt"});
  EXPECT_EQ(1, c.g().stop_status);
}

}  // namespace
}  // namespace vek
