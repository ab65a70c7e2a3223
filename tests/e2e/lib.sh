# Shared by the end-to-end scripts: build locations and a pass/fail counter.
set -u
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
LINUX_BIN=$top/build/linux/bin
MINGW32_BIN=$top/build/mingw32/bin
MINGW64_BIN=$top/build/mingw64/bin
WINE_RUN=$top/tools/wine-run
# The Windows build compared under Wine: the 32-bit one, or the 64-bit one on
# a machine whose kernel runs no 32-bit programs.
if "$WINE_RUN" --runs-32bit; then
  WINDOWS_BIN=$MINGW32_BIN WINDOWS_PLUGIN=roomplate.dll
else
  WINDOWS_BIN=$MINGW64_BIN WINDOWS_PLUGIN=roomplate-x64.dll
  echo "note: this machine runs no 32-bit programs; the 64-bit Windows build stands in under Wine"
fi
# A Linux path as Wine's programs name it.
winepath_of() { echo "Z:${1//\//\\}"; }

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
