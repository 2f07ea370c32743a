#!/usr/bin/env bash
# Runs every example job with the real programs on a fresh sample site and checks what each
# leaves behind: its exit status, its conversion logs, the converted records, and that no exempt,
# already converted or other-province record was touched.
#   run-examples.sh ERP_COMMAND ORDAVEL_BATCH EXAMPLES_FOLDER [skeletons]
# With "skeletons" each job is instead the skeleton of its tab (ordavel-batch --skeleton) filled
# in with the example's values, and all of them run in one ordavel-batch: the same checks then
# hold for the skeletons, for several jobs in one run and for their one summary.
set -euo pipefail
erp="$1"
batch="$2"
examples="$3"
mode="${4:-}"
work=$(mktemp -d "${TMPDIR:-/tmp}/ordavel-examples-XXXXXX")
trap 'rm -rf "$work"' EXIT
export ORDAVEL_REGISTRY="$work/registry"
export ORDAVEL_PASSWORD=admin
"$erp" sample "$work/site" >/dev/null

fail() { echo "FAIL: $*"; exit 1; }
query() { "$erp" query "$work/site" SAMLTD "$@"; }

detail_views="AR0011 IC0330 IC0220 IC0490 IC0395 OE0460 PO0290 PO0183 BK0860"
for view in $detail_views; do query "$view" | sort >"$work/$view.before"; done
others='(CODETAXGRP = "QCGSTQST ") OR (CODETAXGRP = "GSTONLY ") OR (TAXSTTS1 = 2)'
query AR0024 "$others" >"$work/customers.before"

# The runs may pass midnight: a log is looked for under the day a job started and the next.
days="$(date +%Y%m%d)"
# job file, exit status the sample data must give (2: exempt records are skipped on purpose)
declare -A expected=(
  [ap-vendors]=2 [ar-harmonisation]=2 [ic-items]=0 [oe-templates]=0 [po-costs]=0 [bank]=2
)
# Puts each key=value of the example (EXAMPLE) on the line of the skeleton (SKELETON) that holds
# the same key of the same section, commented out or not; fails when a key has no such line.
fill_skeleton() {
  awk '
    function key(line) { sub(/^;/, "", line); return toupper(substr(line, 1, index(line, "=") - 1)) }
    FNR == NR {
      if ($0 ~ /^\[/) section = toupper($0)
      else if ($0 ~ /^[A-Za-z0-9]+=/) value[section SUBSEP key($0)] = $0
      next
    }
    /^\[/ { section = toupper($0) }
    /^;?[A-Za-z0-9]+=/ && ((section SUBSEP key($0)) in value) {
      print value[section SUBSEP key($0)]; placed[section SUBSEP key($0)] = 1; next
    }
    { print }
    END { for (k in value) if (!(k in placed)) { print "no line for " k > "/dev/stderr"; exit 1 } }
  ' "$1" "$2"
}

if [ "$mode" = skeletons ]; then
  files=()
  worst=0
  for job in "${!expected[@]}"; do
    tab=$(sed -n 's/^Tab=//p' "$examples/$job.ini")
    "$batch" --skeleton "$tab" >"$work/$job.skeleton"
    fill_skeleton "$examples/$job.ini" "$work/$job.skeleton" >"$work/$job.ini" ||
      fail "the skeleton of $tab has no line for a key of $job"
    files+=("$work/$job.ini")
    [ "${expected[$job]}" -gt "$worst" ] && worst=${expected[$job]}
  done
  status=0
  "$batch" "${files[@]}" --yes >"$work/all.out" 2>&1 || status=$?
  [ "$status" -eq "$worst" ] || fail "the jobs ended with $status, expected $worst: $(cat "$work/all.out")"
  for job in "${!expected[@]}"; do
    word=complete; [ "${expected[$job]}" -eq 2 ] && word=incomplete
    grep -q -x "$work/$job.ini on SAMLTD: $word (${expected[$job]})" "$work/all.out" ||
      fail "the summary does not say $job is $word: $(cat "$work/all.out")"
  done
else
  for job in "${!expected[@]}"; do
    status=0
    "$batch" "$examples/$job.ini" --yes >"$work/$job.out" 2>&1 || status=$?
    [ "$status" -eq "${expected[$job]}" ] ||
      fail "$job ended with $status, expected ${expected[$job]}: $(cat "$work/$job.out")"
  done
fi
days="$days $(date +%Y%m%d)"

logs="$work/site/SharedData/Company/SAMLTD/Ordavel"
# Every one of the 19 kinds wrote its log and converted records of the sample.
for name in AP_Vendors AP_Vendor_Groups AP_Recurring_Payables AR_Customers AR_Customer_Groups \
            AR_Customer_Ship_To_Adresses AR_Recurring_Charges AR_Items IC_Items IC_Categories \
            IC_Item_Pricing IC_Price_List_Codes OE_Template_Codes OE_Miscellaneous_Charges \
            PO_Template_Codes PO_Additional_Costs PO_Vendor_Contract_Costs BK_Banks \
            BK_BankDistributionCodes; do
  log=""
  for day in $days; do [ -s "$logs/${day}_$name.log" ] && log="$logs/${day}_$name.log"; done
  [ -n "$log" ] || fail "no log of $name"
  grep -a -q -E $'\t[1-9][0-9]* .* converted\.' "$log" || fail "$name converted nothing"
  ! grep -a -q "could not be updated" "$log" || fail "$name has failed records"
done

remaining=$(query AR0024 '(CODETAXGRP= "ONGSTPST ") AND (TAXSTTS1 = 1) AND (TAXSTTS2 = 1)' |
  tail -n 1)
[ "$remaining" = "0 records." ] || fail "customers left to convert: $remaining"
query AR0024 "$others" | cmp -s - "$work/customers.before" ||
  fail "exempt or other-province customers changed"

# Detail rows: each taxable ONPST row (class 1) gave way to one HST row of class 1; every other
# row, exempt ONPST rows (class 2), GST and QST rows among them, is as it was.
for view in $detail_views; do
  query "$view" | sort >"$work/$view.after"
  comm -23 "$work/$view.before" "$work/$view.after" >"$work/$view.removed"
  comm -13 "$work/$view.before" "$work/$view.after" >"$work/$view.added"
  class_of() { awk -v auth="$1" '{ for (i = 1; i < NF; i++) if ($i == auth) print $(i + 1) }' "$2"; }
  removed=$(wc -l <"$work/$view.removed")
  [ "$removed" -gt 0 ] || fail "$view: nothing converted"
  [ "$(class_of ONPST "$work/$view.removed" | grep -c -x 1)" -eq "$removed" ] ||
    fail "$view: rows other than taxable ONPST rows were removed: $(head -3 "$work/$view.removed")"
  [ "$(class_of HST "$work/$view.added" | grep -c -x 1)" -eq "$removed" ] ||
    fail "$view: the added rows are not one HST row of class 1 each: $(head -3 "$work/$view.added")"
  [ "$(wc -l <"$work/$view.added")" -eq "$removed" ] || fail "$view: rows added that are not HST"
done

bad="$work/bad.ini"
printf '[Run]\nCompany=SAMLTD\nUser=ADMIN\n[chkNothing]\n' >"$bad"
status=0
"$batch" "$bad" --yes >"$work/bad.out" 2>&1 || status=$?
[ "$status" -eq 1 ] || fail "a bad job file ended with $status"
grep -q "bad.ini:4: Unknown section \[chkNothing\]." "$work/bad.out" || fail "no line in the message"
echo "6 passed, 0 failed"
