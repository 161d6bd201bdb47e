// Values of the configuration file vek.cfg.  Every field has the default a
// new file is written with; reading the file overrides them, the switches
// override the file.
#ifndef VEK_CONFIG_CONFIG_H_
#define VEK_CONFIG_CONFIG_H_

#include <string>

namespace vek {

constexpr const char* kVersion = "7.75";
constexpr const char* kConfigFileName = "vek.cfg";
constexpr const char* kMacroFileName = "vek_macro.cfg";
constexpr const char* kWorkDiffFileName = "vek_workdiff.cfg";
constexpr const char* kUdqnFileName = "vek_udqn.cfg";
constexpr int kNoticeCount = 58;  // built-in quality notices 1..58

// Rows of the function point factor table, in the order they are written.
enum FpLanguage { kFpHeader, kFpC, kFpCpp, kFpJava, kFpCSharp, kFpOther,
                  kFpLanguages };
enum FpBasis { kFpLoc, kFpEloc, kFpLloc, kFpBases };

struct Config {
  std::string cfg_version;  // as read; empty when the file had none

  // Operation.
  int report_header_active = 0;
  std::string report_header_text;
  std::string report_header_html;
  int user_cfg_enabled = 0;
  int case_sensitive = 0;
  int show_progress = 0;
  int progress_by_name = 0;
  int progress_interval = 10;
  int show_file_date_size = 1;
  int validate_extensions = 1;
  std::string ext_c = "c";
  std::string ext_c_header = "h";
  std::string ext_cpp = "cc,cpp,cxx,CC";
  std::string ext_cpp_header = "h,hh,H,hxx,hpp";
  std::string ext_csharp = "cs";
  std::string ext_java = "java";
  std::string ext_other;
  int c_headers_as_cpp = 1;
  int pattern_filter_active = 0;
  std::string pattern_filter;
  std::string skip_begin_token = "VEK_IGNORE_BEGIN";
  std::string skip_end_token = "VEK_IGNORE_END";
  std::string quality_skip_begin_token = "VEK_IGNORE_QUALITY_BEGIN";
  std::string quality_skip_end_token = "VEK_IGNORE_QUALITY_END";
  int skip_tokens_active = 0;
  int exclude_dirs_active = 0;
  std::string exclude_dirs = "sccs,cvs,rcs,svn";
  int wrap_names = 1;

  // Baseline metrics differentials.
  std::string work_file_path;
  int ignore_diff_blank_lines = 1;
  int ignore_diff_white_space = 1;
  int max_lcs_lines = 7000;
  int removed_as_modified = 0;
  int show_equal_lines = 0;
  int show_removed_lines = 0;
  int show_added_lines = 0;
  int relative_work_files = 1;
  int work_seconds_per_hour = 3600;
  int work_hours_per_shift = 8;
  int work_shifts_per_day = 1;
  int work_days_per_week = 5;
  int work_hours_per_man_day = 8;
  int work_hours_per_man_week = 40;
  int work_hours_per_man_month = 160;
  int work_hours_per_man_year = 1960;

  // Function point conversion factors: lines per function point.
  int fp_factor[kFpLanguages][kFpBases] = {
      {0, 0, 0}, {128, 128, 128}, {53, 53, 53},
      {53, 53, 53}, {53, 53, 53}, {0, 0, 0}};

  // Components of the cyclomatic complexity.
  int cyclo_function_call = 1;
  int cyclo_while = 1;
  int cyclo_for = 1;
  int cyclo_switch = 0;
  int cyclo_case = 1;
  int cyclo_if = 1;
  int cyclo_else = 0;
  int cyclo_ternary = 1;
  int cyclo_goto = 1;
  int cyclo_or = 1;
  int cyclo_and = 1;

  // Quality notices.  notice_on[n] enables notice n (1..58; slot 25 unused).
  std::string udqn_file;          // resolved against the configuration home
  std::string udqn_file_setting;  // the value as the file gave it
  int reorder_notice = 0;
  int notice_on[kNoticeCount + 1] = {};
  int max_line_length = 80;
  int max_function_name_length = 32;
  std::string key_string;
  int key_string_set = 0;
  int default_in_case_break = 0;
  int max_return_points = 1;
  int goto_as_return = 1;
  int max_cyclomatic = 10;
  int max_interface = 6;
  int ignore_public_event = 1;
  int ignore_public_const = 1;
  int ignore_public_delegate = 1;
  int max_class_methods = 100;
  int max_inheritance_depth = 4;
  int max_child_classes = 10;
  int zero_literal = 0;
  int max_scope_depth = 7;
  int min_function_loc_content = 0;
  int min_class_loc_content = 0;
  double min_function_whitespace = 10.0;
  double min_function_comment = 10.0;
  int max_function_eloc = 200;
  int min_function_lloc = 0;
  double min_class_comment = 10.0;
  double min_function_blank = 10.0;
  double min_file_whitespace = 10.0;
  int tab_size = 2;
  double min_file_comment = 10.0;
  double min_file_blank = 10.0;

  // Code listing.
  int print_line_length = 80;
  int print_page_length = 55;
  int print_left_margin = 5;
  int print_top_margin = 1;
  std::string print_page_header = "VEK Code Listing";
  int no_page_breaks = 1;  // "Page breaks in code print format: No"

  // HTML reports.
  int relative_html_links = 1;
  std::string color_vek = "#0000FF";
  std::string color_date = "#0000FF";
  std::string color_text = "#000000";
  std::string color_vlink = "#660099";
  std::string color_link = "#0000EE";
  std::string color_background = "#F8F8F8";
  std::string color_error = "#FF0000";
  std::string color_line = "#003399";
  std::string color_old_file_diff = "#CC0033";
  std::string color_new_file_diff = "#336666";
  std::string color_file_name = "#0000FF";
  std::string color_function = "#0000FF";
  std::string color_function_param = "#006600";
  std::string color_template = "#006699";
  std::string color_macro = "#33CCFF";
  std::string color_class = "#663300";
  std::string color_inheritance = "#FF3300";
  std::string color_struct = "#990000";
  std::string color_notice = "#CC0000";
  std::string color_header = "#993300";
  std::string color_new_code_diff = "#3366CC";
  std::string color_removed_code_diff = "#FF0000";
  std::string color_modified_code_diff = "#993300";
  std::string color_equal_code_diff = "#00CC00";
  std::string color_total = "#993300";
  std::string color_inheritance_depth = "#333300";
  std::string color_inheritance_child = "#CC6600";
  std::string color_alink = "#CCCCCC";  // read, never written

  Config() {
    for (int n = 1; n <= kNoticeCount; ++n) notice_on[n] = 1;
    for (int n : {21, 25, 46, 47, 51, 52, 53, 54, 57, 58}) notice_on[n] = 0;
  }
};

}  // namespace vek

#endif  // VEK_CONFIG_CONFIG_H_
