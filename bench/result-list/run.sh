#!/bin/bash
# Builds the result list benchmark in release mode and runs it offscreen.
#   bench/result-list/run.sh [BUILD_DIR] [ROWS_APPENDED] [ROWS_SORTED] [ROWS_EXPORTED]
set -euo pipefail
build=${1:-build/release}
shift || true
cmake --build "$build" --target result-list-bench
QT_QPA_PLATFORM=offscreen "$build/bench/result-list/result-list-bench" "$@"
