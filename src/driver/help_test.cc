#include "driver/help.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/text.h"
#include "driver/state.h"
#include "udqn/udqn.h"

namespace vek {
namespace {

class HelpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_->paths.prog_path = "/usr/local/bin/vek";
    g_->paths.cfg_file = "/home/me/vek.cfg";
    g_->paths.VEKHOME = "/usr/local/bin/";
    g_->opt.no_header_flag = 1;
  }

  // Runs one help display with the report stream in memory.
  template <class F>
  std::string Capture(F&& display) {
    char* data = nullptr;
    size_t size = 0;
    FILE* stream = open_memstream(&data, &size);
    g_->report_stream = stream;
    display(*g_);
    fclose(stream);
    g_->report_stream = stdout;
    std::string out(data, size);
    free(data);
    return out;
  }

  std::unique_ptr<G> g_ = std::make_unique<G>();
};

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Every switch of the summary in its order and wording.
const char* const kSwitchLines[] = {
    "-A Automated CSV output mode",
    "-a Allocation/de-allocation memory function counts",
    "-b Benchmark processing performance",
    "-C CSV output mode",
    "-c Complexity metrics, Cyclomatic and Interface",
    "-D De-character source, Warning: Modifies Source Code",
    "-d Determine source code against LOC analysis algorithm",
    "-E Extract literal strings or comments from source code",
    "-e Estimate labor rate analysis based on LOC and complexity",
    "-F\"FileList.txt\"  Input mode from a file list",
    "-f Function Identification and LOC metrics",
    "-H HTML output mode for use with a WWW browser",
    "-h Help",
    "-i Inheritance tree generation",
    "-k Key for sorting reports",
    "-l List function names declared in each file",
    "-m Macro identification",
    "-n Notices for code quality analysis & common errors",
    "-N Notice output format",
    "-o Object metrics classes and structs",
    "-O\"filename\"  Output mode to a file instead of screen",
    "-p Printable format for source code",
    "-r\"ext,ext,... directory\"  Recurse directory input mode",
    "-R Read File Input Processing Options",
    "-s Summary LOC metrics per file",
    "-S\"string\"  Title string for a report",
    "-T Totals only mode, Sorted",
    "-v Verbose metrics for files, LOC, keywords and constructs",
    "-u",
    "-w Work files for metrics differentials between baselines",
    "-X XML Output Mode",
    "-x Extended options",
    "-y Display configuration parameters, export vek.cfg",
};

// Sub-entries whose wording is given, in order.
const char* const kFixedSubEntries[] = {
    "Moved to -C switch",
    "-C -fa  Functions and Files",
    "-C -fp  Function Points derived from LOC",
    "-C -i   Inheritance Tree",
    "-C -s   File Summary",
    "-C -T*  All T report Switches",
    "-C -w   Work file differential extraction",
    "-hc  Configuration Settings",
    "-hf  Full Help Text Document",
    "-hn  Quality Notice Types",
    "-hp  Abbreviated Syntax with Pause Prompt",
    "-hs  Syntax only",
    "-Ns  Single line summary format",
    "-Nv  Visual Studio interactive format",
    "-B1  Begin Top Margin (defaults shown)",
    "-M5  Left Margin",
    "-P55 Page Length",
    "-L80 Line Length",
    "-u\"File CFG vek_user.cfg\" User defined VEK configuration",
    "-u\"File XSL vek_td.xsl\"",
    "-wW  Deprecated as of version 6.52, use -wx",
    "-X -T*  All T report switches, reference -T",
    "-X -wx  Work file differentials extraction",
    "-xNOCONFIG  No configuration file reporting in output",
    "-xNOCOMMAND No command line reporting in output",
    "-xUDQNSHOW  Show the User Defined Quality Notices",
    "-xNOWRAP    Do not wrap long names in reports",
};

// Positions of the lines that begin with `prefix` after `indent`, searched
// in order from `from`; -1 where one is missing.
template <size_t N>
std::vector<int> FindInOrder(const std::vector<std::string>& lines,
                             const char* const (&items)[N], size_t indent,
                             size_t from = 0) {
  std::vector<int> found;
  size_t at = from;
  for (const char* item : items) {
    std::string want = std::string(indent, ' ') + item;
    size_t i = at;
    while (i < lines.size() && lines[i].compare(0, want.size(), want) != 0)
      ++i;
    if (i == lines.size()) {
      found.push_back(-1);
    } else {
      found.push_back(static_cast<int>(i));
      at = i + 1;
    }
  }
  return found;
}

