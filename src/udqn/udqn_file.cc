// Reading the notice file: keys, records, includes and the option words.
#include <sys/stat.h>

#include <climits>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "common/text.h"
#include "config/line_reader.h"
#include "driver/state.h"
#include "reports/output.h"
#include "udqn/pattern.h"
#include "udqn/udqn.h"

namespace vek {

namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

bool On(std::string_view value) {
  return CaseEqual(value, "yes") || CaseEqual(value, "on");
}

// An include name without a directory lives beside the main file.
std::string IncludePath(std::string_view name, const std::string& main) {
  bool has_dir = false;
  for (char c : name) has_dir = has_dir || IsSeparator(c);
  size_t cut = main.find_last_of("/\\");
  if (has_dir || cut == std::string::npos) return Bounded(name, kPathSize);
  return Bounded(main.substr(0, cut + 1) + std::string(name), kPathSize);
}

// The name a file is known by for the include cycle check: its real path
// when it has one.
std::string Identity(const std::string& path) {
  char real[PATH_MAX];
  if (realpath(path.c_str(), real) != nullptr) return real;
  return path;
}

void WriteHeading(const std::string& path, bool include, G& g) {
  const Options& o = g.opt;
  if (o.no_config_flag || !o.notice_flag) return;
  const char* color = g.cfg.color_header.c_str();
  if (o.csv_flag) {
    Out(g, include ? "UDQN Inc. File: %s\n" : "UDQN File,%s\n", path.c_str());
  } else if (o.xml_flag) {
    std::string name = XmlEscape(path);
    if (include)
      Out(g, "<UDQN_include_file>%s</UDQN_include_file>\n", name.c_str());
    else
      Out(g, "<udqn_file>%s</udqn_file>\n", name.c_str());
  } else if (o.html_flag) {
    Out(g,
        include ? "  <b><font color=\"%s\">UDQN Inc. File</font></b>: %s\n"
                : "  <b><font color=\"%s\">UDQN File</font></b>   : %s\n",
        color, HtmlEscape(path).c_str());
  } else {
    Out(g, include ? "  UDQN Inc. File: %s\n" : "  UDQN File   : %s\n",
        wrap_name(path, 61, 13, g).c_str());
  }
}

// Flag numbers separated by blanks or commas; numbers outside 1..1999 and
// any beyond the 32nd are left out.
void ReadFlags(std::string_view value, UdqnFlags& flags) {
  SplitEach(value, " \t,", [&](std::string_view word) {
    int n = ParseInt(word);
    if (n < 1 || n >= kUdqnFlagTableSize) return;
    if (flags.count < kUdqnMaxFlags) flags.number[flags.count++] = n;
  });
}

void ReadSources(std::string_view value, UdqnRecord& r) {
  SplitEach(value, " \t,", [&](std::string_view word) {
    if (static_cast<int>(r.sources.size()) < kUdqnMaxSources)
      r.sources.emplace_back(word);
  });
}

void ReadContext(std::string_view value, UdqnRecord& r) {
  static const char* const kNames[] = {"Line", "Code", "Comment", "String"};
  for (int i = 0; i < 4; ++i)
    if (CaseEqual(value, kNames[i])) r.context = kUdqnLine + i;
}

void ReadPattern(std::string_view value, UdqnRecord& r, G& g) {
  UdqnSet& u = g.udqn;
  r.pattern = std::string(value);
  r.compiled.reset();
  std::string error;
  r.compiled = CompilePattern(r.pattern, u.options.compile_options, &error);
  if (r.compiled) {
    r.compile_message = "Successful Pattern Compile";
    u.any_compiled = 1;
  } else {
    r.compile_message = error;
  }
}

void ReadId(std::string_view value, UdqnRecord& r, G& g) {
  const int id = ParseInt(value);
  const char* main = g.udqn.path.c_str();
  if (id < kUdqnMinId)
    Out(g,
        "  Error: UDQN Identifiers %d cannot be less than %d.\n"
        "         Please correct UDQN file %s\n"
        "         to create unique UDQN Ids.\n\n",
        id, kUdqnMinId, main);
  if (udqn_find(id, g) != nullptr) {
    Out(g,
        "  Error: Duplicate UDQN Identifier %d\n"
        "         Please correct UDQN file %s\n"
        "         to create unique UDQN Ids.\n\n",
        id, main);
    r.id = 0;
    return;
  }
  r.id = id;
}

// "UDQN End": the pattern is tried on the test string, then the record
// joins the list.
void FinishRecord(std::unique_ptr<UdqnRecord> r, G& g) {
  UdqnSet& u = g.udqn;
  if (!r->compiled) {
    if (u.any_compiled) r->test_result = "Pattern Compile Error";
  } else {
    int start = -1, end = -1;
    if (MatchPattern(*r->compiled, r->test_string.data(), r->test_string.size(),
                     u.options.match_options, &start, &end)) {
      r->match_start = start;
      r->match_end = end;
      char text[96];
      snprintf(text, sizeof text, "Expression Match: Start[%d] End[%d] Span[%d]",
               start + 1, end, end - start);
      r->test_result = text;
    } else {
      r->test_result = "No Match";
    }
  }
  u.records.list_append(std::move(r));
}

void SetOption(std::string_view key, std::string_view value, G& g) {
  if (!On(value)) return;
  UdqnOptions& o = g.udqn.options;
  if (CaseEqual(key, "REG_ICASE")) {
    o.icase = 1;
    o.compile_options |= kRegIcase;
  } else if (CaseEqual(key, "REG_NEWLINE")) {
    o.newline = 1;
    o.compile_options |= kRegNewline;
  } else if (CaseEqual(key, "REG_NOSUB")) {
    o.nosub = 1;
    o.compile_options |= kRegNosub;
  } else if (CaseEqual(key, "REG_EXTENDED")) {
    o.extended = 1;
    o.compile_options |= kRegExtended;
  } else if (CaseEqual(key, "REG_NOTBOL")) {
    o.notbol = 1;
    o.match_options |= kRegNotbol;
  } else if (CaseEqual(key, "REG_NOTEOL")) {
    o.noteol = 1;
    o.match_options |= kRegNoteol;
  }
}

bool IsOptionKey(std::string_view key) {
  return CaseStartsWith(key, "REG_");
}

// One "key: value" line.  `r` is the record being read in this file.
void ApplyKey(std::string_view key, std::string_view value,
              std::unique_ptr<UdqnRecord>& r, G& g) {
  if (CaseEqual(key, "include")) {
    std::string name(value);
    load_udqn_file(name.c_str(), g);
    return;
  }
  if (CaseEqual(key, "UDQN Begin")) {
    // An unfinished record before it is dropped.
    r = std::make_unique<UdqnRecord>();
    return;
  }
  if (IsOptionKey(key)) {
    SetOption(key, value, g);
    return;
  }
  if (!r) return;  // record keys outside a record
  if (CaseEqual(key, "UDQN End")) {
    FinishRecord(std::move(r), g);
    r.reset();
  } else if (CaseEqual(key, "UDQN Identifier") || CaseEqual(key, "udqn id")) {
    ReadId(value, *r, g);
  } else if (CaseEqual(key, "active")) {
    r->active = On(value);
  } else if (CaseEqual(key, "sources")) {
    ReadSources(value, *r);
  } else if (CaseEqual(key, "context")) {
    ReadContext(value, *r);
  } else if (CaseEqual(key, "pattern")) {
    ReadPattern(value, *r, g);
  } else if (CaseEqual(key, "string")) {
    r->test_string = std::string(value);
  } else if (CaseEqual(key, "message")) {
    r->message = std::string(value);
  } else if (CaseEqual(key, "summary")) {
    r->summary = std::string(value);
  } else if (CaseEqual(key, "set flags")) {
    ReadFlags(value, r->set_flags);
  } else if (CaseEqual(key, "check flags")) {
    ReadFlags(value, r->check_flags);
  } else if (CaseEqual(key, "!check flags")) {
    ReadFlags(value, r->not_check_flags);
  } else if (CaseEqual(key, "clear flags")) {
    ReadFlags(value, r->clear_flags);
  } else if (CaseEqual(key, "emit eof flag")) {
    r->emit_eof = On(value);
  } else if (CaseEqual(key, "silent flag")) {
    r->silent = On(value);
  }
}

void ReadFile(FILE* in, G& g) {
  g.udqn.options = UdqnOptions();
  std::unique_ptr<UdqnRecord> record;
  LineReader reader(in);
  std::string line;
  while (reader.Next(line)) {
    if (line.empty() || line[0] == '#') continue;
    size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    std::string_view all(line);
    std::string_view key = TrimRight(all.substr(0, colon), kWhiteEnd);
    std::string_view value = TrimRight(TrimLeft(all.substr(colon + 1)), kWhiteEnd);
    ApplyKey(key, value, record, g);
  }
}

// After the main file: the scanner keeps each line's code, comment and
// string text only when an active record reads one of them.
void NoteContexts(G& g) {
  UdqnSet& u = g.udqn;
  u.context_records = 0;
  for (const auto& r : u.records)
    if (r->active && r->context >= kUdqnCode && r->context <= kUdqnString)
      ++u.context_records;
  if (u.context_records > 0) g.partitions_flag = 1;
}

// Reads one notice file, unless it is already being read (an include
// cycle) or the includes nest too deep.
void ReadNamedFile(const std::string& path, bool include, bool defaulted,
                   G& g) {
  UdqnSet& u = g.udqn;
  // A file that includes itself, directly or through others, would be read
  // without end: the repeated include is reported and passed over.
  const std::string identity = Identity(path);
  for (const std::string& open : u.reading) {
    if (open == identity) {
      Out(g,
          "\n  Error: UDQN include cycle: %s\n"
          "         is already being read; this include is skipped.\n\n",
          path.c_str());
      return;
    }
  }
  if (static_cast<int>(u.reading.size()) >= kUdqnMaxIncludeDepth) {
    Out(g,
        "\n  Error: UDQN includes nested deeper than %d files:\n"
        "         %s\n"
        "         is not read.\n\n",
        kUdqnMaxIncludeDepth, path.c_str());
    return;
  }

  struct stat st;
  FILE* in = nullptr;
  int err = 0;
  if (stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
    err = EISDIR;  // a folder opens, but reads as nothing
  } else {
    in = fopen(path.c_str(), "rb");
    if (in == nullptr) err = errno;
  }
  if (in == nullptr) {
    if (defaulted && err == ENOENT) return;  // no notice file: no notices
    Out(g,
        "\n  Error: Problem opening User Defined Quality Notice file:\n"
        "         %s\n         For modification, %s\n\n",
        path.c_str(), strerror(err));
    return;
  }
  WriteHeading(path, include, g);
  u.reading.push_back(identity);
  ReadFile(in, g);
  u.reading.pop_back();
  fclose(in);
}

}  // namespace

