#include "workfiles/diff_report.h"

#include <cerrno>
#include <cstring>
#include <string>
#include <string_view>

#include "driver/state.h"
#include "workfiles/code_diff.h"
#include "reports/function_records.h"
#include "reports/function_reports.h"
#include "reports/metrics_blocks.h"
#include "reports/output.h"
#include "workfiles/metrics_diff.h"
#include "workfiles/work_file.h"

namespace vek {

namespace {

// How each metric appears in the tables, blocks and elements.
struct Column {
  const char* label;        // column label, text and HTML
  int rule;                 // hyphens under the label
  const char* csv;          // CSV column label
  const char* xml;          // element of a row, a baseline and a total
  const char* summary_xml;  // element in the state summary
  const char* block;        // label in the totals blocks, text
  const char* percent_xml;  // element in the percentage block
  const char* productivity_xml;
  const char* glossary;     // the name's line in the glossary
};

const Column kColumns[kDiffMetrics] = {
    {"    LOC", 7, ",LOC", "loc", "loc", "  LOC      ", "loc_percent", "loc",
     "LOC       - Line of Source Code\n"},
    {"    eLOC", 8, ",eLOC", "eloc", "eloc", "  eLOC     ", "eloc_percent",
     "eloc",
     "eLOC      - Effective Lines of Source Code (LOC - NonEffective LOC)\n"},
    {"    lLOC", 8, ",lLOC", "lloc", "lloc", "  lLOC     ", "lloc_percent",
     "lloc", "lLOC      - Logical Lines of Source Code (Lines ending in ;)\n"},
    {" Comment", 8, ",Comment", "comments", "comments", "  Comments ",
     "comment_percent", "comments", "Comments  - Lines that have comments\n"},
    {"  Blanks", 8, ",Blanks", "blanks", "blanks", "  Blanks   ",
     "blank_percent", "blanklines",
     "Blanks    - Lines that are blank or white space\n"},
    {"   Lines", 8, ",Lines", "lines", "lines", "  Lines    ", "line_percent",
     "lines", "Lines     - Total Physical Lines\n"},
    {"  Fcount", 8, ",Fcount", "function_count", "function_count",
     "  Fcount   ", "function_percent", "function_count",
     "Fcount    - Function Count\n"},
    {"   Cyclo", 8, ",Cyclo", "cyclomatic_complexity", "cyclomatic_complexity",
     "  Cyclo    ", "cyclomatic_complexity_percent", "cyclomatic_complexity",
     "Cyclo     - Cyclomatic Complexity (Logical Branches)\n"},
    {"   Inter", 8, ",Inter", "interface_complexity", "interface_complexity",
     "  Inter    ", "interface_complexity_percent", "interface_complexity",
     "Inter     - Interface Complexity (Parameters + Returns)\n"},
    {" Complex", 8, ",Complex", "total_complexity", "total_complexity",
     "  Complex  ", "total_complexity_percent", "total_complexity",
     "Complex   - Total Complexity (Cyclo + Inter)\n"},
    {" Quality", 8, ",Quality", "quality_notices", "notices", "  Quality  ",
     "quality_notice_percent", "quality_notices",
     "Quality   - Number of Quanity Notices\n"},
};

enum HeaderForm { kPerFile, kSummary, kProductivity };

// The sums of the entries of one state, listed or not.
struct StateSums {
  DiffSums sums[kDiffStates];
};

class DiffReport {
 public:
  DiffReport(G& g, int banner)
      : g_(g), o_(g.opt), c_(g.cfg), w_(g.workfile), banner_(banner),
        format_(FormatOf(g)) {}

  void Heading();
  void Notes();
  void WorkFiles();
  void FileRows(const List<MetricsEntry>& list);
  void StateSummary();
  void Productivity();
  void Totals();
  void Basis();
  void Glossary();
  void End();

 private:
  bool Shown(int m) const { return w_.items.shown(kMetricInfo[m].item); }
  bool PercentShown() const { return w_.items.shown(kItemElocPercent); }
  bool Text() const { return format_ == kFormatText; }
  bool Html() const { return format_ == kFormatHtml; }
  bool Csv() const { return format_ == kFormatCsv; }
  bool Xml() const { return format_ == kFormatXml; }
  const char* Based() const {
    return o_.code_diff_flag ? "Based on Code Line Differences"
                             : "Based on Code Size Differences";
  }
  const std::string& StateColor(int state) const;
  const char* Label(int state) const {
    return state == kStateModified && o_.code_diff_flag
               ? kStateLabels[kStateDifferent]
               : kStateLabels[state];
  }
  void Title(const std::string& title);
  void Rule() { Out(g_, "  %s%s\n", kHyphens36, kHyphens36); }
  void ColumnHeader(HeaderForm form);
  void Row(const MetricsEntry& e);
  void SummaryRow(int state);
  void XmlSummary(int state, const char* tag, const char* note);
  void Block(const char* title, const char* xml_tag, const DiffSums& sums);
  void PercentBlock();
  void ProductivityRow(const char* name, double divisor);
  void XmlProductivity(const char* tag, double divisor);
  void WorkTimeLines(const WorkTime& t, const char* sep, const char* per_shift);
  void BlockLabel(const char* block);
  std::string Name(std::string_view name, int width, int indent);

