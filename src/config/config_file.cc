#include "config/config_file.h"

#include <unistd.h>

#include <algorithm>
#include <cstdarg>
#include <cstdlib>
#include <string>

#include "common/text.h"
#include "config/config_keys.h"
#include "config/languages.h"
#include "config/line_reader.h"
#include "driver/state.h"
#include "reports/output.h"

namespace vek {
namespace {

constexpr size_t kColourSize = 21;   // colours are taken up to 20 chars
constexpr int kHeadingWidth = 68;    // section headings are filled with '#'
constexpr int kDefaultScopeDepth = 7;
constexpr double kMaxPercent = 100.0;

constexpr const char* kHtmlHead =
    "<html><header><title>\"VEK Configuration\"</title></header>"
    "<body><pre>\n";

constexpr const char* kHeader1 =
    "# Vek Code Gauge\n"
    "# Configuration Data File\n"
    "\n"
    "# This output creates a template for %s.  VEK uses this file\n"
    "# for configuring its operation.  This file is a text file and\n"
    "# must exist in the VEK directory upon the system path or at\n"
    "# at a location specified by the environment variable VEKHOME.\n"
    "# The VEK configuration files may also be solely located at a\n"
    "# location specified by the environment variable VEKCFGHOME.\n";

constexpr const char* kHeader2 =
    "# Lines beginning with the # sign are comments in this file.\n"
    "# Specific text lines before the colon must appear exactly as\n"
    "# written.  You may changed the value after the colon to either\n"
    "# a Yes or No or to a specified value.\n";

constexpr const char* kDeprecatedCycloMessage =
    "Notice: Using \"include cyclo complexity in work files\"\n"
    "        in vek.cfg is deprecated.  Use the %s\n"
    "        file to define the elements of the baseline metrics\n"
    "        differential report\n\n";

std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  va_list copy;
  va_copy(copy, args);
  int n = std::vsnprintf(nullptr, 0, fmt, copy);
  va_end(copy);
  std::string out;
  if (n > 0) {
    out.resize(static_cast<size_t>(n) + 1);
    std::vsnprintf(out.data(), out.size(), fmt, args);
    out.resize(static_cast<size_t>(n));
  }
  va_end(args);
  return out;
}

bool BeginsWith(std::string_view value, bool (*test)(char)) {
  return !value.empty() && test(value[0]);
}
bool IsNo(char c) { return c == 'n' || c == 'N'; }
bool IsAlnum(char c) { return IsAlpha(c) || IsDigit(c); }
bool IsColourStart(char c) { return IsAlnum(c) || c == '#'; }
bool IsSeparator(char c) { return c == '/' || c == '\\'; }

std::string JoinHome(const std::string& home, std::string_view name) {
  std::string path = home;
  if (!path.empty() && !IsSeparator(path.back())) path += '/';
  path += name;
  return Bounded(path, kPathSize);
}

// The user defined notice file: a bare name lives in the configuration
// home when one is set; a path is taken only without such a home, or when
// it already lies in it (files written by earlier versions hold such
// paths).  The value is kept as given as well: the writer puts that back,
// so a rewrite never freezes one home's path into the file.
void ApplyUdqnFile(std::string_view value, G& g) {
  const std::string& home = g.paths.CFGHOME;
  const bool home_set = home.size() > 1;
  std::string& file = g.cfg.udqn_file;
  bool taken = true;
  if (value.size() > 1) {
    if (!home_set) {
      file = Bounded(value, kPathSize);
    } else if (value.find_first_of("/\\") == std::string_view::npos) {
      file = JoinHome(home, value);
    } else if (value.starts_with(home)) {
      file = Bounded(value, kPathSize);
    } else {
      taken = false;
    }
  } else if (home_set) {
    file = JoinHome(home, kUdqnFileName);
  } else {
    taken = false;
  }
  if (taken) g.cfg.udqn_file_setting = Bounded(value, kPathSize);
}

// The defaults, for restoring an emptied extension list.
Config& Defaults() {
  static Config defaults;
  return defaults;
}

void ApplyExtensions(const ConfigKey& entry, std::string_view value, G& g) {
  std::string& list = entry.text_field(g.cfg);
  if (BeginsWith(value, IsAlnum)) list = Bounded(value, kExtensionListSize);
  if (list.empty()) list = entry.text_field(Defaults());
  LanguageTable& table = g.languages;
  if (table.language_count >= entry.language &&
      static_cast<size_t>(entry.language) < table.languages.size())
    set_language_extensions(table.languages[entry.language], list, g);
}

void ApplyValue(const ConfigKey& entry, std::string_view value, G& g) {
  Config& c = g.cfg;
  if (entry.special == KeySpecial::kDeprecatedCyclo) {
    Out(g, kDeprecatedCycloMessage, kWorkDiffFileName);
    return;
  }
  switch (entry.type) {
    case KeyType::kHeading:
    case KeyType::kComment:
      return;
    case KeyType::kYesNo:
      entry.int_field(c) = BeginsWith(value, IsNo) ? 0 : 1;
      return;
    case KeyType::kPageFlag:
      entry.int_field(c) = BeginsWith(value, IsNo) ? 1 : 0;
      return;
    case KeyType::kInteger: {
      int& field = entry.int_field(c);
      if (BeginsWith(value, IsDigit))
        field = std::clamp(ParseInt(value), entry.lowest, entry.highest);
      if (entry.special == KeySpecial::kZeroIsSeven && field == 0)
        field = kDefaultScopeDepth;
      return;
    }
    case KeyType::kPercent:
      if (BeginsWith(value, IsDigit)) {
        // strtod takes "1e999" as infinity; NaN never gets here.
        double percent = std::strtod(std::string(value).c_str(), nullptr);
        entry.percent_field(c) = std::clamp(percent, 0.0, kMaxPercent);
      }
      return;
    case KeyType::kText:
      if (entry.special == KeySpecial::kUdqnFile) {
        ApplyUdqnFile(value, g);
      } else if (entry.special == KeySpecial::kAlnumText) {
        if (BeginsWith(value, IsAlnum))
          entry.text_field(c) = Bounded(value, kLineSize);
      } else if (!value.empty()) {
        entry.text_field(c) = Bounded(value, kLineSize);
        if (entry.special == KeySpecial::kKeyString) c.key_string_set = 1;
      }
      return;
    case KeyType::kColour:
      if (BeginsWith(value, IsColourStart))
        entry.text_field(c) = Bounded(value, kColourSize);
      return;
    case KeyType::kExtensions:
      ApplyExtensions(entry, value, g);
      return;
    case KeyType::kPath:
      entry.text_field(c) = Bounded(value, kPathSize);
      return;
  }
}

std::string FormatValue(const ConfigKey& entry, G& g) {
  Config& c = g.cfg;
  switch (entry.type) {
    case KeyType::kYesNo:
      return entry.int_field(c) ? "Yes" : "No";
    case KeyType::kPageFlag:
      return entry.int_field(c) ? "No" : "Yes";
    case KeyType::kInteger:
      return Format("%d", entry.int_field(c));
    case KeyType::kPercent:
      return Format("%-6.2f", entry.percent_field(c));
    case KeyType::kColour:
      if (g.opt.html_flag) {
        const std::string& colour = entry.text_field(c);
        return Format("<font color=\"%s\">%s</font>", colour.c_str(),
                      colour.c_str());
      }
      return entry.text_field(c);
    case KeyType::kText:
    case KeyType::kExtensions:
    case KeyType::kPath:
      return entry.text_field(c);
    case KeyType::kHeading:
    case KeyType::kComment:
      break;
  }
  return {};
}

void WriteComment(FILE* stream, std::string_view comment) {
  if (comment.empty()) return;
  size_t start = 0;
  while (start <= comment.size()) {
    size_t end = comment.find('\n', start);
    if (end == std::string_view::npos) end = comment.size();
    std::string_view text = comment.substr(start, end - start);
    std::fprintf(stream, "# %.*s\n", static_cast<int>(text.size()),
                 text.data());
    start = end + 1;
  }
}

void WriteEntry(FILE* stream, const ConfigKey& entry, G& g) {
  if (!entry.written) return;
  std::fputs("\n", stream);
  if (entry.type == KeyType::kHeading) {
    std::string line = Format("# %s ", entry.key);
    if (line.size() < kHeadingWidth) line.resize(kHeadingWidth, '#');
    std::fprintf(stream, "%s\n", line.c_str());
    return;
  }
  WriteComment(stream, entry.comment);
  if (entry.type == KeyType::kInteger)
    std::fprintf(stream, "# Range %d to %d, a value outside takes the nearer"
                         " limit\n",
                 entry.lowest, entry.highest);
  else if (entry.type == KeyType::kPercent)
    std::fprintf(stream, "# Range 0 to 100, a value outside takes the nearer"
                         " limit\n");
  if (entry.type == KeyType::kComment) return;
  std::fprintf(stream, "%-*s: %s\n", entry.width, entry.key,
               FormatValue(entry, g).c_str());
}

std::string WorkingDirectory(const G& g) {
  if (!g.paths.start_dir.empty()) return g.paths.start_dir;
  char buffer[kPathSize];
  if (getcwd(buffer, sizeof buffer) == nullptr) return {};
  return buffer;
}

// Files are always written as plain text, whatever the report format: an
// HTML page would not read back as a configuration.
void WriteConfigFile(FILE* stream, G& g) {
  const int html = g.opt.html_flag;
  g.opt.html_flag = 0;
  write_config(stream, g);
  g.opt.html_flag = html;
}

void ApplyLines(FILE* stream, G& g) {
  LineReader reader(stream);
  std::string line;
  while (reader.Next(line)) apply_config_line(line, g);
}

}  // namespace

