#include "config/config_file.h"

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "config/config_keys.h"
#include "config/languages.h"
#include "config/macro_file.h"
#include "driver/state.h"

namespace vek {
namespace {

// A scratch directory with vek.cfg and vek_macro.cfg paths set in a fresh G;
// reports go to a temporary stream that the test can read back.
class ConfigFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/vek_cfg_test_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    g_ = std::make_unique<G>();
    g_->paths.cfg_file = dir_ + "/vek.cfg";
    g_->paths.macro_file = dir_ + "/vek_macro.cfg";
    g_->paths.start_dir = "/work";
    report_ = std::tmpfile();
    ASSERT_NE(report_, nullptr);
    g_->report_stream = report_;
  }
  void TearDown() override {
    std::fclose(report_);
    std::filesystem::remove_all(dir_);
  }

  std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  void Spit(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }
  std::string Written(G& g) {
    FILE* f = std::tmpfile();
    write_config(f, g);
    std::rewind(f);
    std::string text;
    for (int c; (c = std::getc(f)) != EOF;) text.push_back(static_cast<char>(c));
    std::fclose(f);
    return text;
  }
  std::string Report() {
    std::fflush(report_);
    std::rewind(report_);
    std::string text;
    for (int c; (c = std::getc(report_)) != EOF;)
      text.push_back(static_cast<char>(c));
    return text;
  }
  // Reads a file holding the version line and the given lines.
  void ReadLines(const std::string& lines) {
    Spit(g_->paths.cfg_file, "VEK CFG Version: 7.75\n" + lines);
    ASSERT_EQ(1, read_config(*g_));
  }

  std::string dir_;
  std::unique_ptr<G> g_;
  FILE* report_ = nullptr;
};

// Every written field, so that a round trip can be compared as a whole.
std::string Fingerprint(G& g) {
  std::ostringstream out;
  for (const ConfigKey& k : ConfigKeys()) {
    if (&k == FindConfigKey("VEK CFG Version")) continue;
    if (k.int_field) out << k.key << '=' << k.int_field(g.cfg) << '\n';
    if (k.percent_field) out << k.key << '=' << k.percent_field(g.cfg) << '\n';
    if (k.text_field) out << k.key << '=' << k.text_field(g.cfg) << '\n';
  }
  out << "key_string_set=" << g.cfg.key_string_set << '\n';
  return out.str();
}

TEST_F(ConfigFileTest, MissingFileIsCreatedWithTheWrittenDefaults) {
  const std::string expected = Written(*g_);
  ASSERT_EQ(1, read_config(*g_));
  EXPECT_EQ(expected, Slurp(g_->paths.cfg_file));
  EXPECT_EQ("7.75", g_->cfg.cfg_version);
  G defaults;
  EXPECT_EQ(Fingerprint(defaults), Fingerprint(*g_));
}

TEST_F(ConfigFileTest, RoundTripOfChangedValuesIsExact) {
  ReadLines(
      "Quality Notice 3: No\nQuality Notice 21: Yes\n"
      "Maximum Line Length: 120\nMinimum File Blank Line Percent: 12.5\n"
      "Report Header Text Line: Acme Corp.\nHTML Notice Color: red\n"
      "Page breaks in code print format: Yes\n"
      "C++ File Function Points per eLOC: 61\n"
      "Work file location path: /tmp/base\nVEK KEY String: (c) Acme\n");
  const std::string first = Written(*g_);
  const std::string fingerprint = Fingerprint(*g_);

  auto other = std::make_unique<G>();
  other->paths = g_->paths;
  Spit(other->paths.cfg_file, first);
  ASSERT_EQ(1, read_config(*other));
  EXPECT_EQ(fingerprint, Fingerprint(*other));
  EXPECT_EQ(first, Written(*other));
  EXPECT_EQ(first, Slurp(other->paths.cfg_file)) << "no rewrite expected";

  EXPECT_EQ(0, other->cfg.notice_on[3]);
  EXPECT_EQ(1, other->cfg.notice_on[21]);
  EXPECT_EQ(61, other->cfg.fp_factor[kFpCpp][kFpEloc]);
  EXPECT_EQ(0, other->cfg.no_page_breaks);
  EXPECT_DOUBLE_EQ(12.5, other->cfg.min_file_blank);
  EXPECT_EQ(1, other->cfg.key_string_set);
}

