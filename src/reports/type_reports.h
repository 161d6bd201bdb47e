// The project lists of types: every class and struct, every interface and
// every namespace or package found in the run, each entry with its
// attribute, method, complexity and size blocks, followed by the sums over
// the parent types and over all types and by their totals, averages,
// maxima and minima.
#ifndef VEK_REPORTS_TYPE_REPORTS_H_
#define VEK_REPORTS_TYPE_REPORTS_H_

#include <string_view>

namespace vek {

struct G;
struct TypeRecord;
class TypeList;

// Re-orders a type list by a -k key (1 name without regard to case, 2 LOC,
// 3 eLOC, 4 lLOC, 5 cyclomatic complexity of the methods, 6 work state)
// in the direction of -kd.  Of records with equal keys the later one goes
// first, as a sorted insert would have placed them.  Nothing for key 0.
void SortTypeList(TypeList& list, int key, bool descending);

// The namespace a type belongs to: its name cut back one qualifier at a
// time ("::" counts as one) until the rest names a namespace record.
// The interface prefix is not part of the name.  Null when none matches.
TypeRecord* NamespaceOf(TypeList& namespaces, std::string_view type_name);

// "~~ Project Class/Struct Metrics ~~" and its analysis.  While the totals
// are computed each class is credited to its namespace record, so the
// namespace report must come after it.  Nothing when there are no classes.
void ClassReport(G& g);

// "~~ Project Interface Metrics ~~" and its analysis; credits namespaces
// like ClassReport.  Nothing when there are no interfaces.
void InterfaceReport(G& g);

// "~~ Project Namespace/Package Metrics ~~": the namespaces with the
// types and methods credited to them, and their analysis.
void NamespaceReport(G& g);

}  // namespace vek

#endif  // VEK_REPORTS_TYPE_REPORTS_H_