TEST_F(HelpTest, SyntaxListsEverySwitchInOrder) {
  std::vector<std::string> lines = Lines(Capture(help_syntax));
  std::vector<int> at = FindInOrder(lines, kSwitchLines, 2);
  for (size_t i = 0; i < at.size(); ++i) {
    ASSERT_NE(-1, at[i]) << kSwitchLines[i];
    // The whole line is the switch line; sub-entries go on their own lines.
    EXPECT_EQ(std::string("  ") + kSwitchLines[i], lines[at[i]]);
  }
  std::vector<int> subs = FindInOrder(lines, kFixedSubEntries, 5, at[0]);
  for (size_t i = 0; i < subs.size(); ++i)
    EXPECT_NE(-1, subs[i]) << kFixedSubEntries[i];
}

TEST_F(HelpTest, SyntaxOpensWithTheTitleAndTheProgramName) {
  std::string out = Capture(help_syntax);
  size_t title = out.find("VEK Help Syntax\n\n");
  ASSERT_NE(std::string::npos, title);
  EXPECT_NE(std::string::npos,
            out.find("\n  Syntax: vek -switch or -switch[option] or \n"
                     "          -switch[\"compound option\"] filenames or "
                     "wild cards\n"
                     "          [ ] characters are not entered\n",
                     title));
  EXPECT_EQ(std::string::npos, out.find("/usr/local/bin"));
}

// The column where the description of a sub-entry starts: behind the
// switch word, or behind the closing quote of a compound option.
size_t DescriptionColumn(const std::string& line) {
  size_t end = line.size() > 7 && line[7] == '"' ? line.find('"', 8) + 1
                                                  : line.find(' ', 5);
  return line.find_first_not_of(' ', end);
}

TEST_F(HelpTest, SyntaxSubEntriesShareTheirColumns) {
  std::vector<std::string> lines = Lines(Capture(help_syntax));
  std::vector<size_t> compound, letters;
  for (const std::string& line : lines) {
    if (line.rfind("     -w\"", 0) == 0)
      compound.push_back(DescriptionColumn(line));
    else if (line.rfind("     -T", 0) == 0 || line.rfind("     -k", 0) == 0)
      letters.push_back(DescriptionColumn(line));
  }
  ASSERT_EQ(4u, compound.size());
  for (size_t column : compound) EXPECT_EQ(compound[0], column);
  ASSERT_EQ(14u + 12u, letters.size());
  for (size_t column : letters) EXPECT_EQ(10u, column);
}

TEST_F(HelpTest, ShortSyntaxWithoutPauseIsTheSyntaxBlockAlone) {
  g_->paths.prog_path = "vek";
  EXPECT_EQ(
      "  Syntax: vek -option or -switch[option]\n"
      "          or -switch[\"compound option\"] filenames or wild cards\n"
      "          VEK is a command line program, [ ] characters are not "
      "entered\n"
      "          Example: c:\\vek\\vek.exe -c -fa -r\"h,cpp,java,cs "
      "c:\\proj\"\n"
      "          -hs Help syntax for operation\n"
      "          -hf Help manual full text\n",
      Capture([](G& g) { help_pause(g, false); }));
}

TEST_F(HelpTest, PauseIntoAFileWritesNoPrompt) {
  g_->opt.no_header_flag = 0;
  g_->paths.prog_path = "./bin/vek";
  std::string out = Capture([](G& g) { help_pause(g, true); });
  size_t syntax = out.find("  Syntax: vek -option or -switch[option]\n");
  ASSERT_NE(std::string::npos, syntax);
  EXPECT_NE(std::string::npos, out.find("Vek Code Gauge"));
  EXPECT_LT(out.find("Vek Code Gauge"), syntax);
  EXPECT_EQ(std::string::npos, out.find("Press Enter"));
}

