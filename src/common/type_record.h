// The records of classes, structs, interfaces, namespaces and packages, and
// the project-wide lists that hold them.  A list keeps its records in
// insertion order (a -k key may re-sort it for a report) and an index by
// the case-folded name, so a look-up never walks the list.
#ifndef VEK_COMMON_TYPE_RECORD_H_
#define VEK_COMMON_TYPE_RECORD_H_

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/list.h"

namespace vek {

// Interface names carry this prefix everywhere inside the program; an
// output that shows an interface prints the part after the first '-'.
inline constexpr std::string_view kInterfacePrefix = "Interface-";

// A type's own size, summed over its openings.
struct SizeSums {
  long long loc = 0, eloc = 0, lloc = 0, comments = 0, blanks = 0, lines = 0;
  SizeSums& operator+=(const SizeSums& o) {
    loc += o.loc;
    eloc += o.eloc;
    lloc += o.lloc;
    comments += o.comments;
    blanks += o.blanks;
    lines += o.lines;
    return *this;
  }
};

// The sums over a type's methods, added as each method body closes.
struct MethodSums {
  double count = 0.0;  // methods, 1.0 per method
  long long params = 0, returns = 0, cyclomatic = 0;
  SizeSums size;       // the methods' size counts
  MethodSums& operator+=(const MethodSums& o) {
    count += o.count;
    params += o.params;
    returns += o.returns;
    cyclomatic += o.cyclomatic;
    size += o.size;
    return *this;
  }
};

// Public, protected and private counts of methods or data members.
struct AccessCounts {
  long long pub = 0, prot = 0, priv = 0;
  long long Total() const { return pub + prot + priv; }
  AccessCounts& operator+=(const AccessCounts& o) {
    pub += o.pub;
    prot += o.prot;
    priv += o.priv;
    return *this;
  }
};

struct TypeRecord {
  std::string name;   // qualified name; interfaces carry kInterfacePrefix
  std::string bases;  // the cleaned base list, empty when none
  std::string templ;  // the template prefix, empty when none
  std::string file;   // where the record was created
  int line = 0;       // the line of the first opening
  int nesting = 0;    // class_index at creation; 1 once closed while nested
  int base_count = 1; // 1 + the commas of the base list outside <...>
  int struct_flag = 0;
  int interface_flag = 0;
  MethodSums methods;
  SizeSums size;
  AccessCounts method_counts;
  AccessCounts data_counts;
  int type_count = 0;  // namespaces: the types credited to them
  int work_state = 0;  // for the work-file comparison
};

// The number of bases of a base list: 1 plus its commas outside <...>.
int BaseCount(std::string_view bases);

// Case-folded copy of a name, the key of every type look-up.
std::string FoldName(std::string_view name);

class TypeList {
 public:
  // The record whose whole name equals `name` without regard to case.
  TypeRecord* Find(std::string_view name) const;
  // Appends a record and indexes it; nullptr when memory ran out.
  TypeRecord* Add(std::unique_ptr<TypeRecord> record);
  // The same record list, for reports (which may re-sort it).
  List<TypeRecord>& items() { return items_; }
  const List<TypeRecord>& items() const { return items_; }
  size_t count() const { return items_.count(); }
  bool empty() const { return items_.empty(); }
  void clear() {
    items_.list_free();
    index_.clear();
    indexed_ = 0;
  }

 private:
  // The slot of the record named `name` (case aside), or the empty slot
  // where it would go.
  size_t Slot(std::string_view name) const;
  void Grow();

  List<TypeRecord> items_;
  // Open addressing over the records, by their case-folded names; a large
  // tree records hundreds of thousands of types, so the index keeps no
  // copy of the names.  Empty slots are null; the size is a power of two.
  std::vector<TypeRecord*> index_;
  size_t indexed_ = 0;
};

}  // namespace vek

#endif  // VEK_COMMON_TYPE_RECORD_H_
