#include "reports/output.h"

#include <cerrno>
#include <charconv>
#include <cstdarg>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "common/text.h"
#include "driver/state.h"

namespace vek {

const char kHyphens36[] = "------------------------------------";
const char kUnderscores36[] = "____________________________________";

// The largest escaped text the reports print; longer results are cut.
constexpr size_t kEscapedMax = kLineSize - 1;

namespace {

// The digits of v, written backwards ending at `end`; returns the start.
char* Digits(char* end, unsigned long long v) {
  do {
    *--end = static_cast<char>('0' + v % 10);
    v /= 10;
  } while (v != 0);
  return end;
}

// The printf subset the reports use most, done without the stdio
// machinery: literal text, %%, and %d %i %u %s %c %f with an optional '-'
// flag, a width, "l", "ll" or "z", and a precision for %s (".N" or ".*").
// Writes at most `cap` bytes to `out` and returns the length, or -1 when
// the format holds anything else or the text would not fit; the caller
// then formats with vfprintf from a copy of the arguments.
}  // namespace

int QuickFormat(char* out, size_t cap, const char* fmt, va_list ap) {
  size_t n = 0;
  auto put = [&](const char* p, size_t len) {
    if (len > cap - n) return false;
    if (len <= 16) {
      // Most pieces are a few characters: a call costs more.
      for (size_t k = 0; k < len; ++k) out[n + k] = p[k];
    } else {
      memcpy(out + n, p, len);
    }
    n += len;
    return true;
  };
  for (const char* f = fmt; *f != '\0';) {
    if (*f != '%') {
      const char* start = f;
#ifdef __GLIBC__
      f = strchrnul(f, '%');  // the report forms are long literal texts
#else
      while (*f != '\0' && *f != '%') ++f;
#endif
      if (!put(start, static_cast<size_t>(f - start))) return -1;
      continue;
    }
    ++f;
    if (*f == '%') {
      if (!put("%", 1)) return -1;
      ++f;
      continue;
    }
    bool left = false;
    if (*f == '-') {
      left = true;
      ++f;
    }
    if (*f == '-' || *f == '0' || *f == '+' || *f == ' ' || *f == '#') return -1;
    size_t width = 0;
    while (*f >= '0' && *f <= '9') {
      width = width * 10 + static_cast<size_t>(*f - '0');
      if (width > 4096) return -1;
      ++f;
    }
    if (*f == '*') return -1;
    long precision = -1;
    if (*f == '.') {
      ++f;
      if (*f == '*') {
        precision = va_arg(ap, int);
        ++f;
      } else {
        precision = 0;
        while (*f >= '0' && *f <= '9') {
          precision = precision * 10 + (*f - '0');
          if (precision > 1 << 30) return -1;
          ++f;
        }
      }
    }
    int longs = 0;
    bool size_t_arg = false;
    if (*f == 'l') {
      ++longs;
      ++f;
      if (*f == 'l') {
        ++longs;
        ++f;
      }
    } else if (*f == 'z') {
      size_t_arg = true;
      ++f;
    }
    char number[32];
    char real[64];
    const char* text = nullptr;
    size_t len = 0;
    switch (*f) {
      case 'd':
      case 'i': {
        if (precision >= 0) return -1;
        long long v = size_t_arg   ? static_cast<long long>(va_arg(ap, size_t))
                      : longs == 2 ? va_arg(ap, long long)
                      : longs == 1 ? va_arg(ap, long)
                                   : va_arg(ap, int);
        unsigned long long magnitude =
            v < 0 ? 0ull - static_cast<unsigned long long>(v)
                  : static_cast<unsigned long long>(v);
        char* start = Digits(number + sizeof number, magnitude);
        if (v < 0) *--start = '-';
        text = start;
        len = static_cast<size_t>(number + sizeof number - start);
        break;
      }
      case 'u': {
        if (precision >= 0) return -1;
        unsigned long long v = size_t_arg   ? va_arg(ap, size_t)
                               : longs == 2 ? va_arg(ap, unsigned long long)
                               : longs == 1 ? va_arg(ap, unsigned long)
                                            : va_arg(ap, unsigned);
        text = Digits(number + sizeof number, v);
        len = static_cast<size_t>(number + sizeof number - text);
        break;
      }
      case 's': {
        if (longs != 0 || size_t_arg) return -1;
        text = va_arg(ap, const char*);
        if (text == nullptr) return -1;
        if (precision >= 0) {
          const void* end = memchr(text, '\0', static_cast<size_t>(precision));
          len = end ? static_cast<size_t>(static_cast<const char*>(end) - text)
                    : static_cast<size_t>(precision);
        } else {
          len = strlen(text);
        }
        break;
      }
      case 'c': {
        if (longs != 0 || size_t_arg || precision >= 0) return -1;
        number[0] = static_cast<char>(va_arg(ap, int));
        text = number;
        len = 1;
        break;
      }
      case 'f': {
        // to_chars writes a fixed-point value as printf does in the "C"
        // locale; what does not fit the buffer goes to printf.
        if (longs != 0 || size_t_arg) return -1;
        const double v = va_arg(ap, double);
        const auto r = std::to_chars(real, real + sizeof real, v,
                                     std::chars_format::fixed,
                                     precision >= 0 ? static_cast<int>(precision) : 6);
        if (r.ec != std::errc()) return -1;
        text = real;
        len = static_cast<size_t>(r.ptr - real);
        break;
      }
      default:
        return -1;
    }
    ++f;
    auto pad = [&](size_t count) {
      if (count > cap - n) return false;
      for (size_t k = 0; k < count; ++k) out[n + k] = ' ';
      n += count;
      return true;
    };
    const size_t fill = width > len ? width - len : 0;
    if (!left && !pad(fill)) return -1;
    if (!put(text, len)) return -1;
    if (left && !pad(fill)) return -1;
  }
  return static_cast<int>(n);
}

void Out(G& g, const char* fmt, ...) {
  va_list ap;
  va_start(ap, fmt);
  // Most report lines are short and use only the common conversions.
  {
    char quick[2048];
    va_list copy;
    va_copy(copy, ap);
    const int n = QuickFormat(quick, sizeof quick, fmt, copy);
    va_end(copy);
    if (n >= 0) {
      if (g.hold_output) {
        g.held_output.append(quick, static_cast<size_t>(n));
      } else if (n > 0) {
        WriteStream(g.report_stream, quick, static_cast<size_t>(n));
      }
      va_end(ap);
      return;
    }
  }
  if (g.hold_output) {
    va_list copy;
    va_copy(copy, ap);
    char small[512];
    int n = vsnprintf(small, sizeof small, fmt, copy);
    va_end(copy);
    if (n > 0 && static_cast<size_t>(n) < sizeof small) {
      g.held_output.append(small, static_cast<size_t>(n));
    } else if (n > 0) {
      size_t at = g.held_output.size();
      g.held_output.resize(at + static_cast<size_t>(n) + 1);
      vsnprintf(&g.held_output[at], static_cast<size_t>(n) + 1, fmt, ap);
      g.held_output.resize(at + static_cast<size_t>(n));
    }
  } else {
    vfprintf(g.report_stream, fmt, ap);
  }
  va_end(ap);
}

#ifdef __GLIBC__
// The room left in a stream's buffer for direct writes.  A line buffered
// or unbuffered stream has none (its write end stays at its start while
// its write pointer runs ahead), so fwrite still sees its line ends.
static size_t StreamRoom(const FILE* stream) {
  if (stream->_IO_write_ptr == nullptr ||
      stream->_IO_write_end <= stream->_IO_write_ptr)
    return 0;
  return static_cast<size_t>(stream->_IO_write_end - stream->_IO_write_ptr);
}
#endif

void WriteStream(FILE* stream, const char* p, size_t n) {
#ifdef __GLIBC__
  if (n > 0 && StreamRoom(stream) >= n) {
    memcpy(stream->_IO_write_ptr, p, n);
    stream->_IO_write_ptr += n;
    return;
  }
  fwrite_unlocked(p, 1, n, stream);
#else
  fwrite(p, 1, n, stream);
#endif
}

void WritePieces(FILE* stream, std::string_view a, std::string_view b,
                 std::string_view c) {
#ifdef __GLIBC__
  const size_t total = a.size() + b.size() + c.size();
  if (total > 0 && StreamRoom(stream) >= total) {
    for (std::string_view piece : {a, b, c}) {
      if (piece.empty()) continue;
      memcpy(stream->_IO_write_ptr, piece.data(), piece.size());
      stream->_IO_write_ptr += piece.size();
    }
    return;
  }
#endif
  WriteStream(stream, a.data(), a.size());
  WriteStream(stream, b.data(), b.size());
  WriteStream(stream, c.data(), c.size());
}

void OutText(G& g, std::string_view text) {
  if (g.hold_output)
    g.held_output.append(text);
  else if (!text.empty())
    WriteStream(g.report_stream, text.data(), text.size());
}

void release_held_output(G& g, bool as_xml_text) {
  if (!g.hold_output) return;
  g.hold_output = 0;
  std::string text;
  text.swap(g.held_output);
  if (!as_xml_text) {
    fwrite(text.data(), 1, text.size(), g.report_stream);
    return;
  }
  // Character data of the root element, escaped in pieces short enough
  // that the escaping filter never cuts them.
  constexpr size_t kPiece = kEscapedMax / 6;  // "&quot;" is the longest form
  std::string_view rest = text;
  while (!rest.empty()) {
    size_t end = rest.size() < kPiece ? rest.size() : kPiece;
    std::string escaped = XmlEscape(rest.substr(0, end));
    fwrite(escaped.data(), 1, escaped.size(), g.report_stream);
    rest.remove_prefix(end);
  }
}

void Put(FILE* stream, const char* fmt, ...) {
  va_list ap;
  va_start(ap, fmt);
  vfprintf(stream, fmt, ap);
  va_end(ap);
}

void Progress(G& /*g*/, const char* fmt, ...) {
  va_list ap;
  va_start(ap, fmt);
  vfprintf(stderr, fmt, ap);
  va_end(ap);
}

void HtmlEnd(G& g) {
  if (!g.opt.html_flag) return;
  // An error before the head still makes a whole page.
  html_page_start(g);
  Out(g, "%s", kHtmlTrailer);
}

bool open_output(const std::string& name, G& g) {
  FILE* f = fopen(name.c_str(), "wb");
  if (f == nullptr) {
    int err = errno;
    g.report_stream = stdout;
    html_page_start(g);
    Out(g,
        "\n  Error: Could not open output file\n         Filename: %s\n"
        "         %s\n\n",
        name.c_str(), strerror(err));
    return false;
  }
  if (g.report_stream != stdout && g.report_stream != stderr)
    fclose(g.report_stream);
  g.report_stream = f;
  setvbuf(f, nullptr, _IOFBF, 1 << 16);
  printf("\n  VEK using output file: %s\n", name.c_str());
  fflush(stdout);
  return true;
}

static int CenterIndent(std::string_view plain) {
  return 37 - static_cast<int>(plain.size() / 2);
}

void center_line(G& g, std::string_view text) {
  int blanks = CenterIndent(text);
  Out(g, "%*s%.*s\n", blanks > 0 ? blanks : 0, "", static_cast<int>(text.size()),
      text.data());
}

void center_html_line(G& g, std::string_view html_text,
                      std::string_view plain_text) {
  int blanks = CenterIndent(plain_text);
  Out(g, "%*s%.*s\n", blanks > 0 ? blanks : 0, "",
      static_cast<int>(html_text.size()), html_text.data());
}

void section_banner(G& g, std::string_view title) {
  std::string plain = "~~ " + std::string(title) + " ~~";
  if (g.opt.html_flag) {
    Out(g, "<b><font color=\"%s\">", g.cfg.color_header.c_str());
    int blanks = CenterIndent(plain);
    Out(g, "%*s%s", blanks > 0 ? blanks : 0, "", plain.c_str());
    Out(g, "</font></b>\n");
  } else {
    center_line(g, plain);
  }
}

std::string wrap_name(std::string_view name, int width, int indent,
                      const G& g) {
  std::string_view src = name.substr(0, kLineSize - 1);
  if (!g.cfg.wrap_names || width <= 0 ||
      src.size() <= static_cast<size_t>(width))
    return std::string(src);
  std::string out;
  out.reserve(src.size() + (src.size() / width) * (indent + 1));
  const size_t step = static_cast<size_t>(width);
  out.append(src.substr(0, step));
  for (size_t at = step; at < src.size(); at += step) {
    out += '\n';
    out.append(static_cast<size_t>(indent > 0 ? indent : 0), ' ');
    out.append(src.substr(at, step));
  }
  return out;
}

// Link targets carry their names percent-encoded, so that '#', '?', '%'
// and blanks in a file name do not end or bend the link.
static std::string EncodeLink(std::string_view link) {
  if (link.substr(0, 7) == "file://")
    return "file://" + PercentEncode(link.substr(7));
  return PercentEncode(link);
}

static std::string PlainFileLink(std::string_view name, const G& g);

std::string file_link(std::string_view name, const G& g) {
  return EncodeLink(PlainFileLink(name, g));
}

static std::string PlainFileLink(std::string_view name, const G& g) {
  std::string n(name);
  while (!n.empty() && (n.back() == '/' || n.back() == '\\')) n.pop_back();
  const std::string& start = g.paths.start_dir;
  if (g.cfg.relative_html_links) {
    if (!start.empty()) {
      size_t at = n.find(start);
      if (at != std::string::npos) {
        size_t after = at + start.size();
        if (after < n.size() && (n[after] == '/' || n[after] == '\\')) ++after;
        return n.substr(after);
      }
    }
    return n;
  }
  if (!n.empty() && (n[0] == '/' || (n.size() > 1 && n[1] == ':')))
    return "file://" + n;
  return "file://" + start + "/" + n;
}

void echo_command_line(FILE* stream, G& g) {
  const std::string& cmd = g.paths.command_line;
  if (g.opt.csv_flag) {
    fprintf(stream, "%s", cmd.c_str());
  } else if (g.opt.xml_flag) {
    fprintf(stream, "<command>%s</command>\n", XmlEscape(cmd).c_str());
  } else {
    std::string shown = g.opt.html_flag ? HtmlEscape(cmd) : cmd;
    fprintf(stream, "%s ", wrap_name(shown, 58, 16, g).c_str());
  }
}

namespace {

// Appends `piece` unless the result would pass the escaped-text limit;
// returns false once the text is full.
bool AppendBounded(std::string& out, std::string_view piece) {
  if (out.size() + piece.size() > kEscapedMax) return false;
  out.append(piece);
  return true;
}

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// The length of the UTF-8 sequence at the start of `s` when it encodes a
// character an XML document may hold; 0 for a control character, a byte
// that begins no valid sequence, an overlong form, a surrogate, a code
// point past U+10FFFF and the non-characters U+FFFE and U+FFFF.
size_t XmlCharLength(std::string_view s) {
  const unsigned char lead = static_cast<unsigned char>(s[0]);
  if (lead < 0x80)
    return lead >= 0x20 || lead == '\t' || lead == '\n' || lead == '\r' ? 1 : 0;
  size_t length;
  uint32_t code;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    code = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    code = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    code = lead & 0x07;
  } else {
    return 0;
  }
  if (s.size() < length) return 0;
  for (size_t i = 1; i < length; ++i) {
    const unsigned char next = static_cast<unsigned char>(s[i]);
    if ((next & 0xC0) != 0x80) return 0;
    code = (code << 6) | (next & 0x3F);
  }
  if (length == 3 && code < 0x800) return 0;
  if (length == 4 && (code < 0x10000 || code > 0x10FFFF)) return 0;
  if ((code >= 0xD800 && code <= 0xDFFF) || code == 0xFFFE || code == 0xFFFF)
    return 0;
  return length;
}

}  // namespace

