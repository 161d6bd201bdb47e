// Brace and parenthesis tracking: where function bodies open and close,
// the nesting depth inside them, the switch stack, and the measurement of
// each function when its body closes.
#ifndef VEK_ANALYSIS_SCOPE_H_
#define VEK_ANALYSIS_SCOPE_H_

#include <cstddef>

namespace vek {

struct G;
struct FunctionMeasure;

// The bracket events of the code dispatch.
void scope_open_paren(const char* line, size_t i, size_t len, int line_number,
                      G& g);
void scope_close_paren(int line_number, G& g);
void scope_bracket(char c, G& g);
void open_brace_event(const char* line, size_t i, size_t len, int line_number,
                      G& g);
void close_brace_event(const char* line, size_t i, size_t len, int line_number,
                       G& g);
// A ';' in code: the function candidate rule of statement ends.
void scope_semicolon(G& g);
// An '=' assignment: remembers whether it stands outside parentheses (its
// statement's '{' is then an initializer); outside function bodies such an
// assignment makes a variable definition and ends a pending name.
void scope_assignment(G& g);
// A counted "switch" and a counted "break".
void scope_switch(G& g);
void scope_break(int line_number, G& g);
// A type or namespace head whose body is no nesting level of a function.
void scope_body_head(G& g);
// The start of a line: clamps the nesting level and collects parameter
// lists continued from earlier lines.
void scope_line_start(const char* text, size_t len, int line_number, G& g);

// A function-try-block: "try" in a function head, every code character
// at the start of a token (the first code after the last handler closes
// the function), and the end of the file.
void function_try_keyword(G& g);
void function_try_code(const char* line, size_t i, size_t len, G& g);
void scope_file_end(G& g);

// The sum of the enabled cyclomatic components of the current function.
int cyclomatic_complexity(const G& g);
// The -fd block of one function.
void print_cc_detail(int cyclomatic, G& g);

}  // namespace vek

#endif  // VEK_ANALYSIS_SCOPE_H_
