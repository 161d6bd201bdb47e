#include "driver/gather.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "config/languages.h"
#include "driver/project_convert.h"
#include "driver/state.h"

namespace vek {
namespace {

// Each test works in a fresh temporary directory, which is also the current
// directory (conversions write veklist.lst there).
class GatherTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char start[PATH_MAX];
    ASSERT_NE(nullptr, getcwd(start, sizeof start));
    start_dir_ = start;
    char tmpl[] = "/tmp/vek_gather_XXXXXX";
    ASSERT_NE(nullptr, mkdtemp(tmpl));
    char resolved[PATH_MAX];
    ASSERT_NE(nullptr, realpath(tmpl, resolved));
    root_ = resolved;
    ASSERT_EQ(0, chdir(root_.c_str()));

    g_ = std::make_unique<G>();
    g_->report_stream = open_memstream(&buffer_, &size_);
    static const char* const kNames[] = {"Other", "C", "C Header", "C++",
                                         "C++ Header", "Java", "C#"};
    for (int type = 0; type < kBuiltinLanguages; ++type)
      register_language(kNames[type], *language_extension_key(*g_, type), *g_);
    build_allowed_extensions(*g_);
  }

  void TearDown() override {
    fclose(g_->report_stream);
    free(buffer_);
    EXPECT_EQ(0, chdir(start_dir_.c_str()));
    std::string command = "rm -rf '" + root_ + "'";
    EXPECT_EQ(0, system(command.c_str()));
  }

  // Creates `path` under the temporary directory, with its directories.
  void Write(const std::string& path, const std::string& text = "x\n") {
    std::string full = root_ + "/" + path;
    for (size_t i = root_.size() + 1; i < full.size(); ++i)
      if (full[i] == '/') mkdir(full.substr(0, i).c_str(), 0755);
    std::ofstream(full, std::ios::binary) << text;
  }

  std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  std::string Output() {
    fflush(g_->report_stream);
    return std::string(buffer_, size_);
  }

  // Gathers from a command line made of `args` after the program name.
  int GatherArgs(std::vector<std::string> args) {
    args_ = std::move(args);
    args_.insert(args_.begin(), "vek");
    argv_.clear();
    for (std::string& a : args_) argv_.push_back(a.data());
    argv_.push_back(nullptr);
    g_->argc = static_cast<int>(args_.size());
    g_->argv = argv_.data();
    return gather_input_files(1, *g_);
  }

  int GatherWalk(const std::string& extensions, const std::string& dir) {
    g_->opt.recursive_flag = 1;
    g_->opt.recursive_extensions = extensions;
    g_->opt.recursive_dir = dir;
    return gather_input_files(1, *g_);
  }

  int GatherList(const std::string& list_file) {
    g_->opt.list_file_flag = 1;
    g_->opt.list_file = list_file;
    return gather_input_files(1, *g_);
  }

  std::vector<std::string> Gathered() {
    std::vector<std::string> names;
    for (const auto& r : g_->input_files) names.push_back(r->name);
    return names;
  }

  std::string At(const std::string& path) { return root_ + "/" + path; }

  std::string start_dir_;
  std::string root_;
  std::unique_ptr<G> g_;
  char* buffer_ = nullptr;
  size_t size_ = 0;
  std::vector<std::string> args_;
  std::vector<char*> argv_;
};

using Names = std::vector<std::string>;

TEST_F(GatherTest, CommandLineHeadersGoFirstWithSizeAndTime) {
  Write("a.c", "int a;\n");
  Write("b.h", "12345");
  Write("c.cpp");
  Write("d.hpp");
  EXPECT_EQ(4, GatherArgs({"a.c", "b.h", "c.cpp", "d.hpp"}));
  EXPECT_EQ((Names{"b.h", "d.hpp", "a.c", "c.cpp"}), Gathered());
  const FileRecord* first = g_->input_files.list_at(0);
  EXPECT_EQ(5, first->size);
  struct stat st;
  ASSERT_EQ(0, stat("b.h", &st));
  EXPECT_EQ(static_cast<int64_t>(st.st_mtime), first->mtime);
  EXPECT_EQ("", Output());
  EXPECT_EQ(0, g_->stop_flag);
}

