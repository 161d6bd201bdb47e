// A file written under a temporary name beside its final name and renamed
// into place only when complete, so that an interrupted or failed run
// leaves the old file or none, never half of a new one.
#ifndef VEK_WORKFILES_ATOMIC_FILE_H_
#define VEK_WORKFILES_ATOMIC_FILE_H_

#include <cstdio>
#include <string>

namespace vek {

class AtomicFile {
 public:
  AtomicFile() = default;
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;
  ~AtomicFile() { Discard(); }

  // Opens a temporary file in the folder of `path` for binary writing.
  // Returns false with errno set when the folder takes no new file.
  bool Open(const std::string& path);
  FILE* stream() const { return stream_; }
  bool is_open() const { return stream_ != nullptr; }

  // Flushes, closes and renames the temporary file to the final name; it
  // takes the permission bits of the file it replaces (or the ones a new
  // file would get).  Returns false with errno set, after removing the
  // temporary file, when any step fails.
  bool Commit();
  // Closes and removes the temporary file; the final name is untouched.
  void Discard();

 private:
  FILE* stream_ = nullptr;
  std::string path_;
  std::string temp_path_;
};

// Copies the file `from` onto `to` through a temporary file and a rename.
// Returns 0, 1 when `from` cannot be read, 2 when `to` cannot be written;
// errno holds the cause.
int CopyFileAtomic(const std::string& from, const std::string& to);

// True when both paths name one existing file.
bool SameFile(const std::string& a, const std::string& b);

}  // namespace vek

#endif  // VEK_WORKFILES_ATOMIC_FILE_H_
