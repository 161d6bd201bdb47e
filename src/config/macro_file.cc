#include "config/macro_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "common/text.h"
#include "config/config.h"
#include "config/line_reader.h"
#include "driver/state.h"
#include "reports/output.h"

namespace vek {
namespace {

void WriteDefaultMacros(FILE* stream) {
  std::fprintf(stream,
               "# Vek Code Gauge Version %s\n"
               "# Predefined Language Macro File\n"
               "# Place each macro on a single line followed by a carriage "
               "return\n"
               "# Each line starting with a # sign denotes a comment line\n",
               kVersion);
  std::fputs("\n# Win32 macros effecting data and functions\n"
             "__declspec\n"
             "DECLSPEC_UUID\n"
             "DECLARE_MESSAGE_MAP\n"
             "afx_msg\n"
             "ATL_NO_VTABLE\n"
             "\n# gcc language extension macros effecting data and functions\n"
             "__attribute__\n"
             "\n# End of File\n",
             stream);
}

bool IsControl(char c) {
  unsigned char u = static_cast<unsigned char>(c);
  return u < 32 || u == 127;
}

}  // namespace

int load_macros(G& g) {
  FILE* stream = std::fopen(g.paths.macro_file.c_str(), "rb");
  if (stream == nullptr) {
    // A new file is written with the default names and read back, so that
    // the run that creates it sees the same macros as every later run.
    stream = std::fopen(g.paths.macro_file.c_str(), "w+b");
    if (stream == nullptr) return 0;
    WriteDefaultMacros(stream);
    std::rewind(stream);
  }
  int count = 0;
  LineReader reader(stream);
  std::string line;
  while (reader.Next(line)) {
    if (line.empty() || line[0] == '#' || line[0] == ' ') continue;
    std::string_view name = TrimRight(line, " \t\r\n\f\v");
    if (name.empty() || name[0] == ' ' || IsControl(name[0])) continue;
    try {
      g.macro_names.insert(name);
    } catch (const std::bad_alloc&) {
      Out(g, "  Memory Error: %s\n", std::strerror(ENOMEM));
      break;
    }
    ++count;
  }
  std::fclose(stream);
  return count;
}

}  // namespace vek
