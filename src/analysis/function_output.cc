// The report lines of function identification: the "Function Begin" head
// with notices, the -l and -EC list entries at the opening brace, and the
// "Function End" name or the function detail at the closing brace.
#include <string>
#include <string_view>

#include "analysis/function_state.h"
#include "analysis/functions.h"
#include "driver/state.h"
#include "reports/output.h"
#include "reports/separator.h"

namespace vek {

namespace {

// Name and template wrap at 62 columns under a 12-blank indent, the
// parameters at 60 under 14.
constexpr int kNameWidth = 62;
constexpr int kNameIndent = 12;
constexpr int kParamWidth = 60;
constexpr int kParamIndent = 14;

std::string_view WithoutLineEnd(std::string_view s) {
  while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

std::string Name(std::string_view s, const G& g) {
  return wrap_name(s, kNameWidth, kNameIndent, g);
}
std::string Params(std::string_view s, const G& g) {
  return wrap_name(s, kParamWidth, kParamIndent, g);
}

void FunctionBegin(int line_number, G& g) {
  FunctionState& f = g.fs;
  f.func_name.resize(WithoutLineEnd(f.func_name).size());
  separator_line(g, "Function Begin", line_number);
  std::string name = Name(f.func_name, g);
  std::string params = Params(f.param_text, g);
  std::string templ = Name(f.template_text, g);
  if (g.opt.html_flag) {
    const Config& c = g.cfg;
    Out(g, "  <b>Function</b>: <b><font color=\"%s\">%s</font></b>\n",
        c.color_function.c_str(), HtmlEscape(name).c_str());
    Out(g, "  <b>Parameters:</b> <b><font color=\"%s\">%s</font></b>\n",
        c.color_function_param.c_str(), HtmlEscape(params).c_str());
    if (f.template_flag)
      Out(g, "  <b>Template:</b> <b><font color=\"%s\">%s</font></b>\n",
          c.color_template.c_str(), HtmlEscape(templ).c_str());
    return;
  }
  Out(g, "  Function: %s\n", name.c_str());
  Out(g, "  Parameters: %s\n", params.c_str());
  if (f.template_flag) Out(g, "  Template: %s\n", templ.c_str());
}

void XmlEntry(G& g, const FunctionEntry& e, bool list_form) {
  const bool templ = !e.templ.empty();
  std::string name = XmlEscape(e.name);
  std::string params = XmlEscape(e.parameters);
  if (!templ && !e.inline_method) {
    if (list_form)
      Out(g,
          "<function>\n<line>%d</line>\n<name>%s</name>\n"
          "<parameters>%s</parameters>\n</function>\n",
          e.line, name.c_str(), params.c_str());
    return;
  }
  Out(g, "<function>\n");
  if (e.inline_method) Out(g, "<state>inline</state>\n");
  Out(g, "<line>%d</line>\n", e.line);
  Out(g, "<name>%s</name>\n", name.c_str());
  Out(g, "<parameters>%s</parameters>\n", params.c_str());
  if (templ) Out(g, "<template>%s</template>\n", XmlEscape(e.templ).c_str());
  Out(g, "</function>\n");
}

void CsvEntry(G& g, const FunctionEntry& e) {
  const char* kind = e.inline_method ? "Inline Function" : "Function";
  std::string name = CsvEscape(e.name);
  std::string params = CsvEscape(e.parameters);
  if (e.templ.empty())
    Out(g, "%s,%s,%s\n", kind, name.c_str(), params.c_str());
  else
    Out(g, "%s,%s,%s,template %s\n", kind, name.c_str(), params.c_str(),
        CsvEscape(e.templ).c_str());
}

void ListEntry(G& g, const FunctionEntry& e) {
  const bool templ = !e.templ.empty();
  std::string name = Name(e.name, g);
  std::string params = Params(e.parameters, g);
  std::string tmpl = Name(e.templ, g);
  if (g.opt.html_flag) {
    const Config& c = g.cfg;
    Out(g,
        e.inline_method ? "  <b>Inline <font color=\"%s\">%s</font></b>"
                        : "  <b><font color=\"%s\">%s</font></b>",
        c.color_function.c_str(), HtmlEscape(name).c_str());
    Out(g, " <b><font color=\"%s\">%s</font></b>",
        c.color_function_param.c_str(), HtmlEscape(params).c_str());
    if (templ)
      Out(g, " <b>template</b> <b><font color=\"%s\">%s</font></b>",
          c.color_template.c_str(), HtmlEscape(tmpl).c_str());
    Out(g, "\n");
    return;
  }
  if (templ)
    Out(g, e.inline_method ? "  inline template %s %s %s\n"
                           : "  template %s %s %s\n",
        tmpl.c_str(), name.c_str(), params.c_str());
  else
    Out(g, e.inline_method ? "  Inline %s %s\n" : "  %s %s\n", name.c_str(),
        params.c_str());
}

void DetailEntry(G& g, const FunctionEntry& e) {
  std::string name = Name(e.name, g);
  std::string params = Params(e.parameters, g);
  std::string tmpl = Name(e.templ, g);
  if (g.opt.html_flag) {
    const Config& c = g.cfg;
    if (e.inline_method)
      Out(g, "  <b>Inline Function</b>: <b><font color=\"%s\">%s</font></b>\n",
          c.color_function.c_str(), HtmlEscape(name).c_str());
    else
      Out(g,
          "  <b><a href=\"%s\" target=\"_blank\">Function</a></b>: "
          "<b><font color=\"%s\">%s</font></b>\n",
          file_link(g.file.name, g).c_str(), c.color_function.c_str(),
          HtmlEscape(name).c_str());
    Out(g, "  <b>Parameters</b>: <b><font color=\"%s\">%s</font></b>\n",
        c.color_function_param.c_str(), HtmlEscape(params).c_str());
    if (!e.templ.empty())
      Out(g, "  <b>Template</b>: <b><font color=\"%s\">%s</font></b>\n",
          c.color_template.c_str(), HtmlEscape(tmpl).c_str());
    return;
  }
  Out(g, e.inline_method ? "  Inline Function: %s\n" : "  Function: %s\n",
      name.c_str());
  Out(g, "  Parameters: %s\n", params.c_str());
  if (!e.templ.empty()) Out(g, "  Template: %s\n", tmpl.c_str());
}

}  // namespace

bool function_detail_suppressed(const G& g) {
  const Options& o = g.opt;
  return o.totals_flag || o.xml_flag || o.no_file_names || o.workfile_create;
}

int function_is_inline(const G& g) {
  return g.fs.class_open_flag && g.typing.cpp_flag && !g.opt.function_list_flag;
}

void write_function_entry(G& g, const FunctionEntry& e, bool list_form) {
  if (g.opt.xml_flag) {
    XmlEntry(g, e, list_form);
  } else if (g.opt.csv_flag) {
    if (list_form) CsvEntry(g, e);
  } else if (list_form) {
    ListEntry(g, e);
  } else {
    DetailEntry(g, e);
  }
}

void function_body_opens(int line_number, G& g) {
  FunctionState& f = g.fs;
  const Options& o = g.opt;
  f.param_collect_flag = 0;
  f.func_name = NormaliseName(f.func_name);
  f.param_text = FormatParameters(f.param_text, f.func_name, g);
  f.param_count = CountParameters(f.param_text);
  f.func_start_line = line_number;

  if (function_detail_suppressed(g)) return;
  if (o.notice_flag && !o.function_list_flag) FunctionBegin(line_number, g);
  if (!(o.function_list_flag || o.extract_docs) || o.function_by_objects)
    return;
  const bool list_form = o.function_list_flag;
  if (o.csv_flag && !list_form) return;  // CSV lists functions under -l only
  f.func_name.resize(WithoutLineEnd(f.func_name).size());
  FunctionEntry e;
  e.name = f.func_name;
  e.parameters = f.param_text;
  if (f.template_flag) e.templ = f.template_text;
  e.inline_method = function_is_inline(g);
  e.line = line_number;
  if (o.extract_docs) Out(g, "\n");
  write_function_entry(g, e, list_form);
  if (o.extract_docs) {
    Out(g, "  %s%s\n", kHyphens36, kHyphens36);
    if (o.notice_flag) Out(g, "\n");
  }
}

void function_end_output(const FunctionMeasure& m, G& g) {
  const Options& o = g.opt;
  // The name block closes the head written at the opening brace, so the
  // modes that keep that head out keep this out too.
  if (o.function_list_flag || function_detail_suppressed(g)) return;
  std::string_view name = WithoutLineEnd(m.name);
  if (o.notice_flag) {
    std::string wrapped = Name(name, g);
    if (o.html_flag)
      Out(g, "\n  <b>Function</b>: <b><font color=\"%s\">%s</font></b>\n",
          g.cfg.color_function.c_str(), HtmlEscape(wrapped).c_str());
    else
      Out(g, "\n  Function: %s\n", wrapped.c_str());
    return;
  }
  if (o.class_methods_flag || o.function_by_objects) return;
  FunctionEntry e;
  e.name = name;
  e.parameters = m.parameters;
  e.templ = m.templ;
  e.inline_method = m.inline_flag;
  e.line = m.start_line;
  write_function_entry(g, e, false);
}

}  // namespace vek
