# Shared steps of the benchmark scripts: packages, the kernel source tree
# and a release build of vek, and the median of a column of numbers.
# Sourced after `top`, `cache`, `build`, `note`
# and `die` are set; leaves `tree` and `vek` set.

tarball=/usr/src/linux-source-6.1.tar.xz
tree_name=linux-source-6.1
dirs=(kernel mm fs/ext4 net/ipv4 lib)

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null; then sudo_cmd=(sudo); else sudo_cmd=(false); fi
fi
apt_updated=0
install_pkg() {
  if [ $apt_updated -eq 0 ]; then
    "${sudo_cmd[@]}" apt-get update -qq || return 1
    apt_updated=1
  fi
  local out
  if ! out=$(DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "$@" 2>&1); then
    printf '%s\n' "$out" | tail -n 5 >&2
    return 1
  fi
}

# Installs linux-source-6.1 when missing and unpacks it once into $cache.
unpack_tree() {
  tree=$cache/$tree_name
  [ -f "$cache/.unpacked" ] && return 0
  [ -f "$tarball" ] || install_pkg linux-source-6.1 || true
  [ -f "$tarball" ] || die "$tarball is missing and linux-source-6.1 could not be installed"
  mkdir -p "$cache"
  note "== unpacking $tarball into $cache (once)"
  rm -rf "$tree"
  tar -xJf "$tarball" -C "$cache"
  [ -d "$tree" ] || die "$tarball did not unpack to $tree"
  touch "$cache/.unpacked"
}

# Builds a release vek in $build.
build_vek() {
  note "== building vek (Release) in $build"
  cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DVEK_TESTS=OFF >/dev/null
  local out
  if ! out=$(ninja -C "$build" vek 2>&1); then
    printf '%s\n' "$out" | grep -E 'error|FAILED|undefined reference' | head -n 20 >&2 || true
    die "the build of vek failed (ninja -C $build vek)"
  fi
  vek=$build/vek
}

# median: the median of the numbers on stdin, one a line, with three
# decimals ("-" when there are none).
median() { sort -g | awk '{ v[NR] = $1 } END {
  if (NR == 0) printf "-"
  else if (NR % 2) printf "%.3f", v[(NR + 1) / 2]
  else printf "%.3f", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
