#!/usr/bin/env bash
# usage: bash tools/check-calibration.sh BINDIR [HISTORIES] [DRAWS]
# How often random histories make the prediction view's check line call
# some predictor different from chance: HISTORIES seeded histories of DRAWS
# uniformly random draws (200 of 1,000 unless told), each walked by
# rumone-backtest --all-reflect; a history counts when its "check" line
# names at least one predictor at any reflect count. With the correction
# over every comparison this stays near 5 % or below.
set -euo pipefail
bin=${1:?usage: check-calibration.sh BINDIR [HISTORIES] [DRAWS]}
histories=${2:-200}
draws=${3:-1000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
flagged=0
for seed in $(seq 1 "$histories"); do
  db="$work/h$seed.mdb"
  "$bin/rumone-db" sample "$db" --generated "$draws" "$seed" > /dev/null
  if "$bin/rumone-backtest" "$db" --all-reflect | awk -F'\t' '$1 == "check" && $3 > 0 { found = 1 } END { exit !found }'; then
    flagged=$((flagged + 1))
  fi
  rm -f "$db"
done
awk -v f="$flagged" -v n="$histories" -v d="$draws" \
  'BEGIN { printf "%d of %d histories of %d draws (%.1f %%) show a predictor different from chance\n", f, n, d, 100 * f / n }'
