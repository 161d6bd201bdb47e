#include "driver/decharacter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "driver/state.h"
#include "reports/file_header.h"
#include "reports/output.h"

namespace vek {

namespace {

constexpr size_t kBlockSize = 1 << 16;

// Bytes the conversion may change or that change its state.
bool IsSpecial(char c) {
  return c == '\t' || c == '\n' || c == '\r' || c == '"' || c == '\\';
}

bool WriteAll(int fd, const std::string& data) {
  const char* p = data.data();
  size_t left = data.size();
  while (left > 0) {
    ssize_t n = write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
  return true;
}

// Creates the file that receives the converted text beside `target`:
// `target`.tmp, or a unique name after it when a file of that name is
// already there (it may hold what an earlier run could not put back).
int CreateTemporary(const std::string& target, std::string& tmp_name) {
  tmp_name = target + ".tmp";
  int fd = open(tmp_name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                0600);
  if (fd >= 0 || errno != EEXIST) return fd;
  std::string pattern = target + ".tmp.XXXXXX";
  fd = mkstemp(pattern.data());
  if (fd >= 0) tmp_name = pattern;
  return fd;
}

// The file the name stands for: a symbolic link is followed, so that the
// link stays a link and its target is rewritten.
std::string TargetPath(const std::string& name) {
  char* real = realpath(name.c_str(), nullptr);
  if (real == nullptr) return name;
  std::string path(real);
  free(real);
  return path;
}

}  // namespace

void Decharacterizer::Feed(const char* data, size_t len, std::string& out) {
  size_t i = 0;
  while (i < len) {
    // Copy the run of ordinary bytes in one piece.
    size_t run = i;
    while (run < len && !IsSpecial(data[run])) ++run;
    if (run > i) {
      if (cr_held_) {
        out += '\r';
        cr_held_ = false;
      }
      out.append(data + i, run - i);
      escaped_ = false;
      after_cr_ = false;
      mid_line_ = true;
      i = run;
      continue;
    }
    char c = data[i++];
    if (cr_held_) {
      cr_held_ = false;
      if (c != '\n') out += '\r';  // a CR inside a line stays
    }
    switch (c) {
      case '\r':
        if (unix_)
          cr_held_ = true;
        else
          out += '\r';
        break;
      case '\n':
        if (dos_ && !after_cr_) out += '\r';
        out += '\n';
        break;
      case '\t':
        if (tabs_ && !in_string_) {
          out.append(static_cast<size_t>(tab_width_), ' ');
          ++tabs_replaced_;
        } else {
          out += '\t';
        }
        break;
      case '"':
        if (!escaped_) in_string_ = !in_string_;
        out += '"';
        break;
      default:
        out += c;
        break;
    }
    // A quote after an odd run of backslashes is escaped; after an even
    // run (\\") it still opens or closes the string.
    escaped_ = c == '\\' && !escaped_;
    after_cr_ = c == '\r';
    if (c == '\n') {
      ++lines_;
      mid_line_ = false;
    } else {
      mid_line_ = true;
    }
  }
}

void Decharacterizer::Finish(std::string& out) {
  if (cr_held_) out += '\r';
  cr_held_ = false;
}

int decharacter_file(FILE* in, const std::string& name, G& g) {
  const Options& o = g.opt;
  struct stat st;
  bool have_status = fstat(fileno(in), &st) == 0;
  FileHeader(name, have_status ? static_cast<int64_t>(st.st_mtime) : 0,
             have_status ? static_cast<long>(st.st_size) : 0, o.totals_flag,
             g);
  if (o.dedos_flag && o.deunix_flag) {
    Out(g, "  Error: Cannot De-Dos and Make Dos at the same time\n");
    return 0;
  }
  if (o.detab_flag) Out(g, "  Removing Tabs '\\t' from file\n");
  if (o.deunix_flag) Out(g, "  Removing Carriage Returns '\\r' from file\n");
  if (o.dedos_flag) Out(g, "  Adding Carriage Returns '\\r' to file\n");

  auto complete = [&](const Decharacterizer& d) {
    if (o.detab_flag)
      Out(g, "  Complete - Lines = %d, Tabs Replaced = %d\n", d.lines(),
          d.tabs_replaced());
    else
      Out(g, "  Complete - Lines = %d\n", d.lines());
  };
  auto read_failed = [&](int err) {
    Out(g,
        "\n  Error: Cannot read the source file: %s\n         %s\n"
        "         The source file is unchanged.\n\n",
        EscapeFor(g, name).c_str(), strerror(err));
  };

  Decharacterizer d(o.detab_flag, o.deunix_flag, o.dedos_flag,
                    g.cfg.tab_size);
  static char block[kBlockSize];
  size_t got = fread(block, 1, sizeof block, in);
  if (got == 0) {
    if (ferror(in)) {
      read_failed(errno);
      return 0;
    }
    // Nothing to convert: the file stays as it is.
    complete(d);
    return 1;
  }

  const std::string target = TargetPath(name);
  std::string tmp;
  int fd = CreateTemporary(target, tmp);
  if (fd < 0) {
    int err = errno;
    Out(g, "\n  Error: Cannot open the specified file: %s\n  %s\n\n",
        EscapeFor(g, tmp).c_str(), strerror(err));
    return 0;
  }
  // An incomplete conversion is of no use to anyone: it is removed and
  // the original stays as it was.
  auto write_failed = [&](int err) {
    close(fd);
    unlink(tmp.c_str());
    Out(g,
        "\n  Error: Cannot write the converted file: %s\n         %s\n"
        "         The source file is unchanged.\n\n",
        EscapeFor(g, tmp).c_str(), strerror(err));
    return 0;
  };

  std::string out;
  out.reserve(2 * kBlockSize);
  do {
    out.clear();
    d.Feed(block, got, out);
    if (!WriteAll(fd, out)) return write_failed(errno);
  } while ((got = fread(block, 1, sizeof block, in)) > 0);
  if (ferror(in)) {
    int err = errno;
    close(fd);
    unlink(tmp.c_str());
    read_failed(err);
    return 0;
  }
  out.clear();
  d.Finish(out);
  if (!WriteAll(fd, out)) return write_failed(errno);
  if (fsync(fd) != 0) return write_failed(errno);

  // The converted file takes the original's place with its permission
  // bits and, where allowed, its owner.
  int err = 0;
  if (have_status) {
    if (fchown(fd, st.st_uid, st.st_gid) != 0) {
      // Only the owner's own files or root: a new owner is acceptable.
    }
    if (fchmod(fd, st.st_mode & 07777) != 0) err = errno;
  }
  if (close(fd) != 0 && err == 0) {
    int close_err = errno;
    unlink(tmp.c_str());
    Out(g,
        "\n  Error: Cannot write the converted file: %s\n         %s\n"
        "         The source file is unchanged.\n\n",
        EscapeFor(g, tmp).c_str(), strerror(close_err));
    return 0;
  }
  if (err == 0 && rename(tmp.c_str(), target.c_str()) != 0) err = errno;
  if (err != 0) {
    Out(g,
        "\n  Error: Failure to update source file.\n"
        "         Modified source in file: %s\n         %s\n\n",
        EscapeFor(g, tmp).c_str(), strerror(err));
    return 0;
  }
  complete(d);
  return 1;
}

}  // namespace vek
