#!/usr/bin/env bash
# Builds the benchmarks of the default preset and runs each of them, printing their result tables.
# Usage: scripts/bench.sh [extra Google Benchmark arguments, e.g. --benchmark_filter=StrToInt]
set -euo pipefail
cd "$(dirname "$0")/.."
export CCACHE_BASEDIR="$PWD"
if [ ! -f build/default/build.ninja ]; then
  cmake --preset default >/dev/null
fi
# The bench targets are the executables built from bench/bench_*.cpp.
targets=()
for src in bench/bench_*.cpp; do
  [ -e "$src" ] || continue
  targets+=("$(basename "$src" .cpp)")
done
if [ ${#targets[@]} -eq 0 ]; then
  echo "no benchmarks under bench/"
  exit 0
fi
# A benchmark whose libraries are not built in this configuration has no target: build the ones that exist.
available=()
for t in "${targets[@]}"; do
  if cmake --build --preset default --target help | grep -q "^$t:"; then
    available+=("$t")
  fi
done
if [ ${#available[@]} -gt 0 ]; then
  cmake --build --preset default --target "${available[@]}"
fi
status=0
for exe in build/default/bench/*; do
  [ -f "$exe" ] && [ -x "$exe" ] || continue
  echo "== $(basename "$exe")"
  "$exe" --benchmark_format=console "$@" || status=1
done
exit $status
