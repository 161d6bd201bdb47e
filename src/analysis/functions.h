// Function identification: finds the name, parameter list and template
// prefix of each function definition from the text in front of its
// parenthesis, normalises them when the body opens and writes the
// function's head and list lines.  The scanner and the brace tracker drive
// it through the entry points at the end of this header.
#ifndef VEK_ANALYSIS_FUNCTIONS_H_
#define VEK_ANALYSIS_FUNCTIONS_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace vek {

struct G;
struct FunctionMeasure;

constexpr size_t kNoOperator = std::string_view::npos;

// --- Identification ---------------------------------------------------

// Looks backwards from index `p` of `text` (a code line or the previous
// code line) for a function name; `p` is the parenthesis, or text.size()
// for the line end of a previous code line.  On success g.fs.func_name holds the
// (qualified) name and funcname_flag is raised; otherwise func_name and
// param_text are cleared and funcname_flag lowered.  Does nothing while
// an explicit instantiation's ':' is pending or when `text` is empty.
void GetFunction(std::string_view text, size_t p, G& g);

// True when g.fs.func_name (trailing white space removed in place) ends,
// or for an operator begins, with a character a function name can have.
// `operator_pos` is where the word "operator" stands in the searched text,
// or kNoOperator.
bool ValFunctionName(G& g, size_t operator_pos);

// The first word of `line` from `start` (leading blanks and one block
// comment skipped), or "" when the line is empty, starts a // comment or
// the word does not start with a letter, '_' or '~'.  A word that does not
// fit a line buffer is reported and gives "".
std::string FirstWord(std::string_view line, size_t start, G& g);

// `name` without blanks, tabs and the template parameter keywords "class"
// and "typename"; "operator" keeps one blank before what follows it.
std::string NormaliseName(std::string_view name);

// The normal form of a parameter text: cut after the list (before a body
// or an initialiser list), blanks tidied, ending in ')', with the
// old-style and compiler-directive markers appended as the flags say.
std::string FormatParameters(std::string_view params, std::string_view name,
                             const G& g);

// The number of parameters of a normalised parameter text.
int CountParameters(std::string_view params);

// The parameter text as taken at the parenthesis: at most 2047
// characters, cut at a // comment, one block comment removed and every
// run of white space collapsed to one blank.
std::string CleanParameterText(std::string_view text);

// --- Calling order ----------------------------------------------------
// The scanner and the brace tracker call these; each checks what belongs
// to function identification and leaves the rest to its caller.

// A '(' at index `i` of a code line of `len` characters (line end
// removed).  When a function head may start here, looks for its name and
// starts collecting the parameter text.
void function_at_paren(const char* line, size_t i, size_t len,
                       int line_number, G& g);

// At the start of every line: a parameter list that runs over several
// lines takes this one; a #if between a name and its body is remembered.
void collect_parameter_line(const char* text, size_t len, int line_number,
                            G& g);

// A ';' outside function bodies.  `in_type_body` is set when it ends a
// declaration inside a class, struct or interface body.
void function_at_semicolon(G& g, int in_type_body);

// A ')' that brought the parenthesis depth back to 0.
void function_paren_closed(G& g);

// The opening brace of a function body: normalises the name and the
// parameters, counts the parameters and writes the head (the "Function
// Begin" block, or the list entry under -l and -EC).
void function_body_opens(int line_number, G& g);

// After a function's measurement at its closing brace: the "Function End"
// name block with notices, or the function detail that precedes its
// metrics.  The caller skips it under -l and -fm.
void function_end_output(const FunctionMeasure& m, G& g);

// Forgets the pending or finished function: flags and name buffers.
void clear_function_candidate(G& g);

// 1 when a function opening now is defined inside its class body in a C++
// file (an inline method), outside function-name list mode.
int function_is_inline(const G& g);

// True when per-function lines are kept out of the report: totals-only
// mode, XML output and the work file modes.
bool function_detail_suppressed(const G& g);

// One function list or detail entry in the report's format.  `list_form`
// chooses the compact -l forms over the detail forms; `line` is the
// function's opening line (XML only).
struct FunctionEntry {
  std::string_view name;
  std::string_view parameters;
  std::string_view templ;  // empty when the function is no template
  bool inline_method = false;
  int line = 0;
};
void write_function_entry(G& g, const FunctionEntry& e, bool list_form);

}  // namespace vek

#endif  // VEK_ANALYSIS_FUNCTIONS_H_
