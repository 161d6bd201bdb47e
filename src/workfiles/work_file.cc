#include "workfiles/work_file.h"

#include "workfiles/code_diff.h"

#include <cerrno>
#include <cinttypes>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "common/text.h"
#include "config/config.h"
#include "driver/state.h"
#include "reports/output.h"

namespace vek {

namespace {

// Faulty records are named one by one up to this many per file; the rest
// are counted in one line.
constexpr int kRecordMessages = 10;

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

bool LocationUsable(std::string_view location) {
  if (location.empty()) return false;
  char c = location[0];
  return IsAlpha(c) || IsDigit(c) || c == '.' || c == '/' || c == '\\';
}

std::string InLocation(std::string_view location, std::string_view name) {
  if (!LocationUsable(location)) return std::string(name);
  std::string path(location);
  if (!IsSeparator(path.back())) path += '/';
  path += name;
  return path;
}

// Reads a decimal number and the blanks after it; false unless the text
// starts with one.
bool ReadNumber(std::string_view& s, long long& value) {
  size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  size_t start = i;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) ++i;
  size_t digits = i;
  while (i < s.size() && IsDigit(s[i])) ++i;
  if (i == digits || i - digits > 19) return false;
  // At most 19 digits: the magnitude fits in 64 unsigned bits.
  unsigned long long magnitude = 0;
  for (size_t k = digits; k < i; ++k)
    magnitude = magnitude * 10 + static_cast<unsigned>(s[k] - '0');
  const unsigned long long most = static_cast<unsigned long long>(LLONG_MAX);
  if (s[start] == '-') {
    if (magnitude > most + 1) return false;
    value = magnitude == most + 1 ? LLONG_MIN
                                  : -static_cast<long long>(magnitude);
  } else {
    if (magnitude > most) return false;
    value = static_cast<long long>(magnitude);
  }
  // A number runs to a blank or the end of the line.
  if (i < s.size() && s[i] != ' ' && s[i] != '\t' && s[i] != '\n' &&
      s[i] != '\r')
    return false;
  s = s.substr(i);
  return true;
}

bool ReadInt(std::string_view& s, int& value) {
  long long v;
  if (!ReadNumber(s, v) || v < INT32_MIN || v > INT32_MAX) return false;
  value = static_cast<int>(v);
  return true;
}

std::string_view Chomp(std::string_view line) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
    line.remove_suffix(1);
  return line;
}

// Reads the lines of a file, each of any length and NUL bytes included.
class LineReader {
 public:
  explicit LineReader(FILE* in) : in_(in) {}
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;
  ~LineReader() { free(buf_); }
  // False at the end of the file or on a read error.
  bool Next(std::string_view& line) {
    ssize_t n = getline(&buf_, &cap_, in_);
    if (n < 0) return false;
    line = std::string_view(buf_, static_cast<size_t>(n));
    return true;
  }

 private:
  FILE* in_;
  char* buf_ = nullptr;
  size_t cap_ = 0;
};

void LoadError(G& g, const std::string& path, const char* detail, int line) {
  Out(g, "  Error: Loading Work File: %s\n", EscapeFor(g, path).c_str());
  if (line > 0)
    Out(g, "         Line %d: %s\n", line, detail);
  else
    Out(g, "         %s\n", detail);
}

int ByteCompareNames(const MetricsEntry& a, const MetricsEntry& b,
                     bool descending) {
  int c = a.name.compare(b.name);
  return descending ? -c : c;
}

}  // namespace

std::string DatedWorkFileName(time_t when) {
  std::string year4 = FormatTime(when, "%Y");
  std::string year2 = FormatTime(when, "%y");
  int century = (atoi(year4.c_str()) - atoi(year2.c_str())) / 100;
  char name[64];
  snprintf(name, sizeof name, "WorkFile_%s%d%s.dat",
           FormatTime(when, "%m%d").c_str(), century, year2.c_str());
  return name;
}

