#include "analysis/type_output.h"

#include <cctype>
#include <string>

#include "analysis/type_state.h"
#include "analysis/types.h"
#include "common/text.h"
#include "common/type_record.h"
#include "driver/state.h"
#include "reports/function_reports.h"
#include "reports/metrics_blocks.h"
#include "reports/output.h"
#include "reports/separator.h"

namespace vek {

namespace {

struct Width {
  int width;
  int indent;
};

// Name wrapping of the type lines, by kind, top level or nested.
Width NameWidth(int kind, bool nested, bool with_template) {
  switch (kind) {
    case kKindStruct:
      if (nested) return {57, 17};
      return with_template ? Width{64, 10} : Width{65, 9};
    case kKindInterface:
      return nested ? Width{54, 20} : Width{61, 13};
    default:
      return nested ? Width{58, 16} : Width{65, 9};
  }
}

const char* KindWord(int kind) {
  switch (kind) {
    case kKindStruct: return "Struct";
    case kKindInterface: return "Interface";
    default: return "Class";
  }
}

std::string_view ShownName(std::string_view name) {
  if (name.substr(0, kInterfacePrefix.size()) == kInterfacePrefix)
    name.remove_prefix(kInterfacePrefix.size());
  return name;
}

std::string KindLabel(const G& g) {
  std::string label = g.ts.class_index > 0 ? "Nested " : "";
  return label + KindWord(g.ts.cur.kind);
}

std::string WrappedName(const G& g) {
  const TypeFrame& cur = g.ts.cur;
  Width w = NameWidth(cur.kind, g.ts.class_index > 0, !cur.templ.empty());
  return wrap_name(ShownName(cur.name), w.width, w.indent, g);
}

std::string WrappedTemplate(const G& g) {
  const TypeFrame& cur = g.ts.cur;
  Width w = NameWidth(cur.kind, g.ts.class_index > 0, true);
  return wrap_name(cur.templ, w.width, w.indent, g);
}

void InheritanceLine(G& g) {
  const TypeFrame& cur = g.ts.cur;
  if (cur.bases.empty() || !class_metrics_on(g)) return;
  std::string bases = wrap_name(cur.bases, 59, 15, g);
  switch (FormatOf(g)) {
    case kFormatHtml:
      Out(g, "  <b>Inheritance</b>: <b><font color=\"%s\">%s</font></b>\n",
          g.cfg.color_inheritance.c_str(), HtmlEscape(bases).c_str());
      break;
    case kFormatCsv:
      Out(g, "Inheritance,%s\n", bases.c_str());
      break;
    case kFormatXml:
      break;
    default:
      Out(g, "  Inheritance: %s\n", bases.c_str());
      break;
  }
}

// "  Class: name" (and the template line) at the opening brace.
void BeginEntry(G& g) {
  const TypeFrame& cur = g.ts.cur;
  const std::string label = KindLabel(g);
  const std::string name = WrappedName(g);
  const bool templ = !cur.templ.empty() && cur.kind != kKindInterface;
  if (g.opt.html_flag) {
    const Config& c = g.cfg;
    const std::string& color =
        cur.kind == kKindStruct ? c.color_struct : c.color_class;
    Out(g,
        cur.kind == kKindInterface
            ? "  <b>%s</b>: <b><font color=\"%s\">%-46s</font></b>\n"
            : "  <b>%s</b>: <b><font color=\"%s\">%s</font></b>\n",
        label.c_str(), color.c_str(), HtmlEscape(name).c_str());
    if (templ)
      Out(g, "  <b>Template</b>: <b><font color=\"%s\">%s</font></b>\n",
          c.color_template.c_str(), HtmlEscape(WrappedTemplate(g)).c_str());
    return;
  }
  Out(g, "  %s: %s\n", label.c_str(), name.c_str());
  if (templ) Out(g, "  Template: %s\n", WrappedTemplate(g).c_str());
}

// The class entry: at the closing brace without -n, and under -EC.
void ClassEntry(G& g) {
  const TypeFrame& cur = g.ts.cur;
  const std::string label = KindLabel(g);
  const std::string name = WrappedName(g);
  const bool templ = !cur.templ.empty() && cur.kind != kKindInterface;
  switch (FormatOf(g)) {
    case kFormatHtml: {
      const Config& c = g.cfg;
      Out(g,
          "  <b><a href=\"%s\" target=\"_blank\">%s</a></b>: <b><font "
          "color=\"%s\">%s</font></b>\n",
          file_link(g.file.name, g).c_str(), label.c_str(),
          (cur.kind == kKindStruct ? c.color_struct : c.color_class).c_str(),
          HtmlEscape(name).c_str());
      if (templ)
        Out(g, "  <b>Template</b>: <b><font color=\"%s\">%s</font></b>\n",
            c.color_template.c_str(), HtmlEscape(WrappedTemplate(g)).c_str());
      break;
    }
    case kFormatCsv:
      Out(g, "%s,%s\n", label.c_str(), name.c_str());
      if (templ) Out(g, "Template,%s\n", WrappedTemplate(g).c_str());
      break;
    case kFormatXml:
      break;
    default:
      Out(g, "  %s: %s\n", label.c_str(), name.c_str());
      if (templ) Out(g, "  Template: %s\n", WrappedTemplate(g).c_str());
      break;
  }
}

void TypeBlocks(G& g, const TypeSizes& z) {
  const TypeCounts& c = g.ts.cur.counts;
  AttributesBlock(g, c.data_public, c.data_protected, c.data_private);
  MethodsBlock(g, c.methods_public, c.methods_protected, c.methods_private);
  LocBlock(g, z.loc, z.eloc, z.lloc, z.comments, z.lines);
  EntryFunctionPoints(g, g.file.name, z.loc, z.eloc, z.lloc);
}

}  // namespace

bool type_detail_suppressed(const G& g) {
  const Options& o = g.opt;
  return o.totals_flag || o.workfile_create || o.xml_flag;
}

void class_begin_output(G& g, int line_number) {
  const Options& o = g.opt;
  if (o.extract_docs && !type_detail_suppressed(g)) {
    Out(g, "\n");
    ClassEntry(g);
    Out(g, "  %s%s\n", kHyphens36, kHyphens36);
    if (o.notice_flag) Out(g, "\n");
    return;
  }
  if (!(o.notice_flag || class_metrics_on(g)) || type_detail_suppressed(g))
    return;
  if (o.notice_flag) separator_line(g, KindLabel(g) + " Begin", line_number);
  BeginEntry(g);
  InheritanceLine(g);
}

void class_end_output(G& g, int line_number, const TypeSizes& z) {
  const Options& o = g.opt;
  const bool shown = !type_detail_suppressed(g) && !o.extract_docs;
  if (o.notice_flag) {
    if (shown) {
      std::string label = KindLabel(g);
      std::string name = WrappedName(g);
      if (o.html_flag)
        Out(g, "\n  <b>%s</b>: <b><font color=\"%s\">%s</font></b>\n",
            label.c_str(), g.cfg.color_class.c_str(), HtmlEscape(name).c_str());
      else
        Out(g, "\n  %s: %s\n", label.c_str(), name.c_str());
      TypeBlocks(g, z);
    }
    AddClassMetrics(z.loc, z.eloc, z.lloc, z.comments, z.blanks, z.lines, g);
    if (shown) {
      std::string label = g.ts.class_index > 0 ? "Nested " : "";
      label += g.ts.cur.kind == kKindStruct ? "Struct End" : "Class End";
      separator_line(g, label, line_number);
    }
    return;
  }
  if (shown) {
    ClassEntry(g);
    InheritanceLine(g);
    TypeBlocks(g, z);
  }
  AddClassMetrics(z.loc, z.eloc, z.lloc, z.comments, z.blanks, z.lines, g);
}

void namespace_output(G& g, bool begin, int line_number) {
  (void)line_number;
  const Options& o = g.opt;
  if (!(class_metrics_on(g) || o.extract_docs) || type_detail_suppressed(g))
    return;
  std::string label = g.ts.namespace_index > 0 ? "Nested " : "";
  label += g.typing.java_flag ? "Package" : "Namespace";
  label += begin ? " Begin" : " End";
  const std::string& raw = g.fs.namespace_name;
  std::string name = raw.empty() || !(std::isalpha(static_cast<unsigned char>(
                                          raw[0])) ||
                                      raw[0] == '_' || raw[0] == '~')
                         ? std::string("Anonymous - File Scope")
                         : raw;
  switch (FormatOf(g)) {
    case kFormatHtml:
      Out(g,
          "<b><a href=\"%s\" target=\"_blank\">%s</a></b>: <b><font "
          "color=\"%s\">%s</font></b>\n",
          file_link(g.file.name, g).c_str(), label.c_str(),
          g.cfg.color_notice.c_str(), HtmlEscape(name).c_str());
      break;
    case kFormatCsv:
      Out(g, "%s,%s\n", label.c_str(), name.c_str());
      break;
    default:
      Out(g, "  %s: %s\n", label.c_str(), name.c_str());
      break;
  }
  if (o.extract_docs) Out(g, "  %s%s\n", kHyphens36, kHyphens36);
}

void member_line(G& g, bool method, const char* access, int line_number,
                 std::string_view text, std::string_view params) {
  if (g.opt.totals_flag) return;
  std::string word(access);
  std::string padded = word;
  padded.resize(method ? 9 : 11, ' ');
  const char* kind = method ? "Method" : "Data";
  std::string body(text);
  body += params;
  switch (FormatOf(g)) {
    case kFormatXml: {
      std::string tag = std::string(method ? "method_" : "data_") +
                        Lower(word);
      Out(g, "<%s>\n<lineno>%d</lineno>\n<line>%s</line>\n</%s>\n",
          tag.c_str(), line_number, XmlEscape(body).c_str(), tag.c_str());
      break;
    }
    case kFormatHtml:
      Out(g, "  <i>Class %s %s:%6d | %s</i>\n", kind, padded.c_str(),
          line_number, HtmlEscape(body).c_str());
      break;
    default:
      Out(g, "  Class %s %s:%6d | %s\n", kind, padded.c_str(), line_number,
          body.c_str());
      break;
  }
}

}  // namespace vek
