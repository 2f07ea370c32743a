#!/usr/bin/env bash
# Carries out a tax-change plan with the real programs on a fresh site: the preview saves
# nothing, the conversion moves every Ontario record (taxable and exempt) and no other, in all 19
# views of both companies, the undo of the plan run puts every tax field of every view back byte
# for byte, and the same plan converted two companies at a time leaves the same records, logs and
# change rows.
#   plan-example.sh ERP_COMMAND ORDAVEL_BATCH PLAN
#       examples/ontario-2010.plan on the sample site's SAMLTD and SAMWST
#   plan-example.sh ERP_COMMAND ORDAVEL_BATCH PLAN --generated CUSTOMERS ITEMS
#       the plan's groups and authorities on companies GENA and GENB generated with taxable,
#       exempt, converted and other-province records interleaved in key order: CUSTOMERS
#       customers, ITEMS items and a tenth of ITEMS (at most 500) of every other kind
set -euo pipefail
erp="$1"
batch="$2"
plan="$3"
mode="${4:-}"
work=$(mktemp -d "${TMPDIR:-/tmp}/ordavel-plan-XXXXXX")
trap '[ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT
export ORDAVEL_REGISTRY="$work/registry"
export ORDAVEL_PASSWORD=admin
companies="SAMLTD SAMWST"
change_files=9
if [ "$mode" = --generated ]; then
  companies="GENA GENB"
  change_files=12
  # A tenth of the items of every other kind, at most 500: some kinds' keys run out at 594.
  others=$(( $6 / 10 > 500 ? 500 : $6 / 10 > 10 ? $6 / 10 : 10 ))
  counts="--customers $5 --items $6"
  for kind in vendors vendor-groups recurring-payables customer-groups ship-to recurring-charges \
    ar-items categories item-pricing price-lists oe-templates misc-charges po-templates \
    additional-costs contract-costs banks distribution-codes; do
    counts="$counts --$kind $others"
  done
  sed 's/^Companies=.*/Companies=GENA, GENB/' "$plan" >"$work/generated.plan"
  plan="$work/generated.plan"
fi
# A site with the plan's companies, in folder $1 with the registry store $2.
make_site() {
  ORDAVEL_REGISTRY="$2" "$erp" sample "$1" >/dev/null
  if [ "$mode" = --generated ]; then
    for company in $companies; do
      # shellcheck disable=SC2086
      "$erp" generate "$1" "$company" --interleaved $counts >/dev/null
      "$erp" user grant "$1/SharedData" ADMIN --company "$company"
    done
  fi
}
make_site "$work/site" "$work/registry"

fail() { echo "FAIL: $*"; exit 1; }
group_views="AP0015 AP0016 AP0064 AR0024 AR0025 AR0023 AR0046 OE0540 PO0605 BK0001"
row_views="AR0011 IC0330 IC0220 IC0490 IC0395 OE0460 PO0290 PO0183 BK0860"

# Every view's key and tax fields of both companies, one file per company and view.
dump() {
  mkdir -p "$work/$1"
  for company in $companies; do
    for view in $group_views $row_views; do
      "$erp" query "$work/site" "$company" "$view" >"$work/$1/$company.$view"
    done
  done
}
normal() { awk '{ $1 = $1; print }' "$1" | sort; }

