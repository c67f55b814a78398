#!/usr/bin/env bash
# Prints the program's performance figures, each measured in this one run:
#   1. the composer's passwords per second (length 40, every set on) against pwgen -s doing the
#      same job, as a ratio;
#   2. a batch of 999 passwords of length 40 through the real window, from the click to "Done";
#   3. start-up to the first password on show, and the program's peak memory.
# Usage: bench/figures.sh [N]   (N passwords for the comparison, default 200000)
set -euo pipefail
cd "$(dirname "$0")/.."
n=${1:-200000}

scripts/install-deps.sh build bench tools
cmake --preset bench >/dev/null
cmake --build --preset bench >/dev/null
bin=build/bench

seconds() { # runs a command with its output discarded, prints the wall time in seconds
  local t0 t1
  t0=$(date +%s.%N); "$@" >/dev/null; t1=$(date +%s.%N)
  echo "$t1 - $t0" | bc -l
}

ours=$(seconds "$bin/bench/zintrova_compose" "$n")
theirs=$(seconds pwgen -s -1 40 "$n")
printf 'composer: %d passwords of length 40 in %.3f s = %.0f per second\n' "$n" "$ours" "$(echo "$n / $ours" | bc -l)"
printf 'pwgen -s: %d passwords of length 40 in %.3f s = %.0f per second\n' "$n" "$theirs" "$(echo "$n / $theirs" | bc -l)"
printf 'ratio:    %.1f times as many passwords per second as pwgen\n' "$(echo "$theirs / $ours" | bc -l)"

if [ -x "$bin/bench/zintrova_batch_bench" ]; then
  QT_QPA_PLATFORM=offscreen "$bin/bench/zintrova_batch_bench" --benchmark_min_time=2 2>/dev/null |
    grep -E '^BM_' | sed 's/^/batch:    /'
fi

# Start-up: from launch until the window is on a virtual display, and peak memory over a run
# that is then ended by SIGTERM (which saves the settings and closes normally).
folder=$(mktemp -d)
cp "$bin/zintrova" "$folder/"
n=99; while [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ]; do n=$((n + 1)); done
display=:$n
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$folder"' EXIT
for _ in $(seq 300); do xdpyinfo -display "$display" >/dev/null 2>&1 && break; sleep 0.1; done
xdpyinfo -display "$display" >/dev/null 2>&1 || { echo "figures: Xvfb did not start" >&2; exit 1; }
export DISPLAY=$display QT_QPA_PLATFORM=xcb
total=0
for i in 1 2 3 4 5; do
  t0=$(date +%s%N)
  /usr/bin/time -v -o "$folder/time.$i" "$folder/zintrova" &
  pid=$!
  until xdotool search --onlyvisible --name '^Zintrova 1\.1$' >/dev/null 2>&1; do
    kill -0 "$pid" 2>/dev/null || { echo "figures: the program did not start" >&2; exit 1; }
    sleep 0.005
  done
  t1=$(date +%s%N)
  total=$((total + (t1 - t0) / 1000000))
  pkill -TERM -P "$pid" zintrova || true
  wait "$pid" || true
done
printf 'start-up: %d ms to the first password on show (mean of 5 starts under Xvfb)\n' "$((total / 5))"
peak=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$folder"/time.* | sort -n | tail -1)
printf 'memory:   %.1f MiB peak resident\n' "$(echo "$peak / 1024" | bc -l)"
