// The line scanner: walks each line once, keeps the lexical state that
// spans lines, classifies the line (blank, code, effective, logical,
// comment), raises the file counters and drives the code dispatch.
#ifndef VEK_ANALYSIS_LINE_SCANNER_H_
#define VEK_ANALYSIS_LINE_SCANNER_H_

#include <cstddef>
#include <string_view>

namespace vek {

struct G;

// Analyses one line: `text` holds at most 2047 characters and its own line
// end; `len` is its length (NUL bytes may occur).
void analyse_line(const char* text, size_t len, int line_number, G& g);

// 1 when the line is a lone bracket line for `bracket`: after leading
// blanks and tabs the bracket, then only blanks, tabs, ';' and complete
// /* */ comments up to the line end or a // comment.
int lone_bracket_line(std::string_view text, char bracket);

// Clears every file counter and all scanner state before the next file.
void reset_file_state(G& g);
// Adds the file counters into the project totals.
void add_file_to_totals(G& g);
// Copies the project totals over the file counters (after the last file).
void totals_to_file_fields(G& g);

// The one-character type code of the line just analysed for the code
// differential ('N', 'n', 'G', 'g', 'L', 'l', 'C', 'B'), or 0 for none.
char line_type_code(const G& g);

// The line capture of the code differential (-wd) or its kind display
// (-wD): called at the end of every analysed line that has a type code;
// null while neither is on.
using LineSink = void (*)(G& g, const char* text, size_t len, int line,
                          char kind);
extern LineSink line_sink;

}  // namespace vek

#endif  // VEK_ANALYSIS_LINE_SCANNER_H_
