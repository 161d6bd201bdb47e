// What keeps a run from harming or misreading the user's files: the
// report's own files are never read back, and inputs that cannot be read
// are counted so that the run does not end as if it were clean.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "driver/run.h"
#include "driver/state.h"

namespace vek {

namespace {

void Remember(G& g, int fd) {
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return;
  G::FileId id;
  id.dev = static_cast<unsigned long long>(st.st_dev);
  id.ino = static_cast<unsigned long long>(st.st_ino);
  g.report_files.push_back(id);
}

}  // namespace

void remember_report_files(G& g) {
  g.report_files.clear();
  if (g.report_stream != nullptr) Remember(g, fileno(g.report_stream));
  Remember(g, fileno(stdout));
}

bool is_report_file(const G& g, const struct stat& st) {
  for (const G::FileId& id : g.report_files)
    if (id.dev == static_cast<unsigned long long>(st.st_dev) &&
        id.ino == static_cast<unsigned long long>(st.st_ino))
      return true;
  return false;
}

void input_failure(G& g, const std::string& name, const char* reason) {
  ++g.input_failures;
  fprintf(stderr, "vek: cannot read %s: %s\n", name.c_str(), reason);
}

}  // namespace vek
