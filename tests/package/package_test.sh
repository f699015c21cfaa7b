#!/usr/bin/env bash
# The Debian package as a user gets it: built with cpack from the build
# folder, unpacked into a temporary root with dpkg -x. It holds the programs,
# the desktop entry (Chinese and English name) and the icon, names the
# packages the programs need, and its engine factors in any folder.
#   tests/package/package_test.sh BUILD_FOLDER
set -euo pipefail
build=$(cd "$1" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "package test: $*" >&2; exit 1; }

(cd "$tmp" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/out" >"$tmp/cpack.log" 2>&1) ||
  { cat "$tmp/cpack.log" >&2; fail "cpack failed"; }
deb=$(ls "$tmp"/out/pfac_*.deb)
dpkg -x "$deb" "$tmp/root"
root=$tmp/root

for program in usr/bin/pfac usr/bin/pfac-engine usr/bin/pfac-exact; do
  [ -x "$root/$program" ] || fail "no $program"
done
desktop=$root/usr/share/applications/pfac.desktop
[ -f "$desktop" ] || fail "no desktop entry"
for line in 'Exec=pfac' 'Icon=pfac' 'Type=Application' 'Name=Polynomial Factoring' 'Name\[zh_CN\]=因式分解'; do
  grep -qx "$line" "$desktop" || fail "the desktop entry lacks $line"
done
if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$desktop" || fail "desktop entry not valid"; fi
for size in 16 32 48 64 128 256; do
  [ -s "$root/usr/share/icons/hicolor/${size}x${size}/apps/pfac.png" ] || fail "no icon of ${size} pixels"
done

depends=$(dpkg-deb -f "$deb" Depends)
for package in xterm fonts-wqy-microhei qt6-translations-l10n libqt6widgets6 libqt6printsupport6 libflint; do
  [[ $depends == *"$package"* ]] || fail "Depends lacks $package: $depends"
done

# The engine works in whatever folder it is started in, with its exact
# factoriser beside it (x^4 + 64 splits only with its help).
mkdir "$tmp/anywhere"
printf '"x^4+64"\r\n' >"$tmp/anywhere/DXS.DAT"
(cd "$tmp/anywhere" && "$root/usr/bin/pfac-engine" </dev/null >/dev/null)
grep -q '^=(x^ 2 + 4x + 8)(x^ 2 - 4x + 8)' "$tmp/anywhere/jg.dat" || fail "the packaged engine gave no result"
grep -q '^验证: 结果完整' "$tmp/anywhere/jg.dat" || fail "the packaged engine gave no certificate"
echo "package test passed: $(basename "$deb")"
