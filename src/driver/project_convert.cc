#include "driver/project_convert.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "common/text.h"
#include "config/languages.h"
#include "driver/state.h"
#include "reports/output.h"

namespace vek {

namespace {

// Reads `f` line by line, without the line ends (LF or CR LF).
template <class F>
void ForEachLine(FILE* f, F&& each) {
  char* buffer = nullptr;
  size_t capacity = 0;
  ssize_t n;
  while ((n = getline(&buffer, &capacity, f)) >= 0) {
    std::string_view line(buffer, static_cast<size_t>(n));
    each(TrimRight(line, "\r\n"));
  }
  free(buffer);
}

std::string ReadWhole(FILE* f) {
  std::string text;
  char block[4096];
  size_t n;
  while ((n = fread(block, 1, sizeof block, f)) > 0) text.append(block, n);
  return text;
}

std::string CurrentDir() {
  char buffer[PATH_MAX];
  return getcwd(buffer, sizeof buffer) != nullptr ? buffer : ".";
}

// Strips blanks and a pair (or a stray one) of surrounding double quotes.
std::string_view Unquote(std::string_view s) {
  s = TrimRight(TrimLeft(s, " \t"), " \t\r\n");
  if (!s.empty() && s.front() == '"') s.remove_prefix(1);
  if (!s.empty() && s.back() == '"') s.remove_suffix(1);
  return TrimRight(TrimLeft(s, " \t"), " \t");
}

std::string XmlUnescape(std::string_view s) {
  static const struct { std::string_view entity; char c; } kEntities[] = {
      {"&amp;", '&'}, {"&quot;", '"'}, {"&apos;", '\''},
      {"&lt;", '<'}, {"&gt;", '>'}};
  std::string out;
  for (size_t i = 0; i < s.size();) {
    bool replaced = false;
    if (s[i] == '&') {
      for (const auto& e : kEntities) {
        if (s.substr(i, e.entity.size()) == e.entity) {
          out += e.c;
          i += e.entity.size();
          replaced = true;
          break;
        }
      }
    }
    if (!replaced) out += s[i++];
  }
  return out;
}

// The value of attribute `name` in an XML tag, or "" when absent.
std::string AttributeValue(std::string_view tag, std::string_view name,
                           bool* present = nullptr) {
  if (present) *present = false;
  size_t pos = 0;
  while ((pos = tag.find(name, pos)) != std::string_view::npos) {
    size_t i = pos + name.size();
    // A whole attribute name: not the tail or the head of a longer word.
    bool starts = pos == 0 || !IsAlpha(tag[pos - 1]);
    while (i < tag.size() && (tag[i] == ' ' || tag[i] == '\t' ||
                              tag[i] == '\r' || tag[i] == '\n'))
      ++i;
    if (!starts || i >= tag.size() || tag[i] != '=') {
      pos += name.size();
      continue;
    }
    if (present) *present = true;
    ++i;
    while (i < tag.size() && (tag[i] == ' ' || tag[i] == '\t')) ++i;
    if (i >= tag.size() || (tag[i] != '"' && tag[i] != '\'')) return "";
    char quote = tag[i++];
    size_t end = tag.find(quote, i);
    if (end == std::string_view::npos) end = tag.size();
    return XmlUnescape(tag.substr(i, end - i));
  }
  return "";
}

std::string DirectoryOf(const std::string& file) {
  std::string path = file;
  for (char& c : path)
    if (c == '\\') c = '/';
  size_t slash = path.rfind('/');
  std::string dir;
  if (slash == std::string::npos)
    dir = ".";
  else if (slash == 0)
    dir = "/";
  else
    dir = path.substr(0, slash);
  return ResolvePath(CurrentDir(), dir);
}

class Converter {
 public:
  Converter(FILE* out, G& g) : out_(out), g_(g) {}

  bool Workspace(const std::string& dsw);
  bool Project(const std::string& dsp);
  bool Solution(const std::string& sln);

