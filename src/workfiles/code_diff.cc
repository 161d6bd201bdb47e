#include "workfiles/code_diff.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <unordered_set>
#include <vector>

#include "analysis/line_scanner.h"
#include "driver/state.h"
#include "reports/output.h"
#include "workfiles/atomic_file.h"
#include "workfiles/work_file.h"

namespace vek {

// The state of a creating run's line capture.
struct LineDataRun {
  std::string dir;        // the line data directory
  std::string base;       // the work file's base name
  std::unordered_set<std::string> names;  // file names given out this run
  AtomicFile file;
  std::string open_path;
  bool open_failed = false;
  int files = 0;
  bool display = false;   // -wD: show kinds instead of writing records
};

namespace {
// The line capture of this run (one work file is made per run).
std::shared_ptr<LineDataRun>& CurrentRun() {
  static std::shared_ptr<LineDataRun> run;
  return run;
}
}  // namespace

double LineHash(const char* text, size_t len, bool ignore_white_space) {
  double h = 0.0;
  int n = 0;
  for (size_t i = 0; i < len; ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (c != 11 && (c < 32 || c > 127)) continue;
    if (ignore_white_space && (c == ' ' || c == '\t')) continue;
    ++n;
    h += static_cast<double>(c) / n;
  }
  return h;
}

void EncodeLineRecord(const LineData& d, unsigned char out[kLineRecordSize]) {
  uint32_t line = static_cast<uint32_t>(d.line);
  for (int i = 0; i < 4; ++i) out[i] = static_cast<unsigned char>(line >> (8 * i));
  out[4] = static_cast<unsigned char>(d.kind);
  uint64_t bits;
  memcpy(&bits, &d.hash, sizeof bits);
  for (int i = 0; i < 8; ++i)
    out[5 + i] = static_cast<unsigned char>(bits >> (8 * i));
}

LineData DecodeLineRecord(const unsigned char in[kLineRecordSize]) {
  LineData d;
  // Little-endian on every host.
  uint32_t line;
  uint64_t bits;
  if constexpr (std::endian::native == std::endian::little) {
    memcpy(&line, in, sizeof line);
    memcpy(&bits, in + 5, sizeof bits);
  } else {
    line = 0;
    for (int i = 3; i >= 0; --i) line = line << 8 | in[i];
    bits = 0;
    for (int i = 7; i >= 0; --i) bits = bits << 8 | in[5 + i];
  }
  d.line = static_cast<int32_t>(line);
  d.kind = static_cast<char>(in[4]);
  memcpy(&d.hash, &bits, sizeof bits);
  return d;
}

std::string FlattenName(std::string_view path) {
  if (path.size() >= 2 && path[1] == ':') path.remove_prefix(2);
  if (!path.empty() && (path[0] == '\\' || path[0] == '/')) path.remove_prefix(1);
  std::string flat(path);
  for (char& c : flat)
    if (c == ' ' || c == '.' || c == '/' || c == '\\') c = '_';
  if (flat.size() >= 256) flat.erase(0, flat.size() - 254);
  return flat;
}

namespace {

bool IsKind(char k) {
  switch (k) {
    case 'L': case 'N': case 'G': case 'l': case 'n': case 'g': case 'C':
    case 'B':
      return true;
    default:
      return false;
  }
}

bool Match(const LineData& a, const LineData& b) {
  return a.kind == b.kind && a.hash == b.hash;
}

// A line data file name unique within the run and short enough for the
// file system: the flattened name, cut further from the front when the
// name with ".dif" would pass 255 bytes, and numbered when another source
// of this run already took it.
std::string UniqueDataName(std::string flat,
                           std::unordered_set<std::string>& used) {
  constexpr size_t kNameMax = 255 - 4;
  if (flat.size() > kNameMax) flat.erase(0, flat.size() - kNameMax);
  std::string name = flat;
  for (int k = 2; used.count(name) != 0; ++k) {
    std::string tail = "_" + std::to_string(k);
    std::string head = flat;
    if (head.size() + tail.size() > kNameMax)
      head.erase(0, head.size() + tail.size() - kNameMax);
    name = head + tail;
  }
  used.insert(name);
  return name;
}

std::string BaseName(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

void RecordSink(G& g, const char* text, size_t len, int line, char kind) {
  (void)text;
  (void)len;
  LineDataRun& run = *CurrentRun();
  if (!run.file.is_open()) {
    if (run.open_failed)
      Out(g, "\n  Write File Error: %s - %s\n",
          EscapeFor(g, run.open_path).c_str(), strerror(EBADF));
    return;
  }
  LineData d;
  d.line = line;
  d.kind = kind;
  d.hash = LineHash(text, len, g.cfg.ignore_diff_white_space != 0);
  unsigned char rec[kLineRecordSize];
  EncodeLineRecord(d, rec);
  fwrite(rec, 1, sizeof rec, run.file.stream());
}

void DisplaySink(G& g, const char* text, size_t len, int line, char kind) {
  if (g.opt.deterministic_flag) return;
  double hash = LineHash(text, len, g.cfg.ignore_diff_white_space != 0);
  std::string source(text, len);
  if (source.empty() || source.back() != '\n') source += '\n';
  if (g.opt.csv_flag)
    Out(g, "%d,%c,%-20.15f,%s", line, kind, hash, source.c_str());
  else
    Out(g, "  %6d |  %c  %-20.15f | %s", line, kind, hash, source.c_str());
}

}  // namespace

void start_line_data(G& g) {
  WorkFileState& w = g.workfile;
  auto run = std::make_shared<LineDataRun>();
  run->dir = w.path + ".dif";
  run->base = BaseName(w.path) + ".dif";
  struct stat st;
  if (mkdir(run->dir.c_str(), 0777) != 0 &&
      (errno != EEXIST || stat(run->dir.c_str(), &st) != 0 ||
       !S_ISDIR(st.st_mode))) {
    // A file of that name is no directory to keep line data in.
    int err = errno == EEXIST ? ENOTDIR : errno;
    Out(g,
        "  Directory Create Error: %s\n                          %s\n"
        "                          Check permission on the parent directory\n",
        EscapeFor(g, run->dir).c_str(), strerror(err));
    w.file.Discard();
    exit(1);
  }
  CurrentRun() = run;
  line_sink = RecordSink;
}

void start_kind_display(G&) {
  auto run = std::make_shared<LineDataRun>();
  run->display = true;
  CurrentRun() = run;
  line_sink = DisplaySink;
}

void begin_file_line_data(G& g, const std::string& source) {
  WorkFileState& w = g.workfile;
  w.dif_path.clear();
  if (!CurrentRun()) return;
  LineDataRun& run = *CurrentRun();
  if (run.display) {
    if (g.opt.deterministic_flag) return;
    if (g.opt.csv_flag) {
      Out(g, "File,%s\nLine,Type,Code,Source\n", CsvEscape(source).c_str());
    } else {
      Out(g, "\n  File: %s\n", EscapeFor(g, source).c_str());
      Out(g, "  Line #  Type Differential Code      Source Code Line\n");
      Out(g, "  %s%s\n", kHyphens36, kHyphens36);
    }
    return;
  }
  std::string flat = FlattenName(
      RecordName(source, g.opt.baseline_dir, g.cfg.relative_work_files != 0));
  std::string name = UniqueDataName(flat, run.names) + ".dif";
  run.open_path = run.dir + "/" + name;
  w.dif_path = run.base + "/" + name;
  if (g.opt.diff_verbose) {
    if (run.files == 0) Out(g, "  Code Differential Mode\n");
    Out(g, "  %s\n", EscapeFor(g, run.open_path).c_str());
  }
  ++run.files;
  run.open_failed = !run.file.Open(run.open_path);
  if (run.open_failed) {
    int err = errno;
    Out(g, "\n  Create File Error: %s - %s\n",
        EscapeFor(g, run.open_path).c_str(), strerror(err));
  }
}

void end_file_line_data(G& g) {
  if (!CurrentRun() || CurrentRun()->display) return;
  LineDataRun& run = *CurrentRun();
  if (run.file.is_open() && !run.file.Commit()) {
    int err = errno;
    Out(g, "\n  Create File Error: %s - %s\n",
        EscapeFor(g, run.open_path).c_str(), strerror(err));
  }
  run.open_failed = false;
}

void CountDecision(const LineDecision& d, LineCounts& counts) {
  int* to = d.op == '=' ? counts.equal : d.op == '+' ? counts.changed
                                                     : counts.removed;
  switch (d.kind) {
    case 'L': ++to[kLineCode]; break;
    case 'l': ++to[kLineCode]; ++to[kLineComment]; break;
    case 'N': ++to[kLineNonEffective]; break;
    case 'n': ++to[kLineNonEffective]; ++to[kLineComment]; break;
    case 'G': ++to[kLineLogical]; break;
    case 'g': ++to[kLineLogical]; ++to[kLineComment]; break;
    case 'C': ++to[kLineComment]; break;
    case 'B': ++to[kLineBlank]; break;
    default: break;
  }
}

namespace {

void Trace(const CompareHooks& hooks, const char* fmt, int value) {
  if (!hooks.trace) return;
  char text[64];
  snprintf(text, sizeof text, fmt, value);
  hooks.trace(text);
}

// The walk from the top left of a part's table: equal lines pair as soon
// as they meet; otherwise the walk goes the way that keeps the longer
// common subsequence, down (an older line removed) on a tie.  `length(i,
// j)` is the length of the longest common subsequence of older[i..h) and
// newer[j..p).
template <typename Length>
void TraceBack(const LineData* o, int h, const LineData* n, int p,
               const CompareHooks& hooks, Length length) {
  int i = 0, j = 0;
  while (i < h && j < p) {
    if (Match(o[i], n[j])) {
      hooks.decide({o[i].line, '=', o[i].kind, n[j].line});
      ++i;
      ++j;
    } else if (length(i + 1, j) < length(i, j + 1)) {
      hooks.decide({0, '+', n[j].kind, n[j].line});
      ++j;
    } else {
      hooks.decide({o[i].line, '-', o[i].kind, 0});
      ++i;
    }
  }
  for (; j < p; ++j) hooks.decide({0, '+', n[j].kind, n[j].line});
  for (; i < h; ++i) hooks.decide({o[i].line, '-', o[i].kind, 0});
}

// The suffix-form table of one part: cell (i, j) holds the length of the
// longest common subsequence of older[i..h) and newer[j..p).  Only the
// lengths are kept; the lines of a cell are those of its position.
template <typename Cell>
bool CompareRange(const LineData* o, int h, const LineData* n, int p,
                  const CompareHooks& hooks, double* failed_bytes) {
  const size_t cols = static_cast<size_t>(p) + 1;
  const size_t cells = (static_cast<size_t>(h) + 1) * cols;
  std::unique_ptr<Cell[]> table(new (std::nothrow) Cell[cells]);
  if (!table) {
    if (failed_bytes) *failed_bytes = static_cast<double>(cells) * sizeof(Cell);
    return false;
  }
  Cell* t = table.get();
  for (size_t j = 0; j < cols; ++j) t[static_cast<size_t>(h) * cols + j] = 0;
  for (int i = h - 1; i >= 0; --i) {
    Cell* row = t + static_cast<size_t>(i) * cols;
    const Cell* below = row + cols;
    row[p] = 0;
    for (int j = p - 1; j >= 0; --j) {
      if (Match(o[i], n[j]))
        row[j] = static_cast<Cell>(below[j + 1] + 1);
      else
        row[j] = below[j] > row[j + 1] ? below[j] : row[j + 1];
    }
  }
  if (hooks.trace && hooks.dump_matrix) {
    std::string text;
    char cell[64];
    snprintf(cell, sizeof cell, "\nshow_d2IA %d,%d\n", h + 1, p + 1);
    text += cell;
    for (size_t j = 0; j < cols; ++j) {
      snprintf(cell, sizeof cell, "%-6d ", static_cast<int>(j));
      text += cell;
    }
    text += "\n   -";
    for (size_t j = 0; j < cols; ++j) text += "-------";
    for (int i = 0; i <= h; ++i) {
      snprintf(cell, sizeof cell, "\n%-2d| ", i);
      text += cell;
      for (size_t j = 0; j < cols; ++j) {
        snprintf(cell, sizeof cell, "%-6d ",
                 static_cast<int>(t[static_cast<size_t>(i) * cols + j]));
        text += cell;
      }
    }
    text += "\n";
    hooks.trace(text.c_str());
  }
  TraceBack(o, h, n, p, hooks, [t, cols](int a, int b) {
    return static_cast<int>(t[static_cast<size_t>(a) * cols + static_cast<size_t>(b)]);
  });
  return true;
}

// The same decisions as CompareRange, from a bit-parallel form of the
// table (the row-difference vectors of Crochemore et al., in Hyyro's
// formulation): row r of the table, counted from the end of the older
// lines, is one bit per newer line, a 0 where the length grows by one.
// The table of two 7000-line parts shrinks from 98 MB to 6 MB, and a row
// takes a handful of word operations per 64 columns instead of a step per
// cell.  A length is read back by counting bits, only where the trace-back
// passes.
class BitTable {
 public:
  bool Build(const LineData* o, int h, const LineData* n, int p,
             double* failed_bytes) {
    h_ = h;
    p_ = p;
    words_ = (static_cast<size_t>(p) + 63) / 64;
    const size_t total = (static_cast<size_t>(h) + 1) * words_;
    try {
      // A row of an older line that equals no newer line is the row
      // before it: it is kept once and shared.
      rows_.reset(new uint64_t[total]);
      row_at_.assign(static_cast<size_t>(h) + 1, 0);
      std::fill(rows_.get(), rows_.get() + words_, ~uint64_t{0});
      size_t stored = 1;
      // The newer lines reversed (column q is line p-1-q), by line value:
      // every column of each distinct value.
      ValueIndex ids(static_cast<size_t>(p));
      std::vector<int> first, next(static_cast<size_t>(p), -1);
      for (int q = p - 1; q >= 0; --q) {
        const LineData& d = n[p - 1 - q];
        if (d.hash != d.hash) continue;  // a NaN hash matches nothing
        const int id = ids.Insert(KeyOf(d));
        if (static_cast<size_t>(id) == first.size()) first.push_back(-1);
        next[static_cast<size_t>(q)] = first[static_cast<size_t>(id)];
        first[static_cast<size_t>(id)] = q;
      }
      // The match vector of a value: a bit per column that holds it.  A
      // value of many lines (blank lines, lone braces) gets its vector
      // made once; a rarer one has its few bits set and cleared per row.
      const size_t values = first.size();
      std::vector<int> uses(values, 0);
      std::vector<size_t> last_word(values, 0);
      for (size_t id = 0; id < values; ++id)
        for (int q = first[id]; q >= 0; q = next[static_cast<size_t>(q)]) {
          ++uses[id];
          last_word[id] = static_cast<size_t>(q) / 64;
        }
      constexpr int kDense = 16;
      std::vector<long> dense_at(values, -1);
      std::vector<char> dense_made(values, 0);
      size_t dense_values = 0;
      for (size_t id = 0; id < values; ++id)
        if (uses[id] >= kDense)
          dense_at[id] = static_cast<long>(dense_values++ * words_);
      std::vector<uint64_t> dense(dense_values * words_, 0);
      std::vector<uint64_t> sparse(words_, 0);
      for (int r = 1; r <= h; ++r) {
        const LineData& a = o[h - r];
        const long id = a.hash == a.hash ? ids.Find(KeyOf(a)) : -1;
        if (id < 0) {  // no newer line equals it: the row repeats
          row_at_[static_cast<size_t>(r)] = row_at_[static_cast<size_t>(r) - 1];
          continue;
        }
        const size_t value = static_cast<size_t>(id);
        const int column = first[value];
        const uint64_t* pm = sparse.data();
        if (uses[value] >= kDense) {
          if (!dense_made[value]) {
            dense_made[value] = 1;
            uint64_t* d = dense.data() + dense_at[value];
            for (int q = column; q >= 0; q = next[static_cast<size_t>(q)])
              d[static_cast<size_t>(q) / 64] |= uint64_t{1} << (q % 64);
          }
          pm = dense.data() + dense_at[value];
        } else {
          for (int q = column; q >= 0; q = next[static_cast<size_t>(q)])
            sparse[static_cast<size_t>(q) / 64] |= uint64_t{1} << (q % 64);
        }
        const uint64_t* v = Row(r - 1);
        row_at_[static_cast<size_t>(r)] = static_cast<uint32_t>(stored++);
        uint64_t* out = &rows_[static_cast<size_t>(row_at_[static_cast<size_t>(r)]) * words_];
        // Below the value's first column the row is the row before; above
        // its last one too, once no carry runs on.
        std::copy(v, v + words_, out);
        const size_t last = last_word[value];
        uint64_t carry = 0;
        for (size_t w = static_cast<size_t>(column) / 64; w < words_; ++w) {
          if (w > last && carry == 0) break;
          const uint64_t u = v[w] & pm[w];
          const unsigned __int128 sum =
              static_cast<unsigned __int128>(v[w]) + u + carry;
          out[w] = static_cast<uint64_t>(sum) | (v[w] & ~u);
          carry = static_cast<uint64_t>(sum >> 64);
        }
        if (pm == sparse.data())
          for (int q = column; q >= 0; q = next[static_cast<size_t>(q)])
            sparse[static_cast<size_t>(q) / 64] = 0;
      }
    } catch (const std::bad_alloc&) {
      if (failed_bytes)
        *failed_bytes = static_cast<double>(total) * sizeof(uint64_t);
      return false;
    }
    return true;
  }

