// The work file: one baseline of a source tree as text.  Six header lines
// (title, warning, version, creation time, the two code differential
// settings), then one record per analysed file:
//
//   name| mtime size LOC eLOC comments blanks lines lLOC cyclomatic
//         notices interface functions dif-path
//
// Times are written as full 64-bit decimal numbers, so they stay exact
// after 2038; a reader of 32-bit times sees the same text for every time
// before then.
#ifndef VEK_WORKFILES_WORK_FILE_H_
#define VEK_WORKFILES_WORK_FILE_H_

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <string>
#include <string_view>

#include "common/list.h"
#include "common/metrics_entry.h"

namespace vek {

struct G;
struct FileRecord;

constexpr const char* kWorkFileTitle = "Vek Code Gauge Work File";
constexpr const char* kWorkFileWarning = "DO NOT EDIT - This is a Generated File";
constexpr const char* kLatestWorkFile = "workfile.dat";

// The numbers of one record, in the order they are written.
struct WorkRecord {
  int64_t mtime = 0;
  long size = 0;
  int loc = 0, eloc = 0, comments = 0, blanks = 0, lines = 0, lloc = 0;
  int cyclomatic = 0, notices = 0, interface_complexity = 0, functions = 0;
};

// "WorkFile_" + month, day, century, two-digit year + ".dat" of `when`
// in local time (WorkFile_12062026.dat on 6 December 2026).
std::string DatedWorkFileName(time_t when);

// The work file path: a name holding a folder is used as it is; otherwise
// the name goes into `location` when that begins with a letter, a digit,
// '.', '/' or '\', else into the current folder.
std::string WorkFilePath(std::string_view location, std::string_view name);

// Where the "workfile.dat" copy of the latest baseline goes.
std::string LatestWorkFilePath(std::string_view location);

// The name a file is recorded under: with `relative` on and a top folder
// other than "." found in `path` as a whole folder, the path after it and
// its separator; otherwise the path as it is.
std::string RecordName(std::string_view path, std::string_view top,
                       bool relative);

void WriteWorkFileHeader(FILE* out, int64_t created, int ignore_blank_lines,
                         int ignore_white_space);
void WriteWorkRecord(FILE* out, std::string_view name, const WorkRecord& r,
                     std::string_view dif_path);

// Parses one record line (with or without its line end) into `e`: name,
// numbers, total complexity and the dif path in text5.  A name such as
// x.c@@/main/4 keeps only "x.c".  Returns false, leaving `e` unspecified,
// when the line is not a whole record.
bool ParseWorkRecord(std::string_view line, MetricsEntry& e);

// What the header of a loaded work file says.
struct WorkFileHeader {
  double version = 0.0;
  int64_t created = 0;
  int ignore_blank_lines = 0;
  int ignore_white_space = 0;
};

// Loads a work file into `list`, sorted by name in byte order.  Messages
// name the file and the line of every fault.  Returns 1 when the file was
// read (records that are not whole are skipped and counted in
// g.workfile.input_faults), 0 when it cannot be opened or is no work file.
int load_work_file(const std::string& path, WorkFileHeader& header,
                   List<MetricsEntry>& list, G& g);

// A creating run: opens the work file (after the report head), writes a
// record after each analysed file, and at the end puts the work file in
// place and copies it to "workfile.dat".  create_work_file switches
// creation off, after its message, when the file cannot be made.
bool create_work_file(G& g);
void write_work_record(G& g, const FileRecord& record);
void finish_work_file(G& g);

}  // namespace vek

#endif  // VEK_WORKFILES_WORK_FILE_H_
