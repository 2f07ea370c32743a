#!/usr/bin/env bash
# Faults of a conversion through the Web API, with the real programs and `erp webapi` on a
# sample site: a wrong password, a module the user may not use, a kind whose taxes the server
# hides, a busy server, criteria that cannot be sent, a slow server, HTTPS with a private
# certificate authority, and a server stopped in the middle of a run, after which nothing is
# half-written and the rerun completes.
#   webapi-faults.sh ERP_COMMAND ORDAVEL_BATCH EXAMPLES_FOLDER
set -euo pipefail
[ -n "${TRACE:-}" ] && set -x
erp=$(realpath "$1")
batch=$(realpath "$2")
examples=$(realpath "$3")
work=$(mktemp -d "${TMPDIR:-/tmp}/ordavel-webapi-faults-XXXXXX")
server=""
trap '[ -n "$server" ] && kill "$server" 2>/dev/null; rm -rf "$work"' EXIT
# The key of change files written through the Web API is the user's own: kept here, not at home.
export ORDAVEL_REGISTRY="$work/registry" ORDAVEL_PASSWORD=admin ORDAVEL_CONFIG_HOME="$work/config"
site="$work/site"
"$erp" sample "$site" >/dev/null
passed=0
fail() { echo "FAIL: $*"; exit 1; }
pass() { passed=$((passed + 1)); }

start_server() { # start_server OPTIONS...: serves the site; its base address goes to $url
  "$erp" webapi "$site" --listen 127.0.0.1:0 "$@" >"$work/server.out" 2>&1 &
  server=$!
  for _ in $(seq 300); do grep -q '/-/' "$work/server.out" && break; sleep 0.1; done
  url=$(grep -o 'http[^ ]*/-/' "$work/server.out") || fail "no server: $(cat "$work/server.out")"
}
stop_server() { kill "$server"; wait "$server" 2>/dev/null || true; server=""; }
# convert NAME JOB OPTIONS...: runs a job through the server; output and status in NAME.*
convert() {
  local name="$1" job="$2"; shift 2
  local status=0
  "$batch" --web-api "$url" --log-folder "$work/logs" "$@" "$job" --yes >"$work/$name.out" 2>&1 ||
    status=$?
  echo "$status" >"$work/$name.status"
}
expect() { # expect NAME STATUS TEXT: the run ended with STATUS and printed TEXT
  [ "$(cat "$work/$1.status")" = "$2" ] || fail "$1 ended with $(cat "$work/$1.status"): $(cat "$work/$1.out")"
  grep -q -F -- "$3" "$work/$1.out" || fail "$1 does not say \"$3\": $(cat "$work/$1.out")"
}
customers() { "$erp" query "$site" SAMLTD AR0024; }
customers_log() { cat "$work/logs/SAMLTD/"*_AR_Customers.log 2>/dev/null || true; }
customers >"$work/customers.before"

start_server
convert password "$examples/ar-harmonisation.ini" --password-fd 3 3< <(echo wrong)
expect password 3 "Sign-on refused: Invalid user ID or password."
pass

# A key of change files that others may read proves nothing: the sign-on is refused.
key="$ORDAVEL_CONFIG_HOME/Ordavel/webapi-change-files.key"
mkdir -p "$(dirname "$key")" && head -c 32 /dev/urandom >"$key" && chmod 644 "$key"
convert openkey "$examples/ar-harmonisation.ini"
expect openkey 3 "The sign-on cannot sign its change files: The key file $key may be read or written by others"
customers | cmp -s - "$work/customers.before" || fail "a refused key changed customers"
[ "$(stat -c %a "$key")" = 644 ] || fail "the refused key file was changed"
rm "$key"
pass

"$erp" user revoke "$site/SharedData" ADMIN --web-api AR
convert unauthorized "$examples/ar-harmonisation.ini"
expect unauthorized 1 "Warning: Module AR cannot be used: User ADMIN has no Web API authorization for AR."
expect unauthorized 1 "Accounts Receivable is not active for company SAMLTD."
"$erp" user grant "$site/SharedData" ADMIN --web-api AR
pass

