#!/usr/bin/env bash
# The archives a user downloads hold every format, each of which loads from the
# unpacked folder (the Windows ones under Wine; a 32-bit file only by its machine
# type where this machine runs no 32-bit programs), and make install,
# install-user and uninstall put every format where hosts look and take exactly
# those files away again.
source "$(dirname "$0")/lib.sh"
version=$(cat "$top/build/linux/version.txt")
unpacked=$scratch/unpacked

check "tools/dist packs the three archives" "$top/tools/dist"
mkdir -p "$unpacked"
tar -C "$unpacked" -xzf "$top/dist/roomplate-$version-linux-x86_64.tar.gz"
unzip -q -o "$top/dist/roomplate-$version-win64.zip" -d "$unpacked"
unzip -q -o "$top/dist/roomplate-$version-win32.zip" -d "$unpacked"
linux=$unpacked/roomplate-$version-linux-x86_64
win64=$unpacked/roomplate-$version-win64
win32=$unpacked/roomplate-$version-win32

# has_exactly FOLDER FILE...: the archive's folder holds these files and no other
has_exactly() {
  local folder=$1; shift
  diff <(printf '%s\n' "$@" | sort) <(cd "$folder" && find . -type f | sed 's#^\./##' | sort)
}
check "the Linux archive: every format, the CLI, README and the three licences" has_exactly "$linux" \
  roomplate roomplate.so roomplate.clap README.md LICENSE VST3-LICENSE.txt CLAP-LICENSE.txt \
  roomplate.lv2/manifest.ttl roomplate.lv2/roomplate.ttl roomplate.lv2/roomplate_ui.ttl roomplate.lv2/presets.ttl \
  roomplate.lv2/roomplate_lv2.so roomplate.lv2/roomplate_lv2_ui.so Roomplate.vst3/Contents/x86_64-linux/Roomplate.so \
  Roomplate.vst3/Contents/Resources/moduleinfo.json Roomplate.vst3/Contents/Resources/VST3-LICENSE.txt
check "the win64 archive: VST 2, the bundle's 64-bit part, CLAP, the CLI, texts and licences" has_exactly "$win64" \
  roomplate-x64.dll roomplate.clap roomplate.exe README.txt Install.txt LICENSE.txt VST3-LICENSE.txt CLAP-LICENSE.txt \
  Roomplate.vst3/Contents/x86_64-win/Roomplate.vst3 Roomplate.vst3/Contents/Resources/moduleinfo.json \
  Roomplate.vst3/Contents/Resources/VST3-LICENSE.txt
check "the win32 archive: VST 2, the bundle's 32-bit part, the CLI, texts and licences (no CLAP)" has_exactly "$win32" \
  roomplate.dll roomplate.exe README.txt Install.txt LICENSE.txt VST3-LICENSE.txt \
  Roomplate.vst3/Contents/x86-win/Roomplate.vst3 Roomplate.vst3/Contents/Resources/moduleinfo.json \
  Roomplate.vst3/Contents/Resources/VST3-LICENSE.txt

windows_texts() {  # CRLF throughout, and Install.txt names the folders
  for folder in "$win64" "$win32"; do
    for text in README.txt Install.txt LICENSE.txt VST3-LICENSE.txt; do
      [ "$(grep -c $'\r$' "$folder/$text")" -eq "$(wc -l <"$folder/$text")" ] || { echo "$text: not CRLF"; return 1; }
    done
  done
  grep -qF 'C:\Program Files\Common Files\VST3' "$win64/Install.txt" &&
    grep -qF 'C:\Program Files\Common Files\CLAP' "$win64/Install.txt" && grep -q 'roomplate-x64.dll' "$win64/Install.txt" &&
    grep -qF 'C:\Program Files (x86)\Common Files\VST3' "$win32/Install.txt" && grep -q 'roomplate.dll' "$win32/Install.txt" &&
    ! grep -q CLAP "$win32/Install.txt"
}
check "the Windows texts are CRLF and Install.txt names the VST 3, CLAP and VST 2 folders" windows_texts

