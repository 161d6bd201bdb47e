#include "analysis/keywords.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "analysis/line_scanner.h"
#include "analysis/scan_test_util.h"
#include "driver/state.h"
#include "reports/capture_test_util.h"
#include "reports/separator.h"

namespace vek {
namespace {

// Every case runs as C++ unless it says otherwise.
class KeywordTest : public ScanTest {
 protected:
  KeywordTest() : ScanTest(kCpp) {}
};

using KeywordRecognition = KeywordTest;

TEST_F(KeywordRecognition, IfWithOrWithoutBlankButNotAsAWordPrefix) {
  Feed("if(a) x;\nif (b) y;\nifdef(c);\nxif (d);\n");
  EXPECT_EQ(2, k().if_count);
  EXPECT_EQ(2, fn().local_if);
}

TEST_F(KeywordRecognition, DirectivesAreNotTheIfKeyword) {
  Feed("#ifdef A\n#if B\n# if C\n#endif\n");
  EXPECT_EQ(0, k().if_count);
  EXPECT_EQ(4, k().preprocessor_count);
  EXPECT_EQ(1, g().scan.if_directive_flag);
}

TEST_F(KeywordRecognition, LeadSetsDependOnTheFirstLetter) {
  Feed("}else{\n} while (x);\np=malloc(4);\nq=(malloc(4));\n");
  EXPECT_EQ(1, k().else_count);
  EXPECT_EQ(1, k().while_count);
  EXPECT_EQ(1, k().alloc_count);  // '(' may not stand in front of malloc
}

TEST_F(KeywordRecognition, OrNeedsItsFollowRightAfterTheWord) {
  Feed("a or b;\nore x;\norder;\nx = (or(a));\n");
  EXPECT_EQ(2, fn().local_or);
  EXPECT_EQ(2, fn().local_logical);
}

TEST_F(KeywordRecognition, ElseIfIsOneIfAndOneElseButNoLocalElse) {
  Feed("else if (a) x;\n");
  EXPECT_EQ(1, k().if_count);
  EXPECT_EQ(1, k().else_count);
  EXPECT_EQ(0, fn().local_else);
  Feed("else\n  if (a) x;\n");
  EXPECT_EQ(1, fn().local_else);
  Feed("#else\n# else\n");
  EXPECT_EQ(2, k().else_count);
}

TEST_F(KeywordRecognition, DoNeedsASeparator) {
  Feed("do{\n");
  EXPECT_EQ(0, k().do_count);
  Feed("do {\ndouble d;\n");
  EXPECT_EQ(1, k().do_count);
}

TEST_F(KeywordRecognition, ReturnForms) {
  Feed("return;\nreturn x;\nreturn(x);\nreturn\nreturned = 1;\n");
  EXPECT_EQ(4, k().return_count);
  EXPECT_EQ(4, fn().local_returns);
}

TEST_F(KeywordRecognition, ReturnInsideACSharpDelegateIsNoReturnPoint) {
  Use(kCSharp);
  Feed("Func<int> f = delegate(int x) { return x; };\n"
       "Func<int> h = delegate { return(1); };\n");
  EXPECT_EQ(0, k().return_count);
  EXPECT_EQ(0, fn().local_returns);
}

TEST_F(KeywordRecognition, ExitFamilyCountsAsExitsAndReturnPoints) {
  Feed("exit(1); _exit(1); abort();\nexits(2);\n");
  EXPECT_EQ(3, k().exit_count);
  EXPECT_EQ(3, fn().local_returns);
  EXPECT_EQ(0, k().exit_underscore_count);
}

TEST_F(KeywordRecognition, BreakDefaultAndSwitchForms) {
  Feed("switch (x) {\ncase 1: break;\ndefault :\nbreak\n}\n");
  EXPECT_EQ(1, k().switch_count);
  EXPECT_EQ(1, k().case_count);
  EXPECT_EQ(1, k().default_count);
  EXPECT_EQ(2, k().break_count);
  EXPECT_EQ(2, fn().local_break);
  Feed("breakpoint = 1;\nswitches(y);\nX() = default;\n");
  EXPECT_EQ(2, k().break_count);
  EXPECT_EQ(1, k().switch_count);
  EXPECT_EQ(1, k().default_count);
}

TEST_F(KeywordRecognition, SequentialBreaksWithoutCase) {
  Feed("case 1: break;\nbreak;\ncase 2: break;\n");
  EXPECT_EQ(std::vector<int>{2}, Lines(56));
}

TEST_F(KeywordRecognition, UnionNeedsABraceOrTheLineEnd) {
  Feed("union {\nunion\nunion U {\n");
  EXPECT_EQ(2, k().union_count);
}

TEST_F(KeywordRecognition, EnumCountsDefinitionsOnly) {
  Feed("enum E { A, B };\nenum E e;\nenum F\n{ C };\nenum E f(int);\n");
  EXPECT_EQ(2, k().enum_count);
  EXPECT_EQ(0, g().scan.enum_state);
}

TEST_F(KeywordRecognition, TemplateHeadsAndDeclarations) {
  Feed("template <class T> class Stack {\n");
  EXPECT_EQ(1, k().template_count);
  // The class that follows takes the head as its template.
  EXPECT_EQ("<class T>", g().ts.cur.templ);
  EXPECT_EQ("", g().scan.template_head);
  EXPECT_EQ(0, g().scan.template_beg_flag);  // closed at its '>'
  Feed("template <class T> void f(T);\ntemplate class Foo<int>;\n");
  EXPECT_EQ(1, k().template_count);
  Feed("template <class K,\n");
  EXPECT_EQ(1, g().scan.template_beg_flag);
  Feed("          class V> class Map {\n");
  EXPECT_EQ(0, g().scan.template_beg_flag);
}

TEST_F(KeywordRecognition, GotoContinueTryAndRealloc) {
  Feed("goto out;\ncontinue;\ntry {\np = realloc(p, n);\n");
  EXPECT_EQ(1, Raised(9));
  EXPECT_EQ(1, Raised(43));
  EXPECT_EQ(1, Raised(38));
  EXPECT_EQ(1, Raised(8));
  EXPECT_EQ(1, fn().local_returns);  // goto counts as a return point
  EXPECT_EQ(0, k().alloc_count);
  g().cfg.goto_as_return = 0;
  Feed("goto again;\n");
  EXPECT_EQ(1, fn().local_returns);
}

TEST_F(KeywordRecognition, VoidPointerWithOrWithoutBlank) {
  Feed("void *p;\nvoid* q;\nvoid f(void);\n");
  EXPECT_EQ(2, Raised(26));
}

using KeywordLanguages = KeywordTest;

TEST_F(KeywordLanguages, CppKeywordInACFileRaises24AndNothingElse) {
  Use(kC);
  Feed("p = new T; delete p;\nusing x;\nfriend f;\nvirtual v;\n"
       "class C {\ntemplate <class T>\n");
  EXPECT_EQ(7, Raised(24));
  EXPECT_EQ(0, k().new_count + k().delete_count + k().using_count +
                   k().friend_count + k().virtual_count + k().template_count);
  EXPECT_EQ(0, fn().local_returns);
}

TEST_F(KeywordLanguages, ThrowAndNewKeepTheirEffectInC) {
  Use(kC);
  Feed("throw e;\nx = new\n");
  EXPECT_EQ(2, Raised(24));
  EXPECT_EQ(1, fn().local_returns);
  EXPECT_EQ(1, g().scan.new_in_statement);
}

TEST_F(KeywordLanguages, CppKeywordsCountInCpp) {
  Feed("p = new T; delete p;\nfriend class B;\n");
  EXPECT_EQ(0, Raised(24));
  EXPECT_EQ(1, k().new_count);
  EXPECT_EQ(1, k().delete_count);
  EXPECT_EQ(1, k().friend_count);
  EXPECT_EQ(1, Raised(15));
  EXPECT_EQ(0, g().scan.friend_flag);
}

TEST_F(KeywordLanguages, UsingNamespaceIsNoNamespace) {
  Feed("using namespace std;\nnamespace gfx {\n");
  EXPECT_EQ(1, Raised(32));
  EXPECT_EQ(1, k().using_count);
  EXPECT_EQ(1, k().namespace_count);
}

TEST_F(KeywordLanguages, ImportAndPackageOnlyInJava) {
  const std::string source = "package a.b;\nimport java.util.List;\n";
  Feed(source);
  EXPECT_EQ(0, k().import_count + k().package_count);
  Use(kJava);
  Feed(source);
  EXPECT_EQ(1, k().import_count);
  EXPECT_EQ(1, k().package_count);
}

TEST_F(KeywordLanguages, JavaFinalIsConstant) {
  Use(kJava);
  Feed("final int LIMIT = 10;\nint n = 10;\n");
  EXPECT_EQ(std::vector<int>{2}, Lines(50));
}

TEST_F(KeywordLanguages, JavaAnnotationsHoldOnlyTheirOwnParentheses) {
  Use(kJava);
  Feed("@Override\n");
  EXPECT_EQ(0, g().scan.annotation_open);
  Feed("@Test(timeout = f(1),\n");
  EXPECT_EQ(1, g().scan.annotation_open);
  Feed("      expected = E.class)\n");
  EXPECT_EQ(0, g().scan.annotation_open);
}

TEST_F(KeywordLanguages, CSharpNullCoalescingIsNoTernary) {
  Use(kCSharp);
  Feed("x = a ?? b;\ny = c ? 1 : 2;\n");
  EXPECT_EQ(1, fn().local_ternary);
  EXPECT_EQ(std::vector<int>{2}, Lines(23));
}

TEST_F(KeywordLanguages, CSharpRegionStopsTheLine) {
  Use(kCSharp);
  Feed("#region Setup { (\n");
  EXPECT_EQ(1, k().preprocessor_count);
  EXPECT_EQ(0, k().open_brace + k().open_paren);
  Feed("{\n");
  EXPECT_EQ(1, k().open_brace);
}

TEST_F(KeywordLanguages, CSharpLambdaArrowIsNoAssignment) {
  Use(kCSharp);
  Feed("if (list.Any(x => x > 0)) y();\n");
  EXPECT_EQ(0, Raised(4));
}

using KeywordPreprocessor = KeywordTest;

TEST_F(KeywordPreprocessor, DefinesAddTheirNames) {
  g().macro_names.insert("WINAPI");  // predefined
  Feed("#define MAX 10\nint x;\n  #  define SQ(x) ((x)*(x))\n");
  EXPECT_EQ(2, k().define_count);
  EXPECT_EQ(2, k().macro_count);
  EXPECT_EQ(2, k().preprocessor_count);
  EXPECT_EQ((std::vector<std::string>{"WINAPI", "MAX", "SQ"}),
            g().macro_names.names());
  EXPECT_EQ(0, g().scan.macro_with_args);  // ended with its logical line
  // A name defined again (in this or another file) is kept once; the
  // counts still see every definition.
  Feed("#undef MAX\n#define MAX 20\n");
  EXPECT_EQ(3u, g().macro_names.size());
  EXPECT_EQ(3, k().define_count);
}

TEST_F(KeywordPreprocessor, IncludesAndMacroOperators) {
  Feed("#include <a.h>\n#include<b.h>\n#include \"c.h\"\n#includes\n");
  EXPECT_EQ(3, k().include_count);
  Feed("#define STR(x) # x\n#define CAT(a, b) a ## b\n");
  EXPECT_EQ(6, k().preprocessor_count);
}

TEST_F(KeywordPreprocessor, TernaryInAMacroWithArgumentsRaisesNo23) {
  Feed("#define F(x) (x ? 1 : 0)\n#define G (y ? 1 : 0)\nz = a ? b : c;\n");
  EXPECT_EQ(3, fn().local_ternary);
  EXPECT_EQ((std::vector<int>{2, 3}), Lines(23));
}

using KeywordOperators = KeywordTest;

TEST_F(KeywordOperators, PrefixIncrementAndDecrement) {
  Feed("i++ + j;\na+++b;\n++i;\nx = --y;\n");
  EXPECT_EQ(std::vector<int>{3}, Lines(7));
  EXPECT_EQ(std::vector<int>{4}, Lines(6));
}

TEST_F(KeywordOperators, EllipsisOnlyWithNoticesAndOutsideCatch) {
  Feed("void f(int a, ...);\n");
  EXPECT_EQ(0, Raised(3));
  g().opt.notice_flag = 1;
  Feed("void f(int a, ...);\ncatch (...) { log(); }\nint g(...);\n");
  EXPECT_EQ((std::vector<int>{2, 4}), Lines(3));
}

TEST_F(KeywordOperators, LogicalOperatorsAndWords) {
  g().fs.function_scope = 1;  // inside a function body
  g().fs.funcname_flag = 1;
  Feed("if (a && b || c and d) x = y & z | w;\n");
  EXPECT_EQ(2, fn().local_and);
  EXPECT_EQ(1, fn().local_or);
  EXPECT_EQ(3, fn().local_logical);
}

TEST_F(KeywordOperators, LogicalOperatorsOutsideBodiesAreNotCounted) {
  Feed("#define BOTH(a, b) ((a) && (b))\nint x = A || B;\n");
  EXPECT_EQ(0, fn().local_logical);
}

TEST_F(KeywordOperators, StatementEndClearsTheStatementFlags) {
  Feed("typedef const int T\n");
  EXPECT_EQ(1, g().scan.typedef_flag);
  EXPECT_EQ(1, g().scan.const_flag);
  Feed("  ;\n");
  EXPECT_EQ(0, g().scan.typedef_flag + g().scan.const_flag);
  EXPECT_EQ(1, k().semicolon_count);
  EXPECT_EQ(1, fn().local_semicolons);
}

TEST_F(KeywordOperators, StatementCommasOutsideParenthesesAndTemplates) {
  Feed("Map<int, int> a, b, c\n");
  EXPECT_EQ(2, g().scan.statement_commas);
  Feed("  = f(1, 2);\n");
  EXPECT_EQ(0, g().scan.statement_commas);
}

using KeywordBrackets = KeywordTest;

TEST_F(KeywordBrackets, EveryBracketIsCounted) {
  Feed("a[i] = f((x), {1});\n");
  EXPECT_EQ(2, k().open_paren);
  EXPECT_EQ(2, k().close_paren);
  EXPECT_EQ(1, k().open_brace);
  EXPECT_EQ(1, k().close_brace);
  EXPECT_EQ(1, k().open_bracket);
  EXPECT_EQ(1, k().close_bracket);
}

TEST_F(KeywordBrackets, LoneBracketLinesAreNotEffective) {
  Feed("{\n  } // end\n(\n  );\n{ }\n}}\n()\n");
  EXPECT_EQ(2, k().noneff_brace_lines);
  EXPECT_EQ(2, k().noneff_paren_lines);
  EXPECT_EQ(7, k().loc);
}

TEST_F(KeywordBrackets, ConditionEndsWithItsParentheses) {
  Feed("if ((a = b) &&\n    (c = d)) x = 1;\n"
       "while ((c = getc(f)) != EOF) y = 2;\n");
  EXPECT_EQ((std::vector<int>{1, 2}), Lines(4));
  EXPECT_EQ(std::vector<int>{3}, Lines(5));
  EXPECT_EQ(0, g().scan.in_if_condition + g().scan.in_while_condition);
  EXPECT_EQ(0, g().scan.paren_level);
}

using KeywordAssignment = KeywordTest;

TEST_F(KeywordAssignment, LiteralNumbersRaise50) {
  Feed("x=y;\nx = 5;\nx ==5;\nx = (int) 7;\nx = /* c */ 3;\nx = 0;\n"
       "const int k = 4;\nx += 0x10;\n");
  EXPECT_EQ((std::vector<int>{2, 4, 5, 8}), Lines(50));
}

TEST_F(KeywordAssignment, ZeroCountsOnlyWhenConfigured) {
  g().cfg.zero_literal = 1;
  Feed("x = 0;\ny = 0x00UL;\nenum E { A = 0 };\nvirtual void f() = 0;\n");
  EXPECT_EQ((std::vector<int>{1, 2}), Lines(50));
}

TEST_F(KeywordAssignment, TestDeferredToTheNextCodeLine) {
  Feed("x =\n\n   // note\n   7;\ny = // why\n  (long)\n 8;\nz =\n w;\n");
  EXPECT_EQ((std::vector<int>{4, 7}), Lines(50));
}

TEST_F(KeywordAssignment, NoAssignmentInDirectivesTemplateHeadsAndOperators) {
  Feed("#define X = 5\ntemplate <int N = 3> struct A {\n"
       "T& operator=(const T& o) {\nT& operator += (int n) {\ncall([=]() {\n");
  EXPECT_EQ(0, Raised(50));
  EXPECT_EQ(0, g().scan.assignment_flag);
}

using KeywordMacroReport = KeywordTest;

TEST_F(KeywordMacroReport, MacrosWithArgumentsAreListed) {
  g().opt.macro_flag = 1;
  Feed("#define N 1\n#define SQ(x) ((x)*(x))\n");
  EXPECT_EQ("  Macro: SQ\n", out());
}

TEST_F(KeywordMacroReport, HtmlForm) {
  g().opt.macro_flag = 1;
  g().opt.html_flag = 1;
  Feed("#define A_B(x) x\n");
  EXPECT_EQ("  <b>Macro</b>: <b><font color=\"" + g().cfg.color_macro +
                "\">A_B</font></b>\n",
            out());
}

TEST_F(KeywordMacroReport, WithNoticesTheBlockFramesTheLogicalLine) {
  g().opt.macro_flag = 1;
  g().opt.notice_flag = 1;
  Feed("#define INC(x) \\\n  (++x)\nint y;\n");
  EXPECT_EQ(std::vector<int>{2}, Lines(7));  // raised inside the block
  std::string banner = std::string(24, ' ') + "~~ Macro Quality Notices ~~\n";
  EXPECT_EQ("\n" + separator_text("Macro Begin", 1) + "\n  Macro: INC\n" +
                banner +
                "\n    Notice #7: Line 2, a pre-increment '++ operator' identified\n"
                "           within a MACRO.  This syntax is non-portable and is\n"
                "           NOT recommended within macro definitions.\n"
                "\n  Macro: INC\n\n" +
                separator_text("Macro End", 2) + "\n",
            out());
}

TEST_F(KeywordMacroReport, NothingInTotalsOnlyMode) {
  g().opt.macro_flag = 1;
  g().opt.notice_flag = 1;
  g().opt.totals_flag = 1;
  Feed("#define SQ(x) ((x)*(x))\n");
  EXPECT_EQ("", out());
  EXPECT_EQ(1u, g().macro_names.size());
}

TEST(KeywordSeparator, SeventyTwoCharactersAfterTheIndent) {
  std::string text = separator_text("Function Begin", 123);
  EXPECT_EQ(2u + 72u, text.size());
  EXPECT_EQ("  ---- Function Begin: Line 123 ----", text.substr(0, 36));
  EXPECT_EQ(std::string(42, '-'), text.substr(32));
  std::string long_label(80, 'L');
  EXPECT_EQ("L: Line 7 ----", separator_text(long_label, 7).substr(80 - 1 + 7));
}

TEST(KeywordSeparator, HtmlEscapesTheLabelButKeepsTheWidth) {
  CapturedG c;
  c.g().opt.html_flag = 1;
  separator_line(c.g(), "A<B", 9);
  std::string text = c.text();
  EXPECT_EQ(0u, text.find("\n  ---- A&lt;B: Line 9 -"));
  EXPECT_EQ(2u + 74u + 3u, text.size());  // two newlines, "&lt;" for '<'
}

TEST_F(KeywordTest, NulBytesNeitherEndNorMakeKeywords) {
  const char kSource[] = "if\0(a) x;\nreturn \0;\nx = 1;\n";
  Feed(std::string(kSource, sizeof(kSource) - 1));
  EXPECT_EQ(0, k().if_count);
  EXPECT_EQ(1, k().return_count);
  EXPECT_EQ(1, Raised(50));
}

}  // namespace
}  // namespace vek
