#include "config/languages.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "driver/state.h"

namespace vek {
namespace {

class LanguagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_ = std::make_unique<G>();
    g_->report_stream = open_memstream(&buffer_, &size_);
  }
  void TearDown() override {
    fclose(g_->report_stream);
    free(buffer_);
  }

  // The built-in languages, registered as at start-up.
  void RegisterBuiltins() {
    static const char* const kNames[] = {"Other", "C", "C Header", "C++",
                                         "C++ Header", "Java", "C#"};
    for (int type = 0; type < kBuiltinLanguages; ++type)
      EXPECT_EQ(type, register_language(kNames[type],
                                        *language_extension_key(*g_, type),
                                        *g_));
    build_allowed_extensions(*g_);
  }

  std::string Output() {
    fflush(g_->report_stream);
    return std::string(buffer_, size_);
  }

  std::unique_ptr<G> g_;
  char* buffer_ = nullptr;
  size_t size_ = 0;
};

TEST_F(LanguagesTest, DefaultAllowedListHoldsThirteenEntriesWithHTwice) {
  RegisterBuiltins();
  EXPECT_EQ("c,h,cc,cpp,cxx,CC,h,hh,H,hxx,hpp,java,cs",
            g_->languages.allowed_extensions);
  EXPECT_EQ(6, g_->languages.language_count);
  EXPECT_EQ("C++ Header", g_->languages.languages[4].language_name);
  EXPECT_EQ("", Output());
}

TEST_F(LanguagesTest, HeaderIsCHeaderAnalysedAsCppByDefault) {
  RegisterBuiltins();
  EXPECT_EQ(kTypeCHeader, type_file("src/list.h", *g_, 1));
  EXPECT_EQ(1, g_->typing.header_flag);
  EXPECT_EQ(1, g_->typing.cpp_flag);
  EXPECT_EQ(0, g_->typing.c_flag);
  EXPECT_EQ(1, g_->typing.files_by_type[kTypeCHeader]);
  EXPECT_EQ(0, g_->typing.files_by_type[kTypeCppHeader]);

  g_->cfg.c_headers_as_cpp = 0;
  EXPECT_EQ(kTypeCHeader, type_file("src/list.h", *g_, 0));
  EXPECT_EQ(1, g_->typing.header_flag);
  EXPECT_EQ(0, g_->typing.cpp_flag);
  EXPECT_EQ(1, g_->typing.c_flag);
  // Typing without counting leaves the counters alone.
  EXPECT_EQ(1, g_->typing.files_by_type[kTypeCHeader]);
}

TEST_F(LanguagesTest, TypesAndFlagsOfEachBuiltinLanguage) {
  RegisterBuiltins();
  struct Case {
    const char* name;
    int type;
    int c, cpp, java, csharp, header, other;
  } cases[] = {
      {"a.c", kTypeC, 1, 0, 0, 0, 0, 0},
      {"a.cpp", kTypeCpp, 0, 1, 0, 0, 0, 0},
      {"a.hpp", kTypeCppHeader, 0, 1, 0, 0, 1, 0},
      {"A.java", kTypeJava, 0, 0, 1, 0, 0, 0},
      {"a.cs", kTypeCSharp, 0, 0, 0, 1, 0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.type, type_file(c.name, *g_, 1)) << c.name;
    const FileTyping& t = g_->typing;
    EXPECT_EQ(c.type, t.file_type) << c.name;
    EXPECT_EQ(c.c, t.c_flag) << c.name;
    EXPECT_EQ(c.cpp, t.cpp_flag) << c.name;
    EXPECT_EQ(c.java, t.java_flag) << c.name;
    EXPECT_EQ(c.csharp, t.csharp_flag) << c.name;
    EXPECT_EQ(c.header, t.header_flag) << c.name;
    EXPECT_EQ(c.other, t.other_flag) << c.name;
    EXPECT_EQ(1, t.files_by_type[c.type]) << c.name;
  }
}

TEST_F(LanguagesTest, ExtensionCaseFollowsTheCaseSensitivityKey) {
  RegisterBuiltins();
  EXPECT_EQ(kTypeCpp, type_file("x.CC", *g_, 0));
  EXPECT_EQ(kTypeCpp, type_file("x.Cc", *g_, 0));
  EXPECT_EQ(kTypeCpp, type_file("x.CPP", *g_, 0));

  g_->cfg.case_sensitive = 1;
  EXPECT_EQ(kTypeCpp, type_file("x.CC", *g_, 0));
  EXPECT_EQ(kTypeCpp, type_file("x.cc", *g_, 0));
  EXPECT_EQ(-1, type_file("x.Cc", *g_, 0));
  EXPECT_EQ(0, g_->typing.cpp_flag);
  // "H" is listed for C++ headers only, so with case it is not a C header.
  EXPECT_EQ(kTypeCppHeader, type_file("x.H", *g_, 0));
}