TEST_F(HelpTest, NoticeTypesShowEachNoticeWithItsState) {
  std::vector<std::string> lines = Lines(Capture(help_notices));
  std::vector<std::string> notices;
  for (const std::string& line : lines)
    if (line.rfind("  Notice ", 0) == 0) notices.push_back(line);
  ASSERT_EQ(58u, notices.size());
  for (int n = 1; n <= 58; ++n) {
    bool off = n == 21 || n == 25 || n == 46 || n == 47 ||
               (n >= 51 && n <= 54) || n == 57 || n == 58;
    char prefix[32];
    snprintf(prefix, sizeof prefix, "  Notice %-4d: [%3s] ", n,
             off ? "Off" : "On");
    EXPECT_EQ(0u, notices[n - 1].rfind(prefix, 0)) << notices[n - 1];
  }
  EXPECT_EQ("  Notice 1   : [ On] Physical line length > 80 characters",
            notices[0]);
  EXPECT_EQ("  Notice 25  : [Off] Treat *.h files for C++ keywords",
            notices[24]);
  EXPECT_EQ("  Notice 41  : [ On] Number of derived classes exceeds the "
            "specified maximum 10 ",
            notices[40]);
}

TEST_F(HelpTest, NoticeTypesFollowTheConfiguration) {
  g_->cfg.notice_on[1] = 0;
  g_->cfg.notice_on[21] = 1;
  g_->cfg.notice_on[25] = 1;  // no key and no check: never on
  g_->cfg.max_line_length = 132;
  std::string out = Capture(help_notices);
  EXPECT_NE(std::string::npos,
            out.find("  Notice 1   : [Off] Physical line length > 132 "
                     "characters\n"));
  EXPECT_NE(std::string::npos, out.find("  Notice 21  : [ On] "));
  EXPECT_NE(std::string::npos, out.find("  Notice 25  : [Off] "));
}

TEST_F(HelpTest, NoticeTypesEndWithTheUserDefinedNoticeFile) {
  g_->paths.CFGHOME = "/etc/vek/";
  std::string out = Capture(help_notices);
  size_t title = out.find("User Defined Quality Notices\n\n");
  ASSERT_NE(std::string::npos, title);
  EXPECT_LT(out.find("  Notice 58  : "), title);
  EXPECT_EQ(
      "User Defined Quality Notices\n\n"
      "  UDQN File   : /etc/vek/vek_udqn.cfg\n"
      "  PCRE Version: " + udqn_library_version() + "\n"
      "  PCRE Source : https://www.pcre.org/\n\n",
      out.substr(title));
  // The version is the library's own: "10.42 2022-12-11".
  EXPECT_TRUE(IsDigit(udqn_library_version()[0]));
  EXPECT_NE("7.0", udqn_library_version());
}

TEST_F(HelpTest, NoticeTypesListTheUserDefinedNotices) {
  char dir[] = "/tmp/help_udqn.XXXXXX";
  ASSERT_NE(nullptr, mkdtemp(dir));
  std::string path = std::string(dir) + "/team.cfg";
  FILE* f = fopen(path.c_str(), "w");
  fputs("UDQN Begin:\nudqn id: 120\nactive: yes\nsummary: Open TODO\n"
        "UDQN End:\nUDQN Begin:\nudqn id: 121\nsummary: x\nUDQN End:\n"
        "UDQN Begin:\nudqn id: 122\nsummary: Retired rule\nUDQN End:\n",
        f);
  fclose(f);
  g_->cfg.udqn_file = path;
  std::string out = Capture(help_notices);
  EXPECT_NE(std::string::npos,
            out.find("  PCRE Source : https://www.pcre.org/\n\n"
                     "  Notice 120 : [ On] Open TODO\n"
                     "  Notice 122 : [Off] Retired rule\n"));
  unlink(path.c_str());
  rmdir(dir);
}

TEST_F(HelpTest, HtmlHelpEndsThePageOnce) {
  g_->opt.html_flag = 1;
  for (auto display : {help_syntax, help_notices, help_full}) {
    std::string out = Capture(display);
    const std::string trailer = "</pre></body></html>";
    ASSERT_GE(out.size(), trailer.size());
    EXPECT_EQ(trailer, out.substr(out.size() - trailer.size()));
    EXPECT_EQ(out.find(trailer), out.size() - trailer.size());
  }
}

TEST_F(HelpTest, ManualHasItsSectionsInOrder) {
  std::vector<std::string> lines = Lines(Capture(help_full));
  const char* const kTitles[] = {
      "~ VEK Help Documentation~",
      "~ Source Code Metrics and Analysis ~",
      "~ Program Operation ~",
      "~ Operation Step by Step ~",
      "~ Program Configuration ~",
      "~ Source File Requirements ~",
      "~ Switches and Options ~",
      "~ Files/Directories Names and Wild Cards ~",
      "~ Source Code File Input Modes ~",
      "~ Program Output Modes ~",
      "~ Program Output File Formats ~",
      "~ Run Time Switch Options ~",
  };
  size_t next = 0;
  for (const char* title : kTitles) {
    size_t i = next;
    while (i < lines.size() && lines[i].find(title) == std::string::npos) ++i;
    ASSERT_LT(i, lines.size()) << title;
    EXPECT_EQ(std::string(title), lines[i].substr(lines[i].find('~')));
    next = i + 1;
  }
}

