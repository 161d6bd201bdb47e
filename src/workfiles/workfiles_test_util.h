// Test helpers for the work file tests: a scratch folder and whole-file
// reads and writes.
#ifndef VEK_WORKFILES_WORKFILES_TEST_UTIL_H_
#define VEK_WORKFILES_WORKFILES_TEST_UTIL_H_

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace vek {

class ScratchDir {
 public:
  ScratchDir() {
    char pattern[] = "/tmp/vek_workfiles_XXXXXX";
    char* made = mkdtemp(pattern);
    EXPECT_NE(nullptr, made);
    path_ = made ? made : "/tmp";
  }
  ~ScratchDir() {
    std::string command = "rm -rf '" + path_ + "'";
    if (system(command.c_str()) != 0) ADD_FAILURE() << command;
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  std::string operator/(const std::string& name) const {
    return path_ + "/" + name;
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

inline void WriteText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

inline std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The header of a work file made by this program.
inline std::string WorkHeader(const char* version = "7.75",
                              long long created = 1700000000,
                              int blank = 1, int white = 1) {
  return std::string("Vek Code Gauge Work File\n"
                     "DO NOT EDIT - This is a Generated File\n") +
         version + "\n" + std::to_string(created) + "\nIgnore Blank Lines: " +
         std::to_string(blank) + "\nIgnore White Space: " +
         std::to_string(white) + "\n";
}

}  // namespace vek

#endif  // VEK_WORKFILES_WORKFILES_TEST_UTIL_H_
