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

# best_of RUNS OUT_DIR COMMAND...: the run with the least time; the peak
# memory reported is the highest of all runs.
best_of() {
  local runs=$1 out=$2 best="" peak=0 line s k
  shift 2
  for ((i = 0; i < runs; i++)); do
    line=$(measure "$out" "$@") || true
    s=$(field seconds "$line")
    k=$(field peak_kib "$line")
    [[ -z $s ]] && { echo "$line"; return 1; }
    ((k > peak)) && peak=$k
    if [[ -z $best ]] || awk -v a="$s" -v b="$(field seconds "$best")" 'BEGIN{exit !(a<b)}'; then
      best=$line
    fi
  done
  echo "$best" | sed "s/peak_kib=[0-9]*/peak_kib=$peak/"
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
