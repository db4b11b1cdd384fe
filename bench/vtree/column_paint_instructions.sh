#!/bin/sh
# Instructions per paint of the visible window (800 x 600) of a flat tree of 10^6 nodes with
# 10 and 1,000 header columns of 80 pixels (ten columns fill the window), scrolled to the left
# and to the far right, counted by callgrind inside TBaseLazyTree::PaintTree only. Scrolled to
# the left the counts must agree within 5 %: a paint costs the cells it shows, whatever the
# column count. The far right is reported.
# Usage: bench/vtree/column_paint_instructions.sh [build folder]   (valgrind must be installed)
set -eu
build=${1:-build}
bench="$build/bench/vtree/bench_vtree_columns"
[ -x "$bench" ] || { echo "no $bench: build the target bench_vtree_columns first" >&2; exit 2; }
command -v valgrind >/dev/null || { echo "valgrind is not installed" >&2; exit 2; }
times=5
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
export QT_QPA_PLATFORM=offscreen QT_ENABLE_HIGHDPI_SCALING=0 QT_FONT_DPI=96
min=0
max=0
for right in 0 1; do
    for columns in 10 1000; do
        file="$out/cg.$columns.$right"
        LAZYTREE_COLUMNS_PAINT_ONLY="$columns,$right,$times,80" valgrind --tool=callgrind --collect-atstart=no \
            "--toggle-collect=vtree::TBaseLazyTree::PaintTree(*" --callgrind-out-file="$file" "$bench" >/dev/null 2>&1
        total=$(sed -n 's/^totals: *\([0-9]*\).*/\1/p' "$file")
        [ -n "$total" ] || total=$(sed -n 's/^summary: *\([0-9]*\).*/\1/p' "$file")
        # times + 1 paints were counted (the warm-up paint too).
        per=$((total / (times + 1)))
        case $right in 0) at=left ;; *) at="far right" ;; esac
        printf '%5s columns, %-9s %12s instructions per paint\n' "$columns" "$at" "$per"
        if [ "$right" -eq 0 ]; then
            if [ "$min" -eq 0 ] || [ "$per" -lt "$min" ]; then min=$per; fi
            if [ "$per" -gt "$max" ]; then max=$per; fi
        fi
    done
done
spread=$(( (max - min) * 1000 / min ))
printf 'spread scrolled to the left: %d.%d %% (goal: within 5 %%)\n' $((spread / 10)) $((spread % 10))
[ "$spread" -le 50 ]
