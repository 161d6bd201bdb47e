#include "reports/metrics_blocks.h"

#include <charconv>
#include <cstring>
#include <string_view>

#include "driver/state.h"
#include "reports/output.h"

namespace vek {

namespace {

// One block in its four forms, indexed by ReportFormat.  Within a block
// every form takes the same values in the same order; a null form prints
// nothing.
using BlockForms = const char* const[4];

constexpr BlockForms kLocForms = {
    "  LOC %-7lld  eLOC %-7lld  lLOC %-7lld  Comment %-7lld  Lines %8lld\n",
    "  <b>LOC</b> %-7lld  <b>eLOC</b> %-7lld  <b>lLOC</b> %-7lld  "
    "<b>Comment</b> %-7lld  <b>Lines</b> %8lld\n",
    "LOC,%lld,eLOC,%lld,lLOC,%lld,Comment,%lld,Lines,%lld\n",
    "<loc>%lld</loc>\n<eloc>%lld</eloc>\n<lloc>%lld</lloc>\n"
    "<comments>%lld</comments>\n<lines>%lld</lines>\n",
};

// The heading of the average block; CSV only prefixes the first label.
constexpr BlockForms kAverageForms = {
    "  Average per File, metric/%-d files\n",
    "  <b>Average per File</b>, metric/%-d files\n",
    "Avg ",
    nullptr,
};

constexpr BlockForms kFunctionPointForms = {
    "  Function Points         FP(LOC) %-7.1f FP(eLOC) %-7.1fFP(lLOC) %7.1f\n",
    "  <b>Function Points</b>         <b>FP(LOC)</b> %-7.1f "
    "<b>FP(eLOC)</b> %-7.1f<b>FP(lLOC)</b> %7.1f\n",
    "FP(LOC),%-7.1f,FP(eLOC),%-7.1f,FP(lLOC),%7.1f\n",
    "<function_point_loc>%.1f</function_point_loc>\n"
    "<function_point_eloc>%.1f</function_point_eloc>\n"
    "<function_point_lloc>%.1f</function_point_lloc>\n",
};

// XML adds the interface complexity, so it has its own line below.
constexpr BlockForms kComplexityForms = {
    "  Complexity   Param %-7d Return %-6d Cyclo Vg %-7d Total %8d\n",
    "  <b>Complexity</b>   <b>Param</b> %-7d <b>Return</b> %-6d "
    "<b>Cyclo Vg</b> %-7d <b>Total</b> %8d\n",
    "Param,%d,Return,%d,Cyclo Vg,%d,Total,%d\n",
    nullptr,
};

constexpr BlockForms kQualityForms = {
    "  Quality      Funcs %-7d Notice %-7dQN/Func  %-7.1fQN/KeLOC %6.0f\n",
    "  <b>Quality      Funcs</b> %-7d <b>Notice</b> %-7d<b>QN/Func</b>  "
    "%-7.1f<b>QN/KeLOC</b> %6.0f\n",
    "Funcs ,%-7d,Notice,%-7d,QN/Func,%-7.1f,QN/KeLOC,%-7.0f\n",
    "<function_count>%d</function_count>\n"
    "<quality_notices>%d</quality_notices>\n"
    "<notices_per_function>%.1f</notices_per_function>\n"
    "<notices_per_KeLOC>%.0f</notices_per_KeLOC>\n",
};

constexpr BlockForms kMethodForms = {
    "  Methods      Publ %-7d  Prot %-7d  Private %-7d  Total %8d\n",
    "  <b>Methods</b>      <b>Publ</b> %-7d  <b>Prot</b> %-7d  "
    "<b>Private</b> %-7d  <b>Total</b> %8d\n",
    "Methods,Publ,%d,Prot,%d,Private,%d,Total,%d\n",
    "<methods>\n<public>%d</public>\n<protected>%d</protected>\n"
    "<private>%d</private>\n<totals>%d</totals>\n</methods>\n",
};

constexpr BlockForms kAttributeForms = {
    "  Attributes   Publ %-7d  Prot %-7d  Private %-7d  Total %8d\n",
    "  <b>Attributes</b>   <b>Publ</b> %-7d  <b>Prot</b> %-7d  "
    "<b>Private</b> %-7d  <b>Total</b> %8d\n",
    "Attributes,Publ,%7d,Prot,%7d,Private,%7d,Total,%8d\n",
    "<attributes>\n<public>%d</public>\n<protected>%d</protected>\n"
    "<private>%d</private>\n<total>%d</total>\n</attributes>\n",
};

constexpr BlockForms kClassTotalForms = {
    "  Total Classses %-10d  Total Functions %-6d  Avg Func/Class %6.2f\n",
    "  <b>Total Classses</b> %-10d  <b>Total Functions</b> %-6d  "
    "<b>Avg Func/Class</b> %6.2f\n",
    "Total Classses,%d,Total Functions,%d,Avg Func/Class,%6.2f\n",
    "<total_classes>%d</total_classes>\n"
    "<total_functions>%d</total_functions>\n"
    "<average_methods_per_class>%.2f</average_methods_per_class>\n",
};

// A report line of a few numbers, put together as printf would with "%-Nd"
// (Left) and "%Nd" (Right).
class TextLine {
 public:
  void Put(std::string_view text) {
    memcpy(buf_ + n_, text.data(), text.size());
    n_ += text.size();
  }
  void Left(long long v, size_t width) {
    const size_t digits = Number(v);
    if (digits < width) Blanks(width - digits);
  }
  void Right(long long v, size_t width) {
    char number[24];
    const auto r = std::to_chars(number, number + sizeof number, v);
    const size_t digits = static_cast<size_t>(r.ptr - number);
    if (digits < width) Blanks(width - digits);
    Put(std::string_view(number, digits));
  }
  std::string_view view() const { return std::string_view(buf_, n_); }

