#!/usr/bin/env bash
# Steinberg's validator passes every test on the Linux bundle, in its normal
# and its extensive run. The validator is built once from the SDK sources in
# the shared folder (about 5 minutes) and kept under build/tools.
source "$(dirname "$0")/lib.sh"
shared=${ROOMPLATE_SHARED_DIR:-$top/../shared}
validator_dir=$top/build/tools/vst3-validator
validator=$validator_dir/bin/Release/validator
bundle=$LINUX_BIN/Roomplate.vst3

build_validator() {
  [ -x "$validator" ] || "$shared/third_party/vst3sdk/build-validator" "$validator_dir"
}

validate() {  # validate NAME [OPTION]: runs the validator, keeps its summary line in $scratch/NAME.summary
  local name=$1; shift
  "$validator" "$@" "$bundle" >"$scratch/$name.log" 2>&1
  local status=$?
  grep -E '^Result: [0-9]+ tests passed, [0-9]+ tests failed' "$scratch/$name.log" | tail -n 1 >"$scratch/$name.summary"
  grep -E 'ERROR|\[Failed\]' "$scratch/$name.log" | head -n 20
  [ "$status" -eq 0 ] && grep -qE ' [1-9][0-9]* tests passed, 0 tests failed' "$scratch/$name.summary"
}

check "the validator is built (cached in build/tools/vst3-validator)" build_validator
check "validator: every test passes on Roomplate.vst3" validate normal
check "validator -e (extensive): every test passes on Roomplate.vst3" validate extensive -e
for run in normal extensive; do echo "     $run: $(cat "$scratch/$run.summary" 2>/dev/null)"; done
finish