TEST_F(GatherTest, CommandLineDropsOptionWordsAndReportsInvalidTypes) {
  Write("a.c");
  Write("notes.txt");
  EXPECT_EQ(1, GatherArgs({"-c", "a.c", "notes.txt", "Makefile"}));
  EXPECT_EQ(Names{"a.c"}, Gathered());
  EXPECT_EQ(
      "\n  Error: notes.txt - Not a valid file type for VEK\n"
      "         Valid types: c,h,cc,cpp,cxx,CC,h,hh,H,hxx,hpp,java,cs\n",
      Output());
}

TEST_F(GatherTest, CommandLineOutputFileIsDroppedQuietly) {
  Write("a.c");
  g_->opt.output_file_flag = 1;
  g_->opt.output_file = "report.txt";
  EXPECT_EQ(1, GatherArgs({"-O", "report.txt", "a.c"}));
  EXPECT_EQ(Names{"a.c"}, Gathered());
  EXPECT_EQ("", Output());
}

TEST_F(GatherTest, CommandLineWithoutValidationTakesAnyExtension) {
  g_->cfg.validate_extensions = 0;
  EXPECT_EQ(1, GatherArgs({"notes.txt", "README"}));
  EXPECT_EQ(Names{"notes.txt"}, Gathered());
}

TEST_F(GatherTest, CommandLineExpandsLeftoverWildCardsSorted) {
  Write("src/b.c");
  Write("src/a.c");
  Write("src/c.h");
  Write("src/d.txt");
  EXPECT_EQ(3, GatherArgs({"src/*.[ch]"}));
  EXPECT_EQ((Names{"src/c.h", "src/a.c", "src/b.c"}), Gathered());
  // A pattern without a match stays as written for the file loop to report.
  g_->input_files.list_free();
  EXPECT_EQ(1, GatherArgs({"none/*.c"}));
  EXPECT_EQ(Names{"none/*.c"}, Gathered());
}

TEST_F(GatherTest, VersionExtendedNameIsTypedByItsFileName) {
  EXPECT_EQ(2, GatherArgs({"util.c@@/main/3", "util.h@@/main/1.txt"}));
  EXPECT_EQ((Names{"util.h@@/main/1.txt", "util.c@@/main/3"}), Gathered());
  EXPECT_EQ("", Output());
}

TEST_F(GatherTest, SortByNameKeepsHeadersFirstAndHonoursDescending) {
  EXPECT_EQ(5, GatherArgs({"b.c", "Z.c", "a.c", "y.h", "x.h"}));
  EXPECT_EQ((Names{"y.h", "x.h", "b.c", "Z.c", "a.c"}), Gathered());

  g_->input_files.list_free();
  g_->opt.sort_names_flag = 1;
  GatherArgs({"b.c", "Z.c", "a.c", "y.h", "x.h"});
  EXPECT_EQ((Names{"x.h", "y.h", "Z.c", "a.c", "b.c"}), Gathered());

  g_->input_files.list_free();
  g_->opt.sort_descending = 1;
  GatherArgs({"b.c", "Z.c", "a.c", "y.h", "x.h"});
  EXPECT_EQ((Names{"y.h", "x.h", "b.c", "a.c", "Z.c"}), Gathered());
}

TEST_F(GatherTest, RecursiveWalkIsSortedDepthFirstWithFullPaths) {
  Write("t/b.c");
  Write("t/A.c");
  Write("t/a.h");
  Write("t/c.txt");
  Write("t/noext");
  Write("t/sub/z.c");
  Write("t/sub/deeper/y.CPP");
  Write("t/sub/deeper/x.java");
  EXPECT_EQ(5, GatherWalk("c,h,cpp", "t"));
  EXPECT_EQ((Names{At("t/a.h"), At("t/A.c"), At("t/b.c"),
                   At("t/sub/deeper/y.CPP"), At("t/sub/z.c")}),
            Gathered());
  EXPECT_EQ("", Output());
}