  // The longest common subsequence of older[i..h) and newer[j..p).
  int At(int i, int j) const {
    const uint64_t* v = Row(h_ - i);
    const size_t q = static_cast<size_t>(p_ - j);  // the first q columns
    size_t ones = 0;
    const size_t full = q / 64;
    for (size_t w = 0; w < full; ++w) ones += static_cast<size_t>(__builtin_popcountll(v[w]));
    if (q % 64 != 0)
      ones += static_cast<size_t>(
          __builtin_popcountll(v[full] & ((uint64_t{1} << (q % 64)) - 1)));
    return static_cast<int>(q - ones);
  }

 private:
  // Lines are equal when their kinds and hashes are (0.0 and -0.0 alike).
  struct Key {
    char kind;
    uint64_t bits;
    bool operator==(const Key& k) const { return kind == k.kind && bits == k.bits; }
  };
  // The distinct values of a part's newer lines, numbered 0, 1, ... in
  // the order first met: open addressing, one allocation.
  class ValueIndex {
   public:
    explicit ValueIndex(size_t most) {
      size_t size = 16;
      while (size < 2 * most) size *= 2;
      slots_.assign(size, -1);
      keys_.reserve(most);
    }
    int Find(const Key& k) const {
      for (size_t i = Hash(k) & (slots_.size() - 1);; i = (i + 1) & (slots_.size() - 1)) {
        const int id = slots_[i];
        if (id < 0 || keys_[static_cast<size_t>(id)] == k) return id;
      }
    }
    int Insert(const Key& k) {
      for (size_t i = Hash(k) & (slots_.size() - 1);; i = (i + 1) & (slots_.size() - 1)) {
        int& id = slots_[i];
        if (id < 0) {
          id = static_cast<int>(keys_.size());
          keys_.push_back(k);
          return id;
        }
        if (keys_[static_cast<size_t>(id)] == k) return id;
      }
    }

