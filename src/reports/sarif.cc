#include "reports/sarif.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <map>
#include <nlohmann/json.hpp>

#include "analysis/notice_catalogue.h"
#include "common/text.h"
#include "driver/state.h"

namespace vek {

namespace {

using nlohmann::ordered_json;

constexpr const char* kSchema =
    "https://docs.oasis-open.org/sarif/sarif/v2.1.0/errata01/os/schemas/"
    "sarif-schema-2.1.0.json";
constexpr const char* kRootId = "%SRCROOT%";

// "a/./b//c/../d" as "a/b/d"; the path is absolute, so ".." stops at "/".
std::string Normalize(std::string_view path) {
  std::vector<std::string_view> parts;
  size_t i = 0;
  while (i <= path.size()) {
    size_t j = path.find('/', i);
    if (j == std::string_view::npos) j = path.size();
    std::string_view part = path.substr(i, j - i);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    i = j + 1;
  }
  std::string out;
  for (std::string_view p : parts) {
    out += '/';
    out += p;
  }
  return out.empty() ? "/" : out;
}

std::string Absolute(std::string_view path, std::string_view cwd) {
  if (!path.empty() && path[0] == '/') return Normalize(path);
  std::string joined(cwd);
  joined += '/';
  joined += path;
  return Normalize(joined);
}

std::string RuleId(int number) {
  char id[24];
  snprintf(id, sizeof id, "VEK%03d", number);
  return id;
}

// FNV-1a: small, fixed for all time, so fingerprints match across runs.
uint64_t Fnv1a(std::string_view text, uint64_t h = 1469598103934665603ULL) {
  for (unsigned char c : text) {
    h ^= c;
    h *= 1099511628211ULL;
  }
  return h;
}

}  // namespace

std::string sarif_uri(std::string_view file, std::string_view root,
                      std::string_view cwd, bool* inside) {
  std::string path = Absolute(file, cwd);
  std::string base = Normalize(root);
  if (base != "/") base += '/';
  if (path.size() > base.size() && path.compare(0, base.size(), base) == 0) {
    *inside = true;
    return PercentEncode(std::string_view(path).substr(base.size()));
  }
  *inside = false;
  return "file://" + PercentEncode(path);
}

std::string sarif_log_text(std::vector<CollectedNotice> notices,
                           std::string_view root, std::string_view cwd,
                           std::string_view version) {
  struct Located {
    const CollectedNotice* notice;
    std::string uri;
    bool inside;
  };
  std::vector<Located> results;
  results.reserve(notices.size());
  for (const CollectedNotice& n : notices) {
    bool inside = false;
    std::string uri = sarif_uri(n.file, root, cwd, &inside);
    results.push_back({&n, std::move(uri), inside});
  }
  // File, line, number; notices equal in all three keep the order found.
  std::stable_sort(results.begin(), results.end(),
                   [](const Located& a, const Located& b) {
                     if (a.uri != b.uri) return a.uri < b.uri;
                     if (a.notice->line != b.notice->line)
                       return a.notice->line < b.notice->line;
                     return a.notice->number < b.notice->number;
                   });

  // One rule per notice number found, in number order.
  std::map<int, const CollectedNotice*> first_of;
  for (const Located& r : results) first_of.emplace(r.notice->number, r.notice);
  std::map<int, int> rule_index;
  ordered_json rules = ordered_json::array();
  for (const auto& [number, n] : first_of) {
    rule_index[number] = static_cast<int>(rules.size());
    ordered_json rule;
    rule["id"] = RuleId(number);
    rule["shortDescription"]["text"] = n->summary;
    // The long message as first met; the values it names are those of the
    // first result of the rule.
    rule["fullDescription"]["text"] = n->text;
    rule["defaultConfiguration"]["level"] = "warning";
    rules.push_back(std::move(rule));
  }

  ordered_json out_results = ordered_json::array();
  std::map<uint64_t, int> seen;  // equal results count up their fingerprint
  for (const Located& r : results) {
    const CollectedNotice& n = *r.notice;
    ordered_json result;
    result["ruleId"] = RuleId(n.number);
    result["ruleIndex"] = rule_index[n.number];
    result["level"] = "warning";
    result["message"]["text"] = n.text.empty() ? n.summary : n.text;
    ordered_json artifact;
    artifact["uri"] = r.uri;
    if (r.inside) artifact["uriBaseId"] = kRootId;
    ordered_json physical;
    physical["artifactLocation"] = std::move(artifact);
    if (n.line >= 1) physical["region"]["startLine"] = n.line;
    ordered_json location;
    location["physicalLocation"] = std::move(physical);
    result["locations"] = ordered_json::array({std::move(location)});
    // The line is left out of the fingerprint, so a notice keeps it when
    // lines are added above it.
    uint64_t h = Fnv1a(r.uri);
    h = Fnv1a(std::string_view("\0", 1), h);
    h = Fnv1a(RuleId(n.number), h);
    h = Fnv1a(std::string_view("\0", 1), h);
    h = Fnv1a(n.text, h);
    int occurrence = seen[h]++;
    h = Fnv1a(std::to_string(occurrence), h);
    char hex[24];
    snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(h));
    result["partialFingerprints"]["vekNotice/v1"] = hex;
    out_results.push_back(std::move(result));
  }

