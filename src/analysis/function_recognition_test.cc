// Function recognition over whole sources, as real code writes them: each
// group holds heads that used to lose a function, invent one or misread
// its name or parameters.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "analysis/scan_test_util.h"
#include "analysis/scope.h"
#include "analysis/types.h"
#include "driver/state.h"
#include "reports/function_records.h"

namespace vek {
namespace {

// One recorded function: "name(parameters)/count".
class Recognition : public ScanTest {
 protected:
  explicit Recognition(SourceLanguage language = kCpp) : ScanTest(language) {
    g().opt.function_flag = 1;
    g().opt.object_flag = 1;
  }

  // The functions of one file, in the order they closed.
  std::vector<std::string> Functions(const std::string& source) {
    Feed(source);
    scope_file_end(g());
    types_file_end(line_number_, g());
    std::vector<std::string> out;
    size_t n = 0;
    for (const MetricsEntry& e : g().fn_report.functions.Entries())
      if (n++ >= functions_seen_)
        out.push_back(e.name + e.text2 + "/" +
                      std::to_string(e.extra[kFnParams]));
    functions_seen_ = n;
    return out;
  }

  // The names of the classes and structs recorded since the last call.
  std::vector<std::string> Classes() {
    std::vector<std::string> out;
    size_t n = 0;
    for (const auto& r : g().classes.items())
      if (n++ >= classes_seen_) out.push_back(r->name);
    classes_seen_ = n;
    return out;
  }

  size_t functions_seen_ = 0;
  size_t classes_seen_ = 0;

