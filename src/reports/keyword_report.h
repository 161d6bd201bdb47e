// The keyword and metrics report (-v) and the memory allocation summary
// (-a), for the current file or, after the file loop, for the project.
#ifndef VEK_REPORTS_KEYWORD_REPORT_H_
#define VEK_REPORTS_KEYWORD_REPORT_H_

namespace vek {

struct G;

// "~~ File Keywords and Metrics ~~" (project 0) or "~~ Project Keywords
// and Metrics ~~" (project 1): line, keyword and construct counts in two
// columns, or one element per value in XML.  CSV output gets the text form.
void KeywordReport(G& g, int project);

// "~~ Memory Allocation/De-allocation Summary ~~": the alloc, free, new and
// delete counts; nothing when none of them is positive.
void MemorySummary(G& g);

}  // namespace vek

#endif  // VEK_REPORTS_KEYWORD_REPORT_H_
