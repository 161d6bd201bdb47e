#include "driver/gather.h"

#include <dirent.h>
#include <glob.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/text.h"
#include "config/languages.h"
#include "driver/project_convert.h"
#include "driver/state.h"
#include "reports/output.h"

namespace vek {

namespace {

constexpr std::string_view kPatternSeparators = ",\t\r\n";
constexpr std::string_view kListSeparators = " \t,";
// The extension list of -r and of a list file directory entry.
constexpr std::string_view kWalkExtensionSeparators = " .,*\t\r\n";

int CompareFileNames(const FileRecord& a, const FileRecord& b,
                     bool descending) {
  return descending ? b.name.compare(a.name) : a.name.compare(b.name);
}

std::string Slashes(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c == '\\') c = '/';
  return out;
}

bool HasWildCard(std::string_view s) {
  return s.find_first_of("*?") != std::string_view::npos;
}

class Gatherer {
 public:
  explicit Gatherer(G& g);

  void CommandLine(int first_arg);
  void Recursive();
  void ListFile();
  int Finish();

 private:
  bool SameName(std::string_view a, std::string_view b) const {
    return g_.cfg.case_sensitive ? a == b : CaseEqual(a, b);
  }
  bool PatternDrops(std::string_view name) const;
  bool ExtensionAllowed(std::string_view ext) const;
  bool ExcludedDirectory(std::string_view name) const;

  // Filters a file named on the command line or in a list file and adds it.
  void AddNamedFile(const std::string& name, bool command_line);
  // Appends a record to the header or source list; false when memory ran
  // out (after the message).
  bool AddRecord(const std::string& name, std::string_view ext,
                 const struct stat* st);

  // Walks `dir` (as named by the user) for files with one of `extensions`.
  void WalkTree(const std::string& dir, std::string_view extensions);
  void Walk(const std::string& path, const std::vector<std::string>& exts);
  void CountWalkProgress();

  void ListLine(std::string line);
  std::string ExpandVariables(const std::string& line);
  void DirectoryEntry(std::string_view line);