linux_formats_load() {
  "$linux/roomplate" info --plugin "$linux/roomplate.so" | grep -qx 'unique id: Quaz (0x5175617A)' || return 1
  "$linux/roomplate" info --plugin "$linux/roomplate.clap" | grep -qx 'program 1: Dattorro' || return 1
  "$linux/roomplate" render --tail 1 --program Dattorro --plugin "$linux/Roomplate.vst3" -o "$scratch/linux-vst3.wav" \
    >/dev/null || return 1
  mkdir -p "$scratch/lv2" && ln -sfn "$linux/roomplate.lv2" "$scratch/lv2/roomplate.lv2"
  LV2_PATH=$scratch/lv2 lv2info urn:roomplate:reverb | grep -q "$scratch/lv2/roomplate.lv2/roomplate_lv2.so"
}
check "Linux archive: the VST 2, CLAP, VST 3 and LV2 plug-ins load from it" linux_formats_load

wine_formats_load() {  # the win64 archive's plug-ins under Wine
  local info
  info=$(cd "$win64" && "$WINE_RUN" roomplate.exe info | tr -d '\r') || return 1  # the DLL beside it
  grep -qx 'unique id: Quaz (0x5175617A)' <<<"$info" || return 1
  info=$(cd "$win64" && "$WINE_RUN" roomplate.exe info --plugin roomplate.clap | tr -d '\r') || return 1
  grep -qx 'program 1: Dattorro' <<<"$info" || return 1
  # The bundle renders the Linux bundle's samples, to the bit.
  (cd "$win64" && "$WINE_RUN" roomplate.exe render --tail 1 --program Dattorro --plugin Roomplate.vst3 \
    -o "$(winepath_of "$scratch/win64-vst3.wav")") || return 1
  "$LINUX_BIN/wav_compare" "$scratch/linux-vst3.wav" "$scratch/win64-vst3.wav"
}
check "win64 archive under Wine: the VST 2, CLAP and VST 3 plug-ins load and the VST 3 renders the Linux samples" \
  wine_formats_load

machine_types() {  # what `file` says of each Windows binary: the archive's own architecture
  for binary in roomplate-x64.dll roomplate.clap roomplate.exe Roomplate.vst3/Contents/x86_64-win/Roomplate.vst3; do
    file -b "$win64/$binary" | grep -q '^PE32+ .*x86-64' || { echo "$binary: $(file -b "$win64/$binary")"; return 1; }
  done
  for binary in roomplate.dll roomplate.exe Roomplate.vst3/Contents/x86-win/Roomplate.vst3; do
    file -b "$win32/$binary" | grep -q '^PE32 .*Intel 80386' || { echo "$binary: $(file -b "$win32/$binary")"; return 1; }
  done
}
check "every Windows binary is built for its archive's machine (PE32+ x86-64, PE32 i386)" machine_types
if "$WINE_RUN" --runs-32bit; then
  win32_loads() {
    (cd "$win32" && "$WINE_RUN" roomplate.exe info) | tr -d '\r' | grep -qx 'unique id: Quaz (0x5175617A)' || return 1
    (cd "$win32" && "$WINE_RUN" roomplate.exe render --tail 1 --program Dattorro --plugin Roomplate.vst3 \
      -o "$(winepath_of "$scratch/win32-vst3.wav")") || return 1
    "$LINUX_BIN/wav_compare" "$scratch/linux-vst3.wav" "$scratch/win32-vst3.wav"
  }
  check "win32 archive under Wine: the VST 2 and VST 3 plug-ins load" win32_loads
else
  echo "note: the win32 archive's plug-ins are checked by machine type only: this machine runs no 32-bit programs"
fi

