#include "reports/project_reports.h"

#include <climits>
#include <cstdio>
#include <string>
#include <string_view>

#include "analysis/function_state.h"
#include "driver/state.h"
#include "reports/file_header.h"
#include "reports/file_reports.h"
#include "reports/function_records.h"
#include "reports/metrics_blocks.h"
#include "reports/output.h"
#include "reports/process_timer.h"

namespace vek {

namespace {

// The rule and centred title that open a project summary in text and HTML.
void TitleBlock(G& g, std::string_view title) {
  Out(g, "\n  %s%s\n\n", kHyphens36, kHyphens36);
  ReportTitle(g, title);
}

// "  words ....: " as it is, or in HTML with its words in bold: up to the
// run of dots before the colon, or up to the colon when a single dot there
// ends an abbreviation ("Complex.:").
std::string BoldWords(const G& g, std::string_view label) {
  if (!g.opt.html_flag) return std::string(label);
  size_t lead = label.find_first_not_of(' ');
  size_t colon = label.rfind(':');
  if (lead == std::string_view::npos || colon == std::string_view::npos ||
      colon <= lead)
    return std::string(label);
  size_t end = label.find_last_not_of(' ', colon - 1);
  size_t dots = label.find_last_not_of('.', end);
  bool abbreviation = end - dots == 1 && label[dots] != ' ';
  if (!abbreviation) end = label.find_last_not_of(" .", end);
  if (end == std::string_view::npos || end < lead) return std::string(label);
  return std::string(label.substr(0, lead)) + "<b>" +
         std::string(label.substr(lead, end + 1 - lead)) + "</b>" +
         std::string(label.substr(end + 1));
}

void Label(G& g, std::string_view label) {
  Out(g, "%s", BoldWords(g, label).c_str());
}

// --- Estimation analysis ----------------------------------------------------

struct EstimationBasis {
  long long functions = 0, loc = 0, eloc = 0, lloc = 0, comments = 0;
  long long params = 0, returns = 0, cyclomatic = 0;
  long long interface() const { return params + returns; }
  long long complexity() const { return cyclomatic + params + returns; }
};

// One size basis and the six ratios printed for it.
struct EstimationFactors {
  const char* title;     // centred in text and HTML
  const char* csv;       // CSV section and XML element stem
  const char* labels[6];
};

constexpr EstimationFactors kEstimationFactors[3] = {
    {"LOC Estimation Factors",
     "loc",
     {"  Lines of Code, LOC, per Function ...........................: ",
      "  Lines of Code, LOC, per Function Input Parameter ...........: ",
      "  Lines of Code, LOC, per Function Return State ..............: ",
      "  LOC per Function Interface Complexity (Parameters + Return) : ",
      "  LOC per Function Cyclomatic Complexity .....................: ",
      "  LOC per Function Complexity (Cyclomatic+Interface Complex.) : "}},
    {"eLOC Estimation Factors",
     "eloc",
     {"  Effective Lines of Code, eLOC, per Function ................: ",
      "  Effective Lines of Code, eLOC, per Function Input Parameter : ",
      "  Effective Lines of Code, eLOC, per Function Return State ...: ",
      "  eLOC per Function Interface Complexity (Parameters + Return): ",
      "  eLOC per Function Cyclomatic Complexity ....................: ",
      "  eLOC per Function Complexity (Cyclomatic+Interface Complex.): "}},
    {"lLOC Estimation Factors",
     "lloc",
     {"  Logical Lines of Code, lLOC, per Function ..................: ",
      "  Logical Lines of Code, lLOC, per Function Input Parameter ..: ",
      "  Logical Lines of Code, lLOC, per Function Return State .....: ",
      "  lLOC per Function Interface Complexity (Parameters + Return): ",
      "  lLOC per Function Cyclomatic Complexity ....................: ",
      "  lLOC per Function Complexity (Cyclomatic+Interface Complex.): "}},
};

// The CSV labels and XML elements of the six ratios.
constexpr const char* kRatioCsv[6] = {
    "per Function",          "per Function Input Parameter",
    "per Function Return State", "per Interface Complexity",
    "per Cyclomatic Complexity", "per Total Complexity"};
constexpr const char* kRatioXml[6] = {
    "per_function",          "per_parameter",
    "per_return",            "per_interface_complexity",
    "per_cyclomatic_complexity", "per_total_complexity"};

void Ratios(const EstimationBasis& b, long long size, double out[6]) {
  out[0] = SafeRatio(size, b.functions);
  out[1] = SafeRatio(size, b.params);
  out[2] = SafeRatio(size, b.returns);
  out[3] = SafeRatio(size, b.interface());
  out[4] = SafeRatio(size, b.cyclomatic);
  out[5] = SafeRatio(size, b.complexity());
}

void EstimationText(G& g, const EstimationBasis& b) {
  TitleBlock(g, "~~ Estimation Analysis ~~");
  Out(g, "\n");
  center_line(g, "Functional Basis");
  Label(g, "  Total Function Count ..: ");
  Out(g, "%10lld\n", b.functions);
  Label(g, "  Total Function LOC ....: ");
  Out(g, "%10lld", b.loc);
  Label(g, "  Total Function eLOC ...: ");
  Out(g, "%10lld\n", b.eloc);
  Label(g, "  Total Function lLOC ...: ");
  Out(g, "%10lld", b.lloc);
  Label(g, "  Total Function Comments: ");
  Out(g, "%10lld\n", b.comments);
  Label(g, "  Total Func. Parameters : ");
  Out(g, "%10lld", b.params);
  Label(g, "  Total Function Returns : ");
  Out(g, "%10lld\n", b.returns);
  Label(g, "  Total Cylco. Complexity: ");
  Out(g, "%10lld", b.cyclomatic);
  Label(g, "  Total Function Complex.: ");
  Out(g, "%10lld\n", b.complexity());
  const long long sizes[3] = {b.loc, b.eloc, b.lloc};
  for (int k = 0; k < 3; ++k) {
    const EstimationFactors& f = kEstimationFactors[k];
    double r[6];
    Ratios(b, sizes[k], r);
    Out(g, "\n");
    center_line(g, f.title);
    for (int i = 0; i < 6; ++i) {
      Label(g, f.labels[i]);
      Out(g, "%10.2f\n", r[i]);
    }
  }
}

void EstimationCsv(G& g, const EstimationBasis& b) {
  Out(g, "\nEstimation Analysis\n");
  Out(g, "Functional Basis\n");
  Out(g, "Functions,%lld,LOC,%lld,eLOC,%lld,lLOC,%lld,Comments,%lld,", b.functions,
      b.loc, b.eloc, b.lloc, b.comments);
  Out(g, "Parameters,%lld,Returns,%lld,Cyclo Complex,%lld,Total Complex,%lld\n",
      b.params, b.returns, b.cyclomatic, b.complexity());
  const long long sizes[3] = {b.loc, b.eloc, b.lloc};
  for (int k = 0; k < 3; ++k) {
    const EstimationFactors& f = kEstimationFactors[k];
    double r[6];
    Ratios(b, sizes[k], r);
    Out(g, "%s\n", f.title);
    for (int i = 0; i < 6; ++i)
      Out(g, "%s %s,%.2f\n", k == 0 ? "LOC" : k == 1 ? "eLOC" : "lLOC",
          kRatioCsv[i], r[i]);
  }
}

void EstimationXml(G& g, const EstimationBasis& b) {
  Out(g, "<report>\n<name>Estimation Analysis</name>\n");
  Out(g, "<functional_basis>\n");
  Out(g, "<functions>%lld</functions>\n", b.functions);
  Out(g, "<LOC>%lld</LOC>\n<eLOC>%lld</eLOC>\n<lLOC>%lld</lLOC>\n", b.loc,
      b.eloc, b.lloc);
  Out(g, "<comments>%lld</comments>\n", b.comments);
  Out(g, "<parameters>%lld</parameters>\n<returns>%lld</returns>\n", b.params,
      b.returns);
  Out(g, "<cyclomatic_complexity>%lld</cyclomatic_complexity>\n",
      b.cyclomatic);
  Out(g, "<total_complexity>%lld</total_complexity>\n", b.complexity());
  Out(g, "</functional_basis>\n");
  const long long sizes[3] = {b.loc, b.eloc, b.lloc};
  for (int k = 0; k < 3; ++k) {
    const EstimationFactors& f = kEstimationFactors[k];
    double r[6];
    Ratios(b, sizes[k], r);
    Out(g, "<%s_estimation_factors>\n", f.csv);
    for (int i = 0; i < 6; ++i)
      Out(g, "<%s>%.2f</%s>\n", kRatioXml[i], r[i], kRatioXml[i]);
    Out(g, "</%s_estimation_factors>\n", f.csv);
  }
  Out(g, "</report>\n");
}

// --- Language summary and profile -------------------------------------------

enum LanguageGroup { kGroupHeader, kGroupC, kGroupCpp, kGroupJava,
                     kGroupCSharp, kGroupOther, kGroups };

struct GroupSums {
  long long files = 0, loc = 0, eloc = 0, lloc = 0, comments = 0,
            blanks = 0, lines = 0;
  double fp[kFpBases] = {0.0, 0.0, 0.0};

