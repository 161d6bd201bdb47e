// The state of function identification and measurement: the current
// function's name, parameters and template, the brace and parenthesis
// tracking of its body, the snapshot taken when the body opens, and the
// file's function sums and maxima.  Cleared before each file.
#ifndef VEK_ANALYSIS_FUNCTION_STATE_H_
#define VEK_ANALYSIS_FUNCTION_STATE_H_

#include <string>

namespace vek {

constexpr int kSwitchStackSize = 32;

// A finished function, as measured at its closing brace.
struct FunctionMeasure {
  std::string name;        // qualified name
  std::string parameters;  // normalised parameter text
  std::string templ;       // template prefix, empty when none
  std::string file;        // the file it is defined in
  int start_line = 0;      // line of the opening brace
  int end_line = 0;        // line of the closing brace
  int loc = 0, eloc = 0, lloc = 0, comments = 0, blanks = 0, lines = 0;
  int params = 0, returns = 0, cyclomatic = 0;
  int interface_complexity = 0;  // params + returns
  int total_complexity = 0;      // cyclomatic + interface
  double whitespace_percent = 0.0;
  double blank_percent = 0.0;
  int inline_flag = 0;     // defined inside its class body (C++)
  int alloc = 0, frees = 0, news = 0, deletes = 0;  // memory calls in it
};

// Sums and maxima over a set of finished functions: those of a file, or
// of the whole project.
struct FunctionSums {
  int functions = 0;
  long long loc = 0, eloc = 0, lloc = 0, comments = 0;
  long long params = 0, returns = 0, cyclomatic = 0;
  int max_loc = 0, max_eloc = 0, max_lloc = 0;
  int max_params = 0, max_returns = 0, max_cyclomatic = 0;
  int max_total_complexity = 0;

  void Add(const FunctionMeasure& m) {
    ++functions;
    loc += m.loc;
    eloc += m.eloc;
    lloc += m.lloc;
    comments += m.comments;
    params += m.params;
    returns += m.returns;
    cyclomatic += m.cyclomatic;
    Raise(max_loc, m.loc);
    Raise(max_eloc, m.eloc);
    Raise(max_lloc, m.lloc);
    Raise(max_params, m.params);
    Raise(max_returns, m.returns);
    Raise(max_cyclomatic, m.cyclomatic);
    Raise(max_total_complexity, m.cyclomatic + m.params + m.returns);
  }

 private:
  static void Raise(int& max, int v) {
    if (v > max) max = v;
  }
};

struct FunctionState {
  // Identification.
  std::string func_name;
  std::string param_text;
  std::string template_text;
  int funcname_flag = 0;
  int template_flag = 0;
  int macro_call_flag = 0;
  int non_ansi_flag = 0;
  int directive_flag = 0;
  int param_collect_flag = 0;
  int param_count = 0;
  int explicit_void_params = 0;
  int candidate_line = 0;
  int instantiate_colon_flag = 0;

  // The enclosing type and namespace, as type identification finds them;
  // they qualify the names of functions defined inside them.  class_name
  // already carries its namespace ("gfx::Shape").
  std::string class_name;
  std::string namespace_name;
  int class_open_flag = 0;      // a class head or body is current
  int namespace_open_flag = 0;  // a namespace or package is open

  // The body.
  int function_scope = 0;
  int paren_depth = 0;
  int bracket_depth = 0;
  int func_start_line = 0;
  int func_end_line = 0;
  int switch_depth = 0;
  int switch_level = 0;
  int switch_stack[kSwitchStackSize] = {};

  // What each open brace opened, innermost last, so that its closing brace
  // undoes exactly that: a nesting level, a function body, or nothing (an
  // initializer, a linkage block, a type or namespace body, an enum).
  enum BraceKind : unsigned char { kNoLevel, kLevel, kBody, kTypeBody,
                                   kInitializer, kNamespaceBody };
  static constexpr int kBraceStackSize = 1024;
  unsigned char brace_kinds[kBraceStackSize] = {};
  int brace_depth = 0;     // open braces, also beyond the stack's size
  int body_count = 0;      // open type and namespace bodies
  int type_head_pending = 0;
  int assign_at_top = 0;   // the statement's assignment is outside parentheses
  int assign_paren_level = 0;  // parenthesis level of the assignment's '='

  // Snapshot of the file counters when the body opened.
  struct Snapshot {
    int loc = 0, comments = 0, blanks = 0, noneff = 0;
    int whitespace = 0, chars = 0;
    int alloc = 0, frees = 0, news = 0, deletes = 0;
  } snap;

  // A function-try-block: "try" met in the head, then the closing brace
  // of the try block or of a handler met, with the counters and line
  // there (the function ends there unless another handler follows).
  enum TryState { kNoTry, kTryHead, kTryHandlers };
  int try_state = kNoTry;
  Snapshot try_end;
  int try_end_line = 0;

  // The file's functions: bodies opened, and the sums and maxima of those
  // closed and recorded.
  int functions_begun = 0;
  FunctionSums sums;
};

}  // namespace vek

#endif  // VEK_ANALYSIS_FUNCTION_STATE_H_
