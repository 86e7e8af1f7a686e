#!/bin/bash
# One entry point for building, testing and running Tasklark on Debian 12.
#
#   tools/dev.sh deps            install the Debian packages that are missing (as root)
#   tools/dev.sh build           build the Windows programs and the native test build
#   tools/dev.sh test            deps, build, then every test (unit, end to end, short fuzz)
#   tools/dev.sh run [SET]       deps, build, then start Tasklark under Wine
#   tools/dev.sh fuzz [MINUTES]  run every fuzz target for MINUTES (default 10) in all
#   tools/dev.sh bench [ARGS]    deps, build, then the benchmarks under Wine (bench.exe ARGS)
#   tools/dev.sh package         deps, build, then the release archive for Windows users
#   tools/dev.sh format [--check] format every C++ file (--check: only say which are not)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

PACKAGES=(cmake g++ clang clang-format libclang-rt-14-dev googletest python3
          g++-mingw-w64-x86-64-posix wine wine64 xvfb)

deps() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

jobs() { nproc 2>/dev/null || echo 2; }

build() {
  cmake --preset windows >/dev/null
  cmake --build --preset windows -j "$(jobs)"
  cmake --preset native >/dev/null
  cmake --build --preset native -j "$(jobs)"
}

test_all() {
  ctest --preset native -j "$(jobs)"
  ctest --preset windows
}

fuzz() {
  local minutes=${1:-10}
  local targets=(setup_form runner_model)
  local each=$(( minutes * 60 / ${#targets[@]} ))
  for t in "${targets[@]}"; do
    echo "== fuzz_$t for ${each}s"
    mkdir -p "build/native/fuzz/corpus/$t"
    "build/native/fuzz/fuzz_$t" -max_total_time="$each" -print_final_stats=1 \
      "build/native/fuzz/corpus/$t" "fuzz/seeds/$t"
  done
}

# Every C++ file of the tree (tracked, or new and not ignored), in the
# format of .clang-format.
format() {
  local files=() f
  while read -r f; do
    [ -f "$f" ] && files+=("$f")
  done < <(git ls-files --cached --others --exclude-standard '*.cpp' '*.h')
  if [ "${1:-}" = "--check" ]; then
    clang-format --dry-run --Werror "${files[@]}"
  else
    clang-format -i "${files[@]}"
  fi
}

case "${1:-}" in
  deps) deps ;;
  build) deps; build ;;
  test) deps; build; test_all ;;
  run) deps; build; shift; exec tools/run-tasklark "$@" ;;
  fuzz) shift; fuzz "$@" ;;
  format) shift; format "$@" ;;
  package)
    deps; build
    cpack --config build/windows/CPackConfig.cmake
    ;;
  bench)
    deps; build; shift
    tools/wine-run --state build/windows/wine build/windows/bin/bench.exe "$@"
    ;;
  *)
    sed -n '2,11p' "$0" | sed 's/^# \{0,1\}//'
    exit 2
    ;;
esac