  bool Any() const {
    return loc > 0 || eloc > 0 || lloc > 0 || comments > 0 || blanks > 0 ||
           lines > 0;
  }
};

struct LanguageSums {
  GroupSums group[kGroups];
  GroupSums all;
};

int GroupOf(int file_type) {
  switch (file_type) {
    case kTypeCHeader:
    case kTypeCppHeader: return kGroupHeader;
    case kTypeC: return kGroupC;
    case kTypeCpp: return kGroupCpp;
    case kTypeJava: return kGroupJava;
    case kTypeCSharp: return kGroupCSharp;
    case kTypeOther: return kGroupOther;
    default: return -1;  // never opened
  }
}

constexpr FpLanguage kGroupFactors[kGroups] = {kFpHeader, kFpC, kFpCpp,
                                               kFpJava, kFpCSharp, kFpOther};

// Sums the analysed files by language group; a group's function points
// are its sizes over the group's factors, and those of all languages the
// sum of the groups'.
LanguageSums SumLanguages(const G& g) {
  LanguageSums s;
  for (const auto& r : g.input_files) {
    int group = GroupOf(r->file_type);
    if (group < 0) continue;
    GroupSums& t = s.group[group];
    ++t.files;
    t.loc += r->loc;
    t.eloc += r->eloc;
    t.lloc += r->lloc;
    t.comments += r->comments;
    t.blanks += r->blanks;
    t.lines += r->lines;
  }
  for (int group = 0; group < kGroups; ++group) {
    GroupSums& t = s.group[group];
    const long long sizes[kFpBases] = {t.loc, t.eloc, t.lloc};
    for (int b = 0; b < kFpBases; ++b) {
      int factor = g.cfg.fp_factor[kGroupFactors[group]][b];
      t.fp[b] = factor > 0 ? static_cast<double>(sizes[b]) / factor : 0.0;
      s.all.fp[b] += t.fp[b];
    }
    s.all.files += t.files;
    s.all.loc += t.loc;
    s.all.eloc += t.eloc;
    s.all.lloc += t.lloc;
    s.all.comments += t.comments;
    s.all.blanks += t.blanks;
    s.all.lines += t.lines;
  }
  return s;
}

struct GroupNames {
  const char* text;
  const char* html;
  const char* csv;
  const char* xml;
  const char* profile;
};

constexpr GroupNames kGroupNames[kGroups] = {
    {"\n  Header Include Files *.h*\n",
     "\n  <b>Header Include Files <i>*.h*</i></b>\n",
     " ,Header Include Files *.h*", "Header Files *.h*", "*.h*"},
    {"\n  C Source Files *.c\n", "\n  <b>C Source Files <i>*.c</i></b>\n",
     " ,C Source Files *.c", "C Files *.c", "*.c"},
    {"\n  C++ Source Files *.c*\n",
     "\n  <b>C++ Source Files <i>*.c*</i></b>\n", " ,C++ Source Files *.c*",
     "C++ Files *.cp*", "*.c*"},
    {"\n  Java Source File *.jav*\n",
     "\n  <b>Java Source File <i>*.jav*</i></b>\n", " ,Java Source File *.java",
     "Java Files *.jav*", "*.java"},
    {"\n  C# Source File *.cs\n", "\n  <b>C# Source File <i>*.cs</i></b>\n",
     " ,C# Source File *.cs", "C Sharp Files *.cs", "*.cs"},
    {"\n  Other Source Files\n", "\n  <b>Other Source Files</b>\n",
     " ,Other Source Files", "Other Files", "Other"},
};

// Text, HTML and CSV list the groups in this order; XML and the profile
// put C# before Java.
constexpr int kSummaryOrder[kGroups] = {kGroupHeader, kGroupC,    kGroupCpp,
                                        kGroupJava,   kGroupCSharp, kGroupOther};
constexpr int kProfileOrder[kGroups] = {kGroupHeader, kGroupC,    kGroupCpp,
                                        kGroupCSharp, kGroupJava, kGroupOther};

void GroupBlocks(G& g, const GroupSums& t) {
  LocBlock(g, t.loc, t.eloc, t.lloc, t.comments, t.lines);
  AverageBlock(g, t.files, t.loc, t.eloc, t.lloc, t.comments, t.lines);
  FunctionPointBlock(g, t.fp[0], t.fp[1], t.fp[2]);
}

void CsvGroupRow(G& g, const char* label, const GroupSums& t) {
  if (g.opt.function_points_flag)
    Out(g, "%s, , ,%lld/%-10.1f,%lld/%-10.1f,%lld/%-10.1f,%lld,%lld,%lld\n",
        label, t.loc, t.fp[0], t.eloc, t.fp[1], t.lloc, t.fp[2], t.comments,
        t.blanks, t.lines);
  else
    Out(g, "%s, , ,%lld,%lld,%lld,%lld,%lld,%lld\n", label, t.loc, t.eloc,
        t.lloc, t.comments, t.blanks, t.lines);
}

void XmlGroup(G& g, const char* label, const GroupSums& t) {
  Out(g, "<language>\n<extension>%s</extension>\n", label);
  Out(g, "<loc>%lld</loc>\n<eloc>%lld</eloc>\n<lloc>%lld</lloc>\n", t.loc,
      t.eloc, t.lloc);
  Out(g, "<comments>%lld</comments>\n<blanks>%lld</blanks>\n", t.comments,
      t.blanks);
  Out(g, "<lines>%lld</lines>\n", t.lines);
  Out(g,
      "<function_points_loc>%.1f</function_points_loc>\n"
      "<function_points_eloc>%.1f</function_points_eloc>\n"
      "<function_points_lloc>%.1f</function_points_lloc>\n",
      t.fp[0], t.fp[1], t.fp[2]);
  Out(g, "</language>\n");
}

double Share(long long part, long long whole) {
  return whole > 0 ? 100.0 * static_cast<double>(part) / whole : 0.0;
}

// --- Directory summary ------------------------------------------------------

void DirectoryRow(G& g, const MetricsEntry& d) {
  switch (FormatOf(g)) {
    case kFormatText:
      Out(g, "  Files %d - %s\n", d.functions, d.name.c_str());
      break;
    case kFormatHtml:
      Out(g, "  <b>Files</b> %d - %s\n", d.functions,
          HtmlEscape(d.name).c_str());
      break;
    case kFormatCsv:
      Out(g, "Files,%d,%s\n", d.functions, CsvEscape(d.name).c_str());
      break;
    case kFormatXml:
      Out(g, "<directory>\n<path>%s</path>\n<files>%d</files>\n",
          XmlEscape(d.name).c_str(), d.functions);
      break;
  }
  LocBlock(g, d.loc, d.eloc, d.lloc, d.comments, d.lines);
  if (FormatOf(g) == kFormatXml) Out(g, "</directory>\n");
}

// --- File detail list -------------------------------------------------------

struct DetailValues {
  long long functions = 0, notices = 0, params = 0, returns = 0,
            cyclomatic = 0, loc = 0, eloc = 0, lloc = 0, comments = 0,
            lines = 0;
  double fp[kFpBases] = {0.0, 0.0, 0.0};

