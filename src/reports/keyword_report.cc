#include "reports/keyword_report.h"

#include <cstdarg>
#include <cstdio>
#include <string>
#include <string_view>

#include "driver/state.h"
#include "reports/file_reports.h"
#include "reports/metrics_blocks.h"
#include "reports/output.h"

namespace vek {

namespace {

// The left column is padded to this width; its entries are 37 characters
// wide, so in practice the right column starts right after them.
constexpr int kLeftWidth = 36;

// Writes the two-column lines of the keyword report.  A label is the text
// up to and including its dots and colon; in HTML its words are bold and
// the section heads take the header colour.
class TwoColumns {
 public:
  explicit TwoColumns(G& g) : g_(g), html_(FormatOf(g) == kFormatHtml) {}

  void LeftHead(const char* head) {
    PadLeft(Head(head), std::string_view(head).size());
  }
  void LeftOne(const char* label, long long v) { Left(label, "%12lld", v); }
  void LeftTwo(const char* label, long long a, long long b) {
    Left(label, "%6lld,%5lld", a, b);
  }

  void RightHead(const char* head) { Out(g_, "%s\n", Head(head).c_str()); }
  void RightOne(const char* label, long long v) {
    Right(label, "%13lld\n", v);
  }
  void RightTwo(const char* label, long long a, long long b) {
    Right(label, "%6lld,%6lld\n", a, b);
  }
  void RightThree(const char* label, long long a, long long b, long long c) {
    Right(label, "%6lld,%3lld,%2lld\n", a, b, c);
  }
  void RightPercents(const char* label, double a, double b) {
    Right(label, "%5.1f%%,%5.1f%%\n", a, b);
  }

 private:
  // "  words .....: " becomes "  <b>words</b> .....: " in HTML.
  std::string Label(std::string_view label) const {
    if (!html_) return std::string(label);
    size_t words_end = label.find_last_not_of(" .:") + 1;
    return "  <b>" + std::string(label.substr(2, words_end - 2)) + "</b>" +
           std::string(label.substr(words_end));
  }

  std::string Head(std::string_view head) const {
    if (!html_) return std::string(head);
    return "  <b><font color=\"" + g_.cfg.color_header + "\">" +
           std::string(head.substr(2)) + "</font></b>";
  }

  void PadLeft(const std::string& shown, size_t plain_width) {
    int pad = kLeftWidth - static_cast<int>(plain_width);
    Out(g_, "%s%*s", shown.c_str(), pad > 0 ? pad : 0, "");
  }

  // `this` counts as the first argument of the format attribute.
  __attribute__((format(printf, 3, 4))) void Left(const char* label,
                                                  const char* fmt, ...) {
    char value[64];
    va_list ap;
    va_start(ap, fmt);
    int n = vsnprintf(value, sizeof value, fmt, ap);
    va_end(ap);
    size_t width = std::string_view(label).size() + (n > 0 ? n : 0);
    PadLeft(Label(label) + value, width);
  }

  __attribute__((format(printf, 3, 4))) void Right(const char* label,
                                                   const char* fmt, ...) {
    Out(g_, "%s", Label(label).c_str());
    va_list ap;
    va_start(ap, fmt);
    vfprintf(g_.report_stream, fmt, ap);
    va_end(ap);
  }

