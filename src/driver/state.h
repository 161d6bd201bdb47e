// G: the one state record of a run.  It is created once in main, passed by
// reference to every operation and never copied.  Each group is owned by the
// subsystem named beside it.
#ifndef VEK_DRIVER_STATE_H_
#define VEK_DRIVER_STATE_H_

#include <cstdint>
#include <cstdio>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "analysis/counters.h"
#include "analysis/function_state.h"
#include "analysis/inheritance_tree.h"
#include "analysis/scan_state.h"
#include "analysis/type_state.h"
#include "common/collected_notice.h"
#include "common/list.h"
#include "common/metrics_entry.h"
#include "common/name_set.h"
#include "common/type_record.h"
#include "common/text.h"
#include "config/config.h"
#include "config/languages.h"
#include "listing/code_listing.h"
#include "reports/csv_file_table.h"
#include "reports/function_records.h"
#include "reports/process_timer.h"
#include "udqn/udqn_set.h"
#include "workfiles/workfile_state.h"

namespace vek {

// Switch settings (driver/switches).
struct Options {
  int report_option_flag = 0;  // some report or analysis switch was given
  int files_given_flag = 0;    // file arguments were given
  int html_flag = 0;
  int csv_flag = 0;
  int xml_flag = 0;
  int alloc_flag = 0;          // -a
  int benchmark_flag = 0;      // -b
  int complexity_flag = 0;     // -c
  int detab_flag = 0;          // -Dt
  int deunix_flag = 0;         // -Du
  int dedos_flag = 0;          // -Dd
  int deterministic_flag = 0;  // -d
  int extract_strings = 0;     // -Es
  int extract_comments = 0;    // -Ec
  int extract_docs = 0;        // -EC
  int estimate_flag = 0;       // -e
  int list_file_flag = 0;      // -F
  std::string list_file;       // "-" reads the list from standard input
  // --exclude=GLOB: files and folders whose path (relative to the top of a
  // walk, else as named) matches one of these are left out.
  std::vector<std::string> excludes;
  int include_vcs = 0;         // --include-vcs: walk .git, .hg and .svn too
  int function_flag = 0;       // -fa and the switches that imply it
  int function_by_objects = 0; // function analysis is on only because -o
                               // asked for it: no per-function lines
  int csv_file_rows = 0;       // per-file CSV rows (-C with -s or -fa)
  int function_detail_flag = 0;  // -fd
  int function_points_flag = 0;  // -fp
  int class_methods_flag = 0;    // -fm, VEKCLASSMF
  int inheritance_flag = 0;      // -i
  int sort_descending = 0;       // -kd
  int sort_key = 0;              // -k0 .. -k10
  int function_list_flag = 0;    // -l
  int macro_flag = 0;            // -m
  int notice_flag = 0;           // -n
  int notice_single_flag = 0;    // -Ns
  int notice_visual_flag = 0;    // -Nv
  int notice_gcc_flag = 0;       // -Ng: file:line: warning: text [VEKnnn]
  std::string sarif_file;        // --sarif=FILE: the notices as a SARIF log
  std::string sarif_root;        // --sarif-root=DIR: base of relative URIs
  int notice_collect_flag = 0;   // single-line notice collection
  int output_file_flag = 0;      // -O
  std::string output_file;
  int object_flag = 0;           // -o, and the switches that imply it
  int object_switch = 0;         // -o itself
  int listing_flag = 0;          // -p; -B -M -P -L set the cfg.print_*
  int recursive_flag = 0;        // -r
  std::string recursive_extensions;
  std::string recursive_dir;
  int no_recurse_flag = 0;       // -Rd
  int list_only_flag = 0;        // -Rl
  int sort_names_flag = 0;       // -Rn
  int title_flag = 0;            // -S given
  std::string title = "VEK Code Listing";
  int summary_flag = 0;          // -s
  int totals_flag = 0;           // -T
  int totals_all = 0;            // -Ta
  int totals_detail = 0;         // -Td
  int totals_functions = 0;      // -Tf
  int totals_inherit = 0;        // -Ti
  int totals_summaries_only = 0; // -Tl
  int totals_language = 0;       // -TL
  int no_file_names = 0;         // -TN and the work file modes
  int totals_notices = 0;        // -Tn
  int totals_objects = 0;        // -To
  int totals_profile = 0;        // -Tp
  int totals_quality = 0;        // -Tq
  int totals_summary = 0;        // -Ts
  int totals_verbose = 0;        // -Tv
  int totals_workdiff = 0;       // -Tw
  int class_link_flag = 0;       // link the class lists after the loop
  std::string xsl_file;          // -u File XSL
  int verbose_flag = 0;          // -v
  // Work files and differentials (-w).
  int workfile_create = 0;
  std::string baseline_dir;
  std::string workfile_name = "workfile.dat";
  int workfile_name_given = 0;   // -w"File dat name"
  std::string workfile_dir = ".";
  int workfile_deterministic = 0;
  int code_diff_flag = 0;        // -wd
  int skip_equal = 0, skip_modified = 0, skip_new = 0, skip_removed = 0;
  int show_basis = 0, show_glossary = 0, show_productivity = 0;
  int diff_details = 0;          // -ws
  int diff_verbose = 0;          // -wv
  int diff_config_flag = 0;      // -w File cfg given
  std::string diff_old, diff_new;  // -wx
  // Extended options (-x).
  int no_config_flag = 0;
  int no_command_flag = 0;
  int no_header_flag = 0;
  int udqn_show_flag = 0;
  int diff_debug_flag = 0;
  std::string report_cfg_file;   // -xFile csv
};

// Paths and names found at start-up (driver/run).
struct Paths {
  std::string prog_path;    // the program as invoked
  std::string PROGPATH;     // program directory, with a trailing '/'
  std::string VEKHOME;      // where side files are looked for
  std::string CFGHOME;      // overrides VEKHOME for the side files
  std::string SYSTEMPATH;   // PATH, shown in debug output
  std::string command_line; // the arguments joined by blanks
  std::string cfg_file;
  std::string macro_file;
  std::string workdiff_cfg_file;
  std::string start_dir;    // the working directory at start-up
};

// One input file and, after its analysis, its results.
struct FileRecord {
  std::string name;
  int64_t mtime = 0;
  long size = 0;
  int file_type = -1;
  int lines = 0, loc = 0, eloc = 0, lloc = 0, comments = 0, blanks = 0;
  int functions = 0, cyclomatic = 0, returns = 0, parameters = 0;
  int skipped = 0, notices = 0;
  double fp[3] = {0.0, 0.0, 0.0};  // function points from LOC, eLOC, lLOC
};

// Language flags of the current file (config/languages).
struct FileTyping {
  int c_flag = 0, cpp_flag = 0, java_flag = 0, csharp_flag = 0;
  int header_flag = 0, other_flag = 0;
  int file_type = -1;
  int files_by_type[kBuiltinLanguages] = {};  // counted files per language
};

// The file being analysed (driver/file_loop).
struct CurrentFile {
  char line[kLineSize] = {};
  int line_number = 0;
  std::string name;
  FileRecord* record = nullptr;
  int64_t mtime = 0;
  long size = 0;
  int skip_lines_flag = 0;
  int skip_quality_flag = 0;
};

// One entry of the recorded-notice list.
struct RecordedNotice {
  int file = 0;    // index into G::notice_files
  int line = 0;
  int number = 0;  // notice number
};

struct G {
  G() = default;
  G(const G&) = delete;
  G& operator=(const G&) = delete;