  void Add(const FileRecord& r) {
    functions += r.functions;
    notices += r.notices;
    params += r.parameters;
    returns += r.returns;
    cyclomatic += r.cyclomatic;
    loc += r.loc;
    eloc += r.eloc;
    lloc += r.lloc;
    comments += r.comments;
    lines += r.lines;
    for (int b = 0; b < kFpBases; ++b) fp[b] += r.fp[b];
  }
};

int Narrow(long long v) {
  return v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : static_cast<int>(v);
}

void DetailBlocks(G& g, const DetailValues& v) {
  QualityBlock(g, Narrow(v.functions), Narrow(v.notices), v.eloc);
  ComplexityBlock(g, Narrow(v.params), Narrow(v.returns),
                  Narrow(v.cyclomatic));
  LocBlock(g, v.loc, v.eloc, v.lloc, v.comments, v.lines);
  FunctionPointBlock(g, v.fp[0], v.fp[1], v.fp[2]);
}

// --- Benchmark --------------------------------------------------------------

void TimerBlock(G& g, const ProcessTimer& t) {
  std::string days = DayForm(t.elapsed);
  switch (FormatOf(g)) {
    case kFormatHtml:
      Out(g,
          "  <b>Process Timer</b>\n  -------------------------------\n"
          "  <b>Elapsed Time</b>   : %12.3f Sec\n"
          "                 : %12s Day:Hr:Min:Sec\n",
          t.elapsed, days.c_str());
      break;
    case kFormatXml:
      Out(g, "<benchmark_timer>\n");
      Out(g,
          "<Elapsed_Time>\n<value>%12.3f</value>\n<units>seconds</units>\n"
          "<value>%12s</value>\n<units>Day:Hr:Min:Sec</units>\n"
          "</Elapsed_Time>\n",
          t.elapsed, days.c_str());
      Out(g, "</benchmark_timer>\n");
      break;
    case kFormatText:
      Out(g,
          "  Process Timer\n  -------------------------------\n"
          "  Elapsed Time   : %12.3f Sec\n"
          "                 : %12s Day:Hr:Min:Sec\n",
          t.elapsed, days.c_str());
      break;
    case kFormatCsv:
      Out(g, "Process Timer\nElapsed Time,%12.3f,Seconds\n,%12s,Day:Hr:Min:Sec\n",
          t.elapsed, days.c_str());
      break;
  }
}

// The rates of `seconds` of processing; `shown` adds the time itself (a
// run the clock could not resolve counts as one second).
void Rates(G& g, double seconds, bool shown, long long lines,
           long long chars) {
  double n = static_cast<double>(lines) / seconds;
  double k = static_cast<double>(chars) / seconds;
  switch (FormatOf(g)) {
    case kFormatText:
    case kFormatHtml:
      if (shown)
        Out(g, "\n  Time For Processing  : %.3f s", seconds);
      Out(g,
          "\n  Performance Benchmark: %.0f Physical Lines Processed/s\n"
          "                       : %.0f Characters Parsed/s\n\n",
          n, k);
      break;
    case kFormatCsv:
      if (shown) Out(g, "\nTime For Processing,%.3f,s", seconds);
      Out(g,
          "\nPerformance Benchmark\nPhysical Lines Processed/s,%.0f\n"
          "Characters Processed/s,%.0f\n\n",
          n, k);
      break;
    case kFormatXml:
      Out(g, "<Performance_Benchmark>\n");
      if (shown)
        Out(g, "<Time_For_Processing>%.3f</Time_For_Processing>\n", seconds);
      Out(g,
          "<Physcial_Lines_Processed_per_Second>%.0f"
          "</Physcial_Lines_Processed_per_Second>\n"
          "<Characters_Processed_per_Second>%.0f"
          "</Characters_Processed_per_Second>\n",
          n, k);
      Out(g, "</Performance_Benchmark>\n");
      break;
  }
}

}  // namespace

std::string DayForm(double seconds) {
  if (!(seconds > 0.0)) seconds = 0.0;
  // Whole seconds; a run of more than 68 years is not expected.
  long long whole = static_cast<long long>(seconds);
  long long days = whole / 86400;
  whole %= 86400;
  int hours = static_cast<int>(whole / 3600);
  whole %= 3600;
  int minutes = static_cast<int>(whole / 60);
  int secs = static_cast<int>(whole % 60);
  char text[64];
  snprintf(text, sizeof text, "%lld:%02d:%02d:%02d", days, hours, minutes,
           secs);
  return text;
}

void EstimationReport(G& g) {
  const FunctionSums& s = g.fn_report.project;
  if (s.functions < 1) return;
  EstimationBasis b;
  b.functions = s.functions;
  b.loc = s.loc;
  b.eloc = s.eloc;
  b.lloc = s.lloc;
  b.comments = s.comments;
  b.params = s.params;
  b.returns = s.returns;
  b.cyclomatic = s.cyclomatic;
  switch (FormatOf(g)) {
    case kFormatText:
    case kFormatHtml:
      EstimationText(g, b);
      break;
    case kFormatCsv:
      EstimationCsv(g, b);
      break;
    case kFormatXml:
      EstimationXml(g, b);
      break;
  }
}

void LanguageSummary(G& g) {
  const LanguageSums s = SumLanguages(g);
  ReportFormat format = FormatOf(g);
  switch (format) {
    case kFormatText:
    case kFormatHtml:
      TitleBlock(g, "~~ Language Summary ~~");
      for (int group : kSummaryOrder) {
        const GroupSums& t = s.group[group];
        if (!t.Any()) continue;
        Out(g, "%s",
            format == kFormatHtml ? kGroupNames[group].html
                                  : kGroupNames[group].text);
        GroupBlocks(g, t);
      }
      Out(g, format == kFormatHtml ? "\n  <b>Total All Languages</b>\n"
                                   : "\n  Total All Languages\n");
      GroupBlocks(g, s.all);
      break;
    case kFormatCsv:
      Out(g, "\nLanguages\n");
      Out(g, g.opt.function_points_flag
                 ? ", , , , LOC/FP,eLOC/FP,lLOC/FP,Comments,Blanks,Lines\n"
                 : ", , , , LOC,eLOC,lLOC,Comments,Blanks,Lines\n");
      for (int group : kSummaryOrder)
        if (s.group[group].Any())
          CsvGroupRow(g, kGroupNames[group].csv, s.group[group]);
      CsvGroupRow(g, " ,Total All Languages", s.all);
      break;
    case kFormatXml:
      Out(g, "<report>\n<name>Language Summary</name>\n");
      for (int group : kProfileOrder) {
        const GroupSums& t = s.group[group];
        if (t.loc > 0 || t.eloc > 0 || t.lloc > 0 || t.comments > 0 ||
            t.lines > 0)
          XmlGroup(g, kGroupNames[group].xml, t);
      }
      XmlGroup(g, "Total All Languages", s.all);
      Out(g, "</report>\n");
      break;
  }
  if (format != kFormatXml || !LanguageProfileInFileSummary(g))
    LanguageProfile(g, 0);
}

void LanguageProfile(G& g, int nested) {
  const LanguageSums s = SumLanguages(g);
  const GroupSums& all = s.all;
  ReportFormat format = FormatOf(g);
  switch (format) {
    case kFormatText:
      TitleBlock(g, "~~ Total Language Profile ~~");
      Out(g,
          "\n  Language   LOC %%    eLOC %%    lLOC %%    Comments %%   "
          "Blanks %%    Lines %%\n");
      break;
    case kFormatHtml:
      TitleBlock(g, "~~ Total Language Profile ~~");
      Out(g,
          "\n  <b>Language   LOC %%    eLOC %%    lLOC %%    Comments %%   "
          "Blanks %%    Lines %%</b>\n");
      break;
    case kFormatCsv:
      Out(g, "\nTotal Language Profile (%%)\n");
      Out(g, ",Language,,,LOC,eLOC,lLOC,Comments,Blanks,Lines\n");
      break;
    case kFormatXml:
      Out(g, nested ? "<language_profile>\n" : "<report>\n");
      Out(g, "<name>Total Language Profile</name>\n");
      break;
  }
  for (int group : kProfileOrder) {
    const GroupSums& t = s.group[group];
    if (!t.Any()) continue;
    const double v[6] = {Share(t.loc, all.loc),
                         Share(t.eloc, all.eloc),
                         Share(t.lloc, all.lloc),
                         Share(t.comments, all.comments),
                         Share(t.blanks, all.blanks),
                         Share(t.lines, all.lines)};
    const char* name = kGroupNames[group].profile;
    switch (format) {
      case kFormatText:
        Out(g,
            "  %-6s     %5.1f     %5.1f     %5.1f         %5.1f      %5.1f"
            "      %5.1f\n",
            name, v[0], v[1], v[2], v[3], v[4], v[5]);
        break;
      case kFormatHtml:
        Out(g,
            "  <b>%-6s</b>     %5.1f     %5.1f     %5.1f         %5.1f      "
            "%5.1f      %5.1f\n",
            name, v[0], v[1], v[2], v[3], v[4], v[5]);
        break;
      case kFormatCsv:
        Out(g, ",%6s,,,%5.1f,%5.1f,%5.1f,%5.1f,%5.1f,%5.1f\n", name, v[0],
            v[1], v[2], v[3], v[4], v[5]);
        break;
      case kFormatXml:
        Out(g, "<language>\n<name>%s</name>\n", name);
        Out(g,
            "<loc_percent>%.1f</loc_percent>\n"
            "<eloc_percent>%.1f</eloc_percent>\n"
            "<lloc_percent>%.1f</lloc_percent>\n"
            "<comment_percent>%.1f</comment_percent>\n"
            "<blank_line_percent>%.1f</blank_line_percent>\n"
            "<lines_percent>%.1f</lines_percent>\n",
            v[0], v[1], v[2], v[3], v[4], v[5]);
        Out(g, "</language>\n");
        break;
    }
  }
  if (format == kFormatXml)
    Out(g, nested ? "</language_profile>\n" : "</report>\n");
}

bool LanguageProfileInFileSummary(const G& g) {
  const Options& o = g.opt;
  return o.xml_flag && !o.html_flag && o.totals_flag && o.totals_detail &&
         (o.totals_all || o.totals_language);
}

void DirectorySummary(G& g) {
  ReportFormat format = FormatOf(g);
  switch (format) {
    case kFormatText:
    case kFormatHtml:
      TitleBlock(g, "~~ Project Directory Summary ~~");
      Out(g, "\n");
      break;
    case kFormatCsv:
      Out(g, "\nProject Directory Summary\n");
      break;
    case kFormatXml:
      Out(g, "<report>\n<name>Project Directory Summary</name>\n");
      break;
  }
  for (const auto& d : g.directories)
    if (d->functions > 0) DirectoryRow(g, *d);
  if (format == kFormatXml) Out(g, "</report>\n");
}

void FileDetailList(G& g) {
  const bool xml = FormatOf(g) == kFormatXml;
  SortList(g.input_files, g.opt.sort_key, g);
  DetailValues total;
  for (const auto& r : g.input_files) {
    if (r->file_type < 0) continue;  // never opened
    DetailValues v;
    v.Add(*r);
    total.Add(*r);
    if (xml) Out(g, "<file_detail>\n");
    FileDetailHeader(r->name, r->mtime, r->size, g);
    DetailBlocks(g, v);
    if (xml) Out(g, "</file_detail>\n");
  }
  if (xml) Out(g, "<file_detail_total>\n");
  FileDetailHeader("Project Total", 0, static_cast<long>(g.project_bytes), g);
  DetailBlocks(g, total);
  if (xml) Out(g, "</file_detail_total>\n");
}

void BenchmarkReport(G& g) {
  g.timer.Stop();
  WriteBenchmark(g, g.timer);
}

void WriteBenchmark(G& g, const ProcessTimer& timer) {
  ReportFormat format = FormatOf(g);
  if (format == kFormatText || format == kFormatHtml) {
    Out(g, "  %s%s\n\n", kUnderscores36, kUnderscores36);
    ReportTitle(g, "~~ Performance Benchmark ~~");
    Out(g,
        "\n  A process benchmark has been determined for this metrics "
        "analysis.\n"
        "  The elapsed time for processing is effected by the I/O response "
        "of\n"
        "  standard out or the redirection device.  The fastest VEK "
        "benchmarks\n"
        "  result from redirecting the output to a file on a local file "
        "system.\n"
        "  The benchmark is intended for comparative purposes and is not "
        "designed\n"
        "  to yield a definitive result.\n\n");
  }
  TimerBlock(g, timer);
  const ProjectCounters c = ProjectView(g);
  if (!timer.resolved)
    Rates(g, 1.0, true, c.line_count, c.char_count);
  else if (c.line_count > 0)
    Rates(g, timer.elapsed, false, c.line_count, c.char_count);
}

}  // namespace vek