  G& g_;
  bool html_;
};

// The shares the Analysis column and the XML form print.
struct Shares {
  long long logical = 0;  // LOC + comment lines + blank lines
  double loc = 0, eloc = 0, comments = 0, blanks = 0;  // of logical lines
  double characters = 0, spaces = 0;                   // of all characters
  long long chars_per_nonblank_line = 0;
};

Shares SharesOf(const ProjectCounters& c) {
  Shares s;
  s.logical = c.loc + c.comment_lines + c.blank_lines;
  s.loc = SafeRatio(c.loc, s.logical) * 100.0;
  s.eloc = SafeRatio(c.eloc(), s.logical) * 100.0;
  s.comments = SafeRatio(c.comment_lines, s.logical) * 100.0;
  s.blanks = SafeRatio(c.blank_lines, s.logical) * 100.0;
  // The other characters never go below 0, even for counts from elsewhere.
  long long ink = c.char_count - c.whitespace_count;
  s.characters = SafeRatio(ink > 0 ? ink : 0, c.char_count) * 100.0;
  s.spaces = SafeRatio(c.whitespace_count, c.char_count) * 100.0;
  long long nonblank = c.line_count - c.skipped_lines - c.blank_lines;
  s.chars_per_nonblank_line = nonblank >= 1 ? c.char_count / nonblank : 0;
  return s;
}

// The counters a keyword report prints: the project's 64-bit sums or the
// current file's.
ProjectCounters CountersFor(const G& g, int project) {
  return project ? ProjectView(g) : ProjectCounters::Of(g.counters);
}

void KeywordReportXml(G& g, int project) {
  const ProjectCounters c = CountersFor(g, project);
  Shares s = SharesOf(c);
  auto count = [&](const char* tag, long long v) {
    Out(g, "<%s>%lld</%s>\n", tag, v, tag);
  };
  auto percent = [&](const char* tag, double v) {
    Out(g, "<%s>%.1f</%s>\n", tag, v, tag);
  };
  // Without logical lines these four print a plain 0.
  auto logical_percent = [&](const char* tag, double v) {
    if (s.logical > 0)
      percent(tag, v);
    else
      count(tag, 0);
  };
  Out(g, "<report>\n");
  Out(g, project ? "<name>Total Verbose Metrics</name>\n"
                 : "<name>File Verbose Metrics</name>\n");
  count("loc_count", c.loc);
  count("braceline_count", c.noneff_brace_lines);
  count("parenline_count", c.noneff_paren_lines);
  count("eLOC_count", c.eloc());
  count("lLOC_count", c.lloc());
  count("comment_lines_count", c.comment_lines);
  count("blank_lines_count", c.blank_lines);
  count("total_logical_lines_count", s.logical);
  count("total_physical_lines_count", c.line_count);
  logical_percent("loc_percent_logical_lines", s.loc);
  logical_percent("eloc_percent_logical_lines", s.eloc);
  logical_percent("comment_line_percentage_logical_lines", s.comments);
  logical_percent("blank_line_percentage_logical_lines", s.blanks);
  count("chars_per_nonblank_line", s.chars_per_nonblank_line);
  count("namespace_count", c.namespace_count);
  count("package_count", c.package_count);
  count("class_count", c.class_count);
  count("interface_count", c.interface_count);
  count("functions_count", c.function_count);
  count("virtual_function_count", c.virtual_count);
  count("inline_function_count", c.inline_count);
  count("template_count", c.template_count);
  count("friend_count", c.friend_count);
  count("macros_count", c.macro_count);
  count("struct_count", c.struct_count);
  count("union_count", c.union_count);
  count("memory_alloc_count", c.alloc_count);
  count("memory_free_count", c.free_count);
  count("memory_new_count", c.new_count);
  count("memory_delete_count", c.delete_count);
  count("literal_strings_count", c.literal_strings);
  count("continuation_lines_count", c.continuation_lines);
  count("preprocessor_lines_count", c.preprocessor_count);
  count("include_count", c.include_count);
  count("import_count", c.import_count);
  count("define_count", c.define_count);
  count("typedef_count", c.typedef_count);
  count("const_count", c.const_count);
  count("enum_count", c.enum_count);
  count("open_bracket_count", c.open_bracket);
  count("close_bracket_count", c.close_bracket);
  count("open_brace_count", c.open_brace);
  count("close_brace_count", c.close_brace);
  count("open_paren_count", c.open_paren);
  count("close_paren_count", c.close_paren);
  count("do_count", c.do_count);
  count("while_count", c.while_count);
  count("switch_count", c.switch_count);
  count("default_count", c.default_count);
  count("for_count", c.for_count);
  count("case_count", c.case_count);
  count("break_count", c.break_count);
  count("if_count", c.if_count);
  count("else_count", c.else_count);
  count("goto_count", c.goto_count);
  count("return_count", c.return_count);
  count("exit_count", c.exit_count);
  count("_exit_count", c.exit_underscore_count);
  count("abort_count", c.abort_count);
  percent("characters_percent", s.characters);
  percent("spaces_percent", s.spaces);
  count("quality_notice_count", c.notice_count);
  Out(g, "</report>\n");
}

}  // namespace

void KeywordReport(G& g, int project) {
  if (FormatOf(g) == kFormatXml) return KeywordReportXml(g, project);

  const ProjectCounters c = CountersFor(g, project);
  Shares s = SharesOf(c);
  Out(g, "\n  %s%s\n\n", kHyphens36, kHyphens36);
  ReportTitle(g, project ? "~~ Project Keywords and Metrics ~~"
                         : "~~ File Keywords and Metrics ~~");
  Out(g, "\n");

  TwoColumns t(g);
  t.LeftHead("  --------------- LOC ---------------");
  t.RightTwo("  case, break .........:", c.case_count, c.break_count);
  t.LeftOne("  Lines of Code (LOC) .: ", c.loc);
  t.RightTwo("  if, else ............:", c.if_count, c.else_count);
  t.LeftOne("  Lines of just { or } : ", c.noneff_brace_lines);
  t.RightTwo("  goto, return ........:", c.goto_count, c.return_count);
  t.LeftOne("  Lines of just (or)   : ", c.noneff_paren_lines);
  t.RightThree("  exit, _exit, abort ..:", c.exit_count,
               c.exit_underscore_count, c.abort_count);
  t.LeftOne("  Effective LOC (eLOC) : ", c.eloc());
  t.RightThree("  macros, struct, union:", c.macro_count, c.struct_count,
               c.union_count);
  t.LeftOne("  Code Statement (lLOC): ", c.lloc());
  t.RightTwo("  class, interface ....:", c.class_count, c.interface_count);
  t.LeftHead("  -------------- Lines --------------");
  t.RightTwo("  template, friend ....:", c.template_count, c.friend_count);
  t.LeftOne("  Blank Lines .........: ", c.blank_lines);
  t.RightTwo("  namespace, package ..:", c.namespace_count, c.package_count);
  t.LeftOne("  Comment Lines .......: ", c.comment_lines);
  t.RightThree("  func, virtual, inline:", c.function_count, c.virtual_count,
               c.inline_count);
  t.LeftOne("  Total Logical Lines .: ", s.logical);
  t.RightTwo("  Memory alloc, free ..:", c.alloc_count, c.free_count);
  t.LeftOne("  Total Physical Lines : ", c.line_count);
  t.RightTwo("  Memory new, delete ..:", c.new_count, c.delete_count);
  t.LeftHead("  ------------ Key Words ------------");
  t.RightHead("  ------------- Analysis ------------");
  t.LeftOne("  Literal Strings .....: ", c.literal_strings);
  t.RightOne("  Continuation Lines \\.:", c.continuation_lines);
  t.LeftOne("  Preprocessor Lines #.: ", c.preprocessor_count);
  t.RightTwo("  Paren Count (,) .....:", c.open_paren, c.close_paren);
  t.LeftTwo("  #include, import ....: ", c.include_count, c.import_count);
  t.RightTwo("  Brace Count {,} .....:", c.open_brace, c.close_brace);
  t.LeftTwo("  #define, typedef ....: ", c.define_count, c.typedef_count);
  t.RightTwo("  Bracket Count [,] ...:", c.open_bracket, c.close_bracket);
  t.LeftTwo("  const, enum .........: ", c.const_count, c.enum_count);
  t.RightTwo("  Chars/NBLine, Notices:", s.chars_per_nonblank_line,
             c.notice_count);
  t.LeftTwo("  do, while ...........: ", c.do_count, c.while_count);
  t.RightPercents("  Code, eCode Lines ...:", s.loc, s.eloc);
  t.LeftTwo("  switch, default .....: ", c.switch_count, c.default_count);
  t.RightPercents("  Comment, Blank Lines :", s.comments, s.blanks);
  t.LeftOne("  for .................: ", c.for_count);
  t.RightPercents("  Characters, Spaces ..:", s.characters, s.spaces);
}

void MemorySummary(G& g) {
  const FileCounters& c = g.counters;
  if (c.alloc_count <= 0 && c.free_count <= 0 && c.new_count <= 0 &&
      c.delete_count <= 0)
    return;
  ReportFormat format = FormatOf(g);
  if (format == kFormatXml) {
    // Lines of text would break the document; the counts go as elements.
    Out(g, "<report>\n<name>Memory Allocation/De-allocation Summary</name>\n");
    Out(g, "<memory_alloc_count>%d</memory_alloc_count>\n", c.alloc_count);
    Out(g, "<memory_free_count>%d</memory_free_count>\n", c.free_count);
    Out(g, "<memory_new_count>%d</memory_new_count>\n", c.new_count);
    Out(g, "<memory_delete_count>%d</memory_delete_count>\n", c.delete_count);
    Out(g, "</report>\n");
    return;
  }
  Out(g, "\n  %s%s\n\n", kHyphens36, kHyphens36);
  ReportTitle(g, "~~ Memory Allocation/De-allocation Summary ~~");
  if (format == kFormatHtml) {
    Out(g, "\n  <b>Memory alloc count</b> ....: %10d", c.alloc_count);
    Out(g, "  <b>Memory free count</b> .....: %10d\n", c.free_count);
    Out(g, "  <b>Memory new count</b> ......: %10d", c.new_count);
    Out(g, "  <b>Memory delete count</b> ...: %10d\n", c.delete_count);
  } else {
    Out(g, "\n  Memory alloc count ....: %10d", c.alloc_count);
    Out(g, "  Memory free count .....: %10d\n", c.free_count);
    Out(g, "  Memory new count ......: %10d", c.new_count);
    Out(g, "  Memory delete count ...: %10d\n", c.delete_count);
  }
}

}  // namespace vek
