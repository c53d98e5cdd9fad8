#!/bin/bash
# Several registry writers at once, killed with SIGKILL at random moments in a loop.
# Afterwards every hive must parse and no acknowledged write may be missing.
#   bench/registry-stress/run.sh [BUILD_DIR] [WRITERS] [SECONDS]
set -euo pipefail

build=${1:-build/release}
writers=${2:-4}
seconds=${3:-20}
driver=$build/bench/registry-stress/registry-stress
[ -x "$driver" ] || { echo "build $driver first (cmake --build $build --target registry-stress)" >&2; exit 2; }

export TRAWLEX_ROOT=$(mktemp -d)
acks=$TRAWLEX_ROOT/acks
mkdir -p "$acks"
trap 'kill -9 "${pids[@]}" 2>/dev/null || true; rm -rf "$TRAWLEX_ROOT"' EXIT

declare -a pids
incarnation=0
start_writer() {  # slot
    incarnation=$((incarnation + 1))
    local key="w$1_$incarnation"
    "$driver" write "$key" > "$acks/$key" 2>> "$TRAWLEX_ROOT/errors" &
    pids[$1]=$!
}

for ((slot = 0; slot < writers; slot++)); do start_writer $slot; done

kills=0
parse_failures=0
end=$((SECONDS + seconds))
while ((SECONDS < end)); do
    sleep "0.$(printf '%02d' $((RANDOM % 20 + 1)))"
    slot=$((RANDOM % writers))
    kill -9 "${pids[$slot]}" 2>/dev/null && kills=$((kills + 1))
    wait "${pids[$slot]}" 2>/dev/null || true
    "$driver" check || parse_failures=$((parse_failures + 1))
    start_writer $slot
done
for ((slot = 0; slot < writers; slot++)); do
    kill -9 "${pids[$slot]}" 2>/dev/null && kills=$((kills + 1))
    wait "${pids[$slot]}" 2>/dev/null || true
done
"$driver" check || parse_failures=$((parse_failures + 1))

result=$("$driver" verify "$acks" | tail -1) || true
acked=$(echo "$result" | awk '{print $2}')
lost=$(echo "$result" | awk '{print $4}')
failed=$(grep -c "write failed" "$TRAWLEX_ROOT/errors" 2>/dev/null || true)
hive_kib=$(( $(stat -c %s "$TRAWLEX_ROOT/HKEY_CURRENT_USER.reg") / 1024 ))
echo "writers:           $writers"
echo "seconds:           $seconds"
echo "acknowledged:      $acked"
echo "writes/s:          $((acked / seconds))"
echo "kills:             $kills"
echo "hive size (KiB):   $hive_kib"
echo "lost writes:       $lost"
echo "parse failures:    $parse_failures"
echo "failed writes:     ${failed:-0}"
[ "$lost" = 0 ] && [ "$parse_failures" = 0 ] && [ "${failed:-0}" = 0 ]
