#include "analysis/types.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/inheritance_tree.h"
#include "analysis/line_scanner.h"
#include "analysis/scan_test_util.h"
#include "common/type_record.h"
#include "driver/state.h"

namespace vek {
namespace {

// Type identification through the whole scan, with class metrics and
// function analysis on.  Sources are fed file by file as the file loop
// does: numbered lines, then the end of the file and the per-file reset.
class TypeTest : public ScanTest {
 protected:
  explicit TypeTest(SourceLanguage language = kCpp) : ScanTest(language) {
    g().opt.object_flag = 1;
    g().opt.function_flag = 1;
    g().file.name = "shapes.cpp";
  }

  // The lines of one file, without ending it.
  void Lines(const std::string& source) {
    size_t start = 0;
    while (start < source.size()) {
      size_t end = source.find('\n', start);
      end = end == std::string::npos ? source.size() : end + 1;
      std::string line = source.substr(start, end - start);
      analyse_line(line.data(), line.size(), ++g().file.line_number, g());
      start = end;
    }
  }

  // The end of a file: open packages close, the per-file state is reset.
  void EndFile() {
    types_file_end(g().file.line_number, g());
    reset_file_state(g());
    g().file.line_number = 0;
  }

  void File(const std::string& source) {
    Lines(source);
    EndFile();
  }

  // The class record of `name`; a blank record (and a failure) when there
  // is none, so that a missing record fails the test without a crash.
  const TypeRecord* Class(const std::string& name) {
    const TypeRecord* r = g().classes.Find(name);
    if (r != nullptr) return r;
    ADD_FAILURE() << "no class record " << name;
    return &missing_;
  }

  TypeRecord missing_;

  static std::vector<std::string> Names(const TypeList& list) {
    std::vector<std::string> names;
    for (const auto& r : list.items()) names.push_back(r->name);
    return names;
  }

  // The names of the recorded functions, in the order they closed.
  std::vector<std::string> Functions() {
    std::vector<std::string> names;
    for (const MetricsEntry& e : g().fn_report.functions.Entries())
      names.push_back(e.name);
    return names;
  }

  bool HasFunction(const std::string& name) {
    for (const auto& n : Functions())
      if (n == name) return true;
    return false;
  }

