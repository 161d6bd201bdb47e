// The file counters: every per-file count that is reset at the start of a
// file, added into the project totals at its end and, after the last file,
// copied back over the file fields so that a report of "the file" prints
// the project.  Listed once here so that reset, totalling and copying can
// never miss a field.
#ifndef VEK_ANALYSIS_COUNTERS_H_
#define VEK_ANALYSIS_COUNTERS_H_

#include <climits>

namespace vek {

#define VEK_FILE_COUNTERS(X) \
  X(line_count)              \
  X(char_count)              \
  X(whitespace_count)        \
  X(loc)                     \
  X(blank_lines)             \
  X(comment_lines)           \
  X(semicolon_count)         \
  X(for_count)               \
  X(noneff_brace_lines)      \
  X(noneff_paren_lines)      \
  X(literal_strings)         \
  X(continuation_lines)      \
  X(preprocessor_count)      \
  X(include_count)           \
  X(define_count)            \
  X(open_paren)              \
  X(close_paren)             \
  X(open_brace)              \
  X(close_brace)             \
  X(open_bracket)            \
  X(close_bracket)           \
  X(notice_count)            \
  X(skipped_lines)           \
  X(function_count)          \
  X(cyclomatic_sum)          \
  X(return_sum)              \
  X(parameter_sum)           \
  X(class_count)             \
  X(struct_count)            \
  X(interface_count)         \
  X(import_count)            \
  X(typedef_count)           \
  X(const_count)             \
  X(enum_count)              \
  X(do_count)                \
  X(while_count)             \
  X(switch_count)            \
  X(default_count)           \
  X(case_count)              \
  X(break_count)             \
  X(if_count)                \
  X(else_count)              \
  X(goto_count)              \
  X(return_count)            \
  X(exit_count)              \
  X(exit_underscore_count)   \
  X(abort_count)             \
  X(macro_count)             \
  X(union_count)             \
  X(template_count)          \
  X(friend_count)            \
  X(namespace_count)         \
  X(package_count)           \
  X(virtual_count)           \
  X(inline_count)            \
  X(alloc_count)             \
  X(free_count)              \
  X(new_count)               \
  X(delete_count)            \
  X(using_count)             \
  X(for_headers)

struct FileCounters {
#define VEK_DECLARE_COUNTER(name) int name = 0;
  VEK_FILE_COUNTERS(VEK_DECLARE_COUNTER)
#undef VEK_DECLARE_COUNTER

  void Add(const FileCounters& o) {
#define VEK_ADD_COUNTER(name) name += o.name;
    VEK_FILE_COUNTERS(VEK_ADD_COUNTER)
#undef VEK_ADD_COUNTER
  }

  // Derived metrics, computed where they are used.
  int eloc() const { return loc - noneff_brace_lines - noneff_paren_lines; }
  // A for header's two ';' make one statement; a range or enhanced for
  // holds none and takes nothing back, so lLOC never goes below 0.
  int lloc() const { return semicolon_count - for_headers; }
};

// The project totals: the same counters summed over every file.  A large
// tree passes the range of int (characters of a few gigabytes of source),
// so the sums are kept wide; the file fields that the reports print from
// receive them capped at INT_MAX rather than wrapped.
struct ProjectCounters {
#define VEK_DECLARE_WIDE_COUNTER(name) long long name = 0;
  VEK_FILE_COUNTERS(VEK_DECLARE_WIDE_COUNTER)
#undef VEK_DECLARE_WIDE_COUNTER

  void Add(const FileCounters& o) {
#define VEK_ADD_WIDE_COUNTER(name) name += o.name;
    VEK_FILE_COUNTERS(VEK_ADD_WIDE_COUNTER)
#undef VEK_ADD_WIDE_COUNTER
  }

  // A file's counters, widened.
  static ProjectCounters Of(const FileCounters& o) {
    ProjectCounters w;
    w.Add(o);
    return w;
  }

  FileCounters Capped() const {
    FileCounters c;
#define VEK_CAP_COUNTER(name) \
  c.name = static_cast<int>(name > INT_MAX   ? INT_MAX \
                            : name < INT_MIN ? INT_MIN \
                                             : name);
    VEK_FILE_COUNTERS(VEK_CAP_COUNTER)
#undef VEK_CAP_COUNTER
    return c;
  }

  long long eloc() const {
    return loc - noneff_brace_lines - noneff_paren_lines;
  }
  long long lloc() const { return semicolon_count - for_headers; }
};

}  // namespace vek

#endif  // VEK_ANALYSIS_COUNTERS_H_
