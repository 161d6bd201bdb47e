#include "reports/file_reports.h"

#include <cstdarg>
#include <string>

#include "driver/state.h"
#include "reports/metrics_blocks.h"
#include "reports/output.h"
#include "reports/project_reports.h"

namespace vek {

namespace {

// The compact project totals of XML output, also the head of its file
// summary.
void ProjectTotalsXml(G& g) {
  const ProjectCounters c = ProjectView(g);
  const double* fp = CurrentFunctionPoints(g);
  Out(g, "<totals>\n");
  LocBlock(g, c.loc, c.eloc(), c.lloc(), c.comment_lines, c.line_count);
  Out(g, "<comment_per_eloc>%.2f</comment_per_eloc>\n",
      SafeRatio(c.comment_lines, c.eloc()));
  FunctionPointBlock(g, fp[0], fp[1], fp[2]);
  Out(g, "<lines_skipped>%lld</lines_skipped>\n", c.skipped_lines);
  Out(g, "</totals>\n");
}

void ProjectTotalsCsv(G& g) {
  const ProjectCounters c = ProjectView(g);
  Out(g, "\n");
  if (c.skipped_lines > 0)
    Out(g, "Total,Skipped,Lines,%lld\n", c.skipped_lines);
  if (g.opt.function_points_flag) {
    const double* fp = CurrentFunctionPoints(g);
    Out(g, "Function,Point,Totals\n");
    Out(g, "FP LOC,%10.1f,FP eLOC,%10.1f,FP lLOC,%10.1f,\n\n", fp[0], fp[1],
        fp[2]);
  }
  Out(g, "Project,Totals\n");
  Out(g,
      "LOC,%lld,eLOC,%lld,lLOC,%lld,Comment,%lld,Lines,%lld,"
      "Comment/eLOC,%.2f\n\n",
      c.loc, c.eloc(), c.lloc(), c.comment_lines, c.line_count,
      SafeRatio(c.comment_lines, c.eloc()));
}

// --- CSV file table ---------------------------------------------------------

constexpr int kCsvDateMax = 40;

CsvFileColumns ColumnsOf(long size, const CsvFileCounts& c) {
  CsvFileColumns v;
  long long* n = v.n;
  n[kColSize] = size;
  n[kColLoc] = c.loc;
  n[kColEloc] = c.eloc;
  n[kColLloc] = c.lloc;
  n[kColComments] = c.comments;
  n[kColBlanks] = c.blanks;
  n[kColLines] = c.lines;
  n[kColClasses] = c.classes;
  n[kColFunctions] = c.functions;
  n[kColParameters] = c.parameters;
  n[kColReturns] = c.returns;
  n[kColInterComp] = static_cast<long long>(c.parameters) + c.returns;
  n[kColCycloComp] = c.cyclomatic;
  n[kColTotalComp] = n[kColInterComp] + c.cyclomatic;
  n[kColNotices] = c.notices;
  v.comment_per_eloc = SafeRatio(c.comments, c.eloc);
  for (int i = 0; i < 3; ++i) v.fp[i] = c.fp[i];
  return v;
}

// Writes one row of the file table.  With `rows` above 0 every column is
// divided by it and printed with two decimals (the Average row).
void PutRow(FILE* s, std::string_view name, const std::string& date,
            const CsvFileColumns& v, bool with_fp, int rows) {
  auto column = [&](int i) {
    if (rows > 0)
      Put(s, ", %.2f", static_cast<double>(v.n[i]) / rows);
    else
      Put(s, ", %lld", v.n[i]);
  };
  Put(s, "%s, %.*s,, %s", "File", static_cast<int>(name.size()), name.data(),
      date.c_str());
  column(kColSize);
  for (int i = kColLoc; i <= kColLloc; ++i) {
    column(i);
    if (with_fp) {
      double fp = v.fp[i - kColLoc];
      Put(s, "/%-10.1f", rows > 0 ? fp / rows : fp);
    }
  }
  for (int i = kColComments; i <= kColLines; ++i) column(i);
  Put(s, ", %.2f", rows > 0 ? v.comment_per_eloc / rows : v.comment_per_eloc);
  for (int i = kColClasses; i <= kColNotices; ++i) column(i);
  Put(s, "\n");
}

void AddToTable(CsvFileTable& t, const CsvFileColumns& v) {
  int n = ++t.rows;
  for (int i = 0; i < kCsvIntColumns; ++i) {
    t.total.n[i] += v.n[i];
    TrackMinMax(v.n[i], t.min.n[i], t.max.n[i], n);
  }
  t.total.comment_per_eloc += v.comment_per_eloc;
  TrackMinMaxReal(v.comment_per_eloc, t.min.comment_per_eloc,
                  t.max.comment_per_eloc, n);
  for (int i = 0; i < 3; ++i) {
    t.total.fp[i] += v.fp[i];
    TrackMinMaxReal(v.fp[i], t.min.fp[i], t.max.fp[i], n);
  }
}

void CloseTable(FILE* s, G& g) {
  const CsvFileTable& t = g.csv_table;
  bool with_fp = g.opt.function_points_flag;
  const std::string no_date;
  Put(s, "%s, %d\n", "Files", t.rows);
  PutRow(s, "Total", no_date, t.total, with_fp, 0);
  PutRow(s, "Average", no_date, t.total, with_fp, t.rows);
  PutRow(s, "Maximum", no_date, t.max, with_fp, 0);
  PutRow(s, "Minimum", no_date, t.min, with_fp, 0);
}

// --- File summary -----------------------------------------------------------

// One count of the file summary.  The text and HTML forms carry their own
// value format, as the counts pair up two to a line; CSV gives every count
// a row of its own, "label,count".
struct LanguageCount {
  int type;  // index into files_by_type; -1 for the total
  const char* text;
  const char* html;
  const char* csv_label;
};

constexpr LanguageCount kLanguageCounts[] = {
    {kTypeC, "\n  C Source Files *.c ....: %10d",
     "\n  <b>C Source Files <i>*.c</i></b> ....: %10d", "C Source Files *.c"},
    {kTypeCHeader, "  C/C++ Include Files *.h: %10d\n",
     "  <b>C/C++ Include Files <i>*.h</i></b>: %10d\n",
     "C/C++ Include Files *.h"},
    {kTypeCpp, "  C++ Source Files *.c* .: %10d",
     "  <b>C++ Source Files <i>*.c*</i></b> .: %10d", "C++ Source Files *.c*"},
    {kTypeCppHeader, "  C++ Include Files *.h* : %10d\n",
     "  <b>C++ Include Files <i>*.h*</i></b> : %10d\n",
     "C++ Include Files *.h*"},
    {kTypeCSharp, "  C# Source Files *.cs ..: %10d",
     "  <b>C# Source Files <i>*.cs</i></b> ..: %10d", "C# Source Files *.cs"},
    {kTypeJava, "  Java Source File *.jav*: %10d\n",
     "  <b>Java Source File <i>*.jav*</i></b>: %10d\n",
     "Java Source File *.jav*"},
    {kTypeOther, "  Other File Count ......: %10d\n",
     "  <b>Other Source Files</b> ....: %10d\n", "Other File Count"},
    {-1, "  Total File Count ......: %10d\n",
     "  <b>Total File Count</b> ......: %10d\n", "Total File Count"},
};

void FileCountsXml(G& g, const int* by_type, int total) {
  Out(g, "<file_counts>\n");
  Out(g, "<c_file_count>%d</c_file_count>\n", by_type[kTypeC]);
  Out(g, "<c_include_file_count>%d</c_include_file_count>\n",
      by_type[kTypeCHeader]);
  Out(g, "<cpp_file_count>%d</cpp_file_count>\n", by_type[kTypeCpp]);
  Out(g, "<cpp_include_file_count>%d</cpp_include_file_count>\n",
      by_type[kTypeCppHeader]);
  Out(g, "<csharp_file_count>%d</csharp_file_count>\n", by_type[kTypeCSharp]);
  Out(g, "<java_file_count>%d</java_file_count>\n", by_type[kTypeJava]);
  Out(g, "<other_file_count>%d</other_file_count>\n", by_type[kTypeOther]);
  Out(g, "<total_file_count>%d</total_file_count>\n", total);
  Out(g, "</file_counts>\n");
}

}  // namespace

void ReportTitle(G& g, std::string_view title) {
  if (g.opt.html_flag) {
    Out(g, "<b><font color=\"%s\">", g.cfg.color_header.c_str());
    center_line(g, title);
    Out(g, "</font></b>");
  } else {
    center_line(g, title);
  }
}

ProjectCounters ProjectView(const G& g) {
  const FileCounters capped = g.totals.Capped();
  ProjectCounters v;
#define VEK_VIEW_COUNTER(name) \
  v.name = capped.name == g.counters.name ? g.totals.name : g.counters.name;
  VEK_FILE_COUNTERS(VEK_VIEW_COUNTER)
#undef VEK_VIEW_COUNTER
  return v;
}

const double* CurrentFunctionPoints(const G& g) {
  return g.file.record != nullptr ? g.file.record->fp : g.fp_totals;
}

void TotalSummary(G& g, int project) {
  const Options& o = g.opt;
  ReportFormat format = FormatOf(g);
  if (o.function_list_flag) return;
  if (project && format == kFormatCsv) return ProjectTotalsCsv(g);
  if (project && format == kFormatXml) return ProjectTotalsXml(g);
  if (format == kFormatXml) return;

  const ProjectCounters c =
      project ? ProjectView(g) : ProjectCounters::Of(g.counters);
  if (o.report_option_flag) {
    // Under function analysis a file without functions or notices has no
    // function output above to set its summary apart from.
    bool bare = o.function_flag && c.function_count == 0 && c.notice_count == 0;
    if (format != kFormatCsv && !bare)
      Out(g, "  %s%s\n\n", kHyphens36, kHyphens36);
    const char* title =
        project ? "~~ Total Project Summary ~~" : "~~ Total File Summary ~~";
    if (format != kFormatCsv) {
      ReportTitle(g, title);
      Out(g, "\n");
    }
  }
  LocBlock(g, c.loc, c.eloc(), c.lloc(), c.comment_lines, c.line_count);
  if (project)
    AverageBlock(g, g.files_processed, c.loc, c.eloc(), c.lloc(),
                 c.comment_lines, c.line_count);
  if (o.function_points_flag) {
    const double* fp = CurrentFunctionPoints(g);
    FunctionPointBlock(g, fp[0], fp[1], fp[2]);
  }
  if (c.skipped_lines > 0) {
    Out(g,
        format == kFormatHtml
            ? "  <B>Total physical lines skipped from skip token match:</B> "
              "%lld\n\n"
            : "  Total physical lines skipped from skip token match: %lld\n\n",
        c.skipped_lines);
  }
  if (o.report_option_flag && !o.summary_flag) Out(g, "\n");
}

CsvFileCounts CsvFileCountsOf(const G& g) {
  const FileCounters& c = g.counters;
  CsvFileCounts r;
  r.loc = c.loc;
  r.eloc = c.eloc();
  r.lloc = c.lloc();
  r.comments = c.comment_lines;
  r.blanks = c.blank_lines;
  r.lines = c.line_count;
  r.classes = c.class_count + c.struct_count;
  r.functions = c.function_count;
  r.parameters = c.parameter_sum;
  r.returns = c.return_sum;
  r.cyclomatic = c.cyclomatic_sum;
  r.notices = c.notice_count;
  const double* fp = CurrentFunctionPoints(g);
  for (int i = 0; i < 3; ++i) r.fp[i] = fp[i];
  return r;
}

void CsvFileRow(FILE* stream, std::string_view name, int64_t mtime, long size,
                const CsvFileCounts& counts, int summary, G& g) {
  CsvFileTable& t = g.csv_table;
  bool with_fp = g.opt.function_points_flag;
  if (summary) {
    if (t.rows > 0) CloseTable(stream, g);
    t.Reset();
    return;
  }
  if (!t.header_written) {
    Put(stream,
        "Type, Name, , Date, Size, %s, Comments, Blanks, Lines, "
        "Comment/eLOC, Classes, Functions, Parameters, Returns, "
        "InterComp, CycloComp, Total Complexity, Notices\n",
        with_fp ? "LOC/FP, eLOC/FP, lLOC/FP" : "LOC, eLOC, lLOC");
    t.header_written = 1;
  }
  std::string date = FormatTime(static_cast<time_t>(mtime), "%c");
  if (date.size() > kCsvDateMax) date.resize(kCsvDateMax);
  CsvFileColumns row = ColumnsOf(size, counts);
  PutRow(stream, CsvEscape(name), CsvEscape(date), row, with_fp, 0);
  if (g.opt.function_flag) Put(stream, "\n");
  AddToTable(t, row);
}

void FileSummary(G& g) {
  const Options& o = g.opt;
  ReportFormat format = FormatOf(g);
  const char* title =
      o.totals_detail ? "~~ File Detail Summary ~~" : "~~ File Summary ~~";
  switch (format) {
    case kFormatCsv:
      Out(g, o.totals_detail ? "File Detail Summary\n" : "File Summary\n");
      break;
    case kFormatXml:
      Out(g, o.totals_detail ? "<report>\n<name>File Detail Summary</name>\n"
                             : "<report>\n<name>File Summary</name>\n");
      break;
    case kFormatHtml:
    case kFormatText:
      Out(g, "\n  %s%s\n\n", kHyphens36, kHyphens36);
      ReportTitle(g, title);
      break;
  }

  if (o.totals_detail) FileDetailList(g);

  const int* by_type = g.typing.files_by_type;
  int total = 0;
  for (int type = 0; type < kBuiltinLanguages; ++type) total += by_type[type];

  if (format == kFormatXml) {
    ProjectTotalsXml(g);
    if (LanguageProfileInFileSummary(g)) LanguageProfile(g, 1);
    FileCountsXml(g, by_type, total);
    Out(g, "</report>\n");
    return;
  }
  bool first = true;
  for (const LanguageCount& lc : kLanguageCounts) {
    int count = lc.type < 0 ? total : by_type[lc.type];
    if (format == kFormatCsv) {
      Out(g, first ? "\n%s,%10d\n" : "%s,%10d\n", lc.csv_label, count);
    } else {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
      Out(g, format == kFormatHtml ? lc.html : lc.text, count);
#pragma GCC diagnostic pop
    }
    first = false;
  }
}

}  // namespace vek