TEST_F(LanguagesTest, OtherExtensionSetsOnlyTheOtherFlag) {
  g_->cfg.ext_other = "txt, inc";
  RegisterBuiltins();
  EXPECT_EQ("txt,inc,c,h,cc,cpp,cxx,CC,h,hh,H,hxx,hpp,java,cs",
            g_->languages.allowed_extensions);
  type_file("a.cpp", *g_, 0);  // leaves cpp_flag set
  EXPECT_EQ(kTypeOther, type_file("notes.inc", *g_, 1));
  const FileTyping& t = g_->typing;
  EXPECT_EQ(1, t.other_flag);
  EXPECT_EQ(0, t.c_flag + t.cpp_flag + t.java_flag + t.csharp_flag +
                   t.header_flag);
  EXPECT_EQ(1, t.files_by_type[kTypeOther]);
}

TEST_F(LanguagesTest, LaterRegisteredLanguagesAreOther) {
  RegisterBuiltins();
  EXPECT_EQ(7, register_language("Ada", "adb,ads", *g_));
  EXPECT_EQ(7, type_file("pkg.adb", *g_, 1));
  EXPECT_EQ(1, g_->typing.other_flag);
  EXPECT_EQ(1, g_->typing.files_by_type[kTypeOther]);
}

TEST_F(LanguagesTest, UnknownOrMissingExtension) {
  RegisterBuiltins();
  type_file("a.java", *g_, 0);
  EXPECT_EQ(-1, type_file("README", *g_, 1));
  EXPECT_EQ(0, g_->typing.java_flag);
  EXPECT_EQ(kTypeJava, g_->typing.file_type);  // no extension: unchanged
  EXPECT_EQ(-1, type_file("a.txt", *g_, 1));
  EXPECT_EQ(-1, g_->typing.file_type);
  for (int n : g_->typing.files_by_type) EXPECT_EQ(0, n);
}

TEST(LanguagesFileExtension, Names) {
  G g;
  struct Case {
    const char* name;
    const char* ext;
  } cases[] = {
      {"main.c", "c"},
      {"src/util.hpp", "hpp"},
      {"archive.tar.gz", "gz"},
      {"Makefile", ""},
      {"dir.d/Makefile", ""},
      {"dir.d\\Makefile", ""},
      {"file.", ""},
      {"util.c@@/main/3", "c"},
      {"dir.x/util.c@@/main/rel.2/4", "c"},
      {"util@@/main/a.c", ""},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(c.ext, file_extension(c.name, g)) << c.name;
  std::string longer = "a." + std::string(300, 'x');
  EXPECT_EQ(254u, file_extension(longer, g).size());
}

TEST_F(LanguagesTest, FileExtensionDebugTrace) {
  g_->debug_flag = 1;
  file_extension("x/a.cs", *g_);
  EXPECT_EQ("*** Debug: File Extension: cs\n\n", Output());
}

TEST_F(LanguagesTest, ExtensionListSplitting) {
  Language entry;
  EXPECT_EQ(-1, set_language_extensions(entry, "", *g_));
  EXPECT_EQ(-1, set_language_extensions(entry, " ,\t", *g_));
  EXPECT_EQ(2, set_language_extensions(entry, "a, b\tc", *g_));
  EXPECT_EQ((std::vector<std::string>{"a", "b", "c"}), entry.extensions);
  // A new list replaces the old one.
  EXPECT_EQ(0, set_language_extensions(entry, "z", *g_));
  EXPECT_EQ(std::vector<std::string>{"z"}, entry.extensions);
  // Only the first 254 characters of a list are read.
  std::string list = std::string(253, 'q') + ",r";
  EXPECT_EQ(0, set_language_extensions(entry, list, *g_));
  EXPECT_EQ(253u, entry.extensions[0].size());
  EXPECT_EQ("", Output());
}

TEST_F(LanguagesTest, ExtensionsBeyondTheLimitAreDroppedWithAMessageEach) {
  std::string list;
  for (int i = 0; i < 84; ++i) list += "e" + std::to_string(i % 10) + ",";
  ASSERT_LT(list.size(), 255u);
  Language entry;
  EXPECT_EQ(80, set_language_extensions(entry, list, *g_));
  EXPECT_EQ(81u, entry.extensions.size());
  std::string message = "\n  Error: Max ULPI extensions reached\n";
  EXPECT_EQ(message + message + message, Output());
}

TEST_F(LanguagesTest, LanguageNameIsCutAndTableIsBounded) {
  EXPECT_EQ(0, register_language(std::string(50, 'n'), "x", *g_));
  EXPECT_EQ(40u, g_->languages.languages[0].language_name.size());
  for (int i = 1; i < kMaxLanguages; ++i)
    ASSERT_EQ(i, register_language("L", "", *g_));
  EXPECT_EQ("", Output());
  EXPECT_EQ(kMaxLanguages - 1, register_language("one too many", "y", *g_));
  EXPECT_EQ("\n  Error: Max Universal Language PlugIn reached\n", Output());
  EXPECT_EQ(static_cast<size_t>(kMaxLanguages), g_->languages.languages.size());
  EXPECT_EQ(-1, language_of_extension("y", *g_));
}

}  // namespace
}  // namespace vek