// Source files and file names come in any encoding, while the reports
// declare UTF-8: a byte that is not part of a valid character is taken as
// Latin-1 (the most common legacy encoding of sources), and a character no
// XML or HTML document may hold (a control character, or a byte of 0x80 to
// 0x9F standing alone) becomes U+FFFD.  HTML keeps its apostrophes.
static std::string TextEscape(std::string_view s, bool apostrophe) {
  std::string out;
  out.reserve(s.size() < kEscapedMax ? s.size() : kEscapedMax);
  size_t i = 0;
  while (i < s.size()) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    std::string_view piece;
    char latin1[2];
    size_t used = 1;
    switch (c) {
      case '&': piece = "&amp;"; break;
      case '<': piece = "&lt;"; break;
      case '>': piece = "&gt;"; break;
      case '"': piece = "&quot;"; break;
      case '\'':
        piece = apostrophe ? std::string_view("&apos;") : s.substr(i, 1);
        break;
      default:
        used = XmlCharLength(s.substr(i));
        if (used > 0) {
          piece = s.substr(i, used);
        } else if (c >= 0xA0) {
          latin1[0] = static_cast<char>(0xC0 | (c >> 6));
          latin1[1] = static_cast<char>(0x80 | (c & 0x3F));
          piece = std::string_view(latin1, 2);
          used = 1;
        } else {
          piece = kReplacement;
          used = 1;
        }
        break;
    }
    if (!AppendBounded(out, piece)) break;
    i += used;
  }
  return out;
}

