// The project reports of the quality notices: the notice summary list
// (every recorded notice by file and line) and the quality profile (the
// notices by type with their share and density).
#ifndef VEK_REPORTS_NOTICE_REPORTS_H_
#define VEK_REPORTS_NOTICE_REPORTS_H_

namespace vek {

struct G;

// "~~ Quality Notice Summary ~~": the recorded-notice list, sorted by the
// -k key when one is given; nothing when no notice was recorded.
void notice_list_report(G& g);

// "~~ Project Quality Profile ~~": one row per notice type found, the
// total and the density per 1000 LOC, eLOC and lLOC of the project.  Run
// after the project totals were copied over the file counters.
void quality_profile_report(G& g);

}  // namespace vek

#endif  // VEK_REPORTS_NOTICE_REPORTS_H_
