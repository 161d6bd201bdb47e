#include "reports/sarif.h"

#include <gtest/gtest.h>

namespace vek {
namespace {

std::string Uri(std::string_view file, std::string_view root, bool* inside) {
  return sarif_uri(file, root, "/home/me/proj", inside);
}

TEST(SarifUri, RelativeNamesStartAtTheRoot) {
  bool inside = false;
  EXPECT_EQ("src/a.c", Uri("src/a.c", "/home/me/proj", &inside));
  EXPECT_TRUE(inside);
  EXPECT_EQ("src/a.c", Uri("./src/../src/./a.c", "/home/me/proj/", &inside));
  EXPECT_EQ("a.c", Uri("/home/me/proj/src/a.c", "/home/me/proj/src", &inside));
  EXPECT_TRUE(inside);
}

TEST(SarifUri, OutsideTheRootIsAbsolute) {
  bool inside = true;
  EXPECT_EQ("file:///home/me/other/b.c", Uri("../other/b.c", "/home/me/proj", &inside));
  EXPECT_FALSE(inside);
  // A sibling whose name starts like the root is not inside it.
  EXPECT_EQ("file:///home/me/proj2/b.c", Uri("/home/me/proj2/b.c", "/home/me/proj", &inside));
  EXPECT_FALSE(inside);
  // The root folder itself is no file inside it.
  EXPECT_EQ("file:///home/me/proj", Uri("/home/me/proj", "/home/me/proj", &inside));
  EXPECT_FALSE(inside);
}

TEST(SarifUri, PercentEncodesAllButUnreservedBytes) {
  bool inside = false;
  EXPECT_EQ("a%20b%25%23%5C%3F.c", Uri("a b%#\\?.c", "/home/me/proj", &inside));
  EXPECT_EQ("caf%C3%A9%FF.c", Uri("caf\xc3\xa9\xff.c", "/home/me/proj", &inside));
  EXPECT_EQ("x-y_z~1.c", Uri("x-y_z~1.c", "/home/me/proj", &inside));
}

TEST(SarifUri, RootSlashHoldsEverything) {
  bool inside = false;
  EXPECT_EQ("etc/x.c", Uri("/etc/x.c", "/", &inside));
  EXPECT_TRUE(inside);
}

CollectedNotice Notice(std::string file, int line, int number, std::string text) {
  CollectedNotice n;
  n.file = std::move(file);
  n.line = line;
  n.number = number;
  n.text = std::move(text);
  n.summary = "short " + std::to_string(number);
  return n;
}

TEST(SarifLog, OrdersByFileLineNumberAndKeepsFingerprintsStable) {
  std::vector<CollectedNotice> a = {Notice("b.c", 3, 9, "t"),
                                    Notice("a.c", 7, 30, "tab"),
                                    Notice("a.c", 7, 4, "x"),
                                    Notice("a.c", 2, 30, "tab")};
  std::string text = sarif_log_text(a, "/r", "/r", "1.0");
  size_t p1 = text.find("\"startLine\": 2");
  size_t p2 = text.find("\"ruleId\": \"VEK004\"");
  size_t p3 = text.find("\"startLine\": 3");
  ASSERT_NE(std::string::npos, p1);
  EXPECT_LT(p1, p2);
  EXPECT_LT(p2, p3);
  // Rules in number order, each once.
  EXPECT_LT(text.find("\"id\": \"VEK004\""), text.find("\"id\": \"VEK009\""));
  EXPECT_EQ(text.find("\"id\": \"VEK030\""), text.rfind("\"id\": \"VEK030\""));
  // The same notices in another order give the same log.
  std::vector<CollectedNotice> b = {a[3], a[2], a[0], a[1]};
  EXPECT_EQ(text, sarif_log_text(b, "/r", "/r", "1.0"));
}

TEST(SarifLog, InvalidUtf8AndControlsStillGiveJson) {
  std::vector<CollectedNotice> n = {Notice("x\xff.c", 1, 1, "bad \xc3 \x01 \"q\"")};
  std::string text = sarif_log_text(n, "/r", "/r", "1.0");
  EXPECT_NE(std::string::npos, text.find("\\u0001"));
  EXPECT_NE(std::string::npos, text.find("\\\"q\\\""));
  EXPECT_EQ(std::string::npos, text.find('\xff'));
  EXPECT_NE(std::string::npos, text.find("x%FF.c"));
}

}  // namespace
}  // namespace vek
