#!/usr/bin/env bash
# Runs the example jobs twice on two copies of the sample site: directly, and through the Web API
# of `erp webapi` on loopback. Both must end alike and leave the same conversion logs (byte for
# byte once the stamps are masked), the same change files (but for their keyed digests) and the
# same data in every view.
#   examples-through-webapi.sh ERP_COMMAND ORDAVEL_BATCH EXAMPLES_FOLDER
set -euo pipefail
erp=$(realpath "$1")
batch=$(realpath "$2")
examples=$(realpath "$3")
work=$(mktemp -d "${TMPDIR:-/tmp}/ordavel-webapi-examples-XXXXXX")
server=""
trap '[ -n "$server" ] && kill "$server" 2>/dev/null; rm -rf "$work"' EXIT
export ORDAVEL_PASSWORD=admin
fail() { echo "FAIL: $*"; exit 1; }

ORDAVEL_REGISTRY="$work/direct.registry" "$erp" sample "$work/direct" >/dev/null
ORDAVEL_REGISTRY="$work/served.registry" "$erp" sample "$work/served" >/dev/null
"$erp" webapi "$work/served" --listen 127.0.0.1:0 >"$work/server.out" 2>&1 &
server=$!
for _ in $(seq 300); do grep -q '/-/' "$work/server.out" && break; sleep 0.1; done
url=$(grep -o 'http[^ ]*/-/' "$work/server.out") || fail "the server did not start: $(cat "$work/server.out")"

run() { # run NAME ARGS...: every example job in one call; its status goes to NAME.status
  local name="$1"; shift
  local status=0
  (cd "$work" && "$batch" "$@" "$examples"/*.ini --yes >"$work/$name.out" 2>&1) || status=$?
  echo "$status" >"$work/$name.status"
}
ORDAVEL_REGISTRY="$work/direct.registry" run direct
ORDAVEL_REGISTRY="$work/nowhere.registry" run served --web-api "$url" --log-folder "$work/logs"
# 2: the sample's exempt records are skipped on purpose.
[ "$(cat "$work/direct.status")" = 2 ] || fail "the direct run ended with $(cat "$work/direct.status")"
[ "$(cat "$work/served.status")" = 2 ] ||
  fail "the run through the Web API ended with $(cat "$work/served.status"): $(cat "$work/served.out")"
grep -q "every record is saved on its own (records per commit 1)" "$work/served.out" ||
  fail "the run through the Web API does not say that it commits each record alone"

# masked FOLDER COPY: logs with stamps masked, change files with their start and their digests
# masked, as each chain is keyed with its own key and starts from the run's start.
masked() {
  mkdir "$2"
  for log in "$1"/*.log; do
    sed -E 's/^[0-9][^ ]*( [0-9]+:[0-9:]+( [AP]M)?)? /<stamp> /' "$log" \
      >"$2/$(basename "$log" | cut -d_ -f2-)"
  done
  for changes in "$1"/*_changes.csv; do
    sed -E -e 's/^Started,.*/Started,<stamp>/' -e 's/,[0-9a-f]{32}(\r?)$/,<digest>\1/' "$changes" \
      >"$2/$(basename "$changes" | cut -d_ -f3-)"
  done
}
masked "$work/direct/SharedData/Company/SAMLTD/Ordavel" "$work/direct.files"
masked "$work/logs/SAMLTD" "$work/served.files"
[ "$(ls "$work/direct.files" | wc -l)" -eq 25 ] || fail "not every kind and tab left its files"
diff -r "$work/direct.files" "$work/served.files" || fail "the logs or change files differ"

for view in $("$erp" views | awk '{ print $1 }'); do
  "$erp" query "$work/direct" SAMLTD "$view" >"$work/$view.direct" 2>&1 || true
  "$erp" query "$work/served" SAMLTD "$view" >"$work/$view.served" 2>&1 || true
  cmp -s "$work/$view.direct" "$work/$view.served" || fail "view $view differs"
done
echo "1 passed, 0 failed"