TEST_F(GatherTest, RecursiveWalkExtensionListForms) {
  Write("t/a.c");
  Write("t/b.java");
  Write("t/c.cs");
  EXPECT_EQ(2, GatherWalk("*.c,*.java", "t"));
  EXPECT_EQ((Names{At("t/a.c"), At("t/b.java")}), Gathered());
  g_->input_files.list_free();
  EXPECT_EQ(2, GatherWalk("c java", "t"));
  g_->input_files.list_free();
  // Without a list the allowed extensions serve.
  EXPECT_EQ(3, GatherWalk("", "t"));
}

TEST_F(GatherTest, RecursiveWalkOfStarIsTheCurrentDirectory) {
  Write("a.c");
  Write("s/b.c");
  EXPECT_EQ(2, GatherWalk("c", "*"));
  EXPECT_EQ((Names{At("a.c"), At("s/b.c")}), Gathered());
}

TEST_F(GatherTest, NoRecursionWalksTheTopDirectoryOnly) {
  Write("t/a.c");
  Write("t/sub/b.c");
  g_->opt.no_recurse_flag = 1;
  EXPECT_EQ(1, GatherWalk("c", At("t")));
  EXPECT_EQ(Names{At("t/a.c")}, Gathered());
}

TEST_F(GatherTest, ExcludedDirectoriesAreNotEntered) {
  Write("t/a.c");
  Write("t/CVS/b.c");
  Write("t/src/svn/c.c");
  Write("t/src/d.c");
  EXPECT_EQ(4, GatherWalk("c", "t"));
  g_->input_files.list_free();

  g_->cfg.exclude_dirs_active = 1;
  EXPECT_EQ(2, GatherWalk("c", "t"));
  EXPECT_EQ((Names{At("t/a.c"), At("t/src/d.c")}), Gathered());
  g_->input_files.list_free();

  g_->cfg.case_sensitive = 1;
  EXPECT_EQ(3, GatherWalk("c", "t"));  // "CVS" is not "cvs" with case
}

TEST_F(GatherTest, SymlinkedDirectoriesAreNotFollowed) {
  Write("t/a.c");
  ASSERT_EQ(0, symlink(At("t").c_str(), At("t/loop").c_str()));
  ASSERT_EQ(0, symlink(At("t/a.c").c_str(), At("t/link.c").c_str()));
  EXPECT_EQ(2, GatherWalk("c", "t"));
  EXPECT_EQ((Names{At("t/a.c"), At("t/link.c")}), Gathered());
}

TEST_F(GatherTest, PatternFilterIgnoresCaseUnlessNamesAreCaseSensitive) {
  Write("t/main.c");
  Write("t/UnitTest.c");
  Write("t/gen_x.c");
  g_->cfg.pattern_filter_active = 1;
  g_->cfg.pattern_filter = "TEST,gen_";
  EXPECT_EQ(1, GatherWalk("c", "t"));
  EXPECT_EQ(Names{At("t/main.c")}, Gathered());
  g_->input_files.list_free();

  g_->cfg.case_sensitive = 1;
  EXPECT_EQ(2, GatherWalk("c", "t"));
  g_->input_files.list_free();

  // The same filter applies to command-line names.
  g_->cfg.case_sensitive = 0;
  g_->opt.recursive_flag = 0;
  EXPECT_EQ(1, GatherArgs({"t/main.c", "t/UnitTest.c"}));
  EXPECT_EQ(Names{"t/main.c"}, Gathered());
}

TEST_F(GatherTest, MissingStartDirectoryIsReported) {
  EXPECT_EQ(0, GatherWalk("c", "nowhere"));
  EXPECT_EQ("  Open Dir Error: nowhere : No such file or directory\n", Output());
}

