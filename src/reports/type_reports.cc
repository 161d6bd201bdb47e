#include "reports/type_reports.h"

#include <iterator>
#include <string>
#include <unordered_map>

#include "common/text.h"
#include "common/type_record.h"
#include "config/languages.h"
#include "driver/state.h"
#include "reports/file_reports.h"
#include "reports/function_records.h"
#include "reports/function_reports.h"
#include "reports/metrics_blocks.h"
#include "reports/output.h"

namespace vek {

namespace {

// The rule between the totals and the averages of the analysis.
constexpr const char* kColumnRule =
    "       ------     -----     -----     ------     ------     -----       ";

// --- Sorting ------------------------------------------------------------------

// The key and the list positions of the sort in progress; the list's
// comparison is a plain function, so it finds them here.
struct SortContext {
  int key = kSortNone;
  std::unordered_map<const TypeRecord*, size_t> position;
};
const SortContext* sort_context = nullptr;

long long KeyValue(const TypeRecord& r, int key) {
  switch (key) {
    case kSortLoc: return r.size.loc;
    case kSortEloc: return r.size.eloc;
    case kSortLloc: return r.size.lloc;
    case kSortCyclomatic: return r.methods.cyclomatic;
    case kSortWorkState: return r.work_state;
    default: return 0;  // the file keys mean nothing for a type
  }
}

int CompareTypes(const TypeRecord& a, const TypeRecord& b, bool descending) {
  const TypeRecord& x = descending ? b : a;
  const TypeRecord& y = descending ? a : b;
  int c = 0;
  if (sort_context->key == kSortName) {
    c = CaseCompare(x.name, y.name);
  } else {
    long long u = KeyValue(x, sort_context->key);
    long long v = KeyValue(y, sort_context->key);
    c = u < v ? -1 : (u > v ? 1 : 0);
  }
  if (c != 0) return c;
  // Equal keys: the later record first, whichever the direction.
  size_t pa = sort_context->position.at(&a);
  size_t pb = sort_context->position.at(&b);
  return pa > pb ? -1 : (pa < pb ? 1 : 0);
}

// --- Names --------------------------------------------------------------------

// The name as reports show it: an interface without its prefix.
std::string_view ShownName(const TypeRecord& r, bool interface) {
  std::string_view name = r.name;
  if (!interface) return name;
  size_t dash = name.find('-');
  return dash == std::string_view::npos ? name : name.substr(dash + 1);
}

// Only names that start like an identifier are listed; anything else is a
// misreading of the source.
bool Listable(std::string_view name) {
  if (name.empty()) return false;
  char c = name[0];
  return IsAlpha(c) || c == '_' || c == '~';
}

// `text` wrapped to end in column 74 after a label of `label` characters.
std::string WrapAfter(std::string_view text, int label, const G& g) {
  return wrap_name(text, 74 - label, label, g);
}

int Capped(long long v) {
  if (v > 0x7fffffff) return 0x7fffffff;
  if (v < -0x7fffffff) return -0x7fffffff;
  return static_cast<int>(v);
}

// --- Columns ------------------------------------------------------------------

enum Column {
  kLoc, kEloc, kLloc, kComments, kBlanks, kLines,
  kParams, kReturns, kInterface, kCyclomatic, kFunctional,
  kMethods, kPubMethods, kProtMethods, kPrivMethods,
  kAttributes, kPubAttributes, kProtAttributes, kPrivAttributes,
  kClasses, kFunctions,
  kColumns,
  kRatio = -1  // comments per eLOC, placed in a row but not summed
};

struct Values {
  long long v[kColumns] = {};
};

// A type's own size, the sums over its methods and its access counts;
// for a namespace also the types and methods credited to it.
Values ValuesOf(const TypeRecord& r) {
  Values x;
  long long* v = x.v;
  v[kLoc] = r.size.loc;
  v[kEloc] = r.size.eloc;
  v[kLloc] = r.size.lloc;
  v[kComments] = r.size.comments;
  v[kBlanks] = r.size.blanks;
  v[kLines] = r.size.lines;
  v[kParams] = r.methods.params;
  v[kReturns] = r.methods.returns;
  v[kInterface] = r.methods.params + r.methods.returns;
  v[kCyclomatic] = r.methods.cyclomatic;
  v[kFunctional] = v[kInterface] + v[kCyclomatic];
  v[kPubMethods] = r.method_counts.pub;
  v[kProtMethods] = r.method_counts.prot;
  v[kPrivMethods] = r.method_counts.priv;
  v[kMethods] = r.method_counts.Total();
  v[kPubAttributes] = r.data_counts.pub;
  v[kProtAttributes] = r.data_counts.prot;
  v[kPrivAttributes] = r.data_counts.priv;
  v[kAttributes] = r.data_counts.Total();
  v[kClasses] = r.type_count;
  v[kFunctions] = static_cast<long long>(r.methods.count);
  return x;
}

// The columns of the CSV rows, after the type and the name.
constexpr int kClassRow[] = {
    kLoc, kEloc, kLloc, kComments, kRatio, kLines, kParams, kReturns,
    kInterface, kCyclomatic, kFunctional, kMethods, kPubMethods, kProtMethods,
    kPrivMethods, kAttributes, kPubAttributes, kProtAttributes,
    kPrivAttributes};
constexpr int kNamespaceRow[] = {
    kLoc, kEloc, kLloc, kComments, kRatio, kLines, kParams, kReturns,
    kInterface, kCyclomatic, kFunctional, kClasses, kFunctions, kPubMethods,
    kProtMethods, kPrivMethods, kAttributes, kPubAttributes, kProtAttributes,
    kPrivAttributes};

// --- The three lists ----------------------------------------------------------

enum ListKind { kClassList, kInterfaceList, kNamespaceList };

struct ListTraits {
  ListKind kind;
  const char* title;
  const char* xml_name;
  const char* csv_title;       // classes: the -C form has its own
  const char* csv_count;
  const char* csv_header;
  const char* csv_type;        // first column of every CSV row
  const char* plural;          // "Total: All %s"
  const char* xml_plural;      // "<total_all_%s>"
  const char* analysis_title;
  const char* analysis_csv;
  const char* analysis_xml;
  const char* count_label;
  const char* count_xml;
  const char* nested_label;    // types only
};

constexpr const char* kClassCsvHeader =
    "Type,Name,LOC,eLOC,lLOC,Comments,Comments/eLOC,Lines,Parameters,Returns,"
    "Interface Complexity,Cyclomatic Complexity,Functional Complexity,"
    "Methods,Public Methods,Protected Methods,Private Methods,Attributes,"
    "Public Attributes,Protected Attributes,Private Attributes\n";

constexpr ListTraits kClassTraits = {
    kClassList,
    "~~ Project Class/Struct Metrics ~~",
    "Project Class or Struct Metrics",
    "\nProject Class/Struct Metrics\n",
    "Classes",
    kClassCsvHeader,
    "Class",
    "Classes/Structs",
    "classes_structs",
    "~~ Project Class/Struct Analysis ~~",
    "Project Class/Struct Analysis\n",
    "total_all_class_struct_analysis",
    "  Total Classes/Structs .: ",
    "class_struct_count",
    "  Total Nested Classes ..: ",
};

constexpr ListTraits kInterfaceTraits = {
    kInterfaceList,
    "~~ Project Interface Metrics ~~",
    "Project Interface Metrics",
    "\nProject Interface Metrics\n",
    "Count",
    kClassCsvHeader,
    "Class",
    "Interfaces",
    "interfaces",
    "~~ Project Interface Analysis ~~",
    "Project Interface Analysis\n",
    "total_all_interface_analysis",
    "  Total Interfaces ......: ",
    "interface_count",
    "  Total Nested Interfaces: ",
};

constexpr ListTraits kNamespaceTraits = {
    kNamespaceList,
    "~~ Project Namespace/Package Metrics ~~",
    "Project Namespace-Package Metrics",
    "\nProject Namespace/Package Metrics\n",
    "Count",
    "Type,Name,LOC,eLOC,lLOC,Comments,Comments/eLOC,Lines,Parameters,Returns,"
    "Interface Complexity,Cyclomatic Complexity,Functional Complexity,"
    "Classes,Functions,Public Methods,Protected Methods,Private Methods,"
    "Attributes,Public Attributes,Protected Attributes,Private Attributes\n",
    "Namespace/Package",
    "Namespaces/Packages",
    "namespaces_packages",
    "~~ Project Namespace/Package Analysis ~~",
    "Project Namespace/Package Analysis\n",
    "total_all_namespace_package_analysis",
    "  Total Namespace/Package: ",
    "namespace_package_count",
    nullptr,
};

TypeList& ListOf(G& g, ListKind kind) {
  switch (kind) {
    case kClassList: return g.classes;
    case kInterfaceList: return g.interfaces;
    default: return g.namespaces;
  }
}

// One CSV row: the type, the name, then the columns of the list's row,
// whole numbers, or with `average` divided by `count` with two decimals.
void CsvRow(G& g, const ListTraits& s, std::string_view name, const Values& x,
            double ratio, bool average = false, int count = 0) {
  Out(g, "%s,%.*s", s.csv_type, static_cast<int>(name.size()), name.data());
  const bool ns = s.kind == kNamespaceList;
  const int* order = ns ? kNamespaceRow : kClassRow;
  const int columns = ns ? static_cast<int>(std::size(kNamespaceRow))
                         : static_cast<int>(std::size(kClassRow));
  for (int i = 0; i < columns; ++i) {
    if (order[i] == kRatio)
      Out(g, ",%.2f", ratio);
    else if (average)
      Out(g, ",%.2f", SafeDiv(static_cast<double>(x.v[order[i]]), count));
    else
      Out(g, ",%d", Capped(x.v[order[i]]));
  }
  Out(g, "\n");
}

// The function-point block of a sum, in the form of an entry's.
void SumFunctionPoints(G& g, const double* fp) {
  if (!g.opt.function_points_flag) return;
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

// The metric blocks of an entry or a sum, in entry order.
void Blocks(G& g, const ListTraits& s, const Values& x) {
  const long long* v = x.v;
  if (s.kind == kNamespaceList)
    ClassTotalsBlock(g, Capped(v[kClasses]), Capped(v[kFunctions]));
  AttributesBlock(g, Capped(v[kPubAttributes]), Capped(v[kProtAttributes]),
                  Capped(v[kPrivAttributes]));
  MethodsBlock(g, Capped(v[kPubMethods]), Capped(v[kProtMethods]),
               Capped(v[kPrivMethods]));
  ComplexityBlock(g, Capped(v[kParams]), Capped(v[kReturns]),
                  Capped(v[kCyclomatic]));
  LocBlock(g, Capped(v[kLoc]), Capped(v[kEloc]), Capped(v[kLloc]),
           Capped(v[kComments]), Capped(v[kLines]));
}

// --- Entries ------------------------------------------------------------------

struct EntryKind {
  const char* word;      // "Class", "Nested Struct", ...
  const char* xml_tag;
  const std::string* color;
};

EntryKind KindOf(const G& g, const ListTraits& s, const TypeRecord& r) {
  const Config& c = g.cfg;
  const bool nested = r.nesting != 0;
  switch (s.kind) {
    case kInterfaceList:
      return nested ? EntryKind{"Nested Interface", "nested_interface",
                                &c.color_class}
                    : EntryKind{"Interface", "interface", &c.color_class};
    case kNamespaceList:
      return EntryKind{"Namespace/Package", "namespace", &c.color_class};
    default:
      break;
  }
  if (r.struct_flag)
    return nested ? EntryKind{"Nested Struct", "nested_struct", &c.color_struct}
                  : EntryKind{"Struct", "struct", &c.color_struct};
  return nested ? EntryKind{"Nested Class", "nested_class", &c.color_class}
                : EntryKind{"Class", "class", &c.color_class};
}

void TypeEntry(G& g, const ListTraits& s, const TypeRecord& r,
               std::string_view name) {
  const Config& cfg = g.cfg;
  const EntryKind k = KindOf(g, s, r);
  const bool has_template = !r.templ.empty();
  const bool has_bases = !r.bases.empty();
  const Values x = ValuesOf(r);
  // "  <word>: " is where the wrapped name continues.
  const int label = static_cast<int>(std::string_view(k.word).size()) + 4;
  switch (FormatOf(g)) {
    case kFormatCsv:
      CsvRow(g, s, CsvEscape(name), x,
             SafeRatio(Capped(x.v[kComments]), Capped(x.v[kEloc])));
      if (has_template) Out(g, "Template,%s\n", CsvEscape(r.templ).c_str());
      if (has_bases) Out(g, "Inheritance,%s\n", CsvEscape(r.bases).c_str());
      return;
    case kFormatXml:
      Out(g, "<%s>\n<name>%s</name>\n", k.xml_tag,
          XmlEscape(name).c_str());
      if (has_template)
        Out(g, "<template>%s</template>\n", XmlEscape(r.templ).c_str());
      if (has_bases)
        Out(g, "<inheritance>%s</inheritance>\n", XmlEscape(r.bases).c_str());
      Blocks(g, s, x);
      EntryFunctionPoints(g, r.file, Capped(x.v[kLoc]), Capped(x.v[kEloc]),
                          Capped(x.v[kLloc]));
      Out(g, "</%s>\n", k.xml_tag);
      return;
    case kFormatHtml: {
      std::string shown = HtmlEscape(WrapAfter(name, label, g));
      if (r.nesting == 0 || s.kind == kNamespaceList) {
        Out(g,
            "  <b><a href=\"%s\" target=\"_blank\">%s</a></b>: "
            "<b><font color=\"%s\">%s</font></b>\n",
            file_link(r.file, g).c_str(), k.word, k.color->c_str(),
            shown.c_str());
      } else if (s.kind == kClassList && !r.struct_flag) {
        Out(g,
            "  <b>Nested Class</b>: <b><font color=\"%s\">%s</font></b></b>\n",
            k.color->c_str(), shown.c_str());
      } else {
        Out(g, "  <b>%s</b>: <b><font color=\"%s\">%s</font></b>\n", k.word,
            k.color->c_str(), shown.c_str());
      }
      if (has_template)
        Out(g, "  <b>Template: </b><b><font color=\"%s\">%s</font></b>\n",
            cfg.color_template.c_str(),
            HtmlEscape(WrapAfter(r.templ, 12, g)).c_str());
      if (has_bases)
        Out(g, "  <b>Inheritance</b>: <b><font color=\"%s\">%s</font></b>\n",
            cfg.color_inheritance.c_str(),
            HtmlEscape(WrapAfter(r.bases, 15, g)).c_str());
      break;
    }
    case kFormatText:
      Out(g, "  %s: %s\n", k.word, WrapAfter(name, label, g).c_str());
      if (has_template)
        Out(g, "  Template: %s\n", WrapAfter(r.templ, 12, g).c_str());
      if (has_bases)
        Out(g, "  Inheritance: %s\n", WrapAfter(r.bases, 15, g).c_str());
      break;
  }
  Blocks(g, s, x);
  EntryFunctionPoints(g, r.file, Capped(x.v[kLoc]), Capped(x.v[kEloc]),
                      Capped(x.v[kLloc]));
  Out(g, "\n");
}

// --- Head ---------------------------------------------------------------------

bool AnyNested(const TypeList& list) {
  for (const auto& r : list.items())
    if (r->nesting != 0) return true;
  return false;
}

void Head(G& g, const ListTraits& s, const TypeList& list) {
  const ReportFormat f = FormatOf(g);
  switch (f) {
    case kFormatText:
    case kFormatHtml:
      Out(g, "\n  %s%s\n\n", kHyphens36, kHyphens36);
      ReportTitle(g, s.title);
      break;
    case kFormatXml:
      Out(g, "<report>\n<name>%s</name>\n", s.xml_name);
      break;
    case kFormatCsv:
      Out(g, "%s", s.kind == kClassList && g.opt.csv_file_rows
                       ? "\nProject Class Metrics\n"
                       : s.csv_title);
      break;
  }
  if (s.kind == kClassList && AnyNested(list)) {
    constexpr const char* kNote = "Parent LOC Metrics Include Nested LOC Metrics";
    switch (f) {
      case kFormatText:
      case kFormatHtml:
        center_line(g, kNote);
        break;
      case kFormatCsv:
        Out(g, "%s\n", g.opt.csv_file_rows
                           ? "Class/Struct Metrics Include Nested Class/Struct "
                             "Metrics"
                           : kNote);
        break;
      case kFormatXml:
        Out(g, "<note>%s</note>\n", kNote);
        break;
    }
  }
  SortedByLine(g);
  if (f == kFormatText || f == kFormatHtml) Out(g, "\n");
  if (f == kFormatCsv) {
    Out(g, "%s,%zu\n", s.csv_count, list.count());
    Out(g, "%s", s.csv_header);
  }
}

// --- Totals -------------------------------------------------------------------

struct Sum {
  Values x;
  double fp[kFpBases] = {0.0, 0.0, 0.0};
  void Add(const Values& v, const double* points) {
    for (int i = 0; i < kColumns; ++i) x.v[i] += v.v[i];
    for (int i = 0; i < kFpBases; ++i) fp[i] += points[i];
  }
};

struct Totals {
  int count = 0;
  int nested = 0;
  Sum parent;  // over the types that are not nested
  Sum all;
  Values max, min;
  double ratio_sum = 0.0, ratio_max = 0.0, ratio_min = 0.0;

  void Add(const TypeRecord& r, const Values& v, const double* fp) {
    ++count;
    if (r.nesting != 0)
      ++nested;
    else
      parent.Add(v, fp);
    all.Add(v, fp);
    for (int i = 0; i < kColumns; ++i)
      TrackMinMax(v.v[i], min.v[i], max.v[i], count);
    double ratio = SafeRatio(Capped(v.v[kComments]), Capped(v.v[kEloc]));
    ratio_sum += ratio;
    TrackMinMaxReal(ratio, ratio_min, ratio_max, count);
  }
  double Avg(int column) const {
    return SafeDiv(static_cast<double>(all.x.v[column]), count);
  }
};

// The function points of a type, for the language of its own file.
void PointsOf(G& g, const TypeRecord& r, const Values& v, double* fp) {
  fp[0] = fp[1] = fp[2] = 0.0;
  if (!g.opt.function_points_flag) return;
  type_file(r.file, g, 0);
  fp[0] = FunctionPoints(Capped(v.v[kLoc]), kFpLoc, g);
  fp[1] = FunctionPoints(Capped(v.v[kEloc]), kFpEloc, g);
  fp[2] = FunctionPoints(Capped(v.v[kLloc]), kFpLloc, g);
}

// Credits a class or interface to its namespace record.
void Credit(G& g, const TypeRecord& r, std::string_view name) {
  TypeRecord* ns = NamespaceOf(g.namespaces, name);
  if (ns == nullptr || ns == &r || ns->name == "Anonymous") return;
  ++ns->type_count;
  if (r.nesting != 0) return;
  ns->methods += r.methods;
  ns->size += r.size;
  ns->method_counts += r.method_counts;
  ns->data_counts += r.data_counts;
}

// "Total: All [Parent] <plural>" and the blocks of the sum.
void SumSection(G& g, const ListTraits& s, const Sum& sum, bool parent) {
  const char* which = parent ? "Parent " : "";
  const char* xml_which = parent ? "parent_" : "";
  switch (FormatOf(g)) {
    case kFormatText:
      Out(g, "  Total: All %s%s\n", which, s.plural);
      break;
    case kFormatHtml:
      Out(g, "  <b>Total</b>: <b>All %s%s</b>\n", which, s.plural);
      break;
    case kFormatCsv:
      Out(g, "Total All %s%s\n", which, s.plural);
      break;
    case kFormatXml:
      Out(g, "<total_all_%s%s>\n", xml_which, s.xml_plural);
      break;
  }
  Blocks(g, s, sum.x);
  SumFunctionPoints(g, sum.fp);
  if (FormatOf(g) == kFormatXml)
    Out(g, "</total_all_%s%s>\n", xml_which, s.xml_plural);
  else if (FormatOf(g) != kFormatCsv)
    Out(g, "\n");
}

// "  <Avg|Max|Min> <words> .....: ", the words padded with dots to the
// width of every label of the analysis.
std::string Made(const char* prefix, const char* words) {
  std::string label = std::string(prefix) + " " + words;
  if (label.size() < 23) {
    label += ' ';
    label.append(23 - label.size(), '.');
  }
  return "  " + label + ": ";
}

// Left half of a line: " %9"; right half: "%10" and the line feed.
void Whole(G& g, std::string_view label, long long v, bool right) {
  SummaryLabel(g, label);
  Out(g, right ? "%10lld\n" : " %9lld", v);
}
void Real(G& g, std::string_view label, double v, bool right) {
  SummaryLabel(g, label);
  Out(g, right ? "%10.2f\n" : " %9.2f", v);
}

struct Pair {
  int left, right;
  const char* left_total;
  const char* right_total;
  const char* left_words;
  const char* right_words;
};

// The pairs of the analysis after the counts: totals use the first
// labels; averages, maxima and minima are built from the words.
constexpr Pair kTotalPairs[] = {
    {kPubMethods, kPubAttributes, "  Total Public Methods ..: ",
     "  Total Public Attributes: ", "Public Methods", "Public Attributes"},
    {kProtMethods, kProtAttributes, "  Total Protected Methods: ",
     "  Total Protected Attrib.: ", "Protected Methods", "Protected Attrib."},
    {kPrivMethods, kPrivAttributes, "  Total Private Methods .: ",
     "  Total Private Attrib. .: ", "Private Methods", "Private Attrib."},
    {kLines, kLoc, "  Total Physical Lines ..: ", "  Total LOC .............: ",
     nullptr, nullptr},
    {kEloc, kLloc, "  Total eLOC ............: ", "  Total lLOC ............: ",
     nullptr, nullptr},
    {kCyclomatic, kInterface, "  Total Cyclomatic Comp. : ",
     "  Total Interface Comp. .: ", nullptr, nullptr},
    {kParams, kReturns, "  Total Parameters ......: ",
     "  Total Return Points ...: ", nullptr, nullptr},
    {kComments, kBlanks, "  Total Comment Lines ...: ",
     "  Total Blank Lines .....: ", nullptr, nullptr},
};

// Averages, maxima and minima pair differently from the totals.
constexpr Pair kStatPairs[] = {
    {kLines, kMethods, nullptr, nullptr, "Physical Lines", "Methods"},
    {kPubMethods, kPubAttributes, nullptr, nullptr, "Public Methods",
     "Public Attributes"},
    {kProtMethods, kProtAttributes, nullptr, nullptr, "Protected Methods",
     "Protected Attrib."},
    {kPrivMethods, kPrivAttributes, nullptr, nullptr, "Private Methods",
     "Private Attrib."},
    {kLoc, kEloc, nullptr, nullptr, "LOC", "eLOC"},
    {kLloc, kCyclomatic, nullptr, nullptr, "lLOC", "Cyclomatic Comp."},
    {kInterface, kParams, nullptr, nullptr, "Interface Comp.", "Parameters"},
    {kReturns, kComments, nullptr, nullptr, "Return Points", "Comment Lines"},
};

void AnalysisText(G& g, const ListTraits& s, const Totals& t) {
  const bool ns = s.kind == kNamespaceList;
  const long long* sum = t.all.x.v;
  Out(g, "  %s%s\n\n", kHyphens36, kHyphens36);
  ReportTitle(g, s.analysis_title);
  Out(g, "\n");
  Whole(g, s.count_label, t.count, false);
  Out(g, "\n");
  if (ns) {
    Whole(g, "  Total Classes .........: ", sum[kClasses], false);
    Whole(g, "  Total Functions .......: ", sum[kFunctions], true);
    Whole(g, "  Total Methods .........: ", sum[kMethods], false);
    Out(g, "\n");
  } else {
    Whole(g, s.nested_label, t.nested, false);
    Whole(g, "  Total Methods .........: ", sum[kMethods], true);
  }
  for (const Pair& p : kTotalPairs) {
    Whole(g, p.left_total, sum[p.left], false);
    Whole(g, p.right_total, sum[p.right], true);
  }
  Out(g, "  %s\n", kColumnRule);
  if (ns) {
    Real(g, Made("Avg", "Classes"), t.Avg(kClasses), false);
    Real(g, Made("Avg", "Functions"), t.Avg(kFunctions), true);
  }
  for (const Pair& p : kStatPairs) {
    Real(g, Made("Avg", p.left_words), t.Avg(p.left), false);
    Real(g, Made("Avg", p.right_words), t.Avg(p.right), true);
  }
  for (int pass = 0; pass < 2; ++pass) {
    const char* prefix = pass == 0 ? "Max" : "Min";
    const long long* v = pass == 0 ? t.max.v : t.min.v;
    if (ns) {
      Whole(g, Made(prefix, "Classes"), v[kClasses], false);
      Whole(g, Made(prefix, "Functions"), v[kFunctions], true);
    }
    for (const Pair& p : kStatPairs) {
      Whole(g, Made(prefix, p.left_words), v[p.left], false);
      Whole(g, Made(prefix, p.right_words), v[p.right], true);
    }
  }
}

void AnalysisCsv(G& g, const ListTraits& s, const Totals& t) {
  Out(g, "%s", s.analysis_csv);
  // Total: comments over eLOC of the sums; the other rows: the mean and
  // the extremes of the types' own ratios.
  CsvRow(g, s, "Total", t.all.x,
         SafeRatio(Capped(t.all.x.v[kComments]), Capped(t.all.x.v[kEloc])));
  CsvRow(g, s, "Average", t.all.x, SafeDiv(t.ratio_sum, t.count), true,
         t.count);
  CsvRow(g, s, "Maximum", t.max, t.ratio_max);
  CsvRow(g, s, "Minimum", t.min, t.ratio_min);
}

struct XmlColumn {
  int column;
  const char* name;
  bool stats;  // has average, maximum and minimum elements
};

constexpr XmlColumn kXmlColumns[] = {
    {kMethods, "methods", true},
    {kPubMethods, "public_methods", true},
    {kProtMethods, "protected_methods", true},
    {kPrivMethods, "private_methods", true},
    {kPubAttributes, "public_attributes", true},
    {kProtAttributes, "protected_attributes", true},
    {kPrivAttributes, "private_attributes", true},
    {kLines, "lines", true},
    {kLoc, "loc", true},
    {kEloc, "eloc", true},
    {kLloc, "lloc", true},
    {kCyclomatic, "cyclomatic_complexity", true},
    {kInterface, "interface_complexity", true},
    {kParams, "params", true},
    {kReturns, "returns", true},
    {kComments, "comments", true},
    {kBlanks, "blanks", false},
};

void AnalysisXml(G& g, const ListTraits& s, const Totals& t) {
  const bool ns = s.kind == kNamespaceList;
  const long long* sum = t.all.x.v;
  Out(g, "<%s>\n", s.analysis_xml);
  Out(g, "<%s>%d</%s>\n", s.count_xml, t.count, s.count_xml);
  if (ns) {
    Out(g, "<classes>%lld</classes>\n<functions>%lld</functions>\n",
        sum[kClasses], sum[kFunctions]);
  } else {
    Out(g, "<nested_count>%d</nested_count>\n", t.nested);
  }
  for (const XmlColumn& c : kXmlColumns)
    Out(g, "<%s>%lld</%s>\n", c.name, sum[c.column], c.name);
  if (ns)
    Out(g,
        "<average_classes>%.2f</average_classes>\n"
        "<average_functions>%.2f</average_functions>\n",
        t.Avg(kClasses), t.Avg(kFunctions));
  for (const XmlColumn& c : kXmlColumns)
    if (c.stats)
      Out(g, "<average_%s>%.2f</average_%s>\n", c.name, t.Avg(c.column),
          c.name);
  for (int pass = 0; pass < 2; ++pass) {
    const char* which = pass == 0 ? "max" : "min";
    const long long* v = pass == 0 ? t.max.v : t.min.v;
    if (ns)
      Out(g,
          "<%s_classes>%lld</%s_classes>\n"
          "<%s_functions>%lld</%s_functions>\n",
          which, v[kClasses], which, which, v[kFunctions], which);
    for (const XmlColumn& c : kXmlColumns)
      if (c.stats)
        Out(g, "<%s_%s>%lld</%s_%s>\n", which, c.name, v[c.column], which,
            c.name);
  }
  Out(g, "</%s>\n", s.analysis_xml);
}

void ListReport(G& g, const ListTraits& s) {
  TypeList& list = ListOf(g, s.kind);
  if (list.empty()) return;
  SortTypeList(list, g.opt.sort_key, g.opt.sort_descending != 0);
  Head(g, s, list);

  const bool interface = s.kind == kInterfaceList;
  Totals totals;
  const FileTyping saved = g.typing;
  for (const auto& record : list.items()) {
    const TypeRecord& r = *record;
    const std::string_view name = ShownName(r, interface);
    if (!Listable(name)) continue;
    const Values v = ValuesOf(r);
    double fp[kFpBases];
    PointsOf(g, r, v, fp);
    g.typing = saved;
    totals.Add(r, v, fp);
    if (s.kind != kNamespaceList) Credit(g, r, name);
    if (!g.opt.totals_summaries_only) TypeEntry(g, s, r, name);
  }

  if (s.kind != kNamespaceList) SumSection(g, s, totals.parent, true);
  SumSection(g, s, totals.all, false);
  switch (FormatOf(g)) {
    case kFormatText:
    case kFormatHtml:
      AnalysisText(g, s, totals);
      break;
    case kFormatCsv:
      AnalysisCsv(g, s, totals);
      break;
    case kFormatXml:
      AnalysisXml(g, s, totals);
      break;
  }
  EndListReport(g);
}

}  // namespace

void SortTypeList(TypeList& list, int key, bool descending) {
  if (key <= kSortNone || key >= kSortKeys) return;
  SortContext context;
  context.key = key;
  size_t i = 0;
  for (const auto& r : list.items()) context.position[r.get()] = i++;
  sort_context = &context;
  list.items().StableSort(&CompareTypes, descending);
  sort_context = nullptr;
}

TypeRecord* NamespaceOf(TypeList& namespaces, std::string_view type_name) {
  std::string_view rest = type_name;
  for (;;) {
    size_t cut = rest.find_last_of(":.");
    if (cut == std::string_view::npos) return nullptr;
    if (rest[cut] == ':' && cut > 0 && rest[cut - 1] == ':') --cut;
    rest = rest.substr(0, cut);
    if (rest.empty()) return nullptr;
    if (TypeRecord* ns = namespaces.Find(rest)) return ns;
  }
}

void ClassReport(G& g) { ListReport(g, kClassTraits); }

void InterfaceReport(G& g) { ListReport(g, kInterfaceTraits); }

void NamespaceReport(G& g) { ListReport(g, kNamespaceTraits); }

}  // namespace vek
