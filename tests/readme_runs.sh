#!/usr/bin/env bash
# The runs README.md shows are what the tool prints: the whole output of
# `tools/example` (the block inside <details>) must be, line for line, what
# tools/run-example, which tools/example ends in, prints for `venoskal -m` on
# examples/dictionary, and the block after the
# paragraph that begins "`examples/out-of-order` holds" must be how the run on
# that example ends; the excerpts above the whole output must stand in it.
# Usage: tests/readme_runs.sh VENOSKAL_BINARY SOURCE_DIR
set -euo pipefail
tool=$(realpath "$1")
source_dir=$(realpath "$2")
readme=$source_dir/README.md
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# What tools/example prints for an example, run by the same script and with
# the folder named as tools/example names it from the top of the repository
# (without the CR of the lines it echoes, which a README cannot show).
run_example() {
  mkdir -p "$work/examples/$1"
  cp "$source_dir/examples/$1/kolvane.dic" "$work/examples/$1/"
  (cd "$work" && "$source_dir/tools/run-example" "$tool" "examples/$1") | tr -d '\r'
}
run_example dictionary > "$work/dictionary.out"
run_example out-of-order > "$work/out-of-order.out"

# The code blocks of the README, one file each, numbered in order.
awk -v out="$work/block" '
  /^```/ { if (inside) { inside = 0; close(file) } else { inside = 1; file = out "." ++n; printf "" > file }; next }
  inside { print > file }
' "$readme"
whole=$(awk '/<details>/ { found = 1 } found && /^```/ { print n / 2 + 1; exit } /^```/ { n++ }' "$readme")
mistake=$(awk '/^`examples\/out-of-order` holds/ { found = 1 } found && /^```/ { print n / 2 + 1; exit } /^```/ { n++ }' "$readme")

failed=0
if ! diff -u "$work/block.$whole" "$work/dictionary.out"; then
  echo "README: the whole output of tools/example is not what the tool prints" >&2
  failed=1
fi
lines=$(wc -l < "$work/block.$mistake")
if ! diff -u "$work/block.$mistake" <(tail -n "$lines" "$work/out-of-order.out"); then
  echo "README: the run on examples/out-of-order does not end as shown" >&2
  failed=1
fi
# The two excerpts before the whole output: its first and its last lines.
for excerpt in $((whole - 2)) $((whole - 1)); do
  lines=$(wc -l < "$work/block.$excerpt")
  if ! diff -q "$work/block.$excerpt" <(head -n "$lines" "$work/dictionary.out") > /dev/null &&
     ! diff -q "$work/block.$excerpt" <(tail -n "$lines" "$work/dictionary.out") > /dev/null; then
    echo "README: code block $excerpt is neither the start nor the end of the output" >&2
    failed=1
  fi
done
exit $failed
