#include "analysis/notice_catalogue.h"

#include <cstdio>

#include "config/config.h"
#include "driver/state.h"
#include "udqn/udqn.h"

namespace vek {

namespace {

// One catalogue row: the description and, when it carries a threshold, the
// configuration value that is formatted into it.  At most one of the two
// getters is set.
struct CatalogueEntry {
  const char* text;
  int (*whole)(const Config&);     // formatted with "%d"
  double (*percent)(const Config&);  // formatted with "%.1f"
};

using C = const Config&;

constexpr CatalogueEntry kCatalogue[kNoticeCount + 1] = {
    {"", nullptr, nullptr},  // numbers start at 1
    {"Physical line length > %d characters",
     [](C c) { return c.max_line_length; }, nullptr},
    {"Function name length > %d characters",
     [](C c) { return c.max_function_name_length; }, nullptr},
    {"Ellipsis '...' are identified as function parameters", nullptr, nullptr},
    {"Assignment '=' within 'if' statement", nullptr, nullptr},
    {"Assignment '=' within 'while' statement", nullptr, nullptr},
    {"Pre-decrement operator '--' identified", nullptr, nullptr},
    {"Pre-increment operator '++' identified", nullptr, nullptr},
    {"'realloc' function identified", nullptr, nullptr},
    {"'goto' keyword identified", nullptr, nullptr},
    {"Non-ANSI function prototype identified", nullptr, nullptr},
    {"Open and closed brackets '[]' are not equal", nullptr, nullptr},
    {"Open and closed parenthesis '()' are not equal", nullptr, nullptr},
    {"'switch' statement does not have a 'default'", nullptr, nullptr},
    {"'case' conditions do not equal 'break'", nullptr, nullptr},
    {"Friend class has been identified", nullptr, nullptr},
    {"Function/class/struct/interface white space < %.1f%%", nullptr,
     [](C c) { return c.min_function_whitespace; }},
    {"Function comment content less than %.1f%%", nullptr,
     [](C c) { return c.min_function_comment; }},
    {"Function eLOC > maximum %d eLOC",
     [](C c) { return c.max_function_eloc; }, nullptr},
    {"File white space < %.1f%%", nullptr,
     [](C c) { return c.min_file_whitespace; }},
    {"File comment content < %.1f%%", nullptr,
     [](C c) { return c.min_file_comment; }},
    {"File does not contain key string", nullptr, nullptr},
    {"if, else, for or while not bound by scope", nullptr, nullptr},
    {"'?' ternary operator identified", nullptr, nullptr},
    {"ANSI C++ keyword identified within C file", nullptr, nullptr},
    {"Treat *.h files for C++ keywords", nullptr, nullptr},
    {"void * generic type identified", nullptr, nullptr},
    {"Number of function return points > %d",
     [](C c) { return c.max_return_points; }, nullptr},
    {"Cyclomatic complexity > %d", [](C c) { return c.max_cyclomatic; },
     nullptr},
    {"Number of function parameters > %d",
     [](C c) { return c.max_interface; }, nullptr},
    {"TAB character has been identified", nullptr, nullptr},
    {"Class/Struct comments are < %.1f%%", nullptr,
     [](C c) { return c.min_class_comment; }},
    {"Using namespace construct identified", nullptr, nullptr},
    {"Class/Struct definition within a function definition", nullptr, nullptr},
    {"Class declaration contains a pointer to data", nullptr, nullptr},
    {"Class declaration contains public data", nullptr, nullptr},
    {"Class declaration contains protected data", nullptr, nullptr},
    {"Base Class does not contain a virtual destructor", nullptr, nullptr},
    {"Exception Handling 'try'- 'catch' has been identified", nullptr, nullptr},
    {"Number of class/struct methods exceeds specified maximum %d ",
     [](C c) { return c.max_class_methods; }, nullptr},
    {"Depth of the Inheritance Tree exceeds the maximum %d ",
     [](C c) { return c.max_inheritance_depth; }, nullptr},
    {"Number of derived classes exceeds the specified maximum %d ",
     [](C c) { return c.max_child_classes; }, nullptr},
    {"Multiple inheritance has been identified", nullptr, nullptr},
    {"Keyword 'continue' has been identified", nullptr, nullptr},
    {"Keyword 'break' identified outside a 'switch' structure", nullptr,
     nullptr},
    {"New and Delete counts are not equal for the file.", nullptr, nullptr},
    {"Function/Class Blank Line content less < %.1f%%", nullptr,
     [](C c) { return c.min_function_blank; }},
    {"File Blank Line content < %.1f%%", nullptr,
     [](C c) { return c.min_file_blank; }},
    {"Function lLOC <= %d, non-operational function",
     [](C c) { return c.min_function_lloc; }, nullptr},
    {"Function appears to have null or blank parameters", nullptr, nullptr},
    {"Variable assignment to a literal number", nullptr, nullptr},
    {"No comment preceding a function block", nullptr, nullptr},
    {"No comment preceding a class block", nullptr, nullptr},
    {"No comment preceding a struct block", nullptr, nullptr},
    {"No comment preceding a interface block", nullptr, nullptr},
    {"Scope level exceeds the defined limit of %d",
     [](C c) { return c.max_scope_depth; }, nullptr},
    {"Sequential breaks identified without case", nullptr, nullptr},
    {"VEK skip lines token match - VEK ignores lines", nullptr, nullptr},
    {"VEK skip quality notices token match - Quality Notices ignored", nullptr,
     nullptr},
};

// Formats one row with the thresholds of `cfg`, cut at the description
// limit.  A huge percentage configured by hand must not overrun anything.
std::string FormatEntry(const CatalogueEntry& e, const Config& cfg) {
  char buf[kNoticeDescriptionMax + 1];
  if (e.whole != nullptr) {
    snprintf(buf, sizeof buf, e.text, e.whole(cfg));
  } else if (e.percent != nullptr) {
    snprintf(buf, sizeof buf, e.text, e.percent(cfg));
  } else {
    snprintf(buf, sizeof buf, "%s", e.text);
  }
  return buf;
}

// User defined notices (numbers above the built-in ones) describe
// themselves by their summary line.
std::string user_defined_notice_description(int n, G& g) {
  const UdqnRecord* r = udqn_find(n, g);
  return r != nullptr ? r->summary : "Unsupported";
}

}  // namespace

int notice_enabled(int n, const G* g) {
  if (g == nullptr || n < 0 || n > kNoticeCount) return -1;
  return g->cfg.notice_on[n];
}

std::string notice_description(int n, G& g) {
  if (n < 1 || n > kNoticeCount) return user_defined_notice_description(n, g);
  if (g.notice_descriptions.empty()) {
    g.notice_descriptions.reserve(kNoticeCount + 1);
    for (const CatalogueEntry& e : kCatalogue)
      g.notice_descriptions.push_back(FormatEntry(e, g.cfg));
  }
  return g.notice_descriptions[n];
}

}  // namespace vek
