#!/usr/bin/env bash
# Runs ordavel-batch with option values it must refuse and checks that each call ends at once
# with status 3 and a message naming the option, instead of falling back to another source of
# the password, hanging on a pipe or taking the next word as the value.
#   options.sh ORDAVEL_BATCH
set -euo pipefail
batch="$1"
work=$(mktemp -d "${TMPDIR:-/tmp}/ordavel-options-XXXXXX")
trap 'rm -rf "$work"' EXIT
export ORDAVEL_REGISTRY="$work/registry"
unset ORDAVEL_PASSWORD
job="$work/job.ini"
printf '[Run]\nCompany=SAMLTD\nUser=ADMIN\nTab=AR\n' >"$job"
mkfifo -m 600 "$work/fifo"
: >"$work/empty"
chmod 600 "$work/empty"
total=0
failures=0

# NAME, the message expected, then the arguments.
refused() {
  local name="$1" expected="$2" status=0
  shift 2
  total=$((total + 1))
  timeout 20 "$batch" "$@" </dev/null >"$work/out" 2>&1 || status=$?
  if [ "$status" -ne 3 ] || ! grep -qF -- "$expected" "$work/out"; then
    echo "FAIL $name: status $status: $(cat "$work/out")"
    failures=$((failures + 1))
  fi
}

refused negative-descriptor '--password-fd needs the number of an open file descriptor, not "-1".' \
  --password-fd -1 "$job"
refused empty-descriptor '--password-fd needs the number of an open file descriptor, not "".' \
  --password-fd '' "$job"
refused descriptor-not-open '--password-fd 9: file descriptor 9 is not open.' \
  --password-fd 9 "$job"
refused empty-line-from-descriptor '--password-fd 7: its first line is empty.' \
  --password-fd 7 "$job" 7<"$work/empty"
refused empty-password-file "--password-file $work/empty: its first line is empty." \
  --password-file "$work/empty" "$job"
refused password-file-that-is-a-pipe "--password-file $work/fifo: it must be a plain file" \
  --password-file "$work/fifo" "$job"
refused password-file-without-name '--password-file needs the name of a file.' \
  --password-file '' "$job"
refused records-per-commit-without-value \
  '--records-per-commit needs a value, but "--records-per-commit=" gives none.' \
  --records-per-commit= "$job"
refused records-per-commit-past-the-most \
  '--records-per-commit must be a whole number of records from 1 to 10000, not "10001".' \
  --records-per-commit 10001 "$job"

printf '[Plan]\nUser=ADMIN\nCompanies=SAMLTD\n[Authority ONPST]\nTo=HST\nClasses=1 -> 1\n' \
  >"$work/job.plan"
refused parallel-past-the-most '--parallel: Value 17 not in range 1 to 16' \
  --plan "$work/job.plan" --parallel 17
refused plan-with-company '--plan runs on the companies its plan names; it takes no --company.' \
  --plan "$work/job.plan" --company SAMWST

echo "$((total - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