 private:
  size_t Number(long long v) {
    const auto r = std::to_chars(buf_ + n_, buf_ + sizeof buf_, v);
    const size_t digits = static_cast<size_t>(r.ptr - (buf_ + n_));
    n_ += digits;
    return digits;
  }
  void Blanks(size_t count) {
    memset(buf_ + n_, ' ', count);
    n_ += count;
  }
  // The longest line: five labels, five 20-character numbers.
  char buf_[256];
  size_t n_ = 0;
};

// The form of `forms` for the format in force, or null.
const char* Form(const G& g, BlockForms& forms) { return forms[FormatOf(g)]; }

int Clamp(int v) { return v < 0 ? 0 : v; }
long long Clamp(long long v) { return v < 0 ? 0 : v; }

template <typename T>
void Track(T v, T& min, T& max, int n) {
  if (n == 1 || v < min) min = v;
  if (v > max) max = v;
  if (min < 0) min = 0;
}

// The format strings come from the tables above; their conversions match
// the arguments of each call site.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"

void AccessBlock(G& g, BlockForms& forms, int publ, int prot, int priv) {
  publ = Clamp(publ);
  prot = Clamp(prot);
  priv = Clamp(priv);
  Out(g, Form(g, forms), publ, prot, priv, publ + prot + priv);
}

}  // namespace

ReportFormat FormatOf(const G& g) {
  if (g.opt.html_flag) return kFormatHtml;
  if (g.opt.xml_flag) return kFormatXml;
  if (g.opt.csv_flag) return kFormatCsv;
  return kFormatText;
}

double SafeRatio(long long a, long long b) {
  return b >= 1 ? static_cast<double>(a) / b : 0.0;
}

double SafeDiv(double a, double b) { return b > 0.0 ? a / b : 0.0; }

void TrackMinMax(int v, int& min, int& max, int n) { Track(v, min, max, n); }
void TrackMinMax(long long v, long long& min, long long& max, int n) {
  Track(v, min, max, n);
}
void TrackMinMaxReal(double v, double& min, double& max, int n) {
  Track(v, min, max, n);
}

void LocBlock(G& g, long long loc, long long eloc, long long lloc,
              long long comments, long long lines) {
  if (FormatOf(g) == kFormatText) {
    // The text form of kLocForms, written for every function.
    TextLine t;
    t.Put("  LOC ");
    t.Left(Clamp(loc), 7);
    t.Put("  eLOC ");
    t.Left(Clamp(eloc), 7);
    t.Put("  lLOC ");
    t.Left(Clamp(lloc), 7);
    t.Put("  Comment ");
    t.Left(Clamp(comments), 7);
    t.Put("  Lines ");
    t.Right(Clamp(lines), 8);
    t.Put("\n");
    OutText(g, t.view());
    return;
  }
  Out(g, Form(g, kLocForms), Clamp(loc), Clamp(eloc), Clamp(lloc),
      Clamp(comments), Clamp(lines));
}

void AverageBlock(G& g, long long files, long long loc, long long eloc,
                  long long lloc, long long comments, long long lines) {
  const char* heading = Form(g, kAverageForms);
  if (files <= 0 || heading == nullptr) return;
  Out(g, heading, static_cast<int>(files));
  LocBlock(g, Clamp(loc) / files, Clamp(eloc) / files, Clamp(lloc) / files,
           Clamp(comments) / files, Clamp(lines) / files);
}

void FunctionPointBlock(G& g, double fp_loc, double fp_eloc, double fp_lloc) {
  Out(g, Form(g, kFunctionPointForms), fp_loc, fp_eloc, fp_lloc);
}

void ComplexityBlock(G& g, int parameters, int returns, int cyclomatic) {
  if (!g.opt.complexity_flag) return;
  int interface = parameters + returns;
  int total = interface + cyclomatic;
  if (FormatOf(g) == kFormatXml) {
    Out(g,
        "<parameters>%d</parameters>\n<returns>%d</returns>\n"
        "<interface_complexity>%d</interface_complexity>\n"
        "<cyclomatic_complexity>%d</cyclomatic_complexity>\n"
        "<total_complexity>%d</total_complexity>\n",
        parameters, returns, interface, cyclomatic, total);
    return;
  }
  if (FormatOf(g) == kFormatText) {
    // The text form of kComplexityForms, written for every function.
    TextLine t;
    t.Put("  Complexity   Param ");
    t.Left(parameters, 7);
    t.Put(" Return ");
    t.Left(returns, 6);
    t.Put(" Cyclo Vg ");
    t.Left(cyclomatic, 7);
    t.Put(" Total ");
    t.Right(total, 8);
    t.Put("\n");
    OutText(g, t.view());
    return;
  }
  Out(g, Form(g, kComplexityForms), parameters, returns, cyclomatic, total);
}

void QualityBlock(G& g, int functions, int notices, long long eloc) {
  Out(g, Form(g, kQualityForms), functions, notices,
      SafeRatio(notices, functions), SafeDiv(notices * 1000.0, static_cast<double>(eloc)));
}

void MethodsBlock(G& g, int publ, int prot, int priv) {
  AccessBlock(g, kMethodForms, publ, prot, priv);
}

void AttributesBlock(G& g, int publ, int prot, int priv) {
  AccessBlock(g, kAttributeForms, publ, prot, priv);
}

void ClassTotalsBlock(G& g, int classes, int functions) {
  Out(g, Form(g, kClassTotalForms), classes, functions,
      SafeRatio(functions, classes));
}

#pragma GCC diagnostic pop

}  // namespace vek
