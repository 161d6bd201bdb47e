// Test helper: feeds source text from memory to the line scanner, as the
// file loop does, and records what it raised.
#ifndef VEK_ANALYSIS_SCAN_TEST_UTIL_H_
#define VEK_ANALYSIS_SCAN_TEST_UTIL_H_

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "analysis/line_scanner.h"
#include "driver/state.h"
#include "reports/capture_test_util.h"

namespace vek {

enum SourceLanguage { kC, kCpp, kJava, kCSharp };

class ScanTest : public ::testing::Test {
 protected:
  explicit ScanTest(SourceLanguage language = kC) {
    g().notice_trace = &trace_;
    Use(language);
  }

  G& g() { return capture_.g(); }
  const FileCounters& k() { return g().counters; }
  const FunctionCounters& fn() { return g().scan.fn; }
  std::string out() { return capture_.text(); }

  void Use(SourceLanguage language) {
    FileTyping& t = g().typing;
    t = FileTyping();
    t.c_flag = language == kC;
    t.cpp_flag = language == kCpp;
    t.java_flag = language == kJava;
    t.csharp_flag = language == kCSharp;
  }

  // Analyses each line of `source`; types_ gets each line's type code
  // ('-' for none).
  void Feed(const std::string& source) {
    size_t start = 0;
    while (start < source.size()) {
      size_t end = source.find('\n', start);
      end = end == std::string::npos ? source.size() : end + 1;
      std::string line = source.substr(start, end - start);
      analyse_line(line.data(), line.size(), ++line_number_, g());
      char type = line_type_code(g());
      types_ += type ? type : '-';
      start = end;
    }
  }

  // How often notice `number` was raised.
  int Raised(int number) {
    int n = 0;
    for (const auto& [num, line] : trace_) n += num == number;
    return n;
  }
  // The lines notice `number` was raised on.
  std::vector<int> Lines(int number) {
    std::vector<int> lines;
    for (const auto& [num, line] : trace_)
      if (num == number) lines.push_back(line);
    return lines;
  }

  CapturedG capture_;
  std::vector<std::pair<int, int>> trace_;
  int line_number_ = 0;
  std::string types_;
};

}  // namespace vek

#endif  // VEK_ANALYSIS_SCAN_TEST_UTIL_H_
