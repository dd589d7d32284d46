#!/bin/bash
# quillaby-batch against bsdtar: for each archive shape, one whole batch run
# (listing, extraction entry by entry, the log on standard output) versus one
# `bsdtar -xf` of the same archive, and `7zz x` for the 7z.
#
# Usage: bench/batch_bench.sh [BUILD_DIR]    (default: build)
#   BENCH_RUNS=N   runs per measurement, the fastest counts (default 3)
#   BENCH_KEEP=1   keep the work folder under /tmp
#   BENCH_SHAPES=DIR  build the archives there once and reuse them later
# Build first, without sanitizers:
#   cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
#   cmake --build build --target bench-measure quillaby-batch quillaby_modules
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" 2>/dev/null && pwd) || { echo "skipped: no build folder ${1:-$here/../build}"; exit 0; }
bin=$build/bin
runs=${BENCH_RUNS:-3}
source "$here/common.sh"
source "$here/shapes.sh"

for tool in bench-measure quillaby-batch; do
  [[ -x $bin/$tool ]] || { echo "skipped: $bin/$tool is not built (cmake --build $build --target $tool)"; exit 0; }
done
sanitizer_warning "$build"

prepare_work

# shape LABEL ARCHIVE MODULE TARGET [7zz]
shape() {
  local label=$1 archive=$shapes/$2 module=$3 target=$4 extra=${5:-}
  if [[ ! -f $bin/$module ]]; then
    printf '%-22s skipped: %s is not built\n' "$label" "$module"
    return
  fi
  local ref run
  ref=$(best_of "$runs" "$work/out-ref" "$bin/bench-measure" bsdtar -xf "$archive" -C "$work/out-ref")
  run=$(best_of "$runs" "$work/out-batch" "$bin/bench-measure" "$bin/quillaby-batch" -o "$work/out-batch" \
    -e overwrite "$archive")
  local bs rs bk rk r
  bs=$(field seconds "$run")
  rs=$(field seconds "$ref")
  bk=$(field peak_kib "$run")
  rk=$(field peak_kib "$ref")
  r=$(ratio "$bs" "$rs")
  printf '%-22s quillaby-batch %6.2fs  bsdtar %5.2fs  ratio %s (target %s, %s)  cpu ratio %s  peak %s MiB (bsdtar %s)  exit %s, %s\n' \
    "$label" "$bs" "$rs" "$r" "$target" "$(verdict "$r" "$target" "$bk")" \
    "$(ratio "$(field cpu "$run")" "$(field cpu "$ref")")" "$(mib "$bk")" "$(mib "$rk")" \
    "$(field status "$run")" "$(same_tree "$work/out-ref" "$work/out-batch")"
  if [[ $extra == 7zz ]]; then
    local z
    z=$(best_of "$runs" "$work/out-7zz" "$bin/bench-measure" 7zz x -y -bso0 -bsp0 "-o$work/out-7zz" "$archive")
    printf '%-22s %-14s %6.2fs  (batch / 7zz: %s)  peak %s MiB\n' "" "7zz x" "$(field seconds "$z")" \
      "$(ratio "$bs" "$(field seconds "$z")")" "$(mib "$(field peak_kib "$z")")"
  fi
}

# The command starts without a window system's libraries.
start=$(best_of "$runs" "$work/out-start" "$bin/bench-measure" "$bin/quillaby-batch" --version)
qt=$(ldd "$bin/quillaby-batch" | grep -c -i 'libQt' || true)
printf 'quillaby-batch --version: %.3fs, peak %s MiB, Qt libraries linked: %s\n' "$(field seconds "$start")" \
  "$(mib "$(field peak_kib "$start")")" "$qt"
echo "best of $runs runs (least wall time, least processor time); ratio = quillaby-batch / bsdtar -xf"
shape "(a) zip, 5000 files" many.zip unzip32.dll 1.3
shape "(b) solid 7z, 3000" solid.7z 7-zip32.dll 1.3 7zz
shape "(c) tar.gz, 3000" many.tar.gz tar32.dll 1.3
shape "(d) tar.gz, 200 MiB" large.tar.gz tar32.dll 1.5
