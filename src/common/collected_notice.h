// A quality notice kept for the machine-readable log of a run (--sarif):
// where it was raised, its number and its one-line text with its values.
#ifndef VEK_COMMON_COLLECTED_NOTICE_H_
#define VEK_COMMON_COLLECTED_NOTICE_H_

#include <string>

namespace vek {

struct CollectedNotice {
  std::string file;     // the file name as the report shows it
  int line = 0;
  int number = 0;       // 1..58 built in, above them user defined
  std::string text;     // the message on one line, with its values
  std::string summary;  // the notice type's short description
};

}  // namespace vek

#endif  // VEK_COMMON_COLLECTED_NOTICE_H_