TEST_F(ConfigFileTest, ValueRules) {
  ReadLines(
      "quality notice 3   : no\n"   // case of the key does not matter
      "Quality Notice 4: nope\n"
      "Maximum Line Length: -5\n"   // not a digit: kept
      "Maximum Function Name Length: 40abc\n"
      "Maximum depth of scope: 0\n"
      "Progress status interval number of files: 0\n"
      "Minimum File Comment Line Percent: .5\n"
      "Minimum File Whitespace Percent: 7.25\r\n"
      "HTML Text Color: <b>\n"      // not a colour: kept
      "HTML Link Color: #123456789012345678901234\n"
      "Printed Page Header: -- draft --\n"
      "Report Header HTML Line:\t\n"
      "VEK KEY String:\n"
      "Tab stop: 9\n"               // unknown key
      "# Maximum Function eLOC: 5\n");
  const Config& c = g_->cfg;
  EXPECT_EQ(0, c.notice_on[3]);
  EXPECT_EQ(0, c.notice_on[4]);
  EXPECT_EQ(80, c.max_line_length);
  EXPECT_EQ(40, c.max_function_name_length);
  EXPECT_EQ(7, c.max_scope_depth);
  EXPECT_EQ(1, c.progress_interval);
  EXPECT_DOUBLE_EQ(10.0, c.min_file_comment);
  EXPECT_DOUBLE_EQ(7.25, c.min_file_whitespace);
  EXPECT_EQ("#000000", c.color_text);
  EXPECT_EQ("#1234567890123456789", c.color_link);  // 20 characters
  EXPECT_EQ("VEK Code Listing", c.print_page_header);
  EXPECT_EQ("", c.report_header_html);
  EXPECT_EQ(0, c.key_string_set);
  EXPECT_EQ(200, c.max_function_eloc);

  g_->cfg.notice_on[5] = 0;
  ReadLines("Quality Notice 5:\n");  // an empty Yes/No value reads as Yes
  EXPECT_EQ(1, c.notice_on[5]);
}

TEST_F(ConfigFileTest, ColonSplitAndLaterLineWins) {
  ReadLines(
      "Report Header Text Line :  a: b \t\n"
      "Maximum Line Length: 100\nMAXIMUM LINE LENGTH: 101\n"
      "  Maximum Function eLOC: 5\n");  // leading blanks: no such key
  EXPECT_EQ("a: b", g_->cfg.report_header_text);
  EXPECT_EQ(101, g_->cfg.max_line_length);
  EXPECT_EQ(200, g_->cfg.max_function_eloc);
}

TEST_F(ConfigFileTest, ExtensionListsRestoreTheirDefaultWhenEmptied) {
  g_->cfg.ext_cpp = "";
  ReadLines("C++ File Extensions: .cpp\nJava File Extensions: jav,java\n");
  EXPECT_EQ("cc,cpp,cxx,CC", g_->cfg.ext_cpp);
  EXPECT_EQ("jav,java", g_->cfg.ext_java);
  ReadLines("C File Extensions: " + std::string(300, 'c') + "\n");
  EXPECT_EQ(254u, g_->cfg.ext_c.size());
}

// Reading a configuration after the languages are registered (-u) must
// update the language table; before that, only the configuration changes.
TEST_F(ConfigFileTest, ExtensionListsReachRegisteredLanguages) {
  register_language("Other", g_->cfg.ext_other, *g_);
  register_language("C", g_->cfg.ext_c, *g_);
  ReadLines("C File Extensions: c,i\nJava File Extensions: jav\n");
  EXPECT_EQ((std::vector<std::string>{"c", "i"}),
            g_->languages.languages[kTypeC].extensions);
  EXPECT_EQ("jav", g_->cfg.ext_java);
  EXPECT_EQ(2u, g_->languages.languages.size());
}

