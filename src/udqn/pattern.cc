#include "udqn/pattern.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>
#include <pcre2posix.h>

#include "common/text.h"

namespace vek {

static_assert(kRegIcase == REG_ICASE && kRegNewline == REG_NEWLINE &&
              kRegNotbol == REG_NOTBOL && kRegNoteol == REG_NOTEOL &&
              kRegNosub == REG_NOSUB && kRegExtended == REG_EXTENDED);

struct CompiledPattern {
  regex_t re;
};

void CompiledPatternDeleter::operator()(CompiledPattern* p) const {
  if (p == nullptr) return;
  regfree(&p->re);
  delete p;
}

CompiledPatternPtr CompilePattern(const std::string& pattern, int cflags,
                                  std::string* error) {
  CompiledPatternPtr p(new CompiledPattern);
  int rc = regcomp(&p->re, pattern.c_str(), cflags);
  if (rc == 0) return p;
  char text[kCompileMessageMax];
  regerror(rc, &p->re, text, sizeof text);
  // The library pads the offset it names with blanks.
  if (error != nullptr) *error = TrimRight(text, " ");
  // A failed compilation leaves nothing to free.
  delete p.release();
  return nullptr;
}

bool MatchPattern(const CompiledPattern& pattern, const char* text, size_t len,
                  int eflags, int* start, int* end) {
  // The text is passed by its bounds: no copy to add a NUL, and NUL bytes
  // inside a line are matched like any other character.
  regmatch_t match[1];
  match[0].rm_so = 0;
  match[0].rm_eo = static_cast<regoff_t>(len);
  if (regexec(&pattern.re, text, 1, match, eflags | REG_STARTEND) != 0)
    return false;
  *start = static_cast<int>(match[0].rm_so);
  *end = static_cast<int>(match[0].rm_eo);
  return true;
}

std::string RegexLibraryVersion() {
  char version[64] = {};
  if (pcre2_config(PCRE2_CONFIG_VERSION, version) < 0) return "PCRE2";
  return version;
}

}  // namespace vek
