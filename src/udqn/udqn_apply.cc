// Trying the records on each line and at the end of each file, and the
// messages of the notices they raise.
#include <cstring>
#include <string>

#include "analysis/notice_catalogue.h"
#include "analysis/notice_points.h"
#include "common/text.h"
#include "driver/state.h"
#include "reports/output.h"
#include "udqn/pattern.h"
#include "udqn/udqn.h"

namespace vek {

namespace {

// The extension of a file name: the text after the last '.' of its base
// name; for a version-extended name ("file.c@@/main/3") the text between
// the last '.' before the "@@" and the "@@".  Empty when there is none.
std::string_view Extension(std::string_view name) {
  size_t at = name.find("@@");
  if (at != std::string_view::npos) name = name.substr(0, at);
  name = BaseName(name);
  size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
}

bool HasSource(const UdqnRecord& r, std::string_view ext, bool with_case) {
  for (const std::string& s : r.sources)
    if (with_case ? s == ext : CaseEqual(s, ext)) return true;
  return false;
}

// Which records apply to the current file, by its extension.
void WorkOutFile(G& g) {
  UdqnSet& u = g.udqn;
  std::string_view ext = Extension(g.file.name);
  if (g.debug_flag)
    Out(g, "*** Debug: File Extension: %.*s\n\n", static_cast<int>(ext.size()),
        ext.data());
  u.line_records.clear();
  u.eof_records.clear();
  for (const auto& r : u.records) {
    if (!r->active || !r->compiled || ext.empty() ||
        !HasSource(*r, ext, g.cfg.case_sensitive != 0))
      continue;
    (r->emit_eof ? u.eof_records : u.line_records).push_back(r.get());
  }
  u.file_known = 1;
}

bool AllFlags(const UdqnFlags& flags, const int* table, int want) {
  for (int i = 0; i < flags.count; ++i)
    if ((table[flags.number[i]] != 0) != (want != 0)) return false;
  return true;
}

void SetFlags(const UdqnFlags& flags, int* table, int value) {
  for (int i = 0; i < flags.count; ++i) table[flags.number[i]] = value;
}

// Whether the pattern matches an empty text: when it cannot, an empty
// comment or string part is passed over without asking the library.
bool MatchesEmpty(UdqnRecord& r, int eflags) {
  if (r.matches_empty < 0) {
    int start = 0, end = 0;
    r.matches_empty = MatchPattern(*r.compiled, "", 0, eflags, &start, &end);
  }
  return r.matches_empty != 0;
}

// The notice's long text in the report's format.
UdqnMessageValues Values(const char* text, size_t len, int line_number,
                         const G& g) {
  const FunctionState& fs = g.fs;
  UdqnMessageValues v;
  v.file = g.file.name;
  v.line = std::string_view(text, len);
  v.line_number = line_number;
  if (fs.function_scope > 0 && fs.funcname_flag) v.function = fs.func_name;
  if (fs.class_open_flag) v.type = fs.class_name;
  return v;
}

std::string LongText(const UdqnRecord& r, const char* text, size_t len,
                     int line_number, G& g) {
  const UdqnMessageValues v = Values(text, len, line_number, g);
  const Options& o = g.opt;
  if (o.html_flag) return udqn_format_message(r.message, v, true);
  std::string plain = udqn_format_message(r.message, v, false);
  if (o.csv_flag) return CsvEscape(plain);
  if (o.xml_flag) return XmlEscape(plain);
  return plain;
}

}  // namespace

void apply_udqn(const char* text, size_t len, int line_number, int eof, G& g) {
  UdqnSet& u = g.udqn;
  if (u.records.empty()) return;
  if (!u.file_known) WorkOutFile(g);
  const ScanState& s = g.scan;
  const int eflags = u.options.match_options;
  for (UdqnRecord* record : eof ? u.eof_records : u.line_records) {
    UdqnRecord& r = *record;
    if (!AllFlags(r.check_flags, u.flags, 1) ||
        !AllFlags(r.not_check_flags, u.flags, 0))
      continue;
    const char* subject;
    size_t n;
    switch (r.context) {
      case kUdqnLine:
        subject = text;
        n = len;
        break;
      case kUdqnCode:
        subject = s.code_text.text;
        n = s.code_text.len;
        break;
      case kUdqnComment:
        subject = s.comment_text.text;
        n = s.comment_text.len;
        break;
      case kUdqnString:
        subject = s.string_text.text;
        n = s.string_text.len;
        break;
      default:
        continue;
    }
    if (n == 0 && !MatchesEmpty(r, eflags)) continue;
    int start = -1, end = -1;
    if (!MatchPattern(*r.compiled, subject, n, eflags, &start, &end)) continue;
    r.match_start = start;
    r.match_end = end;
    SetFlags(r.set_flags, u.flags, 1);
    SetFlags(r.clear_flags, u.flags, 0);
    if (r.silent) continue;
    std::string message;
    if (user_notice_long_form(g))
      message = LongText(r, text, len, line_number, g);
    if (raise_user_notice(g, r.id, line_number, message)) {
      ++r.count;
      if (!g.opt.sarif_file.empty())
        collect_notice(g, g.file.name, line_number, r.id,
                       udqn_format_message(
                           r.message, Values(text, len, line_number, g), false),
                       notice_description(r.id, g));
    }
  }
  if (eof) {
    // The flags and the extension belong to the file that ends here.
    memset(u.flags, 0, sizeof u.flags);
    u.file_known = 0;
  }
}

void udqn_end_of_file(G& g) {
  static const char kEof[] = "UDQN eof";
  if (g.udqn.records.empty()) return;
  apply_udqn(kEof, sizeof kEof - 1, g.file.line_number, 1, g);
}

std::string udqn_format_message(std::string_view m, const UdqnMessageValues& v,
                                bool html) {
  struct Placeholder {
    std::string_view name;
    int which;
  };
  // "_LINE#_" before "_LINE_", which does not begin it anyway.
  static constexpr Placeholder kPlaceholders[] = {
      {"_FILE_", 0}, {"_LINE#_", 1}, {"_LINE_", 2}, {"_FUNC_", 3}, {"_CLASS_", 4}};
  std::string out;
  auto text = [&](std::string_view piece) {
    if (html)
      out += HtmlEscape(piece);
    else
      out.append(piece);
  };
  auto value = [&](std::string_view piece) {
    if (!html) {
      out.append(piece);
      return;
    }
    out += "<b>";
    out += HtmlEscape(piece);
    out += "</b>";
  };
  size_t run = 0;  // start of the plain text not yet copied
  size_t i = 0;
  while (i < m.size()) {
    if (m[i] == '\\' && i + 1 < m.size() && m[i + 1] == 'n') {
      text(m.substr(run, i - run));
      out += '\n';
      i += 2;
      run = i;
      continue;
    }
    if (m[i] != '_') {
      ++i;
      continue;
    }
    const Placeholder* hit = nullptr;
    for (const Placeholder& p : kPlaceholders)
      if (m.substr(i, p.name.size()) == p.name) hit = &p;
    if (hit == nullptr) {
      ++i;
      continue;
    }
    text(m.substr(run, i - run));
    switch (hit->which) {
      case 0:
        value(v.file);
        break;
      case 1:
        value(std::to_string(v.line_number));
        break;
      case 2:
        value(TrimRight(v.line, "\r\n"));
        break;
      case 3:
        if (!v.function.empty()) value(v.function);
        break;
      case 4:
        if (!v.type.empty()) value(v.type);
        break;
    }
    i += hit->name.size();
    run = i;
  }
  text(m.substr(run));
  return out;
}

}  // namespace vek
