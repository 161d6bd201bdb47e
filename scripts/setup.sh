#!/usr/bin/env bash
# Installs what the build and the tests need on a fresh Debian machine.
# Does nothing when everything is already there.
set -euo pipefail

need=()
command -v cmake >/dev/null || need+=(cmake)
command -v ninja >/dev/null || need+=(ninja-build)
command -v g++ >/dev/null || need+=(g++)
command -v pkg-config >/dev/null || need+=(pkg-config)
command -v xmllint >/dev/null || need+=(libxml2-utils)
[ -f /usr/include/gtest/gtest.h ] || need+=(libgtest-dev)
[ -f /usr/include/pcre2posix.h ] || need+=(libpcre2-dev)
[ -f /usr/include/nlohmann/json.hpp ] || need+=(nlohmann-json3-dev)
command -v python3 >/dev/null || need+=(python3)
command -v git >/dev/null || need+=(git)
# HTML reports are checked in a real browser.
command -v chromium >/dev/null || need+=(chromium)
# The fuzz targets of the test script build with clang and its libFuzzer.
command -v clang++ >/dev/null || need+=(clang)

if [ ${#need[@]} -gt 0 ]; then
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${need[@]}"
fi
