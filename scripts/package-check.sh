#!/usr/bin/env bash
# Checks a built Debian package: unpacks it into a temporary root (dpkg -x,
# nothing is installed), runs the programs from there, and fails when a file
# the package must carry is missing or when Depends does not name the Debian
# package of every shared library the programs load.
# Usage: scripts/package-check.sh quorvel_<version>_<arch>.deb
set -euo pipefail
deb=${1:?usage: package-check.sh PACKAGE.deb}

fail() {
  echo "package-check: $*" >&2
  exit 1
}

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg -x "$deb" "$unpacked"

files=(
  usr/bin/quorvel
  usr/bin/quorvel-sim
  usr/share/applications/quorvel.desktop
  usr/share/mime/packages/quorvel.xml
  usr/share/icons/hicolor/scalable/apps/quorvel.svg
  usr/share/man/man1/quorvel.1.gz
  usr/share/man/man1/quorvel-sim.1.gz
)
for file in "${files[@]}"; do
  [ -s "$unpacked/$file" ] || fail "missing /$file"
done

# The programs as installed, with the system's libraries.
version=$(dpkg-deb --field "$deb" Version)
said=$("$unpacked/usr/bin/quorvel" --version) || fail "quorvel --version failed"
[ "$said" = "quorvel $version" ] || fail "quorvel --version says '$said', the package is $version"
usage=$("$unpacked/usr/bin/quorvel-sim" --help) || fail "quorvel-sim --help failed"
grep -q '^Usage: quorvel-sim' <<<"$usage" || fail "quorvel-sim --help gives no usage"

# A double-click on a site file opens it: the desktop entry takes the file
# type that the MIME package gives *.ste.
desktop=$unpacked/usr/share/applications/quorvel.desktop
grep -qx 'Exec=quorvel %f' "$desktop" || fail "the desktop entry does not open a file"
grep -qx 'MimeType=application/x-quorvel-site;' "$desktop" || fail "the desktop entry lacks the site file type"
grep -qx 'Categories=Utility;' "$desktop" || fail "the desktop entry is not in Utility"
grep -qx 'Icon=quorvel' "$desktop" || fail "the desktop entry lacks its icon"
grep -q '<mime-type type="application/x-quorvel-site">' "$unpacked/usr/share/mime/packages/quorvel.xml" \
  || fail "the MIME package lacks the site file type"
grep -q '<glob pattern="\*\.ste"/>' "$unpacked/usr/share/mime/packages/quorvel.xml" \
  || fail "the MIME package lacks *.ste"
for page in quorvel quorvel-sim; do
  text=$(gzip -dc "$unpacked/usr/share/man/man1/$page.1.gz") || fail "$page.1.gz is not gzip"
  grep -q '^\.TH ' <<<"$text" || fail "$page.1.gz is no manual page"
done

# Validators that are there only on some machines.
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the desktop entry"
fi
if command -v xmllint >/dev/null; then
  xmllint --noout "$unpacked/usr/share/mime/packages/quorvel.xml" \
    "$unpacked/usr/share/icons/hicolor/scalable/apps/quorvel.svg" || fail "malformed XML"
fi

# Every library a program loads comes from a Debian package that Depends
# names (Qt, libjpeg, the C and C++ runtimes), so apt pulls them all in.
depends=$(dpkg-deb --field "$deb" Depends)
declared=$(tr ',' '\n' <<<"$depends" | awk '{ print $1 }')
declares() {
  grep -qxF "$1" <<<"$declared"
}
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH 2>/dev/null)
needed=$(for program in quorvel quorvel-sim; do
  readelf -d "$unpacked/usr/bin/$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'
done | sort -u)
for library in $needed; do
  owner=$(dpkg -S "$library" 2>/dev/null | awk -v want="/$multiarch/$library" '
    substr($NF, length($NF) - length(want) + 1) == want && !found++ { sub(/[:,].*/, "", $1); print $1 }')
  [ -n "$owner" ] || fail "no Debian package holds $library"
  declares "$owner" || fail "Depends lacks $owner (for $library): $depends"
done
for qt in libqt6core6 libqt6gui6 libqt6widgets6; do
  declares "$qt" || fail "Depends lacks $qt: $depends"
done

echo "package-check: $(basename "$deb") holds ${#files[@]} files; runs from a dpkg -x root; Depends covers $(wc -w <<<"$needed") libraries"
