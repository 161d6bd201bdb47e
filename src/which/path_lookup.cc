#include "which/path_lookup.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <vector>

namespace which {

namespace {

constexpr const char kRule[] =
    "-------------------------------------------------------------------";

bool IsFile(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

std::string CurrentDirectory() {
  std::vector<char> buf(1024);
  for (;;) {
    if (getcwd(buf.data(), buf.size()) != nullptr) return buf.data();
    if (buf.size() > (1u << 20)) return {};
    buf.resize(buf.size() * 2);
  }
}

// One blank-delimited word from `in`; the character after it is left for
// whoever reads next.
std::string ReadWord(FILE* in) {
  int c;
  do c = fgetc(in);
  while (c != EOF && isspace(c));
  std::string word;
  for (; c != EOF && !isspace(c); c = fgetc(in)) word += static_cast<char>(c);
  if (c != EOF) ungetc(c, in);
  return word;
}

// Reads up to and including the next line feed; false at the end of input.
bool SkipLine(FILE* in) {
  int c;
  while ((c = fgetc(in)) != EOF)
    if (c == '\n') return true;
  return false;
}

}  // namespace

std::string NormalPath(std::string_view path) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string_view::npos) end = path.size();
    std::string_view part = path.substr(start, end - start);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    start = end + 1;
  }
  std::string out;
  for (std::string_view part : parts) {
    out += '/';
    out += part;
  }
  return out.empty() ? "/" : out;
}

std::string FindFile(std::string_view name, std::string_view path_list,
                     std::string_view cwd) {
  if (name.empty()) return {};
  std::string name_text(name);
  if (name.size() <= kMaxPath && IsFile(name_text)) {
    std::string full = name.front() == '/'
                           ? name_text
                           : std::string(cwd) + "/" + name_text;
    return NormalPath(full);
  }
  size_t start = 0;
  while (start <= path_list.size()) {
    size_t end = path_list.find(':', start);
    if (end == std::string_view::npos) end = path_list.size();
    std::string_view dir = path_list.substr(start, end - start);
    start = end + 1;
    if (!dir.empty() && dir.front() == '"') dir.remove_prefix(1);
    if (!dir.empty() && dir.back() == '"') dir.remove_suffix(1);
    // An empty entry names the current directory, which was tried first.
    if (dir.empty()) continue;
    std::string candidate(dir);
    if (candidate.back() != '/') candidate += '/';
    if (candidate.size() + name.size() > kMaxPath) continue;
    candidate += name;
    if (IsFile(candidate)) return candidate;
  }
  return {};
}

int RunWhich(int argc, char** argv, FILE* in, FILE* out) {
  fprintf(out,
          "which [filename]\nVersion 1.10\n"
          "Locates a filename within the SYSTEM Path\nBrindle Works LLC\n"
          "%s\n",
          kRule);
  const bool asked = argc < 2;
  std::string name;
  if (asked) {
    fputs("Enter File Name: ", out);
    fflush(out);
    name = ReadWord(in);
  } else {
    name = argv[1];
  }

  const char* path = getenv("PATH");
  std::string found = FindFile(name, path ? path : "", CurrentDirectory());
  if (!found.empty())
    fprintf(out, "Path for %s: %s\n", name.c_str(), found.c_str());
  else
    fprintf(out, "%s not found along the System Path\n", name.c_str());

  fprintf(out,
          "\n%s\n"
          "This program determines which program is executed by the system\n"
          "by finding the first occurance of the file along the system PATH.\n"
          "To modify the system path and the order that a program is found,\n"
          "change the PATH variable in your shell's start-up file (for\n"
          "example ~/.profile) or in the environment that starts the program.\n",
          kRule);
  fprintf(out,
          "%s\n\nBW which\n"
          "Shipped with the vek source code analyser; use it and pass it on\n"
          "freely.  It comes with no warranty of any kind.\n\n",
          kRule);

  if (asked) {
    fputs("Press Enter ... ", out);
    fflush(out);
    // The rest of the line that held the name, then the Enter itself.
    if (SkipLine(in)) SkipLine(in);
  }
  fflush(out);
  return 0;
}

}  // namespace which
