#include "workfiles/work_file.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <ctime>
#include <string>

#include "driver/state.h"
#include "reports/capture_test_util.h"
#include "reports/report_test_util.h"
#include "workfiles/workfiles_test_util.h"

namespace vek {
namespace {

TEST(WorkFileNames, DatedNameHoldsMonthDayCenturyYear) {
  setenv("TZ", "UTC", 1);
  tzset();
  struct tm day = {};
  day.tm_year = 2026 - 1900;
  day.tm_mon = 11;
  day.tm_mday = 6;
  day.tm_hour = 12;
  EXPECT_EQ("WorkFile_12062026.dat", DatedWorkFileName(timegm(&day)));
  day.tm_year = 1999 - 1900;
  day.tm_mon = 0;
  day.tm_mday = 2;
  EXPECT_EQ("WorkFile_01021999.dat", DatedWorkFileName(timegm(&day)));
}

TEST(WorkFileNames, PathsOfTheWorkFileAndItsLatestCopy) {
  EXPECT_EQ("./mywork.dat", WorkFilePath(".", "mywork.dat"));
  EXPECT_EQ("base/x.dat", WorkFilePath("base/", "x.dat"));
  EXPECT_EQ("x.dat", WorkFilePath("", "x.dat"));
  EXPECT_EQ("x.dat", WorkFilePath("~/odd", "x.dat"));
  // A name with a folder is the path, whatever the location says.
  EXPECT_EQ("/base/x.dat", WorkFilePath("/elsewhere", "/base/x.dat"));
  EXPECT_EQ("/base/workfile.dat", LatestWorkFilePath("/base"));
  EXPECT_EQ("./workfile.dat", LatestWorkFilePath("."));
  EXPECT_EQ("workfile.dat", LatestWorkFilePath(""));
}

TEST(WorkFileNames, RecordNameIsRelativeToTheTopFolder) {
  EXPECT_EQ("src/a b.c", RecordName("/proj/src/a b.c", "/proj", true));
  EXPECT_EQ("src/a b.c", RecordName("/proj/src/a b.c", "/proj/", true));
  EXPECT_EQ("a.c", RecordName("./src/a.c", "src", true));
  EXPECT_EQ("/proj/a.c", RecordName("/proj/a.c", "/proj", false));
  EXPECT_EQ("src/a.c", RecordName("src/a.c", ".", true));
  // The top folder counts only as a whole folder name.
  EXPECT_EQ("/project/a.c", RecordName("/project/a.c", "/proj", true));
  EXPECT_EQ("lib/src/a.c", RecordName("lib/src/a.c", "src/a", true));
}

MetricsEntry Parsed(const std::string& line) {
  MetricsEntry e;
  EXPECT_TRUE(ParseWorkRecord(line, e)) << line;
  return e;
}

TEST(WorkRecord, VersionExtendedNameKeepsItsExtension) {
  MetricsEntry e = Parsed("x.c@@/main/4| 1 2 3 4 5 6 7 8 9 10 11 12 \n");
  EXPECT_EQ("x.c", e.name);
  EXPECT_EQ(1, e.time);
  EXPECT_EQ(2, e.size);
  EXPECT_EQ(3, e.loc);
  EXPECT_EQ(4, e.eloc);
  EXPECT_EQ(5, e.comments);
  EXPECT_EQ(6, e.blanks);
  EXPECT_EQ(7, e.lines);
  EXPECT_EQ(8, e.lloc);
  EXPECT_EQ(9, e.cyclomatic);
  EXPECT_EQ(10, e.notices);
  EXPECT_EQ(11, e.interface_complexity);
  EXPECT_EQ(12, e.functions);
  EXPECT_EQ(20, e.total_complexity);
  EXPECT_EQ("", e.text5);
}

TEST(WorkRecord, NamesWithBlanksCommasAndBarsRoundTrip) {
  for (const char* name : {"src/a b.c", "dir, with comma/x.cpp", "a|b.c",
                           "no extension", "odd|dir/x.dat.d| 1 2.h"}) {
    char* text = nullptr;
    size_t size = 0;
    FILE* out = open_memstream(&text, &size);
    WorkRecord r;
    r.mtime = 4102444800LL;  // 2100-01-01, past the 32-bit range
    r.size = 3000000000L;
    r.loc = 100;
    r.cyclomatic = 7;
    r.interface_complexity = 4;
    WriteWorkRecord(out, name, r, "base.dat.dif/a|b_c.dif");
    fclose(out);
    std::string line(text, size);
    free(text);
    MetricsEntry e = Parsed(line);
    EXPECT_EQ(name, e.name);
    EXPECT_EQ(4102444800LL, e.time);
    EXPECT_EQ(100, e.loc);
    EXPECT_EQ(11, e.total_complexity);
    EXPECT_EQ("base.dat.dif/a|b_c.dif", e.text5);
  }
}

TEST(WorkRecord, IncompleteRecordsAreRejected) {
  MetricsEntry e;
  EXPECT_FALSE(ParseWorkRecord("a.c| 1 2 3 4 5 6 7 8 9 10 11\n", e));
  EXPECT_FALSE(ParseWorkRecord("a.c| 1 2 3 x 5 6 7 8 9 10 11 12\n", e));
  EXPECT_FALSE(ParseWorkRecord("a.c 1 2 3 4 5 6 7 8 9 10 11 12\n", e));
  EXPECT_FALSE(ParseWorkRecord("| 1 2 3 4 5 6 7 8 9 10 11 12\n", e));
  EXPECT_FALSE(ParseWorkRecord("a.c| 1 2 3 99999999999 5 6 7 8 9 10 11 12", e));
  EXPECT_FALSE(ParseWorkRecord(std::string("a.c| 1 2 3\0 4 5 6 7 8 9 10 11 12", 32), e));
  // Times and sizes take 64 bits with a sign, no more.
  EXPECT_FALSE(ParseWorkRecord("a.c| 9223372036854775808 2 3 4 5 6 7 8 9 10 11 12", e));
  EXPECT_FALSE(ParseWorkRecord("a.c| -9223372036854775809 2 3 4 5 6 7 8 9 10 11 12", e));
  EXPECT_FALSE(ParseWorkRecord("a.c| 1 2 3 -2147483649 5 6 7 8 9 10 11 12", e));
  ASSERT_TRUE(ParseWorkRecord("a.c| -9223372036854775808 +7 -3 4 5 6 7 8 9 10 11 -2147483648", e));
  EXPECT_EQ(LLONG_MIN, e.time);
  EXPECT_EQ(7, e.size);
  EXPECT_EQ(-3, e.loc);
  EXPECT_EQ(INT_MIN, e.functions);
  ASSERT_TRUE(ParseWorkRecord("a.c| 9223372036854775807 0012 3 4 5 6 7 8 9 10 11 2147483647", e));
  EXPECT_EQ(LLONG_MAX, e.time);
  EXPECT_EQ(12, e.size);
  EXPECT_EQ(INT_MAX, e.functions);
}

class LoadTest : public ::testing::Test {
 protected:
  int Load(const std::string& text) {
    WriteText(path_, text);
    list_.list_free();
    return load_work_file(path_, header_, list_, captured_.g());
  }
  std::string Output() { return captured_.text(); }

