#include "listing/code_listing.h"

#include <sys/stat.h>

#include <cstring>
#include <ctime>

namespace vek {

namespace {

constexpr int kMinLineLength = 20;
// The rules and the margin are built as text once: a mistyped length of
// billions must not ask for gigabytes.
constexpr int kMaxWidth = 32767;
// The line number column: five digits, a bar and a blank.
constexpr int kNumberField = 7;
constexpr const char kContinuation[] = "     | ";
constexpr size_t kBlockSize = 1 << 16;

int Digits(int n) {
  int d = 1;
  for (; n >= 10; n /= 10) ++d;
  return d;
}

}  // namespace

void WriteHtmlEscaped(FILE* out, const char* text, size_t len) {
  size_t start = 0;
  for (size_t i = 0; i < len; ++i) {
    const char* entity = nullptr;
    switch (text[i]) {
      case '&': entity = "&amp;"; break;
      case '<': entity = "&lt;"; break;
      case '>': entity = "&gt;"; break;
      case '"': entity = "&quot;"; break;
      default: continue;
    }
    fwrite(text + start, 1, i - start, out);
    fputs(entity, out);
    start = i + 1;
  }
  fwrite(text + start, 1, len - start, out);
}

std::string ListingDate(int64_t mtime) {
  time_t t = static_cast<time_t>(mtime);
  struct tm tm_buf;
  if (localtime_r(&t, &tm_buf) == nullptr) return {};
  char buf[64];
  size_t n = strftime(buf, sizeof buf, "%a %b %d %H:%M:%S %Y", &tm_buf);
  return std::string(buf, n);
}

bool CodeListing::Prepare(const ListingSettings& settings, FILE* out) {
  out_ = out;
  s_ = settings;
  if (s_.line_length < kMinLineLength) s_.line_length = kMinLineLength;
  if (s_.line_length > kMaxWidth) s_.line_length = kMaxWidth;
  if (s_.left_margin < 0) s_.left_margin = 0;
  if (s_.left_margin > kMaxWidth) s_.left_margin = kMaxWidth;
  if (s_.top_margin < 0) s_.top_margin = 0;
  if (s_.page_length < 0 || s_.html) s_.page_breaks = 0;
  const int L = s_.line_length;
  const int header_length = static_cast<int>(s_.header.size());
  if (header_length > L) {
    fprintf(out_,
            "\n  Error: The Specified header length (%d) exceeds\n"
            "         the available line length (%d). \n"
            "         Header: ",
            header_length, L);
    if (s_.html)
      WriteHtmlEscaped(out_, s_.header.data(), s_.header.size());
    else
      Write(s_.header);
    Write("\n");
    if (s_.html) Write("</pre></body></html>");
    return false;
  }
  margin_.assign(static_cast<size_t>(s_.left_margin), ' ');
  // The title is centred over the line; an odd leftover goes to the left.
  size_t indent =
      static_cast<size_t>(s_.left_margin + (L - header_length + 1) / 2);
  title_line_.assign(indent, ' ');
  title_line_ += s_.header;
  title_line_ += '\n';
  std::string rule(static_cast<size_t>(L), '_');
  header_rule_ = margin_ + rule + "\n\n";
  footer_rule_ = margin_ + rule + "\n";
  return true;
}

void CodeListing::Write(const char* text, size_t len) {
  fwrite(text, 1, len, out_);
}

void CodeListing::Feeds(int count) {
  for (int i = 0; i < count; ++i) fputc('\n', out_);
}

void CodeListing::PrintPageHeader(std::string_view name, int page) {
  const int L = s_.line_length;
  if (s_.html) {
    Write(title_line_.data(), title_line_.size() - s_.header.size() - 1);
    WriteHtmlEscaped(out_, s_.header.data(), s_.header.size());
    Write("\n");
  } else {
    Write(title_line_);
  }
  // The file line: about a third of the free room after the name, then the
  // page field ending in the last column of the line.
  int length = s_.left_margin + 6 + static_cast<int>(name.size());
  int blanks = 0;
  while (blanks < L / 2 - length / 2) {
    ++blanks;
    ++length;
  }
  int pad = (s_.left_margin + L) - 6 - Digits(page) - length;
  if (pad > 0) blanks += pad;
  Write(margin_);
  Write("File: ");
  if (s_.html)
    WriteHtmlEscaped(out_, name.data(), name.size());
  else
    Write(name);
  for (int i = 0; i < blanks; ++i) fputc(' ', out_);
  if (s_.page_breaks) fprintf(out_, "Page: %d", page);
  Write("\n");
  Write(date_line_);
  Write(header_rule_);
}

void CodeListing::PrintPiece(bool first, int line_number, const char* text,
                             size_t len, bool add_line_feed) {
  Write(margin_);
  if (first)
    fprintf(out_, "%5d| ", line_number);
  else
    Write(kContinuation, sizeof kContinuation - 1);
  if (s_.html)
    WriteHtmlEscaped(out_, text, len);
  else
    Write(text, len);
  if (add_line_feed) Write("\n");
}

int CodeListing::PrintLine(const char* text, size_t len, int line_number) {
  // A last line without its line feed prints as if it had one, so that
  // every listing ends the same way.
  if (len == 0 || text[len - 1] != '\n') {
    std::string with_feed(text, len);
    with_feed += '\n';
    return PrintLine(with_feed.data(), with_feed.size(), line_number);
  }
  const size_t width = static_cast<size_t>(s_.line_length - kNumberField);
  if (len <= width) {
    PrintPiece(true, line_number, text, len, false);
    return 1;
  }
  // Pieces of `width` bytes; the last one ends in the line's own feed.
  int used = 0;
  for (size_t at = 0; at < len; at += width) {
    size_t n = len - at < width ? len - at : width;
    bool last = at + n == len;
    PrintPiece(at == 0, line_number, text + at, n, !last);
    ++used;
  }
  return used;
}

void CodeListing::NextLine(const char* text, size_t len,
                           std::string_view name) {
  // A page ends once it is full and another line is waiting, so that a
  // file that fills its last page exactly gets no empty page after it.
  if (s_.page_breaks && used_ > s_.page_length - 6) {
    fprintf(out_, "%s\f\n", footer_rule_.c_str());
    ++page_;
    Feeds(s_.top_margin);
    PrintPageHeader(name, page_);
    used_ = s_.top_margin + 1;
  }
  ++line_number_;
  used_ += PrintLine(text, len, line_number_);
}

void CodeListing::ListFile(FILE* in, std::string_view name) {
  struct stat st;
  date_line_ = margin_;
  if (fstat(fileno(in), &st) == 0) {
    date_line_ += "Date: ";
    date_line_ += ListingDate(static_cast<int64_t>(st.st_mtime));
  }
  date_line_ += '\n';
  line_number_ = 0;
  page_ = 1;
  held_.clear();
  Feeds(s_.top_margin);
  PrintPageHeader(name, page_);
  used_ = s_.top_margin + 1;

  // Lines are cut from large blocks; a line that runs past the end of a
  // block is gathered in `held_` and printed whole with its one number.
  static char block[kBlockSize];
  size_t got;
  while ((got = fread(block, 1, sizeof block, in)) > 0) {
    const char* p = block;
    const char* end = block + got;
    while (p < end) {
      const char* nl = static_cast<const char*>(memchr(p, '\n', end - p));
      if (nl == nullptr) {
        held_.append(p, end);
        break;
      }
      ++nl;
      if (held_.empty()) {
        NextLine(p, static_cast<size_t>(nl - p), name);
      } else {
        held_.append(p, nl);
        NextLine(held_.data(), held_.size(), name);
        held_.clear();
      }
      p = nl;
    }
  }
  if (!held_.empty()) {
    NextLine(held_.data(), held_.size(), name);
    held_.clear();
  }
  if (s_.page_breaks)
    for (; used_ <= s_.page_length - 6; ++used_) Write("\n");
  fprintf(out_, "\n%s\n", footer_rule_.c_str());
}

}  // namespace vek
