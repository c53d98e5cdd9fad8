#!/bin/bash
# Builds the row filter benchmark in release mode and runs it offscreen.
#   bench/row-filter/run.sh [BUILD_DIR] [ROWS]
set -euo pipefail
build=${1:-build/release}
shift || true
cmake --build "$build" --target row-filter-bench
QT_QPA_PLATFORM=offscreen "$build/bench/row-filter/row-filter-bench" "$@"