std::string XmlEscape(std::string_view s) { return TextEscape(s, true); }
std::string HtmlEscape(std::string_view s) { return TextEscape(s, false); }

std::string CsvEscape(std::string_view s) {
  std::string out(s.substr(0, kEscapedMax));
  if (out.find(',') != std::string::npos)
    for (char& c : out)
      if (c == ',') c = ' ';
  return out;
}

std::string EscapeFor(const G& g, std::string_view s) {
  if (g.opt.xml_flag) return XmlEscape(s);
  if (g.opt.html_flag) return HtmlEscape(s);
  return std::string(s);
}

time_t RunTime() {
  const char* epoch = getenv("SOURCE_DATE_EPOCH");
  if (epoch != nullptr && IsDigit(epoch[0])) {
    char* end = nullptr;
    long long v = strtoll(epoch, &end, 10);
    if (end != nullptr && *end == '\0') return static_cast<time_t>(v);
  }
  return time(nullptr);
}

std::string FormatTime(time_t t, const char* fmt) {
  struct tm tm_buf;
  if (localtime_r(&t, &tm_buf) == nullptr) return {};
  char buf[128];
  size_t n = strftime(buf, sizeof buf, fmt, &tm_buf);
  return std::string(buf, n);
}

std::string Ctime24(time_t t) { return FormatTime(t, "%a %b %d %H:%M:%S %Y"); }

}  // namespace vek
