#!/usr/bin/env bash
# Builds the Debian package as a distribution would: a Release build of the three programs with
# Debian's compiler and linker flags (dpkg-buildflags, all hardening features on), stripped
# binaries, then `cpack -G DEB`.
#   tools/build-deb.sh [OUTDIR]     the package lands in OUTDIR (default: build/package)
# The build directory is build/package; it holds no tests and no benchmarks.
set -euo pipefail
case "${1:-}" in
  -h | --help)
    sed -n '2,6s/^# \{0,1\}//p' "$0"
    exit 0
    ;;
esac
cd "$(dirname "$(readlink -f "$0")")/.."
out=${1:-build/package}
build=build/package

export DEB_BUILD_MAINT_OPTIONS=hardening=+all
# CMake takes C++ flags only: the preprocessor's (_FORTIFY_SOURCE) go with them.
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
ldflags=$(dpkg-buildflags --get LDFLAGS)

cmake -S . -B "$build" -G Ninja \
  -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CXX_FLAGS="$cxxflags" \
  -DCMAKE_EXE_LINKER_FLAGS="$ldflags" \
  -DKOVANTA_BUILD_TESTS=OFF -DKOVANTA_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j "${KOVANTA_JOBS:-2}" >/dev/null
mkdir -p "$out"
out=$(readlink -f "$out")
(cd "$build" && cpack -G DEB -B "$out" >/dev/null)
rm -rf "$out/_CPack_Packages"
ls "$out"/kovanta_*.deb
