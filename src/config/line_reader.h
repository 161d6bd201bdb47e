// Reads the side files of the configuration (vek.cfg, vek_macro.cfg) one
// line at a time, in reads of at most 2047 bytes like every other text file
// of the program.
#ifndef VEK_CONFIG_LINE_READER_H_
#define VEK_CONFIG_LINE_READER_H_

#include <cstdio>
#include <string>

namespace vek {

class LineReader {
 public:
  explicit LineReader(FILE* stream) : stream_(stream) {}

  // Stores the next line, with its line end, in `line` and returns true; at
  // the end of the file returns false.  A line longer than 2047 bytes yields
  // its first 2047 bytes once; the rest of it is dropped, so that a piece
  // from the middle of a long line is never taken for a line of its own.
  // A last read at the end of the file whose first byte is below 12 (a
  // stray end-of-file mark) ends the file as well.
  bool Next(std::string& line);

 private:
  // One read: up to 2047 bytes, ending after a newline.  Sets `at_eof`
  // when the read ended at the end of the file rather than at a newline.
  bool Read(std::string& piece, bool& at_eof, bool& complete);

  FILE* stream_;
};

}  // namespace vek

#endif  // VEK_CONFIG_LINE_READER_H_
