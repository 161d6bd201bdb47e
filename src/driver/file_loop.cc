// The file loop: every input file in list order, every line of each file.
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <memory>

#include "analysis/line_scanner.h"
#include "analysis/notice_points.h"
#include "analysis/types.h"
#include "config/languages.h"
#include "driver/decharacter.h"
#include "driver/run.h"
#include "driver/state.h"
#include "reports/file_header.h"
#include "reports/file_reports.h"
#include "reports/function_reports.h"
#include "reports/keyword_report.h"
#include "reports/metrics_blocks.h"
#include "reports/output.h"
#include "udqn/udqn.h"

namespace vek {

bool SourceReader::Fill() {
  if (eof_) return false;
  if (pos_ < end_) memmove(block_, block_ + pos_, end_ - pos_);
  end_ -= pos_;
  pos_ = 0;
  size_t n = fread(block_ + end_, 1, sizeof block_ - end_, f_);
  if (n == 0) eof_ = true;
  end_ += n;
  return n > 0;
}

bool SourceReader::AtEnd() { return pos_ == end_ && !Fill(); }

size_t SourceReader::Next(char* buf, size_t cap) {
  size_t want = cap - 1;
  for (;;) {
    size_t avail = end_ - pos_;
    size_t span = avail < want ? avail : want;
    const char* nl = static_cast<const char*>(memchr(block_ + pos_, '\n', span));
    if (nl != nullptr) span = static_cast<size_t>(nl - (block_ + pos_)) + 1;
    if (nl != nullptr || span == want || !Fill()) {
      memcpy(buf, block_ + pos_, span);
      buf[span] = '\0';
      pos_ += span;
      return span;
    }
  }
}

namespace {

// Names that begin with a blank or a byte above 127 (a letter outside
// ASCII) are ordinary file names and are analysed like any other.
bool SkipName(const std::string& name) { return name.empty() || name == "."; }

void ShowProgress(G& g, const std::string& name) {
  if (g.cfg.progress_by_name) {
    Progress(g, "  + %s\n", name.c_str());
    return;
  }
  ++g.progress_files;
  if (g.progress_files % g.dot_interval == 0) Progress(g, ".");
  if (g.progress_files > 65 * g.dot_interval - 1) {
    g.progress_total += g.progress_files;
    double percent = g.input_file_count > 0
                         ? 100.0 * g.progress_total / g.input_file_count
                         : 0.0;
    Progress(g, "(%4.1f%%)\n  ", percent);
    g.progress_files = 1;
  }
}

// Looks for the skip tokens in a line; returns true when the line is to be
// skipped rather than analysed.
bool CheckSkipTokens(G& g, std::string_view line) {
  CurrentFile& f = g.file;
  const Config& c = g.cfg;
  auto has = [&](const std::string& token) {
    return !token.empty() && line.find(token) != std::string_view::npos;
  };
  if (has(c.skip_begin_token)) {
    f.skip_lines_flag = 1;
    raise_notice(g, 57, f.line_number);
  } else if (has(c.skip_end_token)) {
    f.skip_lines_flag = 0;
    return true;
  } else if (has(c.quality_skip_begin_token)) {
    f.skip_quality_flag = 1;
    raise_notice(g, 58, f.line_number);  // counted inside the region too
  } else if (has(c.quality_skip_end_token)) {
    f.skip_quality_flag = 0;
  }
  return f.skip_lines_flag != 0;
}

void ReadLines(G& g, FILE* in) {
  CurrentFile& f = g.file;
  FileCounters& k = g.counters;
  char* line = f.line;
  auto reader = std::make_unique<SourceReader>(in);
  bool first_read = true;
  for (;;) {
    size_t n = reader->Next(line, kLineSize);
    bool at_end = (n == 0 || line[n - 1] != '\n') && reader->AtEnd();
    // Only a UTF-8 byte-order mark at the start of the file is dropped;
    // other bytes above 127 are text ("\xC3\x9Cberblick").
    size_t lead = 0;
    if (first_read && n >= 3 && memcmp(line, "\xEF\xBB\xBF", 3) == 0) lead = 3;
    first_read = false;
    const char* text = line + lead;
    size_t len = n - lead;
    if (at_end) {
      unsigned char first = len > 0 ? static_cast<unsigned char>(text[0]) : 0;
      if (first < 12 && first != '\t') break;
    }
    if (n == kReadSize && line[n - 1] != '\n') {
      // The long line is not counted yet: it is the next line number, the
      // one its rest is analysed as.
      Out(g,
          "\n  Error: Text line %d length greater than %d characters\n"
          "         Examine file for proper text file formatting.\n",
          f.line_number + 1, static_cast<int>(kLineSize));
      continue;
    }
    ++f.line_number;
    ++k.line_count;
    bool skipped = g.cfg.skip_tokens_active &&
                   CheckSkipTokens(g, std::string_view(text, len));
    if (skipped)
      ++k.skipped_lines;
    else
      analyse_line(text, len, f.line_number, g);
    if (at_end) break;
  }
}

void StoreResults(G& g, FileRecord& r) {
  const FileCounters& k = g.counters;
  r.lines = k.line_count;
  r.loc = k.loc;
  r.eloc = k.eloc();
  r.lloc = k.lloc();
  r.comments = k.comment_lines;
  r.blanks = k.blank_lines;
  r.functions = k.function_count;
  r.cyclomatic = k.cyclomatic_sum;
  r.returns = k.return_sum;
  r.parameters = k.parameter_sum;
  r.skipped = k.skipped_lines;
  r.notices = k.notice_count;
}

// Whether `dir` is the directory `entry` or lies below it.  A plain prefix
// is not enough: "src/c" must not take the files of "src/cpp".
bool WithinDirectory(std::string_view dir, std::string_view entry) {
  while (entry.size() > 1 && (entry.back() == '/' || entry.back() == '\\'))
    entry.remove_suffix(1);
  if (dir.compare(0, entry.size(), entry) != 0) return false;
  if (dir.size() == entry.size()) return true;
  char next = dir[entry.size()];
  return next == '/' || next == '\\' || entry == "/";
}

// Adds the file to the -F directory entry that holds it; of nested
// entries the deepest one takes it.
void AddToDirectory(G& g, const FileRecord& r) {
  std::string_view name = r.name;
  size_t slash = name.find_last_of("/\\");
  std::string_view dir = slash == std::string_view::npos ? std::string_view()
                                                         : name.substr(0, slash);
  MetricsEntry* best = nullptr;
  for (const auto& entry : g.directories) {
    if (entry->name.empty() || !WithinDirectory(dir, entry->name)) continue;
    if (best == nullptr || entry->name.size() > best->name.size())
      best = entry.get();
  }
  if (best == nullptr) return;
  best->loc += r.loc;
  best->eloc += r.eloc;
  best->lloc += r.lloc;
  best->comments += r.comments;
  best->lines += r.lines;
  best->functions += 1;  // the directory's file count
}

// Function points: lines per function point of the file's language.
void ComputeFunctionPoints(G& g, FileRecord& r) {
  const FileTyping& t = g.typing;
  int lang = t.header_flag   ? kFpHeader
             : t.c_flag      ? kFpC
             : t.cpp_flag    ? kFpCpp
             : t.java_flag   ? kFpJava
             : t.csharp_flag ? kFpCSharp
                             : kFpOther;
  const int counts[kFpBases] = {r.loc, r.eloc, r.lloc};
  for (int b = 0; b < kFpBases; ++b) {
    int factor = g.cfg.fp_factor[lang][b];
    r.fp[b] = factor > 0 ? static_cast<double>(counts[b]) / factor : 0.0;
    g.fp_totals[b] += r.fp[b];
  }
}

void WriteEndOfFile(G& g, const std::string& name) {
  std::string wrapped = wrap_name(name, 59, 15, g);
  if (g.opt.html_flag) {
    Out(g, "  %s%s\n", kUnderscores36, kUnderscores36);
    std::string inner = "<b>End of File: </b><b><a href=\"" + file_link(name, g) +
                        "\" target=\"_blank\">" + HtmlEscape(wrapped) +
                        "</a></b>\n";
    Out(g, "  %s\n\n", inner.c_str());
  } else if (g.opt.csv_flag) {
    Out(g, "File End\n");
  } else if (!g.opt.xml_flag) {
    Out(g, "  %s%s\n", kUnderscores36, kUnderscores36);
    Out(g, "  End of File: %s\n\n", wrapped.c_str());
  }
}

// The reports written after each file.
void WriteFileReports(G& g) {
  const Options& o = g.opt;
  CurrentFile& f = g.file;
  if (o.csv_flag && o.csv_file_rows) {
    CsvFunctionRow(g.report_stream, nullptr, g);
    CsvFileRow(g.report_stream, f.name, f.mtime, f.size, CsvFileCountsOf(g), 0,
               g);
    return;
  }
  if (o.extract_strings || o.extract_comments || o.extract_docs) return;
  // The work file line of the file is written here once baselines exist.
  bool xml_verbose = o.xml_flag && o.verbose_flag && !o.totals_verbose;
  if (o.totals_flag && !xml_verbose) return;
  if (o.summary_flag || o.function_flag) TotalSummary(g, 0);
  if (o.function_flag && !o.function_list_flag && g.fs.sums.functions > 0)
    FileFunctionSummary(g, 0);
  if (o.alloc_flag) MemorySummary(g);
  if (o.verbose_flag) KeywordReport(g, 0);
}

void ResetFile(G& g) {
  reset_file_state(g);
  g.file.line_number = 0;
  g.file.skip_lines_flag = 0;
  g.file.skip_quality_flag = 0;
  g.file.record = nullptr;
}

void ProcessFile(G& g, FileRecord& record) {
  const Options& o = g.opt;
  CurrentFile& f = g.file;
  f.name = Bounded(record.name, kLineSize);
  if (SkipName(f.name)) return;
  bool decharacter = o.detab_flag || o.deunix_flag || o.dedos_flag;
  FILE* in = fopen(f.name.c_str(), decharacter ? "r+b" : "rb");
  if (in == nullptr) {
    int err = errno;
    Out(g,
        decharacter ? "\n  Error: Problem opening input file:\n         %s\n"
                      "         For modification, %s\n\n"
                    : "\n  Error: Problem opening input file:\n         %s\n"
                      "         For read, %s\n\n",
        EscapeFor(g, f.name).c_str(), strerror(err));
    return;
  }
  if (o.listing_flag) {
    g.listing.ListFile(in, f.name);
    ++g.files_processed;
    fclose(in);
    return;
  }
  if (decharacter) {
    decharacter_file(in, f.name, g);
    ++g.files_processed;
    fclose(in);
    return;
  }
  f.record = &record;
  if (g.progress_flag) ShowProgress(g, f.name);
  bool file_elements = o.xml_flag && !o.no_file_names;
  if (file_elements) Out(g, "<file>\n");
  f.mtime = record.mtime;
  f.size = record.size;
  g.project_bytes += record.size;
  FileHeader(f.name, f.mtime, f.size, o.totals_flag, g);
  record.file_type = type_file(f.name, g, 1);
  ++g.files_processed;

  ReadLines(g, in);

  StoreResults(g, record);
  if (o.list_file_flag) AddToDirectory(g, record);
  ComputeFunctionPoints(g, record);
  // A Java package (or classes left open) ends with its file.
  types_file_end(f.line_number, g);
  // The end-of-file scope check and the file-level quality notices come
  // before the reports.
  end_of_file_scope_check(g);
  file_end_notices(g);
  record.notices = g.counters.notice_count;
  WriteFileReports(g);
  if (o.report_option_flag && !o.totals_flag) WriteEndOfFile(g, f.name);
  udqn_end_of_file(g);
  record.notices = g.counters.notice_count;
  add_file_to_totals(g);
  if (file_elements) {
    if (!o.list_only_flag) {
      LocBlock(g, record.loc, record.eloc, record.lloc, record.comments,
               record.lines);
      FunctionPointBlock(g, record.fp[0], record.fp[1], record.fp[2]);
    }
    Out(g, "</file>\n");
  }
  ResetFile(g);
  fclose(in);
}

}  // namespace

void process_files(G& g) {
  for (const auto& record : g.input_files) ProcessFile(g, *record);
}

}  // namespace vek