 private:
  bool ProjectDirectory(const std::string& project, std::string* dir);
  bool ExtensionAllowed(std::string_view name);
  void Emit(const std::string& dir, std::string_view file);
  bool XmlProject(const std::string& project);

  FILE* out_;
  G& g_;
};

bool Converter::ProjectDirectory(const std::string& project,
                                 std::string* dir) {
  *dir = DirectoryOf(project);
  char resolved[PATH_MAX];
  if (realpath(dir->c_str(), resolved) == nullptr) {
    Out(g_, "  Error: Failed to change directories - %s\n", dir->c_str());
    return false;
  }
  *dir = resolved;
  return true;
}

// The allowed list of a conversion is split at commas, colons, semicolons
// and line ends and always compared without case.
bool Converter::ExtensionAllowed(std::string_view name) {
  std::string ext = file_extension(name, g_);
  if (ext.empty()) return false;
  bool allowed = false;
  SplitEach(g_.languages.allowed_extensions, ",:;\r\n",
            [&](std::string_view entry) {
              if (CaseEqual(entry, ext)) allowed = true;
            });
  return allowed;
}

void Converter::Emit(const std::string& dir, std::string_view file) {
  if (!ExtensionAllowed(file)) return;
  std::string full = ResolvePath(dir, file);
  if (g_.debug_flag) Out(g_, "*** Debug: Actual File| %s\n", full.c_str());
  fprintf(out_, "%s\n", full.c_str());
}

bool Converter::Project(const std::string& dsp) {
  FILE* f = fopen(dsp.c_str(), "rb");
  if (f == nullptr) {
    Out(g_,
        "\n  Error: Failed to open the workspace project file:\n"
        "         %s\n         %s\n\n",
        dsp.c_str(), strerror(errno));
    return false;
  }
  std::string dir;
  if (!ProjectDirectory(dsp, &dir)) {
    fclose(f);
    return false;
  }
  bool in_block = false;
  bool excluded = false;
  std::string file;
  ForEachLine(f, [&](std::string_view raw) {
    std::string_view line = TrimLeft(raw, " \t");
    if (line.starts_with("# Begin Source File")) {
      in_block = true;
      excluded = false;
      file.clear();
    } else if (line.starts_with("# End Source File")) {
      if (in_block && !excluded && !file.empty()) Emit(dir, file);
      in_block = false;
    } else if (in_block && line.find("# PROP Exclude_From_Build 1") !=
                               std::string_view::npos) {
      excluded = true;
    } else if (in_block && line.starts_with("SOURCE")) {
      size_t eq = line.find('=');
      if (eq == std::string_view::npos) return;
      if (g_.debug_flag)
        Out(g_, "*** Debug: Source Token| %.*s\n", static_cast<int>(eq),
            line.data());
      file = std::string(Unquote(line.substr(eq + 1)));
      if (g_.debug_flag) Out(g_, "*** Debug: File Token| %s\n", file.c_str());
    }
  });
  fclose(f);
  return true;
}

bool Converter::Workspace(const std::string& dsw) {
  FILE* f = fopen(dsw.c_str(), "rb");
  if (f == nullptr) {
    Out(g_,
        "\n  Error: Failed to open the workspace file:\n"
        "         %s\n         %s\n\n",
        dsw.c_str(), strerror(errno));
    return false;
  }
  std::string dir = DirectoryOf(dsw);
  if (g_.debug_flag) {
    Out(g_, "*** Debug: DSW File | %s\n", dsw.c_str());
    Out(g_, "*** Debug: CWD | %s\n", CurrentDir().c_str());
  }
  std::vector<std::string> projects;
  ForEachLine(f, [&](std::string_view line) {
    size_t eq = line.find('=');
    if (eq == std::string_view::npos) return;
    if (line.substr(0, eq).find("Project") == std::string_view::npos) return;
    if (g_.debug_flag)
      Out(g_, "*** Debug: Project | %.*s\n", static_cast<int>(line.size()),
          line.data());
    // Project: "name"=.\path\name.dsp - Package Owner=<4>
    // The path ends at a quote or at the " - " before the owner; a hyphen
    // inside the path itself is kept.
    std::string_view rest = TrimLeft(line.substr(eq + 1), " \t");
    if (!rest.empty() && rest.front() == '"') rest.remove_prefix(1);
    size_t end = rest.find('"');
    size_t owner = rest.find(" -");
    if (owner < end) end = owner;
    if (end != std::string_view::npos) rest = rest.substr(0, end);
    rest = TrimRight(rest, " \t");
    if (rest.empty()) return;
    projects.push_back(ResolvePath(dir, rest));
  });
  fclose(f);
  for (const std::string& dsp : projects) {
    if (g_.debug_flag) Out(g_, "*** Debug: DSP File | %s\n", dsp.c_str());
    Project(dsp);
  }
  return true;
}

bool Converter::XmlProject(const std::string& project) {
  FILE* f = fopen(project.c_str(), "rb");
  if (f == nullptr) {
    Out(g_,
        "\n  Error: Failed to open the workspace project file:\n"
        "         %s\n         %s\n\n",
        project.c_str(), strerror(errno));
    return false;
  }
  std::string text = ReadWhole(f);
  fclose(f);
  std::string dir;
  if (!ProjectDirectory(project, &dir)) return false;

  // The next end tag at or after the current element, found once and kept
  // until the walk passes it: searching afresh for every element would
  // scan the rest of the file each time an element has no end tag.
  size_t close = 0;
  bool close_known = false;
  size_t pos = 0;
  while ((pos = text.find("<File", pos)) != std::string::npos) {
    size_t after = pos + 5;
    // <FileConfiguration>, <Files> and <Filter> are other elements.
    if (after < text.size() && IsAlpha(text[after])) {
      pos = after;
      continue;
    }
    size_t tag_end = text.find('>', after);
    if (tag_end == std::string::npos) break;
    std::string_view tag(text.data() + pos, tag_end - pos);
    // The element runs to its end tag, or to the next file element when a
    // file holds others, or is the tag alone when it closes itself.
    size_t element_end = tag_end;
    if (tag.empty() || tag.back() != '/') {
      if (!close_known || (close != std::string::npos && close < tag_end)) {
        close = text.find("</File>", tag_end);
        close_known = true;
      }
      size_t next = text.find("<File", tag_end);
      while (next != std::string::npos && next + 5 < text.size() &&
             IsAlpha(text[next + 5]))
        next = text.find("<File", next + 5);
      element_end = std::min(close, next);
      if (element_end == std::string::npos) element_end = text.size();
    }
    std::string_view element(text.data() + pos, element_end - pos);
    std::string file = AttributeValue(tag, "RelativePath");
    bool present = false;
    std::string exclude = AttributeValue(element, "ExcludedFromBuild", &present);
    bool excluded = present && (exclude.empty() || LowerChar(exclude[0]) != 'f');
    if (!file.empty()) {
      if (excluded) {
        if (g_.debug_flag)
          Out(g_, "*** Debug: Exclude File| %s\n", file.c_str());
      } else {
        Emit(dir, file);
      }
    }
    pos = tag_end;
  }
  return true;
}

bool Converter::Solution(const std::string& sln) {
  FILE* f = fopen(sln.c_str(), "rb");
  if (f == nullptr) {
    Out(g_,
        "\n  Error: Failed to open the solution file:\n"
        "         %s\n         %s\n\n",
        sln.c_str(), strerror(errno));
    return false;
  }
  std::string dir = DirectoryOf(sln);
  if (g_.debug_flag) Out(g_, "*** Debug: SLN File | %s\n", sln.c_str());
  std::vector<std::string> projects;
  ForEachLine(f, [&](std::string_view line) {
    if (line.find("Project(") == std::string_view::npos) return;
    if (g_.debug_flag)
      Out(g_, "*** Debug: Project      | %.*s\n",
          static_cast<int>(line.size()), line.data());
    // Project("{type}") = "name", "path\name.vcproj", "{guid}"
    size_t first = line.find(',');
    if (first == std::string_view::npos) return;
    std::string_view rest = line.substr(first + 1);
    std::string_view path = Unquote(rest.substr(0, rest.find(',')));
    // Solution folders name no file; they have no extension.
    if (path.empty() || BaseName(path).find('.') == std::string_view::npos)
      return;
    projects.push_back(ResolvePath(dir, path));
  });
  fclose(f);
  for (const std::string& project : projects) {
    if (g_.debug_flag)
      Out(g_, "*** Debug: Proj File    | %s\n", project.c_str());
    XmlProject(project);
  }
  return true;
}

}  // namespace

std::string ResolvePath(std::string_view base_dir, std::string_view path) {
  std::string p(path);
  for (char& c : p)
    if (c == '\\') c = '/';
  bool drive = p.size() >= 2 && IsAlpha(p[0]) && p[1] == ':';
  if (p.empty() || (p[0] != '/' && !drive)) {
    std::string base(base_dir);
    for (char& c : base)
      if (c == '\\') c = '/';
    p = base + "/" + p;
  }
  bool absolute = !p.empty() && p[0] == '/';
  std::vector<std::string_view> parts;
  SplitEach(p, "/", [&](std::string_view part) {
    if (part == ".") return;
    if (part == "..") {
      if (!parts.empty() && parts.back() != "..") {
        parts.pop_back();
        return;
      }
      if (absolute) return;  // "/.." is "/"
    }
    parts.push_back(part);
  });
  if (parts.empty()) return absolute ? std::string("/") : std::string(".");
  std::string out;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i > 0 || absolute) out.push_back('/');
    out.append(parts[i].data(), parts[i].size());
  }
  return out;
}

