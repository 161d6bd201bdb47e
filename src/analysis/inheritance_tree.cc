#include "analysis/inheritance_tree.h"

#include <algorithm>
#include <new>
#include <optional>
#include <string_view>
#include <unordered_set>
#include <utility>

#include "analysis/notice_points.h"
#include "common/text.h"
#include "common/type_record.h"
#include "config/languages.h"
#include "driver/state.h"
#include "reports/file_reports.h"
#include "reports/metrics_blocks.h"
#include "reports/output.h"

namespace vek {

namespace {

using Forest = std::vector<std::unique_ptr<TreeNode>>;

bool BlankOrControl(char c) {
  unsigned char u = static_cast<unsigned char>(c);
  return u <= ' ' || u == 127;
}

// The index kept for a forest of the run's tree; null for any other
// forest, which is then searched by walking it.  A forest emptied behind
// the index's back drops the stale index.
TreeIndex* IndexOf(const Forest& forest, G& g) {
  TreeIndex* index = nullptr;
  if (&forest == &g.tree.roots) index = &g.tree.root_index;
  if (&forest == &g.tree.lost) index = &g.tree.lost_index;
  if (index != nullptr && forest.empty()) index->clear();
  return index;
}

// Visits every node of `forest` depth-first, each node before its
// children, siblings in order, without recursion.  Stops at the first
// node for which `visit` returns true and returns it.
template <class F>
TreeNode* Walk(const Forest& forest, F&& visit) {
  std::vector<std::pair<const Forest*, size_t>> stack;
  stack.emplace_back(&forest, 0);
  while (!stack.empty()) {
    const Forest* level = stack.back().first;
    size_t i = stack.back().second;
    if (i >= level->size()) {
      stack.pop_back();
      continue;
    }
    ++stack.back().second;
    TreeNode* node = (*level)[i].get();
    if (visit(*node)) return node;
    if (!node->children.empty()) stack.emplace_back(&node->children, 0);
  }
  return nullptr;
}

// The first node of that name in walk order, or null.
TreeNode* FindNode(const Forest& forest, std::string_view name, G& g) {
  if (TreeIndex* index = IndexOf(forest, g)) {
    auto it = index->find(FoldName(name));
    if (it == index->end() || it->second.empty()) return nullptr;
    if (it->second.size() == 1) return it->second.front();
    // Several places: the walk decides which comes first.
  }
  return Walk(forest, [&](const TreeNode& n) { return CaseEqual(n.name, name); });
}

// Links `node` into `level` by name, then by parent name, in front of
// equal ones, and indexes it.  Null (the node freed) when memory ran out.
TreeNode* Link(Forest& level, std::unique_ptr<TreeNode> node,
               TreeIndex* index) {
  auto place = std::lower_bound(
      level.begin(), level.end(), node.get(),
      [](const std::unique_ptr<TreeNode>& a, const TreeNode* b) {
        int c = CaseCompare(a->name, b->name);
        if (c != 0) return c < 0;
        return CaseCompare(a->parent, b->parent) < 0;
      });
  TreeNode* raw = node.get();
  std::vector<TreeNode*>* slot = nullptr;
  try {
    if (index != nullptr) {
      slot = &(*index)[FoldName(raw->name)];
      slot->push_back(raw);
    }
    level.insert(place, std::move(node));
  } catch (const std::bad_alloc&) {
    if (slot != nullptr && !slot->empty() && slot->back() == raw)
      slot->pop_back();
    return nullptr;
  }
  return raw;
}

std::unique_ptr<TreeNode> NewNode(std::string_view name, std::string_view base,
                                  std::string_view file, int line, int depth,
                                  int parent_count) {
  try {
    auto node = std::make_unique<TreeNode>();
    node->name = Bounded(name, kLineSize);
    node->parent = Bounded(base, kLineSize);
    node->file = Bounded(file, kPathSize);
    node->line = line;
    node->depth = depth;
    node->parent_count = parent_count;
    return node;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

// A lost node named like the base of `added` is given a copy of it, so the
// lost class also knows the child that found its base elsewhere.
void CopyIntoLost(Forest& lost, const TreeNode& added, std::string_view base,
                  G& g) {
  std::vector<TreeNode*> holders;
  if (TreeIndex* index = IndexOf(lost, g)) {
    auto it = index->find(FoldName(base));
    if (it != index->end()) holders = it->second;  // Link may grow it
  } else {
    Walk(lost, [&](TreeNode& n) {
      if (CaseEqual(n.name, base)) holders.push_back(&n);
      return false;
    });
  }
  for (TreeNode* holder : holders) {
    bool known = std::any_of(
        holder->children.begin(), holder->children.end(),
        [&](const std::unique_ptr<TreeNode>& c) {
          return CaseEqual(c->name, added.name);
        });
    if (known) continue;
    auto copy = NewNode(added.name, added.parent, added.file, added.line,
                        added.depth, added.parent_count);
    if (copy) Link(holder->children, std::move(copy), IndexOf(lost, g));
  }
}

// The spelling under which a qualified name is known: a class record's or
// a tree node's.
std::optional<std::string> KnownName(const std::string& name, G& g) {
  if (const TypeRecord* r = g.classes.Find(name)) return r->name;
  if (const TreeNode* n = FindNode(g.tree.roots, name, g)) return n->name;
  if (const TreeNode* n = FindNode(g.tree.lost, name, g)) return n->name;
  return std::nullopt;
}

// A base written without qualifier is looked for in the derived class's
// own scope first, then at global scope.
std::string ResolveBase(std::string_view name, std::string_view base, G& g) {
  if (base.find_first_of(":.") != std::string_view::npos)
    return std::string(base);
  size_t cut = name.rfind(':');
  if (cut == std::string_view::npos) cut = name.rfind('.');
  if (cut != std::string_view::npos) {
    std::string qualified(name.substr(0, cut + 1));
    qualified += base;
    if (auto found = KnownName(qualified, g)) return *found;
  }
  if (auto found = KnownName("::" + std::string(base), g)) return *found;
  return std::string(base);
}

// Calls `each` with every base name of a base list: the list split at
// commas outside <...>, each piece without surrounding blanks.
template <class F>
void EachBase(std::string_view bases, F&& each) {
  size_t start = 0;
  for (size_t i = 0; i <= bases.size(); ++i) {
    if (i < bases.size() && bases[i] == '<') {
      size_t close = bases.find('>', i + 1);
      i = close == std::string_view::npos ? bases.size() - 1 : close;
      continue;
    }
    if (i < bases.size() && bases[i] != ',') continue;
    std::string_view piece =
        TrimRight(TrimLeft(bases.substr(start, i - start)), kBlankTab);
    if (!piece.empty()) each(piece);
    start = i + 1;
  }
}

// --- Report -----------------------------------------------------------------

void Title(G& g, ReportFormat f) {
  switch (f) {
    case kFormatText:
    case kFormatHtml:
      Out(g, "\n  %s%s\n\n", kHyphens36, kHyphens36);
      ReportTitle(g, "~~ Class Inheritance Tree ~~");
      break;
    case kFormatCsv:
      Out(g, "\nClass Inheritance Tree\n");
      break;
    case kFormatXml:
      Out(g, "<report>\n<name>Class Inheritance Tree</name>\n");
      break;
  }
}

void Legend(G& g, ReportFormat f) {
  switch (f) {
    case kFormatText:
    case kFormatHtml:
      Out(g,
          "\n  D - Depth where base class depth = 0\n"
          "  C - Number of direct child classes\n"
          "  P - Number of direct parents, Multiple Inheritance > 1\n");
      break;
    case kFormatCsv:
      Out(g,
          "\nD - Depth where base class depth = 0\n"
          "C - Number of direct child classes\n"
          "P - Number of direct parents, Multiple Inheritance > 1\n");
      break;
    case kFormatXml:
      Out(g,
          "<legend>\n<depth>Depth where base class = 0</depth>\n"
          "<children>Number of direct child classes</children>\n"
          "<parents>Number of direct parents, Multiple inheritance &gt; "
          "1</parents>\n</legend>\n");
      break;
  }
}

void NodeLine(G& g, ReportFormat f, const TreeNode& n) {
  const Config& cfg = g.cfg;
  const int children = static_cast<int>(n.children.size());
  const bool root = n.depth == 0;
  const int indent = f == kFormatCsv ? n.depth : n.depth * 2;
  switch (f) {
    case kFormatText:
      if (root) {
        Out(g, "\n  + %s [D%d.C%d]\n", n.name.c_str(), n.depth, children);
      } else {
        Out(g, "  %*s- %s [D%d.C%d.P%d]\n", indent, "", n.name.c_str(),
            n.depth, children, n.parent_count);
      }
      break;
    case kFormatCsv:
      if (root) {
        Out(g, "\n'+ %s,[D%d.C%d]\n", CsvEscape(n.name).c_str(), n.depth,
            children);
      } else {
        for (int i = 0; i < indent; ++i) Out(g, ",");
        Out(g, "- %s,[D%d.C%d.P%d]\n", CsvEscape(n.name).c_str(), n.depth,
            children, n.parent_count);
      }
      break;
    case kFormatHtml:
      if (root) {
        Out(g,
            "\n  <b>+ <font color=\"%s\">%s</font></b>"
            " [<span><font color=\"%s\">D%d</font></span>"
            ".<span><font color=\"%s\">C%d</font></span>]<br />",
            cfg.color_inheritance.c_str(), HtmlEscape(n.name).c_str(),
            cfg.color_inheritance_depth.c_str(), n.depth,
            cfg.color_inheritance_child.c_str(), children);
      } else {
        Out(g,
            "  %*s<b>-</b> %s [<font color=\"%s\">D%d</font>"
            ".<font color=\"%s\">C%d</font>.P%d]<br />",
            indent, "", HtmlEscape(n.name).c_str(),
            cfg.color_inheritance_depth.c_str(), n.depth,
            cfg.color_inheritance_child.c_str(), children, n.parent_count);
      }
      break;
    case kFormatXml:
      Out(g, "<class>\n<name>%s</name>\n<depth>%d</depth>\n"
             "<children>%d</children>\n",
          XmlEscape(n.name).c_str(), n.depth, children);
      if (!root) Out(g, "<parent>%d</parent>\n", n.parent_count);
      Out(g, "</class>\n");
      break;
  }
}

void RaiseNodeNotices(G& g, const TreeNode& n) {
  NoticeArgs args;
  args.file = n.file;
  if (n.depth > g.cfg.max_inheritance_depth) {
    args.v[0] = g.cfg.max_inheritance_depth;
    raise_notice(g, 40, n.line, args);
  }
  if (static_cast<long long>(n.children.size()) > g.cfg.max_child_classes) {
    args.v[0] = g.cfg.max_child_classes;
    raise_notice(g, 41, n.line, args);
  }
}

bool Printable(const TreeNode& n) {
  return !n.name.empty() && n.name[0] != ' ';
}

// Class, base and derived counts by distinct names over the forest.
void CountClasses(InheritanceTree& t) {
  std::unordered_set<std::string> all, derived;
  Walk(t.roots, [&](const TreeNode& n) {
    if (!Printable(n)) return false;
    std::string key = FoldName(n.name);
    if (n.depth > 0) derived.insert(key);
    all.insert(std::move(key));
    return false;
  });
  t.classes = static_cast<int>(all.size());
  t.derived = static_cast<int>(derived.size());
  t.bases = t.classes - t.derived;
}

int Capped(long long v) {
  return v > 0x7fffffff ? 0x7fffffff : static_cast<int>(v);
}

void Statistics(G& g, ReportFormat f, const InheritanceTree& t) {
  const double ratio = SafeRatio(t.derived, t.bases);
  const double avg_depth = SafeRatio(Capped(t.depth_sum), t.classes);
  const double avg_children = SafeRatio(Capped(t.child_sum), t.classes);
  switch (f) {
    case kFormatText:
      Out(g, "\n  Total Classes        : %d\n", t.classes);
      Out(g, "  Total Base Classes   : %d\n", t.bases);
      Out(g, "  Total Derived Classes: %d\n", t.derived);
      Out(g, "  Derived/Based Ratio  : %-6.2f\n", ratio);
      Out(g, "\n  Maximum Depth of Inheritance: %d\n", t.depth_max);
      Out(g, "  Average Depth of Inheritance: %-6.2f\n", avg_depth);
      Out(g, "  Maximum Number of Direct Child Classes: %d\n", t.child_max);
      Out(g, "  Average Number of Direct Child Classes: %-6.2f\n",
          avg_children);
      break;
    case kFormatCsv:
      Out(g, "Total Classes,%d\n", t.classes);
      Out(g, "Total Base Classes,%d\n", t.bases);
      Out(g, "Total Derived Classes,%d\n", t.derived);
      Out(g, "Derived/Based Ratio,%-6.2f\n", ratio);
      Out(g, "Maximum Depth of Inheritance,%d\n", t.depth_max);
      Out(g, "Average Depth of Inheritance,%-6.2f\n", avg_depth);
      Out(g, "Maximum Number of Direct Child Classes,%d\n", t.child_max);
      Out(g, "Average Number of Direct Child Classes,%-6.2f\n", avg_children);
      break;
    case kFormatHtml:
      Out(g, "  <b>Total Classes        :</b> %d\n", t.classes);
      Out(g, "  <b>Total Base Classes   :</b> %d\n", t.bases);
      Out(g, "  <b>Total Derived Classes:</b> %d\n", t.derived);
      Out(g, "  <b>Derived/Based Ratio  :</b> %-6.2f\n", ratio);
      Out(g, "  <b>Maximum Depth of Inheritance:</b> %d\n", t.depth_max);
      Out(g, "  <b>Average Depth of Inheritance:</b> %-6.2f\n", avg_depth);
      Out(g, "  <b>Maximum Number of Direct Child Classes:</b> %d\n",
          t.child_max);
      Out(g, "  <b>Average Number of Direct Child Classes:</b> %-6.2f\n",
          avg_children);
      break;
    case kFormatXml:
      Out(g, "<totals>\n<classes>%d</classes>\n", t.classes);
      Out(g, "<base_classes>%d</base_classes>\n", t.bases);
      Out(g, "<derived_classes>%d</derived_classes>\n", t.derived);
      Out(g, "<derived_to_base_ratio>%.2f</derived_to_base_ratio>\n", ratio);
      Out(g, "<max_depth_inheritance_tree>%d</max_depth_inheritance_tree>\n",
          t.depth_max);
      Out(g, "<avg_depth_inheritance_tree>%.2f</avg_depth_inheritance_tree>\n",
          avg_depth);
      Out(g, "<max_number_direct_children>%d</max_number_direct_children>\n",
          t.child_max);
      Out(g,
          "<avg_number_direct_children>%.2f</avg_number_direct_children>\n"
          "</totals>\n",
          avg_children);
      break;
  }
}

void LostForest(G& g, ReportFormat f, const Forest& lost) {
  if (lost.empty()) return;
  switch (f) {
    case kFormatText:
    case kFormatHtml:
      Out(g, "\n  %s%s\n\n", kHyphens36, kHyphens36);
      ReportTitle(g, "~~ Parents Not Found - Inheritance Tree ~~");
      break;
    case kFormatCsv:
      Out(g, "Parents Not Found - Inheritance Tree\n");
      break;
    case kFormatXml:
      Out(g, "<parents_not_found_tree>\n");
      break;
  }
  for (const auto& n : lost) {
    switch (f) {
      case kFormatText:
        Out(g, "  Lost Child Node: %s  Parent: %s\n", n->name.c_str(),
            n->parent.c_str());
        break;
      case kFormatCsv:
        Out(g, "Lost Child Node,%s,parent,%s\n", CsvEscape(n->name).c_str(),
            CsvEscape(n->parent).c_str());
        break;
      case kFormatHtml:
        Out(g, "  <b>Lost Child Node</b>: %s  Parent: %s\n",
            HtmlEscape(n->name).c_str(), HtmlEscape(n->parent).c_str());
        break;
      case kFormatXml:
        Out(g,
            "<lost_child_node>\n<name>%s</name>\n<parent>%s</parent>\n"
            "</lost_child_node>\n",
            XmlEscape(n->name).c_str(), XmlEscape(n->parent).c_str());
        break;
    }
  }
  if (f == kFormatXml) Out(g, "</parents_not_found_tree>\n");
}

}  // namespace

TreeNode::~TreeNode() {
  std::vector<std::unique_ptr<TreeNode>> pending = std::move(children);
  while (!pending.empty()) {
    std::unique_ptr<TreeNode> node = std::move(pending.back());
    pending.pop_back();
    for (auto& child : node->children) pending.push_back(std::move(child));
    node->children.clear();
  }
}

void InheritanceTree::Clear() {
  roots.clear();
  lost.clear();
  root_index.clear();
  lost_index.clear();
  built = 0;
  classes = bases = derived = 0;
  depth_sum = child_sum = 0;
  depth_max = child_max = 0;
}

bool AddTreeNode(std::vector<std::unique_ptr<TreeNode>>& forest,
                 const std::string& name, const std::string& base,
                 const std::string& file, int line, int parent_count,
                 std::vector<std::unique_ptr<TreeNode>>& lost, G& g) {
  if (!base.empty()) {
    if (TreeNode* up = FindNode(forest, base, g)) {
      auto node = NewNode(name, base, file, line, up->depth + 1, parent_count);
      if (!node) return false;
      TreeNode* added = Link(up->children, std::move(node), IndexOf(forest, g));
      if (added == nullptr) return false;
      CopyIntoLost(lost, *added, base, g);
      return true;
    }
    if (FindNode(lost, name, g) != nullptr) return false;
    auto node = NewNode(name, base, file, line, 0, parent_count);
    return node && Link(lost, std::move(node), IndexOf(lost, g)) != nullptr;
  }
  if (name.empty() || name.back() == ':' || name.back() == '.') return false;
  if (FindNode(forest, name, g) != nullptr) return false;
  auto node = NewNode(name, "", file, line, 0, parent_count);
  return node && Link(forest, std::move(node), IndexOf(forest, g)) != nullptr;
}

bool AddChildEdge(const std::string& name, const std::string& base,
                  const std::string& file, int line, int parent_count, G& g) {
  return AddTreeNode(g.tree.roots, name, ResolveBase(name, base, g), file,
                     line, parent_count, g.tree.lost, g);
}

namespace {

bool Usable(const TypeRecord& r) {
  return !r.name.empty() && !BlankOrControl(r.name[0]);
}

bool HasBases(const TypeRecord& r) {
  return !r.bases.empty() && !BlankOrControl(r.bases[0]);
}

// The class records ordered so that every class comes after the classes
// it derives from, as far as they are in the list: the tree then does not
// depend on the order in which the files were read.  Records keep their
// list order otherwise; a cycle of bases is cut where the walk meets it.
// Iterative, so a long chain of classes cannot exhaust the stack.
std::vector<const TypeRecord*> BasesFirst(G& g) {
  std::vector<const TypeRecord*> records;
  for (const auto& record : g.classes.items())
    if (Usable(*record)) records.push_back(record.get());
  std::unordered_map<std::string, std::vector<size_t>> by_name;
  for (size_t k = 0; k < records.size(); ++k)
    by_name[FoldName(records[k]->name)].push_back(k);
  std::vector<std::vector<size_t>> bases(records.size());
  for (size_t k = 0; k < records.size(); ++k) {
    if (!HasBases(*records[k])) continue;
    EachBase(records[k]->bases, [&](std::string_view base) {
      std::string resolved =
          ResolveBase(records[k]->name, std::string(base), g);
      auto it = by_name.find(FoldName(resolved));
      if (it == by_name.end()) return;
      for (size_t b : it->second)
        if (b != k) bases[k].push_back(b);
    });
  }
  enum : unsigned char { kNew, kOpen, kDone };
  std::vector<unsigned char> state(records.size(), kNew);
  std::vector<const TypeRecord*> order;
  order.reserve(records.size());
  std::vector<std::pair<size_t, size_t>> stack;  // record, next base
  for (size_t start = 0; start < records.size(); ++start) {
    if (state[start] != kNew) continue;
    state[start] = kOpen;
    stack.emplace_back(start, 0);
    while (!stack.empty()) {
      const size_t k = stack.back().first;
      const size_t next = stack.back().second;
      if (next < bases[k].size()) {
        ++stack.back().second;
        const size_t b = bases[k][next];
        if (state[b] == kNew) {
          state[b] = kOpen;
          stack.emplace_back(b, 0);
        }
        continue;
      }
      state[k] = kDone;
      order.push_back(records[k]);
      stack.pop_back();
    }
  }
  return order;
}

}  // namespace

void BuildInheritanceTree(G& g) {
  if (g.tree.built) return;
  g.tree.built = 1;
  const FileTyping saved = g.typing;
  for (const TypeRecord* record : BasesFirst(g)) {
    const TypeRecord& r = *record;
    // Name separators follow the language of the defining file.
    type_file(r.file, g, 0);
    if (!HasBases(r)) {
      if (FindNode(g.tree.roots, r.name, g) != nullptr) {
        Out(g, "  Error: Duplicate Root Node: %s - Inheritance %s\n",
            EscapeFor(g, r.name).c_str(), EscapeFor(g, r.bases).c_str());
        continue;
      }
      AddTreeNode(g.tree.roots, r.name, "", r.file, r.line, r.base_count,
                  g.tree.lost, g);
      continue;
    }
    EachBase(r.bases, [&](std::string_view base) {
      AddChildEdge(r.name, std::string(base), r.file, r.line, r.base_count, g);
    });
  }
  g.typing = saved;
}

void PrintInheritanceTree(G& g) {
  InheritanceTree& t = g.tree;
  if (g.classes.empty() || t.roots.empty()) return;
  const ReportFormat f = FormatOf(g);
  // -Tp keeps the tree lines and statistics out; the notices still count.
  const bool lines = !g.opt.totals_profile;
  Title(g, f);
  Legend(g, f);
  if (f == kFormatXml) Out(g, "<inheritance_tree>\n");

  t.depth_sum = t.child_sum = 0;
  t.depth_max = t.child_max = 0;
  Walk(t.roots, [&](const TreeNode& n) {
    if (Printable(n)) {
      const int children = static_cast<int>(n.children.size());
      t.depth_sum += n.depth;
      t.depth_max = std::max(t.depth_max, n.depth);
      if (children > 0) {
        t.child_sum += children;
        t.child_max = std::max(t.child_max, children);
      }
      if (lines) NodeLine(g, f, n);
      RaiseNodeNotices(g, n);
    }
    return false;
  });

  if (f == kFormatXml) Out(g, "</inheritance_tree>\n");
  CountClasses(t);
  if (lines) Statistics(g, f, t);
  LostForest(g, f, t.lost);
  if (f == kFormatXml) Out(g, "</report>\n");
}

}  // namespace vek