  std::optional<MetricsEntry> Recorded(const std::string& name) {
    for (const MetricsEntry& e : g().fn_report.functions.Entries())
      if (e.name == name) return e;
    return std::nullopt;
  }
};

using Strings = std::vector<std::string>;

class RecognitionC : public Recognition {
 protected:
  RecognitionC() : Recognition(kC) {}
};
class RecognitionJava : public Recognition {
 protected:
  RecognitionJava() : Recognition(kJava) {}
};
class RecognitionCSharp : public Recognition {
 protected:
  RecognitionCSharp() : Recognition(kCSharp) {}
};

// --- Text that is no code decides nothing ---------------------------------

TEST_F(Recognition, AngleInACommentOrAComparisonHidesNoMethod) {
  EXPECT_EQ((Strings{"Range::valid()/0", "Range::size()/0", "Range::mid()/0",
                     "Range::fits(int n)/1"}),
            Functions("class Range {\npublic:\n  // true when lo < hi\n"
                      "  bool valid() const { return lo < hi; }\n"
                      "  /* lo <\n     hi */ int size() const { return hi - lo; }\n"
                      "#if LIMIT < 3\n  int mid() { return lo; }\n#endif\n"
                      "  [[deprecated(\"a < b\")]] bool fits(int n) { return n; }\n"
                      "  std::function<void(int)> cb;\n  int lo, hi;\n};\n"));
}

TEST_F(RecognitionJava, AngleInACommentHidesNoMethod) {
  EXPECT_EQ((Strings{"Range.valid()/0", "Range.size()/0"}),
            Functions("public class Range {\n  // true when lo < hi\n"
                      "  boolean valid() { return lo < hi; }\n"
                      "  int size() { return hi - lo; }\n  private int lo, hi;\n}\n"));
}

// --- Assignments in a head end with their parentheses ----------------------

TEST_F(Recognition, DefaultArgumentsLeaveTheNextFunction) {
  EXPECT_EQ((Strings{"Counter::Counter(int start = 0)/1", "Counter::next()/0",
                     "reset(int v = 0, int w = f(1, 2))/2", "after()/0"}),
            Functions("class Counter {\npublic:\n"
                      "  explicit Counter(int start = 0) : n(start) {}\n"
                      "  int next() { return n++; }\nprivate:\n  int n;\n};\n"
                      "void reset(int v = 0, int w = f(1, 2)) {}\n"
                      "int after() { return 1; }\n"));
  // An assignment outside parentheses still makes a variable.
  EXPECT_EQ(Strings{}, Functions("int x = f(1);\nint y = (a = b) { 0 };\n"));
}

TEST_F(RecognitionCSharp, DefaultArgumentsAndNamedAttributeArguments) {
  EXPECT_EQ((Strings{"Items.Items(int start = 0)/1", "Items.List()/0",
                     "Items.Other()/0"}),
            Functions("public class Items {\n  public Items(int start = 0) {}\n"
                      "  [Route(\"items\", Name = \"list\")]\n"
                      "  public int List() { return 1; }\n"
                      "  public int Other() { return 2; }\n}\n"));
}

TEST_F(RecognitionJava, AnnotationsWithNamedArguments) {
  EXPECT_EQ((Strings{"Svc.old()/0", "Svc.check()/0", "Svc.plain()/0"}),
            Functions("public class Svc {\n  @Deprecated(since = \"9\")\n"
                      "  public void old() { run(); }\n"
                      "  @Test(expected = X.class, timeout = 10)\n"
                      "  public void check() { run(); }\n"
                      "  public void plain() { run(); }\n}\n"));
}

// --- Type keywords in a function head ----------------------------------------

TEST_F(RecognitionCSharp, GenericConstraintsAreNoTypes) {
  EXPECT_EQ((Strings{"Repo.Make<T>()/0", "Repo.Value<T>(T v)/1", "Repo.Plain()/0"}),
            Functions("public class Repo {\n"
                      "  public T Make<T>() where T : class, new() { return new T(); }\n"
                      "  public T Value<T>(T v)\n    where T : struct\n  {\n"
                      "    if (v) { return v; }\n    return v;\n  }\n"
                      "  public int Plain() { return 1; }\n}\n"));
  EXPECT_EQ(Strings{"Repo"}, Classes());
}

TEST_F(RecognitionC, StructReturnTypeBeforeAReservedName) {
  EXPECT_EQ((Strings{"__lookup(struct node *head, int key)/2", "after(void)/0"}),
            Functions("struct node *__lookup(struct node *head, int key) {\n"
                      "  return head;\n}\nint after(void) { return 1; }\n"));
  EXPECT_EQ(Strings{"__read_block(int depth)/1"},
            Functions("static struct buffer_head *\n__read_block(int depth)\n{\n"
                      "  return 0;\n}\n"));
  EXPECT_EQ(Strings{}, Classes());
  // An attribute in front of the name is still no function.
  EXPECT_EQ(Strings{}, Functions("struct __attribute__((packed)) pt { int x; };\n"
                                 "struct __packed __aligned(8) q { int y; };\n"));
  EXPECT_EQ((Strings{"pt", "q"}), Classes());
}

// --- Linkage and function-try-blocks -------------------------------------------

TEST_F(Recognition, LinkageBlockOfOneFunction) {
  EXPECT_EQ((Strings{"plugin_init(int flags)/1", "next_one(int a)/1",
                     "inside(void)/0", "braced(void)/0"}),
            Functions("extern \"C\" int plugin_init(int flags) {\n  return flags;\n}\n"
                      "int next_one(int a) { return a; }\n"
                      "extern \"C\" {\nint inside(void) { return 0; }\n}\n"
                      "extern \"C\" /* C */\n{\nint braced(void) { return 0; }\n}\n"));
  EXPECT_EQ(0, g().fs.function_scope);
}

TEST_F(Recognition, FunctionTryBlocksKeepTheirHandlers) {
  EXPECT_EQ((Strings{"risky()/0", "Conn::Conn(int fd)/1", "after()/0"}),
            Functions("void risky() try {\n  work();\n} catch (const E& e) {\n"
                      "  if (e) log();\n}\ncatch (...)\n{\n}\n"
                      "// the connection\n"
                      "Conn::Conn(int fd) try : fd_(fd) {\n} catch (...) { throw; }\n"
                      "int after() { return 1; }\n"));
  const std::optional<MetricsEntry> risky = Recorded("risky");
  ASSERT_TRUE(risky.has_value());
  EXPECT_EQ(8, risky->loc);          // the handlers are part of it
  EXPECT_EQ(2, risky->cyclomatic);   // the handler's if
  EXPECT_EQ(8, risky->extra[kFnLine]);
  const std::optional<MetricsEntry> after = Recorded("after");
  ASSERT_TRUE(after.has_value());
  EXPECT_EQ(1, after->loc);
  // The comment above the constructor stays with it.
  EXPECT_EQ(1, Recorded("Conn::Conn")->comments);
}

TEST_F(Recognition, FunctionTryBlockAtTheEndOfTheFile) {
  EXPECT_EQ(Strings{"last()/0"},
            Functions("void last() try {\n  work();\n} catch (...) {\n}\n"));
  EXPECT_EQ(4, Recorded("last")->loc);
}

// --- Names and parameter lists ---------------------------------------------------

TEST_F(Recognition, NamesStartAfterBracesAndSemicolons) {
  EXPECT_EQ((Strings{"Counter::Counter()/0", "P::P()/0", "f()/0", "g()/0"}),
            Functions("class Counter {Counter() {}};\nstruct P { int x;P() {} };\n"
                      "int f(){return 1;}int g(){return 2;}\n"));
}

TEST_F(RecognitionC, NamesStartAfterBracesAndSemicolons) {
  EXPECT_EQ((Strings{"f()/0", "g()/0", "h(void)/0"}),
            Functions("int f(){return 1;}int g(){return 2;}\n"
                      "static int x;int h(void){return 0;}\n"));
}

TEST_F(RecognitionJava, OperatorIsAnOrdinaryName) {
  EXPECT_EQ((Strings{"A.f()/0", "A.operator(int a)/1", "A.g()/0"}),
            Functions("class A {\n  int operator;\n  void f() { operator = 1; }\n"
                      "  int operator(int a) { return a; }\n  void g() { }\n}\n"));
}

TEST_F(Recognition, WhatFollowsTheListIsNoParameter) {
  EXPECT_EQ((Strings{"f()/0", "g()/0", "h()/0", "k(int a)/1",
                     "Foo::Foo(int a, int b = B::c)/2"}),
            Functions("void f() throw() { }\nint g() noexcept(true) { return 1; }\n"
                      "auto h() -> decltype(x) { return x; }\n"
                      "int k(int a) const noexcept(noexcept(a)) { return a; }\n"
                      "Foo::Foo(int a, int b = B::c) : x_(a), y_(g(b)) {}\n"));
}

TEST_F(Recognition, MacroInvocationWithoutSemicolonBeforeAFunction) {
  EXPECT_EQ((Strings{"Deque::insert(int pos, int n)/2", "Deque::size()/0"}),
            Functions("class Deque {\npublic:\n"
                      "  CONVERSION_AWARE(insert, T, iterator)\n"
                      "  // inserts n copies\n"
                      "  FORCEINLINE iterator insert(int pos, int n)\n  {\n"
                      "    return pos;\n  }\n"
                      "  int size() const { return 0; }\n};\n"));
  // A specifier after the invocation's list leaves it the candidate.
  EXPECT_EQ((Strings{"SYSCALL_DEFINE1(read, int, fd)/3"}),
            Functions("SYSCALL_DEFINE1(read, int, fd) noexcept(true)\n{\n"
                      "  return fd;\n}\n"));
}

TEST_F(RecognitionC, CommasInsideAParameterAreNoSeparators) {
  EXPECT_EQ((Strings{"g(int (*cb)(int, int))/1", "h(void (*f)(void), int a)/2",
                     "k(int a[SIZE(1, 2)], int b)/2"}),
            Functions("int g(int (*cb)(int, int)) { return cb(1, 2); }\n"
                      "int h(void (*f)(void), int a) { return a; }\n"
                      "int k(int a[SIZE(1, 2)], int b) { return b; }\n"));
}

}  // namespace
}  // namespace vek