TEST_F(ConfigFileTest, FileWithoutVersionIsRewrittenKeepingItsValues) {
  Spit(g_->paths.cfg_file,
       "Maximum Line Length: 132\nQuality Notice 9: No\n"
       "Printed Page Header: My Listing\n");
  ASSERT_EQ(1, read_config(*g_));
  EXPECT_EQ("7.75", g_->cfg.cfg_version);
  const std::string rewritten = Slurp(g_->paths.cfg_file);
  EXPECT_EQ(Written(*g_), rewritten);
  EXPECT_NE(std::string::npos, rewritten.find("VEK CFG Version: 7.75\n"));

  auto next = std::make_unique<G>();
  next->paths = g_->paths;
  ASSERT_EQ(1, read_config(*next));
  EXPECT_EQ(132, next->cfg.max_line_length);
  EXPECT_EQ(0, next->cfg.notice_on[9]);
  EXPECT_EQ("My Listing", next->cfg.print_page_header);
}

TEST_F(ConfigFileTest, OlderVersionIsRewrittenAndCaseOfVersionIgnored) {
  Spit(g_->paths.cfg_file, "VEK CFG Version: 6.70\nMaximum Line Length: 90\n");
  read_config(*g_);
  EXPECT_EQ(Written(*g_), Slurp(g_->paths.cfg_file));
  EXPECT_NE(std::string::npos,
            Slurp(g_->paths.cfg_file).find("Maximum Line Length       "
                                           "              : 90\n"));
  Spit(g_->paths.cfg_file, "vek cfg version: 7.75\nMaximum Line Length: 95\n");
  read_config(*g_);
  EXPECT_EQ("vek cfg version: 7.75\nMaximum Line Length: 95\n",
            Slurp(g_->paths.cfg_file));
  // A second read of a file without a version line must not keep the
  // version of the first one.
  Spit(g_->paths.cfg_file, "Maximum Line Length: 91\n");
  read_config(*g_);
  EXPECT_NE(std::string::npos,
            Slurp(g_->paths.cfg_file).find("VEK CFG Version: 7.75"));
}

TEST_F(ConfigFileTest, GarbageAndBinaryContentDoNotCrash) {
  std::string junk;
  for (int i = 0; i < 20000; ++i)
    junk.push_back(static_cast<char>((i * 7919 + i / 13) & 0xFF));
  junk += std::string("\nQuality Notice 3:\0no\n", 22);
  Spit(g_->paths.cfg_file, junk);
  EXPECT_EQ(1, read_config(*g_));
  EXPECT_EQ(80, g_->cfg.max_line_length);
}

TEST_F(ConfigFileTest, OverlongLineIsNotSplitIntoKeys) {
  // A comment of 2047 characters whose continuation looks like a key line.
  std::string text = "VEK CFG Version: 7.75\n# " + std::string(2045, 'x') +
                     "Maximum Line Length: 5\n" +
                     "Report Header Text Line: " + std::string(3000, 'T') +
                     "\nMaximum Function eLOC: 300\n";
  Spit(g_->paths.cfg_file, text);
  ASSERT_EQ(1, read_config(*g_));
  EXPECT_EQ(80, g_->cfg.max_line_length);
  EXPECT_EQ(300, g_->cfg.max_function_eloc);
  EXPECT_EQ(2047u - 25u, g_->cfg.report_header_text.size());
}

TEST_F(ConfigFileTest, LastLineWithoutNewlineIsApplied) {
  ReadLines("Maximum Function eLOC: 5");
  EXPECT_EQ(5, g_->cfg.max_function_eloc);
}

