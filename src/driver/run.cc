#include "driver/run.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "analysis/inheritance_tree.h"
#include "analysis/line_scanner.h"
#include "config/config_file.h"
#include "config/languages.h"
#include "config/macro_file.h"
#include "driver/gather.h"
#include "driver/help.h"
#include "driver/state.h"
#include "driver/switches.h"
#include "reports/file_reports.h"
#include "reports/function_reports.h"
#include "reports/keyword_report.h"
#include "reports/notice_reports.h"
#include "reports/project_reports.h"
#include "reports/type_reports.h"
#include "reports/output.h"
#include "reports/sarif.h"
#include "udqn/udqn.h"

namespace vek {

namespace {

void DebugPause(G& g) {
  if (g.report_stream == stdout) {
    Out(g, "\n  Press Enter Key To Continue ...\n");
    fflush(stdout);
    char answer[16];
    if (fgets(answer, sizeof answer, stdin) == nullptr) clearerr(stdin);
  } else {
    usleep(500000);
  }
}

void WriteDebugParameters(G& g) {
  Out(g, "*** Debug: System Parameters\n");
  Out(g, "*** Debug: Prog Path   = %s\n", g.paths.PROGPATH.c_str());
  Out(g, "*** Debug: Macro File  = %s\n", g.paths.macro_file.c_str());
  Out(g, "*** Debug: VEKHOME     = %s\n", g.paths.VEKHOME.c_str());
  Out(g, "*** Debug: System Path = %s\n", g.paths.SYSTEMPATH.c_str());
  DebugPause(g);
}

void RegisterLanguages(G& g) {
  static const char* const kNames[kBuiltinLanguages] = {
      "Other", "C", "C Header", "C++", "C++ Header", "Java", "C#"};
  for (int type = 0; type < kBuiltinLanguages; ++type)
    register_language(kNames[type], *language_extension_key(g, type), g);
  build_allowed_extensions(g);
}

// The project heading before the project reports.
void WriteProjectHeading(G& g) {
  int files = g.input_file_count;
  if (g.opt.html_flag) {
    Out(g, "\n  %s%s\n\n", kHyphens36, kHyphens36);
    char count[64];
    snprintf(count, sizeof count, "%d", files);
    std::string html = std::string("<b>~~ Total Metrics For ") + "<font color=\"" +
                       g.cfg.color_total + "\">" + count + "</font>" +
                       " Files ~~</b>";
    std::string plain = std::string("~~ Project Analysis For ") + count + " Files ~~";
    center_html_line(g, html, plain);
  } else if (g.opt.csv_flag) {
    Out(g, "\n%s,%d,%s", "Project", files, "Files");
  } else if (!g.opt.xml_flag) {
    Out(g, "\n  %s%s\n\n", kHyphens36, kHyphens36);
    char plain[96];
    snprintf(plain, sizeof plain, "%s%d%s", "~~ Project Analysis For ", files,
             " Files ~~");
    center_line(g, plain);
  }
}

// Every function of the project, then the project's functional summary.
void ProjectFunctionMetrics(G& g) {
  FunctionReport(g);
  if (!g.opt.function_list_flag) FileFunctionSummary(g, 1);
}

// The project reports, in their fixed order.
void WriteProjectReports(G& g) {
  Options& o = g.opt;
  if (o.totals_flag) {
    const bool all = o.totals_all;
    if (!all && !o.totals_inherit) o.inheritance_flag = 0;
    if (all || o.totals_functions) ProjectFunctionMetrics(g);
    if (all || o.totals_objects) {
      ClassReport(g);
      InterfaceReport(g);
    }
    if (all || o.totals_inherit) PrintInheritanceTree(g);
    if (all || o.totals_objects) NamespaceReport(g);
    if (all || o.totals_profile) quality_profile_report(g);
    if (all || o.totals_quality) notice_list_report(g);
    // Reports asked for by their own switches: -X runs in totals-only
    // mode, and they have nowhere else to appear.
    if (o.verbose_flag) KeywordReport(g, 1);
    if (o.alloc_flag) MemorySummary(g);
    if (o.estimate_flag) EstimationReport(g);
    if (all || o.totals_language) LanguageSummary(g);
    if (o.list_file_flag) DirectorySummary(g);
    if (all || o.totals_summary) TotalSummary(g, 1);
    if (o.totals_detail) FileSummary(g);
    return;
  }
  if (o.list_file_flag) DirectorySummary(g);
  if (o.summary_flag) {
    Out(g, "\n");
    TotalSummary(g, 1);
  }
  if (o.function_flag && !o.function_by_objects) ProjectFunctionMetrics(g);
  // -i alone asks for the tree without the type lists.
  const bool types = o.object_flag && (o.object_switch || !o.inheritance_flag);
  if (types) {
    ClassReport(g);
    InterfaceReport(g);
  }
  if (o.inheritance_flag) PrintInheritanceTree(g);
  if (types) NamespaceReport(g);
  if (o.notice_flag) quality_profile_report(g);
  if (o.verbose_flag) KeywordReport(g, 1);
  if (o.alloc_flag) MemorySummary(g);
  if (o.estimate_flag) EstimationReport(g);
  if (o.files_given_flag || o.totals_summary) {
    if (o.csv_flag) Out(g, "\n");
    FileSummary(g);
  }
}

// The --sarif log, written after the report so that a failure here loses
// nothing of it.  Holds the notices the exit status counts.
bool WriteSarif(G& g) {
  const Options& o = g.opt;
  bool notices_on = o.notice_flag || o.notice_collect_flag || o.udqn_show_flag;
  if (!notices_on) {
    g.sarif_notices.clear();
    fprintf(stderr,
            "vek: --sarif: no notices are reported without -n, -N or -T; "
            "the log has no results\n");
  }
  std::string error;
  fflush(g.report_stream);
  if (write_sarif_log(g, &error)) return true;
  fprintf(stderr, "vek: cannot write the SARIF log %s: %s\n",
          o.sarif_file.c_str(), error.c_str());
  return false;
}

// The HTML page of a listing and the listing's prepared texts; false when
// the page header does not fit the line.
bool PrepareListing(G& g) {
  const Config& c = g.cfg;
  if (g.opt.html_flag)
    Out(g, "<html>\n<head>\n<title>Vek Code Gauge %s</title>\n</head>\n"
           "<body>\n<pre><P>\n",
        kVersion);
  ListingSettings s;
  s.line_length = c.print_line_length;
  s.page_length = c.print_page_length;
  s.left_margin = c.print_left_margin;
  s.top_margin = c.print_top_margin;
  s.page_breaks = !c.no_page_breaks;
  s.html = g.opt.html_flag;
  s.header = g.opt.title_flag ? g.opt.title : c.print_page_header;
  return g.listing.Prepare(s, g.report_stream);
}

int Finish(G& g, int status) {
  release_held_output(g, false);
  fflush(g.report_stream);
  if (g.report_stream != stdout && g.report_stream != stderr)
    fclose(g.report_stream);
  g.report_stream = stdout;
  return status;
}

int RunWith(G& g, int argc, char** argv) {
  g.argc = argc;
  g.argv = argv;
  // Report text is held back until the switches have chosen the format: an
  // XML report must begin with its declaration.  A debug run writes at
  // once, since it stops to let the user read.
  g.hold_output = getenv("VEKDEBUG") == nullptr;
  read_environment(g, argc > 0 ? argv[0] : nullptr);
  build_command_line(g, argc, argv);
  resolve_side_files(g);
  if (g.debug_flag) WriteDebugParameters(g);
  read_config(g);
  RegisterLanguages(g);
  load_macros(g);

  if (argc < 2) {
    help_pause(g, false);
    return Finish(g, 0);
  }
  int first_arg = parse_switches(argc, argv, g);
  if (g.stop_flag) return Finish(g, g.stop_status);

  Options& o = g.opt;
  if (!o.xml_flag) release_held_output(g, false);
  g.progress_flag = o.output_file_flag;
  g.dot_interval = g.cfg.progress_interval > 0 ? g.cfg.progress_interval : 1;
  if (o.object_flag && !o.function_flag) {
    o.function_flag = 1;
    o.function_by_objects = 1;
  }
  if (!o.csv_flag && !o.xml_flag && !o.listing_flag) {
    write_head(g.report_stream, g, 0);
    if (g.stop_flag) return Finish(g, g.stop_status);
  }
  write_mode_legend(g);
  if (o.benchmark_flag) g.timer.Start();
  if (g.progress_flag) Progress(g, "  Acquiring Files\n");

  if (o.list_file_flag) {
    if (!o.report_option_flag) o.files_given_flag = 1;
    FILE* list = fopen(o.list_file.c_str(), "rb");
    if (list == nullptr) {
      int err = errno;
      Out(g, "\n  Error: Cannot open the specified file: %s\n         for read, %s\n\n",
          o.list_file.c_str(), strerror(err));
      return Finish(g, -1);
    }
    fclose(list);
  }
  g.notice25_enabled = g.cfg.notice_on[25];
  if (o.csv_flag)
    write_csv_head(g.report_stream, g);
  else if (o.xml_flag)
    write_xml_head(g.report_stream, g);
  // -xUDQNSHOW lists the user defined notices and ends the run, whatever
  // report head named their file.
  if (o.udqn_show_flag) load_udqn_file(nullptr, g);
  if (g.stop_flag) return Finish(g, g.stop_status);
  if (o.listing_flag && !PrepareListing(g)) return Finish(g, 1);

  int files = gather_input_files(first_arg, g);
  if (g.stop_flag) return Finish(g, g.stop_status);
  g.input_file_count = files;
  if (files > 0) o.files_given_flag = 1;
  if (g.debug_flag)
    for (const auto& record : g.input_files)
      Out(g, "*** Debug: Input File: %s\n", record->name.c_str());
  if (g.progress_flag) {
    if (g.cfg.progress_by_name)
      Progress(g, "  Processing %d Files - Status By File Name\n", files);
    else
      Progress(g, "  Processing %d Files - Status(.) %d Files\n  ", files,
               g.dot_interval);
  }

  process_files(g);

  if (g.progress_flag) {
    Progress(g, "(100%%)\n  Processing Files Complete\n");
    Progress(g, (o.sort_key || o.sort_names_flag)
                    ? "  Sorting, Reporting and Post Processing\n"
                    : "  Reporting and Post Processing\n");
  }
  bool extraction = o.extract_strings || o.extract_comments || o.extract_docs;
  bool decharacter = o.detab_flag || o.deunix_flag || o.dedos_flag;
  if (!o.listing_flag && !extraction && !decharacter) totals_to_file_fields(g);
  if (o.totals_all || o.inheritance_flag || o.totals_inherit ||
      o.class_link_flag)
    BuildInheritanceTree(g);
  if (o.csv_flag && o.csv_file_rows)
    CsvFileRow(g.report_stream, "", 0, 0, CsvFileCounts(), 1, g);
  if (!o.function_list_flag && !o.list_only_flag) WriteProjectHeading(g);
  if (!o.listing_flag && !extraction && !decharacter) WriteProjectReports(g);
  if (o.benchmark_flag && !o.listing_flag && !decharacter) BenchmarkReport(g);
  if (!o.listing_flag && !decharacter && !o.csv_flag && !o.xml_flag)
    Out(g, "  %s%s\n\n", kUnderscores36, kUnderscores36);
  write_trailer(g);
  int status = exit_status(g);
  if (!o.sarif_file.empty() && !WriteSarif(g)) status = kRunFailedStatus;
  if (g.progress_flag)
    Progress(g, "  VEK Processed - %d Files\n", g.files_processed);
  return Finish(g, status);
}

}  // namespace

int exit_status(const G& g) {
  const Options& o = g.opt;
  // -n and the switches that imply it (-N, -T, -xUDQNSHOW) all raise the
  // notice flag; totals-only mode alone (-X, the work file modes) does not
  // report notices and so ends with 0.
  bool notices_on = o.notice_flag || o.notice_collect_flag || o.udqn_show_flag;
  if (!notices_on) return 0;
  int n = g.notice_count;
  if (n < 0) return 0;
  return n > 255 ? 255 : n;
}

int Run(int argc, char** argv) {
  std::unique_ptr<G> g(new (std::nothrow) G);
  if (!g) {
    fprintf(stderr, "\n  Error: memory allocation failed\n\n");
    return 1;
  }
  // Reports can run to hundreds of megabytes: write them in large blocks
  // unless a person is watching.
  static char buffer[1 << 16];
  if (!isatty(fileno(stdout))) setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
  int status = RunWith(*g, argc, argv);
  return status & 0xff;
}

}  // namespace vek
