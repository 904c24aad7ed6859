#!/usr/bin/env bash
# Every wait a player meets, measured by its bench, in ONE markdown table:
#   wait | median | floor or peer (same run) | target | met | command
# then one line per target, "met" or "missed" (on the wall clock), and
# "N of M met".
# Builds the benches (Release) first, then runs each bench once. Unattended,
# about 5-8 minutes on the 2-core machine; run it on a quiet machine.
#
#   bash bench/waits.sh [ROUNDS]        (default 5; from the source folder)
# BENCH_BUILD=folder uses another build folder (default build/bench).
set -u
cd "$(dirname "$0")/.."
rounds=${1:-5}
build=${BENCH_BUILD:-build/bench}
bin=$build/bin
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DRUMONE_BENCH=ON -DRUMONE_TESTS=OFF >/dev/null &&
  nice cmake --build "$build" -j2 >/dev/null || { echo "the bench build failed" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
rows=$work/rows  # wait<TAB>median<TAB>peer<TAB>target<TAB>met<TAB>command

# Runs a bench, keeps its full output beside the table, takes its WAIT lines.
run() {
  local name=$1
  shift
  echo "running: $*" >&2
  "$@" >"$work/$name.out" 2>/dev/null || echo "  ($name ended with status $?)" >&2
  grep '^WAIT' "$work/$name.out" | cut -f2- | sed "s|\$|\t$*|" >>"$work/$name.rows"
}

# 1 and 2: the views inside the main window, the program's allocator setting
# beside glibc's defaults (the peer, in its own process).
run frame "$bin/frame_bench" "$rounds"
run frame-glibc "$bin/frame_bench" "$rounds" --allocator=glibc
# The peer's figure for each line: the same wait, view name and tag aside.
awk -F'\t' -v OFS='\t' '
  function key(s) { sub(/ \(.*\)$/, "", s); sub(/, glibc/, "", s); return s }
  NR == FNR { peer[key($1)] = $2; next }
  { k = key($1); if (k in peer) $3 = ($3 == "-" ? "" : $3 "; ") "glibc defaults " peer[k]; print }
' "$work/frame-glibc.rows" "$work/frame.rows" >>"$rows"

# 3: cold start against its floors (an empty window started the same way,
# and the same window with the program's font, menus, a label and a status
# line), real draws and 32,767 draws, on both cores (judged against the
# empty floor + 30 ms) and on one (the text floor + 20 ms).
for cmd in "$bin/startup_bench $((rounds + 4))" "taskset -c 1 $bin/startup_bench $((rounds + 4))"; do
  echo "running: $cmd" >&2
  $cmd >"$work/startup.out" 2>/dev/null
  grep '^WAIT' "$work/startup.out" | cut -f2- | sed "s|\$|\t$cmd|" >>"$rows"
done

# 4: the verification view, CSV import, exit with nineteen views, the help window.
run waits "$bin/waits_bench" "$rounds"
cat "$work/waits.rows" >>"$rows"

# 5: the purchase book of 10,000 tickets: its open and a new draw checked,
# beside the draws read alone.
run tickets "$bin/tickets_bench" "$rounds"
cat "$work/tickets.rows" >>"$rows"

# 6: the grid against a QTableView over a model and a QTableWidget, one run.
run grid "$bin/grid_bench" "--benchmark_filter=^$"
cat "$work/grid.rows" >>"$rows"

# 7: the copy of the whole widest view against one screenful.
run selection "$bin/selection_bench" "--benchmark_filter=^$" "$rounds"
cat "$work/selection.rows" >>"$rows"

# 8: printing the widest view to PDF, each round a process of its own.
run print "$bin/print_bench" "$rounds"
cat "$work/print.rows" >>"$rows"

# 9: the player's own rule walked (real and 32,767 draws) and the window's
# next-draw size after a change.
run rules "$bin/rules_bench" "$rounds"
cat "$work/rules.rows" >>"$rows"

echo
echo "| wait | median ms | floor or peer (same run) | target | met | command |"
echo "|---|---:|---|---|---|---|"
awk -F'\t' '{ printf "| %s | %s | %s | %s | %s | `%s` |\n", $1, $2, $3, $4, $5, $6 }' "$rows"
echo
echo "Medians of $rounds rounds (cold start: $((rounds + 4))); full outputs: run the commands above."

# One line per target, met or missed on the wall clock (the benches judge
# the median wall time; CPU time stands beside it), then the count.
echo
awk -F'\t' '
  { verdict = tolower($5); if (verdict != "met" && verdict != "missed") next
    printf "%s\t%s: %s (%s; target %s)\n", verdict, $1, $2, $3, $4; n++; if (verdict == "met") k++ }
  END { printf "%d of %d met\n", k, n }
' "$rows"