TEST_F(ConfigFileTest, MissingDirectoryLeavesDefaults) {
  g_->paths.cfg_file = dir_ + "/no/such/dir/vek.cfg";
  EXPECT_EQ(0, read_config(*g_));
  G defaults;
  EXPECT_EQ(Fingerprint(defaults), Fingerprint(*g_));
  EXPECT_EQ("", Report());
}

TEST_F(ConfigFileTest, DeprecatedCycloKeyOnlyWarns) {
  const std::string before = Fingerprint(*g_);
  ReadLines("Include cyclo complexity in work files: Yes\n");
  EXPECT_EQ(before, Fingerprint(*g_));
  EXPECT_EQ(
      "Notice: Using \"include cyclo complexity in work files\"\n"
      "        in vek.cfg is deprecated.  Use the vek_workdiff.cfg\n"
      "        file to define the elements of the baseline metrics\n"
      "        differential report\n\n",
      Report());
}

TEST_F(ConfigFileTest, AlinkColourIsReadButNotWritten) {
  ReadLines("HTML ALink Color: #ABCDEF\n");
  EXPECT_EQ("#ABCDEF", g_->cfg.color_alink);
  EXPECT_EQ(std::string::npos, Lower(Written(*g_)).find("alink"));
}

TEST_F(ConfigFileTest, UdqnFileResolution) {
  ReadLines("VEK user defined quality notice file: rules.cfg\n");
  EXPECT_EQ("rules.cfg", g_->cfg.udqn_file);

  g_->paths.CFGHOME = "/cfg/";
  ReadLines("VEK user defined quality notice file: mine.cfg\n");
  EXPECT_EQ("/cfg/mine.cfg", g_->cfg.udqn_file);
  ReadLines("VEK user defined quality notice file: C:\\x\\mine.cfg\n");
  EXPECT_EQ("/cfg/mine.cfg", g_->cfg.udqn_file);
  ReadLines("VEK user defined quality notice file: x\n");
  EXPECT_EQ("/cfg/vek_udqn.cfg", g_->cfg.udqn_file);
}

// With a configuration home, the rewrite puts the resolved path into the
// file; reading that back must not drop the setting.
TEST_F(ConfigFileTest, UdqnFileSurvivesRewriteUnderConfigHome) {
  g_->paths.CFGHOME = dir_ + "/";
  Spit(g_->paths.cfg_file, "VEK user defined quality notice file: own.cfg\n");
  read_config(*g_);
  auto next = std::make_unique<G>();
  next->paths = g_->paths;
  read_config(*next);
  EXPECT_EQ(dir_ + "/own.cfg", next->cfg.udqn_file);
  EXPECT_EQ(Written(*g_), Written(*next));
}

// The value as the file gave it is what goes back into the file: a home
// directory's path must never be frozen into vek.cfg, or a file created by
// the run would differ from what -y shows afterwards.
TEST_F(ConfigFileTest, UdqnFileIsWrittenAsGiven) {
  g_->paths.CFGHOME = dir_ + "/";
  ASSERT_EQ(1, read_config(*g_));  // created with an empty value
  EXPECT_EQ(dir_ + "/vek_udqn.cfg", g_->cfg.udqn_file);
  EXPECT_EQ(Slurp(g_->paths.cfg_file), Written(*g_));

  ReadLines("VEK user defined quality notice file: own.cfg\n");
  EXPECT_EQ(dir_ + "/own.cfg", g_->cfg.udqn_file);
  EXPECT_NE(std::string::npos,
            Written(*g_).find("\nVEK user defined quality notice file    : "
                              "own.cfg\n"));
  // A path outside the home is ignored, and so not written either.
  ReadLines("VEK user defined quality notice file: /elsewhere/x.cfg\n");
  EXPECT_EQ(dir_ + "/own.cfg", g_->cfg.udqn_file);
  EXPECT_EQ(std::string::npos, Written(*g_).find("/elsewhere/"));
}

