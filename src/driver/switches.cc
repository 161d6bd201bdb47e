#include "driver/switches.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "common/text.h"
#include "config/config_file.h"
#include "driver/help.h"
#include "driver/state.h"
#include "reports/output.h"

namespace vek {

namespace {

// Letters followed by ':' take an argument.
constexpr const char kOptionLetters[] =
    "AabB:cCD:dE:ef:F:h:Hik:lmnN:opM:O:P:L:S:qr:R:sT:u:vw:x:XWxy";

const char* kHelpHint = "         Use -hs for help text\n";

// Writes an error message, the HTML trailer, and ends the run.
void Fail(G& g, int status, const char* message) {
  Out(g, "%s", message);
  HtmlEnd(g);
  Stop(g, status);
}

void ParseDirectorySwitch(G& g, const char* arg) {
  Options& o = g.opt;
  o.recursive_flag = 1;
  o.list_file_flag = 0;
  o.recursive_extensions.clear();
  o.recursive_dir.clear();
  std::string_view text = arg ? arg : "";
  size_t blank = text.find(' ');
  o.recursive_extensions = Bounded(text.substr(0, blank), kLineSize);
  if (blank != std::string_view::npos) {
    std::string_view dir = text.substr(blank + 1);
    dir = dir.substr(0, dir.find_first_of("\r\n"));
    o.recursive_dir = Bounded(dir, kLineSize);
  }
  const std::string& d = o.recursive_dir;
  if (d == "." || d == "./" || d == "/" || d == "*" || d == "*.*" ||
      d == ".\\" || d == "\\") {
    char cwd[kLineSize];
    if (getcwd(cwd, sizeof cwd) != nullptr) o.recursive_dir = cwd;
  }
  bool ext_letter = !o.recursive_extensions.empty() &&
                    IsAlpha(o.recursive_extensions[0]);
  bool dir_letter = !o.recursive_dir.empty() && IsAlpha(o.recursive_dir[0]);
  if (!ext_letter && !dir_letter) {
    Fail(g, 1,
         "\n  Error: In the specified parameter: -r\n"
         "         For the recursive descent option -r,\n"
         "         The option parameters must be delimited by quotes.\n"
         "         Specify the file extensions separated by commas.\n"
         "         The specified directory must be the last parameter.\n\n"
         "         Windows Example: -r\"h,cpp,java,cs c:\\my project\"\n"
         "         UNIX Example: -r\"h,cpp,java,cs /my_project\"\n"
         "         Use -hs for help text\n");
  }
}

// Splits "File TYPE path": the first word is skipped, TYPE is the second,
// the path is the rest up to a line end (it may hold blanks).
void SplitFileArg(std::string_view text, std::string& type, std::string& path) {
  constexpr std::string_view kSeps = " \t\r\n";
  size_t i = text.find_first_of(kSeps);
  if (i == std::string_view::npos) i = text.size();
  i = text.find_first_not_of(kSeps, i);
  if (i == std::string_view::npos) return;
  size_t end = text.find_first_of(kSeps, i);
  if (end == std::string_view::npos) end = text.size();
  type = std::string(text.substr(i, end - i));
  size_t p = text.find_first_not_of(kSeps, end);
  if (p == std::string_view::npos) return;
  std::string_view rest = text.substr(p);
  path = Bounded(rest.substr(0, rest.find_first_of("\r\n")), kPathSize);
}

void ParseUserFiles(G& g, const char* arg) {
  std::string_view text = arg ? arg : "";
  if (text.empty() || (text[0] != 'F' && text[0] != 'f')) {
    write_head(g.report_stream, g, 0);
    write_mode_legend(g);
    Fail(g, 1,
         "\n  Error: Invalid or missing parameter for -u option\n"
         "         Use -hs for help text\n");
    return;
  }
  std::string type, path;
  SplitFileArg(text, type, path);
  if (CaseEqual(type, "cfg")) {
    if (!g.cfg.user_cfg_enabled) return;
    if (path.empty()) {
      Fail(g, 0,
           "\n  Error: -w \"File cfg\" file name not parsed\n"
           "         Check command line syntax\n");
    } else if (access(path.c_str(), R_OK) != 0) {
      write_head(g.report_stream, g, 0);
      write_mode_legend(g);
      Out(g, "\n  Error: File name [%s] not found\n         path\\filename required\n",
          path.c_str());
      HtmlEnd(g);
      Stop(g, 0);
    } else {
      g.paths.cfg_file = path;
      read_user_config(path, g);
    }
  } else if (CaseEqual(type, "xsl")) {
    if (path.empty())
      Fail(g, 0,
           "\n  Error: -w \"File xsl\" file name not parsed\n"
           "         Check command line syntax\n");
    else
      g.opt.xsl_file = path;
  } else {
    Fail(g, 0,
         "\n  Error: -u \"File [cfg | xsl] [path\\filename]\"\n"
         "         Command line syntax is not correct\n");
  }
}

void ParseWorkFiles(G& g, const char* arg) {
  Options& o = g.opt;
  std::string_view text = arg ? arg : "";
  o.totals_flag = 1;
  o.no_file_names = 1;
  char letter = text.empty() ? '\0' : text[0];
  switch (letter) {
    case 'c':
    case 'C': {
      if (!CaseStartsWith(text, "create")) {
        Fail(g, 1,
             "\n  Error: The correct syntax for the work file create\n"
             "         option is: -w \"Create top directory of baseline\"\n"
             "         Windows Example: -w \"Create c:\\my project\"\n"
             "         Unix Example: -w \"Create /Project_Dir\"\n"
             "         Current Directory Example: -w \"Create .\"\n");
        return;
      }
      std::string dir(text.size() > 7 ? text.substr(7) : std::string_view());
      if (dir.size() <= 1 && dir != ".") {
        Fail(g, 1,
             "\n  Error: No baseline directory specififed for the\n"
             "         -w \"Create dir\" option.\n");
        return;
      }
      if (dir.size() > 1 && (dir.back() == '/' || dir.back() == '\\'))
        dir.pop_back();
      o.baseline_dir = Bounded(dir, kPathSize);
      o.workfile_create = 1;
      o.function_flag = 1;
      o.object_flag = 1;
      o.complexity_flag = 1;
      return;
    }
    case 'D':
      o.workfile_deterministic = 1;
      o.workfile_create = 0;
      o.no_file_names = 0;
      return;
    case 'd': o.code_diff_flag = 1; return;
    case 'e': o.skip_equal = 1; return;
    case 'm': o.skip_modified = 1; return;
    case 'n': o.skip_new = 1; return;
    case 'r': o.skip_removed = 1; return;
    case 'b': o.show_basis = 1; return;
    case 'g': o.show_glossary = 1; return;
    case 'p': o.show_productivity = 1; return;
    case 's': o.diff_details = 1; return;
    case 'v': o.diff_verbose = 1; return;
    case 'F': {
      std::string type, path;
      SplitFileArg(text, type, path);
      if (CaseEqual(type, "dat")) {
        if (path.empty()) {
          Fail(g, 0,
               "\n  Error: -w \"File dat\" file name not parsed\n"
               "         Check command line syntax\n");
          return;
        }
        o.workfile_name = path;
        size_t slash = path.find_last_of("/\\");
        o.workfile_dir = slash == std::string::npos ? "." : path.substr(0, slash);
      } else if (CaseEqual(type, "cfg")) {
        if (path.empty()) {
          Fail(g, 0,
               "\n  Error: -w \"File cfg\" file name not parsed\n"
               "         Check command line syntax\n");
        } else if (access(path.c_str(), R_OK) != 0) {
          Out(g, "\n  Error: File name [%s] not found\n", path.c_str());
          HtmlEnd(g);
          Stop(g, 0);
        } else {
          g.paths.workdiff_cfg_file = path;
          o.diff_config_flag = 1;
        }
      } else {
        Fail(g, 0,
             "\n  Error: -w \"File [dat|cfg] [path\\filename]\"\n"
             "         Command line syntax is not correct\n");
      }
      return;
    }
    case 'W':
      Fail(g, 0,
           "\n  Error: The -wW switch has been deprecated and is no\n"
           "         longer supported.  Use the -wx switch to perform\n"
           "         baseline differentials\n\n");
      return;
    case 'x': {
      std::string_view pair = text.substr(1);
      size_t comma = pair.find(',');
      if (comma == std::string_view::npos) {
        Fail(g, 1,
             "\n  Error: -wx option syntax is invalid\n"
             "         Example -w\"x work file old, work file new\"\n"
             "         Use -hs for help text\n");
        return;
      }
      o.diff_old = std::string(TrimLeft(pair.substr(0, comma)));
      o.diff_new = std::string(TrimRight(TrimLeft(pair.substr(comma + 1))));
      // The differential engine reports between the two baselines; until
      // it is part of the program the run ends here with its trailer.
      write_trailer(g);
      Stop(g, 0);
      return;
    }
    default:
      Fail(g, 1,
           "\n  Error: Invalid or missing parameter for -w option\n"
           "         Use -hs for help text\n");
  }
}

void ParseExtended(G& g, const char* arg) {
  Options& o = g.opt;
  std::string_view text = arg ? arg : "";
  if (text.empty() || text[0] == ' ') {
    Out(g, "\n  -x Work Diff extraction mode is now supported under the -wx option\n");
    HtmlEnd(g);
    Stop(g, 1);
    return;
  }
  if (CaseEqual(text, "NOCONFIG")) {
    o.no_config_flag = 1;
  } else if (CaseEqual(text, "NOCOMMAND")) {
    o.no_command_flag = 1;
  } else if (CaseEqual(text, "NOWRAP")) {
    g.cfg.wrap_names = 0;
  } else if (CaseEqual(text, "UDQNSHOW")) {
    o.udqn_show_flag = 1;
    o.notice_flag = 1;
  } else if (CaseEqual(text, "NOHEADER")) {
    o.no_header_flag = 1;
  } else if (CaseEqual(text, "DEBUG")) {
    g.debug_flag = 1;
  } else if (CaseEqual(text, "DIFFDEBUG")) {
    o.diff_debug_flag = 1;
  } else if (text[0] == 'c') {
    // Displays the differential's report configuration; the display joins
    // the differential reports.
    HtmlEnd(g);
    Stop(g, 1);
  } else if (text[0] == 'F' || text[0] == 'f') {
    o.report_option_flag = 1;
    std::string type, path;
    SplitFileArg(text, type, path);
    if (!CaseEqual(type, "csv")) {
      Fail(g, 1, "\n  Error: Invalid report file type\n");
      return;
    }
    o.report_cfg_file = path;
    if (g.debug_flag)
      Out(g, "*** Debug: Report File Options\n*** Type: %s\n*** File: %s\n",
          "Comma Separated Variables - CSV", path.c_str());
  } else {
    Fail(g, 1,
         "\n  Error: Invalid parameter for -x option\n"
         "         Use -hs for help text\n");
  }
}

void ParseTotals(G& g, const char* arg) {
  Options& o = g.opt;
  o.totals_flag = 1;
  o.object_flag = 1;
  o.function_flag = 1;
  o.notice_flag = 1;
  o.complexity_flag = 1;
  switch (arg ? arg[0] : '\0') {
    case 'a': o.totals_all = 1; break;
    case 'd': o.totals_detail = 1; o.function_points_flag = 1; break;
    case 'f': o.totals_functions = 1; o.function_points_flag = 1; break;
    case 'i': o.totals_inherit = 1; o.class_link_flag = 1; break;
    case 'l': o.totals_summaries_only = 1; break;
    case 'L': o.totals_language = 1; break;
    case 'N': o.no_file_names = 1; break;
    case 'n': o.totals_notices = 1; o.notice_collect_flag = 1; break;
    case 'o': o.totals_objects = 1; break;
    case 'p':
      o.totals_profile = 1;
      o.notice_collect_flag = 0;
      o.class_link_flag = 1;
      break;
    case 'q':
      o.totals_quality = 1;
      if (!o.notice_visual_flag && !o.notice_gcc_flag) o.notice_single_flag = 1;
      o.notice_collect_flag = 1;
      o.class_link_flag = 1;
      break;
    case 's': o.totals_summary = 1; break;
    case 'v': o.totals_verbose = 1; o.verbose_flag = 1; break;
    case 'w': o.totals_workdiff = 1; break;
    default:
      Fail(g, 1,
           "\n  Error: Invalid or missing parameter for -T option\n"
           "         Use -hs for help text\n");
  }
}

void ParseHelp(G& g, const char* arg) {
  switch (arg ? arg[0] : 'f') {
    case 's': help_syntax(g); break;
    case 'c': write_config(g.report_stream, g); break;
    case 'n': help_notices(g); break;
    case 'p': help_pause(g, true); break;
    default: help_full(g); break;
  }
  Stop(g, 0);
}

// One switch letter with its argument.  Returns false for an unknown one.
void ApplySwitch(G& g, int letter, const char* arg) {
  Options& o = g.opt;
  char sub = arg ? arg[0] : '\0';
  switch (letter) {
    case 'A':
    case 'C':
      o.csv_flag = 1;
      o.complexity_flag = 1;
      o.report_option_flag = 1;
      break;
    case 'a': o.alloc_flag = 1; o.report_option_flag = 1; break;
    case 'B': {
      int v = ParseInt(arg ? arg : "");
      g.cfg.print_top_margin = v < 0 ? 0 : v;
      break;
    }
    case 'b': o.benchmark_flag = 1; break;
    case 'c':
      o.complexity_flag = 1;
      o.function_flag = 1;
      o.report_option_flag = 1;
      break;
    case 'D':
      o.report_option_flag = 1;
      if (sub == 't') o.detab_flag = 1;
      else if (sub == 'u') o.deunix_flag = 1;
      else if (sub == 'd') o.dedos_flag = 1;
      else
        Fail(g, 1,
             "\n  Error: Invalid or missing parameter for -D option\n"
             "         Use -hs for help text\n");
      break;
    case 'd': o.deterministic_flag = 1; o.report_option_flag = 1; break;
    case 'E':
      o.report_option_flag = 1;
      if (sub == 's') o.extract_strings = 1;
      else if (sub == 'c') o.extract_comments = 1;
      else if (sub == 'C') { o.extract_docs = 1; o.function_flag = 1; }
      else
        Fail(g, 1,
             "\n  Error: Invalid parameter for -E option\n"
             "         Use -hs for help text\n");
      break;
    case 'e':
      o.estimate_flag = 1;
      o.function_flag = 1;
      o.report_option_flag = 1;
      break;
    case 'F':
      o.list_file_flag = 1;
      o.list_file = Bounded(arg ? arg : "", kPathSize);
      o.recursive_flag = 0;
      break;
    case 'f':
      if (arg == nullptr) break;
      if (sub == 'a') {
        o.function_flag = 1;
        if (o.csv_flag) o.csv_file_rows = 1;
        o.report_option_flag = 1;
      } else if (sub == 'd') {
        o.function_detail_flag = 1;
        o.function_flag = 1;
        o.report_option_flag = 1;
      } else if (sub == 'p') {
        o.function_points_flag = 1;
      } else if (sub == 'm') {
        o.class_methods_flag = 1;
        o.object_flag = 1;
        o.function_flag = 1;
        o.report_option_flag = 1;
      } else {
        Fail(g, 1,
             "\n  Error: As of version 6.20 the -f flag requires\n"
             "         -fa for functional analysis\n"
             "         -fd function file details\n"
             "         -fm function and attribute detail for classes\n"
             "         -fp for function points derived from LOC metrics\n"
             "         Use -hs for program syntax\n");
      }
      break;
    case 'H': o.html_flag = 1; break;
    case 'h': o.report_option_flag = 1; ParseHelp(g, arg); break;
    case 'i':
      o.inheritance_flag = 1;
      o.object_flag = 1;
      o.report_option_flag = 1;
      break;
    case 'k':
      if (sub == 'd') {
        o.sort_descending = 1;
      } else {
        int key = ParseInt(arg ? arg : "");
        if (key < 0 || key > 10) {
          Out(g,
              "\n  Error: %d invalid sort key value.\n"
              "         Defaulting to no sort\n%s",
              key, kHelpHint);
          key = 0;
        }
        o.sort_key = key;
      }
      break;
    case 'L': {
      int v = ParseInt(arg ? arg : "");
      g.cfg.print_line_length = v < 20 ? 20 : v;
      break;
    }
    case 'l':
      o.function_list_flag = 1;
      o.function_flag = 1;
      o.report_option_flag = 1;
      break;
    case 'M': {
      int v = ParseInt(arg ? arg : "");
      g.cfg.print_left_margin = v < 0 ? 0 : v;
      break;
    }
    case 'm': o.macro_flag = 1; o.report_option_flag = 1; break;
    case 'N':
      o.report_option_flag = 1;
      if (sub == 's') o.notice_single_flag = 1;
      else if (sub == 'v') o.notice_visual_flag = 1;
      else if (sub == 'g') o.notice_gcc_flag = 1;
      else {
        Fail(g, 1,
             "\n  Error: Invalid or missing parameter for -N option\n"
             "         Use -hs for help text\n");
        break;
      }
      o.notice_flag = 1;
      o.notice_collect_flag = 1;
      break;
    case 'n': o.notice_flag = 1; o.report_option_flag = 1; break;
    case 'O':
      o.output_file = Bounded(arg ? arg : "", kPathSize);
      if (!open_output(o.output_file, g)) {
        HtmlEnd(g);
        Stop(g, 1);
      } else {
        o.output_file_flag = 1;
      }
      break;
    case 'o':
      o.object_flag = 1;
      o.object_switch = 1;
      o.report_option_flag = 1;
      break;
    case 'P': {
      int v = ParseInt(arg ? arg : "");
      if (v < 0) g.cfg.no_page_breaks = 1;
      g.cfg.print_page_length = v;
      break;
    }
    case 'p': o.listing_flag = 1; break;
    case 'q':
      o.report_option_flag = 1;
      Out(g, "\n  -q Query setup mode is now supported in the %s file.\n",
          kConfigFileName);
      HtmlEnd(g);
      Stop(g, 1);
      break;
    case 'R':
      if (sub == 'd') o.no_recurse_flag = 1;
      else if (sub == 'l') o.list_only_flag = 1;
      else if (sub == 'n') o.sort_names_flag = 1;
      else
        Fail(g, 1,
             "\n  Error: Invalid parameter for -R option\n"
             "         Use -hs for help text\n");
      break;
    case 'r': ParseDirectorySwitch(g, arg); break;
    case 'S':
      o.title = Bounded(arg ? arg : "", kLineSize);
      o.title_flag = 1;
      break;
    case 's':
      o.summary_flag = 1;
      if (o.csv_flag) o.csv_file_rows = 1;
      break;
    case 'T': o.report_option_flag = 1; ParseTotals(g, arg); break;
    case 'u': ParseUserFiles(g, arg); break;
    case 'v': o.verbose_flag = 1; o.report_option_flag = 1; break;
    case 'W':
      o.report_option_flag = 1;
      Out(g, "\n  -W Work Diff mode is now supported under the -wx option\n");
      HtmlEnd(g);
      Stop(g, 1);
      break;
    case 'w': o.report_option_flag = 1; ParseWorkFiles(g, arg); break;
    case 'X':
      o.xml_flag = 1;
      o.totals_flag = 1;
      o.report_option_flag = 1;
      break;
    case 'x': ParseExtended(g, arg); break;
    case 'y':
      o.report_option_flag = 1;
      write_config(g.report_stream, g);
      Stop(g, 0);
      break;
    default:
      Fail(g, 1,
           "\n  Error: Command line parse error, invalid option.\n"
           "         Use -hs to show program help syntax.\n");
  }
}

// --help, --version, --sarif=FILE and --sarif-root=DIR.
void ApplyLongOption(G& g, const char* word) {
  std::string_view text = word ? word : "";
  size_t eq = text.find('=');
  std::string_view name = text.substr(0, eq);
  std::string_view value =
      eq == std::string_view::npos ? std::string_view() : text.substr(eq + 1);
  bool has_value = eq != std::string_view::npos;
  if (name == "help" && !has_value) {
    g.opt.report_option_flag = 1;
    help_syntax(g);
    Stop(g, 0);
  } else if (name == "version" && !has_value) {
    Out(g, "vek %s\n", kVersion);
    Stop(g, 0);
  } else if ((name == "sarif" || name == "sarif-root") && !value.empty()) {
    std::string& field =
        name == "sarif" ? g.opt.sarif_file : g.opt.sarif_root;
    field = Bounded(value, kPathSize);
  } else if (name == "sarif" || name == "sarif-root") {
    Fail(g, 1,
         "\n  Error: --sarif and --sarif-root need a name: --sarif=FILE\n"
         "         Use -hs for help text\n");
  } else {
    Fail(g, 1,
         "\n  Error: Command line parse error, invalid option.\n"
         "         Use -hs to show program help syntax.\n");
  }
}

}  // namespace

bool OptionScanner::IsOptionWord(const char* word) const {
  if (word[0] == '-') return true;
  if (word[0] != '/') return false;
  // A leading '/' marks a switch cluster ("/c /fa") only when the word is
  // not a path: it holds no second '/' and names nothing that exists.
  if (strchr(word + 1, '/') != nullptr) return false;
  struct stat st;
  return stat(word, &st) != 0;
}

int OptionScanner::Next() {
  arg_ = nullptr;
  if (pos_ == 0) {
    if (index_ >= argc_) return -1;
    const char* word = argv_[index_];
    if (!IsOptionWord(word) || word[1] == '\0') return -1;
    if (strcmp(word, "--") == 0) {
      ++index_;
      return -1;
    }
    if (word[0] == '-' && word[1] == '-') {
      arg_ = word + 2;
      ++index_;
      return kLongOption;
    }
    pos_ = 1;
  }
  const char* word = argv_[index_];
  int letter = static_cast<unsigned char>(word[pos_++]);
  bool word_done = word[pos_] == '\0';
  const char* entry = letter == ':' ? nullptr : strchr(kOptionLetters, letter);
  if (entry == nullptr || letter == 0) {
    if (word_done) {
      ++index_;
      pos_ = 0;
    }
    return '?';
  }
  if (entry[1] == ':') {
    if (!word_done) {
      arg_ = word + pos_;
    } else if (index_ + 1 < argc_) {
      arg_ = argv_[++index_];
    }
    ++index_;
    pos_ = 0;
  } else if (word_done) {
    ++index_;
    pos_ = 0;
  }
  return letter;
}

int parse_switches(int argc, char** argv, G& g) {
  OptionScanner scanner(argc, argv);
  for (int letter; (letter = scanner.Next()) != -1;) {
    if (letter == OptionScanner::kLongOption)
      ApplyLongOption(g, scanner.arg());
    else
      ApplySwitch(g, letter, scanner.arg());
    if (g.stop_flag) return scanner.index();
  }

  // Count the file arguments: step over switch words, and over a switch
  // value when the word after it is a switch again.
  int i = 1;
  while (i < argc && argv[i][0] == '-') {
    if (i + 2 < argc && argv[i + 2][0] == '-')
      i += 3;
    else
      i += 1;
  }
  g.input_file_count = argc - i;
  if (g.input_file_count > 0) g.opt.files_given_flag = 1;
  g.opt.summary_flag = 1;
  return scanner.index();
}

}  // namespace vek