TEST_F(HelpTest, ManualHasOneEntryPerSwitchInSummaryOrder) {
  std::vector<std::string> lines = Lines(Capture(help_full));
  size_t chapter = 0;
  while (chapter < lines.size() &&
         lines[chapter].find("~ Run Time Switch Options ~") ==
             std::string::npos)
    ++chapter;
  ASSERT_LT(chapter, lines.size());
  std::vector<int> at = FindInOrder(lines, kSwitchLines, 2, chapter);
  for (size_t i = 0; i < at.size(); ++i) {
    ASSERT_NE(-1, at[i]) << kSwitchLines[i];
    // Each entry has a text under its heading.
    ASSERT_LT(static_cast<size_t>(at[i]) + 1, lines.size());
    EXPECT_EQ(0u, lines[at[i] + 1].rfind("     ", 0)) << kSwitchLines[i];
  }
  // No switch has a second entry.
  for (const char* item : kSwitchLines) {
    std::string want = std::string("  ") + item;
    int count = 0;
    for (size_t i = chapter; i < lines.size(); ++i)
      if (lines[i] == want) ++count;
    EXPECT_EQ(1, count) << item;
  }
}

TEST_F(HelpTest, ManualEndsWithTheConfiguration) {
  std::string out = Capture(help_full);
  size_t title = out.find("~ Configuration Parameters ~");
  ASSERT_NE(std::string::npos, title);
  EXPECT_LT(out.find("~ Run Time Switch Options ~"), title);
  EXPECT_NE(std::string::npos, out.find("VEK CFG Version: 7.75", title));
  EXPECT_NE(std::string::npos, out.find("# end of vek.cfg", title));
}

TEST_F(HelpTest, ManualNamesTheEnvironmentAndExitStatuses) {
  std::string out = Capture(help_full);
  for (const char* word : {"VEKHOME", "VEKCFGHOME", "VEKDEBUG", "VEKCLASSMF",
                           "LOC", "eLOC", "lLOC", "Cyclomatic complexity",
                           "Interface complexity", "Total complexity",
                           "vek_udqn.cfg", "vek_macro.cfg",
                           "vek_workdiff.cfg", "veklist.lst"})
    EXPECT_NE(std::string::npos, out.find(word)) << word;
  // Paths in the manual are those of this system.
  size_t manual = out.find("~ VEK Help Documentation~");
  size_t config = out.find("~ Configuration Parameters ~");
  std::string prose = out.substr(manual, config - manual);
  EXPECT_EQ(std::string::npos, prose.find('\\'));
  EXPECT_EQ(std::string::npos, prose.find(".exe"));
}

TEST(HelpUdqnPath, ResolvesLikeTheOtherSideFiles) {
  struct Case {
    const char* cfghome;
    const char* vekhome;
    const char* configured;
    const char* path;
  } cases[] = {
      {"", "", "", "./vek_udqn.cfg"},
      {"", "/opt/vek/", "", "/opt/vek/vek_udqn.cfg"},
      {"/etc/vek/", "/opt/vek/", "", "/etc/vek/vek_udqn.cfg"},
      {"", "/opt/vek/", "rules.cfg", "/opt/vek/rules.cfg"},
      {"/etc/vek/", "", "rules.cfg", "/etc/vek/rules.cfg"},
      {"", "/opt/vek/", "/srv/rules.cfg", "/srv/rules.cfg"},
      {"", "/opt/vek/", "conf/rules.cfg", "conf/rules.cfg"},
      {"/etc/vek/", "", "/etc/vek/rules.cfg", "/etc/vek/rules.cfg"},
      {"/", "/", "", "./vek_udqn.cfg"},
  };
  for (const Case& c : cases) {
    auto g = std::make_unique<G>();
    g->paths.CFGHOME = c.cfghome;
    g->paths.VEKHOME = c.vekhome;
    g->cfg.udqn_file = c.configured;
    EXPECT_EQ(c.path, udqn_file_path(*g))
        << c.cfghome << " | " << c.vekhome << " | " << c.configured;
  }
}

}  // namespace
}  // namespace vek
