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
    g_->report_stream = open_memstream(&buf_, &len_);
  }
  ~CapturedG() {
    if (g_->report_stream != stdout) fclose(g_->report_stream);
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
  char* buf_ = nullptr;
  size_t len_ = 0;
};

}  // namespace vek

#endif  // VEK_REPORTS_CAPTURE_TEST_UTIL_H_
