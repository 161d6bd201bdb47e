#include "reports/function_reports.h"

#include <cstdarg>
#include <string>

#include "analysis/function_state.h"
#include "common/text.h"
#include "driver/state.h"
#include "reports/file_reports.h"
#include "reports/function_records.h"
#include "reports/metrics_blocks.h"
#include "reports/output.h"
#include "reports/separator.h"

namespace vek {

// A label of the summary tables ("  Total LOC .....: "): as it is in text;
// in HTML its words up to the colon in bold.
void SummaryLabel(G& g, std::string_view label) {
  size_t lead = label.find_first_not_of(' ');
  size_t colon = label.find(':');
  if (!g.opt.html_flag || lead == std::string_view::npos ||
      colon == std::string_view::npos || colon < lead) {
    Out(g, "%.*s", static_cast<int>(label.size()), label.data());
    return;
  }
  std::string_view words = label.substr(lead, colon - lead);
  std::string_view rest = label.substr(colon + 1);
  Out(g, "%.*s<b>%.*s:</b>%.*s", static_cast<int>(lead), label.data(),
      static_cast<int>(words.size()), words.data(),
      static_cast<int>(rest.size()), rest.data());
}

namespace {

// The rule between the totals and the averages of the summary tables.
constexpr const char* kColumnRule =
    "       ------     -----     -----     ------     ------     -----       ";


// A label followed by its value.  Every call passes a literal format whose
// one conversion matches the value's type (%lld for long long, %f for
// double).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
void Value(G& g, std::string_view label, const char* fmt, long long v) {
  SummaryLabel(g, label);
  Out(g, fmt, v);
}
void Value(G& g, std::string_view label, const char* fmt, double v) {
  SummaryLabel(g, label);
  Out(g, fmt, v);
}
#pragma GCC diagnostic pop
void Value(G& g, std::string_view label, const char* fmt, int v) {
  Value(g, label, fmt, static_cast<long long>(v));
}

bool CsvFunctionRowsOn(const G& g) {
  return g.opt.csv_flag && g.opt.csv_file_rows && g.opt.function_flag;
}

// Parameter text for a CSV column: its commas would split the row.
std::string CsvParameters(std::string_view params) {
  std::string out(params.substr(0, kLineSize - 1));
  for (char& c : out)
    if (c == ',') c = ';';
  for (char& c : out)
    if (c == '\n' || c == '\r') c = ' ';
  return out;
}

int FpLanguageOf(const FileTyping& t) {
  if (t.header_flag) return kFpHeader;
  if (t.c_flag) return kFpC;
  if (t.cpp_flag) return kFpCpp;
  if (t.java_flag) return kFpJava;
  if (t.csharp_flag) return kFpCSharp;
  return kFpOther;
}

// --- Function end block -----------------------------------------------------

// The memory calls made in the function; only with -a and when it made any.
void FunctionMemoryBlock(G& g, const FunctionMeasure& m) {
  if (!g.opt.alloc_flag) return;
  if (m.alloc <= 0 && m.frees <= 0 && m.news <= 0 && m.deletes <= 0) return;
  switch (FormatOf(g)) {
    case kFormatText:
      Out(g, "  Memory       Alloc %-7d Free %-7d New %-7d Delete %d\n", m.alloc,
          m.frees, m.news, m.deletes);
      break;
    case kFormatHtml:
      Out(g,
          "  <b>Memory</b>       <b>Alloc</b> %-7d <b>Free</b> %-7d "
          "<b>New</b> %-7d <b>Delete</b> %d\n",
          m.alloc, m.frees, m.news, m.deletes);
      break;
    case kFormatCsv:
      Out(g, "Memory,Alloc,%d,Free,%d,New,%d,Delete,%d\n", m.alloc, m.frees,
          m.news, m.deletes);
      break;
    case kFormatXml:
      Out(g,
          "<memory_alloc_count>%d</memory_alloc_count>\n"
          "<memory_free_count>%d</memory_free_count>\n"
          "<memory_new_count>%d</memory_new_count>\n"
          "<memory_delete_count>%d</memory_delete_count>\n",
          m.alloc, m.frees, m.news, m.deletes);
      break;
  }
}

// --- CSV function rows ------------------------------------------------------

enum CsvFunctionColumn {
  kCfLoc, kCfEloc, kCfLloc, kCfComments, kCfBlanks, kCfLines, kCfFunctions,
  kCfParams, kCfReturns, kCfInterface, kCfCyclomatic, kCfTotal, kCfColumns
};
static_assert(kCfColumns == FunctionReportState::kCsvColumns);

// The row after its leading text columns.  With `rows` above 0 every
// column is divided by it and printed with two decimals (the Average row);
// `fp`, when given, follows the three size columns.
void PutCsvColumns(FILE* s, const long long* v, double ratio, const double* fp,
                   int rows) {
  auto column = [&](int i) {
    if (rows > 0)
      Put(s, ", %.2f", static_cast<double>(v[i]) / rows);
    else
      Put(s, ", %lld", v[i]);
    if (fp != nullptr && i <= kCfLloc) Put(s, "/%-10.1f", fp[i]);
  };
  for (int i = kCfLoc; i <= kCfLines; ++i) column(i);
  Put(s, ", %.2f, %s", rows > 0 ? ratio / rows : ratio, "");
  for (int i = kCfFunctions; i < kCfColumns; ++i) column(i);
  Put(s, ", %s\n", "");
}

void CloseCsvFunctionRows(FILE* s, const FunctionReportState::CsvRows& t) {
  Put(s, "%s, %s, %s, %s", "\nFunction", "Total,", "", "");
  PutCsvColumns(s, t.total, t.ratio_total, nullptr, 0);
  Put(s, "%s, %s, %s, %s", "Function", "Average,", "", "");
  PutCsvColumns(s, t.total, t.ratio_total, nullptr, t.rows);
  Put(s, "%s, %s, %s, %s", "Function", "Maximum,", "", "");
  PutCsvColumns(s, t.max, t.ratio_max, nullptr, 0);
  Put(s, "%s, %s, %s, %s", "Function", "Minimum,", "", "");
  PutCsvColumns(s, t.min, t.ratio_min, nullptr, 0);
}

// --- File function summary --------------------------------------------------

void FunctionSummaryText(G& g, const FunctionSums& s, const double* fp) {
  const Options& o = g.opt;
  const int f = s.functions;
  const long long interface = s.params + s.returns;
  const long long total = s.cyclomatic + interface;
  Out(g, "  %s%s\n\n", kHyphens36, kHyphens36);
  ReportTitle(g, "~~ File Functional Summary ~~");
  Out(g, "\n");
  Value(g, "  File Function Count....: ", "%10lld\n", f);
  Value(g, "  Total Function LOC.....: ", " %9lld", s.loc);
  Value(g, "  Total Function Pts LOC : ", "%10.1f\n", fp[0]);
  Value(g, "  Total Function eLOC....: ", " %9lld", s.eloc);
  Value(g, "  Total Function Pts eLOC: ", "%10.1f\n", fp[1]);
  Value(g, "  Total Function lLOC....: ", " %9lld", s.lloc);
  Value(g, "  Total Function Pts lLOC: ", "%10.1f\n", fp[2]);
  Value(g, "  Total Function Params .: ", "%10lld", s.params);
  Value(g, "  Total Function Return .: ", "%10lld\n", s.returns);
  Value(g, "  Total Cyclo Complexity : ", "%10lld", s.cyclomatic);
  Value(g, "  Total Function Complex.: ", "%10lld\n", total);
  Out(g, "  %s\n", kColumnRule);
  Value(g, "  Max Function LOC ......: ", " %9lld", s.max_loc);
  Value(g, "  Average Function LOC ..: ", "%10.2f\n", SafeDiv(s.loc, f));
  Value(g, "  Max Function eLOC .....: ", " %9lld", s.max_eloc);
  Value(g, "  Average Function eLOC .: ", "%10.2f\n", SafeDiv(s.eloc, f));
  Value(g, "  Max Function lLOC .....: ", " %9lld", s.max_lloc);
  Value(g, "  Average Function lLOC .: ", "%10.2f\n", SafeDiv(s.lloc, f));
  bool complexity = o.complexity_flag || o.function_detail_flag ||
                    o.totals_flag || o.csv_flag;
  if (!complexity) return;
  Out(g, "  %s\n", kColumnRule);
  Value(g, "  Max Function Parameters: ", "%10lld", s.max_params);
  Value(g, "  Avg Function Parameters: ", "%10.2f\n", SafeDiv(s.params, f));
  Value(g, "  Max Function Returns ..: ", "%10lld", s.max_returns);
  Value(g, "  Avg Function Returns ..: ", "%10.2f\n", SafeDiv(s.returns, f));
  Value(g, "  Max Interface Complex. : ", "%10lld",
        static_cast<long long>(s.max_params) + s.max_returns);
  Value(g, "  Avg Interface Complex. : ", "%10.2f\n", SafeDiv(interface, f));
  Value(g, "  Max Cyclomatic Complex.: ", "%10lld", s.max_cyclomatic);
  Value(g, "  Avg Cyclomatic Complex.: ", "%10.2f\n",
        SafeDiv(s.cyclomatic, f));
  Value(g, "  Max Total Complexity ..: ", "%10lld", s.max_total_complexity);
  Value(g, "  Avg Total Complexity ..: ", "%10.2f\n", SafeDiv(total, f));
}

void FunctionSummaryCsv(G& g, const FunctionSums& s, const double* fp) {
  const int f = s.functions;
  const long long interface = s.params + s.returns;
  const long long total = s.cyclomatic + interface;
  Out(g, "File Functional Summary\n");
  Out(g, "Functions,%d\n", f);
  Out(g,
      "LOC,%lld,eLOC,%lld,lLOC,%lld,Comments,%lld,Parameters,%lld,"
      "Returns,%lld,Cyclo Complex,%lld,Inter Complex,%lld,"
      "Total Complex,%lld,",
      s.loc, s.eloc, s.lloc, s.comments, s.params, s.returns, s.cyclomatic,
      interface, total);
  Out(g, "Func Pts(LOC),%10.1f,Func Pts(eLOC),%10.1f,Func Pts(lLOC),%10.1f\n",
      fp[0], fp[1], fp[2]);
  Out(g, "File Functional Maximum Summary\n");
  Out(g,
      "LOC,%d,eLOC,%d,lLOC,%d,,,Parameters,%d,Returns,%d,Cyclo Complex,%d,"
      "Inter Complex,%lld,Total Complex,%d\n",
      s.max_loc, s.max_eloc, s.max_lloc, s.max_params, s.max_returns,
      s.max_cyclomatic, static_cast<long long>(s.max_params) + s.max_returns,
      s.max_total_complexity);
  Out(g, "File Functional Average Summary\n");
  Out(g,
      "LOC,%10.2f,eLOC,%10.2f,lLOC,%10.2f,Comments,%10.2f,Parameters,%10.2f,"
      "Returns,%10.2f,Cyclo Complex,%10.2f,Inter Complex,%10.2f,"
      "Total Complex,%10.2f\n",
      SafeDiv(s.loc, f), SafeDiv(s.eloc, f), SafeDiv(s.lloc, f),
      SafeDiv(s.comments, f), SafeDiv(s.params, f), SafeDiv(s.returns, f),
      SafeDiv(s.cyclomatic, f), SafeDiv(interface, f), SafeDiv(total, f));
}

void FunctionSummaryXml(G& g, const FunctionSums& s, const double* fp) {
  const int f = s.functions;
  const long long interface = s.params + s.returns;
  const long long total = s.cyclomatic + interface;
  Out(g, "<file_function_summary>\n<file_function_totals>\n");
  Out(g, "<functions>%d</functions>\n", f);
  Out(g,
      "<LOC>%lld</LOC>\n<eLOC>%lld</eLOC>\n<lLOC>%lld</lLOC>\n"
      "<comments>%lld</comments>\n<parameters>%lld</parameters>\n"
      "<returns>%lld</returns>\n"
      "<cyclomatic_complexity>%lld</cyclomatic_complexity>\n"
      "<interface_complexity>%lld</interface_complexity>\n"
      "<total_complexity>%lld</total_complexity>\n",
      s.loc, s.eloc, s.lloc, s.comments, s.params, s.returns, s.cyclomatic,
      interface, total);
  Out(g,
      "<function_points_loc>%10.1f</function_points_loc>\n"
      "<function_points_eloc>%10.1f</function_points_eloc>\n"
      "<function_points_lloc>%10.1f</function_points_lloc>\n",
      fp[0], fp[1], fp[2]);
  Out(g, "</file_function_totals>\n<file_function_maximums>\n");
  Out(g,
      "<LOC>%d</LOC>\n<eLOC>%d</eLOC>\n<lLOC>%d</lLOC>\n"
      "<parameters>%d</parameters>\n<returns>%d</returns>\n"
      "<cyclomatic_complexity>%d</cyclomatic_complexity>\n"
      "<interface_complexity>%lld</interface_complexity>\n"
      "<total_complexity>%d</total_complexity>\n",
      s.max_loc, s.max_eloc, s.max_lloc, s.max_params, s.max_returns,
      s.max_cyclomatic, static_cast<long long>(s.max_params) + s.max_returns,
      s.max_total_complexity);
  Out(g, "</file_function_maximums>\n<file_function_average>\n");
  Out(g,
      "<LOC>%10.2f</LOC>\n<eLOC>%10.2f</eLOC>\n<lLOC>%10.2f</lLOC>\n"
      "<parameters>%10.2f</parameters>\n<returns>%10.2f</returns>\n"
      "<cyclomatic_complexity>%10.2f</cyclomatic_complexity>\n"
      "<interface_complexity>%10.2f</interface_complexity>\n"
      "<total_complexity>%10.2f</total_complexity>\n",
      SafeDiv(s.loc, f), SafeDiv(s.eloc, f), SafeDiv(s.lloc, f),
      SafeDiv(s.params, f), SafeDiv(s.returns, f), SafeDiv(s.cyclomatic, f),
      SafeDiv(interface, f), SafeDiv(total, f));
  Out(g, "</file_function_average>\n</file_function_summary>\n");
}

// --- Project function list --------------------------------------------------

// The columns summed over the listed functions, in the order of their CSV
// and XML forms.
enum TotalColumn {
  kTLoc, kTEloc, kTLloc, kTComments, kTBlanks, kTParams, kTReturns,
  kTInterface, kTCyclomatic, kTTotal, kTLines, kTColumns
};

struct TotalColumnName {
  const char* csv;
  const char* xml;
  bool extremes;  // has a maximum and a minimum row
};

constexpr TotalColumnName kTotalColumns[kTColumns] = {
    {"LOC", "loc", true},
    {"eLOC", "eloc", true},
    {"lLOC", "lloc", true},
    {"Comments", "comments", true},
    {"Blanks", "blanks", true},
    {"Parameters", "params", true},
    {"Returns", "returns", true},
    {"Inter Complex", "interface_complexity", true},
    {"Cyclo Complex", "cyclomatic_complexity", true},
    {"Total Complex", "total_complexity", false},
    {"Lines", "lines", true},
};

struct ListTotals {
  int count = 0;
  long long sum[kTColumns] = {};
  long long max[kTColumns] = {};
  long long min[kTColumns] = {};

