#include "analysis/decisions.h"

#include <gtest/gtest.h>

#include "analysis/scan_test_util.h"
#include "driver/state.h"

namespace vek {
namespace {

// Decisions counted inside a function body, with function analysis on.
class DecisionTest : public ScanTest {
 protected:
  DecisionTest() : ScanTest(kCpp) { g().opt.function_flag = 1; }
};

using ReferenceTypes = DecisionTest;

TEST_F(ReferenceTypes, RvalueAndForwardingReferencesAreNoLogicalAnd) {
  Feed("void f(std::vector<int>&& v, T&& t) {\n"
       "  auto&& a = g();\n"
       "  for (auto && x : v) use(x);\n"
       "  for (T&& y : w) use(y);\n"
       "  T&& moved = std::move(t);\n"
       "  std::vector<int>&& r = take();\n"
       "  h(static_cast<T&&>(t), std::forward<Args&&>(args)...);\n"
       "  auto l = [](auto&&... xs) { return sizeof...(xs); };\n"
       "  void* target = &&done;\n");
  EXPECT_EQ(0, fn().local_and);
  EXPECT_EQ(0, fn().local_logical);
}

TEST_F(ReferenceTypes, ConditionsStillCount) {
  Feed("int f(int a, int b) {\n"
       "  if (a && b) return 1;\n"
       "  if (a&&b&&(a > b)) return 2;\n"
       "  bool c = a >0&& b;\n"
       "  while (a\n"
       "         && b) --a;\n"
       "  return a &&\n"
       "         b;\n");
  EXPECT_EQ(6, fn().local_and);
}

TEST_F(ReferenceTypes, JavaAndCSharpHaveNoReferenceTypes) {
  Use(kJava);
  Feed("int f(int a, int b) {\n  boolean c = a > 0 && b == 1;\n  if (t&& u = 1) {}\n");
  EXPECT_EQ(2, fn().local_and);
}

using QuestionMarks = DecisionTest;

TEST_F(QuestionMarks, JavaWildcardsAreNoInlinedIf) {
  Use(kJava);
  Feed("void f(List<?> a, Map<String, ?> m) {\n"
       "  List<? extends Number> n = of();\n"
       "  Comparator<? super T> c = cmp();\n"
       "  Class< ? > k = x.getClass();\n"
       "  int v = a.isEmpty() ? 0 : 1;\n"
       "  int w = (n == null)? 2 : 3;\n");
  EXPECT_EQ(2, fn().local_ternary);
  EXPECT_EQ(2, Raised(23));
}

TEST_F(QuestionMarks, CSharpNullableTypesAndNullConditionals) {
  Use(kCSharp);
  Feed("int? Find(string? name, List<int?> all) {\n"
       "  int? a = null;\n"
       "  string? s;\n"
       "  var n = (int?)o;\n"
       "  int?[] arr = new int?[3];\n"
       "  var len = s?.Length;\n"
       "  var first = arr?[0];\n"
       "  var b = a ?? 0;\n"
       "  var c = a != null ? 1 : 2;\n"
       "  var d = ok? x : y;\n"
       "  var e = ok?.5:1.5;\n");
  EXPECT_EQ(3, fn().local_ternary);
}

TEST_F(QuestionMarks, CppQuestionMarksAreAlwaysInlinedIfs) {
  Feed("int f(int a) {\n  return a ? 1 : a<0 ?-1 : 0;\n");
  EXPECT_EQ(2, fn().local_ternary);
}

}  // namespace
}  // namespace vek
