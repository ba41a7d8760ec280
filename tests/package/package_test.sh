#!/usr/bin/env bash
# Builds the .deb with CPack into a scratch folder and checks what a user
# would install: the file list, the control fields, the unpacked programs,
# the desktop entry, the metainfo, the manual pages and, where lintian is
# installed, Debian's own checks.
#
#   package_test.sh BUILD_DIR EXPECTED_CONTENTS SAMPLE_WAV VERSION
set -euo pipefail
build=$1 expected=$2 sample=$3 version=$4

if ! command -v dpkg-deb > /dev/null; then
    echo "SKIPPED: dpkg-deb is not installed, so no Debian package can be built here"
    exit 77
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

if ! cpack --config "$build/CPackConfig.cmake" -B "$scratch" > "$scratch/cpack.log" 2>&1; then
    cat "$scratch/cpack.log" >&2
    fail "cpack could not build the package"
fi
deb="$scratch/reelmarker_${version}_$(dpkg --print-architecture).deb"
[[ -f "$deb" ]] || fail "no $(basename "$deb") in the scratch folder: $(ls "$scratch")"

# Exactly the programs and their data: no tests, benchmarks or fuzzer.
dpkg-deb --contents "$deb" | awk '$1 !~ /^d/ { sub(/^\./, "", $6); print $6 }' | sort > "$scratch/contents"
diff -u <(sort "$expected") "$scratch/contents" || fail "the package's files differ from the expected set"

field() { dpkg-deb --field "$deb" "$1"; }
[[ "$(field Section)" == sound ]] || fail "Section is '$(field Section)'"
[[ "$(field Maintainer)" =~ \<[^@\>]+@[^@\>]+\>$ ]] || fail "Maintainer '$(field Maintainer)' has no e-mail address"
depends=$(field Depends)
for needed in libc6 libqt6widgets6 libgstreamer1.0-0 gstreamer1.0-plugins-base gstreamer1.0-plugins-good \
    libxlsxwriter4 libminizip1 libexpat1; do
    [[ "$depends" == *"$needed"* ]] || fail "Depends lacks $needed: $depends"
done
[[ $(field Description | wc -l) -gt 2 ]] || fail "the description has no body"

root="$scratch/root"
dpkg-deb --extract "$deb" "$root"
cli="$root/usr/bin/reelmarker-cli"
if "$cli" --help 2>&1 | grep -q -- --version; then
    "$cli" --version | grep -qF "$version" || fail "reelmarker-cli --version does not print $version"
else
    echo "NOTE: this reelmarker-cli has no --version; only show is checked"
fi
"$cli" show "$sample" > "$scratch/show.txt" || fail "the packaged reelmarker-cli cannot show the sample"
grep -q "Title" "$scratch/show.txt" || fail "show printed no cart chunk: $(cat "$scratch/show.txt")"

desktop-file-validate "$root/usr/share/applications/reelmarker.desktop" || fail "the desktop entry is not valid"
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml || fail "the metainfo is not valid"
grep -qF "release version=\"$version\"" "$root"/usr/share/metainfo/*.metainfo.xml || fail "the metainfo names no release $version"

for page in "$root"/usr/share/man/man1/*.1.gz; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 > /dev/null)
    [[ -z "$warnings" ]] || fail "$(basename "$page"): $warnings"
done

# Debian's own checks (about 10 s here) run where lintian is installed.
if command -v lintian > /dev/null; then
    lintian --fail-on error "$deb" || fail "lintian reports errors"
else
    echo "NOTE: lintian is not installed; Debian's package checks were not run"
fi
echo "PASS: $(basename "$deb")"