dump before
company_files() { find "$work/site/SharedData/Company" -type f ! -name '*-wal' ! -name '*-shm' | sort; }
company_files >"$work/files.before"
md5sum "$work"/site/SharedData/Company/*/company.db >"$work/db.before"

status=0
"$batch" --plan "$plan" --preview >"$work/preview.out" 2>&1 || status=$?
[ "$status" = 0 ] || { cat "$work/preview.out"; fail "the preview ended with $status"; }
[ "$mode" = --generated ] || grep -q "^Total .* 5040 .* 612 " "$work/preview.out" || fail "the preview's table: $(tail -3 "$work/preview.out")"
md5sum -c --quiet "$work/db.before" || fail "the preview changed a company database"
company_files | diff "$work/files.before" - | grep '^>' | grep -v '_preview_changes\.csv$' &&
  fail "the preview wrote more than change files"

status=0
"$batch" --plan "$plan" --yes >"$work/run.out" 2>&1 || status=$?
[ "$status" = 0 ] || { cat "$work/run.out"; fail "the conversion ended with $status"; }
dump after
# What a run leaves to compare with another: its logs without their stamps, its change rows
# without their digests.
leftovers() {
  mkdir -p "$2"
  for company in $companies; do
    folder="$1/SharedData/Company/$company/Ordavel"
    for log in "$folder"/*.log; do
      sed -E 's#^[0-9/]+ [0-9:]+ ##' "$log" >"$2/$company.$(basename "$log" | cut -d_ -f2-)"
    done
    for changes in "$folder"/*_conversion_changes.csv; do
      sed '1,/^Kind,Record key/d' "$changes" | cut -d, -f1-6 >"$2/$company.$(basename "$changes" | cut -d_ -f3)"
    done
  done
}
leftovers "$work/site" "$work/serial"
[ "$(ls "$work/serial" | wc -l)" -ge 30 ] || fail "the conversion left too few logs and change files"
for company in $companies; do
  for view in $group_views; do
    # ONGSTPST 1,1 becomes ONHST 1 and 2,2 becomes ONHST 2; every other record stays.
    awk '{ for (i = 1; i <= NF; i++) if ($i == "ONGSTPST") { $i = "ONHST"
             if ($(i + 2) ~ /^[0-9]+$/) $(i + 2) = "0" } print }' "$work/before/$company.$view" |
      normal /dev/stdin >"$work/expected"
    normal "$work/after/$company.$view" | diff -q "$work/expected" - >/dev/null ||
      fail "$company $view is not as the plan says: $(normal "$work/after/$company.$view" | diff "$work/expected" - | head -5)"
  done
  for view in $row_views; do
    # An ONPST row becomes an HST row with the same class and tax included; nothing else moves.
    sed 's/ONPST/HST/' "$work/before/$company.$view" | normal /dev/stdin >"$work/expected"
    normal "$work/after/$company.$view" | diff -q "$work/expected" - >/dev/null ||
      fail "$company $view is not as the plan says: $(normal "$work/after/$company.$view" | diff "$work/expected" - | head -5)"
  done
done
grep -q ONGSTPST "$work"/after/*.A* && fail "a record of ONGSTPST is left"

planrun=$(sed -n 's/^Plan-run file: //p' "$work/run.out")
[ -f "$planrun" ] || fail "no plan-run file named: $(tail -3 "$work/run.out")"
case "$(basename "$planrun")" in *plan*) ;; *) fail "the plan-run file's name has no 'plan'" ;; esac
[ "$(grep -c '_conversion_changes\.csv,' "$planrun")" = "$change_files" ] ||
  fail "the plan-run file does not list the $change_files change files"

# A changed change file refuses the whole undo.
first=$(grep -m1 '_conversion_changes\.csv,' "$planrun" | sed 's/,[^,]*$//')
cp -p "$first" "$work/kept.csv"
echo "x" >>"$first"
status=0
"$batch" --undo "$planrun" >"$work/refused.out" 2>&1 || status=$?
[ "$status" = 1 ] || fail "the undo of a changed plan run ended with $status"
grep -q "was changed after the plan ran" "$work/refused.out" || fail "the refusal does not say why"
dump refused
diff -r "$work/after" "$work/refused" >/dev/null || fail "a refused undo changed records"
cp -p "$work/kept.csv" "$first"

status=0
"$batch" --undo "$planrun" >"$work/undo.out" 2>&1 || status=$?
[ "$status" = 0 ] || { cat "$work/undo.out"; fail "the undo ended with $status"; }
dump undone
diff -r "$work/before" "$work/undone" || fail "the undo did not put every tax field back"
# Two companies converted at once leave the same records, logs and change rows as one by one.
make_site "$work/site2" "$work/registry2"
status=0
ORDAVEL_REGISTRY="$work/registry2" "$batch" --plan "$plan" --yes --parallel 2 >"$work/parallel.out" 2>&1 || status=$?
[ "$status" = 0 ] || { cat "$work/parallel.out"; fail "the parallel conversion ended with $status"; }
grep -q "^Plan-run file: $work/site2/.*plan_run.csv$" "$work/parallel.out" || fail "no plan-run file from the parallel run"
leftovers "$work/site2" "$work/parallel"
diff -r "$work/serial" "$work/parallel" || fail "the parallel run left other logs or change rows"
for company in $companies; do
  for view in $group_views $row_views; do
    ORDAVEL_REGISTRY="$work/registry2" "$erp" query "$work/site2" "$company" "$view" |
      cmp -s - "$work/after/$company.$view" || fail "the parallel run left $company $view otherwise"
  done
done
echo "plan on $companies: preview, conversion, undo and parallel run as expected"