  // Run options.
  Options opt;
  Config cfg;
  int debug_flag = 0;
  // The scanner splits each line into its code, comment and string text
  // only for those who read them (debug traces, user defined notices).
  int partitions_flag = 0;
  int argc = 0;
  char** argv = nullptr;
  Paths paths;

  // Report stream (reports/output).
  FILE* report_stream = stdout;
  int progress_flag = 0;
  int dot_interval = 10;
  int head_written = 0;
  FILE* html_stream = nullptr;      // the stream the HTML prolog is on
  // Until the switches have chosen the report format, report text is held
  // here: an XML report must begin with its declaration (reports/output).
  int hold_output = 0;
  std::string held_output;
  CsvFileTable csv_table;           // the -C file table (reports/file_reports)
  FunctionReportState fn_report;    // function records, sums, CSV rows
                                    // (reports/function_records)

  // Set when the run has to end now (help, an error); the status to return.
  int stop_flag = 0;
  int stop_status = 0;
  // Files and folders named as inputs that could not be read; any of them
  // ends the run with kRunFailedStatus.
  int input_failures = 0;
  int progress_live = 0;            // progress redrawn in place on a terminal
  // The report's own files (the -O file, a standard output redirected to
  // a file), by device and inode: never read back as inputs.
  struct FileId {
    unsigned long long dev = 0, ino = 0;
  };
  std::vector<FileId> report_files;