   private:
    static size_t Hash(const Key& k) {
      uint64_t h = (k.bits ^ static_cast<unsigned char>(k.kind)) * 0x9E3779B97F4A7C15ull;
      return static_cast<size_t>(h ^ (h >> 32));
    }
    std::vector<int> slots_;
    std::vector<Key> keys_;
  };
  static Key KeyOf(const LineData& d) {
    const double h = d.hash == 0.0 ? 0.0 : d.hash;
    uint64_t bits;
    std::memcpy(&bits, &h, sizeof bits);
    return {d.kind, bits};
  }

  const uint64_t* Row(int r) const {
    return &rows_[static_cast<size_t>(row_at_[static_cast<size_t>(r)]) * words_];
  }

  int h_ = 0, p_ = 0;
  size_t words_ = 0;
  std::unique_ptr<uint64_t[]> rows_;
  std::vector<uint32_t> row_at_;  // row r is stored row row_at_[r]
};

bool CompareRangeBits(const LineData* o, int h, const LineData* n, int p,
                      const CompareHooks& hooks, double* failed_bytes) {
  // The trace-back pairs equal lines as soon as it meets them, so lines
  // equal from the start pair off without the table, and the table need
  // only hold what follows them.
  int same = 0;
  while (same < h && same < p && Match(o[same], n[same])) ++same;
  if (same > 0) {
    if (hooks.equal_run) {
      hooks.equal_run(o, n, same);
    } else {
      for (int k = 0; k < same; ++k)
        hooks.decide({o[k].line, '=', o[k].kind, n[k].line});
    }
    o += same;
    n += same;
    h -= same;
    p -= same;
  }
  BitTable t;
  if (!t.Build(o, h, n, p, failed_bytes)) return false;
  TraceBack(o, h, n, p, hooks, [&t](int a, int b) { return t.At(a, b); });
  return true;
}

bool ComparePart(const LineData* o, int h, const LineData* n, int p,
                 const CompareHooks& hooks, double* failed_bytes) {
  // Equal line data need no table: every line pairs with its own.
  if (h == p && std::equal(o, o + h, n, Match) &&
      !(hooks.trace && hooks.dump_matrix)) {
    if (hooks.equal_run) {
      hooks.equal_run(o, n, h);
    } else {
      for (int i = 0; i < h; ++i)
        hooks.decide({o[i].line, '=', o[i].kind, n[i].line});
    }
    return true;
  }
  // The debug trace shows the whole table of lengths.
  if (!(hooks.trace && hooks.dump_matrix))
    return CompareRangeBits(o, h, n, p, hooks, failed_bytes);
  if (h < 65535 && p < 65535)
    return CompareRange<uint16_t>(o, h, n, p, hooks, failed_bytes);
  return CompareRange<int32_t>(o, h, n, p, hooks, failed_bytes);
}

}  // namespace

bool CompareLineLists(const std::vector<LineData>& older,
                      const std::vector<LineData>& newer, int max_lines,
                      const CompareHooks& hooks, double* failed_bytes) {
  const int h = static_cast<int>(older.size());
  const int p = static_cast<int>(newer.size());
  const int m = max_lines > 0 ? max_lines : 7000;
  Trace(hooks, "**** Hlist count %d\n", h);
  Trace(hooks, "**** Plist count %d\n", p);
  const int hs = h / m, ps = p / m;
  if (hs < 1 || ps < 1) {
    if (hooks.trace) hooks.trace("**** No Increments \n");
    return ComparePart(older.data(), h, newer.data(), p, hooks, failed_bytes);
  }
  const int segments = std::min(hs, ps);
  int a = h - 1, b = p - 1;
  for (int s = 0; s < segments; ++s) {
    Trace(hooks, "**** Segment: %d\n", s + 1);
    Trace(hooks, "**** hstart: %d\n", a - m + 1);
    Trace(hooks, "**** hstop: %d\n", a);
    Trace(hooks, "**** pstart: %d\n", b - m + 1);
    Trace(hooks, "**** pstop: %d\n", b);
    if (!ComparePart(older.data() + (a - m + 1), m, newer.data() + (b - m + 1),
                     m, hooks, failed_bytes))
      return false;
    a -= m;
    b -= m;
  }
  if (hooks.trace) hooks.trace("**** Remainder\n");
  Trace(hooks, "**** hstart: %d\n", 0);
  Trace(hooks, "**** hstop: %d\n", a);
  Trace(hooks, "**** pstart: %d\n", 0);
  Trace(hooks, "**** pstop: %d\n", b);
  return ComparePart(older.data(), a + 1, newer.data(), b + 1, hooks,
                     failed_bytes);
}

int load_line_data(const std::string& stored_in, const std::string& work_file,
                   std::vector<LineData>& lines, G& g) {
  std::string stored = stored_in;
  while (!stored.empty() && (stored.back() == '\n' || stored.back() == '\r'))
    stored.pop_back();
  FILE* in = nullptr;
  std::string tried;
  int err = ENOENT;
  auto attempt = [&](const std::string& path) {
    tried = path;
    in = fopen(path.c_str(), "rb");
    if (in == nullptr) err = errno;
    return in != nullptr;
  };
  bool absolute = !stored.empty() && (stored[0] == '/' ||
                                      (stored.size() > 2 && stored[2] == '\\'));
  if (!stored.empty() && !(absolute && attempt(stored))) {
    size_t slash = work_file.find_last_of("/\\");
    std::string dir =
        slash == std::string::npos ? std::string() : work_file.substr(0, slash + 1);
    if (!attempt(dir + stored)) {
      char cwd[PATH_MAX];
      std::string here = getcwd(cwd, sizeof cwd) ? cwd : ".";
      if (absolute)
        attempt(stored);
      else
        attempt(here + (here.back() == '/' ? "" : "/") + stored);
    }
  }
  if (in == nullptr) {
    char cwd[PATH_MAX];
    std::string here = getcwd(cwd, sizeof cwd) ? cwd : ".";
    Out(g,
        "  Error: Loading Work Differential File: %s\n"
        "         Check the differential directory associated with the work "
        "file\n         Current Working Directory: %s\n         Work File: "
        "%s\n         %s\n",
        EscapeFor(g, tried).c_str(), EscapeFor(g, here).c_str(),
        EscapeFor(g, work_file).c_str(), strerror(err));
    ++g.workfile.input_faults;
    return 0;
  }
  const bool debug = g.opt.diff_debug_flag != 0;
  if (debug) Out(g, "File Start: %s\n", tried.c_str());
  // Read in large pieces: a tree's line data are millions of records.
  struct stat st;
  if (fstat(fileno(in), &st) == 0 && st.st_size > 0)
    lines.reserve(static_cast<size_t>(st.st_size) / kLineRecordSize);
  constexpr size_t kChunk = kLineRecordSize * 5041;  // about 64 KB
  std::unique_ptr<unsigned char[]> buffer(new unsigned char[kChunk]);
  size_t got = 0;  // bytes of a partial record at the end
  bool valid = true;
  int32_t last = 0;
  for (;;) {
    const size_t n = fread(buffer.get() + got, 1, kChunk - got, in);
    if (n == 0) break;
    const size_t have = got + n;
    const size_t whole = have - have % kLineRecordSize;
    const size_t base = lines.size();
    lines.resize(base + whole / kLineRecordSize);
    LineData* out = lines.data() + base;
    bool ok = true;
    for (size_t at = 0; at < whole; at += kLineRecordSize, ++out) {
      *out = DecodeLineRecord(buffer.get() + at);
      ok &= IsKind(out->kind) & (out->line > last);
      last = out->line;
    }
    valid = valid && ok;
    if (debug)
      for (size_t k = base; k < lines.size(); ++k)
        if (lines[k].kind != 'B')
          Out(g, "  %-5d - %c %.14f\n", lines[k].line, lines[k].kind, lines[k].hash);
    got = have - whole;
    if (got != 0) memmove(buffer.get(), buffer.get() + whole, got);
  }
  bool read_error = ferror(in) != 0;
  fclose(in);
  if (debug && !lines.empty()) Out(g, "File End:\n");
  if (got != 0 || read_error || !valid) {
    Out(g,
        "  Error: Loading Work Differential File: %s\n"
        "         %s\n",
        EscapeFor(g, tried).c_str(),
        read_error ? strerror(EIO)
        : !valid   ? "The file holds no line data of this source"
                   : "The file ends in a partial line record");
    lines.clear();
    ++g.workfile.input_faults;
    return 0;
  }
  return 1;
}

namespace {

// The -ws output of one file.
class DetailWriter {
 public:
  explicit DetailWriter(G& g) : g_(g), o_(g.opt), c_(g.cfg) {}

