#include "common/name_set.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <unordered_set>
#include <vector>

namespace vek {
namespace {

TEST(NameSet, KeepsEachNameOnceInFirstInsertionOrder) {
  NameSet set;
  EXPECT_FALSE(set.contains("MAX"));
  EXPECT_TRUE(set.insert("MAX"));
  EXPECT_TRUE(set.insert("SQ"));
  EXPECT_FALSE(set.insert("MAX"));
  EXPECT_TRUE(set.insert(""));  // an empty name is a name like any other
  EXPECT_FALSE(set.insert(""));
  EXPECT_EQ(3u, set.size());
  EXPECT_TRUE(set.contains("SQ"));
  EXPECT_TRUE(set.contains(""));
  EXPECT_FALSE(set.contains("S"));
  EXPECT_FALSE(set.contains("SQR"));
  EXPECT_EQ((std::vector<std::string>{"MAX", "SQ", ""}), set.names());
  set.clear();
  EXPECT_TRUE(set.empty());
  EXPECT_FALSE(set.contains("MAX"));
  EXPECT_TRUE(set.names().empty());
}

TEST(NameSet, NamesWithNulBytesAndLongerThanABlock) {
  NameSet set;
  const std::string with_nul("ab\0cd", 5);
  const std::string huge(3 << 20, 'x');  // three times a block
  EXPECT_TRUE(set.insert(with_nul));
  EXPECT_TRUE(set.contains(with_nul));
  EXPECT_FALSE(set.contains("ab"));
  EXPECT_TRUE(set.insert(huge));
  EXPECT_TRUE(set.insert("after"));
  EXPECT_TRUE(set.contains(huge));
  EXPECT_FALSE(set.contains(huge.substr(1)));
  std::vector<std::string> names = set.names();
  ASSERT_EQ(3u, names.size());
  EXPECT_EQ(with_nul, names[0]);
  EXPECT_EQ(huge, names[1]);
  EXPECT_EQ("after", names[2]);
}

// Against a plain set, through several table growths and block changes.
TEST(NameSet, AgreesWithAPlainSet) {
  std::mt19937 rng(7);
  NameSet set;
  std::unordered_set<std::string> model;
  std::vector<std::string> order;
  for (int i = 0; i < 200000; ++i) {
    std::string name = "REG_" + std::to_string(rng() % 150000);
    if (rng() % 3 == 0) name.append(rng() % 40, 'q');
    const bool added = model.insert(name).second;
    if (added) order.push_back(name);
    ASSERT_EQ(added, set.insert(name)) << name;
    const std::string probe = "REG_" + std::to_string(rng() % 300000);
    ASSERT_EQ(model.count(probe) != 0, set.contains(probe)) << probe;
  }
  EXPECT_EQ(model.size(), set.size());
  EXPECT_EQ(order, set.names());
  // Well under the hundreds of bytes a name of a node-based set costs.
  EXPECT_LT(set.memory() / set.size(), 120u);
}

}  // namespace
}  // namespace vek