TEST_F(GatherTest, UnreadableDirectoryIsReportedAndTheWalkGoesOn) {
  Write("t/a/x.c");
  Write("t/b/locked.c");
  Write("t/c/y.c");
  ASSERT_EQ(0, chmod(root_.c_str(), 0755));
  ASSERT_EQ(0, chmod(At("t/b").c_str(), 0));
  // Permissions do not stop root: read as an ordinary user for the walk.
  bool as_root = geteuid() == 0;
  if (as_root && seteuid(65534) != 0) {
    GTEST_SKIP() << "cannot drop privileges";
  }
  int count = GatherWalk("c", At("t"));
  if (as_root) {
    ASSERT_EQ(0, seteuid(0));
  }
  chmod(At("t/b").c_str(), 0755);
  EXPECT_EQ(2, count);
  EXPECT_EQ((Names{At("t/a/x.c"), At("t/c/y.c")}), Gathered());
  EXPECT_EQ("  Open Dir Error: " + At("t/b") + " : Permission denied\n",
            Output());
}

TEST_F(GatherTest, WalkProgressGoesToStandardError) {
  Write("t/a.c");
  Write("t/b.c");
  Write("t/c.c");
  g_->progress_flag = 1;
  g_->dot_interval = 2;
  testing::internal::CaptureStderr();
  GatherWalk("c", "t");
  EXPECT_EQ("  Building File List - Status(.) 2 files\n  .(     3)\n",
            testing::internal::GetCapturedStderr());
}

TEST_F(GatherTest, ListFileLines) {
  Write("a.c");
  Write("sub/b.h");
  Write("sub/c.cpp");
  Write("notes.txt");
  unsetenv("VEK_GATHER_UNSET");
  setenv("VEK_GATHER_SUB", "sub", 1);
  Write("files.lst",
        "# a comment\r\n"
        "\r\n"
        "   \t a.c  \r\n"
        "  # an indented comment\n"
        "%VEK_GATHER_SUB%\\b.h\r\n"
        "%VEK_GATHER_UNSET%/c.cpp\n"
        "notes.txt\n"
        "README\n"
        "%VEK_GATHER_SUB%/%VEK_GATHER_SUB%/../c.cpp");
  EXPECT_EQ(4, GatherList("files.lst"));
  EXPECT_EQ((Names{"sub/b.h", "a.c", "%VEK_GATHER_UNSET%/c.cpp",
                   "sub/sub/../c.cpp"}),
            Gathered());
  EXPECT_EQ(
      "  Error: Expanding environment variable from -F file.\n"
      "         Environment Variable: VEK_GATHER_UNSET does not exist\n\n"
      "\n  Error: notes.txt - Not a valid file type for VEK\n"
      "         Valid types: c,h,cc,cpp,cxx,CC,h,hh,H,hxx,hpp,java,cs\n",
      Output());
  EXPECT_TRUE(g_->directories.empty());
}

// Lines left by editors of other systems: a carriage return with blanks,
// blanks alone, a lone carriage return at the end of the file.  None names a
// file, and none may be taken for one.
TEST_F(GatherTest, ListFileLinesOfLineEndsAndBlanksNameNothing) {
  Write("a.c");
  Write("only_cr.lst", "\r ");
  EXPECT_EQ(0, GatherList("only_cr.lst"));
  Write("mixed.lst", "\r \n \t\r\n\r\ta.c\n \r \t \n\t\n   \na.c\r\n\r");
  EXPECT_EQ(1, GatherList("mixed.lst"));
  EXPECT_EQ((Names{"a.c"}), Gathered());
  EXPECT_EQ("", Output());
}

// A directory whose name looks like a source file is no input, however it
// is named; a file beside it still is.
TEST_F(GatherTest, DirectoriesNamedLikeSourceFilesAreNoFiles) {
  Write("lib.c/inner.c");
  Write("top.c");
  // Named on the command line, a folder is walked, never read as a file.
  EXPECT_EQ(2, GatherArgs({"lib.c", "top.c"}));
  EXPECT_EQ((Names{At("lib.c/inner.c"), "top.c"}), Gathered());
  // In a list file a folder named like a source file is no entry.
  Write("files.lst", "lib.c\ntop.c\n" + At("lib.c") + "\n");
  EXPECT_EQ(1, GatherList("files.lst"));  // added to the first gathering
  EXPECT_EQ((Names{At("lib.c/inner.c"), "top.c", "top.c"}), Gathered());
  EXPECT_EQ("", Output());
}

