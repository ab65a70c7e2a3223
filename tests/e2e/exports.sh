#!/usr/bin/env bash
# The plug-in files export exactly their entry names.
source "$(dirname "$0")/lib.sh"

dll_exports() {  # the names in a DLL's export table
  "$1" -p "$2" | awk '/\[Ordinal\/Name Pointer\] Table/ {table=1; next} table && /^[ \t]*\[/ {print $NF} table && /^$/ {table=0}'
}

so=$LINUX_BIN/roomplate.so
dll32=$MINGW32_BIN/roomplate.dll
dll64=$MINGW64_BIN/roomplate-x64.dll

check "roomplate.so exports main and VSTPluginMain" \
  test "$(nm -D --defined-only "$so" | awk '$2 ~ /[TtWi]/ {print $3}' | sort | tr '\n' ' ')" = "VSTPluginMain main "
check "roomplate.dll exports exactly main" \
  test "$(dll_exports i686-w64-mingw32-objdump "$dll32" | sort | tr '\n' ' ')" = "main "
check "roomplate-x64.dll exports main and VSTPluginMain" \
  test "$(dll_exports x86_64-w64-mingw32-objdump "$dll64" | sort | tr '\n' ' ')" = "VSTPluginMain main "
vst3=Roomplate.vst3/Contents
check "the Linux VST 3 module exports GetPluginFactory, ModuleEntry and ModuleExit" \
  test "$(nm -D --defined-only "$LINUX_BIN/$vst3/x86_64-linux/Roomplate.so" | awk '$2 ~ /[TtWi]/ {print $3}' | sort | tr '\n' ' ')" = \
  "GetPluginFactory ModuleEntry ModuleExit "
check "both Windows VST 3 modules export exactly GetPluginFactory, InitDll and ExitDll" \
  bash -c "$(declare -f dll_exports); for pair in 'i686 $MINGW32_BIN/$vst3/x86-win' 'x86_64 $MINGW64_BIN/$vst3/x86_64-win'; do
    set -- \$pair
    test \"\$(dll_exports \$1-w64-mingw32-objdump \$2/Roomplate.vst3 | sort | tr '\n' ' ')\" = 'ExitDll GetPluginFactory InitDll ' || exit 1
  done"
check "roomplate.dll needs no runtime DLLs beyond Windows' own" \
  bash -c "! i686-w64-mingw32-objdump -p '$dll32' | grep -i 'DLL Name' | grep -qiE 'libgcc|libstdc|winpthread'"
finish
