# Shared by the end-to-end scripts: build locations and a pass/fail counter.
set -u
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
LINUX_BIN=$top/build/linux/bin
MINGW32_BIN=$top/build/mingw32/bin
MINGW64_BIN=$top/build/mingw64/bin
WINE_RUN=$top/tools/wine-run
passed=0
failed=0
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

check() {  # check DESCRIPTION COMMAND...: runs the command, counts and reports it
  local what=$1; shift
  if "$@" >"$scratch/check.log" 2>&1; then
    passed=$((passed + 1)); echo "ok   $what"
  else
    failed=$((failed + 1)); echo "FAIL $what"; sed 's/^/     /' "$scratch/check.log" | tail -n 20
  fi
}

finish() {
  echo "$(basename "$0"): $passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}
