#include "udqn/pattern.h"

#include <cstdint>

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
  int jit = 0;  // translated to machine code
};

void CompiledPatternDeleter::operator()(CompiledPattern* p) const {
  if (p == nullptr) return;
  regfree(&p->re);
  delete p;
}

CompiledPatternPtr CompilePattern(const std::string& pattern, int cflags,
                                  std::string* error, bool jit) {
  CompiledPatternPtr p(new CompiledPattern);
  int rc = regcomp(&p->re, pattern.c_str(), cflags);
  if (rc == 0) {
    // The interface compiles with the library's own compiler; translated
    // to machine code, the same compiled pattern matches several times
    // faster, and regexec uses that code by itself.  Where the library has
    // no JIT the pattern is interpreted as before.
    if (jit)
      p->jit = pcre2_jit_compile(static_cast<pcre2_code*>(p->re.re_pcre2_code),
                                 PCRE2_JIT_COMPLETE) == 0;
    return p;
  }
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
  if (pattern.jit) {
    // Machine code is entered directly: a line is matched by up to twenty
    // rules, and the two wrappers regexec goes through would cost more
    // than the matching.  The options map as regexec maps them.
    uint32_t options = 0;
    if (eflags & REG_NOTBOL) options |= PCRE2_NOTBOL;
    if (eflags & REG_NOTEOL) options |= PCRE2_NOTEOL;
    auto* data = static_cast<pcre2_match_data*>(pattern.re.re_match_data);
    int rc = pcre2_jit_match(static_cast<pcre2_code*>(pattern.re.re_pcre2_code),
                             reinterpret_cast<PCRE2_SPTR>(text), len, 0,
                             options, data, nullptr);
    if (rc < 0) return false;  // no match, or a limit of the library
    const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(data);
    *start = static_cast<int>(ovector[0]);
    *end = static_cast<int>(ovector[1]);
    return true;
  }
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
