// The state of type and namespace identification: the type head being
// read, the current type with its access level and counters, the stacks of
// the enclosing types and namespaces, and the statement text of the type
// body that data members are counted from.  Cleared before each file.
#ifndef VEK_ANALYSIS_TYPE_STATE_H_
#define VEK_ANALYSIS_TYPE_STATE_H_

#include <string>

namespace vek {

constexpr int kTypeStackSize = 32;

// A union head is read as kKindUnion and then handled as a struct whose
// frame is marked `is_union` (it counts under union, not struct).
enum TypeKind { kKindClass = 0, kKindStruct = 1, kKindInterface = 2,
                kKindUnion = 3 };

// The access level in force and the member counts of one type.
struct TypeCounts {
  int access_public = 0, access_protected = 0, access_private = 0;
  int methods_public = 0, methods_protected = 0, methods_private = 0;
  int data_public = 0, data_protected = 0, data_private = 0;
};

// The file counters when a type body opened.
struct TypeSnapshot {
  int line = 0;
  int loc = 0, comments = 0, blanks = 0, noneff = 0, lloc = 0;
  int whitespace = 0, chars = 0;
};

// One type, current or saved on the stack.
struct TypeFrame {
  std::string name;      // qualified; interfaces carry the prefix
  std::string templ;
  std::string bases;
  int kind = kKindClass;
  int body_depth = 0;    // brace depth inside its body
  TypeCounts counts;
  TypeSnapshot snap;
  int virtual_seen = 0;  // a virtual method was declared (notice #37)
  int virtual_dtor = 0;  // ... and a virtual destructor
  int is_union = 0;
  int typedef_flag = 0;  // a typedef was open when the body opened
};

struct NamespaceFrame {
  std::string name;
  int brace_depth = 0;  // brace depth inside its body; 0 for a package
  int file_scoped = 0;  // a package or "namespace X;": ends with the file
};

struct TypeState {
  // The head being read: the keyword's kind and the text after it, up to
  // the body's '{' (gathered across lines).
  int head_pending = 0;
  int head_kind = kKindClass;
  int head_union = 0;
  int head_line = 0;
  size_t head_keyword_end = 0;  // index after the keyword on head_line
  size_t head_before_line = 0;  // head_text before the current line
  std::string head_text;
  std::string head_template;

  // The current type (valid when class_open_flag in FunctionState is set).
  TypeFrame cur;
  int class_index = 0;  // enclosing types of the current one
  TypeFrame stack[kTypeStackSize + 1];

  // Namespaces: the current one is fs.namespace_name.
  int namespace_pending = 0;  // a namespace keyword waits for its '{'
  int namespace_index = 0;
  NamespaceFrame ns;  // the innermost open namespace
  NamespaceFrame ns_stack[kTypeStackSize + 1];

  // The statement text of the current type body, from the end of the last
  // statement; data members are counted from it at each ';'.
  std::string stmt;
  size_t stmt_begin = 0;   // where the open statement starts in stmt
  size_t line_offset = 0;  // where the current line starts in stmt
};

}  // namespace vek

#endif  // VEK_ANALYSIS_TYPE_STATE_H_
