#include "analysis/functions.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "analysis/scan_test_util.h"
#include "driver/state.h"
#include "reports/report_test_util.h"
#include "reports/separator.h"

namespace vek {
namespace {

// A function whose body opened: what the brace tracker would record.
struct Opened {
  std::string name, params, templ;
  int count;
};

// Runs the calling order over source text as the scanner does: the start
// of each line, then its parentheses, statement ends and braces.  Source
// given here holds no strings with brackets or semicolons; '#' lines are
// preprocessor lines.
class FunctionIdTest : public ScanTest {
 protected:
  explicit FunctionIdTest(SourceLanguage language = kCpp) : ScanTest(language) {
    g().opt.function_flag = 1;
  }

  void Heads(const std::string& source) {
    size_t start = 0;
    while (start < source.size()) {
      size_t end = source.find('\n', start);
      if (end == std::string::npos) end = source.size();
      Line(source.substr(start, end - start), ++line_);
      start = end + 1;
    }
  }

  void Line(const std::string& line, int n) {
    G& s = g();
    collect_parameter_line(line.data(), line.size(), n, s);
    s.scan.preproc_flag = line.find_first_not_of(" \t") != std::string::npos &&
                          line[line.find_first_not_of(" \t")] == '#';
    for (size_t i = 0; i < line.size(); ++i) {
      const char c = line[i];
      if (s.scan.preproc_flag) break;
      if (line.compare(i, 2, "//") == 0) break;
      if (line.compare(i, 2, "/*") == 0) {
        i = line.find("*/", i) + 1;
        continue;
      }
      if (c == '[') ++s.counters.open_bracket;
      if (c == ']') ++s.counters.close_bracket;
      if (c == '(') {
        function_at_paren(line.data(), i, line.size(), n, s);
        ++s.scan.paren_level;
      } else if (c == ')' && --s.scan.paren_level == 0) {
        function_paren_closed(s);
      } else if (c == ';') {
        function_at_semicolon(s, in_type_body_);
      } else if (c == '{' && s.fs.function_scope > 0) {
        ++s.fs.function_scope;
      } else if (c == '{' && s.fs.funcname_flag && s.scan.paren_level <= 0) {
        function_body_opens(n, s);
        opened_.push_back({s.fs.func_name, s.fs.param_text,
                           s.fs.template_flag ? s.fs.template_text : "",
                           s.fs.param_count});
        s.fs.function_scope = 1;
      } else if (c == '}' && s.fs.function_scope > 0 &&
                 --s.fs.function_scope == 0) {
        clear_function_candidate(s);
      }
    }
    if (line.find_first_not_of(" \t") != std::string::npos) {
      s.scan.prev_code_line.Clear();
      s.scan.prev_code_line.Append(line.data(), line.size());
    }
  }

  // The one function the source opened.
  Opened One(const std::string& source) {
    opened_.clear();
    Heads(source);
    EXPECT_EQ(1u, opened_.size()) << source;
    return opened_.empty() ? Opened{"", "", "", -1} : opened_[0];
  }

  // The candidate GetFunction finds in front of the first '(' of `text`.
  std::string At(const std::string& text) {
    GetFunction(text, text.find('('), g());
    return g().fs.funcname_flag ? g().fs.func_name : "<none>";
  }

