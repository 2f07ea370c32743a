#!/usr/bin/env bash
# Runs the example jobs twice on two copies of the sample site: directly, and through the Web API
# of `erp webapi` on loopback. Both must end alike and leave the same conversion logs (byte for
# byte once the stamps are masked), the same change files (but for their keyed digests) and the
# same data in every view. Then the change files written through the Web API are undone through
# it, which puts every view back as it was; one tampered with is refused first.
#   examples-through-webapi.sh ERP_COMMAND ORDAVEL_BATCH EXAMPLES_FOLDER
set -euo pipefail
erp=$(realpath "$1")
batch=$(realpath "$2")
examples=$(realpath "$3")
work=$(mktemp -d "${TMPDIR:-/tmp}/ordavel-webapi-examples-XXXXXX")
server=""
trap '[ -n "$server" ] && kill "$server" 2>/dev/null; rm -rf "$work"' EXIT
# The key of change files written through the Web API is the user's own: kept here, not at home.
export ORDAVEL_PASSWORD=admin ORDAVEL_CONFIG_HOME="$work/config"
fail() { echo "FAIL: $*"; exit 1; }

ORDAVEL_REGISTRY="$work/direct.registry" "$erp" sample "$work/direct" >/dev/null
ORDAVEL_REGISTRY="$work/served.registry" "$erp" sample "$work/served" >/dev/null
"$erp" webapi "$work/served" --listen 127.0.0.1:0 >"$work/server.out" 2>&1 &
server=$!
for _ in $(seq 300); do grep -q '/-/' "$work/server.out" && break; sleep 0.1; done
url=$(grep -o 'http[^ ]*/-/' "$work/server.out") || fail "the server did not start: $(cat "$work/server.out")"

views() { # views SITE SUFFIX: every view's data, one file per view
  for view in $("$erp" views | awk '{ print $1 }'); do
    "$erp" query "$work/$1" SAMLTD "$view" >"$work/$view.$2" 2>&1 || true
  done
}
same_views() { # same_views SUFFIX SUFFIX WHEN
  for view in $("$erp" views | awk '{ print $1 }'); do
    cmp -s "$work/$view.$1" "$work/$view.$2" || fail "view $view differs $3"
  done
}
views served before

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
views direct direct
views served served
same_views direct served "after the runs"

undo() { # undo NAME FILE: undoes FILE through the Web API; output and status in NAME.*
  local status=0
  (cd "$work" && "$batch" --web-api "$url" --log-folder "$work/logs" --undo "$2" --yes \
    >"$work/$1.out" 2>&1) || status=$?
  echo "$status" >"$work/$1.status"
}
changes=$(ls -r "$work"/logs/SAMLTD/*_changes.csv)
first=$(echo "$changes" | head -1)
# A value that a converted row would put back, edited by hand.
sed -E '0,/,converted,[0-9a-f]{32}\r?$/s/^([^,]*,[^,]*,[^,]*,)(.*,converted,[0-9a-f]{32}\r?)$/\1X\2/' "$first" >"$work/tampered.csv"
cmp -s "$first" "$work/tampered.csv" && fail "nothing to tamper with in $first"
undo tampered "$work/tampered.csv"
[ "$(cat "$work/tampered.status")" = 1 ] || fail "a tampered change file was undone: $(cat "$work/tampered.out")"
grep -q "was changed after it was written" "$work/tampered.out" ||
  fail "the refusal of a tampered change file does not say why: $(cat "$work/tampered.out")"
views served tampered
same_views served tampered "after a refused undo"
for file in $changes; do
  undo undone "$file"
  [ "$(cat "$work/undone.status")" = 0 ] ||
    fail "the undo of $file ended with $(cat "$work/undone.status"): $(cat "$work/undone.out")"
done
views served undone
same_views before undone "after the undo through the Web API"
[ "$(stat -c %a "$work/config/Ordavel/webapi-change-files.key")" = 600 ] ||
  fail "the key of change files may be read by others"

# A plan through the Web API, two companies at once: each company's process converts on the same
# server, and the undo of the plan run puts every bank and distribution code back.
printf '%s\n' '[Plan]' 'Title=Banks' 'User=ADMIN' 'Companies=SAMLTD, SAMWST' 'Modules=BK' \
  '[Group ONGSTPST]' 'To=ONHST' 'Classes=1,1 -> 1; 2,2 -> 2' \
  '[Authority ONPST]' 'To=HST' 'Classes=1 -> 1; 2 -> 2' >"$work/banks.plan"
banks() { # banks SUFFIX: the banks and distribution code taxes of both companies
  for company in SAMLTD SAMWST; do
    for view in BK0001 BK0860; do "$erp" query "$work/served" "$company" "$view"; done
  done >"$work/banks.$1"
}
plan() { # plan NAME ARGS...: ordavel-batch through the Web API; output in NAME.out
  (cd "$work" && "$batch" --web-api "$url" --log-folder "$work/logs" --yes "${@:2}" \
    >"$work/$1.out" 2>&1) || fail "$1 ended with $?: $(cat "$work/$1.out")"
}
banks before
plan banks-plan --plan banks.plan --parallel 2
banks planned
grep -q 'ONGSTPST\|ONPST' "$work/banks.planned" && fail "the plan through the Web API left old taxes"
plan banks-undo --undo "$(grep -o '/[^ ]*_plan_run\.csv' "$work/banks-plan.out")"
banks undone
cmp -s "$work/banks.before" "$work/banks.undone" || fail "the plan run was not undone"
echo "1 passed, 0 failed"