  ordered_json driver;
  driver["name"] = "vek";
  driver["version"] = std::string(version);
  driver["informationUri"] = "https://vek.dev";
  driver["rules"] = std::move(rules);
  ordered_json run;
  run["tool"]["driver"] = std::move(driver);
  std::string base = Normalize(root);
  if (base != "/") base += '/';
  run["originalUriBaseIds"][kRootId]["uri"] = "file://" + PercentEncode(base);
  run["results"] = std::move(out_results);
  ordered_json log;
  log["$schema"] = kSchema;
  log["version"] = "2.1.0";
  log["runs"] = ordered_json::array({std::move(run)});
  // Names and lines of the analysed files need not be UTF-8: bytes that
  // are not become U+FFFD rather than an invalid document.
  return log.dump(2, ' ', false, ordered_json::error_handler_t::replace) + "\n";
}

bool write_sarif_log(G& g, std::string* error) {
  const std::string& path = g.opt.sarif_file;
  std::string cwd = g.paths.start_dir;
  if (cwd.empty()) {
    char buf[4096];
    cwd = getcwd(buf, sizeof buf) ? buf : "/";
  }
  std::string root = g.opt.sarif_root.empty()
                         ? cwd
                         : Absolute(g.opt.sarif_root, cwd);
  std::string text;
  try {
    text = sarif_log_text(g.sarif_notices, root, cwd, kVersion);
  } catch (const std::exception& e) {
    *error = e.what();
    return false;
  }

  std::string temp = path + ".XXXXXX";
  int fd = mkstemp(temp.data());
  if (fd < 0) {
    *error = strerror(errno);
    return false;
  }
  // A new log gets the usual permissions; a replaced one keeps its own.
  struct stat st;
  mode_t mode;
  if (stat(path.c_str(), &st) == 0) {
    mode = st.st_mode & 07777;
  } else {
    mode_t mask = umask(0);
    umask(mask);
    mode = 0666 & ~mask;
  }
  bool ok = fchmod(fd, mode) == 0;
  const char* p = text.data();
  size_t left = text.size();
  while (ok && left > 0) {
    ssize_t n = write(fd, p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = false;
      break;
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
  if (ok) ok = fsync(fd) == 0;
  int saved = errno;
  if (close(fd) != 0 && ok) {
    ok = false;
    saved = errno;
  }
  if (ok && rename(temp.c_str(), path.c_str()) != 0) {
    ok = false;
    saved = errno;
  }
  if (!ok) {
    unlink(temp.c_str());
    *error = strerror(saved);
  }
  return ok;
}

}  // namespace vek
