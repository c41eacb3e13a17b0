#!/usr/bin/env bash
# make run: prints the sample database's CUSTOMER table.
set -euo pipefail
build=${1:-build}
exec "$build/src/tools/vdei-dump" --database DBDEMOS --sql "SELECT * FROM CUSTOMER ORDER BY Company"
