// The header written before each file's analysis output.
#ifndef VEK_REPORTS_FILE_HEADER_H_
#define VEK_REPORTS_FILE_HEADER_H_

#include <cstdint>
#include <string_view>

namespace vek {

struct G;

// `suppress` selects the short form of the totals-only modes.  A name that
// holds "Total" or "Average" with a zero time is a summary row.
void FileHeader(std::string_view name, int64_t mtime, long size, int suppress,
                G& g);

// The header of a row of the file detail list: the full form without the
// rule that would set a file's analysis output apart.
void FileDetailHeader(std::string_view name, int64_t mtime, long size, G& g);

}  // namespace vek

#endif  // VEK_REPORTS_FILE_HEADER_H_
