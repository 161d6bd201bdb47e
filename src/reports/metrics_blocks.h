// The small metric blocks that the file, function, class and project reports
// print (LOC, averages, function points, complexity, quality, methods,
// attributes, class totals), each in the four report formats, and the
// numeric helpers every report uses so that no ratio divides by zero.
#ifndef VEK_REPORTS_METRICS_BLOCKS_H_
#define VEK_REPORTS_METRICS_BLOCKS_H_

namespace vek {

struct G;

// The report format in force; exactly one is active.  HTML wins over XML,
// XML over CSV, as in the report trailer.
enum ReportFormat { kFormatText, kFormatHtml, kFormatCsv, kFormatXml };
ReportFormat FormatOf(const G& g);

// a / b when b is 1 or more, else 0.0.
double SafeRatio(long long a, long long b);
// a / b when b is above 0, else 0.0.
double SafeDiv(double a, double b);

// Folds the n-th value of a column (n counts from 1) into its extremes:
// the first value or a smaller one becomes the minimum, a larger one the
// maximum, and a negative minimum is raised to 0.  Both start at 0.
void TrackMinMax(int v, int& min, int& max, int n);
void TrackMinMax(long long v, long long& min, long long& max, int n);
void TrackMinMaxReal(double v, double& min, double& max, int n);

// "LOC .. eLOC .. lLOC .. Comment .. Lines"; negative counts print as 0.
void LocBlock(G& g, long long loc, long long eloc, long long lloc,
              long long comments, long long lines);

// The LOC block divided (truncating) by `files`, under its own heading;
// nothing when `files` is 0 or less, and nothing in XML.
void AverageBlock(G& g, long long files, long long loc, long long eloc,
                  long long lloc, long long comments, long long lines);

// The three function points of a file, function or project.
void FunctionPointBlock(G& g, double fp_loc, double fp_eloc, double fp_lloc);

// Parameters, returns, cyclomatic complexity and their total; printed only
// in complexity mode.
void ComplexityBlock(G& g, int parameters, int returns, int cyclomatic);

// Functions, notices, notices per function and per 1000 eLOC.
void QualityBlock(G& g, int functions, int notices, long long eloc);

// Public, protected and private methods or attributes and their total;
// negative counts print as 0.
void MethodsBlock(G& g, int publ, int prot, int priv);
void AttributesBlock(G& g, int publ, int prot, int priv);

// Classes, functions and functions per class.
void ClassTotalsBlock(G& g, int classes, int functions);

}  // namespace vek

#endif  // VEK_REPORTS_METRICS_BLOCKS_H_
