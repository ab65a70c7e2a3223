#!/usr/bin/env bash
# The CLI answers bad input with one line on stderr and exit code 2.
set -u
roomplate=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0

expect_usage_error() {
  local what=$1; shift
  "$roomplate" "$@" >"$scratch/out" 2>"$scratch/err"
  local code=$?
  local lines
  lines=$(wc -l <"$scratch/err")
  if [ "$code" -ne 2 ] || [ "$lines" -ne 1 ]; then
    echo "FAIL $what: exit $code, $lines stderr lines"; cat "$scratch/err"; failures=$((failures + 1))
  else
    echo "ok   $what: $(cat "$scratch/err")"
  fi
}

echo "not a library" >"$scratch/text.so"
expect_usage_error "missing plug-in file" info --plugin "$scratch/missing.so"
expect_usage_error "text file as plug-in" info --plugin "$scratch/text.so"
expect_usage_error "library without entry" info --plugin "$(ls /usr/lib/x86_64-linux-gnu/libz.so.* | head -n 1)"
expect_usage_error "unknown option" info --bogus
expect_usage_error "no subcommand"

if [ -f /usr/lib/vst/MVerb-vst.so ]; then
  "$roomplate" info --plugin /usr/lib/vst/MVerb-vst.so >"$scratch/mverb" 2>&1
  if grep -q '^parameters: 9$' "$scratch/mverb" && grep -q '^inputs: 2$' "$scratch/mverb" && grep -q 'name "Damping"' "$scratch/mverb"; then
    echo "ok   MVerb info"
  else
    echo "FAIL MVerb info"; cat "$scratch/mverb"; failures=$((failures + 1))
  fi
fi
echo "$((5 + 1 - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