# make install into a scratch DESTDIR prints
# each format's place, lays them out, and tools/uninstall leaves only what was
# there before (a foreign plug-in in the same folders).
install_and_uninstall() {
  local stage=$scratch/stage manifest=$top/build/linux/install_manifest.txt
  # A developer's own make install keeps its list for make uninstall.
  [ -f "$manifest" ] && mv "$manifest" "$scratch/developers_manifest.txt"
  mkdir -p "$stage/usr/lib/lv2/other.lv2" && touch "$stage/usr/lib/lv2/other.lv2/manifest.ttl"
  DESTDIR=$stage cmake --install "$top/build/linux" --prefix /usr >"$scratch/install.txt" || return 1
  for place in "VST 2   $stage/usr/lib/lxvst/roomplate.so" "LV2     $stage/usr/lib/lv2/roomplate.lv2" \
    "VST 3   $stage/usr/lib/vst3/Roomplate.vst3" "CLAP    $stage/usr/lib/clap/roomplate.clap" \
    "CLI     $stage/usr/bin/roomplate"; do
    grep -qF "$place" "$scratch/install.txt" || { echo "not printed: $place"; return 1; }
  done
  [ -f "$stage/usr/lib/lxvst/roomplate.so" ] && [ -x "$stage/usr/bin/roomplate" ] &&
    [ -f "$stage/usr/lib/lv2/roomplate.lv2/roomplate_lv2.so" ] && [ -f "$stage/usr/lib/clap/roomplate.clap" ] &&
    [ -f "$stage/usr/lib/vst3/Roomplate.vst3/Contents/x86_64-linux/Roomplate.so" ] &&
    [ -f "$stage/usr/share/man/man1/roomplate.1.gz" ] || return 1
  "$top/tools/uninstall" "$stage" "$manifest" >/dev/null || return 1
  [ ! -e "$manifest" ] || return 1
  local left
  left=$(cd "$stage" && find . -type f -o -type l | sort)
  [ "$left" = ./usr/lib/lv2/other.lv2/manifest.ttl ] || { echo "left after uninstall: $left"; return 1; }
  ! find "$stage" -name 'roomplate*' -o -name 'Roomplate*' | grep -q .
}
check "make install prints where each format went and uninstall removes exactly its files" install_and_uninstall
if [ -f "$scratch/developers_manifest.txt" ]; then mv "$scratch/developers_manifest.txt" "$top/build/linux/install_manifest.txt"; fi

install_user_and_uninstall() {
  local home=$scratch/home manifest=$scratch/user_manifest.txt
  mkdir -p "$home/.lv2/other.lv2" "$home/.vst3/Roomplate.vst3/Contents/stale" && touch "$home/.lv2/other.lv2/manifest.ttl"
  touch "$home/.vst3/Roomplate.vst3/Contents/stale/old.so"  # an older install's leftover inside our bundle
  HOME=$home "$top/tools/install-user" "$LINUX_BIN" "$manifest" >"$scratch/install.txt" || return 1
  cat "$scratch/install.txt"
  grep -qF "$home/.lxvst/roomplate.so" "$scratch/install.txt" && grep -qF "$home/.lv2/roomplate.lv2" "$scratch/install.txt" &&
    grep -qF "$home/.vst3/Roomplate.vst3" "$scratch/install.txt" && grep -qF "$home/.clap/roomplate.clap" "$scratch/install.txt" ||
    return 1
  [ ! -e "$home/.vst3/Roomplate.vst3/Contents/stale" ] || { echo "the old bundle's file stayed"; return 1; }
  HOME=$home "$LINUX_BIN/roomplate" info --plugin "$home/.clap/roomplate.clap" | grep -qx 'program 0: Init' || return 1
  "$top/tools/uninstall" "" "$manifest" >/dev/null || return 1
  local left
  left=$(cd "$home" && find . -type f | sort)
  [ "$left" = ./.lv2/other.lv2/manifest.ttl ] || { echo "left after uninstall: $left"; return 1; }
  [ -d "$home/.lxvst" ] && [ -d "$home/.clap" ] && [ ! -e "$home/.lv2/roomplate.lv2" ] && [ ! -e "$home/.vst3/Roomplate.vst3" ]
}
check "install-user prints each format's folder under ~ and uninstall removes exactly its files" install_user_and_uninstall
finish