  int in_type_body_ = 0;
  int line_ = 0;
  std::vector<Opened> opened_;
};

class FunctionIdC : public FunctionIdTest {
 protected:
  FunctionIdC() : FunctionIdTest(kC) {}
};

TEST_F(FunctionIdTest, NamesParametersAndCounts) {
  Opened m = One("int main(void) {\n}\n");
  EXPECT_EQ("main", m.name);
  EXPECT_EQ("(void)", m.params);
  EXPECT_EQ(0, m.count);
  EXPECT_EQ(2, One("int f(int a, std::map<int, int> b) {}").count);
  // The commas of a function-pointer parameter's own list separate none.
  EXPECT_EQ(1, One("int g(int (*cb)(int, int)) {}").count);
  EXPECT_EQ("A::b", One("void A :: b (int x) {}").name);
  EXPECT_EQ("(int a, int b)", One("int h( int a,\tint b ) const {}").params);
  EXPECT_EQ("(unsigned n)", One("int k(unsigned\n  n)\n{\n}\n").params);
  // An initialiser list is no part of the parameters.
  Opened ctor = One("Foo::Foo(int a) : x_(a), y_(0) {}");
  EXPECT_EQ("(int a)", ctor.params);
  EXPECT_EQ(1, ctor.count);
}

TEST_F(FunctionIdTest, Operators) {
  EXPECT_EQ("Matrix::operator==",
            One("bool Matrix::operator==(const Matrix& m) const {").name);
  EXPECT_EQ("Functor::operator ()", At("int Functor::operator()(int x)"));
  EXPECT_EQ("Functor::operator ()", At("int Functor::operator ()(int x)"));
  EXPECT_EQ("Vec::operator double", At("Vec::operator double() const"));
  EXPECT_EQ("operator new", At("void* operator  new (size_t n)"));
  EXPECT_EQ("Map<K,V>::operator[]", At("V& Map<K, V>::operator[](K k)"));
  EXPECT_EQ("Foo::operator+", At("std::vector<int> Foo::operator+(Foo f)"));
  // "operator" inside a longer word is no operator.
  EXPECT_EQ("my_operator_count", At("int my_operator_count(int n)"));
  // "operator" at the end of the text, its parenthesis on the next line.
  std::string tail = "bool Foo::operator";
  GetFunction(tail, tail.size(), g());
  EXPECT_EQ("Foo::operator", g().fs.func_name);
}

TEST_F(FunctionIdC, OperatorIsAnOrdinaryWordInC) {
  EXPECT_EQ("operator", At("int operator(int x)"));
}

TEST_F(FunctionIdTest, FunctionPointerDeclarators) {
  EXPECT_EQ("fp", At("int (*fp)(int);"));
  EXPECT_EQ("<none>", At("int (*fp);"));
  EXPECT_EQ("signal", At("void (*signal(int sig, void (*f)(int)))(int)"));
}

TEST_F(FunctionIdTest, NameOnThePreviousCodeLine) {
  Opened f = One("static int\nlookup // by key\n  (int key,\n   int seed)\n{\n}\n");
  EXPECT_EQ("lookup", f.name);
  EXPECT_EQ("(int key, int seed)", f.params);
  EXPECT_EQ(2, f.count);
  EXPECT_EQ(4, g().fs.candidate_line);
}

TEST_F(FunctionIdTest, ParenthesisAtColumnZeroOfTheFirstLine) {
  Heads("(void)0;\n");
  EXPECT_EQ(0, g().fs.funcname_flag);
  Heads("(*hook)(1);\n");  // a call through a pointer, not a head
  EXPECT_EQ(0, g().fs.funcname_flag);
  EXPECT_TRUE(opened_.empty());
}

TEST_F(FunctionIdTest, RejectedCandidates) {
  EXPECT_EQ("<none>", At("if (x)"));
  EXPECT_EQ("<none>", At("while (y)"));
  EXPECT_EQ("<none>", At("x = (y)"));
  g().scan.assignment_flag = 1;  // the type test is skipped
  EXPECT_EQ("int", At("int(y)"));
  g().scan.assignment_flag = 0;
  g().debug_flag = 1;
  g().file.line_number = 9;
  At("for (;;)");
  EXPECT_TRUE(Has(out(), "  Warning: Line No. 9\n           Function name is a "
                         "system type - for\n"));
}

TEST_F(FunctionIdTest, LastCharacterTestDependsOnTheLanguage) {
  g().fs.func_name = "label:";
  EXPECT_TRUE(ValFunctionName(g(), kNoOperator));
  Use(kC);
  EXPECT_FALSE(ValFunctionName(g(), kNoOperator));
  g().fs.func_name = "ok_1 \t\r\n";
  EXPECT_TRUE(ValFunctionName(g(), kNoOperator));
  EXPECT_EQ("ok_1", g().fs.func_name);
  Use(kCpp);
  g().fs.func_name = "+x";
  EXPECT_FALSE(ValFunctionName(g(), 0));
  g().fs.func_name = "";
  EXPECT_FALSE(ValFunctionName(g(), kNoOperator));
}

TEST_F(FunctionIdTest, QualifiedByTheOpenNamespaceOrClass) {
  FunctionState& f = g().fs;
  f.namespace_open_flag = 1;
  f.namespace_name = "gfx";
  EXPECT_EQ("gfx::draw", At("void draw()"));
  EXPECT_EQ("gfx::Shape::draw", At("void Shape::draw()"));
  EXPECT_EQ("gfx::fill", At("void gfx::fill()"));
  f.class_open_flag = 1;
  f.class_name = "gfx::Shape";
  EXPECT_EQ("gfx::Shape::draw", At("void draw()"));
  Use(kJava);
  f.namespace_name = "org.demo";
  f.class_name = "org.demo.Shape";
  EXPECT_EQ("org.demo.Shape.draw", At("void draw()"));
  Use(kCSharp);
  f.class_open_flag = 0;
  EXPECT_EQ("org.demo.A::b", At("void A::b()"));
}

TEST_F(FunctionIdTest, CommentsAndMacrosInTheHead) {
  EXPECT_EQ("foo", At("int foo /* note */ (int a)"));
  EXPECT_EQ("foo", At("int/*x*/foo(int a)"));
  g().macro_names.insert("WINAPI");
  EXPECT_EQ("<none>", At("WINAPI(x)"));
  // A macro between the name and its parenthesis on the next line.
  std::string text = "int start WINAPI";
  GetFunction(text, text.size(), g());
  EXPECT_EQ("start", g().fs.func_name);
  EXPECT_EQ(1, g().fs.funcname_flag);
  // A name in capitals that opens its line is likely a macro call.
  At("DEFINE_TYPE(a, b)");
  EXPECT_EQ(1, g().fs.macro_call_flag);
  At("int DEFINE_TYPE(a, b)");
  EXPECT_EQ(0, g().fs.macro_call_flag);
}

TEST_F(FunctionIdTest, CSharpAttributesAndJavaAnnotations) {
  Use(kCSharp);
  EXPECT_EQ("<none>", At("[Obsolete(\"x\")]"));
  Heads("[Obsolete(\"x\")]\n");  // brackets open: no head at all
  EXPECT_EQ(0, g().fs.funcname_flag);
  Use(kJava);
  g().scan.annotation_open = 1;
  Heads("@Deprecated(since)\n");
  EXPECT_EQ(0, g().fs.funcname_flag);
}

TEST_F(FunctionIdC, OldStyleDefinitionsAndPrototypes) {
  EXPECT_EQ("(a) Non-ANSI Parameter Construct", One("int f(a) int a; {}").params);
  opened_.clear();
  Opened two = One("int g(a, b)\n  int a;\n  int b;\n{\n}\n");
  EXPECT_EQ("(a, b) Non-ANSI Parameter Construct", two.params);
  EXPECT_EQ(2, two.count);
  // A prototype, a call or a declaration ends the candidate; the next
  // definition keeps its own name.
  opened_.clear();
  Opened m = One("int helper(int);\nREGISTER(x);\nint proto(int a,\n  int b);\n"
                 "int main(void) {\n}\n");
  EXPECT_EQ("main", m.name);
  EXPECT_EQ("(void)", m.params);
}

TEST_F(FunctionIdTest, DeclarationsInATypeBodyAreDropped) {
  in_type_body_ = 1;
  Heads("void draw(a);\n");
  EXPECT_EQ(0, g().fs.funcname_flag);
  EXPECT_EQ(0, g().fs.non_ansi_flag);
}

TEST_F(FunctionIdTest, DirectiveInTheHead) {
  Opened f = One("void f()\n#if DEBUG\n  const\n#endif\n{\n}\n");
  EXPECT_EQ("() Defined By Compiler Directive", f.params);
  EXPECT_EQ(0, f.count);
  EXPECT_EQ(0, CountParameters("(void) Non-ANSI Parameter Construct"));
  EXPECT_EQ(1, CountParameters(""));
  EXPECT_EQ(2, CountParameters("(map<a,b> m, int c)"));
}

TEST_F(FunctionIdTest, LongTextsStayWithinTheBuffers) {
  std::string big(3000, 'x');
  EXPECT_EQ(2047u, CleanParameterText("(" + big).size());
  std::string params = FormatParameters("(" + big, "f", g());
  EXPECT_EQ(2047u, params.size());
  EXPECT_EQ(')', params.back());
  g().fs.non_ansi_flag = 1;
  EXPECT_EQ(2047u, FormatParameters("(" + big + ")", "f", g()).size());
  g().fs.non_ansi_flag = 0;

  // A head of 5000 characters: the name is bounded, nothing overruns.
  std::string head = "int " + std::string(5000, 'n') + "(int a)";
  GetFunction(head, head.find('('), g());
  EXPECT_EQ(2047u, g().fs.func_name.size());
  EXPECT_EQ("", FirstWord(head, 4, g()));
  EXPECT_TRUE(Has(out(), "  Error: Unexpected line length with no line feed\n"));

  // A parameter list running over lines stops taking lines at the limit.
  clear_function_candidate(g());
  std::string b = "int b" + std::string(1200, 'x') + ",";
  Heads("int f(int a,\n" + b + "\nint c" + std::string(1200, 'y') + ")\n");
  EXPECT_EQ("(int a, " + b, g().fs.param_text);
}

TEST_F(FunctionIdTest, FirstWordAndNormalForms) {
  EXPECT_EQ("FOO", FirstWord("  /* c */ FOO(x)", 0, g()));
  EXPECT_EQ("", FirstWord("  // FOO", 0, g()));
  EXPECT_EQ("", FirstWord("  1abc", 0, g()));
  EXPECT_EQ("~X", FirstWord("~X::y", 0, g()));
  EXPECT_EQ("Pair<A,B>::swap", NormaliseName("Pair < class A , typename B >::swap"));
  EXPECT_EQ("Box<myclass>::get", NormaliseName("Box<myclass >::get"));
  EXPECT_EQ("operator new", NormaliseName("operator  new"));
  EXPECT_EQ("(int a, int b) ", CleanParameterText("(int a,  /* x */\tint b)\r\n"));
  EXPECT_EQ("(const char* s = \"a//b\") ",
            CleanParameterText("(const char* s = \"a//b\") // c"));
  // Only the first block comment goes; the blanks around it fold into one,
  // and a comment that does not close takes the rest.
  EXPECT_EQ("(int a, int b /* y */ )",
            CleanParameterText("(int a, /* x */ \t int b /* y */ )"));
  EXPECT_EQ("(a,b)", CleanParameterText("(a,/* x */b)"));
  EXPECT_EQ("(int a, ", CleanParameterText("(int a, /* x\n int b)"));
  EXPECT_EQ(" (a) ", CleanParameterText("\r\n\t (a)\t\t"));
  EXPECT_EQ("", CleanParameterText(""));
}

TEST_F(FunctionIdTest, TemplatePrefixIsTakenOnce) {
  g().scan.template_head = "template <class T>";
  Heads("T max(T a, T b) {}\nint min(int a) {}\n");
  ASSERT_EQ(2u, opened_.size());
  EXPECT_EQ("<class T>", opened_[0].templ);
  EXPECT_EQ("", opened_[1].templ);
  Use(kJava);  // generics carry no template prefix
  g().scan.template_head = "template <class T>";
  Heads("T max(T a, T b) {}\n");
  EXPECT_EQ("", opened_[2].templ);
}

// --- Report lines ---

class FunctionIdOutput : public FunctionIdTest {
 protected:
  // Accepts "name(params)" and opens its body at line 7.
  std::string Open(const std::string& head, const std::string& templ = "") {
    if (!templ.empty()) g().scan.template_head = "template " + templ;
    GetFunction(head, head.find('('), g());
    g().fs.param_text = CleanParameterText(head.substr(head.find('(')));
    function_body_opens(7, g());
    return out();
  }
  FunctionMeasure Measure(const std::string& name, const std::string& params,
                          const std::string& templ = "") {
    FunctionMeasure m;
    m.name = name;
    m.parameters = params;
    m.templ = templ;
    m.start_line = 7;
    return m;
  }
};

TEST_F(FunctionIdOutput, FunctionBeginBlock) {
  g().opt.notice_flag = 1;
  EXPECT_EQ("\n" + separator_text("Function Begin", 7) +
                "\n  Function: max\n  Parameters: (T a, T b)\n"
                "  Template: <class T>\n",
            Open("T max(T a, T b)", "<class T>"));
}

TEST_F(FunctionIdOutput, LongNamesAndParametersWrap) {
  g().opt.notice_flag = 1;
  std::string name(70, 'n'), param(65, 'p');
  std::string text = Open("int " + name + "(" + param + ")");
  EXPECT_TRUE(Has(text, "  Function: " + name.substr(0, 62) + "\n" +
                            std::string(12, ' ') + "nnnnnnnn\n"));
  EXPECT_TRUE(Has(text, "  Parameters: (" + param.substr(0, 59) + "\n" +
                            std::string(14, ' ') + "pppppp)\n"));
}

TEST_F(FunctionIdOutput, FunctionBeginInHtmlIsEscaped) {
  g().opt.notice_flag = 1;
  g().opt.html_flag = 1;
  std::string html = Open("bool operator<(A a)");
  EXPECT_TRUE(Has(html, "  <b>Function</b>: <b><font color=\"#0000FF\">"
                        "operator&lt;</font></b>\n"));
  EXPECT_TRUE(Has(html, "  <b>Parameters:</b> <b><font color=\"#006600\">"
                        "(A a)</font></b>\n"));
}

TEST_F(FunctionIdOutput, NothingPerFunctionInTotalsXmlAndWorkFileModes) {
  g().opt.notice_flag = 1;
  g().opt.function_list_flag = 0;
  for (int* flag : {&g().opt.totals_flag, &g().opt.xml_flag,
                    &g().opt.no_file_names, &g().opt.workfile_create}) {
    *flag = 1;
    Open("int f(int a)");
    function_end_output(Measure("f", "(int a)"), g());
    *flag = 0;
  }
  EXPECT_EQ("", out());
}

TEST_F(FunctionIdOutput, ListEntries) {
  g().opt.function_list_flag = 1;
  EXPECT_EQ("  main (void)\n", Open("int main(void)"));
  clear_function_candidate(g());
  EXPECT_EQ("  main (void)\n  template <class T> max (T a, T b)\n",
            Open("T max(T a, T b)", "<class T>"));
}

TEST_F(FunctionIdOutput, ListEntriesInOtherFormats) {
  g().opt.function_list_flag = 1;
  g().opt.csv_flag = 1;
  EXPECT_EQ("Function,f,(int a  int b)\n", Open("int f(int a, int b)"));
  g().opt.csv_flag = 0;
  g().opt.html_flag = 1;
  FunctionEntry e{"f", "(int a)", "<class T>", true, 3};
  write_function_entry(g(), e, true);
  EXPECT_TRUE(Has(out(), "  <b>Inline <font color=\"#0000FF\">f</font></b>"
                         " <b><font color=\"#006600\">(int a)</font></b>"
                         " <b>template</b> <b><font color=\"#006699\">"
                         "&lt;class T&gt;</font></b>\n"));
  g().opt.html_flag = 0;
  g().opt.xml_flag = 1;
  size_t before = out().size();
  write_function_entry(g(), {"f", "(int a)", "", false, 3}, true);
  write_function_entry(g(), {"f", "(int a)", "", false, 3}, false);  // none
  write_function_entry(g(), e, false);
  std::string xml = out().substr(before);
  EXPECT_EQ("<function>\n<line>3</line>\n<name>f</name>\n"
            "<parameters>(int a)</parameters>\n</function>\n"
            "<function>\n<state>inline</state>\n<line>3</line>\n<name>f</name>\n"
            "<parameters>(int a)</parameters>\n"
            "<template>&lt;class T&gt;</template>\n</function>\n",
            xml);
  EXPECT_EQ("", XmlNestingError(xml));
}

TEST_F(FunctionIdOutput, CommentDocumentationFramesTheEntry) {
  g().opt.extract_docs = 1;
  g().opt.notice_flag = 1;
  std::string text = Open("int f(int a)");
  EXPECT_TRUE(Has(text, "\n  Function: f\n  Parameters: (int a)\n  " +
                            std::string(72, '-') + "\n\n"));
  // Not when function analysis only serves the object metrics.
  g().opt.function_by_objects = 1;
  g().opt.notice_flag = 0;
  size_t before = out().size();
  Open("int g(int a)");
  function_end_output(Measure("g", "(int a)"), g());
  EXPECT_EQ("", out().substr(before));
}

TEST_F(FunctionIdOutput, ClosingOutput) {
  g().opt.notice_flag = 1;
  function_end_output(Measure("f", "(int a)"), g());
  EXPECT_EQ("\n  Function: f\n", out());
  g().opt.notice_flag = 0;
  FunctionMeasure m = Measure("Shape::area", "()", "<class T>");
  m.inline_flag = 1;
  function_end_output(m, g());
  EXPECT_TRUE(Has(out(), "  Inline Function: Shape::area\n  Parameters: ()\n"
                         "  Template: <class T>\n"));
  g().opt.html_flag = 1;
  g().file.name = "src/a.c";
  function_end_output(Measure("f", "(int a)"), g());
  EXPECT_TRUE(Has(out(), "  <b><a href=\"src/a.c\" target=\"_blank\">Function"
                         "</a></b>: <b><font color=\"#0000FF\">f</font></b>\n"));
  size_t before = out().size();
  g().opt.class_methods_flag = 1;  // -fm annotates methods elsewhere
  function_end_output(Measure("f", "(int a)"), g());
  EXPECT_EQ(before, out().size());
}

}  // namespace
}  // namespace vek