  void Heading(const std::string& file) {
    if (o_.xml_flag) return;
    if (o_.csv_flag) {
      Out(g_, "File: %s\nOlder, , ,Newer\nLine Number,Diff,Type,Line Number\n",
          CsvEscape(file).c_str());
    } else if (o_.html_flag) {
      Out(g_, "  <b>File:<font color=\"%s\"> %s</font></b>\n",
          c_.color_file_name.c_str(), HtmlEscape(file).c_str());
      Out(g_,
          "  <b><font color=\"%s\">Older     </font>                  <font "
          "color=\"%s\">Newer  </font></b>\n",
          c_.color_old_file_diff.c_str(), c_.color_new_file_diff.c_str());
      Out(g_, "  %s%s\n", kHyphens36, kHyphens36);
      Out(g_, "  <b>Line Number    Diff  Type   Line Number</b>\n");
    } else {
      Out(g_,
          "  File: %s\n  Older                       Newer\n"
          "  ----------------------------------------\n"
          "  Line Number    Diff  Type   Line Number\n",
          file.c_str());
    }
  }

  void Detail(const LineDecision& d) {
    if (o_.xml_flag) return;
    const bool shown = d.op == '-'   ? c_.show_removed_lines
                       : d.op == '+' ? c_.show_added_lines
                                     : c_.show_equal_lines;
    if (!shown) return;
    const bool csv = o_.csv_flag != 0;
    char line[96];
    if (d.op == '-')
      snprintf(line, sizeof line, csv ? "%11d,%c,%c,%-11s\n" : "%11d     %c     %c     %-11s\n",
               d.older, d.op, d.kind, "");
    else if (d.op == '+')
      snprintf(line, sizeof line, csv ? "%11s,%c,%c,%-11d\n" : "%11s     %c     %c     %-11d\n",
               "", d.op, d.kind, d.newer);
    else
      snprintf(line, sizeof line, csv ? "%11d,%c,%c,%-11d\n" : "%11d     %c     %c     %-11d\n",
               d.older, d.op, d.kind, d.newer);
    if (o_.html_flag) {
      const std::string& colour = d.op == '-'   ? c_.color_removed_code_diff
                                  : d.op == '+' ? c_.color_modified_code_diff
                                                : c_.color_equal_code_diff;
      Out(g_, "<b><font color=\"%s\">%s</font></b>", colour.c_str(), line);
    } else {
      Out(g_, "%s", line);
    }
  }

