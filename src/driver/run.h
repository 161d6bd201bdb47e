// The whole run of vek in order: start-up, switches, gathering, the file
// loop, the project reports and the exit status.
#ifndef VEK_DRIVER_RUN_H_
#define VEK_DRIVER_RUN_H_

#include <sys/stat.h>

#include <cstdio>
#include <string>

namespace vek {

struct G;

// Runs vek with the given arguments; returns the exit status (0..255).
int Run(int argc, char** argv);

// Start-up steps before the configuration is read: program directory,
// environment, command line text and side-file paths.
void read_environment(G& g, const char* argv0);
void build_command_line(G& g, int argc, char** argv);
void resolve_side_files(G& g);

// Reads a source file in large blocks and hands it out one read at a
// time: a line up to and including its newline, or at most `cap - 1`
// bytes of a longer one.  NUL bytes are kept.
class SourceReader {
 public:
  explicit SourceReader(FILE* f) : f_(f) {}
  SourceReader(const SourceReader&) = delete;
  SourceReader& operator=(const SourceReader&) = delete;

  // Copies the next read into `buf` (NUL-terminated); returns its length,
  // 0 at the end of the file.
  size_t Next(char* buf, size_t cap);
  // True once the file has no more bytes after the last read.
  bool AtEnd();

 private:
  bool Fill();

  FILE* f_;
  char block_[1 << 16];
  size_t pos_ = 0;
  size_t end_ = 0;
  bool eof_ = false;
};

// The file loop over the input file list.
void process_files(G& g);

// Notes the files the report is written to (the -O file, a redirected
// standard output) so that no walk or list reads them back.
void remember_report_files(G& g);
// True when `st` is one of those files.
bool is_report_file(const G& g, const struct stat& st);

// Counts an input named by the user that cannot be read and says so on the
// error stream (the report has its own message where the rules put it).
void input_failure(G& g, const std::string& name, const char* reason);

// The progress line on a terminal: drawn for each file, ended once.
void end_live_progress(G& g);

// The status of a run that could not do all it was asked: a file or
// folder named as an input that cannot be read, a list file that cannot be
// opened, a report file that is also an input, a --sarif log that cannot be
// written.  Notice counts stop one below it, so a script can tell the two
// apart.
constexpr int kRunFailedStatus = 255;
constexpr int kMaxNoticeStatus = 254;

// The exit status: the project's notice count when notice reporting is on,
// capped so that it never wraps to success in 8 bits.
int exit_status(const G& g);

}  // namespace vek

#endif  // VEK_DRIVER_RUN_H_
