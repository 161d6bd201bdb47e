// The output layer every report uses: the report stream, framing helpers
// (centred lines, rules, banners, name wrapping, file links), the escaping
// filters, dates, and the head, legend and trailer of a report.
#ifndef VEK_REPORTS_OUTPUT_H_
#define VEK_REPORTS_OUTPUT_H_

#include <cstdarg>
#include <cstdio>
#include <ctime>
#include <string>
#include <string_view>

namespace vek {

struct G;

// Runs of 36 hyphens and underscores used by the rules of every report.
extern const char kHyphens36[];
extern const char kUnderscores36[];
constexpr const char* kHtmlTrailer = "</pre></body></html>";

// printf onto the report stream, or into the held text while output is held
// back.
void Out(G& g, const char* fmt, ...) __attribute__((format(printf, 2, 3)));
// The same for a text without conversions: Out(g, "%.*s", ...).
void OutText(G& g, std::string_view text);
// Writes `n` bytes onto `stream` as fwrite does.  Only one thread writes
// the reports: a fully buffered stream takes them straight into its
// buffer when they fit.
void WriteStream(FILE* stream, const char* p, size_t n);
// Writes `a`, `b` and `c` one after the other the same way.
void WritePieces(FILE* stream, std::string_view a, std::string_view b,
                 std::string_view c);

// The printf subset the reports use most (literal text, %%, and %d %i %u
// %s %c %f with an optional '-' flag, a width, "l", "ll" or "z" (not for
// %f), and a precision for %s and %f), done without the stdio machinery.  Writes at most
// `cap` bytes to `out` and returns the length, or -1 when the format holds
// anything else or the text would not fit: format a copy of the arguments
// with vsnprintf then.  Consumes arguments from `ap` either way.
int QuickFormat(char* out, size_t cap, const char* fmt, va_list ap);
// Ends holding back report text (G::hold_output) and writes what was held:
// as it is, or as escaped character data inside an XML report.
void release_held_output(G& g, bool as_xml_text);
// printf onto a given stream (a report may be written to another one).
void Put(FILE* stream, const char* fmt, ...)
    __attribute__((format(printf, 2, 3)));
// printf onto the standard error stream; progress text only.
void Progress(G& g, const char* fmt, ...) __attribute__((format(printf, 2, 3)));
// Writes the HTML trailer when HTML output is on (after an error message).
void HtmlEnd(G& g);

// Opens the -O report file; returns false (after the message) on failure.
bool open_output(const std::string& name, G& g);

// `text` preceded by 37 - len/2 blanks when that is positive, then newline.
void center_line(G& g, std::string_view text);
// The same indent computed from `plain_text`, then `html_text`.
void center_html_line(G& g, std::string_view html_text,
                      std::string_view plain_text);
// "~~ title ~~" centred; in HTML inside the header colour.
void section_banner(G& g, std::string_view title);

// A copy of `name` (at most 2047 characters) with a newline and `indent`
// blanks before every character at a positive multiple of `width`, when
// wrapping is on and the name is longer than `width`.
std::string wrap_name(std::string_view name, int width, int indent,
                      const G& g);
// The hyperlink target of a file for HTML reports.
std::string file_link(std::string_view name, const G& g);
// The command line: as is in CSV, as an element in XML, wrapped otherwise.
void echo_command_line(FILE* stream, G& g);

// Escaping filters; results are cut at 2047 characters, never overrun.
std::string XmlEscape(std::string_view s);
std::string HtmlEscape(std::string_view s);
std::string CsvEscape(std::string_view s);
// Text for the current format: escaped in HTML and XML, as it is otherwise
// (names in messages must not break an HTML or XML report).
std::string EscapeFor(const G& g, std::string_view s);

// The run's clock: SOURCE_DATE_EPOCH when set, else now.
time_t RunTime();
// strftime of a time in local time.
std::string FormatTime(time_t t, const char* fmt);
// The fixed 24-character form "Wed Sep 02 22:13:31 2009".
std::string Ctime24(time_t t);

void write_head(FILE* stream, G& g, int syntax_error);
// The HTML prolog on the report stream, once, when in HTML mode.
void html_page_start(G& g);
void write_csv_head(FILE* stream, G& g);
void write_xml_head(FILE* stream, G& g);
void write_mode_legend(G& g);
void write_trailer(G& g);

}  // namespace vek

#endif  // VEK_REPORTS_OUTPUT_H_
