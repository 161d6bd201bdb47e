// Start-up: where the program lives, the environment, and the side files.
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <string>

#include "driver/run.h"
#include "driver/state.h"
#include "reports/output.h"

namespace vek {

namespace {

// A directory path with a trailing '/', at most 1023 characters.
std::string AsDirectory(const char* value) {
  std::string dir = Bounded(value, kPathSize);
  if (!dir.empty() && dir.back() != '/') {
    if (dir.size() >= kPathSize - 1) dir.pop_back();
    dir += '/';
  }
  return dir;
}

// The directory of the running program, from the kernel when it knows it.
std::string ProgramDirectory(const std::string& prog_path) {
  char exe[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
  std::string path = n > 0 ? std::string(exe, static_cast<size_t>(n)) : prog_path;
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {};
  return Bounded(path.substr(0, slash + 1), kPathSize);
}

}  // namespace

void read_environment(G& g, const char* argv0) {
  Paths& p = g.paths;
  p.prog_path = argv0 ? argv0 : "vek";
  if (const char* home = getenv("VEKHOME")) p.VEKHOME = AsDirectory(home);
  if (const char* home = getenv("VEKCFGHOME")) p.CFGHOME = AsDirectory(home);
  if (const char* path = getenv("PATH")) p.SYSTEMPATH = path;
  if (getenv("VEKDEBUG") != nullptr) {
    g.debug_flag = 1;
    Out(g, "*** Debug: Global Data Size = %d\n", static_cast<int>(sizeof(G)));
  }
  if (getenv("VEKCLASSMF") != nullptr) {
    // As -fm: the methods are found by function analysis for their types.
    g.opt.class_methods_flag = 1;
    g.opt.object_flag = 1;
    g.opt.function_flag = 1;
    Out(g, "\n  Showing Class Methods and Functions\n");
  }
  if (p.PROGPATH.empty()) p.PROGPATH = ProgramDirectory(p.prog_path);
  if (p.VEKHOME.empty()) p.VEKHOME = p.PROGPATH;
  char cwd[PATH_MAX];
  if (getcwd(cwd, sizeof cwd) != nullptr) p.start_dir = cwd;
}

void build_command_line(G& g, int argc, char** argv) {
  std::string& line = g.paths.command_line;
  line.clear();
  for (int i = 1; i < argc && line.size() < 3996; ++i) {
    if (i > 1) line += ' ';
    line += argv[i];
  }
  if (line.size() > 4095) line.resize(4095);
}

void resolve_side_files(G& g) {
  Paths& p = g.paths;
  std::string base = p.VEKHOME.size() > 1 ? p.VEKHOME : "./";
  auto resolve = [&](const char* name) {
    if (p.CFGHOME.size() > 1) return Bounded(p.CFGHOME + name, kPathSize);
    return Bounded(base + name, kPathSize);
  };
  p.macro_file = resolve(kMacroFileName);
  p.cfg_file = resolve(kConfigFileName);
  p.workdiff_cfg_file = resolve(kWorkDiffFileName);
}

}  // namespace vek
