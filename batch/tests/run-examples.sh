#!/usr/bin/env bash
# Runs every example job with the real programs on a fresh sample site and checks what each
# leaves behind: its exit status, its conversion logs and the converted records.
#   run-examples.sh ERP_COMMAND ORDAVEL_BATCH EXAMPLES_FOLDER
set -euo pipefail
erp="$1"
batch="$2"
examples="$3"
work=$(mktemp -d "${TMPDIR:-/tmp}/ordavel-examples-XXXXXX")
trap 'rm -rf "$work"' EXIT
export ORDAVEL_REGISTRY="$work/registry"
export ORDAVEL_PASSWORD=admin
"$erp" sample "$work/site" >/dev/null

fail() { echo "FAIL: $*"; exit 1; }

# job file, exit status the sample data must give (2: some records are skipped on purpose)
declare -A expected=(
  [ap-vendors]=2 [ar-harmonisation]=2 [ic-items]=0 [oe-templates]=0 [po-costs]=0 [bank]=2
)
for job in "${!expected[@]}"; do
  status=0
  "$batch" "$examples/$job.ini" --yes >"$work/$job.out" 2>&1 || status=$?
  [ "$status" -eq "${expected[$job]}" ] ||
    fail "$job ended with $status, expected ${expected[$job]}: $(cat "$work/$job.out")"
done

logs="$work/site/SharedData/COMPANY/SAMLTD/Ordavel"
today=$(date +%Y%m%d)
# Every one of the 19 kinds wrote its log and converted records of the sample.
for name in AP_Vendors AP_Vendor_Groups AP_Recurring_Payables AR_Customers AR_Customer_Groups \
            AR_Customer_Ship_To_Adresses AR_Recurring_Charges AR_Items IC_Items IC_Categories \
            IC_Item_Pricing IC_Price_List_Codes OE_Template_Codes OE_Miscellaneous_Charges \
            PO_Template_Codes PO_Additional_Costs PO_Vendor_Contract_Costs BK_Banks \
            BK_BankDistributionCodes; do
  log="$logs/${today}_$name.log"
  [ -s "$log" ] || fail "no log ${today}_$name.log"
  grep -a -q -E $'\t[1-9][0-9]* .* converted\.' "$log" || fail "$name converted nothing"
  ! grep -a -q "could not be updated" "$log" || fail "$name has failed records"
done
grep -q "Ordavel for Customers completed." "$logs/${today}_AR_Customers.log" ||
  fail "the customers' log has no summary"

remaining=$("$erp" query "$work/site" SAMLTD AR0024 \
  '(CODETAXGRP= "ONGSTPST ") AND (TAXSTTS1 = 1) AND (TAXSTTS2 = 1)' | tail -n 1)
[ "$remaining" = "0 records." ] || fail "customers left to convert: $remaining"
exempt=$("$erp" query "$work/site" SAMLTD AR0024 '(CODETAXGRP= "ONGSTPST ") AND (TAXSTTS1 = 2)' |
  tail -n 1)
[ "$exempt" != "0 records." ] || fail "exempt customers were converted"
converted=$("$erp" query "$work/site" SAMLTD AR0011 '(AUTHORITY= "ONPST ")' | tail -n 1)
[ "$converted" = "0 records." ] || fail "A/R item rows of ONPST left: $converted"

bad="$work/bad.ini"
printf '[Run]\nCompany=SAMLTD\nUser=ADMIN\n[chkNothing]\n' >"$bad"
status=0
"$batch" "$bad" --yes >"$work/bad.out" 2>&1 || status=$?
[ "$status" -eq 1 ] || fail "a bad job file ended with $status"
grep -q "bad.ini:4: Unknown section \[chkNothing\]." "$work/bad.out" || fail "no line in the message"
echo "6 passed, 0 failed"
