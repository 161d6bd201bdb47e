// The quality notices of a run as one SARIF 2.1.0 log (--sarif=FILE), the
// format code-scanning services read.  The log is written besides the
// normal report, never instead of it.
#ifndef VEK_REPORTS_SARIF_H_
#define VEK_REPORTS_SARIF_H_

#include <string>
#include <string_view>
#include <vector>

#include "common/collected_notice.h"

namespace vek {

struct G;

// The log of `notices` as JSON text.  `root` is the absolute directory that
// relative URIs start from (%SRCROOT%); `cwd` the absolute directory that
// relative file names are read from.  Results are ordered by file, line and
// number; each carries a fingerprint that does not change between runs.
std::string sarif_log_text(std::vector<CollectedNotice> notices,
                           std::string_view root, std::string_view cwd,
                           std::string_view version);

// The URI of `file` (relative names are joined to `cwd`): relative to
// `root` when inside it, with `*inside` set, else an absolute file:// URI.
// Every byte but unreserved ones and '/' is percent-encoded.
std::string sarif_uri(std::string_view file, std::string_view root,
                      std::string_view cwd, bool* inside);

// Writes the log of the run to the --sarif file: into a temporary file of
// the same folder, then renamed over the name.  False, with `error` set,
// when it could not be written (the old file is then left as it was).
bool write_sarif_log(G& g, std::string* error);

}  // namespace vek

#endif  // VEK_REPORTS_SARIF_H_