  G& g_;
  const Options& o_;
  const Config& c_;
  WorkFileState& w_;
  int banner_;
  ReportFormat format_;
  StateSums state_;
};

const std::string& DiffReport::StateColor(int state) const {
  switch (state) {
    case kStateNew: return c_.color_new_code_diff;
    case kStateRemoved: return c_.color_removed_code_diff;
    case kStateModified: return c_.color_modified_code_diff;
    case kStateEqual: return c_.color_equal_code_diff;
    default: return c_.color_total;
  }
}

std::string DiffReport::Name(std::string_view name, int width, int indent) {
  switch (format_) {
    case kFormatHtml: return HtmlEscape(wrap_name(name, width, indent, g_));
    case kFormatXml: return XmlEscape(name);
    case kFormatCsv: return CsvEscape(name);
    default: return wrap_name(name, width, indent, g_);
  }
}

void DiffReport::Title(const std::string& title) {
  switch (format_) {
    case kFormatText: Out(g_, "\n  %s\n", title.c_str()); break;
    case kFormatHtml:
      Out(g_, "\n  <b><font color=\"%s\">%s</font></b>\n",
          c_.color_header.c_str(), title.c_str());
      break;
    case kFormatCsv: Out(g_, "\n%s\n", title.c_str()); break;
    case kFormatXml: Out(g_, "<note>%s</note>\n", title.c_str()); break;
  }
}

void DiffReport::Heading() {
  const char* based =
      o_.code_diff_flag ? "Based On Code Difference" : "Based On Code Size";
  switch (format_) {
    case kFormatCsv:
      if (banner_) write_csv_head(g_.report_stream, g_);
      Out(g_, "Metrics Differential\n%s\n", based);
      break;
    case kFormatXml:
      if (banner_) write_xml_head(g_.report_stream, g_);
      Out(g_, "<report>\n<name>baseline_differential_metrics</name>\n");
      break;
    default:
      if (banner_) write_head(g_.report_stream, g_, 0);
      Out(g_, "\n  %s%s\n\n", kHyphens36, kHyphens36);
      section_banner(g_, "Metrics Differential");
      if (Html()) {
        center_html_line(g_, std::string("<b><font color=\"") +
                                 c_.color_header + "\">" + based + "</font></b>",
                         based);
      } else {
        center_line(g_, based);
      }
      break;
  }
  SortedByLine(g_);
}

void DiffReport::Notes() {
  auto note = [&](const char* text) {
    if (Xml())
      Out(g_, "<note>%s</note>\n", text);
    else
      Out(g_, "%s\n", text);
  };
  if (o_.skip_new) note("New files are not processed for this report");
  if (o_.skip_removed) note("Removed files are not processed for this report");
  if (o_.skip_modified) note("Modified files are not processed for this report");
  if (o_.skip_equal) note("Equal files are not processed for this report");
  if (o_.code_diff_flag && (o_.diff_details || o_.workfile_deterministic)) {
    if (!c_.show_equal_lines)
      note("Not showing equal lines between older and present baselines");
    if (!c_.show_added_lines)
      note("Not showing modified lines to the present baseline");
    if (!c_.show_removed_lines)
      note("Not showing removed lines from the older baseline");
  }
}

void DiffReport::WorkFiles() {
  const WorkTime& t = w_.work;
  Dhms d = SplitSeconds(t.delta_seconds);
  std::string dhms = DhmsText(d);
  std::string older_date = Ctime24(static_cast<time_t>(w_.older_time));
  std::string newer_date = Ctime24(static_cast<time_t>(w_.newer_time));
  const int days_week = c_.work_days_per_week;
  if (Xml()) {
    Out(g_, "<older_work_file>\n<name>%s</name>\n<date>%s</date>\n</older_work_file>\n",
        XmlEscape(w_.older_path).c_str(), older_date.c_str());
    Out(g_, "<newer_work_file>\n<name>%s</name>\n<date>%s</date>\n</newer_work_file>\n",
        XmlEscape(w_.newer_path).c_str(), newer_date.c_str());
    Out(g_, "<work_time_differential>\n<delta_seconds>%.0f</delta_seconds>\n",
        t.delta_seconds);
    Out(g_, "<days>%lld</days>\n<hours>%d</hours>\n<minutes>%d</minutes>\n"
            "<seconds>%d</seconds>\n<dhms>%s</dhms>\n",
        d.days, d.hours, d.minutes, d.seconds, dhms.c_str());
    Out(g_, "<work_time>\n<calendar_days>%.2f</calendar_days>\n", t.calendar_days);
    struct Basis { int value; const char* note; };
    auto element = [&](const char* tag, double value,
                       std::initializer_list<Basis> basis) {
      Out(g_, "<%s>\n<value>%.2f</value>\n", tag, value);
      for (const Basis& b : basis)
        Out(g_, "<basis>\n<value>%d</value>\n<note>%s</note>\n</basis>\n",
            b.value, b.note);
      Out(g_, "</%s>\n", tag);
    };
    element("work_days", t.work_days, {{days_week, "Work Days Per Week"}});
    element("man_hours", t.man_hours,
            {{c_.work_hours_per_shift, "Hours per shift"},
             {c_.work_shifts_per_day, "Shifts per day"}});
    element("man_days", t.man_days, {{c_.work_hours_per_man_day, "Hours per man day"}});
    element("man_weeks", t.man_weeks,
            {{c_.work_hours_per_man_week, "Hours per man week"}});
    element("man_months", t.man_months,
            {{c_.work_hours_per_man_month, "Hours per man month"}});
    element("man_years", t.man_years,
            {{c_.work_hours_per_man_year, "Hours per man years"}});
    Out(g_, "</work_time>\n</work_time_differential>\n");
    return;
  }
  if (Csv()) {
    Out(g_, "Older Work File %s\n", CsvEscape(w_.older_path).c_str());
    Out(g_, "Creation Date %s\n", older_date.c_str());
    Out(g_, "Newer Work File %s\n", CsvEscape(w_.newer_path).c_str());
    Out(g_, "Creation Date %s\n", newer_date.c_str());
    Out(g_, "Work Time Differential Between Files\n");
    Out(g_, "Time Delta %12.0f Seconds or %s Days:Hrs:Min:Sec\n",
        t.delta_seconds, dhms.c_str());
    if (!o_.show_productivity) return;
    Out(g_, "\nWork Time\n");
    WorkTimeLines(t, ",", ",");
    return;
  }
  Out(g_, "\n");
  if (Html()) {
    const char* old_color = c_.color_old_file_diff.c_str();
    const char* new_color = c_.color_new_file_diff.c_str();
    Out(g_, "  <b><font color=\"%s\">Older Work File</font>: %s</b>\n", old_color,
        HtmlEscape(w_.older_path).c_str());
    Out(g_, "  <b><font color=\"%s\">Creation Date</font>  : %s</b>\n", old_color,
        older_date.c_str());
    Out(g_, "  <b><font color=\"%s\">Newer Work File</font>: %s</b>\n", new_color,
        HtmlEscape(w_.newer_path).c_str());
    Out(g_, "  <b><font color=\"%s\">Creation Date</font>  : %s</b>\n", new_color,
        newer_date.c_str());
    Out(g_, "\n  <b><font color=\"%s\">Work Time Differential Between Files:</font></b>\n",
        c_.color_header.c_str());
    Out(g_, "  <b>Time Delta:</b> %12.0f Seconds\n                %s Days:Hrs:Min:Sec\n",
        t.delta_seconds, dhms.c_str());
  } else {
    Out(g_, "  Older Work File: %s\n", w_.older_path.c_str());
    Out(g_, "  Creation Date  : %s\n", older_date.c_str());
    Out(g_, "  Newer Work File: %s\n", w_.newer_path.c_str());
    Out(g_, "  Creation Date  : %s\n", newer_date.c_str());
    Out(g_, "\n  Work Time Differential Between Files:\n");
    Out(g_, "  Time Delta: %12.0f Seconds\n                %s Days:Hrs:Min:Sec\n",
        t.delta_seconds, dhms.c_str());
  }
  if (!o_.show_productivity) return;
  Out(g_, Html() ? "\n  <b>Work Time</b>:" : "\n  Work Time:");
  WorkTimeLines(t, " ", Html() ? " x " : " ");
}

// The work time estimate, a line per unit: CSV puts a comma between a
// figure and its label, text and HTML a blank.
void DiffReport::WorkTimeLines(const WorkTime& t, const char* sep,
                               const char* per_shift) {
  Out(g_, "%12.2f%sCalendar Days\n", t.calendar_days, sep);
  Out(g_, "%12.2f%sWork Days @ %d work days per week\n", t.work_days, sep,
      c_.work_days_per_week);
  Out(g_, "%12.2f%sMan Hours @ %d Hrs per Shift%s%d%sShifts per Day\n",
      t.man_hours, sep, c_.work_hours_per_shift, per_shift,
      c_.work_shifts_per_day, sep);
  Out(g_, "%12.2f%sMan Days  @ %d Hrs per Man Day\n", t.man_days, sep,
      c_.work_hours_per_man_day);
  Out(g_, "%12.2f%sMan Weeks @ %d Hrs per Man Week\n", t.man_weeks, sep,
      c_.work_hours_per_man_week);
  Out(g_, "%12.2f%sMan Month @ %d Hrs per Man Month\n", t.man_months, sep,
      c_.work_hours_per_man_month);
  Out(g_, "%12.2f%sMan Years @ %d Hrs per Man Year\n", t.man_years, sep,
      c_.work_hours_per_man_year);
}

void DiffReport::ColumnHeader(HeaderForm form) {
  if (Xml()) return;
  std::string labels = Csv() ? "State" : "  State";
  size_t rule = 7;
  for (int m = 0; m < kDiffMetrics; ++m) {
    if (!Shown(m)) continue;
    labels += Csv() ? kColumns[m].csv : kColumns[m].label;
    rule += kColumns[m].rule;
  }
  if (PercentShown()) {
    if (form == kPerFile) {
      labels += Csv() ? ",eLOC%" : "    eLOC%";
      rule += 5;
    } else {
      labels += Csv() ? ",Av.eLOC%" : " Av.eLOC%";
      rule += 7;
    }
  }
  if (form == kPerFile) {
    labels += Csv() ? ",File" : " File";
    rule += 7;
  } else if (form == kSummary) {
    labels += Csv() ? ",Files" : "   Files";
    rule += 8;
  }
  if (Csv()) {
    Out(g_, "%s\n", labels.c_str());
    return;
  }
  if (Html())
    Out(g_, "<b>%s</b>\n", labels.c_str());
  else
    Out(g_, "%s\n", labels.c_str());
  if (rule < 79)
    Rule();
  else
    Out(g_, "%s\n", std::string(rule, '-').c_str());
}

void DiffReport::Row(const MetricsEntry& e) {
  const char* label = Label(e.state);
  if (Xml()) {
    std::string tag = e.state == kStateModified ? "mod" : Lower(kStateLabels[e.state]);
    Out(g_, "<%s>\n<file>%s</file>\n", tag.c_str(), XmlEscape(e.name).c_str());
    for (int m = 0; m < kDiffMetrics; ++m)
      if (Shown(m))
        Out(g_, "<%s>%d</%s>\n", kColumns[m].xml, e.*kMetricInfo[m].field,
            kColumns[m].xml);
    if (PercentShown())
      Out(g_, "<eloc_change_percent>%.2f</eloc_change_percent>\n",
          e.change_percent);
    Out(g_, "</%s>\n", tag.c_str());
    return;
  }
  const char* count = Csv() ? ",%7d" : " %7d";
  if (Csv())
    Out(g_, "%s", label);
  else if (Html())
    Out(g_, "<font color=\"%s\"><b>  %s </b></font>", StateColor(e.state).c_str(),
        label);
  else
    Out(g_, "  %s ", label);
  for (int m = 0; m < kDiffMetrics; ++m)
    if (Shown(m)) Out(g_, count, e.*kMetricInfo[m].field);
  if (PercentShown()) Out(g_, Csv() ? ",%8.2f" : " %8.2f", e.change_percent);
  Out(g_, Csv() ? ",%s\n" : " %s\n", Name(e.name, 40, 56).c_str());
}

void DiffReport::FileRows(const List<MetricsEntry>& list) {
  bool rows = !o_.totals_workdiff;
  if (rows) {
    Title(std::string("File Metrics Differentials ") + Based());
    ColumnHeader(kPerFile);
  }
  for (const auto& e : list) {
    int state = e->state >= 0 && e->state < kDiffStates ? e->state : 0;
    DiffSums& s = state_.sums[state];
    ++s.files;
    for (int m = 0; m < kDiffMetrics; ++m) s.metric[m] += (*e).*kMetricInfo[m].field;
    s.size += e->size;
    s.percent_sum += e->change_percent;
    if (rows && !IsHidden(*e)) Row(*e);
  }
}

void DiffReport::SummaryRow(int state) {
  const DiffSums& s = state_.sums[state];
  const char* label = Label(state);
  const char* count = Csv() ? ",%7lld" : " %7lld";
  if (Csv())
    Out(g_, "%s ", label);
  else if (Html())
    Out(g_, "  <b><font color=%s>%-4s</font></b>", StateColor(state).c_str(), label);
  else
    Out(g_, "  %-3s ", label);
  for (int m = 0; m < kDiffMetrics; ++m)
    if (Shown(m)) Out(g_, count, s.metric[m]);
  if (PercentShown())
    Out(g_, Csv() ? ",%8.2f" : " %8.2f",
        s.files > 0 ? s.percent_sum / static_cast<double>(s.files) : 0.0);
  Out(g_, count, s.files);
  Out(g_, "\n");
}

void DiffReport::XmlSummary(int state, const char* tag, const char* note) {
  const DiffSums& s = state_.sums[state];
  Out(g_, "<%s>\n<note>%s</note>\n", tag, note);
  for (int m = 0; m < kDiffMetrics; ++m)
    if (Shown(m))
      Out(g_, "<%s>%lld</%s>\n", kColumns[m].summary_xml, s.metric[m],
          kColumns[m].summary_xml);
  if (PercentShown())
    Out(g_, "<eloc_percent_difference>%.2f</eloc_percent_difference>\n",
        s.files > 0 ? s.percent_sum / static_cast<double>(s.files) : 0.0);
  Out(g_, "<files>%lld</files>\n</%s>\n", s.files, tag);
}

void DiffReport::StateSummary() {
  if (Xml()) {
    Out(g_, "<total_differentials>\n<name>%s</name>\n",
        o_.code_diff_flag ? "Source Metrics Code Differential"
                          : "Source Metrics Size Differential");
    if (!o_.skip_new)
      XmlSummary(kStateNew, "new", "Size metrics for new baseline files");
    if (!o_.skip_removed)
      XmlSummary(kStateRemoved, "removed", "Size metrics for removed baseline files");
    if (!o_.skip_equal)
      XmlSummary(kStateEqual, "equal", "Size metrics for unchanged baseline files");
    if (!o_.skip_modified) {
      if (o_.code_diff_flag)
        XmlSummary(kStateModified, "differential_by_code",
                   "Differential code metrics for changed baseline files");
      else
        XmlSummary(kStateModified, "modified_by_size",
                   "Size metrics for changed baseline files");
    }
    Out(g_, "</total_differentials>\n");
    return;
  }
  Title(std::string("Source Metrics Differential Profile ") + Based());
  ColumnHeader(kSummary);
  if (!o_.skip_new) SummaryRow(kStateNew);
  if (!o_.skip_removed) SummaryRow(kStateRemoved);
  // HTML lists the equal files before the modified ones.
  if (Html() && !o_.skip_equal) SummaryRow(kStateEqual);
  if (!o_.skip_modified) SummaryRow(kStateModified);
  if (!Html() && !o_.skip_equal) SummaryRow(kStateEqual);
}

void DiffReport::ProductivityRow(const char* name, double divisor) {
  const char* value = Csv() ? ",%7.0f" : " %7.0f";
  if (Csv())
    Out(g_, "%s", kStateLabels[kStateTotal]);
  else if (Html())
    Out(g_, "<font color=\"%s\"><b>  %s </b></font>", c_.color_total.c_str(),
        kStateLabels[kStateTotal]);
  else
    Out(g_, "  %s ", kStateLabels[kStateTotal]);
  for (int m = 0; m < kDiffMetrics; ++m)
    if (Shown(m))
      Out(g_, value, static_cast<double>(w_.difference.metric[m]) / divisor);
  // The percentage column has no rate.
  if (PercentShown()) Out(g_, Csv() ? "," : " %8s", "");
  Out(g_, Csv() ? ",%s\n" : " %s\n", name);
}

void DiffReport::XmlProductivity(const char* tag, double divisor) {
  Out(g_, "<%s>\n", tag);
  for (int m = 0; m < kDiffMetrics; ++m)
    if (Shown(m))
      Out(g_, "<%s>%7.0f</%s>\n", kColumns[m].productivity_xml,
          static_cast<double>(w_.difference.metric[m]) / divisor,
          kColumns[m].productivity_xml);
  Out(g_, "</%s>\n", tag);
}

void DiffReport::Productivity() {
  const WorkTime& t = w_.work;
  const bool possible = t.man_hours >= 1.0;
  if (Xml()) {
    if (!possible) return;
    Out(g_, "<productivity_estimate>\n");
    XmlProductivity("totals_man_hour", t.man_hours);
    XmlProductivity("totals_man_days", t.man_days);
    XmlProductivity("totals_man_week", t.man_weeks);
    XmlProductivity("totals_man_month", t.man_months);
    Out(g_, "</productivity_estimate>\n");
    return;
  }
  if (!o_.show_productivity) return;
  if (!possible) {
    if (Html())
      Out(g_, "\n  <b><font color=\"%s\">Productivity Estimate</font> cannot be "
              "calculated on Man Hours < 1.0</b>\n",
          c_.color_header.c_str());
    else if (Csv())
      Out(g_, "\nProductivity Estimate cannot be calculated on Man Hours < 1.0\n");
    else
      Out(g_, "\n  Productivity Estimate cannot be calculated on Man Hours < 1.0\n");
    return;
  }
  if (Html())
    Out(g_, "\n  <b><font color=\"%s\">Productivity Estimate</font></b>\n",
        c_.color_header.c_str());
  else
    Out(g_, Csv() ? "\nProductivity Estimate\n" : "\n  Productivity Estimate\n");
  ColumnHeader(kProductivity);
  ProductivityRow("Per Man Hour", t.man_hours);
  ProductivityRow("Per Man Day", t.man_days);
  ProductivityRow("Per Man Week", t.man_weeks);
  ProductivityRow("Per Man Month", t.man_months);
  ProductivityRow("Per Man Year", t.man_years);
}

void DiffReport::BlockLabel(const char* block) {
  std::string_view text = block;
  std::string_view word = text.substr(2, text.find(' ', 2) - 2);
  if (Csv()) {
    Out(g_, "%.*s,", static_cast<int>(word.size()), word.data());
  } else if (Html()) {
    Out(g_, "  <b>%.*s</b>%s", static_cast<int>(word.size()), word.data(),
        block + 2 + word.size());
  } else {
    Out(g_, "%s", block);
  }
}

void DiffReport::Block(const char* title, const char* xml_tag,
                       const DiffSums& sums) {
  if (Xml()) {
    Out(g_, "<%s>\n<file_count>%lld</file_count>\n", xml_tag, sums.files);
    for (int m = 0; m < kDiffMetrics; ++m)
      if (Shown(m))
        Out(g_, "<%s>%lld</%s>\n", kColumns[m].xml, sums.metric[m], kColumns[m].xml);
    Out(g_, "</%s>\n", xml_tag);
    return;
  }
  Title(title);
  if (!Csv()) Rule();
  if (Csv())
    Out(g_, "Files,%7lld\n", sums.files);
  else
    Out(g_, Html() ? "  <b>Files</b>    %7lld\n" : "  Files    %7lld\n", sums.files);
  for (int m = 0; m < kDiffMetrics; ++m) {
    if (!Shown(m)) continue;
    BlockLabel(kColumns[m].block);
    Out(g_, "%7lld\n", sums.metric[m]);
  }
}

void DiffReport::PercentBlock() {
  const DiffSums& n = w_.newer;
  const DiffSums& o = w_.older;
  if (Xml()) {
    Out(g_, "<total_metrics_size_differential_percent>\n");
    Out(g_, "<file_count_percent>%.2f</file_count_percent>\n",
        PercentChange(n.files, o.files));
    for (int m = 0; m < kDiffMetrics; ++m)
      if (Shown(m))
        Out(g_, "<%s>%.2f</%s>\n", kColumns[m].percent_xml,
            PercentChange(n.metric[m], o.metric[m]), kColumns[m].percent_xml);
    Out(g_, "</total_metrics_size_differential_percent>\n");
    return;
  }
  Title(Text() ? "Total Metrics Size Differential Percdent = [(new-old)/old * 100]"
               : "Total Metrics Size Differential Percent = [(new-old)/old * 100]");
  if (!Csv()) Rule();
  double files = PercentChange(n.files, o.files);
  if (Csv())
    Out(g_, "Files,%7.2f %%\n", files);
  else
    Out(g_, Html() ? "  <b>Files</b>    %7.2f %%\n" : "  Files    %7.2f %%\n", files);
  for (int m = 0; m < kDiffMetrics; ++m) {
    if (!Shown(m)) continue;
    BlockLabel(kColumns[m].block);
    Out(g_, "%7.2f %%\n", PercentChange(n.metric[m], o.metric[m]));
  }
}

void DiffReport::Totals() {
  Block("Total Metrics Newer Source Files", "metrics_newer_work_files", w_.newer);
  Block("Total Metrics Older Source Files", "metrics_older_work_files", w_.older);
  DiffSums difference = w_.difference;
  difference.files = w_.newer.files - w_.older.files;
  Block("Total Metrics Size Differential (new-old)",
        "total_metrics_size_differential", difference);
  PercentBlock();
}

void DiffReport::Basis() {
  if (!o_.show_basis || Xml()) return;
  Title("Work Time Basis");
  if (!Csv()) Rule();
  static const char* const kFormula[][2] = {
      {"Calendar Days", "           = Delta Time (s) / Seconds per Day\n"},
      {"Work Days", "               = Calendar Days * (Work Days per Week / 7 Days per Week)\n"},
      {"Man Hours", "               = Work Days * Work Hours per Shift * Shifts per Day\n"},
      {"Man Days", "                = Man Hours / Hours per Man Day\n"},
      {"Man Weeks", "               = Man Hours / Hours per Man Week\n"},
      {"Man Months", "              = Man Hours / Hours per Man Month\n"},
      {"Man Years", "               = Man Hours / Hours per Man Years\n"},
  };
  for (const auto& line : kFormula)
    Out(g_, Html() ? "  <b>%s</b>%s" : "  %s%s", line[0], line[1]);
  const struct {
    const char* text;
    int value;
  } settings[] = {
      {"Work Seconds per Hour   : %d\n", c_.work_seconds_per_hour},
      {"Work Hours per Shift    : %d\n", c_.work_hours_per_shift},
      {"Work Shifts per Day     : %d\n", c_.work_shifts_per_day},
      {"Work Days per Week      : %d\n", c_.work_days_per_week},
      {"Work Hours per Man Day  : %d\n", c_.work_hours_per_man_day},
      {"Work Hours per Man Week : %d\n", c_.work_hours_per_man_week},
      {"Work Hours per Man Month: %d\n", c_.work_hours_per_man_month},
      {"Work Hours per Man Year : %d\n", c_.work_hours_per_man_year},
  };
  Out(g_, "\n");
  for (const auto& s : settings) {
    Out(g_, "  ");
    Out(g_, s.text, s.value);
  }
}

void DiffReport::Glossary() {
  if (!o_.show_glossary || Xml()) return;
  Title("Metrics Differential Glossary");
  if (!Csv()) Rule();
  if (o_.code_diff_flag) {
    Out(g_, "\n  Note: Lines in the older baseline which are not present in the\n"
            "  current baseline are considered removed lines.  The VEK configuration\n");
    Out(g_, c_.removed_as_modified
                ? "  file is set to add these line to the Dif metrics shown on this report.\n"
                : "  file is set to not include these lines in the Dif metrics shown on\n"
                  "  this report.\n");
  }
  auto entry = [&](const char* name, const char* text) {
    Out(g_, Html() ? "  <b>%s</b>%s" : "  %s%s", name, text);
  };
  Out(g_, "\n");
  if (!o_.skip_new)
    entry("New", "       - Files only in the newer baseline\n");
  if (!o_.skip_removed)
    entry("Rem", "       - Files only in the older baseline (removed files)\n");
  if (!o_.skip_equal)
    entry("Equ", o_.code_diff_flag
                     ? "       - Lines equal in both baselines of a file\n"
                     : "       - Files in both baselines with no count changed\n");
  if (!o_.skip_modified) {
    if (o_.code_diff_flag)
      entry("Dif", "       - Lines changed or added in the newer baseline of a file\n");
    else
      entry("Mod", "       - Files in both baselines with a count changed\n");
  }
  if (o_.code_diff_flag)
    entry("LCS", "       - Longest Common Subsequence, the line comparison\n");
  for (int m = 0; m < kDiffMetrics; ++m) {
    if (!Shown(m)) continue;
    std::string_view text = kColumns[m].glossary;
    size_t end = text.find(' ');
    entry(std::string(text.substr(0, end)).c_str(),
          std::string(text.substr(end)).c_str());
  }
}

void DiffReport::End() {
  if (Xml())
    Out(g_, "</report>\n");
  else if (Text() && banner_)
    Rule();
}

}  // namespace

int run_metrics_diff(G& g, const std::string& older, const std::string& newer,
                     int banner) {
  const Options& o = g.opt;
  WorkFileState& w = g.workfile;
  const bool progress = o.output_file_flag || o.diff_verbose;
  if (progress) {
    Progress(g, "Work File Differential Extraction\n");
    Progress(g, "Loading Report Configuration: %s\n",
             g.paths.workdiff_cfg_file.c_str());
  }
  w.older_path = older;
  w.newer_path = newer;

  DiffReport report(g, banner);
  report.Heading();
  // A message about the configuration goes inside the report.
  load_diff_items(g.paths.workdiff_cfg_file, w.items, g);
  if (o.code_diff_flag) {
    for (int item : {kItemFunctions, kItemCyclomatic, kItemInterface,
                     kItemTotalComplexity, kItemNotices})
      w.items.item[item].shown = 0;
    if (g.cfg.ignore_diff_blank_lines) w.items.item[kItemBlanks].shown = 0;
  }
  report.Notes();

  List<MetricsEntry> older_list, newer_list, diff_list;
  WorkFileHeader older_head, newer_head;
  if (progress) Progress(g, "  Loading Older Work File: %s\n", older.c_str());
  bool loaded = load_work_file(older, older_head, older_list, g) != 0;
  if (!loaded)
    Out(g, "\n  Error: Failed to load work file, %s\n", EscapeFor(g, older).c_str());
  if (progress) Progress(g, "  Loading Newer Work File: %s\n", newer.c_str());
  if (load_work_file(newer, newer_head, newer_list, g) == 0) {
    Out(g, "\n  Error: Failed to load work file, %s\n", EscapeFor(g, newer).c_str());
    loaded = false;
  }
  int status = w.input_faults > 0 || !loaded ? 1 : 0;

  if (loaded) {
    w.older_time = older_head.created;
    w.newer_time = newer_head.created;
    double delta = static_cast<double>(w.newer_time - w.older_time);
    if (delta < 0)
      Out(g, "\n  Warning: The older work file was created after the present "
             "work file.\n\n");
    auto yes = [](int v) { return v ? "Yes" : "No"; };
    const char* kMismatch =
        "\n  Error: The older and current work files have not been\n"
        "         created with the same constraints.  These settings are\n"
        "         located in the VEK configuration file.\n"
        "         Older Work File: %s - %s\n"
        "         Newer Work File: %s - %s\n"
        "         This condition will create erroneous metrics.\n";
    bool mismatch = false;
    if (older_head.ignore_blank_lines != newer_head.ignore_blank_lines) {
      Out(g, kMismatch, "Ignore Blank Lines", yes(older_head.ignore_blank_lines),
          "Ignore Blank Lines", yes(newer_head.ignore_blank_lines));
      mismatch = true;
    }
    if (older_head.ignore_white_space != newer_head.ignore_white_space) {
      Out(g, kMismatch, "Ignore White Space", yes(older_head.ignore_white_space),
          "Ignore White Space", yes(newer_head.ignore_white_space));
      mismatch = true;
    }
    if (mismatch) {
      // The report stops here, but closes its elements.
      if (o.xml_flag) Out(g, "</report>\n");
      return 1;
    }
    w.work = ComputeWorkTime(delta, g.cfg);
    report.WorkFiles();

    DiffOptions options;
    options.case_sensitive = g.cfg.case_sensitive != 0;
    options.code_diff = o.code_diff_flag != 0;
    options.removed_as_modified = g.cfg.removed_as_modified != 0;
    options.skip_equal = o.skip_equal;
    options.skip_modified = o.skip_modified;
    options.skip_new = o.skip_new;
    options.skip_removed = o.skip_removed;
    if (options.code_diff && !w.compare_lines) w.compare_lines = compare_file_lines;
    if (options.code_diff && !w.compare_lines) {
      const char* text =
          "The line data of the code differential is not compared by this "
          "build; its line counts are 0";
      if (o.xml_flag)
        Out(g, "<note>%s</note>\n", text);
      else
        Out(g, "\n  Note: %s\n", text);
    }
    if (progress) {
      if (g.cfg.progress_by_name)
        Progress(g, "  Processing %d Files - Status By File Name\n",
                 static_cast<int>(older_list.count()));
      else
        Progress(g, "  Processing %d Files - Status(.) %d Files\n  ",
                 static_cast<int>(older_list.count()),
                 g.cfg.progress_interval > 0 ? g.cfg.progress_interval : 1);
    }
    if (!CompareBaselines(older_list, newer_list, diff_list, w.items, options,
                          w, &g)) {
      Out(g, "  Memory Error: %s\n", strerror(ENOMEM));
      status = 1;
    }
    // Line data that could not be read leave their files' counts 0.
    if (w.input_faults > 0) status = 1;
    if (progress) Progress(g, "(100%%)\n  Reporting Differentials\n");
    if (o.sort_key > kSortNone && o.sort_key < kSortKeys)
      SortList(diff_list, o.sort_key, g);
    report.FileRows(diff_list);
  }
  report.StateSummary();
  report.Productivity();
  report.Totals();
  report.Basis();
  if (o.code_diff_flag && o.diff_details) write_code_diff_glossary(g);
  report.Glossary();
  report.End();
  if (progress)
    Progress(g, "  %d Older Work Files\n  %d Newer Work Files\n"
                "  Work File Differential Extraction Complete\n",
             static_cast<int>(older_list.count()),
             static_cast<int>(newer_list.count()));
  return status;
}

void show_report_config(G& g) {
  DiffItems items;
  const std::string& path = g.opt.report_cfg_file;
  if (path.empty())
    ShowAllItems(items);
  else
    load_diff_items(path, items, g);
  static const char* const kTemplate[] = {
      "# VEK CSV file metrics",
      "#",
      "# This output is a template for creating a configurable CSV report.",
      "# Specify Yes or No to the data types shown in this template.",
      "# You must create a report configuration file from this template",
      "# by rerouting this output to a file.  All lines beginning with #",
      "# are comments.",
      "#",
      "# For Example:",
      "#     vek -hc > /proj/reports/my_metrics.cfg",
      "#",
      "# Edit this configuration file to specify the desired data and order",
      "# of the data.  The resultant CSV report can be imported into",
      "# Microsoft Excel.",
      "#",
      "# Use VEK with the -X option to process this configuration file",
      "# into a CSV report.",
      "#",
      "#     vek -X \"File CSV my_metrics.cfg\" -O my_metrics.csv",
      "#",
  };
  for (const char* line : kTemplate) Out(g, "%s\n", line);
  for (int n = 1; n < kDataFields; ++n)
    Out(g, "%-40s: %s\n", kDataFieldNames[n], items.shown(n) ? "On" : "Off");
  Out(g, "# End of report configuration\n");
}

}  // namespace vek
