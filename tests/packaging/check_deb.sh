#!/usr/bin/env bash
# Builds the Debian package as the README does (Release, under /usr) into BUILD_DIR and checks
# what a fresh system needs of it: the run-time dependencies, the documentation Debian asks for,
# and lintian's verdict where lintian is installed. Exits 77 (skipped) without cpack or dpkg-deb.
set -euo pipefail
source_dir=$1
build_dir=$2
if ! command -v cpack >/dev/null || ! command -v dpkg-deb >/dev/null; then
    echo "cpack or dpkg-deb is not installed: no package built"
    exit 77
fi
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$source_dir" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX=/usr -DKARDEON_BUILD_TESTS=OFF -DKARDEON_BUILD_BENCH=OFF \
    "${launcher[@]}" >/dev/null
cmake --build "$build_dir" >/dev/null
rm -f "$build_dir"/kardeon_*.deb
(cd "$build_dir" && cpack -G DEB >/dev/null)
deb=$(echo "$build_dir"/kardeon_*.deb)

failed=0
fail() {
    echo "FAIL: $*"
    failed=1
}
# Each alternative group must stand in the field exactly as written.
expect_in_field() {
    local name=$1 value
    value=$(dpkg-deb -f "$deb" "$name")
    shift
    for want in "$@"; do
        grep -qF -- "$want" <<<", $value," || fail "$name lacks \"$want\": $value"
    done
}
expect_in_field Depends ", fonts-ipafont-gothic | fonts-noto-cjk | fonts-vlgothic," \
    ", gstreamer1.0-plugins-good," ", gstreamer1.0-plugins-base," ", qt6-qpa-plugins," \
    ", espeak-ng-data," ", libqt6multimedia6 " ", libespeak-ng1 " \
    ", gstreamer1.0-alsa," ", qt6-translations-l10n," ", espeak-ng,"
expect_in_field Recommends ", xdg-utils,"
expect_in_field Section education
expect_in_field Priority optional

tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
dpkg-deb -x "$deb" "$tree"
for file in usr/bin/kardeon usr/share/doc/kardeon/copyright usr/share/doc/kardeon/changelog.gz \
    usr/share/man/man1/kardeon.1.gz usr/share/kardeon/kardeon.html usr/share/kardeon/kardeon-overview.png usr/share/kardeon/sample.csv \
    usr/share/icons/hicolor/48x48/apps/org.kardeon.Kardeon.png; do
    [ -f "$tree/$file" ] || fail "not in the package: $file"
done
[ -e "$tree/usr/share/man/man1/kardeon.1" ] && fail "the man page is not compressed"
# Compressed as Debian does (gzip -9n): no name and no time stamp, so builds are reproducible.
gzip -9n -c "$source_dir/packaging/kardeon.1" | cmp -s - "$tree/usr/share/man/man1/kardeon.1.gz" ||
    fail "the man page is not the source compressed with gzip -9n"
head -1 "$tree/usr/share/doc/kardeon/copyright" |
    grep -qx "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" ||
    fail "copyright is not in the machine-readable format"
version=$(dpkg-deb -f "$deb" Version)
zcat "$tree/usr/share/doc/kardeon/changelog.gz" | head -1 | grep -q "^kardeon ($version) " ||
    fail "the changelog's first entry is not version $version"

if command -v lintian >/dev/null; then
    lintian --fail-on error,warning "$deb" || fail "lintian reports errors or warnings"
else
    echo "lintian is not installed: not run"
fi
[ "$failed" -eq 0 ] && echo "package checks passed: $deb"
exit "$failed"
