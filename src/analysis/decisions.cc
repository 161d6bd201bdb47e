#include "analysis/decisions.h"

#include <cstring>
#include <string_view>

#include "analysis/dispatch_parts.h"
#include "driver/state.h"

namespace vek {

namespace {

bool IsWordStart(char c) { return IsWordChar(c) && !(c >= '0' && c <= '9'); }

// The position after the name that starts at `pos`.
size_t NameEnd(const char* line, size_t pos, size_t len) {
  while (pos < len && IsWordChar(line[pos])) ++pos;
  return pos;
}

// The position of the last character in front of `i` that is not a blank
// or a tab; `i` itself when there is none.
size_t CodeBefore(const char* line, size_t i) {
  size_t p = i;
  while (p > 0 && IsBlank(line[p - 1])) --p;
  return p > 0 ? p - 1 : i;
}

// The name that ends just in front of position `end`.
std::string_view NameBefore(const char* line, size_t end) {
  size_t start = end;
  while (start > 0 && IsWordChar(line[start - 1])) --start;
  return std::string_view(line + start, end - start);
}

// Words after which "&&" can only be a reference.
bool TypeWord(std::string_view w) {
  static constexpr std::string_view kWords[] = {
      "auto",  "const",    "volatile", "void",     "bool",    "char",
      "short", "int",      "long",     "float",    "double",  "signed",
      "unsigned", "wchar_t", "char8_t", "char16_t", "char32_t"};
  for (std::string_view k : kWords)
    if (w == k) return true;
  return false;
}

}  // namespace

bool ReferenceAmpersands(const char* line, size_t i, size_t len,
                         bool in_for_header) {
  const size_t after = SkipBlanksAndComments(line, i + 2, len);
  // "a &&" at the end of a line continues its condition on the next.
  if (after >= len || IsLineEnd(line[after])) return false;
  const char next = line[after];
  // A logical and is followed by an operand; a reference type by its
  // declarator or by the end of the type ("T&&)", "<T&&>", "Args&&...").
  if (std::strchr(")>,;=]{", next) != nullptr) return true;
  if (len - after >= 3 && std::string_view(line + after, 3) == "...")
    return true;
  // Nothing stands in front of the unary "&&" of a label's address.
  const size_t before = CodeBefore(line, i);
  if (before != i && std::strchr("=(,[{;", line[before]) != nullptr)
    return true;
  if (before != i && IsWordChar(line[before]) &&
      TypeWord(NameBefore(line, before + 1)))
    return true;
  // "T&& name = ..." declares: a condition cannot be assigned to, and
  // "T&& name : range" is a range for.
  if (IsWordStart(next)) {
    size_t q = SkipBlanksAndComments(line, NameEnd(line, after, len), len);
    if (q < len && line[q] == '=' && (q + 1 >= len || line[q + 1] != '='))
      return true;
    if (in_for_header && q < len && line[q] == ':' &&
        (q + 1 >= len || line[q + 1] != ':'))
      return true;
  }
  return false;
}

bool TypeQuestionMark(const char* line, size_t i, size_t len,
                      const FileTyping& typing) {
  if (!typing.java_flag && !typing.csharp_flag) return false;
  const size_t after = SkipBlanksAndComments(line, i + 1, len);
  const char next = after < len ? line[after] : '\0';
  // An inlined if's '?' stands between two operands: nothing of these
  // closes an operand or starts one.
  if (next != '\0' && std::strchr(">,);]", next) != nullptr) return true;
  const size_t before = CodeBefore(line, i);
  if (before != i && std::strchr("<,(", line[before]) != nullptr) return true;
  if (typing.java_flag) {
    std::string_view word(line + after, NameEnd(line, after, len) - after);
    return word == "extends" || word == "super";
  }
  // C#: "a?.b" and "a?[i]" test for null without an else ("c?.5:1" is an
  // inlined if).
  const char direct = i + 1 < len ? line[i + 1] : '\0';
  if (direct == '[') return true;
  if (direct == '.' && !(i + 2 < len && line[i + 2] >= '0' && line[i + 2] <= '9'))
    return true;
  // "Type? name" followed by '=', "=>", ';', ',', ')' or '{' declares a
  // nullable; the '?' sticks to its type.
  if (i > 0 && (IsWordChar(line[i - 1]) || line[i - 1] == '>' ||
                line[i - 1] == ']') &&
      IsWordStart(next)) {
    size_t q = SkipBlanksAndComments(line, NameEnd(line, after, len), len);
    if (q >= len) return false;
    const char d = line[q];
    if (d == ';' || d == ',' || d == ')' || d == '{') return true;
    if (d == '=' && (q + 1 >= len || line[q + 1] != '=')) return true;
  }
  return false;
}

}  // namespace vek
