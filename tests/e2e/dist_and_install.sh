#!/usr/bin/env bash
# The archives a user downloads hold plug-ins that load, and make install lays
# the files out where hosts look for them.
source "$(dirname "$0")/lib.sh"
version=$(cat "$top/build/linux/version.txt")

check "tools/dist packs the three archives" "$top/tools/dist"
mkdir -p "$scratch/unpacked"

unpack_and_info_linux() {
  tar -C "$scratch/unpacked" -xzf "$top/dist/roomplate-$version-linux-x86_64.tar.gz" || return 1
  local folder=$scratch/unpacked/roomplate-$version-linux-x86_64
  [ -f "$folder/README.md" ] && [ -f "$folder/LICENSE" ] || return 1
  "$folder/roomplate" info --plugin "$folder/roomplate.so" | grep -qx 'unique id: Quaz (0x5175617A)' || return 1
  "$folder/roomplate" info --plugin "$folder/roomplate.clap" | grep -qx 'program 1: Dattorro' || return 1
  [ -f "$folder/roomplate.lv2/manifest.ttl" ] && [ -f "$folder/roomplate.lv2/roomplate_lv2.so" ] &&
    [ -f "$folder/roomplate.lv2/roomplate_lv2_ui.so" ]
}

unpack_and_info_windows() {  # unpack_and_info_windows ARCHIVE DLL
  unzip -q -o "$top/dist/roomplate-$version-$1.zip" -d "$scratch/unpacked" || return 1
  local folder=$scratch/unpacked/roomplate-$version-$1
  [ -f "$folder/README.md" ] && [ -f "$folder/LICENSE" ] || return 1
  (cd "$folder" && "$WINE_RUN" roomplate.exe info --plugin "$2") | tr -d '\r' | grep -qx 'unique id: Quaz (0x5175617A)'
}

check "the Linux archive's plug-in loads and it holds the LV2 bundle" unpack_and_info_linux
if [ "$WINDOWS_BIN" = "$MINGW32_BIN" ]; then
  check "the win32 archive's roomplate.dll loads under Wine" unpack_and_info_windows win32 roomplate.dll
  check "the win64 archive holds roomplate-x64.dll" \
    bash -c "unzip -l '$top/dist/roomplate-$version-win64.zip' | grep -q 'roomplate-$version-win64/roomplate-x64.dll'"
else
  check "the win64 archive's roomplate-x64.dll loads under Wine" unpack_and_info_windows win64 roomplate-x64.dll
  check "the win32 archive holds roomplate.dll" \
    bash -c "unzip -l '$top/dist/roomplate-$version-win32.zip' | grep -q 'roomplate-$version-win32/roomplate.dll'"
fi

archive_has_vst3() {  # archive_has_vst3 ARCHIVE ARCHITECTURE...: the bundle with a module for each
  local listing
  case $1 in
    *.zip) listing=$(unzip -l "$top/dist/$1") ;;
    *) listing=$(tar -tzf "$top/dist/$1") ;;
  esac
  grep -q 'Roomplate.vst3/Contents/Resources/moduleinfo.json' <<<"$listing" || return 1
  shift
  for architecture in "$@"; do
    grep -qE "Roomplate.vst3/Contents/$architecture/Roomplate.(vst3|so)\$" <<<"$listing" || return 1
  done
}
check "both Windows archives carry Roomplate.vst3 with x86-win and x86_64-win" \
  bash -c "$(declare -f archive_has_vst3); top='$top'; archive_has_vst3 roomplate-$version-win32.zip x86-win x86_64-win &&
    archive_has_vst3 roomplate-$version-win64.zip x86-win x86_64-win"
check "the Linux archive carries Roomplate.vst3 with x86_64-linux" \
  bash -c "$(declare -f archive_has_vst3); top='$top'; archive_has_vst3 roomplate-$version-linux-x86_64.tar.gz x86_64-linux"

install_layout() {
  DESTDIR=$scratch/stage cmake --install "$top/build/linux" --prefix /usr >/dev/null || return 1
  [ -f "$scratch/stage/usr/lib/lxvst/roomplate.so" ] && [ -x "$scratch/stage/usr/bin/roomplate" ] &&
    [ -f "$scratch/stage/usr/lib/lv2/roomplate.lv2/manifest.ttl" ] &&
    [ -f "$scratch/stage/usr/lib/lv2/roomplate.lv2/roomplate_lv2.so" ] &&
    [ -x "$scratch/stage/usr/lib/vst3/Roomplate.vst3/Contents/x86_64-linux/Roomplate.so" ] &&
    [ -f "$scratch/stage/usr/lib/vst3/Roomplate.vst3/Contents/Resources/moduleinfo.json" ] &&
    [ -f "$scratch/stage/usr/lib/clap/roomplate.clap" ]
}
check "make install lays out lib/lxvst, lib/lv2/roomplate.lv2, lib/vst3/Roomplate.vst3, lib/clap and bin/roomplate" install_layout
check "the win64 archive holds roomplate.clap" \
  bash -c "unzip -l '$top/dist/roomplate-$version-win64.zip' | grep -q 'roomplate-$version-win64/roomplate.clap'"
finish