bool apply_config_line(std::string_view line, G& g) {
  size_t colon = line.find(':');
  if (colon == std::string_view::npos) return false;
  std::string_view key = TrimRight(line.substr(0, colon), kWhiteEnd);
  const ConfigKey* entry = FindConfigKey(key);
  if (entry == nullptr) return false;
  std::string_view value =
      TrimRight(TrimLeft(line.substr(colon + 1), kBlankTab), kWhiteEnd);
  ApplyValue(*entry, value, g);
  return true;
}

void write_config(FILE* stream, G& g) {
  if (stream == g.report_stream) release_held_output(g, false);
  if (g.opt.html_flag) std::fputs(kHtmlHead, stream);
  std::fprintf(stream, kHeader1, kConfigFileName);
  std::fputs(kHeader2, stream);
  std::fprintf(stream, "VEK CFG Version: %s\n", kVersion);
  std::fputs("\n", stream);
  std::fprintf(stream, "%s: %s\n", "# Current Working Dir.",
               WorkingDirectory(g).c_str());
  std::fprintf(stream, "%s: %s\n", "# Located Config. File",
               g.paths.cfg_file.c_str());
  std::fprintf(stream, "%s: %s\n", "# Located Macro File  ",
               g.paths.macro_file.c_str());
  std::fputs("\n# The following is the current configuration data\n", stream);
  for (const ConfigKey& entry : ConfigKeys()) WriteEntry(stream, entry, g);
  std::fprintf(stream, "\n# end of %s\n", kConfigFileName);
  if (g.opt.html_flag) std::fprintf(stream, "%s\n", kHtmlTrailer);
}

