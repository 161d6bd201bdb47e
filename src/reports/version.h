// The product's version and dates, shown in every report head.
#ifndef VEK_REPORTS_VERSION_H_
#define VEK_REPORTS_VERSION_H_

namespace vek {

// The date this version was built for release; fixed so that reports of
// the same version compare equal.
constexpr const char* kBuildDate = "Dec 07 2026";
constexpr const char* kWebAddress = "https://vek.dev";

}  // namespace vek

#endif  // VEK_REPORTS_VERSION_H_