std::string udqn_main_path(const G& g, bool* defaulted) {
  const std::string& configured = g.cfg.udqn_file;
  // The file of the default name may be missing: a team without rules of
  // its own gets no error in every report.
  if (defaulted != nullptr)
    *defaulted = configured.empty() || BaseName(configured) == kUdqnFileName;
  std::string name = configured.empty() ? kUdqnFileName : configured;
  for (char c : name)
    if (IsSeparator(c)) return name;
  std::string home;
  if (g.paths.CFGHOME.size() > 1)
    home = g.paths.CFGHOME;
  else if (g.paths.VEKHOME.size() > 1)
    home = g.paths.VEKHOME;
  else
    home = "./";
  if (!IsSeparator(home.back())) home += '/';
  return Bounded(home + name, kPathSize);
}

void load_udqn_file(const char* include_name, G& g) {
  UdqnSet& u = g.udqn;
  const bool include = include_name != nullptr;
  bool defaulted = false;
  std::string path;
  if (!include) {
    if (u.loaded) return;
    u.loaded = 1;
    path = udqn_main_path(g, &defaulted);
    u.path = path;
  } else {
    if (include_name[0] == '\0') return;
    path = IncludePath(include_name, u.path);
  }
  if (!path.empty()) ReadNamedFile(path, include, defaulted, g);
  if (include) return;

  NoteContexts(g);
  if (g.opt.udqn_show_flag) {
    udqn_show(g);
    u.records = List<UdqnRecord>();
    HtmlEnd(g);
    Stop(g, 1);
  }
}

const UdqnRecord* udqn_find(int id, const G& g) {
  for (const auto& r : g.udqn.records)
    if (r->id == id) return r.get();
  return nullptr;
}

int udqn_total_count(const G& g) {
  long long sum = 0;
  for (const auto& r : g.udqn.records)
    if (r->active) sum += r->count;
  return sum > INT_MAX ? INT_MAX : static_cast<int>(sum);
}

std::string udqn_library_version() { return RegexLibraryVersion(); }

}  // namespace vek
