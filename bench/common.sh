# Helpers shared by the bench scripts (sourced).

# field NAME TEXT: the value of NAME=VALUE in a result line.
field() { sed -n "s/.*\b$1=\([^ ]*\).*/\1/p" <<<"$2"; }

# measure OUT_DIR COMMAND...: empties OUT_DIR, flushes pending writes, runs the
# command under bench-measure (or module-bench, which measures itself) and
# prints its result line.
measure() {
  local out=$1
  shift
  rm -rf "$out" && mkdir -p "$out"
  sync
  "$@"
}

# best_of RUNS OUT_DIR COMMAND...: the least wall time and the least processor
# time of all runs, and the highest peak memory.
best_of() {
  local runs=$1 out=$2 line s c k best_s="" best_c="" peak=0
  shift 2
  for ((i = 0; i < runs; i++)); do
    line=$(measure "$out" "$@") || true
    s=$(field seconds "$line")
    c=$(field cpu "$line")
    k=$(field peak_kib "$line")
    [[ -z $s ]] && { echo "$line"; return 1; }
    ((k > peak)) && peak=$k
    if [[ -z $best_s ]] || awk -v a="$s" -v b="$best_s" 'BEGIN{exit !(a<b)}'; then best_s=$s; fi
    if [[ -z $best_c ]] || awk -v a="$c" -v b="$best_c" 'BEGIN{exit !(a<b)}'; then best_c=$c; fi
  done
  echo "$line" | sed "s/seconds=[0-9.]*/seconds=$best_s/; s/cpu=[0-9.]*/cpu=$best_c/; s/peak_kib=[0-9]*/peak_kib=$peak/"
}

mib() { awk -v k="$1" 'BEGIN{printf "%.1f", k/1024}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN{printf "%.2f", a/b}'; }
within() { awk -v r="$1" -v t="$2" 'BEGIN{exit !(r<=t)}'; }

# verdict RATIO TARGET PEAK_KIB: "ok" or what is over.
verdict() {
  local v=""
  within "$1" "$2" || v="SLOW"
  (($3 >= 64 * 1024)) && v="${v:+$v+}MEMORY"
  echo "${v:-ok}"
}

# same_tree A B: quiet diff of two extracted trees.
same_tree() { diff -r -q "$1" "$2" >/dev/null 2>&1 && echo "same tree" || echo "TREE DIFFERS"; }

sanitizer_warning() {  # sanitizer_warning BUILD_DIR
  if grep -q '^QUILLABY_SANITIZE:BOOL=ON' "$1/CMakeCache.txt" 2>/dev/null; then
    echo "warning: $1 is a sanitizer build; times and memory are not representative" >&2
  fi
}
