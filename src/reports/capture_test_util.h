// Test helper: a G whose report stream is captured in memory.
#ifndef VEK_REPORTS_CAPTURE_TEST_UTIL_H_
#define VEK_REPORTS_CAPTURE_TEST_UTIL_H_

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "driver/state.h"

namespace vek {

class CapturedG {
 public:
  CapturedG() : g_(std::make_unique<G>()) {
    memory_ = open_memstream(&buf_, &len_);
    g_->report_stream = memory_;
  }
  ~CapturedG() {
    // A successful -O closes the capture and reports to its file; a failed
    // one puts the report on stdout and leaves the capture open.
    if (g_->report_stream == stdout)
      fclose(memory_);
    else
      fclose(g_->report_stream);
    free(buf_);
  }
  CapturedG(const CapturedG&) = delete;
  CapturedG& operator=(const CapturedG&) = delete;

  G& g() { return *g_; }
  // Everything written so far.
  std::string text() {
    fflush(g_->report_stream);
    return std::string(buf_, len_);
  }

 private:
  std::unique_ptr<G> g_;
  FILE* memory_ = nullptr;
  char* buf_ = nullptr;
  size_t len_ = 0;
};

}  // namespace vek

#endif  // VEK_REPORTS_CAPTURE_TEST_UTIL_H_
