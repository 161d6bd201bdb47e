#include "workfiles/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

namespace vek {

namespace {

// The mode a new file gets from the process's umask.
mode_t NewFileMode() {
  mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

}  // namespace

bool AtomicFile::Open(const std::string& path) {
  Discard();
  path_ = path;
  std::string pattern = path + ".tmpXXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  int fd = mkstemp(name.data());
  if (fd < 0) return false;
  temp_path_.assign(name.data());
  stream_ = fdopen(fd, "wb");
  if (stream_ == nullptr) {
    int err = errno;
    close(fd);
    unlink(temp_path_.c_str());
    temp_path_.clear();
    errno = err;
    return false;
  }
  return true;
}

bool AtomicFile::Commit() {
  if (stream_ == nullptr) {
    errno = EBADF;
    return false;
  }
  struct stat st;
  mode_t mode = stat(path_.c_str(), &st) == 0 ? (st.st_mode & 07777)
                                              : NewFileMode();
  errno = 0;
  bool ok = fflush(stream_) == 0 && ferror(stream_) == 0;
  if (!ok && errno == 0) errno = EIO;
  int err = ok ? 0 : errno;
  if (ok && fchmod(fileno(stream_), mode) != 0) {
    ok = false;
    err = errno;
  }
  if (fclose(stream_) != 0 && ok) {
    ok = false;
    err = errno;
  }
  stream_ = nullptr;
  if (ok && rename(temp_path_.c_str(), path_.c_str()) != 0) {
    ok = false;
    err = errno;
  }
  if (!ok) unlink(temp_path_.c_str());
  temp_path_.clear();
  errno = err;
  return ok;
}

void AtomicFile::Discard() {
  if (stream_ != nullptr) {
    fclose(stream_);
    stream_ = nullptr;
  }
  if (!temp_path_.empty()) {
    unlink(temp_path_.c_str());
    temp_path_.clear();
  }
}

int CopyFileAtomic(const std::string& from, const std::string& to) {
  FILE* in = fopen(from.c_str(), "rb");
  if (in == nullptr) return 1;
  AtomicFile out;
  if (!out.Open(to)) {
    int err = errno;
    fclose(in);
    errno = err;
    return 2;
  }
  char block[4096];
  size_t n;
  while ((n = fread(block, 1, sizeof block, in)) > 0) {
    if (fwrite(block, 1, n, out.stream()) != n) {
      int err = errno;
      fclose(in);
      out.Discard();
      errno = err;
      return 2;
    }
  }
  bool read_error = ferror(in) != 0;
  int err = errno;
  fclose(in);
  if (read_error) {
    out.Discard();
    errno = err;
    return 1;
  }
  return out.Commit() ? 0 : 2;
}

bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa, sb;
  if (stat(a.c_str(), &sa) != 0 || stat(b.c_str(), &sb) != 0) return false;
  return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

}  // namespace vek
