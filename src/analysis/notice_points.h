// Where the analysis raises a quality notice.  The scan calls raise_notice
// at every place a built-in notice applies, with the values its message
// names; the common emission procedure counts and writes it.
#ifndef VEK_ANALYSIS_NOTICE_POINTS_H_
#define VEK_ANALYSIS_NOTICE_POINTS_H_

#include <string_view>

namespace vek {

struct G;

// The values a notice's message names besides its line, in the order the
// message uses them: `text` is a keyword, a name or a word such as "Class"
// or "function"; `file` the file named by the tree and file notices (#40
// to #42, #45; empty means the current file); `v` counts and limits;
// `p` percentages.
//
// What each message reads (anything else is ignored):
//   #1        v[0] line length, v[1] limit
//   #2        text function name, v[0] its measured length, v[1] limit
//   #6, #7    v[0] 1 on a "#define NAME(" line (the macro form), text the
//             macro's name
//   #14       v[0] case, v[1] default, v[2] break, v[3] fall-through
//             comments; the default column follows the configuration
//   #15, #24  text the class name, the keyword
//   #16, #46  p[0] percentage, p[1] limit; text "Class" or "Struct" for a
//             type, empty for a function
//   #17, #19, #20, #47  p[0] percentage, p[1] limit
//   #31       text "Class" or "Struct", p[0] percentage, p[1] limit
//   #18       v[0] limit
//   #21       text the key string
//   #22       text the keyword; the line is the keyword's line
//   #27, #28, #29, #48, #55  v[0] the value, v[1] the limit
//   #39       text "Class" or "Struct", v[0] limit (0: the configured one)
//   #40, #41  file, v[0] limit (0: the configured one)
//   #42       file, text the class name
//   #45       file (empty: the current file)
//   #51..#54  text "function", "class", "struct" or "interface" (empty:
//             the word of the number)
struct NoticeArgs {
  std::string_view text;
  std::string_view file;
  int v[6] = {0, 0, 0, 0, 0, 0};
  double p[2] = {0.0, 0.0};
};

// Notice `number` at `line_number`.
void raise_notice(G& g, int number, int line_number, const NoticeArgs& args);
// The same notice, without arguments, `times` times over (a run of tabs):
// the same as as many raise_notice calls in a row, counted at once when
// nothing is written or traced.
void raise_notice_repeated(G& g, int number, int line_number, int times);
// The same with only a text argument (a keyword, a name), empty when none.
void raise_notice(G& g, int number, int line_number,
                  std::string_view detail = {});

// Counts one notice of `number` for the current file and the run (and, for
// 1..58, for its type); the notices of other origins (user defined ones)
// count through here too.
void count_notice(G& g, int number);

// Keeps a notice for the --sarif log (nothing without --sarif): notices
// that do not pass raise_notice (user defined ones, the balance check)
// come here with their message and their type's short description.
void collect_notice(G& g, std::string_view file, int line_number, int number,
                    std::string_view text, std::string_view summary);
// A user defined notice `number` at `line_number` of the current file:
// counted for the file and the run (not by type: its record counts it),
// then written and recorded like every notice.  `message` is its long text
// in the report's format, without the final line feed; it is read only
// when user_notice_long_form() says so.  Returns false when the notice was
// not counted (inside a skip-quality region).
bool raise_user_notice(G& g, int number, int line_number,
                       std::string_view message);
// Notices are written in their long form now (-n without -T, -Ns, -Nv).
bool user_notice_long_form(const G& g);

// The single-line form of a notice, written when -Ns or -Nv is on, and its
// entry in the recorded-notice list.  `keyword` (notice #22 only) replaces
// the short description by the keyword and why it was raised.
void emit_short_notice(G& g, std::string_view file, int line_number,
                       int number, std::string_view keyword = {});
// The same for a user defined notice, with its summary as description.
void emit_short_user_notice(G& g, std::string_view file, int line_number,
                            int number);

// The running balance check: a ')' (`brace` false) or a '}' (`brace` true)
// with no opening partner left.  Counted and written as notice #12 when
// notices are reported to a text or HTML report; the caller forces the
// counts equal.
void raise_balance_notice(G& g, int line_number, bool brace);

// At the end of a file: the messages about braces left open and a function
// body left open (never counted), then the file-level notices #47, #20,
// #19, #45 and #21.
void end_of_file_scope_check(G& g);
void file_end_notices(G& g);

}  // namespace vek

#endif  // VEK_ANALYSIS_NOTICE_POINTS_H_
