#!/usr/bin/env bash
# Qtractor's own plug-in scanner (the program it runs on every file in its
# plug-in paths) reads roomplate.clap and roomplate.so as Qtractor will list
# them: the name, one stereo input and output, no MIDI, the parameters, an
# editor; the CLAP one with its extensions and realtime processing.
source "$(dirname "$0")/lib.sh"
SCAN=/usr/lib/x86_64-linux-gnu/qtractor/qtractor_plugin_scan
if [ ! -x "$SCAN" ]; then
  echo "skipped: qtractor is not installed"
  exit 0
fi

scan() {  # scan TYPE FILE EXPECTED: the scanner's line for FILE, matched against EXPECTED (a regex)
  echo "$1:$2" | QT_QPA_PLATFORM=offscreen timeout 60 "$SCAN" >"$scratch/scan.txt" 2>"$scratch/scan.err" || true
  cat "$scratch/scan.txt"
  grep -Eq "$3" "$scratch/scan.txt"
}

check "Qtractor's scanner lists roomplate.clap: Roomplate, stereo in and out, 58 parameters, editor, extensions" \
  scan CLAP "$LINUX_BIN/roomplate.clap" "^CLAP\|Roomplate\|2:2\|0:0\|58:0\|GUI,EXT,RT\|$LINUX_BIN/roomplate.clap\|0\|"
check "Qtractor's scanner lists roomplate.so: stereo in and out, 58 parameters, editor" \
  scan VST "$LINUX_BIN/roomplate.so" "^VST\|roomplate\|2:2\|0:0\|58:0\|GUI,RT\|$LINUX_BIN/roomplate.so\|0\|"
finish
