#include "config/languages.h"

#include <new>

#include "common/text.h"
#include "driver/state.h"
#include "reports/output.h"

namespace vek {

namespace {

// Separators of a language's extension list and of the allowed list.
constexpr std::string_view kExtensionSeparators = " \t,";
constexpr size_t kMaxExtensionLength = 254;
constexpr size_t kAllowedListSize = kLineSize;

bool ExtensionEqual(std::string_view a, std::string_view b, const G& g) {
  return g.cfg.case_sensitive ? a == b : CaseEqual(a, b);
}

}  // namespace

int register_language(std::string_view name, std::string_view extension_list,
                      G& g) {
  LanguageTable& table = g.languages;
  if (table.language_count + 1 >= kMaxLanguages) {
    Out(g, "\n  Error: Max Universal Language PlugIn reached\n");
    return table.language_count;
  }
  try {
    table.languages.emplace_back();
  } catch (const std::bad_alloc&) {
    Out(g, "\n  Error: ULPI memory allocation error\n");
    return table.language_count;
  }
  ++table.language_count;
  Language& entry = table.languages.back();
  entry.type = table.language_count;
  entry.language_name = std::string(name.substr(0, kLanguageNameSize));
  set_language_extensions(entry, extension_list, g);
  return entry.type;
}

int set_language_extensions(Language& entry, std::string_view extension_list,
                            G& g) {
  // A later configuration reading replaces the whole list.
  entry.extensions.clear();
  std::string_view list = extension_list.substr(0, kExtensionListSize - 1);
  SplitEach(list, kExtensionSeparators, [&](std::string_view ext) {
    if (static_cast<int>(entry.extensions.size()) >= kMaxExtensions) {
      Out(g, "\n  Error: Max ULPI extensions reached\n");
      return;
    }
    entry.extensions.emplace_back(ext);
  });
  return static_cast<int>(entry.extensions.size()) - 1;
}

void build_allowed_extensions(G& g) {
  std::string list;
  for (const Language& language : g.languages.languages) {
    for (const std::string& ext : language.extensions) {
      if (!list.empty()) list += ',';
      list += ext;
    }
  }
  g.languages.allowed_extensions = Bounded(list, kAllowedListSize);
}

std::string file_extension(std::string_view name, G& g) {
  // A version-extended name ("file.c@@/main/3") takes its extension from
  // the file name in front of the at-signs.
  size_t at = name.find("@@");
  if (at != std::string_view::npos) name = name.substr(0, at);
  // Only the base name counts: a dot in a directory name is no extension.
  std::string_view base = BaseName(name);
  size_t dot = base.rfind('.');
  std::string ext;
  if (dot != std::string_view::npos)
    ext = std::string(base.substr(dot + 1, kMaxExtensionLength));
  if (g.debug_flag) Out(g, "*** Debug: File Extension: %s\n\n", ext.c_str());
  return ext;
}

int language_of_extension(std::string_view extension, const G& g) {
  if (extension.empty()) return -1;
  for (const Language& language : g.languages.languages)
    for (const std::string& ext : language.extensions)
      if (ExtensionEqual(ext, extension, g)) return language.type;
  return -1;
}

int type_file(std::string_view name, G& g, int count) {
  FileTyping& t = g.typing;
  t.c_flag = t.cpp_flag = t.java_flag = t.csharp_flag = 0;
  t.header_flag = t.other_flag = 0;

  std::string ext = file_extension(name, g);
  if (ext.empty()) return -1;  // the previous type stays in file_type

  int type = language_of_extension(ext, g);
  t.file_type = type;
  if (type < 0) return type;

  switch (type) {
    case kTypeC:
      t.c_flag = 1;
      break;
    case kTypeCHeader:
      t.header_flag = 1;
      if (g.cfg.c_headers_as_cpp)
        t.cpp_flag = 1;
      else
        t.c_flag = 1;
      break;
    case kTypeCpp:
      t.cpp_flag = 1;
      break;
    case kTypeCppHeader:
      t.header_flag = 1;
      t.cpp_flag = 1;
      break;
    case kTypeJava:
      t.java_flag = 1;
      break;
    case kTypeCSharp:
      t.csharp_flag = 1;
      break;
    default:  // Other, and every language registered after the built-ins
      t.other_flag = 1;
      break;
  }
  if (count == 1) {
    int slot = type < kBuiltinLanguages ? type : kTypeOther;
    ++t.files_by_type[slot];
  }
  return type;
}

std::string* language_extension_key(G& g, int type) {
  switch (type) {
    case kTypeOther: return &g.cfg.ext_other;
    case kTypeC: return &g.cfg.ext_c;
    case kTypeCHeader: return &g.cfg.ext_c_header;
    case kTypeCpp: return &g.cfg.ext_cpp;
    case kTypeCppHeader: return &g.cfg.ext_cpp_header;
    case kTypeJava: return &g.cfg.ext_java;
    case kTypeCSharp: return &g.cfg.ext_csharp;
    default: return nullptr;
  }
}

const char* default_extensions(int type) {
  switch (type) {
    case kTypeC: return "c";
    case kTypeCHeader: return "h";
    case kTypeCpp: return "cc,cpp,cxx,CC";
    case kTypeCppHeader: return "h,hh,H,hxx,hpp";
    case kTypeJava: return "java";
    case kTypeCSharp: return "cs";
    default: return "";  // Other, and any type without built-in defaults
  }
}

}  // namespace vek
