// The line scanner's state: what carries from line to line within a file,
// the per-line working values and partitions, and the flags the code
// dispatch sets for function, class and scope tracking.  Everything here
// is cleared by reset_file_state before each file.
#ifndef VEK_ANALYSIS_SCAN_STATE_H_
#define VEK_ANALYSIS_SCAN_STATE_H_

#include <cstddef>
#include <cstring>
#include <string>

#include "common/text.h"

namespace vek {

// A fixed text buffer of one line: the partitions and the extraction text.
struct LineText {
  char text[kLineSize] = {};
  size_t len = 0;

  void Clear() { len = 0; }
  void Append(char c) {
    if (len + 1 < kLineSize) text[len++] = c;
  }
  void Append(const char* s, size_t n) {
    if (n > kLineSize - 1 - len) n = kLineSize - 1 - len;
    if (n <= 16) {
      // Most pieces are short names and blanks: a call costs more.
      for (size_t i = 0; i < n; ++i) text[len + i] = s[i];
    } else {
      memcpy(text + len, s, n);
    }
    len += n;
  }
  std::string_view view() const { return std::string_view(text, len); }
  const char* c_str() {
    text[len] = '\0';
    return text;
  }
};

// Decision counters of the function being measured.
struct FunctionCounters {
  int local_while = 0;
  int local_for = 0;
  int local_switch = 0;
  int local_case = 0;
  int local_default = 0;
  int local_break = 0;
  int local_if = 0;
  int local_else = 0;
  int local_ternary = 0;
  int local_goto = 0;
  int local_or = 0;
  int local_and = 0;
  int local_logical = 0;
  int local_semicolons = 0;
  int local_for_headers = 0;  // for headers holding a ';' (see lLOC)
  int local_returns = 0;
  int fall_through = 0;
  int last_was_break = 0;
};

// The kinds of string literal, by the rule that closes them.
enum StringKind {
  kPlainString = 0,       // "..." with backslash escapes
  kVerbatimString = 1,    // C# @"...": "" is a quote, a backslash is text
  kTextBlock = 2,         // Java """...""" with backslash escapes
  kQuotedRawString = 3,   // C# """...""": three or more quotes, no escapes
  kParenRawString = 4,    // C++ R"delim(...)delim"
};

// A C++ raw string's delimiter has at most 16 characters.
constexpr size_t kRawDelimiterSize = 16;

struct ScanState {
  // Lexical state carried from line to line.
  int in_block_comment = 0;
  int block_comment_line = 0;
  int block_comment_star = -1;
  int in_line_comment = 0;
  int in_string = 0;
  // What closes the open string (kPlainString and the others below): an
  // ordinary string ends with its line unless its quote count stays odd;
  // the other kinds run on over as many lines as they take.
  int string_kind = 0;
  int string_quotes = 0;  // quotes that close a Java or C# block string
  char raw_delimiter[kRawDelimiterSize] = {};  // C++ R"delim( ... )delim"
  int raw_delimiter_len = 0;
  int in_char = 0;
  int continuation_flag = 0;
  int quote_count = 0;
  int preproc_flag = 0;
  int define_flag = 0;
  int error_flag = 0;
  int if_directive_flag = 0;
  int region_flag = 0;
  int comment_run = 0;
  int key_string_found = 0;
  LineText prev_code_line;

  // Per-line working values.
  int blank = 1;
  int code = 0;
  int non_effective = 0;
  int logical = 0;
  int block_comment_on_line = 0;
  int star_seen = 0;
  char last_char = 0;

  // Per-line partitions and the extraction buffer (kept across
  // continuation lines).
  LineText code_text;
  LineText comment_text;
  LineText string_text;
  LineText extract;

  // Flags of the code dispatch.
  int paren_level = 0;
  int assignment_flag = 0;
  int in_if_condition = 0;
  int in_while_condition = 0;
  int in_for_header = 0;
  // The parenthesis level of the open for header, and whether one of its
  // ';' has been counted: a for header's semicolons make one statement, a
  // range or enhanced for (no ';' in its head) takes none back.
  int for_header_level = 0;
  int for_header_counted = 0;
  int typedef_flag = 0;
  int const_flag = 0;
  int enum_state = 0;  // 0 none, 2 head seen, 1 body open
  int friend_flag = 0;
  int friend_class_flag = 0;
  int access_public = 0;
  int access_protected = 0;
  int access_private = 0;
  int virtual_flag = 0;
  int using_flag = 0;
  int event_flag = 0;
  int delegate_flag = 0;
  int where_flag = 0;
  int property_get_flag = 0;
  int return_flag = 0;
  int catch_flag = 0;
  int new_in_statement = 0;
  int macro_with_args = 0;
  int macro_block_open = 0;  // a -m -n macro block awaits its end line
  std::string macro_name;
  int template_depth = 0;
  int annotation_open = 0;   // Java @annotation until ')' or ';'
  int condition_compares = 0;
  int statement_commas = 0;
  int assignment_pending = 0;  // line a notice #50 test was deferred from
  int bracket_attribute = 0;   // C++/C# [attribute] open
  int pass_paren = 0;          // class identification passes one '('
  int annotation_level = 0;    // parenthesis level the open annotation began at
  // The template head: open from the keyword to the '>' that balances its
  // angle brackets; its text (up to that '>' or the line end) is kept for
  // function and class identification.
  int template_beg_flag = 0;
  int template_head_depth = 0;
  std::string template_head;
  // The open scope check of notice #22: the keyword's kind (1 do, 2 else,
  // 3 for or foreach, 4 if, 5 while; 0 none), its line and the parenthesis
  // level at the keyword.
  int scope_check_kind = 0;
  int scope_check_line = 0;
  int scope_check_paren = 0;
  int scope_check_deferred = 0;      // decided by the next code
  const char* scope_check_word = "";  // the keyword, for the message

  FunctionCounters fn;
};

}  // namespace vek

#endif  // VEK_ANALYSIS_SCAN_STATE_H_
