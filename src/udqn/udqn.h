// User defined quality notices: rules written as regular expressions in a
// notice file, tried on every line (or on its code, comments or strings)
// and at the end of every file, and reported, counted and profiled like
// the built-in notices.
#ifndef VEK_UDQN_UDQN_H_
#define VEK_UDQN_UDQN_H_

#include <cstddef>
#include <string>
#include <string_view>

#include "udqn/udqn_set.h"

namespace vek {

struct G;

// The notice file of the run: the configured name, a bare name placed in
// the configuration home (VEKCFGHOME, else VEKHOME, else the current
// directory), "vek_udqn.cfg" there when none is configured.  `defaulted`
// (when given) is set when no name was configured.
std::string udqn_main_path(const G& g, bool* defaulted = nullptr);

// Reads a notice file and appends its records.  With `include_name` null it
// reads the main file, once per run (later calls do nothing); a main file
// that was not configured and does not exist is passed over quietly.  An
// include name without a directory is looked for beside the main file.
// With -n the file is named in the report head; errors are written to the
// report stream and the run goes on.  With -xUDQNSHOW, after the main file,
// the records are listed and the run is stopped with status 1.
void load_udqn_file(const char* include_name, G& g);

// Tries the records on one analysed line: `text` is the line without its
// line end; the code, comment and string parts are the scanner's partitions
// of it.  With `eof` set, the end-of-file records are tried instead (the
// text is then "UDQN eof"), after which the file's flags are cleared.
void apply_udqn(const char* text, size_t len, int line_number, int eof, G& g);

// The end-of-file step: the records with "emit eof flag" on, once.
void udqn_end_of_file(G& g);

// The record with notice number `id`, or null.
const UdqnRecord* udqn_find(int id, const G& g);

// The notices of the active records over the run.
int udqn_total_count(const G& g);

// -xUDQNSHOW: every record with its settings and its message written with
// example values.
void udqn_show(G& g);

// -hn: "Notice n: [On] summary" for every record with a summary.
void udqn_list_notice_types(G& g);

// The version text of the regular expression library.
std::string udqn_library_version();

// The values a message's placeholders stand for.
struct UdqnMessageValues {
  std::string_view file;      // _FILE_
  std::string_view line;      // _LINE_, without its line end
  int line_number = 0;        // _LINE#_
  std::string_view function;  // _FUNC_, empty outside a function
  std::string_view type;      // _CLASS_, empty outside a class
};

// The message with its placeholders and "\n" escapes replaced, ending in a
// line feed.  With `html` the values are bold and all text is HTML-escaped.
std::string udqn_format_message(std::string_view message,
                                const UdqnMessageValues& v, bool html);

}  // namespace vek

#endif  // VEK_UDQN_UDQN_H_
