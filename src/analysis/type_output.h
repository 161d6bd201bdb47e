// The report lines of type and namespace identification: the begin and end
// lines of classes, structs and interfaces with their blocks, the class
// entry, the inheritance line, the namespace and package lines, and the
// -fm method and data member listings.
#ifndef VEK_ANALYSIS_TYPE_OUTPUT_H_
#define VEK_ANALYSIS_TYPE_OUTPUT_H_

#include <string_view>

namespace vek {

struct G;

// A closing type's own size.
struct TypeSizes {
  int loc = 0, eloc = 0, lloc = 0, comments = 0, blanks = 0, lines = 0;
};

// Per-type detail is kept out of totals-only, work file and XML runs.
bool type_detail_suppressed(const G& g);

// At the type body's '{' (the current type of g.ts).
void class_begin_output(G& g, int line_number);
// At its '}': the end lines and blocks, and the sums added to its record.
void class_end_output(G& g, int line_number, const TypeSizes& z);

// The begin (at the keyword) or end (at the closing brace or the end of a
// Java file) line of the current namespace or package.
void namespace_output(G& g, bool begin, int line_number);

// A method (with its parameters) or a data member statement under -fm.
void member_line(G& g, bool method, const char* access, int line_number,
                 std::string_view text, std::string_view params);

}  // namespace vek

#endif  // VEK_ANALYSIS_TYPE_OUTPUT_H_
