#include "config/line_reader.h"

#include "common/text.h"

namespace vek {

bool LineReader::Read(std::string& piece, bool& at_eof, bool& complete) {
  piece.clear();
  at_eof = false;
  complete = false;
  while (piece.size() < kReadSize) {
    int c = std::getc(stream_);
    if (c == EOF) {
      at_eof = true;
      break;
    }
    piece.push_back(static_cast<char>(c));
    if (c == '\n') {
      complete = true;
      break;
    }
  }
  return !piece.empty();
}

bool LineReader::Next(std::string& line) {
  bool at_eof = false;
  bool complete = false;
  if (!Read(line, at_eof, complete)) return false;
  if (at_eof && static_cast<unsigned char>(line[0]) < 12) return false;
  if (!complete && !at_eof) {
    // An over-long line: skip the remaining reads up to its newline.
    std::string rest;
    bool rest_eof = false;
    bool rest_complete = false;
    while (!rest_complete && !rest_eof &&
           Read(rest, rest_eof, rest_complete)) {
    }
  }
  return true;
}

}  // namespace vek