ProjectKind project_kind(std::string_view list_file, G& g) {
  std::string ext = file_extension(list_file, g);
  if (CaseEqual(ext, "dsw")) return ProjectKind::kWorkspace;
  if (CaseEqual(ext, "dsp")) return ProjectKind::kProject;
  if (CaseEqual(ext, "sln")) return ProjectKind::kSolution;
  return ProjectKind::kNone;
}

bool convert_project_file(ProjectKind kind, const std::string& input,
                          const std::string& output, G& g) {
  if (kind == ProjectKind::kNone) return false;
  // The input is checked before the listing file is created, so that a
  // missing workspace does not leave an empty list behind.
  FILE* probe = fopen(input.c_str(), "rb");
  if (probe == nullptr) {
    int err = errno;
    const char* what = kind == ProjectKind::kWorkspace
                           ? "the workspace file"
                           : kind == ProjectKind::kSolution
                                 ? "the solution file"
                                 : "the workspace project file";
    Out(g, "\n  Error: Failed to open %s:\n         %s\n         %s\n\n", what,
        input.c_str(), strerror(err));
    return false;
  }
  fclose(probe);

  FILE* out = fopen(output.c_str(), "wb");
  if (out == nullptr) {
    Out(g,
        "\n  Error: Failed to create the listing file:\n"
        "         %s\n         %s\n\n",
        output.c_str(), strerror(errno));
    return false;
  }
  Converter converter(out, g);
  bool ok = false;
  switch (kind) {
    case ProjectKind::kWorkspace: ok = converter.Workspace(input); break;
    case ProjectKind::kProject: ok = converter.Project(input); break;
    case ProjectKind::kSolution: ok = converter.Solution(input); break;
    case ProjectKind::kNone: break;
  }
  fclose(out);
  return ok;
}

}  // namespace vek
