// The key table of vek.cfg: every key in the order it is written, with the
// comment block written before it, its value type and the field of Config it
// sets.  The reader and the writer both walk this one table, so a key can
// never be written in a form the reader does not take back.
#ifndef VEK_CONFIG_CONFIG_KEYS_H_
#define VEK_CONFIG_CONFIG_KEYS_H_

#include <span>
#include <string>
#include <string_view>

#include "config/config.h"

namespace vek {

enum class KeyType {
  kHeading,     // a section heading; `key` is the title
  kComment,     // a comment block alone; no key
  kYesNo,       // No when the value begins with n/N, else Yes
  kPageFlag,    // the same test stored inverted (1 = no page breaks)
  kInteger,     // taken only when the value begins with a digit, then
                // brought into the key's range
  kPercent,     // taken only when the value begins with a digit, then
                // brought into 0..100; "%-6.2f"
  kText,        // taken when not empty, at most 2047 characters
  kColour,      // taken when it begins with a letter, digit or '#'
  kExtensions,  // a language's extension list, registered on reading
  kPath,        // taken as is
};

// Adjustments some keys make on top of their type.
enum class KeySpecial {
  kNone,
  kUdqnFile,        // resolved against the configuration home
  kKeyString,       // a value marks the key string as configured
  kZeroIsSeven,     // a value of 0 becomes 7 (depth of scope)
  kAlnumText,       // text taken only when it begins with a letter or digit
  kDeprecatedCyclo, // not applied; a deprecation message is written
};

struct ConfigKey {
  KeyType type;
  const char* key;      // the key, or the heading title
  const char* comment;  // lines separated by '\n', each written after "# "
  int& (*int_field)(Config&) = nullptr;  // Yes/No, page flag, integer
  double& (*percent_field)(Config&) = nullptr;
  std::string& (*text_field)(Config&) = nullptr;  // text, colour, list, path
  KeySpecial special = KeySpecial::kNone;
  // The range of an integer; a value read outside it takes the nearer
  // limit.  Percentages always lie between 0 and 100.
  int lowest = 0;
  int highest = 0;
  int language = 0;     // the language type of an extension list
  int width = 40;       // column of the ':' in the written line
  bool written = true;  // false: read only (old or hidden keys)
};

// The whole table in written order.
std::span<const ConfigKey> ConfigKeys();

// The first entry whose key equals `key` without regard to case, skipping
// headings and comments; nullptr for an unknown key.
const ConfigKey* FindConfigKey(std::string_view key);

}  // namespace vek

#endif  // VEK_CONFIG_CONFIG_KEYS_H_
