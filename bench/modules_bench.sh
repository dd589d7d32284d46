#!/bin/bash
# The archiver modules against bsdtar: for each archive shape, list every
# entry and extract them one command at a time in listing order through the
# module (as a batch run does), versus one `bsdtar -xf` of the same archive.
#
# Usage: bench/modules_bench.sh [BUILD_DIR]    (default: build)
#   BENCH_RUNS=N   runs per measurement, the fastest counts (default 3)
#   BENCH_KEEP=1   keep the work folder under /tmp
#   BENCH_SHAPES=DIR  build the archives there once and reuse them later
# Build first, without sanitizers:
#   cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
#   cmake --build build --target module-bench bench-measure quillaby_modules
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" 2>/dev/null && pwd) || { echo "skipped: no build folder ${1:-$here/../build}"; exit 0; }
bin=$build/bin
runs=${BENCH_RUNS:-3}
source "$here/common.sh"
source "$here/shapes.sh"

for tool in module-bench bench-measure; do
  [[ -x $bin/$tool ]] || { echo "skipped: $bin/$tool is not built (cmake --build $build --target $tool)"; exit 0; }
done
have_module() { [[ -f $bin/$1 ]]; }
if ! have_module unzip32.dll && ! have_module 7-zip32.dll && ! have_module tar32.dll; then
  echo "skipped: no module in $bin (cmake --build $build --target quillaby_modules)"
  exit 0
fi
sanitizer_warning "$build"

prepare_work

# shape LABEL ARCHIVE MODULE DIALECT TARGET [7zz]
shape() {
  local label=$1 archive=$shapes/$2 module=$3 dialect=$4 target=$5 extra=${6:-}
  if ! have_module "$module"; then
    printf '%-22s skipped: %s is not built\n' "$label" "$module"
    return
  fi
  local ref mod
  ref=$(best_of "$runs" "$work/out-ref" "$bin/bench-measure" bsdtar -xf "$archive" -C "$work/out-ref")
  mod=$(best_of "$runs" "$work/out-mod" "$bin/module-bench" "$bin/$module" "$dialect" "$archive" "$work/out-mod") || true
  local ms rs mk rk r
  ms=$(field seconds "$mod")
  if [[ -z $ms ]]; then
    printf '%-22s %s: FAILED %s\n' "$label" "$module" "$mod"
    return
  fi
  rs=$(field seconds "$ref")
  mk=$(field peak_kib "$mod")
  rk=$(field peak_kib "$ref")
  r=$(ratio "$ms" "$rs")
  # The listing's share shows what a second pass over a compressed stream costs.
  printf '%-22s %-12s %6.2fs (listing %ss)  bsdtar %5.2fs  ratio %s (target %s, %s)  cpu ratio %s  peak %s MiB (bsdtar %s)  %s entries, %s failed, %s\n' \
    "$label" "$module" "$ms" "$(field list_seconds "$mod")" "$rs" "$r" "$target" "$(verdict "$r" "$target" "$mk")" \
    "$(ratio "$(field cpu "$mod")" "$(field cpu "$ref")")" "$(mib "$mk")" "$(mib "$rk")" \
    "$(field entries "$mod")" "$(field failed "$mod")" "$(same_tree "$work/out-ref" "$work/out-mod")"
  if [[ $extra == 7zz ]]; then
    local z
    z=$(best_of "$runs" "$work/out-7zz" "$bin/bench-measure" 7zz x -y -bso0 -bsp0 "-o$work/out-7zz" "$archive")
    printf '%-22s %-12s %6.2fs  (module / 7zz: %s)  peak %s MiB\n' "" "7zz x" "$(field seconds "$z")" \
      "$(ratio "$ms" "$(field seconds "$z")")" "$(mib "$(field peak_kib "$z")")"
  fi
}

echo "best of $runs runs (least wall time, least processor time); ratio = module / bsdtar -xf"
shape "(a) zip, 5000 files" many.zip unzip32.dll zip 1.3
shape "(a) zip, 5000 files" many.zip 7-zip32.dll 7z-zip 1.3
shape "(b) solid 7z, 3000" solid.7z 7-zip32.dll 7z 1.3 7zz
shape "(c) tar.gz, 3000" many.tar.gz tar32.dll tar 1.3
shape "(d) tar.gz, 200 MiB" large.tar.gz tar32.dll tar 1.5
