#include "workfiles/diff_items.h"

#include <string>

#include "common/text.h"

namespace vek {

const char* const kDataFieldNames[kDataFields] = {
    "UNKNOWN_DATA_FIELD", "FILE_NAME", "LOC_COUNT", "ELOC_COUNT",
    "LLOC_COUNT", "BLANK_LINE_COUNT", "COMMENT_LINE_COUNT",
    "LOGICAL_LINE_COUNT", "PHYSICAL_LINE_COUNT", "LITERAL_STRING_COUNT",
    "LINE_CONTINUATION_COUNT", "PREPROCESSOR_COUNT", "INCLUDE_COUNT",
    "IMPORT_COUNT", "TYPEDEF_COUNT", "CONST_COUNT", "ENUM_COUNT", "DO_COUNT",
    "WHILE_COUNT", "SWITCH_COUNT", "DEFAULT_COUNT", "FOR_COUNT", "CASE_COUNT",
    "BREAK_COUNT", "IF_COUNT", "ELSE_COUNT", "GOTO_COUNT", "RETURN_COUNT",
    "EXIT_COUNT", "_EXIT_COUNT", "ABORT_COUNT", "MACRO_COUNT", "STRUCT_COUNT",
    "UNION_COUNT", "CLASS_COUNT", "INTERFACE_COUNT", "TEMPLATE_COUNT",
    "FRIEND_COUNT", "NAMESPACE_COUNT", "PACKAGE_COUNT", "FUNCTION_COUNT",
    "VIRTUAL_COUNT", "INLINE_COUNT", "C_MEMORY_ALLOCATION_COUNT",
    "C_MEMORY_FREE_COUNT", "MEMORY_NEW_COUNT", "MEMORY_DELETE_COUNT",
    "CODE_STATEMENTS_COUNT", "USING_COUNT", "(_COUNT", ")_COUNT", "{_COUNT",
    "}_COUNT", "[_COUNT", "]_COUNT", "CHARACTERS_PER_NONBLANK_LINE",
    "QUALITY_NOTICE_COUNT", "RATIO_LOC_TO_LOGICAL_LINES",
    "RATIO_ELOC_TO_LOGICAL_LINES", "RATIO_COMMENTS_TO_LOGICAL_LINES",
    "RATIO_BLANK_LINES_TO_LOGICAL_LINES",
    "RATIO_CHARACTERS_TO_TOTAL_CHARACTERS",
    "RATIO_BLANK_LINES_TO_TOTAL_CHARACTERS", "RATIO_COMMENT_LINES_TO_LOC",
    "RATIO_COMMENT_LINES_TO_ELOC", "RATIO_COMMENT_LINES_TO_LLOC",
    "RATIO_QUALITY_NOTICES_TO_LOC", "RATIO_QUALITY_NOTICES_TO_ELOC",
    "RATIO_QUALITY_NOTICES_TO_LLOC", "C++_SOURCE_FILE_COUNT",
    "C_SOURCE_FILE_COUNT", "C++_HEADER_FILE_COUNT", "C_HEADER_FILE_COUNT",
    "JAVA_FILE_COUNT", "CSHARP_FILE_COUNT", "OTHER_FILE_COUNT",
    "CYCLOMATIC_COMPLEXITY", "INTERFACE_COMPLEXITY", "TOTAL_COMPLEXITY",
    "ELOC_PERCENT_DIFF"};

const char kDefaultWorkDiffConfig[] =
    "# Vek Code Gauge Version\n"
    "# Work File Differential Configuration File\n"
    "#\n"
    "# Modify the following:\n"
    "# OFF Turns off this item in the report\n"
    "# ON  Turns on this item in the report\n"
    "\n"
    "# When a file is removed from the baseline the following +/- indicate the\n"
    "# behavior to the overall total metric\n"
    "# +   Makes the metrics differential to contribute positively to the total\n"
    "# -   Makes the metrics differential to contribute negatively to the total\n"
    "\n"
    "LOC_COUNT             ON -\n"
    "ELOC_COUNT            ON -\n"
    "LLOC_COUNT            ON -\n"
    "COMMENT_LINE_COUNT    ON -\n"
    "BLANK_LINE_COUNT      ON -\n"
    "PHYSICAL_LINE_COUNT   ON -\n"
    "FUNCTION_COUNT        ON -\n"
    "CYCLOMATIC_COMPLEXITY ON -\n"
    "INTERFACE_COMPLEXITY  ON -\n"
    "TOTAL_COMPLEXITY      ON -\n"
    "QUALITY_NOTICE_COUNT  ON -\n"
    "ELOC_PERCENT_DIFF     ON -\n"
    "\n"
    "# End of file\n";

int DataFieldNumber(std::string_view name) {
  for (int n = 0; n < kDataFields; ++n)
    if (name == kDataFieldNames[n]) return n;
  return -1;
}

void ShowAllItems(DiffItems& items) {
  items = DiffItems();
  for (int n = 1; n < kDataFields; ++n) items.item[n] = {1, 0};
}

void ParseDiffItems(std::string_view text, DiffItems& items) {
  // A configuration line is read into 80 bytes: longer lines count only
  // up to their 79th character.
  constexpr size_t kLineLimit = 79;
  items = DiffItems();
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    line = TrimLeft(line.substr(0, kLineLimit));
    if (line.empty() || !(IsAlpha(line[0]) || IsDigit(line[0]))) continue;
    std::string_view words[3];
    int count = 0;
    SplitEach(line, " \t\r\n", [&](std::string_view w) {
      if (count < 3) words[count++] = w;
    });
    int n = DataFieldNumber(words[0]);
    if (n < 1 || n >= kDataFields) continue;
    items.item[n].shown = CaseEqual(words[1], "ON") ? 1 : 0;
    items.item[n].plus = words[2] == "+" ? 1 : 0;
  }
}

}  // namespace vek
