// Type and namespace identification: the heads and bodies of classes,
// structs and interfaces, namespaces and packages; the stacks of enclosing
// types and namespaces; the counting of methods and data members by access
// level; and the crediting of each method's metrics to its types.
#ifndef VEK_ANALYSIS_TYPES_H_
#define VEK_ANALYSIS_TYPES_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace vek {

struct G;
struct FunctionMeasure;
struct TypeRecord;

// Class metrics are on: -o, -i, -fm or a totals report.
bool class_metrics_on(const G& g);

// --- Names ---------------------------------------------------------------

// The type name that begins `head` (the text after the type keyword),
// qualified by the open namespace and the enclosing types; known macros
// (export macros) and attributes in front of it are passed over.  Empty
// when the head holds no name yet.
std::string GetClassname(std::string_view head, G& g);

// Removes inheritance clauses, access keywords and punctuation from a type
// name or base list.
std::string CleanClassName(std::string_view text, const G& g);

// --- Stacks --------------------------------------------------------------

void PushClass(G& g);
void PopClass(G& g);
void PushNamespace(G& g);
void PopNamespace(G& g);

// --- Scan hooks ----------------------------------------------------------

// A class (kind 0), struct (1), interface (2) or union (3) keyword, or a
// Java or C# record (a class), outside function bodies; `end` is the
// index after the keyword.
void type_keyword(G& g, int kind, const char* line, size_t end, size_t len,
                  int line_number);

// A namespace (C++, C#) or package (Java) keyword.  `declaration` is set
// when the statement ends before any '{' (a package, "namespace X;").
void namespace_keyword(G& g, const char* line, size_t end, size_t len,
                       int line_number, bool declaration);

// Every line, before its characters are dispatched: continues a type head
// and gathers the statement text of a type body.
void types_line_start(const char* text, size_t len, G& g);

// The '{' of a pending type or namespace head.  Returns true for a type
// body, false for a namespace body.
bool type_body_opens(const char* line, size_t len, int line_number, G& g);

// The '}' of a type body or namespace body.
void type_body_closes(int line_number, G& g);
void namespace_body_closes(int line_number, G& g);

// A ';' at `i` in a type body outside methods: a method declaration or a
// data member statement.
void type_statement_end(const char* line, size_t i, int line_number, G& g);

// True when the '(' at `i` belongs to a type or namespace head (the
// arguments of a macro or attribute, template arguments, the base list, the
// parameters of a record or primary constructor), or sits inside the
// template arguments of a member's type.
bool type_paren_is_argument(const char* line, size_t i, const G& g);

// A '{' or '}' at `i` that is no initializer: the next statement of the
// type body starts after it.  After a '}' that closes a member, a Java or
// C# body returns to its default access.
void type_statement_restart(size_t i, G& g, bool closing);

// A method body opens inside a type body: counts it by access level.
void CountMethod(int line_number, G& g);

// A function body closed: hands its metrics to its types.
void type_function_closed(const FunctionMeasure& m, G& g);

// Adds one method's metrics to the type its name names and to each
// enclosing type.
void Add_Func2Class(std::string_view function_name, int loc, int eloc,
                    int lloc, int comments, int blanks, int lines,
                    int cyclomatic, int params, int returns, G& g);

// Adds the closing type's size and access counts to its record.
void AddClassMetrics(int loc, int eloc, int lloc, int comments, int blanks,
                     int lines, G& g);

// The statement's data members, by the access level in force.
void CountData(std::string_view statement, int line_number, G& g);

// End of a file: closes a Java package (and classes left open) and clears
// the type state.
void types_file_end(int line_number, G& g);

// A 'virtual' keyword inside a type body.
void type_virtual(const char* line, size_t end, size_t len, G& g);

}  // namespace vek

#endif  // VEK_ANALYSIS_TYPES_H_
