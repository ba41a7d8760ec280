#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks the installed desktop
# entry: valid, and offered for WAV files with the file passed on.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
entry="$prefix/share/applications/reelmarker.desktop"
desktop-file-validate "$entry"
grep -qx 'Exec=reelmarker %f' "$entry"
grep -qx 'MimeType=audio/x-wav;audio/vnd.wave;audio/wav;' "$entry"
echo "installed desktop entry is valid"
