#include "workfiles/code_diff.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
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
#include <utility>
#include <vector>

#if defined(__x86_64__)
#include <x86intrin.h>
#endif

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

namespace {

// Adds `n` lines of a kind to one row of counts.
void AddLines(int* to, char kind, int n) {
  switch (kind) {
    case 'L': to[kLineCode] += n; break;
    case 'l': to[kLineCode] += n; to[kLineComment] += n; break;
    case 'N': to[kLineNonEffective] += n; break;
    case 'n': to[kLineNonEffective] += n; to[kLineComment] += n; break;
    case 'G': to[kLineLogical] += n; break;
    case 'g': to[kLineLogical] += n; to[kLineComment] += n; break;
    case 'C': to[kLineComment] += n; break;
    case 'B': to[kLineBlank] += n; break;
    default: break;
  }
}

}  // namespace

void CountDecision(const LineDecision& d, LineCounts& counts) {
  int* to = d.op == '=' ? counts.equal : d.op == '+' ? counts.changed
                                                     : counts.removed;
  AddLines(to, d.kind, 1);
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
// common subsequence, down (an older line removed) on a tie.
// `takes_newer(i, j)` tells, for unequal older[i] and newer[j], whether
// LCS(older[i+1..h), newer[j..p)) < LCS(older[i..h), newer[j+1..p)).
template <typename TakesNewer>
void TraceBack(const LineData* o, int h, const LineData* n, int p,
               const CompareHooks& hooks, TakesNewer takes_newer) {
  int i = 0, j = 0;
  while (i < h && j < p) {
    if (Match(o[i], n[j])) {
      hooks.decide({o[i].line, '=', o[i].kind, n[j].line});
      ++i;
      ++j;
    } else if (takes_newer(i, j)) {
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
    const Cell* row = t + static_cast<size_t>(a) * cols + static_cast<size_t>(b);
    return row[cols] < row[1];
  });
  return true;
}

// a + b + carry, with the carry (0 or 1) in and out.
inline uint64_t AddWithCarry(uint64_t a, uint64_t b, uint64_t& carry) {
#if defined(__x86_64__)
  unsigned long long sum;
  carry = _addcarry_u64(static_cast<unsigned char>(carry), a, b, &sum);
  return sum;
#else
  uint64_t sum;
  const bool c1 = __builtin_add_overflow(a, b, &sum);
  const bool c2 = __builtin_add_overflow(sum, carry, &sum);
  carry = c1 || c2;
  return sum;
#endif
}

// The same decisions as CompareRange, from a bit-parallel form of the
// table (the row-difference vectors of Crochemore et al., in Hyyro's
// formulation): row r of the table, counted from the end of the older
// lines, is one bit per newer line, a 0 where the length grows by one.
// The table of two 7000-line parts shrinks from 98 MB to 6 MB, and a row
// takes a handful of word operations per 64 columns instead of a step per
// cell.  The trace-back reads its decisions from the bits (see
// TakesNewer), without summing rows.
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
      // The stores keep their room from part to part: fresh pages cost
      // more than the table's few steps per word.
      if (total > rows_room_) {
        rows_.reset();
        rows_room_ = 0;
        rows_.reset(new uint64_t[total]);
        rows_room_ = total;
      }
      row_at_.assign(static_cast<size_t>(h) + 1, 0);
      changed_.assign(static_cast<size_t>(h) + 1, {0, 0});
      std::fill(rows_.get(), rows_.get() + words_, ~uint64_t{0});
      size_t stored = 1;
      // Words from `ones` on hold no zero.
      size_t ones = 0;
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
      std::vector<uint64_t>& dense = dense_;
      std::vector<uint64_t>& sparse = sparse_;
      dense.assign(dense_values * words_, 0);
      sparse.assign(words_, 0);
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
        const size_t from = static_cast<size_t>(column) / 64;
        const size_t last = last_word[value];
        std::copy(v, v + from, out);
        uint64_t carry = 0;
        size_t w = from;
        for (const size_t below = std::min(last + 1, ones); w < below; ++w) {
          const uint64_t x = v[w], u = x & pm[w];
          out[w] = AddWithCarry(x, u, carry) | (x & ~u);
        }
        if (w <= last) {
          // Words of ones from here on: a carry into them runs off the top
          // and changes none; without one, the first word holding the
          // value gets a zero at its lowest line of the value, and the
          // carry out of it runs off the top.
          if (carry == 0) {
            while (pm[w] == 0) out[w] = v[w], ++w;
            out[w] = (pm[w] - 1) | ~pm[w];
            ones = ++w;
          }
        } else {
          // Above the value's last column nothing matches: a carry runs
          // on through words of ones and stops at the first word with a
          // zero, if there is one.
          for (; carry != 0 && w < ones; ++w) {
            const uint64_t x = v[w];
            out[w] = (x + 1) | x;
            carry = x == ~uint64_t{0};
          }
        }
        std::copy(v + w, v + words_, out + w);
        changed_[static_cast<size_t>(r)] = {static_cast<uint32_t>(from),
                                            static_cast<uint32_t>(w)};
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

  // The trace-back's choice for unequal older[i] and newer[j]: whether
  // LCS(i+1, j) < LCS(i, j+1), writing LCS(a, b) for the longest common
  // subsequence of older[a..h) and newer[b..p).  With q = p - j, LCS(i,
  // j) is q less the ones among the first q bits of row h - i.  Both
  // differences LCS(i, j) - LCS(i, j+1) and LCS(i, j) - LCS(i+1, j) are 0
  // or 1, and LCS(i, j) is the larger of the two neighbours, so:
  //  - when the length grows at column q - 1 (its bit is 0), LCS(i, j+1)
  //    is the smaller one, LCS(i+1, j) = LCS(i, j), and the walk goes down;
  //  - otherwise LCS(i, j+1) = LCS(i, j), and the walk goes right exactly
  //    when LCS(i+1, j) is one less: when the row below holds one more
  //    one among its first q bits.  The two rows differ only in the words
  //    the row's step rewrote, so only those are counted.
  bool TakesNewer(int i, int j) const {
    const size_t r = static_cast<size_t>(h_ - i);
    const size_t q = static_cast<size_t>(p_ - j);
    const uint64_t* a = Row(static_cast<int>(r));
    if (((a[(q - 1) / 64] >> ((q - 1) % 64)) & 1) == 0) return false;
    if (row_at_[r] == row_at_[r - 1]) return false;
    const uint64_t* b = Row(static_cast<int>(r) - 1);
    const size_t full = q / 64;
    const size_t end = std::min<size_t>(changed_[r].second, full);
    long more = 0;  // ones of the row below less ones of this row
    for (size_t w = changed_[r].first; w < end; ++w)
      more += std::popcount(b[w]) - std::popcount(a[w]);
    if (q % 64 != 0 && full >= changed_[r].first && full < changed_[r].second) {
      const uint64_t mask = (uint64_t{1} << (q % 64)) - 1;
      more += std::popcount(b[full] & mask) - std::popcount(a[full] & mask);
    }
    return more > 0;
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
  size_t rows_room_ = 0;
  std::vector<uint64_t> dense_, sparse_;  // match vectors
  std::vector<uint32_t> row_at_;  // row r is stored row row_at_[r]
  // The words [first, second) in which row r differs from row r - 1.
  std::vector<std::pair<uint32_t, uint32_t>> changed_;
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
  static thread_local BitTable table;
  BitTable& t = table;
  if (!t.Build(o, h, n, p, failed_bytes)) return false;
  TraceBack(o, h, n, p, hooks,
            [&t](int a, int b) { return t.TakesNewer(a, b); });
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

namespace {

// Opens the line data file a work file record names.  A relative name is
// looked up beside the work file first, then in the working directory.
// Writes the message and returns -1 when no place holds it.
int OpenLineData(const std::string& stored_in, const std::string& work_file,
                 std::string& tried, G& g) {
  std::string stored = stored_in;
  while (!stored.empty() && (stored.back() == '\n' || stored.back() == '\r'))
    stored.pop_back();
  int fd = -1;
  int err = ENOENT;
  auto attempt = [&](const std::string& path) {
    tried = path;
    fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) err = errno;
    return fd >= 0;
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
  if (fd < 0) {
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
  }
  return fd;
}

// The bytes of a file, in a buffer kept from file to file: it grows
// without clearing what it will overwrite.
class ByteBuffer {
 public:
  unsigned char* data() { return data_.get(); }
  const unsigned char* data() const { return data_.get(); }
  size_t size() const { return size_; }
  // Makes room for `more` bytes after the first `keep`.
  void Reserve(size_t keep, size_t more) {
    if (keep + more <= capacity_) return;
    size_t capacity = std::max(capacity_ * 2, keep + more);
    std::unique_ptr<unsigned char[]> bigger(new unsigned char[capacity]);
    if (keep != 0) std::memcpy(bigger.get(), data_.get(), keep);
    data_ = std::move(bigger);
    capacity_ = capacity;
  }
  void SetSize(size_t size) { size_ = size; }
  bool operator==(const ByteBuffer& b) const {
    return size_ == b.size_ &&
           (size_ == 0 || std::memcmp(data_.get(), b.data_.get(), size_) == 0);
  }

 private:
  std::unique_ptr<unsigned char[]> data_;
  size_t size_ = 0, capacity_ = 0;
};

// Reads an open file whole into `bytes` and closes it; false on a read
// error.  A regular file whose size fstat tells is read in one call: a
// short read of it is its end.
bool ReadWhole(int fd, ByteBuffer& bytes) {
  struct stat st;
  size_t want = 1 << 16;
  const bool regular = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  if (regular && st.st_size >= 0) want = static_cast<size_t>(st.st_size) + 1;
  size_t have = 0;
  bool ok = true;
  for (;;) {
    bytes.Reserve(have, want);
    const ssize_t n = read(fd, bytes.data() + have, want);
    if (n < 0) {
      if (errno == EINTR) continue;
      ok = false;
      break;
    }
    if (n == 0) break;
    have += static_cast<size_t>(n);
    if (static_cast<size_t>(n) < want && regular) break;
    want = std::max<size_t>(want, 1 << 16);
  }
  close(fd);
  bytes.SetSize(have);
  return ok;
}

const bool* KindTable() {
  static const auto table = [] {
    std::array<bool, 256> t{};
    for (unsigned char k : {'L', 'N', 'G', 'l', 'n', 'g', 'C', 'B'}) t[k] = true;
    return t;
  }();
  return table.data();
}

// What a pass over the records of a line data file finds.
struct RecordScan {
  size_t records = 0;
  bool valid = true;         // known kinds, line numbers rising from 1
  bool partial = false;      // ends in part of a record
  bool all_finite = true;    // every hash matches itself (no NaN)
  bool same_bytes = false;   // the bytes equal those of the other side
  int by_kind[256] = {};     // records of each kind
};

void ScanRecords(const unsigned char* p, size_t size, RecordScan& scan) {
  const bool* kind_ok = KindTable();
  scan.records = size / kLineRecordSize;
  scan.partial = size % kLineRecordSize != 0;
  bool ok = true;
  unsigned odd = 0;
  int64_t last = 0;
  const unsigned char* end = p + scan.records * kLineRecordSize;
  for (; p != end; p += kLineRecordSize) {
    uint32_t bits;
    uint16_t top;
    if constexpr (std::endian::native == std::endian::little) {
      std::memcpy(&bits, p, sizeof bits);
      std::memcpy(&top, p + 11, sizeof top);
    } else {
      bits = uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 |
             uint32_t{p[3]} << 24;
      top = static_cast<uint16_t>(p[11] | p[12] << 8);
    }
    const int32_t line = static_cast<int32_t>(bits);
    ok &= kind_ok[p[4]] & (line > last);
    last = line;
    ++scan.by_kind[p[4]];
    // The top bytes of the little-endian double: an exponent of all ones
    // is an infinity or a NaN.
    odd |= (top & 0x7ff0u) == 0x7ff0u;
  }
  scan.valid = ok;
  scan.all_finite = odd == 0;
}

// The message for a line data file that cannot be used.
void LineDataFault(G& g, const std::string& path, bool read_error, bool valid) {
  Out(g,
      "  Error: Loading Work Differential File: %s\n"
      "         %s\n",
      EscapeFor(g, path).c_str(),
      read_error ? strerror(EIO)
      : !valid   ? "The file holds no line data of this source"
                 : "The file ends in a partial line record");
  ++g.workfile.input_faults;
}

// Decodes checked bytes into line records; with the debug trace on, shows
// each record that is not blank.
void DecodeRecords(const unsigned char* p, size_t records,
                   std::vector<LineData>& lines, G& g, bool debug) {
  lines.resize(records);
  for (size_t k = 0; k < records; ++k, p += kLineRecordSize)
    lines[k] = DecodeLineRecord(p);
  if (debug)
    for (const LineData& d : lines)
      if (d.kind != 'B') Out(g, "  %-5d - %c %.14f\n", d.line, d.kind, d.hash);
}

// Loads one side's line data: the file's bytes into `bytes` and its check
// into `scan`, taken from `other` (the other side, already checked) when
// the bytes are the same.  Writes the message and returns false when it
// cannot be opened, read or used.
bool LoadBytes(const std::string& stored, const std::string& work_file,
               ByteBuffer& bytes, RecordScan& scan,
               std::vector<LineData>* lines, G& g,
               const ByteBuffer* other = nullptr,
               const RecordScan* other_scan = nullptr) {
  std::string tried;
  const int fd = OpenLineData(stored, work_file, tried, g);
  if (fd < 0) return false;
  const bool debug = g.opt.diff_debug_flag != 0;
  if (debug) Out(g, "File Start: %s\n", tried.c_str());
  const bool read_ok = ReadWhole(fd, bytes);
  if (read_ok && other != nullptr && bytes == *other) {
    scan = *other_scan;
    scan.same_bytes = true;
  } else {
    ScanRecords(bytes.data(), bytes.size(), scan);
  }
  if (lines) {
    DecodeRecords(bytes.data(), scan.records, *lines, g, debug);
    if (debug && !lines->empty()) Out(g, "File End:\n");
  }
  if (!read_ok || !scan.valid || scan.partial) {
    LineDataFault(g, tried, !read_ok, scan.valid);
    if (lines) lines->clear();
    return false;
  }
  return true;
}

}  // namespace

int load_line_data(const std::string& stored, const std::string& work_file,
                   std::vector<LineData>& lines, G& g) {
  ByteBuffer bytes;
  RecordScan scan;
  lines.clear();
  return LoadBytes(stored, work_file, bytes, scan, &lines, g) ? 1 : 0;
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
  if (debug) {
    Out(g, "\n  Older Diff File: %s\n", older.text5.c_str());
    Out(g, "  Newer Diff File: %s\n", newer.text5.c_str());
  }
  const bool details = g.opt.diff_details != 0;
  // Both sides' bytes, kept from file to file of the run.
  static ByteBuffer old_bytes, new_bytes;
  std::vector<LineData> old_lines, new_lines;
  // The listings show every line: they decode both sides as they load.
  const bool listed = debug || details;
  RecordScan old_scan, new_scan;
  if (!LoadBytes(older.text5, w.older_path, old_bytes, old_scan,
                 listed ? &old_lines : nullptr, g) ||
      !LoadBytes(newer.text5, w.newer_path, new_bytes, new_scan,
                 listed ? &new_lines : nullptr, g, &old_bytes, &old_scan))
    return false;
  if (!listed) {
    // Most files of a tree do not change between two baselines: when the
    // two files hold the same bytes, every line pairs with its own and
    // the counts are the older file's lines by kind.
    if (new_scan.same_bytes && old_scan.all_finite) {
      for (int k = 0; k < 256; ++k)
        if (old_scan.by_kind[k] != 0)
          AddLines(counts.equal, static_cast<char>(k), old_scan.by_kind[k]);
      return true;
    }
    DecodeRecords(old_bytes.data(), old_scan.records, old_lines, g, false);
    DecodeRecords(new_bytes.data(), new_scan.records, new_lines, g, false);
  }

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
