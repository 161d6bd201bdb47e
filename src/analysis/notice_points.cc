#include "analysis/notice_points.h"

#include <charconv>
#include <cstddef>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "analysis/functions.h"
#include "analysis/notice_catalogue.h"
#include "analysis/notice_messages.h"
#include "driver/state.h"
#include "reports/output.h"

namespace vek {

namespace {

constexpr int kSkipQualityNotice = 58;
constexpr int kScopeNotice = 22;

// -Ns or -Nv: notices go out in their single-line form.
bool SingleLine(const Options& o) {
  return o.notice_single_flag || o.notice_visual_flag || o.notice_gcc_flag;
}

// Notices are written in the report as they are found.
bool Reporting(const Options& o) { return o.notice_flag && !o.totals_flag; }

void Record(G& g, std::string_view file, int line_number, int number) {
  std::vector<std::string>& files = g.notice_files;
  // A list that cannot grow loses the entry, not the run.
  try {
    if (files.empty() || files.back() != file)
      files.push_back(Bounded(file, kLineSize));
    RecordedNotice r;
    r.file = static_cast<int>(files.size()) - 1;
    r.line = line_number;
    r.number = number;
    g.recorded_notices.push_back(r);
  } catch (const std::bad_alloc&) {
  }
}

bool NoValues(const NoticeArgs& a) {
  return (a.v[0] | a.v[1] | a.v[2] | a.v[3] | a.v[4] | a.v[5]) == 0 &&
         a.text.empty() && a.file.empty() && a.p[0] == 0.0 && a.p[1] == 0.0;
}

// Splits the message of a notice around its line number: `t` gets the
// text before and after it, or state -1 when the text cannot be reused
// (it names the file, or the line not once).
void BuildParts(G& g, int number, std::string_view file, const NoticeArgs& args,
                NoticeForm form, G::NoticeText& t) {
  constexpr int kMarker = -1987654321;
  constexpr std::string_view kMarkerText = "-1987654321";
  std::string whole = long_notice_message(number, kMarker, file, args, form, g);
  size_t at = whole.find(kMarkerText);
  // A text that names the file, or no line, is built each time.
  if (at == std::string::npos || whole.find(file) != std::string::npos ||
      whole.find(kMarkerText, at + 1) != std::string::npos) {
    t.state = -1;
  } else {
    t.before = whole.substr(0, at);
    t.after = whole.substr(at + kMarkerText.size());
    t.state = 1;
  }
}

// The key of a notice's message by its values: form, number, the values
// and the text.
// One buffer serves every look-up (the report has one writer).
const std::string& ValueKey(int number, NoticeForm form,
                            const NoticeArgs& args) {
  static std::string key;
  key.clear();
  const int head[2] = {number, static_cast<int>(form)};
  key.append(reinterpret_cast<const char*>(head), sizeof head);
  key.append(reinterpret_cast<const char*>(args.v), sizeof args.v);
  key.append(reinterpret_cast<const char*>(args.p), sizeof args.p);
  key.append(args.text);
  return key;
}

// A notice's message is built once and the line number put in between:
// a notice that names only its line (a tab, a goto ...) can be raised a
// million times in a large tree, and one naming a keyword or a limit
// (#22, #24, #27) thousands of times with the same values.  Returns the
// two parts, or null when the text is built each time.
const G::NoticeText* CachedParts(G& g, int number, std::string_view file,
                                 const NoticeArgs& args, NoticeForm form) {
  // Distinct value sets kept at most; later ones are built each time.
  constexpr size_t kValueTexts = 4096;
  if (form == kNoticeHtml || number < 1 || number > kNoticeCount)
    return nullptr;
  if (NoValues(args)) {
    G::NoticeText& t = g.notice_texts[form == kNoticeReordered][number];
    if (t.state == 0) BuildParts(g, number, file, args, form, t);
    return t.state == 1 ? &t : nullptr;
  }
  if (!args.file.empty() || args.text.size() > 64) return nullptr;
  auto& texts = g.notice_value_texts;
  const std::string& key = ValueKey(number, form, args);
  auto it = texts.find(key);
  if (it == texts.end()) {
    if (texts.size() >= kValueTexts) return nullptr;
    it = texts.emplace(key, G::NoticeText()).first;
    BuildParts(g, number, file, args, form, it->second);
  }
  return it->second.state == 1 ? &it->second : nullptr;
}

// Writes the cached text of `t` at `line_number` `times` times over.
void WriteParts(G& g, const G::NoticeText& t, int line_number, int times) {
  char digits[16];
  const auto end = std::to_chars(digits, digits + sizeof digits, line_number);
  const std::string_view number(digits, static_cast<size_t>(end.ptr - digits));
  for (int k = 0; k < times; ++k)
    WritePieces(g.report_stream, t.before, number, t.after);
}

NoticeForm LongForm(const G& g) {
  return g.opt.html_flag         ? kNoticeHtml
         : g.cfg.reorder_notice ? kNoticeReordered
                                : kNoticePlain;
}

void WriteLong(G& g, int number, int line_number, std::string_view file,
               const NoticeArgs& args, int times = 1) {
  const NoticeForm form = LongForm(g);
  if (const G::NoticeText* t = CachedParts(g, number, file, args, form)) {
    WriteParts(g, *t, line_number, times);
    return;
  }
  std::string text = long_notice_message(number, line_number, file, args, form, g);
  for (int k = 0; k < times; ++k)
    fwrite(text.data(), 1, text.size(), g.report_stream);
}

void Emit(G& g, int number, int line_number, std::string_view file,
          const NoticeArgs& args) {
  const Options& o = g.opt;
  std::string_view keyword =
      number == kScopeNotice ? args.text : std::string_view();
  if (Reporting(o)) {
    if (SingleLine(o))
      emit_short_notice(g, file, line_number, number, keyword);
    else
      WriteLong(g, number, line_number, file, args);
  } else if (o.notice_collect_flag) {
    emit_short_notice(g, file, line_number, number, keyword);
  }
}

// The long message on one line: blanks and line ends folded, and the
// "Notice #n: Line n," lead-in dropped, since the log states both apart.
std::string OneLine(std::string_view message) {
  std::string out;
  out.reserve(message.size());
  for (char c : message) {
    bool blank = c == ' ' || c == '\t' || c == '\n' || c == '\r';
    if (blank) {
      if (!out.empty() && out.back() != ' ') out.push_back(' ');
    } else {
      out.push_back(c);
    }
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  std::string_view v = out;
  auto skip = [&v](std::string_view word) {
    if (v.substr(0, word.size()) != word) return false;
    v.remove_prefix(word.size());
    return true;
  };
  auto digits = [&v]() {
    size_t n = 0;
    while (n < v.size() && v[n] >= '0' && v[n] <= '9') ++n;
    v.remove_prefix(n);
    return n > 0;
  };
  std::string_view whole = v;
  if (skip("Notice #") && digits() && skip(":")) {
    skip(" ");
    std::string_view after_number = v;
    if (!(skip("Line ") && digits() && (skip(",") || skip(":"))))
      v = after_number;
    skip(" ");
  } else {
    v = whole;
  }
  return std::string(v.empty() ? whole : v);
}

void Collect(G& g, int number, int line_number, std::string_view file,
             const NoticeArgs& args) {
  try {
    CollectedNotice n;
    n.file = std::string(file);
    n.line = line_number;
    n.number = number;
    n.text = OneLine(
        long_notice_message(number, line_number, file, args, kNoticePlain, g));
    n.summary = notice_description(number, g);
    g.sarif_notices.push_back(std::move(n));
  } catch (const std::bad_alloc&) {
  }
}

}  // namespace

void collect_notice(G& g, std::string_view file, int line_number, int number,
                    std::string_view text, std::string_view summary) {
  if (g.opt.sarif_file.empty()) return;
  try {
    CollectedNotice n;
    n.file = std::string(file);
    n.line = line_number;
    n.number = number;
    n.text = OneLine(text);
    n.summary = std::string(summary);
    g.sarif_notices.push_back(std::move(n));
  } catch (const std::bad_alloc&) {
  }
}

void count_notice(G& g, int number) {
  ++g.counters.notice_count;
  ++g.notice_count;
  if (number >= 1 && number <= kNoticeCount) ++g.notice_totals[number];
}

void raise_notice(G& g, int number, int line_number, const NoticeArgs& args) {
  if (g.notice_trace != nullptr)
    g.notice_trace->emplace_back(number, line_number);
  if (notice_enabled(number, &g) <= 0 || number < 1) return;
  if (g.file.skip_quality_flag && number != kSkipQualityNotice) return;
  count_notice(g, number);
  std::string_view file = args.file.empty() ? std::string_view(g.file.name)
                                            : args.file;
  if (!g.opt.sarif_file.empty()) Collect(g, number, line_number, file, args);
  Emit(g, number, line_number, file, args);
}

void raise_notice_repeated(G& g, int number, int line_number, int times) {
  if (times <= 0) return;
  const Options& o = g.opt;
  if (g.notice_trace == nullptr && o.sarif_file.empty() && Reporting(o) &&
      !SingleLine(o)) {
    // Each of the notices would write the same long text: it is built
    // once and written as often.
    if (notice_enabled(number, &g) <= 0 || number < 1) return;
    if (g.file.skip_quality_flag && number != kSkipQualityNotice) return;
    for (int k = 0; k < times; ++k) count_notice(g, number);
    WriteLong(g, number, line_number, g.file.name, NoticeArgs(), times);
    return;
  }
  if (g.notice_trace != nullptr || Reporting(o) || o.notice_collect_flag ||
      !o.sarif_file.empty()) {
    for (int k = 0; k < times; ++k) raise_notice(g, number, line_number);
    return;
  }
  if (notice_enabled(number, &g) <= 0 || number < 1) return;
  if (g.file.skip_quality_flag && number != kSkipQualityNotice) return;
  g.counters.notice_count += times;
  g.notice_count += times;
  if (number <= kNoticeCount) g.notice_totals[number] += times;
}

bool user_notice_long_form(const G& g) {
  return Reporting(g.opt) && !SingleLine(g.opt);
}

bool raise_user_notice(G& g, int number, int line_number,
                       std::string_view message) {
  if (g.notice_trace != nullptr)
    g.notice_trace->emplace_back(number, line_number);
  if (g.file.skip_quality_flag) return false;
  ++g.counters.notice_count;
  ++g.notice_count;
  const Options& o = g.opt;
  const std::string_view file = g.file.name;
  if (Reporting(o)) {
    if (SingleLine(o)) {
      emit_short_user_notice(g, file, line_number, number);
    } else {
      if (o.html_flag)
        Out(g, "\n    <font color=\"%s\"><b>Notice</b></font> #%d: ",
            g.cfg.color_notice.c_str(), number);
      else
        Out(g, "\n    Notice #%d: ", number);
      fwrite(message.data(), 1, message.size(), g.report_stream);
      Out(g, "\n");
    }
  } else if (o.notice_collect_flag) {
    emit_short_user_notice(g, file, line_number, number);
  }
  return true;
}

void raise_notice(G& g, int number, int line_number,
                  std::string_view detail) {
  NoticeArgs args;
  args.text = detail;
  raise_notice(g, number, line_number, args);
}

void emit_short_notice(G& g, std::string_view file, int line_number,
                       int number, std::string_view keyword) {
  const Options& o = g.opt;
  if (SingleLine(o)) {
    const char* color = g.cfg.color_notice.c_str();
    std::string f(file);
    std::string d = notice_description(number, g);
    // Notice #22 names the keyword instead of its description.
    std::string what = d;
    if (!keyword.empty()) {
      what.assign(1, '\'');
      what.append(keyword);
      what.append("' is not bound with scope braces {}");
    }
    if (o.notice_gcc_flag || o.notice_visual_flag) {
      // In an HTML page these lines are text like any other.
      std::string fe = EscapeFor(g, f), we = EscapeFor(g, what);
      if (o.notice_gcc_flag)
        Out(g, "%s:%d: warning: %s [VEK%03d]\n", fe.c_str(), line_number,
            we.c_str(), number);
      else
        Out(g, "%s(%d) : Notice #%-4d - %s\n", fe.c_str(), line_number,
            number, we.c_str());
    } else if (o.html_flag) {
      Out(g, "  <font color=%s><b>Notice</b></font> <b>#%4d</b>: Line <b>%d</b>, %s\n",
          color, number, line_number, HtmlEscape(what).c_str());
    } else if (o.xml_flag) {
      if (!o.no_file_names)
        Out(g, "<notice>\n<type>%d</type>\n<line>%d</line><description>%s</description>\n</notice>\n",
            number, line_number, XmlEscape(d).c_str());
    } else if (g.cfg.reorder_notice) {
      Out(g, "  Line %4d: Notice #%4d: %s\n", line_number, number, what.c_str());
    } else {
      Out(g, "  Notice #%4d: Line %4d, %s\n", number, line_number, what.c_str());
    }
  }
  Record(g, file, line_number, number);
}

void emit_short_user_notice(G& g, std::string_view file, int line_number,
                            int number) {
  const Options& o = g.opt;
  if (SingleLine(o)) {
    const std::string f(file);
    const std::string d = notice_description(number, g);
    if (o.notice_visual_flag) {
      Out(g, "%s(%d) : Notice #%-4d - %s\n", f.c_str(), line_number, number,
          d.c_str());
    } else if (o.html_flag) {
      Out(g, "  <font color=%s>Notice</font> <b>#%4d</b>: Line <b>%d</b>, %s\n",
          g.cfg.color_notice.c_str(), number, line_number,
          HtmlEscape(d).c_str());
    } else if (o.csv_flag) {
      Out(g, "Notice #,%4d,Line,%d,%s\n", number, line_number,
          CsvEscape(d).c_str());
    } else if (o.xml_flag) {
      if (!o.no_file_names)
        Out(g,
            "<notice>\n<type>%d</type>\n<line>%d</line>\n"
            "<description>%s</description></notice>\n",
            number, line_number, XmlEscape(d).c_str());
    } else {
      Out(g, "  Notice #%4d: Line %d, %s\n", number, line_number, d.c_str());
    }
  }
  Record(g, file, line_number, number);
}

void raise_balance_notice(G& g, int line_number, bool brace) {
  if (g.notice_trace != nullptr) g.notice_trace->emplace_back(12, line_number);
  const Options& o = g.opt;
  if (!Reporting(o) || notice_enabled(12, &g) <= 0 || o.xml_flag ||
      o.csv_flag || g.file.skip_quality_flag)
    return;
  count_notice(g, 12);
  collect_notice(g, g.file.name, line_number, 12,
                 brace ? "Brace scope is not balanced."
                       : "Parenthesis are not balanced.",
                 notice_description(12, g));
  if (SingleLine(o)) {
    emit_short_notice(g, g.file.name, line_number, 12);
    return;
  }
  std::string name = EscapeFor(g, g.file.name);
  if (o.html_flag)
    Out(g,
        "\n<font color=\"%s\"><b>    Notice</b></font> #12:\n"
        "           <b>File</b>: %s\n           <b>Line</b>: %d\n",
        g.cfg.color_notice.c_str(), name.c_str(), line_number);
  else if (g.cfg.reorder_notice)
    Out(g, "\n    Line: %d\n           File: %s\n           Notice: #12\n",
        line_number, name.c_str());
  else
    Out(g, "\n    Notice: #12\n           File: %s\n           Line: %d\n",
        name.c_str(), line_number);
  if (brace)
    Out(g,
        "           Brace scope is not balanced.  This may indicate the\n"
        "           use of conditional compilation, #ifdef.  VEK processes\n"
        "           all source code where bracing and parenthesis\n"
        "           counts in the file must be equal and well formed.  Brace\n"
        "           and paren counts are now forced to an equal state.  Suggest the\n"
        "           file be restructured to a more formal state.\n\n");
  else
    Out(g,
        "           Parenthesis are not balanced.  This may ndicate the\n"
        "           use of conditional compilation, #ifdef.  VEK processes\n"
        "           all source code where bracing and parenthesis\n"
        "           counts in the file must be equal and well formed.  Parenthesis\n"
        "           count is now force to an equal state\n");
}

void end_of_file_scope_check(G& g) {
  const Options& o = g.opt;
  if (o.totals_flag) return;
  const FileCounters& k = g.counters;
  if (k.open_brace != k.close_brace) {
    if (o.html_flag)
      Out(g,
          "\n    <font color=\"%s\"><b>NOTICE</b></font>: The end of the source file has been reached where the\n"
          "            <b>open brace count { %d != %d } close brace count</b> \n",
          g.cfg.color_notice.c_str(), k.open_brace, k.close_brace);
    else
      Out(g,
          "\n    NOTICE: The end of the source file has been reached where the\n"
          "            open brace count { %d != %d } close brace count \n",
          k.open_brace, k.close_brace);
    Out(g,
        "            This is an indication of non-compilable code within the source\n"
        "            file.  VEK processes all source code including code wrapped\n"
        "            with preprocessor directives.  Accurate metrics requires that\n"
        "            all code present in this file must be compilable.\n");
  }
  const FunctionState& f = g.fs;
  if (f.function_scope > 0 && f.funcname_flag) {
    Out(g,
        "\n    NOTICE: The end of the source file has been reached where the\n"
        "            local function scope remains open.  The last known function\n"
        "            will be emitted but metrics cannot be generated in this\n"
        "            condition.\n");
    if (o.function_flag && !o.function_list_flag && !o.class_methods_flag) {
      FunctionMeasure m;
      m.name = f.func_name;
      m.parameters = f.param_text;
      if (f.template_flag) m.templ = f.template_text;
      m.file = g.file.name;
      m.start_line = f.func_start_line;
      m.inline_flag = function_is_inline(g);
      function_end_output(m, g);
    }
  }
}

void file_end_notices(G& g) {
  const FileCounters& k = g.counters;
  const Config& c = g.cfg;
  const int line = g.file.line_number;
  auto percent = [](double part, double whole) {
    return whole > 0 ? part / whole * 100.0 : 0.0;
  };
  NoticeArgs a;
  a.p[0] = percent(k.blank_lines, k.loc);
  a.p[1] = c.min_file_blank;
  if (a.p[0] < a.p[1]) raise_notice(g, 47, line, a);
  a.p[0] = percent(k.comment_lines, k.comment_lines + k.loc);
  a.p[1] = c.min_file_comment;
  if (a.p[0] < a.p[1]) raise_notice(g, 20, line, a);
  a.p[0] = percent(k.whitespace_count, k.char_count);
  a.p[1] = c.min_file_whitespace;
  if (a.p[0] < a.p[1]) raise_notice(g, 19, line, a);
  if (g.typing.cpp_flag && (k.new_count > 0 || k.delete_count > 0) &&
      k.new_count != k.delete_count)
    raise_notice(g, 45, line);
  if (c.key_string_set && !g.scan.key_string_found)
    raise_notice(g, 21, line, c.key_string);
}

}  // namespace vek