// Every number a user can write is brought into its key's range, so that
// no counter or interval built from it can overflow.
TEST_F(ConfigFileTest, NumbersAreBroughtIntoTheirRanges) {
  ReadLines(
      "A TAB is equivalent to n space: 99999999999999\n"
      "Progress status interval number of files: 4294967297\n"
      "Maximum depth of scope: 5000\n"
      "Work Days per Week: 9\n"
      "Printed Line Length: 3\n"
      "Maximum Function eLOC: 2147483648\n"
      "C File Function Points per LOC: 00000000000000000000128\n"
      "Minimum File Whitespace Percent: 1e999\n"
      "Minimum File Comment Line Percent: 250\n"
      "Minimum File Blank Line Percent: 0\n");
  const Config& c = g_->cfg;
  EXPECT_EQ(16, c.tab_size);
  EXPECT_EQ(100000, c.progress_interval);
  EXPECT_EQ(1000, c.max_scope_depth);
  EXPECT_EQ(7, c.work_days_per_week);
  EXPECT_EQ(20, c.print_line_length);
  EXPECT_EQ(100000, c.max_function_eloc);
  EXPECT_EQ(128, c.fp_factor[kFpC][kFpLoc]);
  EXPECT_DOUBLE_EQ(100.0, c.min_file_whitespace);
  EXPECT_DOUBLE_EQ(100.0, c.min_file_comment);
  EXPECT_DOUBLE_EQ(0.0, c.min_file_blank);
  // What was brought into range is written back as such.
  EXPECT_NE(std::string::npos,
            Written(*g_).find("\nA TAB is equivalent to n space          : "
                              "16\n"));
}

// Each number key says its range in its comment, and its default lies in
// that range (a key added without a range would read every value as 0).
TEST_F(ConfigFileTest, EveryNumberKeyStatesItsRange) {
  const std::string text = Written(*g_);
  G defaults;
  int numbers = 0;
  for (const ConfigKey& k : ConfigKeys()) {
    if (k.type != KeyType::kInteger && k.type != KeyType::kPercent) continue;
    ++numbers;
    std::string range =
        k.type == KeyType::kPercent
            ? std::string("# Range 0 to 100,")
            : "# Range " + std::to_string(k.lowest) + " to " +
                  std::to_string(k.highest) + ",";
    // A key of 40 characters is followed by the colon directly.
    size_t key_at = text.find(std::string("\n") + k.key + " ");
    if (key_at == std::string::npos)
      key_at = text.find(std::string("\n") + k.key + ":");
    ASSERT_NE(std::string::npos, key_at) << k.key;
    size_t range_at = text.rfind("\n" + range, key_at);
    ASSERT_NE(std::string::npos, range_at) << k.key;
    EXPECT_EQ(key_at, text.find('\n', range_at + 1))
        << k.key << ": the range line stands right before the key";
    if (k.type == KeyType::kInteger) {
      EXPECT_LT(k.lowest, k.highest) << k.key;
      EXPECT_LE(k.lowest, k.int_field(defaults.cfg)) << k.key;
      EXPECT_GE(k.highest, k.int_field(defaults.cfg)) << k.key;
    }
  }
  EXPECT_EQ(53, numbers);
}

// A user configuration (-u "File CFG") is read over the values in force and
// never written: it may hold three keys and the team's own comments.
TEST_F(ConfigFileTest, UserFileIsReadButNeverRewritten) {
  static const char* const kNames[] = {"Other", "C", "C Header", "C++",
                                       "C++ Header", "Java", "C#"};
  for (int type = 0; type < kBuiltinLanguages; ++type)
    register_language(kNames[type], *language_extension_key(*g_, type), *g_);
  build_allowed_extensions(*g_);
  const std::string user = dir_ + "/team.cfg";
  const std::string text =
      "# Team settings\nMaximum Line Length: 132\n"
      "C File Extensions: c,pc\n";
  Spit(user, text);
  ASSERT_EQ(1, read_user_config(user, *g_));
  EXPECT_EQ(text, Slurp(user));
  EXPECT_EQ(132, g_->cfg.max_line_length);
  EXPECT_EQ("c,pc,h,cc,cpp,cxx,CC,h,hh,H,hxx,hpp,java,cs",
            g_->languages.allowed_extensions);
  EXPECT_EQ(kTypeC, type_file("src/embedded.pc", *g_, 0));
  EXPECT_EQ(0, read_user_config(dir_ + "/missing.cfg", *g_));
  EXPECT_FALSE(std::filesystem::exists(dir_ + "/missing.cfg"));
}

