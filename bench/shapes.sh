# Builds the benchmark archives; sourced by the bench scripts.
# make_shapes DIR: writes into DIR
#   many.zip     5,000 small files, deflate
#   solid.7z     3,000 small files, solid
#   many.tar.gz  3,000 small files
#   large.tar.gz one compressible 200 MiB file
# Files are text of 200 to 4,000 bytes in 50 folders; the contents differ so
# that compression has real work to do.

make_small_tree() {  # make_small_tree DIR COUNT
  python3 - "$1" "$2" <<'PY'
import os, sys
root, count = sys.argv[1], int(sys.argv[2])
words = b"alpha beta gamma delta epsilon zeta eta theta iota kappa lambda mu".split()
state = 2024
for i in range(count):
    folder = os.path.join(root, "d%02d" % (i % 50))
    os.makedirs(folder, exist_ok=True)
    state = (state * 1103515245 + 12345) & 0x7FFFFFFF
    size = 200 + state % 3800
    line, out = 0, bytearray()
    while len(out) < size:
        state = (state * 1103515245 + 12345) & 0x7FFFFFFF
        out += b"%06d %d %s %s\n" % (line, state, words[state % 12], words[(state >> 8) % 12])
        line += 1
    with open(os.path.join(folder, "f%05d.txt" % i), "wb") as f:
        f.write(out[:size])
PY
}

make_large_file() {  # make_large_file PATH MIB
  python3 - "$1" "$2" <<'PY'
import sys
path, mib = sys.argv[1], int(sys.argv[2])
target = mib * 1024 * 1024
with open(path, "wb") as f:
    written, i = 0, 0
    while written < target:
        # 1 MiB of log-like lines per round, each round different.
        chunk = b"".join(b"%010d quillaby benchmark record %d status=%s\n"
                         % (i + k, (i + k) * 7919 % 100003, b"ok" if k % 7 else b"retry")
                         for k in range(20000))
        chunk = chunk[:min(len(chunk), target - written)]
        f.write(chunk)
        written += len(chunk)
        i += 20000
PY
}

make_shapes() {
  local dir=$1
  rm -rf "$dir"/src-* "$dir"/many.zip "$dir"/solid.7z "$dir"/*.tar.gz
  make_small_tree "$dir/src-5000" 5000
  make_small_tree "$dir/src-3000" 3000
  mkdir -p "$dir/src-large"
  make_large_file "$dir/src-large/large.log" 200
  (cd "$dir/src-5000" && zip -q -r "$dir/many.zip" .)
  (cd "$dir/src-3000" && 7zz a -bso0 -bsp0 -t7z -ms=on "$dir/solid.7z" .)
  # Names without a "./" in front, as most tarballs have them.
  tar -czf "$dir/many.tar.gz" -C "$dir/src-3000" $(ls "$dir/src-3000")
  tar -czf "$dir/large.tar.gz" -C "$dir/src-large" large.log
}

# prepare_work: a work folder under /tmp (removed at exit unless BENCH_KEEP=1)
# in $work, and the archives in $shapes (BENCH_SHAPES, built once, or $work).
prepare_work() {
  work=$(mktemp -d /tmp/quillaby-bench.XXXXXX)
  [[ ${BENCH_KEEP:-0} == 1 ]] || trap 'rm -rf "$work"' EXIT
  shapes=${BENCH_SHAPES:-$work}
  if [[ ! -f $shapes/large.tar.gz ]]; then
    echo "building the archives in $shapes ..."
    mkdir -p "$shapes"
    make_shapes "$shapes"
  fi
}
