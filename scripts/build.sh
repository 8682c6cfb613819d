#!/usr/bin/env bash
# Configures and builds one preset (default: "default"). Usage: scripts/build.sh [preset] [targets...]
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-default}
shift || true
export CCACHE_BASEDIR="$PWD"
# CI builds from cold and keeps no binaries to debug: it precompiles the common headers of the libraries, builds
# without debug information, compiles the test programs' own code unoptimised, and gives the sanitizer build line
# tables only, enough for its reports to name files and lines.
ci_flags=()
if [ "${CI:-}" = true ]; then
  ci_flags=(-DCONFIGURATOR_PCH=ON -DCONFIGURATOR_TESTS_O0=ON
            -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -DNDEBUG" -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O2 -DNDEBUG"
            -DCMAKE_CXX_FLAGS_DEBUG="-g1" -DCMAKE_C_FLAGS_DEBUG="-g1")
fi
if [ ! -f "build/$preset/build.ninja" ]; then
  cmake --preset "$preset" "${ci_flags[@]}" >/dev/null
fi
if [ $# -gt 0 ]; then
  cmake --build --preset "$preset" --target "$@"
else
  cmake --build --preset "$preset"
fi