  // Languages.
  LanguageTable languages;
  FileTyping typing;

  // Current file.
  CurrentFile file;
  FileCounters counters;
  ScanState scan;
  FunctionState fs;
  TypeState ts;

  // Project.
  List<FileRecord> input_files;
  List<MetricsEntry> directories;   // -F directory entries, sorted by name
  NameSet macro_names;              // predefined and #define'd macro names
  TypeList classes;                 // classes and structs
  TypeList interfaces;              // names carry kInterfacePrefix
  TypeList namespaces;              // namespaces and packages
  InheritanceTree tree;             // built after the file loop (-i, -Ta)
  CodeListing listing;              // -p (listing/code_listing)
  ProjectCounters totals;          // 64-bit sums over every file
  int files_processed = 0;
  int input_file_count = 0;
  int notice_count = 0;             // notices of the whole run so far
  int notice_totals[kNoticeCount + 1] = {};  // per built-in notice number
  // The recorded-notice list of the single-line emitter, in the order the
  // notices were found; a run can record millions, so each names its file
  // by its index in notice_files.
  std::vector<RecordedNotice> recorded_notices;
  std::vector<std::string> notice_files;
  // The long text of a notice that names nothing but its line, split
  // around the line number; built on first use, by form (plain, line
  // first) and number (analysis/notice_points).
  struct NoticeText {
    int state = 0;  // 0 not built, 1 built, -1 has other values
    std::string before, after;
  };
  NoticeText notice_texts[2][kNoticeCount + 1];
  // The same for notices that also name a keyword or a few values, keyed
  // by form, number and values; bounded (analysis/notice_points).
  std::unordered_map<std::string, NoticeText> notice_value_texts;
  // When set, every notice the scan raises is appended here as (number,
  // line) before it is emitted; the tests read the scan's notices from it.
  std::vector<std::pair<int, int>>* notice_trace = nullptr;
  // With --sarif, every counted notice of the run, in the order found.
  std::vector<CollectedNotice> sarif_notices;
  int notice25_enabled = 0;
  // Short descriptions of notices 1..58 (index 0 unused), formatted with
  // the thresholds in force at their first use (analysis/notice_catalogue).
  std::vector<std::string> notice_descriptions;
  long long project_bytes = 0;
  ProcessTimer timer;               // -b, started before the files are read
  double fp_totals[3] = {0.0, 0.0, 0.0};
  UdqnSet udqn;                     // user defined quality notices (udqn)
  int progress_files = 0;           // run-wide progress counters
  int progress_total = 0;

  // Work files and differentials (workfiles).
  WorkFileState workfile;
};

// Ends the run with `status` after the current step (help, errors).
inline void Stop(G& g, int status) {
  g.stop_flag = 1;
  g.stop_status = status;
}

}  // namespace vek

#endif  // VEK_DRIVER_STATE_H_
