#!/usr/bin/env bash
# Builds the Debian package build-pkg/mirel_<version>_amd64.deb (local site profile, with
# the site server) with Debian's hardening flags from dpkg-buildflags.
#   bash scripts/package.sh [build folder]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-pkg}

# Fortify, stack protector, format checks, relro and bindnow (PIE is the compiler's
# default). The preprocessor's flags go with the compiler's: CMake has no CPPFLAGS. No
# debug information: the package ships stripped programs and no debug package.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cppflags=$(dpkg-buildflags --get CPPFLAGS)
without_debug() { sed -e 's/\(^\| \)-g\( \|$\)/ /g' <<<"$1"; }
cflags=$(without_debug "$(dpkg-buildflags --get CFLAGS) $cppflags")
cxxflags=$(without_debug "$(dpkg-buildflags --get CXXFLAGS) $cppflags")
ldflags=$(dpkg-buildflags --get LDFLAGS)

launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DMIREL_SITES=local \
  -DMIREL_BUILD_TESTS=OFF "${launcher[@]}" -DCMAKE_STRIP="$PWD/cmake/debian-strip.sh" \
  -DCMAKE_C_FLAGS="$cflags" -DCMAKE_CXX_FLAGS="$cxxflags" \
  -DCMAKE_EXE_LINKER_FLAGS="$ldflags" -DCMAKE_SHARED_LINKER_FLAGS="$ldflags" \
  -DCMAKE_MODULE_LINKER_FLAGS="$ldflags"
cmake --build "$build" --parallel "${MIREL_JOBS:-$(nproc)}"
rm -f "$build"/mirel_*.deb
(cd "$build" && cpack -G DEB)
ls "$build"/mirel_*.deb
