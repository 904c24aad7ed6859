#!/usr/bin/env bash
# How the waits that grow with the history grow: each measured on 1,000
# seeded random draws, on the real draws and on 32,767 (the benches'
# --draws=1000, --draws=real and --draws=32767), in ONE markdown table:
#   wait | 1000 | real | 32767 | slope per 1000 draws, real to 32767 | ratio | command
# The ratio divides that slope by the slope from 1,000 to the real draws:
# near 1 where the wait grows in a straight line, well above 1 where it
# grows faster than the history (where a wait hardly grows, the ratio of
# two small slopes is noise). Cells are the benches' medians of ROUNDS
# rounds, wall time, with CPU time beside it where the bench gives one, as
# bench/waits.sh shows them. The cold starts take the three sizes in turn
# in one run, so that a change of load falls on all alike; the other
# benches run each size in a process of its own, which keeps one size's
# peak memory out of another's.
# Builds the benches it runs (Release) first. Unattended, about a minute on
# the 2-core machine at 3 rounds; run it on a quiet machine.
#
#   bash bench/growth.sh [ROUNDS]       (default 3; from the source folder)
# BENCH_BUILD=folder uses another build folder (default build/bench).
set -u
cd "$(dirname "$0")/.." || exit 1
rounds=${1:-3}
build=${BENCH_BUILD:-build/bench}
bin=$build/bin
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DRUMONE_BENCH=ON -DRUMONE_TESTS=OFF >/dev/null &&
  nice cmake --build "$build" -j2 --target startup_bench waits_bench frame_bench >/dev/null ||
  { echo "the bench build failed" >&2; exit 1; }

sizes=(1000 real 32767)

loadBefore=$(uptime)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The runs: name<TAB>how<TAB>command. DRAWS stands for the --draws
# arguments: all three sizes in one run (`all`) or one (`each`, a run a
# size).
runs=$(printf '%s\t%s\t%s\n' \
  start1 all "taskset -c 1 $bin/startup_bench $((rounds + 4)) DRAWS" \
  start2 all "$bin/startup_bench $((rounds + 4)) DRAWS" \
  verification each "$bin/waits_bench $rounds verification DRAWS" \
  import each "$bin/waits_bench $rounds import DRAWS" \
  frame each "$bin/frame_bench $rounds DRAWS")

# run OUTPUT COMMAND...
run() {
  local out=$1
  shift
  echo "running: $*" >&2
  "$@" >"$out" 2>/dev/null </dev/null || echo "  (ended with status $?)" >&2
}

