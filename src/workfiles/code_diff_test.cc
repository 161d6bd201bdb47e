#include "workfiles/code_diff.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "analysis/scan_test_util.h"
#include "driver/state.h"
#include "reports/capture_test_util.h"
#include "reports/report_test_util.h"
#include "workfiles/workfiles_test_util.h"

namespace vek {
namespace {

// ---- The line records ---------------------------------------------------

TEST(LineRecords, HashSumsPrintableBytesOverTheirPosition) {
  EXPECT_EQ(0.0, LineHash("", 0, true));
  EXPECT_EQ(0.0, LineHash("\r\n", 2, false));
  // 'a' / 1 + 'b' / 2
  EXPECT_EQ(97.0 + 98.0 / 2, LineHash("ab\n", 3, false));
  // Blanks and tabs count only while white space is not ignored; bytes
  // above 127 never count, vertical tabs always do.
  EXPECT_EQ(LineHash("ab", 2, true), LineHash("  a\tb ", 6, true));
  EXPECT_NE(LineHash("ab", 2, false), LineHash("  a b", 5, false));
  EXPECT_EQ(LineHash("ab", 2, false), LineHash("a\xC3\xA9" "b", 4, false));
  EXPECT_EQ(11.0, LineHash("\v", 1, true));
}

TEST(LineRecords, ThirteenLittleEndianBytes) {
  LineData d;
  d.line = 0x01020304;
  d.kind = 'g';
  d.hash = 1.5;  // 0x3FF8000000000000
  unsigned char rec[kLineRecordSize];
  EncodeLineRecord(d, rec);
  const unsigned char want[kLineRecordSize] = {4, 3, 2, 1, 'g', 0, 0, 0,
                                               0, 0, 0, 0xF8, 0x3F};
  EXPECT_EQ(0, memcmp(want, rec, sizeof rec));
  LineData back = DecodeLineRecord(rec);
  EXPECT_EQ(d.line, back.line);
  EXPECT_EQ('g', back.kind);
  EXPECT_EQ(1.5, back.hash);
}

TEST(LineRecords, FlattenedNames) {
  EXPECT_EQ("src_a_b_c", FlattenName("src/a b.c"));
  EXPECT_EQ("proj_x_c", FlattenName("/proj/x.c"));
  EXPECT_EQ("proj_x_c", FlattenName("C:\\proj\\x.c"));
  std::string path(300, 'p');
  path.replace(path.size() - 5, 5, "tail_");
  std::string flat = FlattenName(path);
  EXPECT_EQ(254u, flat.size());
  EXPECT_EQ(path.substr(46), flat);
  EXPECT_EQ(255u, FlattenName(std::string(255, 'x')).size());
  EXPECT_EQ(254u, FlattenName(std::string(256, 'x')).size());
}

// ---- The kinds the analysis gives each line -----------------------------

std::vector<LineData>* g_captured = nullptr;
void Capture(G& g, const char* text, size_t len, int line, char kind) {
  LineData d;
  d.line = line;
  d.kind = kind;
  d.hash = LineHash(text, len, g.cfg.ignore_diff_white_space != 0);
  g_captured->push_back(d);
}

class LineKinds : public ScanTest {
 protected:
  std::vector<LineData> Lines(const std::string& source, bool ignore_white,
                              bool ignore_blank = true) {
    std::vector<LineData> lines;
    g_captured = &lines;
    reset_file_state(g());
    line_number_ = 0;
    g().cfg.ignore_diff_white_space = ignore_white;
    g().cfg.ignore_diff_blank_lines = ignore_blank;
    line_sink = Capture;
    Feed(source);
    line_sink = nullptr;
    g_captured = nullptr;
    return lines;
  }
  static std::string Kinds(const std::vector<LineData>& lines) {
    std::string s;
    for (const LineData& d : lines) s += d.kind;
    return s;
  }
};

// The decisions of a comparison as "op kind older newer" words.
std::string Decide(const std::vector<LineData>& older,
                   const std::vector<LineData>& newer, LineCounts* counts,
                   int m = 7000) {
  std::string out;
  CompareHooks hooks;
  hooks.decide = [&](const LineDecision& d) {
    out += d.op;
    if (counts) CountDecision(d, *counts);
  };
  EXPECT_TRUE(CompareLineLists(older, newer, m, hooks, nullptr));
  return out;
}

TEST_F(LineKinds, EveryKindOfLine) {
  auto lines = Lines(
      "int a;\n"            // G
      "int b; // c\n"        // g
      "{\n"                  // N
      "} /* x */\n"          // n
      "foo(a,\n"             // L
      "b) // x\n"            // l  (ends the statement? no semicolon)
      "// only\n"            // C
      "\n",                  // blank: no record while blanks are ignored
      true);
  EXPECT_EQ("GgNnLlC", Kinds(lines));
  EXPECT_EQ(7, lines.back().line);
  EXPECT_EQ("GB", Kinds(Lines("x = 1;\n  \n", true, false)));
}

TEST_F(LineKinds, IndentationOnlyChanges) {
  const std::string before = "int f(void)\n{\n  return 1;\n}\n";
  const std::string after = "int f(void)\n{\n\t\treturn 1;\n}\n";
  LineCounts counts;
  EXPECT_EQ("====", Decide(Lines(before, true), Lines(after, true), &counts));
  EXPECT_EQ(0, counts.changed[kLineLogical]);
  EXPECT_EQ(1, counts.equal[kLineLogical]);
  counts = LineCounts();
  std::string d = Decide(Lines(before, false), Lines(after, false), &counts);
  EXPECT_EQ(3, std::count(d.begin(), d.end(), '='));
  EXPECT_EQ(1, counts.changed[kLineLogical]);
  EXPECT_EQ(1, counts.removed[kLineLogical]);
}

TEST_F(LineKinds, SwappedLinesAndCommentedOutCode) {
  std::string d = Decide(Lines("a();\nb();\nc();\n", true),
                         Lines("b();\na();\nc();\n", true), nullptr);
  EXPECT_EQ(1, std::count(d.begin(), d.end(), '-'));
  EXPECT_EQ(1, std::count(d.begin(), d.end(), '+'));
  EXPECT_EQ(2, std::count(d.begin(), d.end(), '='));

  // The same text as a comment is another kind of line.
  LineCounts counts;
  auto code = Lines("x = 1;\n/* x = 1; */\n", true);
  auto comment = Lines("/* x = 1; */\nx = 1;\n", true);
  ASSERT_EQ(2u, code.size());
  // Make the hashes equal on purpose: only the kind tells them apart.
  comment[0].hash = code[0].hash;
  std::vector<LineData> older{code[0]}, newer{comment[0]};
  // On a tie the older line goes first.
  EXPECT_EQ("-+", Decide(older, newer, &counts));
  EXPECT_EQ(1, counts.changed[kLineComment]);
  EXPECT_EQ(1, counts.removed[kLineLogical]);
}

TEST(LineCountsByCategory, CommentedCodeCountsTwice) {
  LineCounts c;
  CountDecision({1, '=', 'l', 1}, c);
  CountDecision({0, '+', 'n', 2}, c);
  CountDecision({3, '-', 'g', 0}, c);
  CountDecision({0, '+', 'B', 4}, c);
  EXPECT_EQ(1, c.equal[kLineCode]);
  EXPECT_EQ(1, c.equal[kLineComment]);
  EXPECT_EQ(1, c.changed[kLineNonEffective]);
  EXPECT_EQ(1, c.changed[kLineComment]);
  EXPECT_EQ(1, c.changed[kLineBlank]);
  EXPECT_EQ(1, c.removed[kLineLogical]);
  EXPECT_EQ(1, c.removed[kLineComment]);
}

// ---- The comparison against a plain reference ---------------------------

// The textbook suffix table with its cells and trace-back, one part.
void ReferencePart(const std::vector<LineData>& o, int o0, int h,
                   const std::vector<LineData>& n, int n0, int p,
                   std::vector<LineDecision>& out) {
  std::vector<std::vector<int>> len(h + 1, std::vector<int>(p + 1, 0));
  auto same = [&](int i, int j) {
    return o[o0 + i].kind == n[n0 + j].kind && o[o0 + i].hash == n[n0 + j].hash;
  };
  for (int i = h - 1; i >= 0; --i)
    for (int j = p - 1; j >= 0; --j) {
      if (same(i, j))
        len[i][j] = len[i + 1][j + 1] + 1;
      else if (len[i + 1][j] > len[i][j + 1])
        len[i][j] = len[i + 1][j];
      else
        len[i][j] = len[i][j + 1];
    }
  int i = 0, j = 0;
  while (i < h && j < p) {
    const LineData& a = o[o0 + i];
    const LineData& b = n[n0 + j];
    if (same(i, j)) {
      out.push_back({a.line, '=', a.kind, b.line});
      ++i, ++j;
    } else if (len[i + 1][j] < len[i][j + 1]) {
      out.push_back({0, '+', b.kind, b.line});
      ++j;
    } else {
      out.push_back({a.line, '-', a.kind, 0});
      ++i;
    }
  }
  while (j < p) out.push_back({0, '+', n[n0 + j].kind, n[n0 + j].line}), ++j;
  while (i < h) out.push_back({o[o0 + i].line, '-', o[o0 + i].kind, 0}), ++i;
}

std::vector<LineDecision> Reference(const std::vector<LineData>& o,
                                    const std::vector<LineData>& n, int m) {
  std::vector<LineDecision> out;
  int h = static_cast<int>(o.size()), p = static_cast<int>(n.size());
  if (h / m < 1 || p / m < 1) {
    ReferencePart(o, 0, h, n, 0, p, out);
    return out;
  }
  int a = h - 1, b = p - 1;
  for (int s = 0; s < std::min(h / m, p / m); ++s) {
    ReferencePart(o, a - m + 1, m, n, b - m + 1, m, out);
    a -= m;
    b -= m;
  }
  ReferencePart(o, 0, a + 1, n, 0, b + 1, out);
  return out;
}

std::vector<LineData> RandomLines(std::mt19937& rng, int count) {
  static const char kKinds[] = "LGC";
  std::vector<LineData> lines(count);
  for (int i = 0; i < count; ++i) {
    lines[i].line = i + 1;
    lines[i].kind = kKinds[rng() % 3];
    lines[i].hash = static_cast<double>(rng() % 3);
  }
  return lines;
}

// Compares the line lists as the differential does (with `equal_run`
// when `runs`) and checks every decision against the reference.
::testing::AssertionResult SameAsReference(const std::vector<LineData>& older,
                                           const std::vector<LineData>& newer,
                                           int m, bool runs = false) {
  std::vector<LineDecision> got;
  CompareHooks hooks;
  hooks.decide = [&](const LineDecision& d) { got.push_back(d); };
  if (runs)
    hooks.equal_run = [&](const LineData* o, const LineData* n, int count) {
      for (int k = 0; k < count; ++k)
        got.push_back({o[k].line, '=', o[k].kind, n[k].line});
    };
  if (!CompareLineLists(older, newer, m, hooks, nullptr))
    return ::testing::AssertionFailure() << "the comparison failed";
  const auto want = Reference(older, newer, m);
  if (want.size() != got.size())
    return ::testing::AssertionFailure()
           << want.size() << " decisions wanted, " << got.size() << " made";
  for (size_t k = 0; k < want.size(); ++k)
    if (want[k].op != got[k].op || want[k].kind != got[k].kind ||
        want[k].older != got[k].older || want[k].newer != got[k].newer)
      return ::testing::AssertionFailure()
             << "step " << k << ": wanted " << want[k].op << want[k].kind << " "
             << want[k].older << " " << want[k].newer << ", made " << got[k].op
             << got[k].kind << " " << got[k].older << " " << got[k].newer;
  return ::testing::AssertionSuccess();
}

TEST(LineComparison, SameDecisionsAsThePlainAlgorithm) {
  std::mt19937 rng(12);
  for (int round = 0; round < 4000; ++round) {
    auto older = RandomLines(rng, static_cast<int>(rng() % 14));
    auto newer = RandomLines(rng, static_cast<int>(rng() % 14));
    if (round % 5 == 0) newer = older;  // equal data take the short way
    const int m = round % 2 ? 7000 : 2 + static_cast<int>(rng() % 5);
    ASSERT_TRUE(SameAsReference(older, newer, m)) << "round " << round;
  }
}

// Parts longer than a machine word of columns, and hashes that compare
// oddly: -0.0 equals 0.0, and a NaN (from a damaged line data file)
// equals nothing, itself included.
TEST(LineComparison, SameDecisionsOnLongPartsAndOddHashes) {
  std::mt19937 rng(31);
  const double kHashes[] = {0.0, -0.0, 1.5, std::nan(""), 2.0};
  for (int round = 0; round < 300; ++round) {
    auto older = RandomLines(rng, static_cast<int>(rng() % 300));
    auto newer = RandomLines(rng, static_cast<int>(rng() % 300));
    if (round % 3 == 0) {
      // Mostly equal lines with edits here and there, as real files are.
      newer = older;
      for (auto& l : newer)
        if (rng() % 10 == 0) l.hash = static_cast<double>(rng() % 7);
      if (!newer.empty() && round % 2 == 0)
        newer.erase(newer.begin() + static_cast<long>(rng() % newer.size()));
    }
    for (auto* lines : {&older, &newer})
      for (auto& l : *lines)
        if (rng() % 4 == 0) l.hash = kHashes[rng() % 5];
    const int m = round % 2 ? 7000 : 40 + static_cast<int>(rng() % 100);
    // Half the rounds take runs of paired lines at once.
    ASSERT_TRUE(SameAsReference(older, newer, m, round % 4 < 2))
        << "round " << round;
  }
}

// Parts shaped like source files: mostly distinct lines among frequent
// ones (blank lines, lone braces), edited here and there, with blocks of
// new or removed lines long enough that the row steps carry over several
// words.
TEST(LineComparison, SameDecisionsOnFileLikeParts) {
  std::mt19937 rng(5);
  for (int round = 0; round < 60; ++round) {
    const int size = 64 + static_cast<int>(rng() % 700);
    std::vector<LineData> older(static_cast<size_t>(size));
    for (int i = 0; i < size; ++i) {
      const unsigned pick = rng() % 10;
      older[static_cast<size_t>(i)] = {i + 1, pick < 2 ? 'B' : pick < 3 ? 'N' : 'G',
                                       pick < 3 ? 0.5 * pick
                                                : static_cast<double>(rng() % 5000)};
    }
    std::vector<LineData> newer;
    for (int i = 0; i < size; ++i) {
      const LineData& l = older[static_cast<size_t>(i)];
      const unsigned edit = rng() % 60;
      if (edit == 0) continue;                                  // removed
      newer.push_back(l);
      if (edit == 1) newer.back().hash = static_cast<double>(rng() % 5000);
      if (edit == 2) newer.push_back({0, 'G', static_cast<double>(rng() % 5000)});
    }
    // A long block only one side has, after the first edit.
    const size_t at = rng() % (newer.size() + 1);
    const int block = 64 + static_cast<int>(rng() % 200);
    for (int k = 0; k < block; ++k)
      newer.insert(newer.begin() + static_cast<long>(at),
                   {0, 'L', 10000.0 + static_cast<double>(rng() % 300)});
    for (size_t k = 0; k < newer.size(); ++k) newer[k].line = static_cast<int>(k) + 1;
    if (round % 2) std::swap(older, newer);
    ASSERT_TRUE(SameAsReference(older, newer, 7000)) << "round " << round;
  }
}

// A row step whose carry runs on through whole words of newer lines that
// match nothing (here 130 new lines) and changes the word after them.
TEST(LineComparison, CarryThroughWordsOfNewLines) {
  std::vector<LineData> older = {{1, 'C', 1}, {2, 'C', 1}, {3, 'C', 1},
                                 {4, 'G', 1}, {5, 'G', 1}, {6, 'L', 2}};
  std::vector<LineData> newer = {{1, 'C', 1}, {2, 'G', 2}, {3, 'L', 2}};
  for (int k = 0; k < 130; ++k) newer.push_back({4 + k, 'L', 100.0 + k});
  newer.push_back({134, 'C', 1});
  EXPECT_TRUE(SameAsReference(older, newer, 7000));
}

TEST(LineComparison, LongFilesCompareInSegmentsFromTheEnd) {
  std::mt19937 rng(7);
  for (int newer_size : {15000, 16000}) {
    auto older = RandomLines(rng, 15000);
    auto newer = older;
    newer.resize(newer_size);
    for (int i = 15000; i < newer_size; ++i) newer[i] = {i + 1, 'L', 0.5};
    std::string trace;
    CompareHooks hooks;
    int equal = 0, added = 0, removed = 0;
    hooks.decide = [&](const LineDecision& d) {
      equal += d.op == '=';
      added += d.op == '+';
      removed += d.op == '-';
    };
    hooks.trace = [&](const char* text) { trace += text; };
    ASSERT_TRUE(CompareLineLists(older, newer, 7000, hooks, nullptr));
    // Every line of both files is decided once.
    EXPECT_EQ(15000 + newer_size, 2 * equal + added + removed);
    EXPECT_NE(std::string::npos, trace.find("**** Segment: 2\n"));
    EXPECT_EQ(std::string::npos, trace.find("**** Segment: 3\n"));
    std::string remainder = "**** Remainder\n**** hstart: 0\n**** hstop: 999\n"
                            "**** pstart: 0\n**** pstop: " +
                            std::to_string(newer_size - 14001) + "\n";
    EXPECT_NE(std::string::npos, trace.find(remainder)) << trace;
    EXPECT_NE(std::string::npos,
              trace.find("**** Segment: 1\n**** hstart: 8000\n**** hstop: "
                         "14999\n**** pstart: " +
                         std::to_string(newer_size - 7000)));
  }
}

// ---- Line data files ----------------------------------------------------

void WriteRecords(const std::string& path, const std::vector<LineData>& lines,
                  size_t extra_bytes = 0) {
  std::string bytes;
  for (const LineData& d : lines) {
    unsigned char rec[kLineRecordSize];
    EncodeLineRecord(d, rec);
    bytes.append(reinterpret_cast<char*>(rec), sizeof rec);
  }
  bytes.append(extra_bytes, 'x');
  WriteText(path, bytes);
}

TEST(LineDataFiles, FoundBesideTheWorkFileOrNotAtAll) {
  ScratchDir dir;
  ASSERT_EQ(0, mkdir((dir / "w.dat.dif").c_str(), 0777));
  std::vector<LineData> lines = {{1, 'G', 10.0}, {3, 'C', 2.5}};
  WriteRecords(dir / "w.dat.dif/a_c.dif", lines);
  CapturedG c;
  std::vector<LineData> got;
  ASSERT_EQ(1, load_line_data("w.dat.dif/a_c.dif\r\n", dir / "w.dat", got, c.g()));
  ASSERT_EQ(2u, got.size());
  EXPECT_EQ(3, got[1].line);
  EXPECT_EQ('C', got[1].kind);
  EXPECT_EQ(2.5, got[1].hash);
  EXPECT_EQ("", c.text());

  got.clear();
  EXPECT_EQ(0, load_line_data("w.dat.dif/gone.dif", dir / "w.dat", got, c.g()));
  EXPECT_TRUE(Has(c.text(), "  Error: Loading Work Differential File: "));
  EXPECT_TRUE(Has(c.text(), "No such file or directory"));
}

// Two baselines' line data files of one source, compared as the
// differential does, with or without the -ws listing.
LineCounts CompareFiles(const std::string& dir, bool details, std::string* text) {
  CapturedG c;
  c.g().workfile.older_path = dir + "/old.dat";
  c.g().workfile.newer_path = dir + "/new.dat";
  c.g().opt.diff_details = details;
  MetricsEntry older, newer;
  older.name = newer.name = "a.c";
  older.text5 = "old.dat.dif/a_c.dif";
  newer.text5 = "new.dat.dif/a_c.dif";
  LineCounts counts;
  EXPECT_TRUE(compare_file_lines(c.g(), older, newer, counts));
  if (text) *text = c.text();
  return counts;
}

// Files with the same bytes count every line as kept, by kind, except a
// line whose hash is no number: it equals nothing, not even itself.
TEST(LineDataFiles, EqualFilesCountEveryLineByKind) {
  ScratchDir dir;
  ASSERT_EQ(0, mkdir((dir / "old.dat.dif").c_str(), 0777));
  ASSERT_EQ(0, mkdir((dir / "new.dat.dif").c_str(), 0777));
  std::vector<LineData> lines = {{1, 'G', 10.0}, {2, 'g', 3.5}, {3, 'B', 0.0},
                                 {4, 'C', 2.5},  {5, 'n', 1.0}, {6, 'G', 10.0}};
  WriteRecords(dir / "old.dat.dif/a_c.dif", lines);
  WriteRecords(dir / "new.dat.dif/a_c.dif", lines);
  std::string listing;
  for (bool details : {false, true}) {
    LineCounts c = CompareFiles(dir.path(), details, &listing);
    EXPECT_EQ(3, c.equal[kLineLogical]) << details;
    EXPECT_EQ(3, c.equal[kLineComment]);
    EXPECT_EQ(1, c.equal[kLineBlank]);
    EXPECT_EQ(1, c.equal[kLineNonEffective]);
    EXPECT_EQ(0, c.changed[kLineLogical] + c.removed[kLineLogical]);
  }

  lines[1].hash = std::nan("");
  WriteRecords(dir / "old.dat.dif/a_c.dif", lines);
  WriteRecords(dir / "new.dat.dif/a_c.dif", lines);
  for (bool details : {false, true}) {
    LineCounts c = CompareFiles(dir.path(), details, nullptr);
    EXPECT_EQ(2, c.equal[kLineLogical]) << details;
    EXPECT_EQ(1, c.changed[kLineLogical]);
    EXPECT_EQ(1, c.removed[kLineLogical]);
    EXPECT_EQ(1, c.changed[kLineComment]);
    EXPECT_EQ(2, c.equal[kLineComment]);
  }
}

TEST(LineDataFiles, DamagedFilesAreRefused) {
  ScratchDir dir;
  ASSERT_EQ(0, mkdir((dir / "w.dat.dif").c_str(), 0777));
  WriteRecords(dir / "w.dat.dif/cut.dif", {{1, 'G', 1.0}}, 5);
  WriteRecords(dir / "w.dat.dif/other.dif", {{4, 'G', 1.0}, {2, 'L', 1.0}});
  WriteText(dir / "w.dat.dif/text.dif", "this is no line data file\n");
  for (const char* name : {"cut", "other", "text"}) {
    CapturedG c;
    std::vector<LineData> got;
    EXPECT_EQ(0, load_line_data(std::string("w.dat.dif/") + name + ".dif",
                                dir / "w.dat", got, c.g()))
        << name;
    EXPECT_TRUE(got.empty());
    EXPECT_TRUE(Has(c.text(), "  Error: Loading Work Differential File: "));
  }
}

}  // namespace
}  // namespace vek