TEST_F(ConfigFileTest, WrittenLayout) {
  const std::string text = Written(*g_);
  EXPECT_EQ(0u, text.find("# Vek Code Gauge\n# Configuration Data File\n\n"
                          "# This output creates a template for vek.cfg."));
  EXPECT_NE(std::string::npos,
            text.find("a Yes or No or to a specified value.\n"
                      "VEK CFG Version: 7.75\n\n"
                      "# Current Working Dir.: /work\n"
                      "# Located Config. File: " + g_->paths.cfg_file + "\n"
                      "# Located Macro File  : " + g_->paths.macro_file +
                      "\n\n# The following is the current configuration data\n"));
  EXPECT_NE(std::string::npos,
            text.find("\nReport Header Active                    : No\n"));
  EXPECT_NE(std::string::npos,
            text.find("\nInclude 'if' in cyclomatic complexity           : "
                      "Yes\n"));
  EXPECT_NE(std::string::npos,
            text.find("\nInclude '?' inlined if in cyclomatic complexity : "
                      "Yes\n"));
  EXPECT_NE(std::string::npos,
            text.find("\nEnable user defined configuration files : No\n"));
  EXPECT_NE(std::string::npos,
            text.find("\nProgress status interval number of files: 10\n"));
  EXPECT_NE(std::string::npos,
            text.find("\nMinimum File Blank Line Percent         : 10.00 \n"));
  EXPECT_NE(std::string::npos,
            text.find("\n# Quality Notice No. 25\n# Deprecated in Version "
                      "6.70\n# See settings under language extensions.\n"));
  EXPECT_EQ(std::string::npos, text.find("Quality Notice 25"));
  const std::string tail = "\n# end of vek.cfg\n";
  EXPECT_EQ(text.size() - tail.size(), text.rfind(tail));
}

// Companion keys follow their notice, and the groups keep their order.
TEST_F(ConfigFileTest, NoticeOrder) {
  const std::string text = Written(*g_);
  const char* order[] = {
      "Quality Notice 1 ", "Maximum Line Length", "Quality Notice 2 ",
      "Quality Notice 21 ", "VEK KEY String", "Quality Notice 3 ",
      "Quality Notice 13 ", "Use default in case/break comparison",
      "Quality Notice 14 ", "Quality Notice 15 ", "Quality Notice 22 ",
      "Quality Notice 26 ", "Quality Notice 27 ",
      "Count goto as a function return point", "Quality Notice 29 ",
      "Quality Notice 49 ", "Quality Notice 30 ", "Quality Notice 32 ",
      "Ignore public delegate data", "Quality Notice 45 ",
      "Quality Notice 50 ", "Quality Notice 55 ", "Maximum depth of scope",
      "Quality Notice 56 ", "Min. Function LOC for content analysis",
      "Min. Class/Struct LOC content analysis", "Quality Notice 16 ",
      "Quality Notice 48 ", "Quality Notice 31 ", "Quality Notice 46 ",
      "Quality Notice 54 ", "Quality Notice 19 ",
      "A TAB is equivalent to n space", "Quality Notice 20 ",
      "Quality Notice 47 ", "Quality Notice 58 ", "# Quality Notice No. 25",
      "Printed Line Length", "HTML Inheritance Child Color"};
  size_t at = 0;
  for (const char* key : order) {
    size_t next = text.find(std::string("\n") + key, at);
    ASSERT_NE(std::string::npos, next) << key << " missing or out of order";
    at = next;
  }
}

