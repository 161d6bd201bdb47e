#include "common/text.h"

#include <climits>

namespace vek {

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = LowerChar(c);
  return out;
}

int CaseCompare(std::string_view a, std::string_view b) {
  size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    unsigned char x = static_cast<unsigned char>(LowerChar(a[i]));
    unsigned char y = static_cast<unsigned char>(LowerChar(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool CaseStartsWith(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() &&
         CaseCompare(s.substr(0, prefix.size()), prefix) == 0;
}

std::string_view TrimLeft(std::string_view s, std::string_view chars) {
  size_t i = s.find_first_not_of(chars);
  return i == std::string_view::npos ? std::string_view() : s.substr(i);
}

std::string_view TrimRight(std::string_view s, std::string_view chars) {
  size_t i = s.find_last_not_of(chars);
  return i == std::string_view::npos ? std::string_view() : s.substr(0, i + 1);
}

std::string_view BaseName(std::string_view path) {
  size_t i = path.find_last_of("/\\");
  return i == std::string_view::npos ? path : path.substr(i + 1);
}

int ParseInt(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
  long long value = 0;
  for (; i < s.size() && IsDigit(s[i]); ++i) {
    value = value * 10 + (s[i] - '0');
    if (value > INT_MAX) value = INT_MAX;  // saturate rather than wrap
  }
  return static_cast<int>(negative ? -value : value);
}

std::string PercentEncode(std::string_view path) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(path.size());
  for (unsigned char c : path) {
    bool keep = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' ||
                c == '~' || c == '/';
    if (keep) {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

}  // namespace vek