  ScratchDir dir_;
  std::string path_ = dir_ / "w.dat";
  CapturedG captured_;
  WorkFileHeader header_;
  List<MetricsEntry> list_;
};

TEST_F(LoadTest, ReadsHeaderAndSortsRecordsByByteOrder) {
  ASSERT_EQ(1, Load(WorkHeader("7.10", 1234567890123LL, 0, 1) +
                    "b.c| 1 2 3 4 5 6 7 8 9 10 11 12 \n"
                    "B.c| 1 2 3 4 5 6 7 8 9 10 11 12 \n"
                    "a.c| 1 2 3 4 5 6 7 8 9 10 11 12 \n"));
  EXPECT_EQ(1234567890123LL, header_.created);
  EXPECT_EQ(0, header_.ignore_blank_lines);
  EXPECT_EQ(1, header_.ignore_white_space);
  ASSERT_EQ(3u, list_.count());
  EXPECT_EQ("B.c", list_.list_at(0)->name);
  EXPECT_EQ("a.c", list_.list_at(1)->name);
  EXPECT_EQ("b.c", list_.list_at(2)->name);
  EXPECT_EQ("", Output());  // any 7.x work file loads silently
}

TEST_F(LoadTest, OtherMajorVersionLoadsAfterAWarning) {
  ASSERT_EQ(1, Load(WorkHeader("6.50") + "a.c| 1 2 3 4 5 6 7 8 9 10 11 12 \n"));
  EXPECT_TRUE(Has(Output(), "WARNING: Work file version does not match"));
  EXPECT_TRUE(Has(Output(), "             Version: 6.50 \n"));
  EXPECT_EQ(1u, list_.count());
}

TEST_F(LoadTest, BadInputNamesTheFileAndLineAndLeavesTheFileAlone) {
  struct Case {
    std::string text;
    int loaded;
    const char* message;
  } cases[] = {
      {"", 0, "The file is empty"},
      {WorkHeader().substr(0, 60), 0, "Line 3: The work file header ends"},
      {"name,loc\nmain.c,10\n", 0, "This is not a work file of VEK"},
      {std::string("\x7f" "ELF\0\0\1\2\n\0\0", 11), 0, "This is not a work file"},
      {WorkHeader() + "a.c| 1 2 3 4 5\n", 1, "Line 7 is not a whole file record"},
      {WorkHeader() + "a.c| 1 2 3 4 5 6 7 8 9 10 11 12 \nb.c| 1 2", 1,
       "Line 8 is not a whole file record"},
      {WorkHeader().substr(0, 69) + "later\nIgnore Blank Lines: 1\n"
           "Ignore White Space: 1\n", 0, "Line 4: The creation time"},
  };
  for (const Case& c : cases) {
    CapturedG captured;
    WriteText(path_, c.text);
    List<MetricsEntry> list;
    EXPECT_EQ(c.loaded, load_work_file(path_, header_, list, captured.g()))
        << c.text;
    std::string out = captured.text();
    EXPECT_TRUE(Has(out, path_)) << out;
    EXPECT_TRUE(Has(out, c.message)) << out;
    EXPECT_EQ(c.loaded, captured.g().workfile.input_faults) << out;
    EXPECT_EQ(c.text, ReadText(path_));
  }
}

TEST_F(LoadTest, ManyBadRecordsAreNamedOnlyUpToALimit) {
  std::string text = WorkHeader();
  for (int i = 0; i < 25; ++i) text += "garbage\n";
  ASSERT_EQ(1, Load(text + "ok.c| 1 2 3 4 5 6 7 8 9 10 11 12 \n"));
  EXPECT_EQ(1u, list_.count());
  EXPECT_TRUE(Has(Output(), "Line 16 is not"));
  EXPECT_FALSE(Has(Output(), "Line 17 is not"));
  EXPECT_TRUE(Has(Output(), "15 more records of"));
}

TEST_F(LoadTest, MissingFileTellsHowToMakeOne) {
  CapturedG captured;
  List<MetricsEntry> list;
  EXPECT_EQ(0, load_work_file(dir_ / "none.dat", header_, list, captured.g()));
  EXPECT_TRUE(Has(captured.text(), "Use the -wc option to create a base work file"));
}

TEST(AtomicWrite, WorkFileAppearsOnlyWhenComplete) {
  ScratchDir dir;
  std::string path = dir / "w.dat";
  WriteText(path, "old baseline\n");
  {
    AtomicFile f;
    ASSERT_TRUE(f.Open(path));
    fputs("half of a new one", f.stream());
    // Abandoned: the old file stays and no temporary file is left.
  }
  EXPECT_EQ("old baseline\n", ReadText(path));
  EXPECT_EQ(0, system(("test $(ls '" + dir.path() + "' | wc -l) = 1").c_str()));
  AtomicFile f;
  ASSERT_TRUE(f.Open(path));
  fputs("new baseline\n", f.stream());
  ASSERT_TRUE(f.Commit());
  EXPECT_EQ("new baseline\n", ReadText(path));
  EXPECT_EQ(0, CopyFileAtomic(path, dir / "workfile.dat"));
  EXPECT_EQ("new baseline\n", ReadText(dir / "workfile.dat"));
  EXPECT_TRUE(SameFile(path, dir.path() + "/./w.dat"));
  EXPECT_FALSE(SameFile(path, dir / "workfile.dat"));
  EXPECT_EQ(1, CopyFileAtomic(dir / "missing", dir / "x"));
  EXPECT_EQ(2, CopyFileAtomic(path, dir / "no/such/folder/x"));
}

}  // namespace
}  // namespace vek

