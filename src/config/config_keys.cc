#include "config/config_keys.h"

#include <iterator>

#include "common/text.h"
#include "config/languages.h"

namespace vek {
namespace {

using IntField = int& (*)(Config&);
using PercentField = double& (*)(Config&);
using TextField = std::string& (*)(Config&);

#define INT(f) [](Config& c) -> int& { return c.f; }
#define PCT(f) [](Config& c) -> double& { return c.f; }
#define TXT(f) [](Config& c) -> std::string& { return c.f; }

constexpr ConfigKey Heading(const char* title) {
  return {.type = KeyType::kHeading, .key = title, .comment = ""};
}
constexpr ConfigKey Comment(const char* text) {
  return {.type = KeyType::kComment, .key = "", .comment = text};
}
constexpr ConfigKey YesNo(const char* key, const char* comment, IntField f) {
  return {.type = KeyType::kYesNo, .key = key, .comment = comment,
          .int_field = f};
}
constexpr ConfigKey Integer(const char* key, const char* comment, IntField f,
                            int lowest, int highest,
                            KeySpecial special = KeySpecial::kNone) {
  return {.type = KeyType::kInteger, .key = key, .comment = comment,
          .int_field = f, .special = special, .lowest = lowest,
          .highest = highest};
}
constexpr ConfigKey Percent(const char* key, const char* comment,
                            PercentField f) {
  return {.type = KeyType::kPercent, .key = key, .comment = comment,
          .percent_field = f};
}
constexpr ConfigKey Text(const char* key, const char* comment, TextField f,
                         KeySpecial special = KeySpecial::kNone) {
  return {.type = KeyType::kText, .key = key, .comment = comment,
          .text_field = f, .special = special};
}
constexpr ConfigKey Colour(const char* key, const char* comment, TextField f) {
  return {.type = KeyType::kColour, .key = key, .comment = comment,
          .text_field = f};
}
constexpr ConfigKey Extensions(const char* key, const char* comment,
                               TextField f, int language) {
  return {.type = KeyType::kExtensions, .key = key, .comment = comment,
          .text_field = f, .language = language};
}
constexpr ConfigKey Cyclo(const char* key, const char* comment, IntField f) {
  ConfigKey k = YesNo(key, comment, f);
  k.width = 48;
  return k;
}
constexpr ConfigKey ReadOnly(ConfigKey k) {
  k.written = false;
  return k;
}

#define NOTICE(n, text) \
  YesNo("Quality Notice " #n, "Quality Notice No. " #n "\n" text, \
        INT(notice_on[n]))
#define FP(lang, basis, key, text) \
  Integer(key, text, INT(fp_factor[lang][basis]), 0, 100000)

const ConfigKey kKeys[] = {
    // The version line is written by the header, never from the table.
    ReadOnly(Text("VEK CFG Version", "", TXT(cfg_version))),

    Heading("VEK Operational Configuration"),
    YesNo("Report Header Active",
          "Print the report header lines given below in the reports",
          INT(report_header_active)),
    Text("Report Header Text Line",
         "Report header line of the text and CSV reports",
         TXT(report_header_text)),
    Text("Report Header HTML Line",
         "Report header line of the HTML reports, HTML markup allowed",
         TXT(report_header_html)),
    YesNo("Enable user defined configuration files",
          "Allow a second, user defined configuration file to be read\n"
          "with the -u switch",
          INT(user_cfg_enabled)),
    YesNo("Source file names are case sensitive",
          "Compare file names and extensions with regard to letter case",
          INT(case_sensitive)),
    YesNo("Show progress indicator",
          "Show the progress indicator while files are processed; it is\n"
          "shown whenever the reports are written to a file (-O)",
          INT(show_progress)),
    YesNo("Detailed Progress Showing File Names",
          "Show progress by file name instead of by dots",
          INT(progress_by_name)),
    Integer("Progress status interval number of files",
            "Number of files processed for each progress dot",
            INT(progress_interval), 1, 100000),
    YesNo("Show file date and size",
          "Show the date and size of each file with its metrics",
          INT(show_file_date_size)),
    YesNo("Validate file extensions for processing",
          "Process only files whose extension appears in one of the\n"
          "language extension lists below",
          INT(validate_extensions)),
    Extensions("C File Extensions",
               "File extensions of C source files, separated by commas",
               TXT(ext_c), kTypeC),
    Extensions("C Header File Extensions",
               "File extensions of C header files, separated by commas",
               TXT(ext_c_header), kTypeCHeader),
    Extensions("C++ File Extensions",
               "File extensions of C++ source files, separated by commas",
               TXT(ext_cpp), kTypeCpp),
    Extensions("C++ Header File Extensions",
               "File extensions of C++ header files, separated by commas",
               TXT(ext_cpp_header), kTypeCppHeader),
    Extensions("C# File Extensions",
               "File extensions of C# source files, separated by commas",
               TXT(ext_csharp), kTypeCSharp),
    Extensions("Java File Extensions",
               "File extensions of Java source files, separated by commas",
               TXT(ext_java), kTypeJava),
    Extensions("Other File Extensions",
               "File extensions of other files, separated by commas; their\n"
               "lines are counted as lines of code",
               TXT(ext_other), kTypeOther),
    YesNo("Treat C headers as C++",
          "Analyse C header files as both C and C++ files",
          INT(c_headers_as_cpp)),
    YesNo("Pattern Filter Active",
          "Skip every file whose path contains one of the filter patterns",
          INT(pattern_filter_active)),
    Text("Pattern Filter",
         "Filter patterns, separated by commas, without blanks",
         TXT(pattern_filter)),
    Text("VEK Code Skip Start Token",
         "Token that begins a region of lines not processed",
         TXT(skip_begin_token)),
    Text("VEK Code Skip End Token",
         "Token that ends a region of lines not processed",
         TXT(skip_end_token)),
    Text("VEK Code Quality Skip Start Token",
         "Token that begins a region without quality notices",
         TXT(quality_skip_begin_token)),
    Text("VEK Code Quality Skip End Token",
         "Token that ends a region without quality notices",
         TXT(quality_skip_end_token)),
    YesNo("Activate VEK code skip tokens",
          "Look for the four skip tokens above in the source lines",
          INT(skip_tokens_active)),
    YesNo("Do not process these local directories",
          "Skip the directories named below when descending a directory\n"
          "tree",
          INT(exclude_dirs_active)),
    Text("Local directory names not processed",
         "Directory names not processed, separated by commas",
         TXT(exclude_dirs)),
    YesNo("Wrap long names in reports",
          "Wrap long file and function names onto several report lines",
          INT(wrap_names)),

    Heading("VEK Baseline Metrics Differentials"),
    {.type = KeyType::kPath, .key = "Work file location path",
     .comment = "Directory in which new work files are created; empty for\n"
                "the current directory",
     .text_field = TXT(work_file_path)},
    YesNo("Ignore code differential blank lines",
          "Ignore changes of blank lines in code differentials",
          INT(ignore_diff_blank_lines)),
    YesNo("Ignore code differential white space",
          "Ignore changes of blanks and tabs in code differentials",
          INT(ignore_diff_white_space)),
    Integer("Maximum LCS file size, number of lines",
            "Most lines compared at once by the code differential; longer\n"
            "files are compared in segments",
            INT(max_lcs_lines), 1, 20000),
    YesNo("Add removed older lines as modified",
          "Count the lines removed from the older file as modified lines",
          INT(removed_as_modified)),
    YesNo("Show equal lines",
          "Show the equal lines in the differential details (-ws)",
          INT(show_equal_lines)),
    YesNo("Show lines removed from older file",
          "Show the lines removed from the older file in the differential\n"
          "details (-ws)",
          INT(show_removed_lines)),
    YesNo("Show lines added (mod) to newer file",
          "Show the lines added to or modified in the newer file in the\n"
          "differential details (-ws)",
          INT(show_added_lines)),
    YesNo("Relative Work Files",
          "Store file names in work files relative to the baseline\n"
          "directory",
          INT(relative_work_files)),
    Integer("Work Seconds per Hour", "Productivity basis: seconds per hour",
            INT(work_seconds_per_hour), 1, 3600),
    Integer("Work Hours per Shift", "Productivity basis: hours per shift",
            INT(work_hours_per_shift), 1, 24),
    Integer("Work Shifts per Day", "Productivity basis: shifts per day",
            INT(work_shifts_per_day), 1, 24),
    Integer("Work Days per Week", "Productivity basis: days per week",
            INT(work_days_per_week), 1, 7),
    Integer("Work Hours per Man Day",
            "Productivity basis: hours per man day",
            INT(work_hours_per_man_day), 1, 24),
    Integer("Work Hours per Man Week",
            "Productivity basis: hours per man week",
            INT(work_hours_per_man_week), 1, 168),
    Integer("Work Hours per Man Month",
            "Productivity basis: hours per man month",
            INT(work_hours_per_man_month), 1, 744),
    Integer("Work Hours per Man Year",
            "Productivity basis: hours per man year",
            INT(work_hours_per_man_year), 1, 8784),

    Heading("VEK Function Point Conversion Factors"),
    FP(kFpHeader, kFpLoc, "Header File Function Points per LOC",
       "Header file lines of code per function point, 0 for none"),
    FP(kFpHeader, kFpEloc, "Header File Function Points per eLOC",
       "Header file effective lines of code per function point"),
    FP(kFpHeader, kFpLloc, "Header File Function Points per lLOC",
       "Header file logical lines of code per function point"),
    FP(kFpC, kFpLoc, "C File Function Points per LOC",
       "C file lines of code per function point"),
    FP(kFpC, kFpEloc, "C File Function Points per eLOC",
       "C file effective lines of code per function point"),
    FP(kFpC, kFpLloc, "C File Function Points per lLOC",
       "C file logical lines of code per function point"),
    FP(kFpCpp, kFpLoc, "C++ File Function Points per LOC",
       "C++ file lines of code per function point"),
    FP(kFpCpp, kFpEloc, "C++ File Function Points per eLOC",
       "C++ file effective lines of code per function point"),
    FP(kFpCpp, kFpLloc, "C++ File Function Points per lLOC",
       "C++ file logical lines of code per function point"),
    FP(kFpJava, kFpLoc, "Java File Function Points per LOC",
       "Java file lines of code per function point"),
    FP(kFpJava, kFpEloc, "Java File Function Points per eLOC",
       "Java file effective lines of code per function point"),
    FP(kFpJava, kFpLloc, "Java File Function Points per lLOC",
       "Java file logical lines of code per function point"),
    FP(kFpCSharp, kFpLoc, "C# File Function Points per LOC",
       "C# file lines of code per function point"),
    FP(kFpCSharp, kFpEloc, "C# File Function Points per eLOC",
       "C# file effective lines of code per function point"),
    FP(kFpCSharp, kFpLloc, "C# File Function Points per lLOC",
       "C# file logical lines of code per function point"),
    FP(kFpOther, kFpLoc, "Other File Function Points per LOC",
       "Other file lines of code per function point"),
    FP(kFpOther, kFpEloc, "Other File Function Points per eLOC",
       "Other file effective lines of code per function point"),
    FP(kFpOther, kFpLloc, "Other File Function Points per lLOC",
       "Other file logical lines of code per function point"),

    Heading("VEK Cyclomatic Complexity"),
    Cyclo("Include 'function call' in cyclomatic complexity",
          "Count each function call in the cyclomatic complexity",
          INT(cyclo_function_call)),
    Cyclo("Include 'while' in cyclomatic complexity",
          "Count each 'while' in the cyclomatic complexity",
          INT(cyclo_while)),
    Cyclo("Include 'for' in cyclomatic complexity",
          "Count each 'for' in the cyclomatic complexity", INT(cyclo_for)),
    Cyclo("Include 'switch' in cyclomatic complexity",
          "Count each 'switch' in the cyclomatic complexity",
          INT(cyclo_switch)),
    Cyclo("Include 'case' in cyclomatic complexity",
          "Count each 'case' in the cyclomatic complexity", INT(cyclo_case)),
    Cyclo("Include 'if' in cyclomatic complexity",
          "Count each 'if' in the cyclomatic complexity", INT(cyclo_if)),
    Cyclo("Include 'else' in cyclomatic complexity",
          "Count each 'else' in the cyclomatic complexity", INT(cyclo_else)),
    Cyclo("Include '?' inlined if in cyclomatic complexity",
          "Count each '?' inlined if in the cyclomatic complexity",
          INT(cyclo_ternary)),
    Cyclo("Include 'goto' in cyclomatic complexity",
          "Count each 'goto' in the cyclomatic complexity", INT(cyclo_goto)),
    Cyclo("Include '||' or 'or' in cyclomatic complexity",
          "Count each '||' or 'or' in the cyclomatic complexity",
          INT(cyclo_or)),
    Cyclo("Include '&&' or 'and' in cyclomatic complexity",
          "Count each '&&' or 'and' in the cyclomatic complexity",
          INT(cyclo_and)),
    // Replaced by the differential configuration file; still recognised so
    // that old files get a hint instead of silence.
    {.type = KeyType::kYesNo, .key = "include cyclo complexity in work files",
     .comment = "", .special = KeySpecial::kDeprecatedCyclo, .written = false},

    Heading("VEK Quality Notices"),
    Text("VEK user defined quality notice file",
         "File of the user defined quality notices; a name without a\n"
         "directory is looked for in the configuration home directory",
         TXT(udqn_file_setting), KeySpecial::kUdqnFile),
    YesNo("Reorder notice, line in quality notices",
          "Write the line number before the notice number so that\n"
          "editors can parse the notice lines",
          INT(reorder_notice)),

    Heading("Code Style Notices"),
    NOTICE(1, "Physical line length exceeds the maximum line length"),
    Integer("Maximum Line Length",
            "Longest physical line in characters (notice 1)",
            INT(max_line_length), 1, 100000),
    NOTICE(2, "Function name length exceeds the maximum name length"),
    Integer("Maximum Function Name Length",
            "Longest function name in characters (notice 2)",
            INT(max_function_name_length), 1, 100000),
    NOTICE(21, "File does not contain the key string"),
    Text("VEK KEY String",
         "Text every file must contain (notice 21), such as a copyright",
         TXT(key_string), KeySpecial::kKeyString),

    Heading("Stability and Maintainability Notices"),
    NOTICE(3, "Ellipsis '...' are identified as function parameters"),
    NOTICE(4, "Assignment '=' within an 'if' statement"),
    NOTICE(5, "Assignment '=' within a 'while' statement"),
    NOTICE(6, "Pre-decrement operator '--' identified"),
    NOTICE(7, "Pre-increment operator '++' identified"),
    NOTICE(8, "'realloc' function identified"),
    NOTICE(9, "'goto' keyword identified"),
    NOTICE(10, "Non-ANSI function prototype identified"),
    NOTICE(11, "Open and closed brackets '[]' are not equal"),
    NOTICE(12, "Open and closed parenthesis '()' are not equal"),
    NOTICE(13, "'switch' statement does not have a 'default'"),
    YesNo("Use default in case/break comparison",
          "Count 'default' with 'case' when comparing the cases with the\n"
          "breaks of a switch (notice 14)",
          INT(default_in_case_break)),
    NOTICE(14, "'case' conditions do not equal 'break'"),
    NOTICE(15, "Friend class has been identified"),
    NOTICE(22, "if, else, for or while not bound by scope braces"),
    NOTICE(23, "'?' ternary operator identified"),
    NOTICE(24, "ANSI C++ keyword identified within a C file"),
    NOTICE(26, "void * generic type identified"),
    NOTICE(27, "Number of function return points exceeds the maximum"),
    Integer("Maximum functional return points",
            "Most return points of a function (notice 27)",
            INT(max_return_points), 0, 100000),
    YesNo("Count goto as a function return point",
          "Count each 'goto' as a return point of its function",
          INT(goto_as_return)),
    NOTICE(28, "Function cyclomatic complexity exceeds the maximum"),
    Integer("Maximum functional cyclomatic complexity",
            "Highest cyclomatic complexity of a function (notice 28)",
            INT(max_cyclomatic), 0, 100000),
    NOTICE(29, "Number of function parameters exceeds the maximum"),
    Integer("Maximum functional interface complexity",
            "Most parameters of a function (notice 29)",
            INT(max_interface), 0, 100000),
    NOTICE(49, "Function appears to have null or blank parameters"),
    NOTICE(30, "TAB character has been identified"),
    NOTICE(32, "Using namespace construct identified"),
    NOTICE(33, "Class/Struct definition within a function definition"),
    NOTICE(34, "Class declaration contains a pointer to data"),
    NOTICE(35, "Class declaration contains public data"),
    YesNo("Ignore public event data",
          "Do not report public event data (notice 35)",
          INT(ignore_public_event)),
    YesNo("Ignore public const data",
          "Do not report public const data (notice 35)",
          INT(ignore_public_const)),
    YesNo("Ignore public delegate data",
          "Do not report public delegate data (notice 35)",
          INT(ignore_public_delegate)),
    NOTICE(36, "Class declaration contains protected data"),
    NOTICE(37, "Base class does not contain a virtual destructor"),
    NOTICE(38, "Exception handling 'try' - 'catch' has been identified"),
    NOTICE(39, "Number of class/struct methods exceeds the maximum"),
    Integer("Maximum number of methods per class",
            "Most methods of a class or struct (notice 39)",
            INT(max_class_methods), 0, 100000),
    NOTICE(40, "Depth of the inheritance tree exceeds the maximum"),
    Integer("Maximum depth of inheritance tree",
            "Deepest inheritance of a class (notice 40)",
            INT(max_inheritance_depth), 0, 100000),
    NOTICE(41, "Number of derived classes exceeds the maximum"),
    Integer("Maximum number of derived child classes",
            "Most classes derived from one class (notice 41)",
            INT(max_child_classes), 0, 100000),
    NOTICE(42, "Multiple inheritance has been identified"),
    NOTICE(43, "Keyword 'continue' has been identified"),
    NOTICE(44, "Keyword 'break' identified outside a 'switch' structure"),
    NOTICE(45, "New and delete counts are not equal for the file"),
    NOTICE(50, "Variable assignment to a literal number"),
    YesNo("Include zero (0) as literal assignment",
          "Report an assignment of zero as a literal number (notice 50)",
          INT(zero_literal)),
    NOTICE(55, "Scope level exceeds the maximum depth of scope"),
    Integer("Maximum depth of scope",
            "Deepest nesting of scope braces in a function (notice 55);\n"
            "0 stands for 7",
            INT(max_scope_depth), 0, 1000, KeySpecial::kZeroIsSeven),
    NOTICE(56, "Sequential breaks identified without a case"),

    Heading("Function, Struct and Class Content Notices"),
    Integer("Min. Function LOC for content analysis",
            "Least lines of code of a function before its blank line,\n"
            "comment and white space content is checked",
            INT(min_function_loc_content), 0, 100000),
    Integer("Min. Class/Struct LOC content analysis",
            "Least lines of code of a class or struct before its blank\n"
            "line, comment and white space content is checked",
            INT(min_class_loc_content), 0, 100000),
    NOTICE(16, "Function/class/struct/interface white space below the\n"
               "minimum percentage"),
    Percent("Minimum Function Whitespace Percent",
            "Least white space percentage of a function or type body\n"
            "(notice 16)",
            PCT(min_function_whitespace)),
    NOTICE(17, "Function comment content below the minimum percentage"),
    Percent("Minimum Function Comment Line Percent",
            "Least comment line percentage of a function (notice 17)",
            PCT(min_function_comment)),
    NOTICE(18, "Function eLOC exceeds the maximum"),
    Integer("Maximum Function eLOC",
            "Most effective lines of code of a function (notice 18)",
            INT(max_function_eloc), 0, 100000),
    NOTICE(48, "Function lLOC at or below the minimum, non-operational\n"
               "function"),
    Integer("Minimum Function lLOC",
            "A function with this many logical lines or fewer is\n"
            "reported (notice 48)",
            INT(min_function_lloc), 0, 100000),
    NOTICE(31, "Class/Struct comments below the minimum percentage"),
    Percent("Minimum Class/Struct Comment Percent",
            "Least comment percentage of a class or struct (notice 31)",
            PCT(min_class_comment)),
    NOTICE(46, "Function/class blank line content below the minimum\n"
               "percentage"),
    Percent("Minimum Function Blank Line Percent",
            "Least blank line percentage of a function or type body\n"
            "(notice 46)",
            PCT(min_function_blank)),
    NOTICE(51, "No comment preceding a function block"),
    NOTICE(52, "No comment preceding a class block"),
    NOTICE(53, "No comment preceding a struct block"),
    NOTICE(54, "No comment preceding an interface block"),

    Heading("File Content Notices"),
    NOTICE(19, "File white space below the minimum percentage"),
    Percent("Minimum File Whitespace Percent",
            "Least white space percentage of a file (notice 19)",
            PCT(min_file_whitespace)),
    Integer("A TAB is equivalent to n space",
            "Number of blanks a tab counts for in the white space\n"
            "percentage",
            INT(tab_size), 1, 16),
    NOTICE(20, "File comment content below the minimum percentage"),
    Percent("Minimum File Comment Line Percent",
            "Least comment line percentage of a file (notice 20)",
            PCT(min_file_comment)),
    NOTICE(47, "File blank line content below the minimum percentage"),
    Percent("Minimum File Blank Line Percent",
            "Least blank line percentage of a file (notice 47)",
            PCT(min_file_blank)),
    NOTICE(57, "VEK skip lines token match - VEK ignores lines"),
    NOTICE(58, "VEK skip quality notices token match - quality notices\n"
               "ignored"),

    Heading("Miscellaneous Notices"),
    Comment("Quality Notice No. 25\n"
            "Deprecated in Version 6.70\n"
            "See settings under language extensions."),

    Heading("VEK Code Listing"),
    Integer("Printed Line Length",
            "Characters per printed line of a code listing",
            INT(print_line_length), 20, 2047),
    Integer("Printed Page Length", "Lines per printed page",
            INT(print_page_length), 10, 10000),
    Integer("Printed Left Margin", "Blanks in the left margin",
            INT(print_left_margin), 0, 100),
    Integer("Printed Top Margin", "Blank lines in the top margin",
            INT(print_top_margin), 0, 100),
    Text("Printed Page Header",
         "Title printed at the head of each page; it must begin with a\n"
         "letter or a digit",
         TXT(print_page_header), KeySpecial::kAlnumText),
    {.type = KeyType::kPageFlag, .key = "Page breaks in code print format",
     .comment = "Separate the printed pages with page breaks",
     .int_field = INT(no_page_breaks)},

    Heading("VEK HTML Report Colors"),
    YesNo("Relative HTML Links",
          "Link the source files with relative paths in HTML reports",
          INT(relative_html_links)),
    Colour("HTML VEK Color", "Color of the VEK title", TXT(color_vek)),
    Colour("HTML Date Color", "Color of the report date", TXT(color_date)),
    Colour("HTML Text Color", "Color of the page text", TXT(color_text)),
    Colour("HTML VLink Color", "Color of visited links", TXT(color_vlink)),
    Colour("HTML Link Color", "Color of links", TXT(color_link)),
    Colour("HTML Background Color", "Background color of the page",
           TXT(color_background)),
    Colour("HTML Error Color", "Color of error messages", TXT(color_error)),
    Colour("HTML Line Color", "Color of line numbers", TXT(color_line)),
    Colour("HTML Old File Differential Color",
           "Color of the older file in metrics differentials",
           TXT(color_old_file_diff)),
    Colour("HTML New File Differential Color",
           "Color of the newer file in metrics differentials",
           TXT(color_new_file_diff)),
    Colour("HTML File Name Color", "Color of file names",
           TXT(color_file_name)),
    Colour("HTML Function Color", "Color of function names",
           TXT(color_function)),
    Colour("HTML Function Parameter Color", "Color of function parameters",
           TXT(color_function_param)),
    Colour("HTML Template Color", "Color of templates", TXT(color_template)),
    Colour("HTML Macro Color", "Color of macros", TXT(color_macro)),
    Colour("HTML Class Color", "Color of class names", TXT(color_class)),
    Colour("HTML Inheritance Color", "Color of the inheritance tree",
           TXT(color_inheritance)),
    Colour("HTML Struct Color", "Color of struct names", TXT(color_struct)),
    Colour("HTML Notice Color", "Color of quality notices",
           TXT(color_notice)),
    Colour("HTML Header Color", "Color of report headings",
           TXT(color_header)),
    Colour("HTML New Code Differential Color",
           "Color of new lines in code differentials",
           TXT(color_new_code_diff)),
    Colour("HTML Removed Code Differential Color",
           "Color of removed lines in code differentials",
           TXT(color_removed_code_diff)),
    Colour("HTML Modified Code Differential Color",
           "Color of modified lines in code differentials",
           TXT(color_modified_code_diff)),
    Colour("HTML Equal Code Differential Color",
           "Color of equal lines in code differentials",
           TXT(color_equal_code_diff)),
    Colour("HTML Total Color", "Color of totals", TXT(color_total)),
    Colour("HTML Inheritance Depth Color",
           "Color of inheritance depths", TXT(color_inheritance_depth)),
    Colour("HTML Inheritance Child Color",
           "Color of derived class counts", TXT(color_inheritance_child)),
    ReadOnly(Colour("html alink color", "Color of active links",
                    TXT(color_alink))),
};

#undef INT
#undef PCT
#undef TXT
#undef NOTICE
#undef FP

}  // namespace

std::span<const ConfigKey> ConfigKeys() { return kKeys; }

const ConfigKey* FindConfigKey(std::string_view key) {
  for (const ConfigKey& entry : kKeys) {
    if (entry.type == KeyType::kHeading || entry.type == KeyType::kComment)
      continue;
    if (CaseEqual(entry.key, key)) return &entry;
  }
  return nullptr;
}

}  // namespace vek