TEST(ConfigFileKeys, EveryNoticeButTwentyFiveHasOneKey) {
  std::multiset<std::string> keys;
  for (const ConfigKey& k : ConfigKeys())
    if (k.type != KeyType::kHeading && k.type != KeyType::kComment)
      keys.insert(Lower(k.key));
  for (int n = 1; n <= kNoticeCount; ++n)
    EXPECT_EQ(n == 25 ? 0u : 1u,
              keys.count("quality notice " + std::to_string(n)))
        << n;
  for (const std::string& key : keys) EXPECT_EQ(1u, keys.count(key)) << key;
}

TEST_F(ConfigFileTest, HtmlWrapperAndColours) {
  g_->opt.html_flag = 1;
  const std::string text = Written(*g_);
  EXPECT_EQ(0u, text.find("<html><header><title>\"VEK Configuration\""
                          "</title></header><body><pre>"));
  EXPECT_NE(std::string::npos,
            text.find("HTML Notice Color                       : "
                      "<font color=\"#CC0000\">#CC0000</font>\n"));
  EXPECT_EQ(text.size() - 21, text.rfind("</pre></body></html>\n"));
}

// A file created or rewritten during an HTML run must still be a plain
// configuration file, or its colours would be lost on the next read.
TEST_F(ConfigFileTest, HtmlRunWritesPlainFile) {
  g_->opt.html_flag = 1;
  Spit(g_->paths.cfg_file, "HTML Notice Color: green\n");
  read_config(*g_);
  const std::string text = Slurp(g_->paths.cfg_file);
  EXPECT_EQ(0u, text.find("# Vek Code Gauge\n"));
  EXPECT_NE(std::string::npos,
            text.find("HTML Notice Color                       : green\n"));
}

class MacroFileTest : public ConfigFileTest {};

TEST_F(MacroFileTest, CreatedAndLoadedByTheSameRun) {
  // The run that creates the file already knows its names: a first run
  // must analyse like every later one.
  EXPECT_EQ(6, load_macros(*g_));
  EXPECT_EQ(6u, g_->macro_names.size());
  g_->macro_names.clear();
  EXPECT_EQ(
      "# Vek Code Gauge Version 7.75\n# Predefined Language Macro File\n"
      "# Place each macro on a single line followed by a carriage return\n"
      "# Each line starting with a # sign denotes a comment line\n"
      "\n# Win32 macros effecting data and functions\n"
      "__declspec\nDECLSPEC_UUID\nDECLARE_MESSAGE_MAP\nafx_msg\n"
      "ATL_NO_VTABLE\n"
      "\n# gcc language extension macros effecting data and functions\n"
      "__attribute__\n\n# End of File\n",
      Slurp(g_->paths.macro_file));
  EXPECT_EQ(6, load_macros(*g_));
  std::vector<std::string> names = g_->macro_names.names();
  ASSERT_EQ(6u, names.size());
  EXPECT_EQ("__declspec", names[0]);
  EXPECT_EQ("__attribute__", names[5]);
}

TEST_F(MacroFileTest, SkipsCommentsBlanksAndControls) {
  Spit(g_->paths.macro_file,
       "# c\n\n  indented\nWINAPI \t\r\n\tTABBED\n\x01X\nEXPORT\r\n"
       "LAST");
  EXPECT_EQ(3, load_macros(*g_));
  EXPECT_EQ((std::vector<std::string>{"WINAPI", "EXPORT", "LAST"}),
            g_->macro_names.names());
}

TEST_F(MacroFileTest, MissingDirectory) {
  g_->paths.macro_file = dir_ + "/none/vek_macro.cfg";
  EXPECT_EQ(0, load_macros(*g_));
  EXPECT_EQ("", Report());
}

}  // namespace
}  // namespace vek
