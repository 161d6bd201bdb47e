#include "reports/notice_reports.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/notice_catalogue.h"
#include "common/text.h"
#include "driver/state.h"
#include "reports/file_reports.h"
#include "reports/function_records.h"
#include "reports/metrics_blocks.h"
#include "reports/output.h"
#include "udqn/udqn.h"

namespace vek {

namespace {

// The name after the last directory separator.
std::string_view BaseName(std::string_view path) {
  size_t cut = path.find_last_of("\\/");
  return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

// The recorded notices in -k order: by file name (1) or by notice number
// (8), ascending or, with -kd, descending; equal ones keep the order they
// were found in.  Other keys leave the list as it is.
void SortNotices(G& g) {
  const int key = g.opt.sort_key;
  if (key != kSortName && key != kSortNoticeCount) return;
  const bool descending = g.opt.sort_descending != 0;
  const std::vector<std::string>& files = g.notice_files;
  std::stable_sort(g.recorded_notices.begin(), g.recorded_notices.end(),
                   [&](const RecordedNotice& a, const RecordedNotice& b) {
                     const RecordedNotice& x = descending ? b : a;
                     const RecordedNotice& y = descending ? a : b;
                     if (key == kSortNoticeCount) return x.number < y.number;
                     return CaseCompare(files[x.file], files[y.file]) < 0;
                   });
}

void NoticeListEntry(G& g, const RecordedNotice& r) {
  const int number = r.number;
  const int line = r.line;
  const std::string& name = g.notice_files[r.file];
  const std::string d = notice_description(number, g);
  const std::string base(BaseName(name));
  if (g.opt.notice_gcc_flag) {
    Out(g, "%s:%d: warning: %s [VEK%03d]\n", EscapeFor(g, name).c_str(), line,
        EscapeFor(g, d).c_str(), number);
    return;
  }
  if (g.opt.notice_visual_flag) {
    Out(g, "%s(%d) : Notice #%2d - %s\n", EscapeFor(g, name).c_str(), line,
        number, EscapeFor(g, d).c_str());
    return;
  }
  switch (FormatOf(g)) {
    case kFormatCsv:
      Out(g, "%s, %2d, %d, %s\n", CsvEscape(name).c_str(), number, line,
          CsvEscape(d).c_str());
      break;
    case kFormatXml:
      Out(g,
          "<notice>\n<file>%s</file>\n<type>%d</type>\n<line>%d</line>\n"
          "<description>%s</description>\n</notice>\n",
          XmlEscape(name).c_str(), number, line, XmlEscape(d).c_str());
      break;
    case kFormatHtml:
      Out(g,
          "  <a href=\"%s\" target=\"_blank\">%s</a> - <font color=%s><b>Notice</b></font> "
          "<b>#%2d</b>: Line <b>%d</b>, %s\n",
          HtmlEscape(file_link(name, g)).c_str(), HtmlEscape(base).c_str(),
          g.cfg.color_notice.c_str(), number, line, HtmlEscape(d).c_str());
      break;
    case kFormatText:
      Out(g, "  %s - Notice #%2d: Line %d, %s\n", base.c_str(), number, line,
          d.c_str());
      break;
  }
}

void ProfileHeading(G& g, int total) {
  switch (FormatOf(g)) {
    case kFormatCsv:
      Out(g, "\nProject Quality Profile\n\n");
      Out(g, "Type,Count,Percent,Quality Notice\n");
      break;
    case kFormatXml:
      Out(g, "<report>\n<name>Project Quality Profile</name>\n");
      Out(g, "<total_notices>%d</total_notices>\n", total);
      break;
    case kFormatHtml:
    case kFormatText:
      Out(g, "\n  %s%s\n\n", kHyphens36, kHyphens36);
      ReportTitle(g, "~~ Project Quality Profile ~~");
      Out(g, "\n");
      Out(g, g.opt.html_flag ? "  <b>Type  Count Percent  Quality Notice</b>\n"
                             : "  Type  Count Percent  Quality Notice\n");
      Out(g, "  %s%s\n\n", kUnderscores36, kUnderscores36);
      break;
  }
}

// One row of the profile; the user defined notices (`user`) have their own
// CSV columns.
void ProfileRow(G& g, int number, int count, double percent,
                const std::string& description, bool user = false) {
  const Config& c = g.cfg;
  switch (FormatOf(g)) {
    case kFormatCsv:
      Out(g, user ? "%4d,%6d,%6.2f,%s\n" : "%-2d,%7d,%6.2f,%s\n", number,
          count, percent, CsvEscape(description).c_str());
      break;
    case kFormatXml:
      Out(g, "<notice>\n<type>%d</type>\n<count>%d</count>\n", number, count);
      Out(g, "<percent>%.2f</percent>\n<description>%s</description>\n</notice>\n",
          percent, XmlEscape(description).c_str());
      break;
    case kFormatHtml:
      Out(g,
          "  <b><font color=\"%s\">%-4d</font></b> <b><font color=\"%s\">%6d</font></b>"
          "  <b><font color=\"%s\">%6.2f</font></b>  <b>%s</b>\n",
          c.color_notice.c_str(), number, c.color_function.c_str(), count,
          c.color_class.c_str(), percent, HtmlEscape(description).c_str());
      break;
    case kFormatText:
      Out(g, "  %-4d %6d  %6.2f  %s\n", number, count, percent,
          description.c_str());
      break;
  }
}

void ProfileTotal(G& g, int total) {
  const Config& c = g.cfg;
  const double percent = 100.0;
  switch (FormatOf(g)) {
    case kFormatCsv:
      Out(g, "\n");
      Out(g, ",%7d,%6.2f,%s\n\n", total, percent, "Total Quality Notices");
      break;
    case kFormatXml:
      Out(g, "<notice>\n<type>All</type>\n<count>%d</count>\n", total);
      Out(g, "<percent>%.2f</percent>\n", percent);
      Out(g, "<description>Total Quality Notices</description>\n</notice>\n");
      break;
    case kFormatHtml:
      Out(g, "  %s%s\n\n", kUnderscores36, kUnderscores36);
      Out(g,
          "      <b><font color=\"%s\">%7d</font></b>  <b><font color=\"%s\">%6.2f</font></b>"
          "  <b>%s</b>\n\n",
          c.color_function.c_str(), total, c.color_class.c_str(), percent,
          "Total Quality Notices");
      break;
    case kFormatText:
      Out(g, "  %s%s\n\n", kUnderscores36, kUnderscores36);
      Out(g, "      %7d  %6.2f  %s\n\n", total, percent, "Total Quality Notices");
      break;
  }
}

void ProfileDensity(G& g, int total) {
  const FileCounters& k = g.counters;
  struct Basis {
    int count;
    const char* csv;
    const char* xml;
    const char* text;
  };
  const Basis bases[] = {
      {k.loc, "QN/K LOC,%.1f,%.2f\n", "loc", "Quality Notices/K LOC   ="},
      {k.eloc(), "QN/K eLOC,%.1f,%.2f\n", "eloc", "Quality Notices/K eLOC  ="},
      {k.lloc(), "QN/K lLOC,%.1f,%.2f\n", "lloc", "Quality Notices/K lLOC  ="},
  };
  const ReportFormat format = FormatOf(g);
  switch (format) {
    case kFormatCsv:
      Out(g, "Quality Notice (QN) Density\n");
      Out(g, "Basis,1000,(K)\n");
      Out(g, ",,  %%\n");
      break;
    case kFormatXml:
      Out(g, "<notice_density>\n");
      break;
    case kFormatHtml:
    case kFormatText:
      ReportTitle(g, "~~ Quality Notice Density ~~");
      Out(g, "  Basis: 1000 (K)\n\n");
      break;
  }
  for (const Basis& b : bases) {
    if (b.count <= 0) continue;
    const double per_k = static_cast<double>(total) / b.count * 1000.0;
    const double percent = static_cast<double>(total) / b.count * 100.0;
    switch (format) {
      case kFormatCsv:
        Out(g, b.csv, per_k, percent);
        break;
      case kFormatXml:
        Out(g,
            "<quality_notice_count_per_k_%s>%.1f</quality_notice_count_per_k_%s>\n",
            b.xml, per_k, b.xml);
        Out(g, "<quality_notice_percent_%s>%.2f</quality_notice_percent_%s>\n",
            b.xml, percent, b.xml);
        break;
      case kFormatHtml:
        Out(g, "  <b>%s</b> %10.1f (%6.2f%%)\n", b.text, per_k, percent);
        break;
      case kFormatText:
        Out(g, "  %s %10.1f (%6.2f%%)\n", b.text, per_k, percent);
        break;
    }
  }
  if (format == kFormatXml) Out(g, "</notice_density>\n</report>\n");
}

}  // namespace

void notice_list_report(G& g) {
  if (g.recorded_notices.empty()) return;
  const int count = static_cast<int>(g.recorded_notices.size());
  switch (FormatOf(g)) {
    case kFormatCsv:
      // A line of its own: the project heading before it ends without one.
      Out(g, "\n");
      Out(g, "Total Quality Notices. %d\n\n", count);
      Out(g, "Filename, Notice, Line, Description\n");
      break;
    case kFormatXml:
      Out(g, "<report>\n<name>Total Quality Notices</name>\n");
      Out(g, "<notice_count>%d</notice_count>\n", count);
      break;
    case kFormatHtml:
    case kFormatText:
      Out(g, "\n  %s%s\n\n", kHyphens36, kHyphens36);
      ReportTitle(g, "~~ Quality Notice Summary ~~");
      Out(g, "  Total Quality Notices: %d\n", count);
      break;
  }
  SortNotices(g);
  for (const RecordedNotice& r : g.recorded_notices) NoticeListEntry(g, r);
  if (FormatOf(g) == kFormatXml) Out(g, "</report>\n");
}

void quality_profile_report(G& g) {
  long long sum = udqn_total_count(g);
  for (int n = 1; n <= kNoticeCount; ++n) sum += g.notice_totals[n];
  const int total = sum > 0x7fffffff ? 0x7fffffff : static_cast<int>(sum);
  ProfileHeading(g, total);
  if (total > 0) {
    for (int n = 1; n <= kNoticeCount; ++n) {
      const int count = g.notice_totals[n];
      if (count <= 0) continue;
      ProfileRow(g, n, count, static_cast<double>(count) / total * 100.0,
                 notice_description(n, g));
    }
  }
  for (const auto& r : g.udqn.records) {
    if (!r->active || r->count <= 0 || total <= 0) continue;
    ProfileRow(g, r->id, r->count,
               static_cast<double>(r->count) / total * 100.0, r->summary, true);
  }
  ProfileTotal(g, total);
  ProfileDensity(g, total);
}

}  // namespace vek