std::string WorkFilePath(std::string_view location, std::string_view name) {
  if (name.find_first_of("/\\") != std::string_view::npos)
    return std::string(name);
  return InLocation(location, name);
}

std::string LatestWorkFilePath(std::string_view location) {
  return InLocation(location, kLatestWorkFile);
}

std::string RecordName(std::string_view path, std::string_view top,
                       bool relative) {
  if (!relative || top.empty() || top == ".") return std::string(path);
  // The top folder counts only as a whole folder: "/proj" is not a part
  // of "/project/a.c".
  for (size_t at = path.find(top); at != std::string_view::npos;
       at = path.find(top, at + 1)) {
    bool starts = at == 0 || IsSeparator(path[at - 1]);
    size_t end = at + top.size();
    bool ends = IsSeparator(top.back()) || end == path.size() ||
                IsSeparator(path[end]);
    if (!starts || !ends) continue;
    if (end < path.size() && IsSeparator(path[end])) ++end;
    return std::string(path.substr(end));
  }
  return std::string(path);
}

void WriteWorkFileHeader(FILE* out, int64_t created, int ignore_blank_lines,
                         int ignore_white_space) {
  fprintf(out, "%s\n%s\n%s\n%" PRId64 "\n", kWorkFileTitle, kWorkFileWarning,
          kVersion, created);
  fprintf(out, "Ignore Blank Lines: %d\n", ignore_blank_lines);
  fprintf(out, "Ignore White Space: %d\n", ignore_white_space);
}

void WriteWorkRecord(FILE* out, std::string_view name, const WorkRecord& r,
                     std::string_view dif_path) {
  // A line end inside a name would split the record in two.
  std::string safe(name);
  for (char& c : safe)
    if (c == '\n' || c == '\r') c = '?';
  fprintf(out, "%s| %" PRId64 " %ld %d %d %d %d %d %d %d %d %d %d %.*s\n",
          safe.c_str(), r.mtime, r.size, r.loc, r.eloc, r.comments, r.blanks,
          r.lines, r.lloc, r.cyclomatic, r.notices, r.interface_complexity,
          r.functions, static_cast<int>(dif_path.size()), dif_path.data());
}

bool ParseWorkRecord(std::string_view line, MetricsEntry& e) {
  line = Chomp(line);
  if (line.find('\0') != std::string_view::npos) return false;
  // The bar that ends the name is the last one followed by the twelve
  // numbers; a bar may also stand in a name or in the dif path.
  for (size_t bar = line.rfind('|'); bar != std::string_view::npos && bar > 0;
       bar = line.rfind('|', bar - 1)) {
    std::string_view rest = line.substr(bar + 1);
    long long mtime, size;
    int n[10];
    if (!ReadNumber(rest, mtime) || !ReadNumber(rest, size)) continue;
    bool ok = true;
    for (int& v : n) ok = ok && ReadInt(rest, v);
    if (!ok) continue;
    std::string_view name = line.substr(0, bar);
    // A version-extended name (x.c@@/main/4) keeps its name and extension.
    size_t dot = name.rfind('.');
    if (dot != std::string_view::npos) {
      size_t at = name.find("@@", dot);
      if (at != std::string_view::npos) name = name.substr(0, at);
    }
    e.name.assign(name);
    e.time = mtime;
    e.size = size > INT32_MAX ? INT32_MAX : size < INT32_MIN ? INT32_MIN
                                                              : static_cast<int>(size);
    e.loc = n[0];
    e.eloc = n[1];
    e.comments = n[2];
    e.blanks = n[3];
    e.lines = n[4];
    e.lloc = n[5];
    e.cyclomatic = n[6];
    e.notices = n[7];
    e.interface_complexity = n[8];
    e.functions = n[9];
    e.total_complexity = e.cyclomatic + e.interface_complexity;
    e.text5.assign(TrimLeft(rest));
    return true;
  }
  return false;
}