all=""
for size in "${sizes[@]}"; do all+=" --draws=$size"; done
while IFS=$'\t' read -r name how command; do
  # shellcheck disable=SC2086 # the command's words
  if [ "$how" = all ]; then
    run "$work/$name-all.out" ${command//DRAWS/${all# }}
  else
    for size in "${sizes[@]}"; do run "$work/$name-$size.out" ${command//DRAWS/--draws=$size}; done
  fi
done <<<"$runs"

# The count of real draws as the benches read them, and each size's name
# as they give it.
real=$(grep -m1 -oE '[0-9]+ real draws' "$work/start2-all.out" | grep -oE '^[0-9]+')
real=${real:-$(grep -c '^[0-9]' data/draws.csv)}
counts=(1000 "$real" 32767)
names=("1000 draws" "$real real draws" "32767 draws")

# One figure of a run's output: the median of the WAIT line whose wait
# begins with `prefix`, or (with `pattern`) the number that follows the
# pattern in that line; "-" when the run gave none.
figure() {
  local out=$1 prefix=$2 pattern=${3:-}
  awk -F'\t' -v prefix="$prefix" -v pattern="$pattern" '
    $1 == "WAIT" && index($2, prefix) == 1 {
      if (pattern == "") { print $3; found = 1; exit }
      if (match($0, pattern "[0-9.]+")) { print substr($0, RSTART + length(pattern), RLENGTH - length(pattern)); found = 1 }
      exit
    }
    END { if (!found) print "-" }' "$out"
}

# The CPU time a run's own summary line gives beside the wall time: the
# number that follows the first match of `pattern` (an extended regular
# expression) in the output, or "-".
cpu() {
  local out=$1 pattern=$2 time
  time=$(grep -m1 -oE "${pattern}[0-9.]+" "$out" | grep -oE '[0-9.]+$')
  echo "${time:--}"
}

rows=$work/rows  # wait<TAB>run<TAB>wall 1-3<TAB>CPU 1-3 ("-" for none)
# row WAIT RUN PREFIX PATTERN CPU-IN-WAIT CPU-IN-OUTPUT: the figure (see
# `figure`) at each size, and the CPU time beside it: the number that
# follows CPU-IN-WAIT in the same WAIT line or CPU-IN-OUTPUT in the output.
# NAME in PREFIX and CPU-IN-OUTPUT stands for the size's name, as a run of
# all three names its lines.
row() {
  local wait=$1 run=$2 prefix=$3 pattern=$4 cpuInWait=$5 cpuInOutput=$6
  local values=() times=() i out
  for i in "${!sizes[@]}"; do
    out=$work/$run-${sizes[$i]}.out
    [ -e "$out" ] || out=$work/$run-all.out
    values+=("$(figure "$out" "${prefix//NAME/${names[$i]}}" "$pattern")")
    if [ -n "$cpuInWait" ]; then
      times+=("$(figure "$out" "${prefix//NAME/${names[$i]}}" "$cpuInWait")")
    elif [ -n "$cpuInOutput" ]; then
      times+=("$(cpu "$out" "${cpuInOutput//NAME/${names[$i]}}")")
    else
      times+=(-)
    fi
  done
  printf '%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n' "$wait" "$run" "${values[@]}" "${times[@]}" >>"$rows"
}

start="cold start to the first paint, NAME,"
# startup_bench's table gives the program's wall, min and max, then the CPU
# time of all its threads until the paint.
startCpu='program, NAME +[0-9.]+ +[0-9.]+ +[0-9.]+ +'
cores=$(grep -m1 -oE '[0-9]+ cores?' "$work/start2-all.out" | grep -oE '^[0-9]+')
chart="verification view until its chart is drawn,"
import="CSV import through the entry view,"
row "cold start to the first paint, 1 core, ms" start1 "$start" "" "" "$startCpu"
row "cold start to the first paint, ${cores:-all} cores, ms" start2 "$start" "" "" "$startCpu"
row "予想の検証 until its chart is drawn, ms" verification "$chart" "" "" ""
row "予想の検証 until every reflect count is in, ms" verification "$chart" "every reflect count in " \
  "window thread CPU " ""
row "CSV import through the entry view, ms" import "$import" "" "" "$import [^:]*: [0-9.]+ ms \\(CPU "
row "slowest analysis view, first open in the frame, ms" frame "slowest analysis view, 1st open," "" "CPU " ""
row "当せん金 view, first open in the frame, ms" frame "当せん金 view, 1st open," "" "CPU " ""
row "peak memory after the opens (VmHWM), MB" frame "peak memory after all opens, MB," "" "" ""

echo
echo "| wait | 1000 draws | $real real draws | 32767 draws | slope per 1000 draws, $real to 32767 | ratio to the slope from 1000 to $real | command |"
echo "|---|---:|---:|---:|---:|---:|---|"
while IFS=$'\t' read -r wait run v1 v2 v3 t1 t2 t3; do
  how=$(awk -F'\t' -v run="$run" '$1 == run { print $2 }' <<<"$runs")
  command=$(awk -F'\t' -v run="$run" '$1 == run { print $3 }' <<<"$runs")
  if [ "$how" = all ]; then command=${command//DRAWS/${all# }}; else command=${command//DRAWS/--draws=N}; fi
  awk -v wait="$wait" -v v1="$v1" -v v2="$v2" -v v3="$v3" -v t1="$t1" -v t2="$t2" -v t3="$t3" \
    -v n1="${counts[0]}" -v n2="${counts[1]}" -v n3="${counts[2]}" -v command="$command" '
    function cell(v, t) { return t == "-" ? v : v " (CPU " t ")" }
    # The slope above the real draws and its ratio to the slope below.
    function growth(a, b, c,    early, late) {
      if (a == "-" || b == "-" || c == "-") { slope = "-"; ratio = "-"; return }
      early = (b - a) / ((n2 - n1) / 1000); late = (c - b) / ((n3 - n2) / 1000)
      slope = sprintf("%+.3f", late)
      ratio = early > 0 ? sprintf("%.2f", late / early) : "-"
    }
    BEGIN {
      growth(v1, v2, v3); wallSlope = slope; wallRatio = ratio
      growth(t1, t2, t3)
      if (slope != "-") { wallSlope = wallSlope " (CPU " slope ")"; wallRatio = wallRatio " (CPU " ratio ")" }
      printf "| %s | %s | %s | %s | %s | %s | `%s` |\n", wait, cell(v1, t1), cell(v2, t2), cell(v3, t3), wallSlope,
        wallRatio, command
    }'
done <"$rows"
echo
echo "N is 1000, real and 32767 in turn. Medians of $rounds rounds (cold start: $((rounds + 4)))."
echo "A slope in ms per 1000 draws is microseconds a draw; in MB per 1000 draws, kilobytes a draw."
echo "A ratio is only as steady as the two slopes it divides: where a wait hardly grows, it is noise"
echo "(\"-\" where the wait did not rise from 1000 to $real draws)."
echo "CPU: of every thread of the program until its paint (cold start), of the window thread elsewhere."
echo "Peak memory: the whole bench process's, its own copy of the draws (about 280 bytes a draw) included."
echo "Load before the runs: ${loadBefore##*load average: }; after: $(uptime | sed 's/.*load average: //')."