  static int Occurrences(const std::string& text, const std::string& what) {
    int n = 0;
    for (size_t p = text.find(what); p != std::string::npos;
         p = text.find(what, p + 1))
      ++n;
    return n;
  }
};

class TypeJava : public TypeTest {
 protected:
  TypeJava() : TypeTest(kJava) { g().file.name = "Zoo.java"; }
};

class TypeCSharp : public TypeTest {
 protected:
  TypeCSharp() : TypeTest(kCSharp) { g().file.name = "Repo.cs"; }
};

class TypeC : public TypeTest {
 protected:
  TypeC() : TypeTest(kC) { g().file.name = "point.c"; }
};

// --- Heads ---------------------------------------------------------------

TEST_F(TypeTest, NameAndBasesOfAHead) {
  File("class Shape : public Drawable, public Serializable {\n"
       "};\n");
  ASSERT_EQ(std::vector<std::string>{"Shape"}, Names(g().classes));
  const TypeRecord* r = Class("Shape");
  EXPECT_EQ("Drawable,Serializable", r->bases);
  EXPECT_EQ(2, r->base_count);
  EXPECT_EQ(0, r->struct_flag);
  EXPECT_EQ(1, r->line);
  EXPECT_EQ("shapes.cpp", r->file);
  EXPECT_NE(std::string::npos,
            out().find("  Class: Shape\n  Inheritance: Drawable,Serializable\n"));
}

TEST_F(TypeTest, HeadSpreadOverLinesAndNameOnTheNextLine) {
  File("class Shape\n"
       "  : public Base\n"
       "{\n"
       "};\n"
       "class\n"
       "Widget {\n"
       "};\n"
       "struct Point : Base<int, long>, Other {\n"
       "};\n");
  EXPECT_EQ((std::vector<std::string>{"Shape", "Widget", "Point"}),
            Names(g().classes));
  EXPECT_EQ("Base", Class("Shape")->bases);
  EXPECT_EQ(1, Class("Shape")->base_count);
  EXPECT_EQ("", Class("Widget")->bases);
  EXPECT_EQ(1, Class("Widget")->base_count);
  // A comma inside template arguments separates no bases.
  EXPECT_EQ(2, Class("Point")->base_count);
  EXPECT_EQ(1, Class("Point")->struct_flag);
}

TEST_F(TypeTest, TemplatePrefixGoesWithTheClass) {
  File("template <class T> class Stack {\n"
       "  T* top;\n"
       "};\n"
       "class Plain {\n"
       "};\n");
  ASSERT_NE(nullptr, g().classes.Find("Stack"));
  const std::string& templ = Class("Stack")->templ;
  EXPECT_NE(std::string::npos, templ.find("class T")) << templ;
  EXPECT_EQ(std::string::npos, templ.find("Stack")) << templ;
  // The prefix is taken once: the next class has none.
  ASSERT_NE(nullptr, g().classes.Find("Plain"));
  EXPECT_EQ("", Class("Plain")->templ);
  EXPECT_NE(std::string::npos, out().find("  Class: Stack\n  Template: "));
}

TEST_F(TypeTest, TemplateHeadOverLinesAndMethodsOutsideTheClass) {
  File("template <typename K,\n"
       "          typename V>\n"
       "class Map {\n"
       "};\n"
       "template <typename K, typename V>\n"
       "V Map<K, V>::find(K k)\n"
       "{\n"
       "  return V();\n"
       "}\n");
  // The template head is taken up to its line end.
  EXPECT_EQ(0u, Class("Map")->templ.find("<typename K,"));
  // Map<K,V>::find is a method of Map.
  EXPECT_EQ(1.0, Class("Map")->methods.count);
  EXPECT_EQ(std::vector<std::string>{"Map"}, Names(g().classes));
}

TEST_F(TypeTest, ExportMacroBeforeTheName) {
  File("#define EXPORT_API\n"
       "class EXPORT_API Widget : public Base {\n"
       "};\n"
       "struct [[nodiscard]] Result {\n"
       "};\n");
  EXPECT_EQ((std::vector<std::string>{"Widget", "Result"}),
            Names(g().classes));
  EXPECT_EQ("Base", Class("Widget")->bases);
}

TEST_F(TypeTest, MacroWithArgumentsBeforeTheName) {
  File("#define ALIGNED(n)\n"
       "class ALIGNED(16) Packet : public Base {\n"
       "  int size;\n"
       "};\n"
       "struct alignas(16) Vec {\n"
       "};\n");
  EXPECT_EQ((std::vector<std::string>{"Packet", "Vec"}), Names(g().classes));
  EXPECT_EQ("Base", Class("Packet")->bases);
  EXPECT_EQ(1, Class("Packet")->data_counts.priv);
}

TEST_F(TypeTest, ForwardDeclarationsCreateNothing) {
  File("class Fwd;\n"
       "struct Node;\n"
       "struct Node *head;\n"
       "class Fwd {\n"
       "};\n");
  EXPECT_EQ(std::vector<std::string>{"Fwd"}, Names(g().classes));
  EXPECT_EQ(4, Class("Fwd")->line);  // the line of the definition
}

TEST_F(TypeJava, ExtendsAndImplements) {
  File("class Dog extends Animal implements Pet {\n"
       "}\n"
       "class Cat implements Pet, Comparable<Cat> {\n"
       "}\n"
       "interface Runnable {\n"
       "  void run();\n"
       "}\n");
  EXPECT_EQ((std::vector<std::string>{"Dog", "Cat"}), Names(g().classes));
  EXPECT_EQ("Animal", Class("Dog")->bases);
  EXPECT_EQ("Pet,Comparable<Cat>", Class("Cat")->bases);
  EXPECT_EQ(2, Class("Cat")->base_count);
  EXPECT_EQ(std::vector<std::string>{"Interface-Runnable"},
            Names(g().interfaces));
  ASSERT_NE(nullptr, g().interfaces.Find("Interface-Runnable"));
  EXPECT_EQ(1, g().interfaces.Find("Interface-Runnable")->interface_flag);
  // Outputs show an interface without its prefix.
  EXPECT_NE(std::string::npos, out().find("  Interface: Runnable\n"));
  EXPECT_EQ(std::string::npos, out().find("Interface-"));
}

TEST_F(TypeCSharp, GenericConstraintsAreNoBases) {
  File("public class Repo<T> : IRepo<T>, IDisposable where T : IComparable<T> {\n"
       "}\n");
  ASSERT_EQ(std::vector<std::string>{"Repo<T>"}, Names(g().classes));
  EXPECT_EQ("IRepo<T>,IDisposable", Class("Repo<T>")->bases);
  EXPECT_EQ(2, Class("Repo<T>")->base_count);
}

TEST_F(TypeCSharp, ClassAndStructConstraints) {
  File("public class Repo<T> : IRepo<T> where T : class {\n"
       "  public void Add(T item) {\n"
       "  }\n"
       "}\n"
       "struct Cell<T> where T : struct {\n"
       "  int n;\n"
       "}\n");
  EXPECT_EQ((std::vector<std::string>{"Repo<T>", "Cell<T>"}),
            Names(g().classes));
  EXPECT_EQ("IRepo<T>", Class("Repo<T>")->bases);
  EXPECT_EQ(1, Class("Repo<T>")->method_counts.pub);
  EXPECT_EQ(1, Class("Cell<T>")->data_counts.pub);  // structs default to public
}

TEST_F(TypeC, StructsOfCFiles) {
  File("struct point {\n"
       "  int x, y;\n"
       "};\n"
       "struct point *origin(void)\n"
       "{\n"
       "  return 0;\n"
       "}\n");
  EXPECT_EQ(std::vector<std::string>{"point"}, Names(g().classes));
  EXPECT_EQ(2, Class("point")->data_counts.pub);
  EXPECT_TRUE(HasFunction("origin"));
}

TEST_F(TypeC, StructInitializerIsNoTypeBody) {
  File("struct point p = { 1, 2 };\n"
       "int f(int x)\n"
       "{\n"
       "  return x;\n"
       "}\n"
       "struct size {\n"
       "  int w;\n"
       "};\n");
  EXPECT_EQ(std::vector<std::string>{"size"}, Names(g().classes));
  EXPECT_EQ(1, Class("size")->data_counts.pub);
  EXPECT_EQ(std::vector<std::string>{"f"}, Functions());
}

// --- Nesting and qualification --------------------------------------------

TEST_F(TypeTest, NestedClassMethodsCountForEveryEnclosingType) {
  File("class Outer {\n"
       "public:\n"
       "  class Inner {\n"
       "  public:\n"
       "    int get(int x) {\n"
       "      if (x) return 1;\n"
       "      return 0;\n"
       "    }\n"
       "  };\n"
       "  void run() {}\n"
       "};\n");
  EXPECT_EQ((std::vector<std::string>{"Outer", "Outer::Inner"}),
            Names(g().classes));
  EXPECT_EQ((std::vector<std::string>{"Outer::Inner::get", "Outer::run"}),
            Functions());
  const TypeRecord* inner = Class("Outer::Inner");
  const TypeRecord* outer = Class("Outer");
  EXPECT_EQ(1.0, inner->methods.count);
  EXPECT_EQ(2, inner->methods.cyclomatic);
  EXPECT_EQ(1, inner->methods.params);
  EXPECT_EQ(2.0, outer->methods.count);
  EXPECT_EQ(3, outer->methods.cyclomatic);
  // The nested type's public method is a public method of Outer too.
  EXPECT_EQ(1, inner->method_counts.pub);
  EXPECT_EQ(2, outer->method_counts.pub);
  EXPECT_EQ(0, outer->method_counts.priv);
  EXPECT_EQ(1, inner->nesting);
  EXPECT_EQ(0, outer->nesting);
  EXPECT_NE(std::string::npos, out().find("  Nested Class: Outer::Inner\n"));
}

TEST_F(TypeTest, NestedAccessReturnsToTheOuterLevel) {
  // After Inner closes, Outer's members are private again.
  File("class Outer {\n"
       "  struct Inner {\n"
       "    int a;\n"
       "  };\n"
       "  int b;\n"
       "};\n");
  EXPECT_EQ(1, Class("Outer::Inner")->data_counts.pub);
  EXPECT_EQ(1, Class("Outer")->data_counts.priv);
  EXPECT_EQ(1, Class("Outer")->data_counts.pub);  // Inner's member
}

TEST_F(TypeTest, NamespaceQualifiesClassesAndMethods) {
  File("namespace gfx {\n"
       "class Shape {\n"
       "public:\n"
       "  void draw() {}\n"
       "};\n"
       "int helper(int x)\n"
       "{\n"
       "  return x;\n"
       "}\n"
       "}\n"
       "void gfx::Shape::resize(int w)\n"
       "{\n"
       "}\n");
  EXPECT_EQ(std::vector<std::string>{"gfx::Shape"}, Names(g().classes));
  EXPECT_EQ(std::vector<std::string>{"gfx"}, Names(g().namespaces));
  EXPECT_TRUE(HasFunction("gfx::Shape::draw"));
  EXPECT_TRUE(HasFunction("gfx::helper"));
  EXPECT_TRUE(HasFunction("gfx::Shape::resize"));
  // A function of the namespace is no method: no class "gfx" appears.
  EXPECT_EQ(2.0, Class("gfx::Shape")->methods.count);
}

TEST_F(TypeTest, MethodsDefinedOutsideTheirClass) {
  File("class Shape {\n"
       "  void draw();\n"
       "};\n"
       "void Shape::draw()\n"
       "{\n"
       "  if (a) b();\n"
       "}\n"
       "bool Shape::operator==(const Shape& o) const\n"
       "{\n"
       "  return true;\n"
       "}\n"
       "int Ghost::walk(int a, int b)\n"
       "{\n"
       "  return a;\n"
       "}\n");
  EXPECT_EQ(2.0, Class("Shape")->methods.count);
  EXPECT_EQ(3, Class("Shape")->methods.cyclomatic);
  // An unknown qualifier becomes a class of its own.
  ASSERT_NE(nullptr, g().classes.Find("Ghost"));
  EXPECT_EQ(1.0, Class("Ghost")->methods.count);
  EXPECT_EQ(2, Class("Ghost")->methods.params);
}

TEST_F(TypeJava, PackageQualifiesNestedClassesAndMethods) {
  File("package pkg;\n"
       "class Outer {\n"
       "  class Inner {\n"
       "    void f() {\n"
       "    }\n"
       "  }\n"
       "}\n");
  EXPECT_EQ((std::vector<std::string>{"pkg.Outer", "pkg.Outer.Inner"}),
            Names(g().classes));
  EXPECT_EQ(std::vector<std::string>{"pkg.Outer.Inner.f"}, Functions());
  EXPECT_EQ(1.0, Class("pkg.Outer.Inner")->methods.count);
  EXPECT_EQ(1.0, Class("pkg.Outer")->methods.count);
}

TEST_F(TypeJava, DottedPackageName) {
  File("package org.zoo;\n"
       "public class Animal {\n"
       "  public void feed(int n) {\n"
       "  }\n"
       "}\n");
  EXPECT_EQ(std::vector<std::string>{"org.zoo"}, Names(g().namespaces));
  EXPECT_EQ(std::vector<std::string>{"org.zoo.Animal"}, Names(g().classes));
  EXPECT_EQ(std::vector<std::string>{"org.zoo.Animal.feed"}, Functions());
  EXPECT_EQ(1.0, Class("org.zoo.Animal")->methods.count);
}

TEST_F(TypeCSharp, NamespaceAndNestedClasses) {
  File("namespace Ns {\n"
       "  class Outer {\n"
       "    class Inner {\n"
       "      void F() {\n"
       "      }\n"
       "    }\n"
       "  }\n"
       "}\n");
  EXPECT_EQ((std::vector<std::string>{"Ns.Outer", "Ns.Outer.Inner"}),
            Names(g().classes));
  EXPECT_EQ(std::vector<std::string>{"Ns.Outer.Inner.F"}, Functions());
  EXPECT_EQ(1.0, Class("Ns.Outer.Inner")->methods.count);
  EXPECT_EQ(1.0, Class("Ns.Outer")->methods.count);
}

// --- Access and members ----------------------------------------------------

TEST_F(TypeTest, DefaultAccessAndLabels) {
  File("struct P {\n"
       "  int x;\n"
       "  void f();\n"
       "};\n"
       "class C {\n"
       "  int x;\n"
       "  void f();\n"
       "public:\n"
       "  int y;\n"
       "  void g() {}\n"
       "protected:\n"
       "  int z;\n"
       "private:\n"
       "  int w;\n"
       "};\n");
  const TypeRecord* p = Class("P");
  EXPECT_EQ(1, p->data_counts.pub);
  EXPECT_EQ(1, p->method_counts.pub);
  EXPECT_EQ(0, p->data_counts.priv + p->method_counts.priv);
  const TypeRecord* c = Class("C");
  EXPECT_EQ(2, c->data_counts.priv);
  EXPECT_EQ(1, c->data_counts.pub);
  EXPECT_EQ(1, c->data_counts.prot);
  EXPECT_EQ(1, c->method_counts.priv);
  EXPECT_EQ(1, c->method_counts.pub);
  EXPECT_EQ(0, c->method_counts.prot);
}

TEST_F(TypeTest, DeclaratorsAndDeclarations) {
  File("class D {\n"
       "  int a, b, c;\n"
       "  int d = f(1, 2), e;\n"
       "  std::map<int, int> m;\n"
       "  int arr[3] = {1, 2, 3};\n"
       "  virtual void draw() = 0;\n"
       "  virtual ~D();\n"
       "  static const int k = 4;\n"
       "  typedef int size_type;\n"
       "  friend class E;\n"
       "  using base = int;\n"
       "  enum Color { kRed, kGreen };\n"
       "  D() = default;\n"
       "  D(const D&) = delete;\n"
       "  bool operator==(const D& o) const;\n"
       "};\n");
  const TypeRecord* d = Class("D");
  // a, b, c; d, e; m; arr; k.
  EXPECT_EQ(8, d->data_counts.priv);
  // draw, ~D, the two constructors and operator==.
  EXPECT_EQ(5, d->method_counts.priv);
  EXPECT_EQ(0, d->data_counts.pub + d->method_counts.pub);
  // The enum is no type of its own.
  EXPECT_EQ(std::vector<std::string>{"D"}, Names(g().classes));
}

TEST_F(TypeTest, ParenthesesInTemplateArgumentsMakeNoMethod) {
  g().opt.class_methods_flag = 1;
  File("class Button {\n"
       "  std::function<void(int)> on_click;\n"
       "  std::function<int(int, int)> cmp, order;\n"
       "};\n");
  EXPECT_EQ(3, Class("Button")->data_counts.priv);
  EXPECT_EQ(0, Class("Button")->method_counts.Total());
  EXPECT_NE(std::string::npos,
            out().find("  Class Data Private    :     2 | "
                       "std::function<void(int)> on_click\n"))
      << out();
}

TEST_F(TypeTest, ScopedEnumsAndOneLineClasses) {
  File("enum class Mode { kOn, kOff };\n"
       "class Box final : public Base {\n"
       "  enum class Side : int { kLeft, kRight };\n"
       "  int w;\n"
       "};\n"
       "struct Pair { int a; void swap() {} };\n"
       "class Q { class R { int a; }; int b; };\n"
       "extern \"C\" {\n"
       "struct S { int a; };\n"
       "}\n"
       "void local(void)\n"
       "{\n"
       "  struct L { int a; };\n"
       "}\n"
       "int after(int x)\n"
       "{\n"
       "  return x;\n"
       "}\n");
  // A type inside a function body is no class of the project.
  EXPECT_EQ((std::vector<std::string>{"Box", "Pair", "Q", "Q::R", "S"}),
            Names(g().classes));
  EXPECT_EQ(1, Class("Q::R")->data_counts.priv);
  EXPECT_EQ(2, Class("Q")->data_counts.priv);
  EXPECT_EQ(1, Class("S")->data_counts.pub);
  EXPECT_EQ("Base", Class("Box")->bases);
  EXPECT_EQ(1, Class("Box")->data_counts.priv);
  EXPECT_EQ(1, Class("Pair")->data_counts.pub);
  EXPECT_EQ(1, Class("Pair")->method_counts.pub);
  EXPECT_EQ(1.0, Class("Pair")->methods.count);
  EXPECT_EQ((std::vector<std::string>{"Pair::swap", "local", "after"}),
            Functions());
}

TEST_F(TypeTest, MemberDeclarationsOverSeveralLines) {
  File("class Span {\n"
       "  int first,\n"
       "      second;\n"
       "  void resize(int w,\n"
       "              int h);\n"
       "  int inline_one() const\n"
       "  {\n"
       "    return 1;\n"
       "  }\n"
       "  int after;\n"
       "  Span(int a) : first(a), second(0) {}\n"
       "  int last;\n"
       "};\n");
  const TypeRecord* s = Class("Span");
  EXPECT_EQ(4, s->data_counts.priv);
  EXPECT_EQ(3, s->method_counts.priv);
}

TEST_F(TypeJava, ModifiersBelongToOneMember) {
  File("class A {\n"
       "  public int x;\n"
       "  int y;\n"
       "  protected int z;\n"
       "  private void f() {\n"
       "  }\n"
       "  public void g() {\n"
       "  }\n"
       "  void h() {\n"
       "  }\n"
       "}\n"
       "interface I {\n"
       "  void run();\n"
       "}\n");
  const TypeRecord* a = Class("A");
  EXPECT_EQ(1, a->data_counts.pub);
  EXPECT_EQ(1, a->data_counts.priv);
  EXPECT_EQ(1, a->data_counts.prot);
  EXPECT_EQ(1, a->method_counts.pub);
  EXPECT_EQ(2, a->method_counts.priv);
  // Interface members are private by default.
  const TypeRecord* i = g().interfaces.Find("Interface-I");
  ASSERT_NE(nullptr, i);
  EXPECT_EQ(1, i->method_counts.priv);
  EXPECT_EQ(0, i->data_counts.Total());
}

TEST_F(TypeCSharp, ModifiersBelongToOneMember) {
  File("class B {\n"
       "  public int X;\n"
       "  int y;\n"
       "  public void Go() {\n"
       "  }\n"
       "  void Stay() {\n"
       "  }\n"
       "}\n");
  const TypeRecord* b = Class("B");
  EXPECT_EQ(1, b->data_counts.pub);
  EXPECT_EQ(1, b->data_counts.priv);
  EXPECT_EQ(1, b->method_counts.pub);
  EXPECT_EQ(1, b->method_counts.priv);
}

TEST_F(TypeTest, SameClassInTwoFilesHasOneRecord) {
  const std::string source =
      "class Shape {\n"
      "public:\n"
      "  int a;\n"
      "  void f() {\n"
      "  }\n"
      "};\n";
  File(source);
  g().file.name = "other.cpp";
  File(source);
  ASSERT_EQ(std::vector<std::string>{"Shape"}, Names(g().classes));
  const TypeRecord* r = Class("Shape");
  EXPECT_EQ("shapes.cpp", r->file);
  EXPECT_EQ(2, r->data_counts.pub);
  EXPECT_EQ(2, r->method_counts.pub);
  EXPECT_EQ(2.0, r->methods.count);
  EXPECT_EQ(12, r->size.loc);
  // Looked up without regard to case.
  EXPECT_EQ(r, Class("SHAPE"));
}

// --- Namespaces ------------------------------------------------------------

TEST_F(TypeTest, NestedNamespaces) {
  File("namespace a {\n"
       "namespace b {\n"
       "class C {\n"
       "};\n"
       "}\n"
       "class D {\n"
       "};\n"
       "}\n"
       "namespace x::y {\n"
       "class E {\n"
       "};\n"
       "}\n"
       "class Top {\n"
       "};\n");
  EXPECT_EQ((std::vector<std::string>{"a", "a::b", "x::y"}),
            Names(g().namespaces));
  EXPECT_EQ((std::vector<std::string>{"a::b::C", "a::D", "x::y::E", "Top"}),
            Names(g().classes));
  const std::string o = out();
  EXPECT_NE(std::string::npos, o.find("  Namespace Begin: a\n"));
  EXPECT_NE(std::string::npos, o.find("  Nested Namespace Begin: a::b\n"));
  EXPECT_NE(std::string::npos, o.find("  Nested Namespace End: a::b\n"));
  EXPECT_NE(std::string::npos, o.find("  Namespace End: a\n"));
}

TEST_F(TypeTest, AnonymousNamespaceAndDirectives) {
  File("using namespace std;\n"
       "namespace fs = std::filesystem;\n"
       "namespace {\n"
       "class Hidden {\n"
       "};\n"
       "int helper(int x)\n"
       "{\n"
       "  return x;\n"
       "}\n"
       "}\n");
  EXPECT_TRUE(g().namespaces.empty());
  EXPECT_EQ(0, k().namespace_count);
  EXPECT_EQ(std::vector<std::string>{"Hidden"}, Names(g().classes));
  EXPECT_EQ(std::vector<std::string>{"helper"}, Functions());
  EXPECT_NE(std::string::npos,
            out().find("  Namespace Begin: Anonymous - File Scope\n"));
}

TEST_F(TypeTest, NamespaceCountCountsNewNamesOnly) {
  Lines("namespace a {\n"
        "}\n"
        "namespace a {\n"
        "}\n"
        "namespace b {\n"
        "}\n");
  EXPECT_EQ(2, k().namespace_count);
  EndFile();
  Lines("namespace a {\n"
        "}\n");
  EXPECT_EQ(0, k().namespace_count);
  EndFile();
  EXPECT_EQ(2u, g().namespaces.count());
}

TEST_F(TypeJava, PackageEndsWithItsFile) {
  Lines("package org.zoo;\n"
        "class A {\n"
        "}\n");
  EXPECT_EQ(1, k().package_count);
  EXPECT_EQ(0, k().namespace_count);
  EndFile();
  File("class B {\n"
       "  void f() {\n"
       "  }\n"
       "}\n");
  EXPECT_EQ((std::vector<std::string>{"org.zoo.A", "B"}), Names(g().classes));
  EXPECT_EQ(std::vector<std::string>{"B.f"}, Functions());
  const std::string o = out();
  EXPECT_NE(std::string::npos, o.find("  Package Begin: org.zoo\n"));
  EXPECT_EQ(1, Occurrences(o, "  Package End: org.zoo\n"));
}

TEST_F(TypeCSharp, FileScopedNamespace) {
  Lines("namespace Zoo.Keeper;\n"
        "class C {\n"
        "  void F() {\n"
        "  }\n"
        "}\n");
  EXPECT_EQ(1, k().namespace_count);
  EndFile();
  File("class D {\n"
       "}\n");
  EXPECT_EQ(std::vector<std::string>{"Zoo.Keeper"}, Names(g().namespaces));
  EXPECT_EQ((std::vector<std::string>{"Zoo.Keeper.C", "D"}),
            Names(g().classes));
  EXPECT_EQ(std::vector<std::string>{"Zoo.Keeper.C.F"}, Functions());
  EXPECT_EQ(1, Occurrences(out(), "  Namespace End: Zoo.Keeper\n"));
}

// --- Bad input -------------------------------------------------------------

TEST_F(TypeTest, TypesNestedBeyondTheStack) {
  std::string src;
  for (int i = 0; i < 40; ++i) src += "class C" + std::to_string(i) + " {\n";
  src += "  int deep;\n";
  for (int i = 0; i < 40; ++i) src += "};\n";
  src += "int after(int x)\n{\n  return x;\n}\nclass Tail {\n};\n";
  File(src);
  EXPECT_TRUE(HasFunction("after")) << ::testing::PrintToString(Functions());
  EXPECT_NE(nullptr, g().classes.Find("C0"));
  EXPECT_NE(nullptr, g().classes.Find("C0::C1"));
  EXPECT_NE(nullptr, g().classes.Find("Tail"));  // no enclosing type is left open
  EXPECT_FALSE(g().fs.class_open_flag);
}

TEST_F(TypeTest, NamespacesNestedBeyondTheStack) {
  std::string src;
  for (int i = 0; i < 40; ++i) src += "namespace n" + std::to_string(i) + " {\n";
  for (int i = 0; i < 40; ++i) src += "}\n";
  src += "int after(int x)\n{\n  return x;\n}\nclass Tail {\n};\n";
  File(src);
  EXPECT_EQ(std::vector<std::string>{"after"}, Functions());
  EXPECT_NE(nullptr, g().classes.Find("Tail"));
  EXPECT_NE(nullptr, g().namespaces.Find("n0::n1"));
}

TEST_F(TypeTest, StrayClosingBrace) {
  File("}\n"
       "class A {\n"
       "  void f() {\n"
       "  }\n"
       "};\n");
  EXPECT_EQ(1, Occurrences(out(), "\n  Error: Nested Class indexing\n"));
  ASSERT_NE(nullptr, g().classes.Find("A"));
  EXPECT_EQ(1.0, Class("A")->methods.count);
  EXPECT_EQ(1, Class("A")->method_counts.priv);
}

TEST_F(TypeTest, StrayClosingBraceAfterAClass) {
  File("class A {\n"
       "};\n"
       "}\n"
       "int after(int x)\n"
       "{\n"
       "  return x;\n"
       "}\n");
  EXPECT_EQ(1, Occurrences(out(), "\n  Error: Nested Class indexing\n"));
  EXPECT_EQ(std::vector<std::string>{"after"}, Functions());
}

TEST_F(TypeTest, StrayClosingBraceWithoutClassMetricsIsSilent) {
  g().opt.object_flag = 0;
  File("}\nint f(int x)\n{\n  return x;\n}\n");
  EXPECT_EQ(std::string::npos, out().find("Nested Class indexing"));
  EXPECT_EQ(std::vector<std::string>{"f"}, Functions());
}

TEST_F(TypeTest, LongHeads) {
  // A base list far longer than a line.
  std::string src = "class Big\n";
  for (int i = 0; i < 150; ++i)
    src += std::string(i == 0 ? "  : " : "  , ") + "public Base" +
           std::to_string(i) + "\n";
  src += "{\n  void f() {\n  }\n};\n";
  // A name longer than a line buffer.
  std::string huge(3000, 'N');
  src += "class " + huge + " {\n};\n";
  src += "int after(int x)\n{\n  return x;\n}\n";
  File(src);
  const TypeRecord* big = Class("Big");
  ASSERT_NE(nullptr, big);
  EXPECT_EQ(0u, big->bases.find("Base0,Base1,"));
  EXPECT_EQ(1.0, big->methods.count);
  ASSERT_EQ(2u, g().classes.count());
  const TypeRecord* named = g().classes.items().list_at(1);
  EXPECT_LT(named->name.size(), 2048u);
  EXPECT_EQ(0u, named->name.find("NNNN"));
  EXPECT_TRUE(HasFunction("after"));
}

TEST_F(TypeTest, FilesEndingInsideTypeHeadsAndBodies) {
  File("int x;\nclass");
  File("int y;\nstruct\n");
  File("namespace open {\nclass Left {\n  int x;\n");
  File("class B {\n"
       "  int a;\n"
       "};\n");
  // Nothing of the earlier files encloses B.
  EXPECT_EQ((std::vector<std::string>{"open::Left", "B"}), Names(g().classes));
  EXPECT_EQ(1, Class("B")->data_counts.priv);
}

TEST_F(TypeTest, UnbalancedAngleInHeads) {
  File("class Odd : public Base<int {\n"
       "  void f() {\n"
       "  }\n"
       "};\n"
       "class Half<T : public B {\n"
       "};\n"
       "int after(int x)\n"
       "{\n"
       "  return x;\n"
       "}\n");
  ASSERT_NE(nullptr, g().classes.Find("Odd"));
  EXPECT_EQ(1, Class("Odd")->base_count);
  EXPECT_EQ(1.0, Class("Odd")->methods.count);
  EXPECT_TRUE(HasFunction("after"));
  EXPECT_FALSE(g().fs.class_open_flag);
}

TEST(TypeBaseCount, CommasOutsideAngles) {
  EXPECT_EQ(1, BaseCount(""));
  EXPECT_EQ(1, BaseCount("A"));
  EXPECT_EQ(3, BaseCount("A,B,C"));
  EXPECT_EQ(2, BaseCount("Map<K,V>,B"));
  EXPECT_EQ(1, BaseCount("Broken<K,V"));
}

// --- Outputs -----------------------------------------------------------------

TEST_F(TypeTest, MemberListing) {
  g().opt.class_methods_flag = 1;
  File("class Shape {\n"
       "public:\n"
       "  void draw(int x) {\n"
       "  }\n"
       "  int area() const;\n"
       "protected:\n"
       "  double scale;\n"
       "private:\n"
       "  int w, h;\n"
       "};\n");
  const std::string o = out();
  EXPECT_NE(std::string::npos,
            o.find("  Class Method Public   :     3 | Shape::draw(int x)\n"))
      << o;
  EXPECT_NE(std::string::npos,
            o.find("  Class Method Public   :     5 | Shape::area()\n"))
      << o;
  EXPECT_NE(std::string::npos,
            o.find("  Class Data Protected  :     7 | double scale\n"))
      << o;
  EXPECT_NE(std::string::npos,
            o.find("  Class Data Private    :     9 | int w, h\n"))
      << o;
  EXPECT_EQ(2, Occurrences(o, "  Class Method "));
  EXPECT_EQ(2, Occurrences(o, "  Class Data "));
}

TEST_F(TypeTest, MemberListingHtml) {
  g().opt.class_methods_flag = 1;
  g().opt.html_flag = 1;
  File("struct P {\n"
       "  std::vector<int> v;\n"
       "};\n");
  EXPECT_NE(std::string::npos,
            out().find("  <i>Class Data Public     :     2 | "
                       "std::vector&lt;int&gt; v</i>\n"))
      << out();
}

TEST_F(TypeTest, BeginAndEndLinesUnderNotices) {
  g().opt.notice_flag = 1;
  File("struct S {\n"
       "  struct T {\n"
       "  };\n"
       "};\n");
  const std::string o = out();
  size_t begin = o.find("Struct Begin");
  size_t nested = o.find("Nested Struct Begin");
  size_t nested_end = o.find("Nested Struct End");
  size_t end = o.rfind("Struct End");
  EXPECT_NE(std::string::npos, begin);
  EXPECT_NE(std::string::npos, nested);
  EXPECT_LT(nested, nested_end);
  EXPECT_LT(nested_end, end);
  EXPECT_NE(std::string::npos, o.find("\n  Nested Struct: S::T\n"));
}

// The notices of types: at a body's opening brace (#52 to #54, #42), from
// the data members (#34 to #36), and at the closing brace (#31, #16, #46,
// #37, #39 with -o and -n), each where its condition holds and not where
// it does not.
TEST_F(TypeTest, TypeNoticesAtTheirPlaces) {
  g().opt.notice_flag = 1;
  g().cfg.max_class_methods = 2;
  File("class Bare : public A, public B {\n"  // 1: #52, #42
       "public:\n"
       "  int open;\n"                          // 3: #35
       "  virtual void f();\n"
       "  void g();\n"
       "  void h();\n"
       "protected:\n"
       "  char *name;\n"                        // 8: #34, #36
       "};\n"                                   // 9: #37, #39
       "// A described base.\n"
       "class Described : public Tmpl<A, B> {\n" // 11: no #52, no #42
       "  int hidden;\n"                        // private: nothing
       "public:\n"
       "  virtual ~Described();\n"
       "  virtual void f();\n"
       "};\n"                                   // 16: no #37
       "struct Plain {\n"                       // 17: #53
       "  int x;\n"                             // struct data: nothing
       "};\n");
  auto lines = [&](int n) {
    std::vector<int> at;
    for (const auto& [number, line] : trace_)
      if (number == n) at.push_back(line);
    return at;
  };
  EXPECT_EQ(std::vector<int>{1}, lines(52));
  EXPECT_EQ(std::vector<int>{1}, lines(42));
  EXPECT_EQ(std::vector<int>{17}, lines(53));
  EXPECT_EQ(std::vector<int>{3}, lines(35));
  EXPECT_EQ(std::vector<int>{8}, lines(34));
  EXPECT_EQ(std::vector<int>{8}, lines(36));
  EXPECT_EQ(std::vector<int>{9}, lines(37));
  EXPECT_EQ(std::vector<int>{9}, lines(39));
  // Without -o the type-end checks stay silent; the others do not.
  trace_.clear();
  g().opt.object_flag = 0;
  File("class Bare {\n  virtual void f();\n};\n");
  EXPECT_TRUE(lines(37).empty());
  EXPECT_EQ(std::vector<int>{1}, lines(52));
}

TEST_F(TypeJava, InterfaceWithoutCommentRaises54) {
  File("package p;\ninterface Shape {\n  void draw();\n}\n"
       "/** Described. */\ninterface Named {\n  String name();\n}\n");
  std::vector<int> at;
  for (const auto& [number, line] : trace_)
    if (number == 54) at.push_back(line);
  EXPECT_EQ(std::vector<int>{2}, at);
}


// --- Heads that once lost their bodies -----------------------------------

TEST_F(TypeTest, ParenthesesInTheBaseListMakeNoFunction) {
  File("class Buffer : public Storage<(N > 64)> {\n"
       "public:\n"
       "  int size() const { return n; }\n"
       "  int n;\n"
       "};\n"
       "class C : public MAKE_BASE(D), private Other {\n"
       "  void run() {}\n"
       "};\n"
       "struct Flag : std::integral_constant<bool, sizeof(T) == 4> {\n"
       "  bool on() { return true; }\n"
       "};\n");
  EXPECT_EQ((std::vector<std::string>{"Buffer", "C", "Flag"}),
            Names(g().classes));
  EXPECT_EQ((std::vector<std::string>{"Buffer::size", "C::run", "Flag::on"}),
            Functions());
  EXPECT_EQ("Storage<(N>64)>", Class("Buffer")->bases);
  EXPECT_EQ(1, Class("Buffer")->method_counts.pub);
  EXPECT_EQ(1, Class("Buffer")->data_counts.pub);
  EXPECT_EQ("MAKE_BASE(D),Other", Class("C")->bases);
  EXPECT_EQ(2, Class("C")->base_count);
}

TEST_F(TypeTest, StructReturnTypeStillGivesTheHeadUp) {
  File("struct node *lookup(struct node *head, int key) {\n"
       "  return head;\n"
       "}\n"
       "struct pair make_pair(int a) {\n"
       "  return p;\n"
       "}\n");
  EXPECT_TRUE(Names(g().classes).empty());
  EXPECT_EQ((std::vector<std::string>{"lookup", "make_pair"}), Functions());
}

TEST_F(TypeCSharp, ConstructorConstraintInTheHead) {
  File("class Pool<T> where T : new() {\n"
       "  T Make() { return new T(); }\n"
       "}\n");
  EXPECT_EQ(std::vector<std::string>{"Pool<T>"}, Names(g().classes));
  EXPECT_EQ(std::vector<std::string>{"Pool<T>.Make"}, Functions());
}

TEST_F(TypeC, TypedefStructDefinesTheStruct) {
  Lines("typedef struct point {\n"
       "  int x;\n"
       "  int y;\n"
       "} point_t;\n"
       "typedef struct { int w, h; } size_t2;\n"
       "typedef struct point *point_ref;\n"
       "int area(point_t p)\n"
       "{\n"
       "  return p.x;\n"
       "}\n");
  EXPECT_EQ(2, g().counters.struct_count);  // the anonymous one counts too
  EXPECT_EQ(3, g().counters.typedef_count);
  EndFile();
  ASSERT_EQ(std::vector<std::string>{"point"}, Names(g().classes));
  const TypeRecord* r = Class("point");
  EXPECT_EQ(1, r->struct_flag);
  EXPECT_EQ(2, r->data_counts.pub);
  EXPECT_EQ(std::vector<std::string>{"area"}, Functions());
}

TEST_F(TypeTest, TypedefStructMembersAreNoTypedefs) {
  File("typedef struct Counter {\n"
       "  int next() { return ++n; }\n"
       "  int n;\n"
       "} Counter_t;\n"
       "typedef class Hidden { int x; } Hidden_t;\n");
  // A typedef holds back "class" alone.
  EXPECT_EQ(std::vector<std::string>{"Counter"}, Names(g().classes));
  EXPECT_EQ(std::vector<std::string>{"Counter::next"}, Functions());
  EXPECT_EQ(1, Class("Counter")->method_counts.pub);
  EXPECT_EQ(1, Class("Counter")->data_counts.pub);
}

TEST_F(TypeTest, TemplateHeadWithoutBlankBeforeTheKeyword) {
  File("template<typename T>class Box {\n"
       "public:\n"
       "  T get() const { return v; }\n"
       "  T v;\n"
       "};\n"
       "template<class A, class B>struct Pair {\n"
       "  A first() { return a; }\n"
       "};\n"
       "template<class T>union Slot {\n"
       "  T get() { return t; }\n"
       "};\n");
  EXPECT_EQ((std::vector<std::string>{"Box", "Pair", "Slot"}),
            Names(g().classes));
  EXPECT_EQ("<typename T>", Class("Box")->templ);
  EXPECT_EQ("<class A, class B>", Class("Pair")->templ);
  EXPECT_EQ((std::vector<std::string>{"Box::get", "Pair::first",
                                      "Slot::get"}),
            Functions());
}

// In C "class" is a name; after "->" it is no keyword of a template head.
TEST_F(TypeC, MemberNamedClassIsNoHead) {
  g().opt.notice_flag = 1;
  File("int kind(struct obj *p)\n"
       "{\n"
       "  return p->class;\n"
       "}\n");
  EXPECT_EQ(0, Raised(24));
  EXPECT_TRUE(Names(g().classes).empty());
  EXPECT_EQ(std::vector<std::string>{"kind"}, Functions());
}

TEST_F(TypeTest, UnionMembersAreFound) {
  Lines("union Value {\n"
       "  int i;\n"
       "  float f;\n"
       "  int as_int() const { return i; }\n"
       "};\n"
       "struct Cell {\n"
       "  union {\n"
       "    int a;\n"
       "    long b;\n"
       "  };\n"
       "  int get() { return a; }\n"
       "};\n"
       "union Value make(void) { return v; }\n");
  // A union is counted as a union, never as a struct.
  EXPECT_EQ(1, g().counters.struct_count);
  EXPECT_EQ(1, g().counters.union_count);  // "union {" only
  EndFile();
  EXPECT_EQ((std::vector<std::string>{"Value", "Cell"}), Names(g().classes));
  EXPECT_EQ(
      (std::vector<std::string>{"Value::as_int", "Cell::get", "make"}),
      Functions());
  const TypeRecord* v = Class("Value");
  EXPECT_EQ(1, v->struct_flag);  // members public, like a struct
  EXPECT_EQ(2, v->data_counts.pub);
  EXPECT_EQ(1, v->method_counts.pub);
  // The anonymous union's members are members of the struct.
  EXPECT_EQ(2, Class("Cell")->data_counts.pub);
}

TEST_F(TypeTest, AttributesAndMacrosInNamespaceHeads) {
  File("namespace std _GLIBCXX_VISIBILITY(default) {\n"
       "int first() { return 1; }\n"
       "int second() { return 2; }\n"
       "}\n"
       "namespace [[deprecated]] old {\n"
       "void gone() {}\n"
       "}\n"
       "namespace vis __attribute__((visibility(\"default\"))) {\n"
       "void shown() {}\n"
       "}\n"
       "namespace lib::inline v2 {\n"
       "void api() {}\n"
       "}\n");
  EXPECT_EQ((std::vector<std::string>{"std", "old", "vis", "lib::v2"}),
            Names(g().namespaces));
  EXPECT_EQ((std::vector<std::string>{"std::first", "std::second",
                                      "old::gone", "vis::shown",
                                      "lib::v2::api"}),
            Functions());
}

TEST_F(TypeJava, RecordWithComponents) {
  File("package geo;\n"
       "public record Point(int x, int y) implements Shape {\n"
       "  public int sum() { return x + y; }\n"
       "  static Point origin() { return new Point(0, 0); }\n"
       "}\n"
       "record Pair<A, B>(A a, B b) {\n"
       "  A first() { return a; }\n"
       "}\n"
       "class Holder {\n"
       "  Record record;\n"
       "  void set(Record r) { record = r; }\n"
       "}\n");
  EXPECT_EQ((std::vector<std::string>{"geo.Point", "geo.Pair<A,B>",
                                      "geo.Holder"}),
            Names(g().classes));
  EXPECT_EQ("Shape", Class("geo.Point")->bases);
  EXPECT_EQ((std::vector<std::string>{"geo.Point.sum", "geo.Point.origin",
                                      "geo.Pair<A,B>.first",
                                      "geo.Holder.set"}),
            Functions());
  EXPECT_EQ(1, Class("geo.Holder")->data_counts.priv);
}

TEST_F(TypeCSharp, RecordsAndPrimaryConstructors) {
  File("namespace App {\n"
       "public record Point(int X, int Y) {\n"
       "  public int Sum() { return X + Y; }\n"
       "}\n"
       "public record struct Size(int W, int H) {\n"
       "  public int Area() { return W * H; }\n"
       "}\n"
       "public class Svc(ILogger log) : Base(log), IService {\n"
       "  public void Run() { log.Info(); }\n"
       "}\n"
       "public record Tag(string Name);\n"
       "}\n");
  EXPECT_EQ((std::vector<std::string>{"App.Point", "App.Size", "App.Svc"}),
            Names(g().classes));
  EXPECT_EQ(1, Class("App.Size")->struct_flag);
  EXPECT_EQ("Base,IService", Class("App.Svc")->bases);
  EXPECT_EQ((std::vector<std::string>{"App.Point.Sum", "App.Size.Area",
                                      "App.Svc.Run"}),
            Functions());
}

TEST_F(TypeTest, QualifiedDefinitionInsideItsOwnNamespace) {
  File("namespace app {\n"
       "namespace net {\n"
       "void app::net::connect() {}\n"
       "void net::close() {}\n"
       "void Socket::open() {}\n"
       "}\n"
       "void net::send() {}\n"
       "}\n");
  EXPECT_EQ((std::vector<std::string>{"app::net::connect", "app::net::close",
                                      "app::net::Socket::open",
                                      "app::net::send"}),
            Functions());
}

TEST_F(TypeTest, DeletedDefaultedAndPureOperatorsAreMethods) {
  File("class V {\n"
       "public:\n"
       "  V& operator=(const V&) = delete;\n"
       "  bool operator==(const V&) const = default;\n"
       "  virtual bool operator<(const V& o) const = 0;\n"
       "  virtual int operator()(int x) = 0;\n"
       "  explicit operator bool() const = delete;\n"
       "  V& operator<<=(int n) = delete;\n"
       "  int size = 0;\n"
       "};\n");
  const TypeRecord* v = Class("V");
  EXPECT_EQ(6, v->method_counts.pub);
  EXPECT_EQ(1, v->data_counts.pub);
}

TEST_F(TypeTest, DerivedClassReadBeforeItsBase) {
  g().opt.inheritance_flag = 1;
  g().file.name = "derived.cpp";
  File("class Derived : public Base {\n"
       "};\n");
  g().file.name = "base.cpp";
  File("class Base {\n"
       "};\n");
  BuildInheritanceTree(g());
  EXPECT_TRUE(g().tree.lost.empty());
  ASSERT_EQ(1u, g().tree.roots.size());
  EXPECT_EQ("Base", g().tree.roots[0]->name);
  ASSERT_EQ(1u, g().tree.roots[0]->children.size());
  EXPECT_EQ("Derived", g().tree.roots[0]->children[0]->name);
}

}  // namespace
}  // namespace vek
