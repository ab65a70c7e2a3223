#!/usr/bin/env bash
# The Debian package: it builds, lintian finds no error in it, and unpacked into
# a scratch root every format loads from the folder it installs to: lv2ls finds
# the LV2 bundle and lv2apply renders through it, the installed CLI renders through the VST 2, CLAP and VST 3
# files there, and the man page documents the subcommands.
source "$(dirname "$0")/lib.sh"
version=$(cat "$top/build/linux/version.txt")
deb=$top/dist/roomplate_${version}_amd64.deb
root=$scratch/root
usr=$root/usr

build_package() {
  rm -f "$deb"
  (cd "$top/build/linux" && cpack --config CPackConfig.cmake) && [ -f "$deb" ]
}
check "cpack builds dist/roomplate_${version}_amd64.deb" build_package

lintian_has_no_error() {
  lintian --fail-on error "$deb" | tee "$scratch/lintian.txt" || return 1
  ! grep -q '^E: ' "$scratch/lintian.txt"
}
check "lintian reports no error" lintian_has_no_error

depends_from_binaries() {  # dpkg-shlibdeps found what the CLI and the plug-ins link
  local depends
  depends=$(dpkg-deb -f "$deb" Depends) || return 1
  echo "Depends: $depends"
  for package in libc6 libsndfile1 libx11-6 libstdc++6; do
    grep -q "\\b$package\\b" <<<"$depends" || return 1
  done
}
check "Depends lists libc6, libsndfile1, libx11-6 and libstdc++6" depends_from_binaries

layout() {
  dpkg -x "$deb" "$root" || return 1
  local expected=(
    lib/lxvst/roomplate.so lib/clap/roomplate.clap lib/lv2/roomplate.lv2/manifest.ttl
    lib/lv2/roomplate.lv2/roomplate_lv2.so lib/lv2/roomplate.lv2/roomplate_lv2_ui.so
    lib/vst3/Roomplate.vst3/Contents/x86_64-linux/Roomplate.so lib/vst3/Roomplate.vst3/Contents/Resources/moduleinfo.json
    bin/roomplate share/man/man1/roomplate.1.gz share/doc/roomplate/README.md share/doc/roomplate/copyright
    share/doc/roomplate/changelog.gz share/doc/roomplate/LICENSE share/doc/roomplate/VST3-LICENSE.txt
    share/doc/roomplate/CLAP-LICENSE.txt
  )
  for file in "${expected[@]}"; do
    [ -f "$usr/$file" ] || { echo "missing /usr/$file"; return 1; }
  done
  grep -q 'Steinberg' "$usr/share/doc/roomplate/copyright" && grep -q 'Alexandre BIQUE' "$usr/share/doc/roomplate/copyright"
}
check "the package lays out every format under /usr/lib, the CLI, its man page and the docs" layout

lv2ls_finds_bundle() {
  LV2_PATH=$usr/lib/lv2 lv2ls | tee "$scratch/lv2ls.txt" | grep -qx 'urn:roomplate:reverb' || return 1
  LV2_PATH=$usr/lib/lv2 lv2info urn:roomplate:reverb | grep -q "$usr/lib/lv2/roomplate.lv2/roomplate_lv2.so"
}
check "lv2ls finds urn:roomplate:reverb in the installed /usr/lib/lv2" lv2ls_finds_bundle

lv2apply_renders() {  # the installed LV2 plug-in (the specifications from the system) gives the VST 2 samples
  "$LINUX_BIN/roomplate" render --dry-out "$scratch/dry.wav" --tail 0 --program Init -o "$scratch/vst2-init.wav" \
    >/dev/null || return 1
  LV2_PATH=$usr/lib/lv2:/usr/lib/lv2 lv2apply -i "$scratch/dry.wav" -o "$scratch/lv2-init.wav" urn:roomplate:reverb ||
    return 1
  "$LINUX_BIN/wav_compare" "$scratch/vst2-init.wav" "$scratch/lv2-init.wav"
}
check "lv2apply renders through the installed LV2 bundle the samples of roomplate.so" lv2apply_renders

render_installed() {  # render_installed NAME ARGS...: the installed CLI renders the demo
  "$usr/bin/roomplate" render --tail 1 --program Dattorro "${@:2}" -o "$scratch/$1.wav" >/dev/null
}

every_format_renders() {  # the VST 2, CLAP and VST 3 files at their installed places, against the build's VST 2
  "$LINUX_BIN/roomplate" render --tail 1 --program Dattorro -o "$scratch/built.wav" >/dev/null || return 1
  for installed in lxvst/roomplate.so clap/roomplate.clap vst3/Roomplate.vst3; do
    render_installed installed --plugin "$usr/lib/$installed" || return 1
    "$LINUX_BIN/wav_compare" "$scratch/built.wav" "$scratch/installed.wav" || { echo "$installed differs"; return 1; }
  done
}
check "the installed CLI renders through the installed VST 2, CLAP and VST 3 files the build's samples" \
  every_format_renders

default_plugin_is_installed_one() {  # no roomplate.so beside /usr/bin/roomplate: it takes /usr/lib/lxvst's
  render_installed default || return 1
  "$LINUX_BIN/wav_compare" "$scratch/built.wav" "$scratch/default.wav" || return 1
  "$usr/bin/roomplate" info | grep -qx 'unique id: Quaz (0x5175617A)'
}
check "without --plugin the installed CLI loads /usr/lib/lxvst/roomplate.so" default_plugin_is_installed_one

man_page_documents_subcommands() {
  MANWIDTH=100 man -l "$usr/share/man/man1/roomplate.1.gz" 2>/dev/null >"$scratch/man.txt" || return 1
  for heading in 'Options of render:' 'Options of snapshot:' 'Options of info:' 'Options of bench:' 'FILES'; do
    grep -q "$heading" "$scratch/man.txt" || { echo "no '$heading'"; return 1; }
  done
  grep -q -- '--tail' "$scratch/man.txt" && grep -q "roomplate $version" "$scratch/man.txt"
}
check "man roomplate documents every subcommand's options" man_page_documents_subcommands
finish
