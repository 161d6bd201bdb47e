// The user defined quality notices of a run: the records read from the
// notice file (vek_udqn.cfg and the files it includes), the option words
// their patterns are compiled and matched with, and the per-file flag table
// that lets one record gate another.
#ifndef VEK_UDQN_UDQN_SET_H_
#define VEK_UDQN_UDQN_SET_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/list.h"

namespace vek {

constexpr int kUdqnMaxSources = 64;     // extensions per record
constexpr int kUdqnMaxFlags = 32;       // numbers per flag list
constexpr int kUdqnFlagTableSize = 2000;  // flags 1..1999
constexpr int kUdqnMinId = 100;         // ids below are reported
constexpr int kUdqnMaxIncludeDepth = 16;  // files open at once while loading

// What a record's pattern is matched against.
enum UdqnContext {
  kUdqnUnknown = 0,  // never matches
  kUdqnLine = 1,     // the whole line
  kUdqnCode = 2,     // the line's code
  kUdqnComment = 3,  // its comments
  kUdqnString = 4,   // its string literals
};

// A compiled pattern of the regular expression library; defined where the
// library's header is included, so that no other file sees it.
struct CompiledPattern;
struct CompiledPatternDeleter {
  void operator()(CompiledPattern* p) const;
};
using CompiledPatternPtr = std::unique_ptr<CompiledPattern, CompiledPatternDeleter>;

// A list of flag numbers (1..1999), at most kUdqnMaxFlags of them.
struct UdqnFlags {
  int count = 0;
  int number[kUdqnMaxFlags] = {};
};

// One notice definition, from "UDQN Begin" to "UDQN End".
struct UdqnRecord {
  int id = 0;
  int active = 0;
  int context = kUdqnUnknown;
  std::vector<std::string> sources;  // extensions without the '.'
  std::string pattern;
  std::string compile_message;
  std::string message;
  std::string summary;
  std::string test_string;
  std::string test_result;
  UdqnFlags set_flags, check_flags, not_check_flags, clear_flags;
  int emit_eof = 0;
  int silent = 0;
  int count = 0;  // notices emitted over the whole run
  int match_start = -1, match_end = -1;
  int matches_empty = -1;  // the pattern matches an empty text (-1 unknown)
  CompiledPatternPtr compiled;  // null when the pattern did not compile
};

// The option words: the compile options apply to the "pattern" lines read
// after them, the match options to every match of the run.
struct UdqnOptions {
  int icase = 0, newline = 0, nosub = 0, extended = 0;  // display flags
  int notbol = 0, noteol = 0;
  int compile_options = 0;
  int match_options = 0;
};

struct UdqnSet {
  std::string path;      // the main notice file, once located
  int loaded = 0;        // the main file has been looked for
  List<UdqnRecord> records;
  UdqnOptions options;
  int any_compiled = 0;  // some pattern of the run compiled
  int context_records = 0;  // active records that read a line partition
  // The per-file flag table, cleared before each file (index 0 unused).
  int flags[kUdqnFlagTableSize] = {};
  // The records tried on the current file's lines and at its end, in list
  // order: active, with a pattern that compiled and the file's extension
  // among their sources.  Worked out at its first line, forgotten at its
  // end.
  int file_known = 0;
  std::vector<UdqnRecord*> line_records;
  std::vector<UdqnRecord*> eof_records;
  // The files being read, outermost first, to stop include cycles.
  std::vector<std::string> reading;
};

}  // namespace vek

#endif  // VEK_UDQN_UDQN_SET_H_
