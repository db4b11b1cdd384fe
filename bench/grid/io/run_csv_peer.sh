#!/bin/sh
# Runs the grid's CSV and native-file benchmarks and Python's csv module on the same cells,
# one after the other. Usage: run_csv_peer.sh <build folder>
set -eu
here="$(dirname "$0")"
build="${1:-build}"
QT_QPA_PLATFORM=offscreen QT_ENABLE_HIGHDPI_SCALING=0 "$build/bench/grid/io/bench_grid_io"
for rows in 100000 1000000; do python3 "$here/csv_peer.py" "$rows"; done
