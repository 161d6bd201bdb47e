// Code listing (-p): every input file printed as numbered pages for
// publication and peer review.  Each page carries a centred title, the file
// name, the page number and the file's date; every source line carries the
// line number the other reports use for it, and long lines wrap inside the
// line length.
#ifndef VEK_LISTING_CODE_LISTING_H_
#define VEK_LISTING_CODE_LISTING_H_

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace vek {

// What the configuration and the switches ask of a listing.
struct ListingSettings {
  int line_length = 80;   // L
  int page_length = 55;   // P; negative switches page breaks off
  int left_margin = 5;    // M
  int top_margin = 1;     // B
  int page_breaks = 0;    // form feeds between pages (never in HTML)
  int html = 0;           // escape the text for an HTML page
  std::string header = "VEK Code Listing";
};

// Writes listings onto one stream.  Prepare once, then ListFile for each
// input file.
class CodeListing {
 public:
  CodeListing() = default;
  CodeListing(const CodeListing&) = delete;
  CodeListing& operator=(const CodeListing&) = delete;

  // Settles the limits (a line length below 20 becomes 20, negative
  // margins 0) and builds the margin, title line and rules.  When the
  // header is longer than the line, writes the error (closing the HTML
  // page) and returns false: the run must end with status 1.
  bool Prepare(const ListingSettings& settings, FILE* out);

  // Lists one open file (read as bytes, line ends kept) under `name`.
  void ListFile(FILE* in, std::string_view name);

  // Prints one source line of `len` bytes (its line feed included, when it
  // has one); returns the number of output lines it used.
  int PrintLine(const char* text, size_t len, int line_number);

  // The title, file, date and rule lines at the top of page `page`.
  void PrintPageHeader(std::string_view name, int page);

  // The settings in force after Prepare.
  const ListingSettings& settings() const { return s_; }

 private:
  void Write(const char* text, size_t len);
  void Write(std::string_view text) { Write(text.data(), text.size()); }
  void Feeds(int count);
  void PrintPiece(bool first, int line_number, const char* text, size_t len,
                  bool add_line_feed);
  void NextLine(const char* text, size_t len, std::string_view name);

  FILE* out_ = stdout;
  ListingSettings s_;
  std::string margin_;
  std::string title_line_;
  std::string header_rule_;
  std::string footer_rule_;
  // State of the file being listed.
  std::string date_line_;
  std::string held_;      // a line that runs past one read block
  int line_number_ = 0;
  int page_ = 1;
  int used_ = 0;          // output lines counted on the current page
};

// Writes `len` bytes onto `out` with &, <, > and " escaped for HTML.
void WriteHtmlEscaped(FILE* out, const char* text, size_t len);

// The fixed 24-character local date form "Wed Sep 02 22:13:31 2009".
std::string ListingDate(int64_t mtime);

}  // namespace vek

#endif  // VEK_LISTING_CODE_LISTING_H_