  G& g_;
  std::vector<std::string> patterns_;
  List<FileRecord> headers_;
  List<FileRecord> sources_;
  bool out_of_memory_ = false;
  bool progress_started_ = false;
  int progress_count_ = 0;
  int progress_total_ = 0;
};

Gatherer::Gatherer(G& g) : g_(g) {
  if (!g.cfg.pattern_filter_active) return;
  // Unless names are case sensitive, patterns are lowered once here and
  // each name when it is compared.
  SplitEach(g.cfg.pattern_filter, kPatternSeparators,
            [&](std::string_view p) {
              patterns_.push_back(g.cfg.case_sensitive ? std::string(p)
                                                       : Lower(p));
            });
}

bool Gatherer::PatternDrops(std::string_view name) const {
  if (patterns_.empty()) return false;
  std::string subject = g_.cfg.case_sensitive ? std::string(name) : Lower(name);
  for (const std::string& p : patterns_)
    if (subject.find(p) != std::string::npos) return true;
  return false;
}

bool Gatherer::ExtensionAllowed(std::string_view ext) const {
  if (!g_.cfg.validate_extensions) return true;
  bool allowed = false;
  SplitEach(g_.languages.allowed_extensions, kListSeparators,
            [&](std::string_view entry) {
              if (SameName(entry, ext)) allowed = true;
            });
  return allowed;
}

bool Gatherer::ExcludedDirectory(std::string_view name) const {
  if (!g_.cfg.exclude_dirs_active) return false;
  bool excluded = false;
  SplitEach(g_.cfg.exclude_dirs, kListSeparators, [&](std::string_view d) {
    if (SameName(d, name)) excluded = true;
  });
  return excluded;
}

bool Gatherer::AddRecord(const std::string& name, std::string_view ext,
                         const struct stat* st) {
  std::unique_ptr<FileRecord> record(new (std::nothrow) FileRecord);
  FileRecord* added = nullptr;
  if (record) {
    record->name = name;
    if (st != nullptr) {
      record->mtime = static_cast<int64_t>(st->st_mtime);
      record->size = static_cast<long>(st->st_size);
    }
    bool header = !ext.empty() && (ext[0] == 'h' || ext[0] == 'H');
    added = (header ? headers_ : sources_).list_append(std::move(record));
  }
  if (added == nullptr) {
    Out(g_, "  Memory Error: %s\n", strerror(ENOMEM));
    out_of_memory_ = true;
    return false;
  }
  return true;
}

void Gatherer::AddNamedFile(const std::string& name, bool command_line) {
  std::string ext = file_extension(name, g_);
  if (ext.empty()) return;
  if (PatternDrops(name)) return;
  if (!ExtensionAllowed(ext)) {
    // Option values that reach this point fall out here; the report file
    // of -O is expected among them and is dropped quietly.
    bool output_file = command_line && g_.opt.output_file_flag &&
                       name == g_.opt.output_file;
    if (!output_file)
      Out(g_, "\n  Error: %s - Not a valid file type for VEK\n"
              "         Valid types: %s\n",
          EscapeFor(g_, name).c_str(),
          g_.languages.allowed_extensions.c_str());
    return;
  }
  struct stat st;
  const bool found = stat(name.c_str(), &st) == 0;
  // A directory named like a source file ("lib.c/") is no file to read.
  if (found && S_ISDIR(st.st_mode)) return;
  AddRecord(name, ext, found ? &st : nullptr);
}

void Gatherer::CommandLine(int first_arg) {
  if (g_.argv == nullptr) return;
  for (int i = std::max(first_arg, 1); i < g_.argc && !out_of_memory_; ++i) {
    const char* arg = g_.argv[i];
    if (arg == nullptr) continue;
    if (!HasWildCard(arg)) {
      AddNamedFile(arg, true);
      continue;
    }
    // A wild card the shell left alone (quoted, or no shell at all).  A
    // pattern matching nothing stays as written, so that the run reports
    // the name it could not open.
    glob_t matches;
    if (glob(arg, GLOB_NOCHECK, nullptr, &matches) == 0) {
      for (size_t m = 0; m < matches.gl_pathc && !out_of_memory_; ++m)
        AddNamedFile(matches.gl_pathv[m], true);
    }
    globfree(&matches);
  }
}

void Gatherer::CountWalkProgress() {
  if (!g_.progress_flag) return;
  int interval = g_.dot_interval > 0 ? g_.dot_interval : 1;
  if (!progress_started_) {
    Progress(g_, "  Building File List - Status(.) %d files\n  ",
             g_.dot_interval);
    progress_started_ = true;
  }
  ++progress_count_;
  if (progress_count_ % interval == 0) Progress(g_, ".");
  if (progress_count_ > 64 * interval - 1) {
    progress_total_ += progress_count_;
    Progress(g_, "(%6d)\n  ", progress_total_);
    progress_count_ = 1;
  }
}

void Gatherer::Walk(const std::string& path,
                    const std::vector<std::string>& exts) {
  DIR* dir = opendir(path.c_str());
  if (dir == nullptr) {
    Out(g_, "  Open Dir Error: %s : %s\n", path.c_str(), strerror(errno));
    return;
  }
  // Entries are taken in byte order of their names so that reports do not
  // depend on the file system's enumeration order.
  std::vector<std::string> names;
  while (const struct dirent* entry = readdir(dir)) {
    std::string_view name = entry->d_name;
    if (name != "." && name != "..") names.emplace_back(name);
  }
  closedir(dir);
  std::sort(names.begin(), names.end());

  std::string prefix = path == "/" ? path : path + "/";
  for (const std::string& name : names) {
    if (out_of_memory_) return;
    std::string child = prefix + name;
    struct stat st;
    if (lstat(child.c_str(), &st) != 0) continue;
    if (S_ISDIR(st.st_mode)) {
      if (!g_.opt.no_recurse_flag && !ExcludedDirectory(name))
        Walk(child, exts);
      continue;
    }
    // A link to a directory is not followed (it could loop); a link to a
    // regular file counts as that file.  Devices, pipes and sockets are
    // never source files.
    if (S_ISLNK(st.st_mode) && stat(child.c_str(), &st) != 0) continue;
    if (!S_ISREG(st.st_mode)) continue;

    if (PatternDrops(child)) continue;
    std::string ext = file_extension(name, g_);
    if (ext.empty()) continue;
    bool match = false;
    for (const std::string& e : exts) {
      if (SameName(e, ext)) {
        match = true;
        break;
      }
    }
    if (!match) continue;
    if (AddRecord(child, ext, &st)) CountWalkProgress();
  }
}

void Gatherer::WalkTree(const std::string& dir, std::string_view extensions) {
  const bool here = dir.empty() || dir == "*" || dir == "*.*";
  const std::string start(here ? std::string_view(".") : std::string_view(dir));
  std::string trimmed = start;
  while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
  // The starting directory itself is skipped only when it is named by an
  // excluded name alone.
  if (ExcludedDirectory(trimmed)) return;

  std::vector<std::string> exts;
  SplitEach(extensions, kWalkExtensionSeparators,
            [&](std::string_view e) { exts.emplace_back(e); });
  if (exts.empty())
    SplitEach(g_.languages.allowed_extensions, kListSeparators,
              [&](std::string_view e) { exts.emplace_back(e); });

  // Files of a walk are named by full paths.
  char resolved[PATH_MAX];
  if (realpath(start.c_str(), resolved) == nullptr) {
    Out(g_, "  Open Dir Error: %s : %s\n", start.c_str(), strerror(errno));
    return;
  }
  Walk(resolved, exts);
}

void Gatherer::Recursive() {
  WalkTree(g_.opt.recursive_dir, g_.opt.recursive_extensions);
}

std::string Gatherer::ExpandVariables(const std::string& line) {
  // The first %NAME% pair, then one further pair after it.
  size_t open = line.find('%');
  if (open == std::string::npos) return line;
  size_t close = line.find('%', open + 1);
  if (close == std::string::npos || close == open + 1) return line;
  std::string name = line.substr(open + 1, close - open - 1);
  const char* value = getenv(name.c_str());
  if (value == nullptr) {
    Out(g_, "  Error: Expanding environment variable from -F file.\n"
            "         Environment Variable: %s does not exist\n\n",
        name.c_str());
    return line;
  }
  std::string head = line.substr(0, open) + value;
  std::string tail = line.substr(close + 1);
  std::string expanded = Bounded(head + tail, kLineSize);
  if (g_.debug_flag)
    Out(g_, "  -F Expanded File Line: %s\n\n", expanded.c_str());

  open = tail.find('%');
  if (open == std::string::npos) return expanded;
  close = tail.find('%', open + 1);
  if (close == std::string::npos || close == open + 1) return expanded;
  name = tail.substr(open + 1, close - open - 1);
  value = getenv(name.c_str());
  if (value == nullptr) {
    Out(g_, "  Error: Expanding environment variable from -F file.\n"
            "         Environment Variable: %s does not exist\n\n",
        name.c_str());
    return expanded;
  }
  expanded = Bounded(head + tail.substr(0, open) + value +
                         tail.substr(close + 1),
                     kLineSize);
  if (g_.debug_flag) Out(g_, "  -F Expanded Line: %s\n\n", expanded.c_str());
  return expanded;
}

// A directory entry: a switch word, an extension list and a directory that
// runs to the end of the line (it may hold blanks).  Both the plain form
//   -r c,h /src/my project
// and the quoted command-line form
//   -r"c,h /src/my project"
// are read.
void Gatherer::DirectoryEntry(std::string_view line) {
  constexpr std::string_view kWordEnd = " \t\"";
  size_t i = line.find_first_of(kWordEnd);
  std::string_view word = line.substr(0, i);
  std::string_view rest =
      i == std::string_view::npos ? std::string_view() : line.substr(i);
  rest = TrimLeft(rest, kWordEnd);
  size_t j = rest.find_first_of(kWordEnd);
  std::string_view extensions = rest.substr(0, j);
  rest = j == std::string_view::npos ? std::string_view() : rest.substr(j);
  rest = TrimLeft(rest, kWordEnd);
  std::string_view dir = rest.substr(0, rest.find_first_of("\"\t\r\n"));
  dir = TrimRight(dir, " ");

  if (word.empty() || extensions.empty() || dir.empty()) {
    std::string read(line);
    Out(g_, "\n  Error: Malformed directory entry line in file.\n"
            "         Format: -r\"c,h,cpp d:\\proj\\src\"\n"
            "         Read  : %s\n\n",
        read.c_str());
    return;
  }

  g_.opt.no_recurse_flag = (word == "-r" || word == "-R") ? 0 : 1;
  std::string directory = Slashes(dir);
  while (directory.size() > 1 && directory.back() == '/') directory.pop_back();

  // The directory summary matches files by the start of their paths, and
  // walked files carry full paths: keep the directory in the same form.
  auto entry = std::make_unique<MetricsEntry>();
  char resolved[PATH_MAX];
  entry->name = realpath(directory.c_str(), resolved) != nullptr
                    ? std::string(resolved)
                    : directory;
  if (g_.directories.list_insert_sorted(std::move(entry), CompareByName,
                                        g_.opt.sort_descending) == nullptr) {
    Out(g_, "  Memory Error: %s\n", strerror(ENOMEM));
    out_of_memory_ = true;
    return;
  }
  WalkTree(directory, extensions);
}

void Gatherer::ListLine(std::string line) {
  line = ExpandVariables(std::string(TrimRight(line, "\r\n")));
  std::string_view text = TrimLeft(line, kBlankTab);
  // Comments and lines that begin with a line end (a carriage return left
  // by another system's editor) name nothing.
  if (text.empty() || text[0] == '#' || text[0] == '\r' || text[0] == '\n')
    return;
  text = TrimRight(text, kWhiteEnd);
  if (text.empty()) return;
  if (text[0] == '-') {
    DirectoryEntry(text);
    return;
  }
  AddNamedFile(Slashes(text), false);
}

void Gatherer::ListFile() {
  std::string path = g_.opt.list_file;
  ProjectKind kind = project_kind(path, g_);
  if (kind != ProjectKind::kNone) {
    if (!convert_project_file(kind, path, kConvertedListFile, g_)) return;
    path = kConvertedListFile;
  }
  FILE* f = fopen(path.c_str(), "rb");
  if (f == nullptr) {
    Out(g_, "\n  Error: Cannot open the input file list: %s\n"
            "         for read, %s\n\n",
        path.c_str(), strerror(errno));
    return;
  }
  char* buffer = nullptr;
  size_t capacity = 0;
  ssize_t n;
  while (!out_of_memory_ && (n = getline(&buffer, &capacity, f)) >= 0) {
    // A trailing control byte at the end of the file (an end-of-file mark)
    // is no entry.
    unsigned char first = static_cast<unsigned char>(buffer[0]);
    if (feof(f) && first < 12 && first != '\t') break;
    ListLine(Bounded(std::string_view(buffer, static_cast<size_t>(n)),
                     kLineSize));
  }
  free(buffer);
  fclose(f);
}

int Gatherer::Finish() {
  if (g_.opt.sort_names_flag) {
    headers_.StableSort(CompareFileNames, g_.opt.sort_descending != 0);
    sources_.StableSort(CompareFileNames, g_.opt.sort_descending != 0);
  }
  int count = static_cast<int>(headers_.count() + sources_.count());
  g_.input_files.Splice(headers_);
  g_.input_files.Splice(sources_);

  if (g_.opt.list_only_flag && !g_.opt.xml_flag) {
    for (const auto& record : g_.input_files)
      Out(g_, "%s\n", record->name.c_str());
    Out(g_, "\n");
    // The file-list timer of -b is not reported yet.
    if (!g_.opt.csv_flag) Out(g_, "  %s%s\n\n", kUnderscores36, kUnderscores36);
    write_trailer(g_);
    Stop(g_, 0);
    return count;
  }
  if (g_.progress_flag && !g_.opt.list_file_flag)
    Progress(g_, "(%6d)\n", count);
  return count;
}

}  // namespace

int gather_input_files(int first_arg, G& g) {
  Gatherer gatherer(g);
  if (g.opt.list_file_flag)
    gatherer.ListFile();
  else if (g.opt.recursive_flag)
    gatherer.Recursive();
  else
    gatherer.CommandLine(first_arg);
  return gatherer.Finish();
}

}  // namespace vek