TEST_F(GatherTest, ListFileExpansionDebugTraces) {
  setenv("VEK_GATHER_SUB", "sub", 1);
  g_->debug_flag = 1;
  Write("files.lst", "%VEK_GATHER_SUB%/%VEK_GATHER_SUB%.c\n");
  GatherList("files.lst");
  std::string out = Output();
  EXPECT_NE(std::string::npos,
            out.find("  -F Expanded File Line: sub/%VEK_GATHER_SUB%.c\n\n"));
  EXPECT_NE(std::string::npos, out.find("  -F Expanded Line: sub/sub.c\n\n"));
}

TEST_F(GatherTest, ListFileDirectoryEntryWithBlankInName) {
  Write("my dir/a.c");
  Write("my dir/a.h");
  Write("my dir/a.cpp");
  Write("my dir/deep/b.c");
  Write("other/c.c");
  Write("files.lst", "-r c,h " + At("my dir") + "\\\r\n" +
                         "-X c \"" + At("other") + "\"\n");
  EXPECT_EQ(4, GatherList("files.lst"));
  EXPECT_EQ((Names{At("my dir/a.h"), At("my dir/a.c"), At("my dir/deep/b.c"),
                   At("other/c.c")}),
            Gathered());
  EXPECT_EQ(1, g_->opt.no_recurse_flag);  // the last entry was not -r
  ASSERT_EQ(2u, g_->directories.count());
  EXPECT_EQ(At("my dir"), g_->directories.list_at(0)->name);
  EXPECT_EQ(At("other"), g_->directories.list_at(1)->name);
  EXPECT_EQ("", Output());
}

TEST_F(GatherTest, ListFileDirectoryEntryOtherSwitchDoesNotRecurse) {
  Write("my dir/a.c");
  Write("my dir/deep/b.c");
  Write("files.lst", "-d \"c,h\" \"" + At("my dir") + "\"\n");
  EXPECT_EQ(1, GatherList("files.lst"));
  EXPECT_EQ(Names{At("my dir/a.c")}, Gathered());
  // The quoted command-line form, and -R, recurse again.
  g_->input_files.list_free();
  Write("files.lst", "-R\"c,h " + At("my dir") + "\"\n");
  EXPECT_EQ(2, GatherList("files.lst"));
  EXPECT_EQ(0, g_->opt.no_recurse_flag);
}

TEST_F(GatherTest, ListFileDirectoriesAreKeptSortedByName) {
  Write("b/x.c");
  Write("a/y.c");
  Write("files.lst", "-r c b\n-r c a\n");
  GatherList("files.lst");
  EXPECT_EQ(At("a"), g_->directories.list_at(0)->name);
  EXPECT_EQ(At("b"), g_->directories.list_at(1)->name);
}

TEST_F(GatherTest, ListFileMalformedDirectoryEntryIsSkipped) {
  Write("a.c");
  Write("files.lst", "-r c,h\n-r\na.c\n");
  EXPECT_EQ(1, GatherList("files.lst"));
  EXPECT_EQ(
      "\n  Error: Malformed directory entry line in file.\n"
      "         Format: -r\"c,h,cpp d:\\proj\\src\"\n"
      "         Read  : -r c,h\n\n"
      "\n  Error: Malformed directory entry line in file.\n"
      "         Format: -r\"c,h,cpp d:\\proj\\src\"\n"
      "         Read  : -r\n\n",
      Output());
  EXPECT_TRUE(g_->directories.empty());
}

TEST_F(GatherTest, ListOnlyPrintsTheNamesAndEndsTheRun) {
  Write("a.c");
  Write("b.h");
  g_->opt.list_only_flag = 1;
  EXPECT_EQ(2, GatherArgs({"a.c", "b.h"}));
  EXPECT_EQ("b.h\na.c\n\n  " + std::string(72, '_') + "\n\n", Output());
  EXPECT_EQ(1, g_->stop_flag);
  EXPECT_EQ(0, g_->stop_status);
}

