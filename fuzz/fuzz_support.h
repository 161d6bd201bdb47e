// Shared set-up of the fuzz targets: every target runs in a private
// temporary folder that is also VEKHOME, so the side files it writes there
// (vek.cfg, vek_macro.cfg, vek_udqn.cfg) are the ones the run reads, and
// the reports go to /dev/null.
#ifndef VEK_FUZZ_FUZZ_SUPPORT_H_
#define VEK_FUZZ_FUZZ_SUPPORT_H_

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "driver/run.h"

namespace vek_fuzz {

// Makes the working folder, enters it and silences standard output.  Called
// once from LLVMFuzzerInitialize.
inline void Enter() {
  static bool done = false;
  if (done) return;
  done = true;
  const char* tmp = getenv("TMPDIR");
  std::string dir = std::string(tmp != nullptr && *tmp ? tmp : "/tmp") +
                    "/vek_fuzz.XXXXXX";
  if (mkdtemp(dir.data()) == nullptr || chdir(dir.c_str()) != 0) {
    perror("vek fuzz: working folder");
    abort();
  }
  setenv("VEKHOME", dir.c_str(), 1);
  unsetenv("VEKCFGHOME");
  unsetenv("VEKDEBUG");
  setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
  setenv("TZ", "UTC", 1);
  int null_fd = open("/dev/null", O_WRONLY);
  if (null_fd >= 0) dup2(null_fd, STDOUT_FILENO);
}

// Writes `size` bytes to `name` in the working folder (replacing it).
inline void WriteFile(const char* name, const uint8_t* data, size_t size) {
  FILE* f = fopen(name, "wb");
  if (f == nullptr) abort();
  if (size > 0 && fwrite(data, 1, size, f) != size) abort();
  fclose(f);
}

inline void WriteText(const char* name, const char* text) {
  WriteFile(name, reinterpret_cast<const uint8_t*>(text),
            std::char_traits<char>::length(text));
}

inline void Remove(const char* name) { unlink(name); }

// Runs vek with the given arguments (the program name is added).
inline int RunVek(std::vector<std::string> args) {
  args.insert(args.begin(), "vek");
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  fflush(stdout);
  return vek::Run(static_cast<int>(args.size()), argv.data());
}

// A small C++ file with a class, functions, tabs and a macro use, analysed
// by the targets that fuzz a side file.
inline constexpr const char* kSmallSource =
    "#include <stdio.h>\n"
    "// Keeps a count.\n"
    "class Counter : public Base {\n"
    " public:\n"
    "\tint Next(int step) {\n"
    "\t\tif (step > 0 && count_ < 10) { count_ += step; } else { return -1; }\n"
    "\t\tswitch (step) { case 1: break; default: goto out; }\n"
    "out:\t\treturn count_; /* done */\n"
    "\t}\n"
    "  int count_ = 0;\n"
    "};\n"
    "EXPORT_API int main(int argc, char** argv) {\n"
    "  const char* s = \"text\\\" with a quote\";\n"
    "  while (argc-- > 0) printf(\"%s %s\\n\", argv[argc], s);\n"
    "  return 0;\n"
    "}\n";

}  // namespace vek_fuzz

#endif  // VEK_FUZZ_FUZZ_SUPPORT_H_
