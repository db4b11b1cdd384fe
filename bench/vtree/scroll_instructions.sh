#!/bin/sh
# Instructions per scroll step of a shown tree of 10^6 top-level nodes (800 x 600 client
# area), the repaint of the window included, counted by callgrind inside the benchmark's
# CountedStep only: the End key against the Home key, OffsetY set to the end of the range
# against 0, and a wheel notch at the end against one at the top. Scrolling to the end must
# cost the same as scrolling to the top: each pair must agree within 5 %.
# Usage: bench/vtree/scroll_instructions.sh [build folder]   (valgrind must be installed)
set -eu
build=${1:-build}
bench="$build/bench/vtree/bench_vtree_scroll"
[ -x "$bench" ] || { echo "no $bench: build the target bench_vtree_scroll first" >&2; exit 2; }
command -v valgrind >/dev/null || { echo "valgrind is not installed" >&2; exit 2; }
times=5
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
export QT_QPA_PLATFORM=offscreen QT_ENABLE_HIGHDPI_SCALING=0 QT_FONT_DPI=96
worst=0
for kind in 0 1 2; do
    top=0
    for where in 0 1; do
        file="$out/cg.$kind.$where"
        LAZYTREE_SCROLL_ONLY="$kind,$where,$times" valgrind --tool=callgrind --collect-atstart=no \
            "--toggle-collect=*CountedStep*" --callgrind-out-file="$file" "$bench" >/dev/null 2>&1
        total=$(sed -n 's/^totals: *\([0-9]*\).*/\1/p' "$file")
        [ -n "$total" ] || total=$(sed -n 's/^summary: *\([0-9]*\).*/\1/p' "$file")
        # times + 1 steps were counted (the warm-up step too).
        per=$((total / (times + 1)))
        case $kind in 0) what="End/Home key" ;; 1) what="OffsetY" ;; *) what="wheel notch" ;; esac
        case $where in 0) at=top ;; *) at=end ;; esac
        printf '%-13s to the %-4s %12s instructions per step\n' "$what" "$at" "$per"
        if [ "$where" -eq 0 ]; then
            top=$per
        else
            if [ "$per" -gt "$top" ]; then d=$((per - top)); else d=$((top - per)); fi
            spread=$((d * 1000 / top))
            printf '%-13s spread %d.%d %%\n' "$what" $((spread / 10)) $((spread % 10))
            if [ "$spread" -gt "$worst" ]; then worst=$spread; fi
        fi
    done
done
printf 'largest spread: %d.%d %% (goal: within 5 %%)\n' $((worst / 10)) $((worst % 10))
[ "$worst" -le 50 ]