int read_config(G& g) {
  const std::string& path = g.paths.cfg_file;
  FILE* stream = std::fopen(path.c_str(), "rb");
  if (stream == nullptr) {
    stream = std::fopen(path.c_str(), "w+b");
    if (stream == nullptr) return 0;
    WriteConfigFile(stream, g);
    std::rewind(stream);
  }
  g.cfg.cfg_version.clear();
  ApplyLines(stream, g);
  std::fclose(stream);

  if (!CaseEqual(g.cfg.cfg_version, kVersion)) {
    g.cfg.cfg_version = kVersion;
    FILE* out = std::fopen(path.c_str(), "wb");
    if (out != nullptr) {
      WriteConfigFile(out, g);
      std::fclose(out);
    }
  }
  return 1;
}

int read_user_config(const std::string& path, G& g) {
  // The user's file is only read: it may hold a few keys and comments of
  // its own, and is never created, completed or rewritten.
  FILE* stream = std::fopen(path.c_str(), "rb");
  if (stream == nullptr) return 0;
  const std::string version = g.cfg.cfg_version;
  ApplyLines(stream, g);
  std::fclose(stream);
  g.cfg.cfg_version = version;
  // Extension lists the file gave are checked from now on.
  build_allowed_extensions(g);
  return 1;
}

}  // namespace vek
