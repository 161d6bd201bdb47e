// The one record that carries metrics for a file, a function, a type, a
// namespace, a work file row or a differential row.  Which text and extra
// slots mean what is up to the code that fills the entry.
#ifndef VEK_COMMON_METRICS_ENTRY_H_
#define VEK_COMMON_METRICS_ENTRY_H_

#include <cstdint>
#include <string>

namespace vek {

struct MetricsEntry {
  std::string name;   // file path, qualified function name, type name ...
  std::string text2;  // kind-specific; empty means none
  std::string text3;
  std::string text4;
  int group = 0;
  int64_t time = 0;  // a file's modification time
  int size = 0;      // a file's size in bytes
  int loc = 0;
  int eloc = 0;
  int lloc = 0;
  int cyclomatic = 0;
  int comments = 0;
  int blanks = 0;
  int lines = 0;
  int state = 0;               // differential state
  float change_percent = 0.0f; // eLOC change percentage
  int notices = 0;
  int interface_complexity = 0;
  int total_complexity = 0;
  int functions = 0;
  int extra[5] = {0, 0, 0, 0, 0};
  std::string text5;  // for a work file entry: its line-data path
};

}  // namespace vek

#endif  // VEK_COMMON_METRICS_ENTRY_H_
