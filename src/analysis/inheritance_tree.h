// The class inheritance forest built from the class list after the file
// loop: every class without a base is a root, every class with bases hangs
// under each of them; classes whose base was never seen wait in the lost
// forest.  Printed as the inheritance tree report with its statistics.
#ifndef VEK_ANALYSIS_INHERITANCE_TREE_H_
#define VEK_ANALYSIS_INHERITANCE_TREE_H_

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace vek {

struct G;

struct TreeNode {
  TreeNode() = default;
  TreeNode(const TreeNode&) = delete;
  TreeNode& operator=(const TreeNode&) = delete;
  // Frees the subtree without recursing, so a long chain of classes
  // cannot exhaust the stack.
  ~TreeNode();

  std::string name;    // the class's qualified name
  std::string parent;  // the base it hangs under; empty for a root
  std::string file;    // the defining file
  int depth = 0;       // 0 for a root
  int line = 0;
  int parent_count = 1;
  // Direct children ordered by name, then by parent name (case ignored).
  std::vector<std::unique_ptr<TreeNode>> children;
};

// Nodes by case-folded name, over every level of one forest.
using TreeIndex = std::unordered_map<std::string, std::vector<TreeNode*>>;

struct InheritanceTree {
  std::vector<std::unique_ptr<TreeNode>> roots;  // ordered by name
  std::vector<std::unique_ptr<TreeNode>> lost;   // ordered by name
  // Every node of each forest by name, kept by AddTreeNode so that a
  // look-up does not walk the forest.  Empty the forests with Clear().
  TreeIndex root_index;
  TreeIndex lost_index;
  int built = 0;
  // Statistics of the last walk.
  int classes = 0, bases = 0, derived = 0;
  long long depth_sum = 0, child_sum = 0;
  int depth_max = 0, child_max = 0;

  void Clear();
};

// Fills the two forests from the class list (once per run, after every
// file is read).  Each class is linked after the classes it derives from,
// so the tree does not depend on the order of the files.
void BuildInheritanceTree(G& g);
// Inserts one node under `base` (empty: a root); true when it was linked.
bool AddTreeNode(std::vector<std::unique_ptr<TreeNode>>& forest,
                 const std::string& name, const std::string& base,
                 const std::string& file, int line, int parent_count,
                 std::vector<std::unique_ptr<TreeNode>>& lost, G& g);
// Resolves `base` against the derived class's qualifier, then AddTreeNode.
bool AddChildEdge(const std::string& name, const std::string& base,
                  const std::string& file, int line, int parent_count, G& g);
// The inheritance tree report; raises notices 40 and 41 while it walks.
void PrintInheritanceTree(G& g);

}  // namespace vek

#endif  // VEK_ANALYSIS_INHERITANCE_TREE_H_
