#!/usr/bin/env bash
# Runs every example job on fresh sample sites, committing each record alone, 7 records together
# and 100 together, and checks that all of them leave the same conversion logs, byte for byte
# once the time stamps are masked: how records are committed never shows in the log.
#   same-logs.sh ERP_COMMAND ORDAVEL_BATCH EXAMPLES_FOLDER
set -euo pipefail
erp="$1"
batch="$2"
examples="$3"
work=$(mktemp -d "${TMPDIR:-/tmp}/ordavel-same-logs-XXXXXX")
trap 'rm -rf "$work"' EXIT
export ORDAVEL_PASSWORD=admin
fail() { echo "FAIL: $*"; exit 1; }

for n in 1 7 100; do
  export ORDAVEL_REGISTRY="$work/registry-$n"
  "$erp" sample "$work/site-$n" >/dev/null
  status=0
  "$batch" --records-per-commit "$n" "$examples"/*.ini --yes >"$work/$n.out" 2>&1 || status=$?
  # 2: the sample's exempt records are skipped on purpose.
  [ "$status" -eq 2 ] || fail "the jobs with $n per commit ended with $status: $(cat "$work/$n.out")"
  mkdir "$work/logs-$n"
  for log in "$work/site-$n/SharedData/Company/SAMLTD/Ordavel"/*.log; do
    # The stamp is the local date, then the time unless it is midnight; the name's date goes.
    sed -E 's/^[0-9][^ ]*( [0-9]+:[0-9:]+( [AP]M)?)? /<stamp> /' "$log" \
      >"$work/logs-$n/$(basename "$log" | cut -d_ -f2-)"
  done
  [ "$(ls "$work/logs-$n" | wc -l)" -eq 19 ] || fail "not every kind logged with $n per commit"
done
diff -r "$work/logs-1" "$work/logs-7" || fail "the logs with 1 and 7 per commit differ"
diff -r "$work/logs-1" "$work/logs-100" || fail "the logs with 1 and 100 per commit differ"
! grep -r -L '<stamp> ' "$work/logs-1" | grep -q . || fail "a log has lines without a stamp"
echo "1 passed, 0 failed"