  void End(bool equivalent) {
    if (o_.xml_flag) return;
    if (equivalent && !c_.show_equal_lines) {
      if (o_.html_flag)
        Out(g_,
            "       <b>*** <font color=\"%s\">File is Equivalent</font> ***</b>\n",
            c_.color_equal_code_diff.c_str());
      else
        Out(g_, "       *** File is Equivalent ***\n");
    }
    Out(g_, "  %s\n\n", kHyphens36);
  }

 private:
  G& g_;
  const Options& o_;
  const Config& c_;
};

}  // namespace

bool compare_file_lines(G& g, const MetricsEntry& older,
                        const MetricsEntry& newer, LineCounts& counts) {
  counts = LineCounts();
  const bool debug = g.opt.diff_debug_flag != 0;
  const WorkFileState& w = g.workfile;
  std::vector<LineData> old_lines, new_lines;
  if (debug) {
    Out(g, "\n  Older Diff File: %s\n", older.text5.c_str());
    Out(g, "  Newer Diff File: %s\n", newer.text5.c_str());
  }
  if (load_line_data(older.text5, w.older_path, old_lines, g) == 0 ||
      load_line_data(newer.text5, w.newer_path, new_lines, g) == 0)
    return false;

  const bool details = g.opt.diff_details != 0;
  DetailWriter writer(g);
  if (details) writer.Heading(newer.name);
  std::vector<LineDecision> list;
  CompareHooks hooks;
  hooks.decide = [&](const LineDecision& d) {
    CountDecision(d, counts);
    if (details) list.push_back(d);
  };
  hooks.equal_run = [&](const LineData* o, const LineData* n, int count) {
    for (int k = 0; k < count; ++k) {
      const LineDecision d{o[k].line, '=', o[k].kind, n[k].line};
      CountDecision(d, counts);
      if (details) list.push_back(d);
    }
  };
  if (debug) {
    hooks.trace = [&g](const char* text) { Out(g, "%s", text); };
    hooks.dump_matrix = true;
  }
  double bytes = 0.0;
  bool ok = CompareLineLists(old_lines, new_lines, g.cfg.max_lcs_lines, hooks,
                             &bytes);
  if (!ok)
    Out(g,
        "\n  Error: Memory Allocation LCS Array\n         File - %s\n"
        "         Size - %.0f bytes\n",
        EscapeFor(g, newer.name).c_str(), bytes);
  if (details) {
    auto key = [](const LineDecision& d) { return d.op == '-' ? d.older : d.newer; };
    const bool down = g.opt.sort_descending != 0;
    std::stable_sort(list.begin(), list.end(),
                     [&](const LineDecision& a, const LineDecision& b) {
                       return down ? key(a) > key(b) : key(a) < key(b);
                     });
    bool equivalent = true;
    for (const LineDecision& d : list) {
      writer.Detail(d);
      if (d.op != '=') equivalent = false;
    }
    writer.End(equivalent);
  }
  if (debug) {
    const int* ch = counts.changed;
    const int* eq = counts.equal;
    const int* rm = counts.removed;
    Out(g,
        "\nMod L%d N%d G%d C%d B%d\nEq  L%d N%d G%d C%d B%d\n"
        "Rm  L%d N%d G%d C%d B%d\n",
        ch[0], ch[1], ch[2], ch[3], ch[4], eq[0], eq[1], eq[2], eq[3], eq[4],
        rm[0], rm[1], rm[2], rm[3], rm[4]);
  }
  return true;
}

void write_code_diff_glossary(G& g) {
  const Options& o = g.opt;
  const char* title = "Code Differential Details Glossary";
  static const char* const kLines[] = {
      "= Older file line is equal to the newer file line",
      "- Line removed from the newer file",
      "+ Line added to the newer file",
      "L Line of Code",
      "l Line of Code and Line of Comment",
      "N Non-Effective Line of Code",
      "n Non-Effective Line of Code and Line of Comment",
      "G Logical Line of Code",
      "g Logical Line of Code and Line of Comment",
      "C Comment Line",
      "B Blank Line (if blanks are processed)",
  };
  if (o.xml_flag) {
    Out(g, "<code_differential_glossary>\n<name>%s</name>\n", title);
    for (const char* line : kLines) Out(g, "<note>%s</note>\n", line);
    Out(g, "</code_differential_glossary>\n");
    return;
  }
  if (o.html_flag)
    Out(g, "\n  <b><font color=\"%s\">%s</font></b>\n", g.cfg.color_header.c_str(),
        title);
  else if (o.csv_flag)
    Out(g, "\n%s\n", title);
  else
    Out(g, "\n  %s\n", title);
  Out(g, "  %s%s\n", kHyphens36, kHyphens36);
  for (const char* line : kLines) Out(g, "  %s\n", line);
}

}  // namespace vek
