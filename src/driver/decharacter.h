// De-charactering (-Dt, -Du, -Dd): tabs to blanks and line-end conversion
// of source files, rewritten in place.  The converted text goes to a new
// file in the same folder, which replaces the original only once it is
// complete and on disk; any failure leaves the original as it was.
#ifndef VEK_DRIVER_DECHARACTER_H_
#define VEK_DRIVER_DECHARACTER_H_

#include <cstdio>
#include <string>

namespace vek {

struct G;

// The conversion itself, fed the file in blocks of any size: the state
// (inside a string, a carriage return waiting for its line feed) carries
// across blocks, so a line may be split anywhere.
class Decharacterizer {
 public:
  Decharacterizer(bool tabs, bool unix_ends, bool dos_ends, int tab_width)
      : tabs_(tabs), unix_(unix_ends), dos_(dos_ends),
        tab_width_(tab_width < 1 ? 0 : tab_width) {}

  // Appends the converted form of `len` bytes to `out`.
  void Feed(const char* data, size_t len, std::string& out);
  // Appends what is still held back at the end of the input.
  void Finish(std::string& out);

  // Lines seen: line feeds, and a last line without one.
  int lines() const { return lines_ + (mid_line_ ? 1 : 0); }
  int tabs_replaced() const { return tabs_replaced_; }

 private:
  bool tabs_, unix_, dos_;
  int tab_width_;
  bool in_string_ = false;
  bool escaped_ = false;     // an odd run of backslashes precedes
  bool cr_held_ = false;     // -Du: a CR that may start a CR LF
  bool after_cr_ = false;    // the previous byte was a CR
  bool mid_line_ = false;    // bytes since the last line feed
  int lines_ = 0;
  int tabs_replaced_ = 0;
};

// Converts one file opened by the file loop; returns 1 when the file was
// rewritten (or was empty and needed nothing), 0 otherwise.  Writes the
// file header, the work announced and the outcome to the report stream.
int decharacter_file(FILE* in, const std::string& name, G& g);

}  // namespace vek

#endif  // VEK_DRIVER_DECHARACTER_H_