criteria="$work/criteria.ini"
sed 's/^\[chkCustomers\]$/&\nCriteria=(IDCUST LIKE "1_00")/' "$examples/ar-harmonisation.ini" >"$criteria"
convert criteria "$criteria"
expect criteria 1 'Additional Criteria for Customers: IDCUST LIKE "1_00" cannot be sent to the Web API'
customers | cmp -s - "$work/customers.before" || fail "refused criteria changed customers"
pass
stop_server

start_server --hide customers
convert hidden "$examples/ar-harmonisation.ini"
# Refused by the checks, before any kind of the job converts.
expect hidden 1 "Customers cannot be converted through this server: ARCustomers lacks TaxGroup, TaxClassCode1"
grep -q "Customer Groups: .* converted" "$work/hidden.out" && fail "a refused job converted"
customers | cmp -s - "$work/customers.before" || fail "a hidden kind was changed"
stop_server
pass

start_server --too-many-requests 100
convert busy "$examples/bank.ini"
expect busy 2 "Banks: 96 to convert, 84 converted, 12 skipped, 0 failed"
expect busy 2 "Distribution Codes: 84 to convert, 84 converted, 0 skipped, 0 failed"
stop_server
pass

start_server --delay 2500
convert slow "$examples/ar-harmonisation.ini" --web-api-timeout 1
expect slow 3 "did not answer within 1 seconds."
stop_server
pass

# HTTPS with a certificate of a private authority: refused until its certificate is trusted.
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=127.0.0.1" \
  -addext "subjectAltName=IP:127.0.0.1" -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null
start_server --certificate "$work/cert.pem" --private-key "$work/key.pem"
check() { # check NAME OPTIONS...: --web-api-check of company SAMLTD
  local name="$1"; shift
  local status=0
  "$batch" --web-api-check "$url" --company SAMLTD "$@" >"$work/$name.out" 2>&1 || status=$?
  echo "$status" >"$work/$name.status"
}
check untrusted
expect untrusted 3 "cannot be trusted"
check trusted --web-api-ca "$work/cert.pem"
expect trusted 0 "Customers (AR)                    ARCustomers               yes"
stop_server
pass

# The server goes away while customers are being converted.
rm -rf "$work/logs"
start_server --delay 10
convert stopped "$examples/ar-harmonisation.ini" &
runner=$!
for _ in $(seq 200); do
  [ "$(customers_log | grep -c 'succeeded\.')" -ge 20 ] && break
  sleep 0.05
done
stop_server
wait "$runner"
expect stopped 2 "Customers (error)"
customers >"$work/customers.stopped"
# Every customer is as it was or wholly converted: ONGSTPST 1 1 became ONHST 1 0, nothing else.
changed=$(diff "$work/customers.before" "$work/customers.stopped" | grep '^>' || true)
[ -n "$changed" ] || fail "nothing was converted before the server stopped"
echo "$changed" | awk '$3 != "ONHST" || $4 != 1 || $5 != 0 { exit 1 }' ||
  fail "a customer was half converted: $changed"
start_server
convert rerun "$examples/ar-harmonisation.ini"
expect rerun 2 "ar-harmonisation.ini on SAMLTD: incomplete (2)"
! grep -q -E "\(error\)| [1-9][0-9]* failed" "$work/rerun.out" || fail "the rerun did not complete: $(cat "$work/rerun.out")"
remaining=$("$erp" query "$site" SAMLTD AR0024 '(CODETAXGRP= "ONGSTPST ") AND (TAXSTTS1 = 1) AND (TAXSTTS2 = 1)' | tail -n 1)
[ "$remaining" = "0 records." ] || fail "customers left to convert after the rerun: $remaining"
pass
echo "$passed passed, 0 failed"