int load_work_file(const std::string& path, WorkFileHeader& header,
                   List<MetricsEntry>& list, G& g) {
  FILE* in = fopen(path.c_str(), "rb");
  if (in == nullptr) {
    int err = errno;
    Out(g,
        "  Error: Loading Work File: %s\n"
        "         Use the -wc option to create a base work file\n"
        "         %s\n",
        EscapeFor(g, path).c_str(), strerror(err));
    return 0;
  }
  std::unique_ptr<FILE, int (*)(FILE*)> closer(in, fclose);
  LineReader reader(in);
  std::string_view line;
  std::string_view text[6];
  std::string lines[6];
  for (int i = 0; i < 6; ++i) {
    if (!reader.Next(line)) {
      LoadError(g, path,
                i == 0 ? "The file is empty"
                       : "The work file header ends before its six lines",
                i == 0 ? 0 : i + 1);
      return 0;
    }
    lines[i].assign(line);
    text[i] = Chomp(lines[i]);
    if (text[i].find('\0') != std::string_view::npos || (i == 0 && text[0] != kWorkFileTitle)) {
      LoadError(g, path,
                "This is not a work file of VEK (its first line is not "
                "\"Vek Code Gauge Work File\")",
                0);
      return 0;
    }
  }
  header.version = atof(std::string(text[2]).c_str());
  std::string_view created = text[3];
  long long created_value;
  if (!ReadNumber(created, created_value) || !created.empty()) {
    LoadError(g, path, "The creation time is not a number", 4);
    return 0;
  }
  header.created = created_value;
  std::string_view blank = text[4], white = text[5];
  constexpr std::string_view kBlank = "Ignore Blank Lines:";
  constexpr std::string_view kWhite = "Ignore White Space:";
  int blank_value = 0, white_value = 0;
  if (blank.substr(0, kBlank.size()) != kBlank ||
      !ReadInt(blank = blank.substr(kBlank.size()), blank_value)) {
    LoadError(g, path, "\"Ignore Blank Lines: \" and a number expected", 5);
    return 0;
  }
  if (white.substr(0, kWhite.size()) != kWhite ||
      !ReadInt(white = white.substr(kWhite.size()), white_value)) {
    LoadError(g, path, "\"Ignore White Space: \" and a number expected", 6);
    return 0;
  }
  header.ignore_blank_lines = blank_value;
  header.ignore_white_space = white_value;

  if (static_cast<int>(header.version) != atoi(kVersion)) {
    if (g.opt.xml_flag)
      Out(g, "<warning>Work file version does not match the current version "
             "of VEK</warning>\n");
    else
      Out(g,
          "\n  WARNING: Work file version does not match the current version\n"
          "           of VEK .  Reprocess the work file with this version of VEK\n"
          "           Work File: %s\n"
          "             Version: %-5.2f\n"
          "             Program: %s\n"
          "             Version: %s\n\n",
          EscapeFor(g, path).c_str(), header.version, "VEK", kVersion);
  }

  int line_number = 6;
  int faults = 0;
  while (reader.Next(line)) {
    ++line_number;
    // Names never begin with a control character: such a line is an empty
    // line or an end-of-file mark, and carries no record.
    if (static_cast<unsigned char>(line[0]) < 12) continue;
    std::unique_ptr<MetricsEntry> entry(new (std::nothrow) MetricsEntry);
    if (!entry) {
      Out(g, "  Memory Error: %s\n", strerror(ENOMEM));
      return 0;
    }
    if (!ParseWorkRecord(line, *entry)) {
      if (++faults <= kRecordMessages)
        Out(g,
            "  Error: Work File: %s\n"
            "         Line %d is not a whole file record and is skipped\n",
            EscapeFor(g, path).c_str(), line_number);
      continue;
    }
    if (list.list_append(std::move(entry)) == nullptr) {
      Out(g, "  Memory Error: %s\n", strerror(ENOMEM));
      return 0;
    }
  }
  if (ferror(in)) {
    int err = errno;
    LoadError(g, path, strerror(err), 0);
    return 0;
  }
  if (faults > kRecordMessages)
    Out(g, "         %d more records of %s are skipped\n",
        faults - kRecordMessages, EscapeFor(g, path).c_str());
  if (faults > 0) ++g.workfile.input_faults;
  list.StableSort(ByteCompareNames, false);
  return 1;
}

