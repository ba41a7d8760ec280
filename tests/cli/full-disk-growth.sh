#!/usr/bin/env bash
# `set --grow` on a file system with no room left, by each route: growth into
# a filler needs none and succeeds; a chunk at the end and a rewrite fail,
# say the file is unchanged, and leave it byte for byte with nothing beside
# it. A small tmpfs in a private mount namespace is the full disk, so no
# privilege is needed where user namespaces are allowed; elsewhere the test
# is skipped (77).
#   full-disk-growth.sh REELMARKER_CLI
set -u
cli=$1

if [[ -z "${REELMARKER_IN_NAMESPACE:-}" ]]; then
  unshare --user --map-root-user --mount true 2>/dev/null || { echo "no private mount namespace here"; exit 77; }
  REELMARKER_IN_NAMESPACE=1 exec unshare --user --map-root-user --mount "$0" "$@"
fi

disk=$(mktemp -d)
keep=$(mktemp -d)
trap 'umount "$disk" 2>/dev/null; rm -rf "$disk" "$keep"' EXIT
mount -t tmpfs -o size=1m tmpfs "$disk" || { echo "tmpfs cannot be mounted here"; exit 77; }

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

le32() {
  # shellcheck disable=SC2059 # the inner printf makes the escapes the outer one turns into bytes
  printf "$(printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)) $(($1 >> 16 & 255)) $(($1 >> 24 & 255)))"
}

# A mono 16-bit PCM wave of DATA bytes of audio, with a JUNK chunk of FILLER
# bytes before "data" when FILLER is not 0.
wave() {
  local filler=$1 data=$2 riff=$((4 + 24 + 8 + $2))
  ((filler > 0)) && riff=$((riff + 8 + filler))
  printf 'RIFF'; le32 $riff; printf 'WAVEfmt '; le32 16
  printf '\x01\x00\x01\x00'; le32 8000; le32 16000; printf '\x02\x00\x10\x00'
  if ((filler > 0)); then printf 'JUNK'; le32 "$filler"; head -c "$filler" /dev/zero; fi
  printf 'data'; le32 "$data"; head -c "$data" /dev/urandom
}

# Fills what is left of the disk.
fill() { cat /dev/zero >"$disk/fill" 2>/dev/null; sync; }

wave 3000 200000 >"$disk/filler.wav"
wave 0 200000 >"$disk/plain.wav"
fill
cp "$disk/plain.wav" "$keep/plain.wav"

# Into the filler: the file keeps its length, so a full disk does not matter.
size=$(stat -c %s "$disk/filler.wav")
"$cli" set --grow --title "Full disk" "$disk/filler.wav" >/dev/null || fail "growth into a filler failed on a full disk"
[[ $(stat -c %s "$disk/filler.wav") == "$size" ]] || fail "growth into a filler changed the length"
"$cli" show --json "$disk/filler.wav" | grep -q '"title":"Full disk"' || fail "the title did not read back"

for route in --append --grow; do
  if err=$("$cli" set "$route" --title "Full disk" "$disk/plain.wav" 2>&1 >/dev/null); then
    fail "$route reported success on a full disk"
  fi
  grep -qi "unchanged" <<<"$err" || fail "$route did not say the file is unchanged: $err"
  cmp -s "$disk/plain.wav" "$keep/plain.wav" || fail "$route changed the file on a full disk"
  left=$(ls -A "$disk" | sort | tr '\n' ' ')
  [[ "$left" == "fill filler.wav plain.wav " ]] || fail "$route left files beside it: $left"
done

exit $((failures > 0))
