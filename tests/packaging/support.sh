# Shared steps of the packaging checks, sourced by each check script.
set -euo pipefail

fail() { echo "FAIL: $*" >&2; exit 1; }
note() { echo "-- $*"; }
# need TOOL PACKAGE: a missing tool fails the check, naming the Debian package that has it.
need() { command -v "$1" >/dev/null || fail "$1 not found: install the Debian package $2"; }
