#!/bin/sh
# Instructions per paint of the tree's visible window (800 x 600) at the top, middle and end
# of trees of 10^3 and 10^6 nodes, counted by callgrind inside TBaseLazyTree::PaintTree only.
# The counts must agree within 5 %: a paint costs the rows it shows, whatever the tree's size.
# Usage: bench/vtree/paint_instructions.sh [build folder]   (valgrind must be installed)
set -eu
build=${1:-build}
bench="$build/bench/vtree/bench_vtree_paint"
[ -x "$bench" ] || { echo "no $bench: build the target bench_vtree_paint first" >&2; exit 2; }
command -v valgrind >/dev/null || { echo "valgrind is not installed" >&2; exit 2; }
times=5
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
export QT_QPA_PLATFORM=offscreen QT_ENABLE_HIGHDPI_SCALING=0 QT_FONT_DPI=96
min=0
max=0
for count in 1000 1000000; do
    for where in 0 1 2; do
        file="$out/cg.$count.$where"
        LAZYTREE_PAINT_ONLY="$count,$where,$times" valgrind --tool=callgrind --collect-atstart=no \
            "--toggle-collect=vtree::TBaseLazyTree::PaintTree(*" --callgrind-out-file="$file" "$bench" >/dev/null 2>&1
        total=$(sed -n 's/^totals: *\([0-9]*\).*/\1/p' "$file")
        [ -n "$total" ] || total=$(sed -n 's/^summary: *\([0-9]*\).*/\1/p' "$file")
        # times + 1 paints were counted (the warm-up paint too).
        per=$((total / (times + 1)))
        case $where in 0) at=top ;; 1) at=middle ;; *) at=end ;; esac
        printf '%8s nodes, %-6s %12s instructions per paint\n' "$count" "$at" "$per"
        if [ "$min" -eq 0 ] || [ "$per" -lt "$min" ]; then min=$per; fi
        if [ "$per" -gt "$max" ]; then max=$per; fi
    done
done
spread=$(( (max - min) * 1000 / min ))
printf 'spread: %d.%d %% (goal: within 5 %%)\n' $((spread / 10)) $((spread % 10))
[ "$spread" -le 50 ]