  void Add(const MetricsEntry& e) {
    const long long v[kTColumns] = {
        e.loc, e.eloc, e.lloc, e.comments, e.blanks, e.extra[kFnParams],
        e.extra[kFnReturns], e.interface_complexity, e.cyclomatic,
        e.total_complexity, e.lines};
    ++count;
    for (int i = 0; i < kTColumns; ++i) {
      sum[i] += v[i];
      TrackMinMax(v[i], min[i], max[i], count);
    }
  }
  double Avg(int column) const { return SafeDiv(sum[column], count); }
};

// A listed function has a name that starts like an identifier; anything
// else is a misreading that the list leaves out.
bool Listable(const MetricsEntry& e) {
  if (e.name.empty()) return false;
  char c = e.name[0];
  return IsAlpha(c) || c == '_' || c == '~';
}

void FunctionEntry(G& g, const MetricsEntry& e) {
  const Config& cfg = g.cfg;
  const int params = e.extra[kFnParams];
  const int returns = e.extra[kFnReturns];
  const bool has_template = !e.text3.empty();
  switch (FormatOf(g)) {
    case kFormatCsv:
      Out(g, "Function,%s,%s,%d,%d,%d,%d,%.2f,%d,%d,%d,%d,%d,%d\n",
          CsvEscape(e.name).c_str(), CsvParameters(e.text2).c_str(), e.loc,
          e.eloc, e.lloc, e.comments, SafeRatio(e.comments, e.eloc), e.lines,
          params, returns, e.interface_complexity, e.cyclomatic,
          e.total_complexity);
      return;
    case kFormatXml:
      Out(g, "<function>\n<name>%s</name>\n<parameters>%s</parameters>\n",
          XmlEscape(e.name).c_str(), XmlEscape(e.text2).c_str());
      Out(g, "<file>%s</file>\n<line>%d</line>\n", XmlEscape(e.text4).c_str(),
          e.extra[kFnLine]);
      if (has_template)
        Out(g, "<template>%s</template>\n", XmlEscape(e.text3).c_str());
      ComplexityBlock(g, params, returns, e.cyclomatic);
      LocBlock(g, e.loc, e.eloc, e.lloc, e.comments, e.lines);
      EntryFunctionPoints(g, e.text4, e.loc, e.eloc, e.lloc);
      Out(g, "</function>\n");
      return;
    case kFormatHtml:
      Out(g,
          "  <b><a href=\"%s\" target=\"_blank\">Function</a></b>: "
          "<b><font color=\"%s\">%s</font></b>\n",
          file_link(e.text4, g).c_str(), cfg.color_function.c_str(),
          HtmlEscape(wrap_name(e.name, 62, 12, g)).c_str());
      Out(g, "  <b>Parameters</b>: <b><font color=\"%s\">%s</font></b>\n",
          cfg.color_function_param.c_str(),
          HtmlEscape(wrap_name(e.text2, 60, 14, g)).c_str());
      if (has_template)
        Out(g, "  <b>Template</b>: <b><font color=\"%s\">%s</font></b>\n",
            cfg.color_template.c_str(),
            HtmlEscape(wrap_name(e.text3, 62, 12, g)).c_str());
      break;
    case kFormatText:
      Out(g, "  Function: %s\n", wrap_name(e.name, 62, 12, g).c_str());
      Out(g, "  Parameters: %s\n", wrap_name(e.text2, 60, 14, g).c_str());
      if (has_template)
        Out(g, "  Template: %s\n", wrap_name(e.text3, 62, 12, g).c_str());
      break;
  }
  ComplexityBlock(g, params, returns, e.cyclomatic);
  LocBlock(g, e.loc, e.eloc, e.lloc, e.comments, e.lines);
  EntryFunctionPoints(g, e.text4, e.loc, e.eloc, e.lloc);
  Out(g, "\n");
}

void TotalsText(G& g, const ListTotals& t, const double* fp) {
  const bool html = g.opt.html_flag;
  const long long* s = t.sum;
  Out(g, html ? "  <b>Total</b>: <b>Functions  </b>\n" : "  Total: Functions  \n");
  Out(g,
      html ? "  <b>LOC</b> %-7lld  <b>eLOC</b> %-7lld  <b>lLOC</b> %-7lld  "
             "<b>InCmp</b> %-7lld  <b>CycloCmp</b> %7lld\n"
           : "  LOC %-7lld  eLOC %-7lld  lLOC %-7lld  InCmp %-7lld  "
             "CycloCmp %7lld\n",
      s[kTLoc], s[kTEloc], s[kTLloc], s[kTInterface], s[kTCyclomatic]);

  Out(g, "  %s%s\n\n", kHyphens36, kHyphens36);
  ReportTitle(g, "~~ Project Functional Analysis ~~");
  Out(g, "\n");
  Value(g, "  Total Functions .......: ", " %9lld", t.count);
  Value(g, "  Total Physical Lines ..: ", "%10lld\n", s[kTLines]);
  Value(g, "  Total LOC .............: ", " %9lld", s[kTLoc]);
  Value(g, "  Total Function Pts LOC : ", "%10.1f\n", fp[0]);
  Value(g, "  Total eLOC ............: ", " %9lld", s[kTEloc]);
  Value(g, "  Total Function Pts eLOC: ", "%10.1f\n", fp[1]);
  Value(g, "  Total lLOC.............: ", " %9lld", s[kTLloc]);
  Value(g, "  Total Function Pts lLOC: ", "%10.1f\n", fp[2]);
  Value(g, "  Total Cyclomatic Comp. : ", " %9lld", s[kTCyclomatic]);
  Value(g, "  Total Interface Comp. .: ", "%10lld\n", s[kTInterface]);
  Value(g, "  Total Parameters ......: ", " %9lld", s[kTParams]);
  Value(g, "  Total Return Points ...: ", "%10lld\n", s[kTReturns]);
  Value(g, "  Total Comment Lines ...: ", " %9lld", s[kTComments]);
  Value(g, "  Total Blank Lines .....: ", "%10lld\n", s[kTBlanks]);
  Out(g, "  %s\n", kColumnRule);
  Value(g, "  Avg Physical Lines ....: ", " %9.2f\n", t.Avg(kTLines));
  Value(g, "  Avg LOC ...............: ", " %9.2f", t.Avg(kTLoc));
  Value(g, "  Avg eLOC ..............: ", "%10.2f\n", t.Avg(kTEloc));
  Value(g, "  Avg lLOC ..............: ", " %9.2f", t.Avg(kTLloc));
  Value(g, "  Avg Cyclomatic Comp. ..: ", "%10.2f\n", t.Avg(kTCyclomatic));
  Value(g, "  Avg Interface Comp. ...: ", " %9.2f", t.Avg(kTInterface));
  Value(g, "  Avg Parameters ........: ", "%10.2f\n", t.Avg(kTParams));
  Value(g, "  Avg Return Points .....: ", " %9.2f", t.Avg(kTReturns));
  Value(g, "  Avg Comment Lines .....: ", "%10.2f\n", t.Avg(kTComments));
  for (int pass = 0; pass < 2; ++pass) {
    const long long* v = pass == 0 ? t.max : t.min;
    const bool mx = pass == 0;
    Value(g, mx ? "  Max LOC ...............: " : "  Min LOC ...............: ",
          " %9lld\n", v[kTLoc]);
    Value(g, mx ? "  Max eLOC ..............: " : "  Min eLOC ..............: ",
          " %9lld", v[kTEloc]);
    Value(g, mx ? "  Max lLOC ..............: " : "  Min lLOC ..............: ",
          "%10lld\n", v[kTLloc]);
    Value(g, mx ? "  Max Cyclomatic Comp. ..: " : "  Min Cyclomatic Comp. ..: ",
          " %9lld", v[kTCyclomatic]);
    Value(g, mx ? "  Max Interface Comp. ...: " : "  Min Interface Comp. ...: ",
          "%10lld\n", v[kTInterface]);
    Value(g, mx ? "  Max Parameters ........: " : "  Min Parameters ........: ",
          " %9lld", v[kTParams]);
    Value(g, mx ? "  Max Return Points .....: " : "  Min Return Points .....: ",
          "%10lld\n", v[kTReturns]);
    Value(g, mx ? "  Max Comment Lines .....: " : "  Min Comment Lines .....: ",
          " %9lld", v[kTComments]);
    Value(g, mx ? "  Max Total Lines .......: " : "  Min Total Lines .......: ",
          "%10lld\n", v[kTLines]);
  }
}

void TotalsCsv(G& g, const ListTotals& t, const double* fp) {
  Out(g, "Project Functional Analysis\n");
  Out(g, "Total Functions\nCount,%d,", t.count);
  for (int i = 0; i < kTColumns; ++i)
    Out(g, "%s,%lld,", kTotalColumns[i].csv, t.sum[i]);
  Out(g, "Func Pts(LOC),%.1f,Func Pts(eLOC),%.1f,Func Pts(lLOC),%.1f\n", fp[0],
      fp[1], fp[2]);
  Out(g, "Avg Functions\nCount,%d,", t.count);
  for (int i = 0; i < kTColumns; ++i)
    Out(g, "%s,%.2f,", kTotalColumns[i].csv, t.Avg(i));
  Out(g, "Func Pts(LOC),%.2f,Func Pts(eLOC),%.2f,Func Pts(lLOC),%.2f\n",
      SafeDiv(fp[0], t.count), SafeDiv(fp[1], t.count),
      SafeDiv(fp[2], t.count));
  for (int pass = 0; pass < 2; ++pass) {
    const long long* v = pass == 0 ? t.max : t.min;
    Out(g, pass == 0 ? "Max Functions\n" : "Min Functions\n");
    for (int i = 0; i < kTColumns; ++i) {
      if (!kTotalColumns[i].extremes) continue;
      Out(g, i == kTLines ? "%s,%lld\n" : "%s,%lld,", kTotalColumns[i].csv,
          v[i]);
    }
  }
}

void TotalsXml(G& g, const ListTotals& t, const double* fp) {
  Out(g, "<total_all_function_analysis>\n");
  Out(g, "<function_count>%d</function_count>\n", t.count);
  for (int i = 0; i < kTColumns; ++i)
    Out(g, "<%s>%lld</%s>\n", kTotalColumns[i].xml, t.sum[i],
        kTotalColumns[i].xml);
  Out(g,
      "<function_points_loc>%.1f</function_points_loc>\n"
      "<function_points_eloc>%.1f</function_points_eloc>\n"
      "<function_points_lloc>%.1f</function_points_lloc>\n",
      fp[0], fp[1], fp[2]);
  for (int i = 0; i < kTColumns; ++i)
    Out(g, "<average_%s>%.2f</average_%s>\n", kTotalColumns[i].xml, t.Avg(i),
        kTotalColumns[i].xml);
  Out(g,
      "<average_function_points_loc>%.2f</average_function_points_loc>\n"
      "<average_function_points_eloc>%.2f</average_function_points_eloc>\n"
      "<average_function_points_lloc>%.2f</average_function_points_lloc>\n",
      SafeDiv(fp[0], t.count), SafeDiv(fp[1], t.count),
      SafeDiv(fp[2], t.count));
  for (int pass = 0; pass < 2; ++pass) {
    const char* which = pass == 0 ? "max" : "min";
    const long long* v = pass == 0 ? t.max : t.min;
    for (int i = 0; i < kTColumns; ++i) {
      if (!kTotalColumns[i].extremes) continue;
      Out(g, "<%s_%s>%lld</%s_%s>\n", which, kTotalColumns[i].xml, v[i], which,
          kTotalColumns[i].xml);
    }
  }
  Out(g, "</total_all_function_analysis>\n");
}

constexpr ListReportNames kFunctionListNames = {
    "~~ Project Functional Metrics ~~",
    "Project Functional Metrics",
    "\nProject Functional Metrics\n",
    "Count",
    "Type,Name,Params,LOC,eLOC,lLOC,Comments,Comments/eLOC,Lines,Parameters,"
    "Returns,Interface Complexity,Cyclomatic Complexity,Functional "
    "Complexity\n",
};

}  // namespace

double FunctionPoints(int count, int kind, const G& g) {
  if (kind < 0 || kind >= kFpBases) return 0.0;
  int factor = g.cfg.fp_factor[FpLanguageOf(g.typing)][kind];
  return factor > 0 ? static_cast<double>(count) / factor : 0.0;
}

void EntryFunctionPoints(G& g, std::string_view file, int loc, int eloc,
                         int lloc) {
  if (!g.opt.function_points_flag) return;
  const FileTyping saved = g.typing;
  type_file(file, g, 0);
  double fp[kFpBases] = {FunctionPoints(loc, kFpLoc, g),
                         FunctionPoints(eloc, kFpEloc, g),
                         FunctionPoints(lloc, kFpLloc, g)};
  g.typing = saved;
  if (FormatOf(g) == kFormatXml) {
    Out(g,
        "<function_points_loc>%.1f</function_points_loc>\n"
        "<function_points_eloc>%.1f</function_points_eloc>\n"
        "<function_points_lloc>%.1f</function_points_lloc>\n",
        fp[0], fp[1], fp[2]);
    return;
  }
  FunctionPointBlock(g, fp[0], fp[1], fp[2]);
}

void SortedByLine(G& g) {
  const int key = g.opt.sort_key;
  if (key <= kSortNone || key >= kSortKeys) return;
  const bool down = g.opt.sort_descending != 0;
  const char* name = SortKeyName(key);
  const char* direction = down ? "Descending" : "Ascending";
  std::string text = std::string("Sorted By: ") + name + " - " + direction;
  switch (FormatOf(g)) {
    case kFormatText:
      center_line(g, text);
      break;
    case kFormatHtml: {
      std::string html = std::string("<b><font color=\"") +
                         g.cfg.color_header + "\">Sorted By " + name + " - " +
                         direction + "</font></b>";
      Out(g, "\n");
      center_html_line(g, html, text);
      break;
    }
    case kFormatCsv:
      Out(g, "%s\n", text.c_str());
      break;
    case kFormatXml:
      Out(g, "<sort_mode>%s</sort_mode>\n<sort_direction>%s</sort_direction>\n",
          name, direction);
      break;
  }
}

void BeginListReport(G& g, const ListReportNames& names, size_t count) {
  ReportFormat format = FormatOf(g);
  switch (format) {
    case kFormatText:
    case kFormatHtml:
      Out(g, "\n  %s%s\n\n", kHyphens36, kHyphens36);
      ReportTitle(g, names.title);
      break;
    case kFormatXml:
      Out(g, "<report>\n<name>%s</name>\n", names.xml_name);
      break;
    case kFormatCsv:
      Out(g, "%s", names.csv_title);
      break;
  }
  SortedByLine(g);
  if (format == kFormatText || format == kFormatHtml) Out(g, "\n");
  if (format == kFormatCsv) {
    Out(g, "%s,%zu\n", names.csv_count, count);
    Out(g, "%s", names.csv_header);
  }
}

void EndListReport(G& g) {
  if (FormatOf(g) == kFormatXml) Out(g, "</report>\n");
}

void CsvFunctionRow(FILE* stream, const FunctionMeasure* m, G& g) {
  FunctionReportState& st = g.fn_report;
  FunctionReportState::CsvRows& t = st.csv;
  if (m == nullptr) {
    if (t.rows > 0) CloseCsvFunctionRows(stream, t);
    t = FunctionReportState::CsvRows();
    return;
  }
  const bool with_fp = g.opt.function_points_flag;
  if (!st.csv_header_written) {
    Put(stream,
        "Type, Name, Parameters, , , %s, Comments, Blanks, Lines, "
        "Comment/eLOC, Classes, Functions, Parameters, Returns, InterComp, "
        "CycloComp, Total Complexity, Notices\n",
        with_fp ? "LOC/FP, eLOC/FP, lLOC/FP" : "LOC, eLOC, lLOC");
    st.csv_header_written = 1;
  }
  const long long interface = static_cast<long long>(m->params) + m->returns;
  const long long v[kCfColumns] = {
      m->loc,     m->eloc,    m->lloc,    m->comments,
      m->blanks,  FunctionLines(*m),      1,
      m->params,  m->returns, interface,  m->cyclomatic,
      interface + m->cyclomatic};
  const double ratio = SafeRatio(m->comments, m->eloc);
  const double fp[kFpBases] = {FunctionPoints(m->loc, kFpLoc, g),
                               FunctionPoints(m->eloc, kFpEloc, g),
                               FunctionPoints(m->lloc, kFpLloc, g)};
  Put(stream, "%s, %s, %s, ,%s", "Function", CsvEscape(m->name).c_str(),
      CsvParameters(m->parameters).c_str(), "");
  PutCsvColumns(stream, v, ratio, with_fp ? fp : nullptr, 0);

  int n = ++t.rows;
  for (int i = 0; i < kCfColumns; ++i) {
    t.total[i] += v[i];
    TrackMinMax(v[i], t.min[i], t.max[i], n);
  }
  t.ratio_total += ratio;
  TrackMinMaxReal(ratio, t.ratio_min, t.ratio_max, n);
}

void function_end_report(G& g, const FunctionMeasure& m) {
  const Options& o = g.opt;
  if (CsvFunctionRowsOn(g)) {
    CsvFunctionRow(g.report_stream, &m, g);
    return;
  }
  // Under -o alone the methods are measured for their types, not listed.
  if (o.totals_flag || o.extract_docs || o.function_by_objects) return;
  ComplexityBlock(g, m.params, m.returns, m.cyclomatic);
  LocBlock(g, m.loc, m.eloc, m.lloc, m.comments, FunctionLines(m));
  FunctionMemoryBlock(g, m);
  if (o.notice_flag)
    separator_line(g, "Function End", m.end_line);
  else
    Out(g, "\n");
}

void FileFunctionSummary(G& g, int project) {
  const FunctionSums s = project ? g.fn_report.project : FileFunctionSums(g);
  if (s.functions < 1) return;
  const double* fp = project ? g.fp_totals : CurrentFunctionPoints(g);
  switch (FormatOf(g)) {
    case kFormatText:
    case kFormatHtml:
      FunctionSummaryText(g, s, fp);
      break;
    case kFormatCsv:
      FunctionSummaryCsv(g, s, fp);
      break;
    case kFormatXml:
      FunctionSummaryXml(g, s, fp);
      break;
  }
}

void FunctionReport(G& g) {
  FunctionRecords& list = g.fn_report.functions;
  if (list.empty()) return;
  OrderRecordedFunctions(list, g.opt.sort_key, g);
  BeginListReport(g, kFunctionListNames, list.count());
  ListTotals totals;
  MetricsEntry e;
  for (size_t i = 0; i < list.count(); ++i) {
    list.Unpack(i, e);
    if (!Listable(e)) continue;
    totals.Add(e);
    if (!g.opt.totals_summaries_only) FunctionEntry(g, e);
  }
  switch (FormatOf(g)) {
    case kFormatText:
    case kFormatHtml:
      TotalsText(g, totals, g.fp_totals);
      break;
    case kFormatCsv:
      TotalsCsv(g, totals, g.fp_totals);
      break;
    case kFormatXml:
      TotalsXml(g, totals, g.fp_totals);
      break;
  }
  EndListReport(g);
}

}  // namespace vek
