// The project summaries printed after the file loop: the estimation
// analysis, the language summary and profile, the project directory
// summary, the file detail list and the performance benchmark.  Each is
// written in the four report formats.
#ifndef VEK_REPORTS_PROJECT_REPORTS_H_
#define VEK_REPORTS_PROJECT_REPORTS_H_

namespace vek {

struct G;
struct ProcessTimer;

// "~~ Estimation Analysis ~~": size per function, per parameter, per
// return and per unit of complexity, over every recorded function.
// Nothing when no function was recorded.
void EstimationReport(G& g);

// "~~ Language Summary ~~": the size counts and function points of each
// language group that has any, then of all languages together.  In text,
// HTML and CSV the language profile follows; in XML it follows too unless
// the file summary of the run takes it (LanguageProfileInFileSummary).
void LanguageSummary(G& g);

// "~~ Total Language Profile ~~": each language group's share of the
// project's size counts.  `nested` writes the XML form as an element of
// the file summary rather than as a report of its own.
void LanguageProfile(G& g, int nested);

// Whether the XML file summary of this run carries the language profile
// before its file counts.
bool LanguageProfileInFileSummary(const G& g);

// "~~ Project Directory Summary ~~" of list-file mode: the files and size
// counts of each listed directory that held input files.
void DirectorySummary(G& g);

// The rows of the file detail list (-Td) inside the file summary: every
// analysed file in -k order, then a closing row with the project values.
void FileDetailList(G& g);

// Stops the run's process timer and writes the timer and the benchmark.
void BenchmarkReport(G& g);

// The timer block and the rates for a stopped timer (the report proper).
void WriteBenchmark(G& g, const ProcessTimer& timer);

}  // namespace vek

#endif  // VEK_REPORTS_PROJECT_REPORTS_H_
