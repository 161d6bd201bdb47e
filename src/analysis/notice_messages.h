// The long messages of the built-in quality notices: the plain form, the
// form with the line first ("Reorder notice, line in quality notices") and
// the HTML form of every notice, with the values its message names.
#ifndef VEK_ANALYSIS_NOTICE_MESSAGES_H_
#define VEK_ANALYSIS_NOTICE_MESSAGES_H_

#include <string>
#include <string_view>

#include "analysis/notice_points.h"

namespace vek {

struct G;

enum NoticeForm { kNoticePlain, kNoticeReordered, kNoticeHtml };

// The whole message of notice `number` (1..58) at `line_number` in `form`.
// `file` is the file the tree and file notices name.  Forms a notice does
// not have fall back to the plain form (the file-level notices have no
// reordered form).
std::string long_notice_message(int number, int line_number,
                                std::string_view file, const NoticeArgs& a,
                                NoticeForm form, const G& g);

}  // namespace vek

#endif  // VEK_ANALYSIS_NOTICE_MESSAGES_H_