bool create_work_file(G& g) {
  Options& o = g.opt;
  WorkFileState& w = g.workfile;
  std::string name = o.workfile_name;
  if (name == kLatestWorkFile) name = DatedWorkFileName(RunTime());
  const std::string& location =
      o.workfile_name_given ? o.workfile_dir : g.cfg.work_file_path;
  w.path = Bounded(WorkFilePath(location, name), kPathSize);
  w.latest_path = Bounded(LatestWorkFilePath(location), kPathSize);
  if (!w.file.Open(w.path)) {
    int err = errno;
    Out(g, "\n  Create File Error: %s - %s\n", EscapeFor(g, w.path).c_str(),
        strerror(err));
    o.workfile_create = 0;
    return false;
  }
  // The announcement is text: CSV and XML reports go without it, so that
  // they stay readable by their tools.
  if (o.html_flag)
    Out(g, "  <b><font color=\"%s\">Creating Work File</font></b>: %s\n",
        g.cfg.color_header.c_str(),
        HtmlEscape(wrap_name(w.path, 52, 22, g)).c_str());
  else if (!o.csv_flag && !o.xml_flag)
    Out(g, "\n  Creating Work File: %s\n", wrap_name(w.path, 52, 22, g).c_str());
  WriteWorkFileHeader(w.file.stream(), static_cast<int64_t>(RunTime()),
                      g.cfg.ignore_diff_blank_lines != 0,
                      g.cfg.ignore_diff_white_space != 0);
  if (o.code_diff_flag) start_line_data(g);
  return true;
}

void write_work_record(G& g, const FileRecord& r) {
  WorkFileState& w = g.workfile;
  if (!w.file.is_open()) return;
  WorkRecord numbers;
  numbers.mtime = r.mtime;
  numbers.size = r.size;
  numbers.loc = r.loc;
  numbers.eloc = r.eloc;
  numbers.comments = r.comments;
  numbers.blanks = r.blanks;
  numbers.lines = r.lines;
  numbers.lloc = r.lloc;
  numbers.cyclomatic = r.cyclomatic;
  numbers.notices = r.notices;
  numbers.interface_complexity = r.parameters + r.returns;
  numbers.functions = r.functions;
  WriteWorkRecord(w.file.stream(),
                  RecordName(r.name, g.opt.baseline_dir,
                             g.cfg.relative_work_files != 0),
                  numbers, w.dif_path);
}

void finish_work_file(G& g) {
  WorkFileState& w = g.workfile;
  if (!w.file.is_open()) return;
  if (!w.file.Commit()) {
    int err = errno;
    Out(g, "\n  Create File Error: %s - %s\n", EscapeFor(g, w.path).c_str(),
        strerror(err));
    return;
  }
  // A work file named like the latest copy is its own copy.
  if (SameFile(w.path, w.latest_path)) return;
  switch (CopyFileAtomic(w.path, w.latest_path)) {
    case 1: {
      int err = errno;
      Out(g, "\n  Error: Failed to open the file %s\n  %s",
          EscapeFor(g, w.path).c_str(), strerror(err));
      break;
    }
    case 2: {
      int err = errno;
      Out(g, "\n  Error: Failed to create/open the file %s\n         %s\n",
          EscapeFor(g, w.latest_path).c_str(), strerror(err));
      break;
    }
    default: break;
  }
}

}  // namespace vek
