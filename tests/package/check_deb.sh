#!/usr/bin/env bash
# Makes the Debian package from a finished build in a scratch folder and
# checks it as a user's system would see it: the files it holds (exactly
# those `cmake --install` places), its control fields, and the desktop
# entry, software-centre metadata and manual pages through their validators.
#   check_deb.sh BUILD_DIR VERSION GUIDE_FROM_BIN
set -uo pipefail
build=$(cd "$1" && pwd) version=$2 guide_from_bin=$3
scratch=$build/package-test
rm -rf "$scratch" && mkdir -p "$scratch" || exit 1
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$scratch" > "$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log"; echo "FAIL: cpack"; exit 1; }
deb=("$scratch"/quintrel_*.deb)
[ "${deb[*]}" = "$scratch/quintrel_${version}_$(dpkg --print-architecture).deb" ] ||
  fail "package file: ${deb[*]}"

# Every file the user gets, and nothing else.
expected=$(printf '%s\n' \
  usr/games/{quintrel,quintrel-match,pbrain-quintrel,pbrain-referee} \
  usr/share/man/man6/{quintrel,quintrel-match,pbrain-quintrel,pbrain-referee}.6.gz \
  usr/share/quintrel/readme.txt usr/share/doc/quintrel/{copyright,changelog.gz} \
  usr/share/applications/quintrel.desktop usr/share/metainfo/com.zekta.quintrel.metainfo.xml \
  usr/share/icons/hicolor/{scalable/apps/quintrel.svg,48x48/apps/quintrel.png,256x256/apps/quintrel.png} \
  usr/share/mime/packages/quintrel.xml | sort)
files=$(dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | sed 's|^\./||' | sort)
[ "$files" = "$expected" ] || fail "package files differ from the expected list:
$(diff <(echo "$expected") <(echo "$files"))"
DESTDIR="$scratch/installed" cmake --install "$build" --prefix /usr > /dev/null || fail "cmake --install"
installed=$(cd "$scratch/installed" && find . -type f | sed 's|^\./||' | sort)
[ "$files" = "$installed" ] || fail "package and cmake --install differ:
$(diff <(echo "$installed") <(echo "$files"))"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)/$(field Version)/$(field Section)" = "quintrel/$version/games" ] ||
  fail "control: $(field Package)/$(field Version)/$(field Section)"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "architecture $(field Architecture)"
for dep in libqt6widgets6 libqt6core6 libstdc++6 qt6-qpa-plugins; do
  [[ "$(field Depends)" == *"$dep"* ]] || fail "Depends lacks $dep: $(field Depends)"
done

root=$scratch/root
dpkg-deb -x "$deb" "$root" || fail "extract"
desktop=$root/usr/share/applications/quintrel.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml > "$scratch/appstream.log" 2>&1 ||
  { cat "$scratch/appstream.log"; fail "appstreamcli validate"; }
# The game looks for its guide from its own folder, wherever the menu starts it.
[ -f "$root/usr/games/$guide_from_bin/readme.txt" ] ||
  fail "no readme.txt in usr/games/$guide_from_bin, where the game looks for it"
! grep -q '^Path=' "$desktop" || fail "the desktop entry sets a working folder"
for page in "$root"/usr/share/man/man6/*.6.gz; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l -Tutf8 "$page" 2>&1 > /dev/null)
  [ -z "$warnings" ] || fail "${page##*/}: $warnings"
done

# Lintian's errors are Debian policy broken; its warnings are judged by hand.
lintian --fail-on error "$deb" > "$scratch/lintian.log" 2>&1 || { cat "$scratch/lintian.log"; fail lintian; }

[ "$failures" -eq 0 ] && echo "package ok: ${deb[*]}"
exit $((failures > 0))
