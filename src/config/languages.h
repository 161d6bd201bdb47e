// The language table: the registered languages with their extension lists,
// file typing by extension, and the list of allowed extensions.
#ifndef VEK_CONFIG_LANGUAGES_H_
#define VEK_CONFIG_LANGUAGES_H_

#include <string>
#include <string_view>
#include <vector>

namespace vek {

struct G;

constexpr int kMaxLanguages = 1024;
constexpr int kMaxExtensions = 81;
constexpr size_t kLanguageNameSize = 40;
constexpr size_t kExtensionListSize = 255;  // lists are taken up to 254 chars

// Built-in language types, in registration order.
enum LanguageType {
  kTypeOther = 0, kTypeC = 1, kTypeCHeader = 2, kTypeCpp = 3,
  kTypeCppHeader = 4, kTypeJava = 5, kTypeCSharp = 6, kBuiltinLanguages = 7
};

struct Language {
  int type = 0;
  std::string language_name;
  std::vector<std::string> extensions;  // at most kMaxExtensions
};

struct LanguageTable {
  int language_count = -1;  // index of the last registered language
  std::vector<Language> languages;
  std::string allowed_extensions;  // comma-joined, for the extension check
};

// Adds a language at the next type number; returns that number (or the
// count unchanged when the table is full).
int register_language(std::string_view name, std::string_view extension_list,
                      G& g);
// Replaces the extensions of `entry`; returns the index of the last stored
// extension, -1 for an empty list.
int set_language_extensions(Language& entry, std::string_view extension_list,
                            G& g);
void build_allowed_extensions(G& g);
// The extension of a file name ("" when it has none); a name with "@@"
// takes the extension of the part before it.
std::string file_extension(std::string_view name, G& g);
int language_of_extension(std::string_view extension, const G& g);
// Types a file, sets the language flags; with count, counts it by language.
int type_file(std::string_view name, G& g, int count);
// The configured extension list of a built-in language.
std::string* language_extension_key(G& g, int type);
const char* default_extensions(int type);

}  // namespace vek

#endif  // VEK_CONFIG_LANGUAGES_H_