TEST_F(GatherTest, ProjectFileIsConvertedToVeklist) {
  Write("proj/src/a.c");
  Write("common/b.h");
  Write("proj/vek.dsp",
        "# Microsoft Developer Studio Project File\r\n"
        "# Begin Target\r\n"
        "# Begin Source File\r\n"
        "\r\n"
        "SOURCE=.\\src\\a.c\r\n"
        "# End Source File\r\n"
        "# Begin Source File\r\n"
        "\r\n"
        "SOURCE=..\\common\\b.h\r\n"
        "# End Source File\r\n"
        "# Begin Source File\r\n"
        "\r\n"
        "SOURCE=.\\src\\old.c\r\n"
        "# PROP Exclude_From_Build 1\r\n"
        "# End Source File\r\n"
        "# Begin Source File\r\n"
        "\r\n"
        "SOURCE=.\\readme.txt\r\n"
        "# End Source File\r\n"
        "# End Target\r\n");
  EXPECT_EQ(2, GatherList("proj/vek.dsp"));
  EXPECT_EQ(At("proj/src/a.c") + "\n" + At("common/b.h") + "\n",
            Read("veklist.lst"));
  EXPECT_EQ((Names{At("common/b.h"), At("proj/src/a.c")}), Gathered());
  EXPECT_EQ("", Output());
}

TEST_F(GatherTest, WorkspaceConvertsEachProject) {
  Write("ws/one/one.dsp",
        "# Begin Source File\nSOURCE=.\\x.cpp\n# End Source File\n");
  Write("ws/my-two/two.dsp",
        "# Begin Source File\nSOURCE=\"y.java\"\n# End Source File\n");
  Write("ws/all.dsw",
        "Microsoft Developer Studio Workspace File, Format Version 6.00\r\n"
        "Project: \"one\"=.\\one\\one.dsp - Package Owner=<4>\r\n"
        "Package=<5>\r\n"
        "Project: \"two\"=\".\\my-two\\two.dsp\" - Package Owner=<4>\r\n"
        "Project: \"gone\"=.\\gone\\gone.dsp - Package Owner=<4>\r\n");
  EXPECT_EQ(2, GatherList("ws/all.dsw"));
  EXPECT_EQ(At("ws/one/x.cpp") + "\n" + At("ws/my-two/y.java") + "\n",
            Read("veklist.lst"));
  EXPECT_EQ(
      "\n  Error: Failed to open the workspace project file:\n"
      "         " + At("ws/gone/gone.dsp") + "\n"
      "         No such file or directory\n\n",
      Output());
}

TEST_F(GatherTest, SolutionConvertsItsXmlProjects) {
  Write("app/app.vcproj",
        "<?xml version=\"1.0\"?>\r\n"
        "<VisualStudioProject Name=\"app\">\r\n"
        "  <Files>\r\n"
        "    <Filter Name=\"Source Files\">\r\n"
        "      <File\r\n"
        "        RelativePath=\".\\main.cpp\">\r\n"
        "      </File>\r\n"
        "      <File RelativePath=\".\\old.cpp\">\r\n"
        "        <FileConfiguration Name=\"Release|Win32\"\r\n"
        "          ExcludedFromBuild=\"true\">\r\n"
        "        </FileConfiguration>\r\n"
        "      </File>\r\n"
        "      <File RelativePath=\"..\\lib\\util.h\"/>\r\n"
        "      <File RelativePath=\".\\app.rc\"></File>\r\n"
        "      <File RelativePath=\".\\R&amp;D.cs\"></File>\r\n"
        "    </Filter>\r\n"
        "  </Files>\r\n"
        "</VisualStudioProject>\r\n");
  Write("all.sln",
        "Microsoft Visual Studio Solution File, Format Version 9.00\r\n"
        "Project(\"{8BC9CEB8-8B4A-11D0-8D11-00A0C91BC942}\") = \"app\", "
        "\"app\\app.vcproj\", \"{1111}\"\r\n"
        "EndProject\r\n"
        "Project(\"{2150E333-8FDC-42A3-9474-1A3956D46DE8}\") = \"Folder\", "
        "\"Folder\", \"{2222}\"\r\n"
        "EndProject\r\n");
  EXPECT_EQ(3, GatherList("all.sln"));
  EXPECT_EQ(At("app/main.cpp") + "\n" + At("lib/util.h") + "\n" +
                At("app/R&D.cs") + "\n",
            Read("veklist.lst"));
  EXPECT_EQ("", Output());
}