namespace vek {
namespace {

TEST(CreateWorkFile, LatestCopyNamedLikeTheWorkFileIsSkipped) {
  ScratchDir dir;
  CapturedG captured;
  G& g = captured.g();
  g.opt.workfile_create = 1;
  g.opt.workfile_name = dir / "workfile.dat";
  g.opt.workfile_name_given = 1;
  g.opt.workfile_dir = dir.path();
  g.opt.baseline_dir = "/proj";
  ASSERT_TRUE(create_work_file(g));
  FileRecord r;
  r.name = "/proj/src/a b.c";
  r.mtime = 4102444800LL;
  r.size = 120;
  r.loc = 5;
  r.parameters = 2;
  r.returns = 1;
  write_work_record(g, r);
  // Nothing under the final name until the run completes the file.
  EXPECT_EQ("", ReadText(dir / "workfile.dat"));
  finish_work_file(g);
  std::string text = ReadText(dir / "workfile.dat");
  EXPECT_EQ(0u, text.find("Vek Code Gauge Work File\n"));
  EXPECT_TRUE(Has(text, "\nsrc/a b.c| 4102444800 120 5 0 0 0 0 0 0 0 3 0 \n"))
      << text;
  EXPECT_EQ(0, system(("test $(ls '" + dir.path() + "' | wc -l) = 1").c_str()));
  EXPECT_TRUE(Has(captured.text(), "Creating Work File: " + dir.path()));
}

TEST(CreateWorkFile, FolderThatTakesNoFileSwitchesCreationOff) {
  ScratchDir dir;
  CapturedG captured;
  G& g = captured.g();
  g.opt.workfile_create = 1;
  g.opt.workfile_name = dir / "missing/base.dat";
  g.opt.workfile_name_given = 1;
  EXPECT_FALSE(create_work_file(g));
  EXPECT_EQ(0, g.opt.workfile_create);
  EXPECT_TRUE(Has(captured.text(), "Create File Error: " + dir.path() +
                                       "/missing/base.dat - No such file"));
  finish_work_file(g);  // nothing to finish
}

}  // namespace
}  // namespace vek