// File elements without an end tag, with and without exclusions after
// them: each element ends at its own end tag or at the next file element.
TEST_F(GatherTest, SolutionFileElementsWithoutEndTags) {
  Write("p/p.vcproj",
        "<Files>\n"
        "<File RelativePath=\"a.c\">\n"
        "<File RelativePath=\"b.c\"><FileConfiguration "
        "ExcludedFromBuild=\"true\"/></File>\n"
        "<File RelativePath=\"c.c\">\n"
        "<File RelativePath=\"d.c\"></File>\n"
        "<File RelativePath=\"e.c\">\n"
        "</Files>\n");
  Write("p.sln", "Project(\"{X}\") = \"p\", \"p\\p.vcproj\", \"{1}\"\n");
  ASSERT_TRUE(convert_project_file(ProjectKind::kSolution, "p.sln",
                                   "veklist.lst", *g_));
  EXPECT_EQ(At("p/a.c") + "\n" + At("p/c.c") + "\n" + At("p/d.c") + "\n" +
                At("p/e.c") + "\n",
            Read("veklist.lst"));
}

// A project of 400,000 file elements none of which is closed.  Read in one
// pass this takes a fraction of a second; searching for an end tag afresh
// at every element (the rest of the file each time) takes many minutes, far
// beyond the time limit every unit test runs under.
TEST_F(GatherTest, SolutionOfManyUnclosedFileElementsConvertsInOnePass) {
  constexpr int kElements = 400000;
  std::string project = "<Files>\n";
  project.reserve(kElements * 32);
  for (int i = 0; i < kElements; ++i) {
    project += "<File RelativePath=\"f";
    project += std::to_string(i);
    project += i % 1000 == 0 ? ".c\">\n" : ".rc\">\n";
  }
  project += "</Files>\n";
  Write("big/big.vcproj", project);
  Write("big.sln",
        "Project(\"{X}\") = \"big\", \"big\\big.vcproj\", \"{1}\"\n");
  ASSERT_TRUE(convert_project_file(ProjectKind::kSolution, "big.sln",
                                   "veklist.lst", *g_));
  std::string list = Read("veklist.lst");
  EXPECT_EQ(static_cast<size_t>(kElements / 1000),
            static_cast<size_t>(std::count(list.begin(), list.end(), '\n')));
  EXPECT_EQ(0u, list.find(At("big/f0.c") + "\n"));
  EXPECT_NE(std::string::npos, list.find(At("big/f399000.c") + "\n"));
}

TEST_F(GatherTest, MissingSolutionGivesNoFiles) {
  Write("veklist.lst", "stale.c\n");
  EXPECT_EQ(0, GatherList("gone.sln"));
  EXPECT_EQ(
      "\n  Error: Failed to open the solution file:\n"
      "         gone.sln\n         No such file or directory\n\n",
      Output());
  EXPECT_EQ("stale.c\n", Read("veklist.lst"));
}

TEST(GatherResolvePath, FoldsDotsAndSeparators) {
  EXPECT_EQ("/p/src/a.c", ResolvePath("/p", ".\\src\\a.c"));
  EXPECT_EQ("/common/b.h", ResolvePath("/p", "..\\common\\b.h"));
  EXPECT_EQ("/b.h", ResolvePath("/p", "../../b.h"));
  EXPECT_EQ("/abs/x.c", ResolvePath("/p", "/abs/./x.c"));
  EXPECT_EQ("c:/proj/x.c", ResolvePath("/p", "c:\\proj\\x.c"));
  EXPECT_EQ("/", ResolvePath("/", "."));
}

}  // namespace
}  // namespace vek
