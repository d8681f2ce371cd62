#!/usr/bin/env bash
# The Debian package holds exactly the files an install under /usr should have (the program, its
# charts' plugin, its link, help file, every sample, desktop entry, icon, MIME type, metadata,
# manual page and the Debian documents), the link points at the program, the package depends on
# Qt Charts, and the desktop entry and the AppStream metadata pass their validators. Packed from a build, a second run of cpack gives the same bytes.
# Usage: deb_contents.sh SOURCE_DIR --build BUILD_DIR   (packs the built program itself)
#        deb_contents.sh SOURCE_DIR --deb FILE          (checks a package made already)
# Exits 77 (skipped) when a packaging or validating tool is missing.
set -euo pipefail
source_dir=$1
skip() {
    echo "SKIP: $1 is not installed (scripts/install-deps.sh installs it)"
    exit 77
}
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
for tool in dpkg-deb desktop-file-validate appstreamcli; do
    command -v "$tool" >/dev/null || skip "$tool"
done

work=$(mktemp -d /tmp/zav-deb.XXXXXX)
trap 'rm -rf "$work"' EXIT
case $2 in
--build)
    for tool in cpack dpkg-shlibdeps file; do command -v "$tool" >/dev/null || skip "$tool"; done
    cpack -G DEB --config "$3/CPackConfig.cmake" -B "$work/pack" >"$work/cpack.log" 2>&1 ||
        fail "cpack failed: $(cat "$work/cpack.log")"
    deb=$(echo "$work"/pack/zavmap_*_amd64.deb)
    # Reproducible, as Debian asks: nothing in the package depends on when it was packed.
    cpack -G DEB --config "$3/CPackConfig.cmake" -B "$work/again" >"$work/cpack.log" 2>&1 ||
        fail "cpack failed the second time: $(cat "$work/cpack.log")"
    cmp "$deb" "$work/again/$(basename "$deb")" || fail "two runs of cpack gave different packages"
    ;;
--deb) deb=$3 ;;
*) fail "usage: $0 SOURCE_DIR --build BUILD_DIR | --deb FILE" ;;
esac
[ -f "$deb" ] || fail "no package was made ($deb)"

expected() {
    printf '%s\n' /usr/bin/zavmap /usr/lib/zavmap/zavmap /usr/lib/zavmap/plugins/libzavprogress.so \
        /usr/share/applications/zavmap.desktop \
        /usr/share/doc/zavmap/changelog.gz /usr/share/doc/zavmap/copyright \
        /usr/share/icons/hicolor/scalable/apps/zavmap.svg \
        /usr/share/man/man1/zavmap.1.gz \
        /usr/share/metainfo/org.zavmap.zavmap.metainfo.xml \
        /usr/share/mime/packages/zavmap.xml \
        "/usr/share/zavmap/ZAV地図覚えヘルプ.hlp"
    (cd "$source_dir/samples" && find . -type f ! -name README.md ! -name .gitattributes) |
        sed 's|^\./|/usr/share/zavmap/samples/|'
}
# Everything but folders, as "/path" (a link's target is checked below).
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sed 's|^\./|/|' | LC_ALL=C sort >"$work/got"
expected | LC_ALL=C sort >"$work/want"
diff -u "$work/want" "$work/got" >"$work/diff" ||
    fail "the package's files differ from the expected ones (- missing, + unexpected):
$(cat "$work/diff")"

dpkg-deb -x "$deb" "$work/root"
root=$work/root
[ "$(readlink "$root/usr/bin/zavmap")" = ../lib/zavmap/zavmap ] ||
    fail "/usr/bin/zavmap links to '$(readlink "$root/usr/bin/zavmap")'"
[ -x "$root/usr/lib/zavmap/zavmap" ] || fail "the program is not executable"
# The plugin is found by dpkg-shlibdeps, which makes the package depend on Qt Charts.
dpkg-deb -f "$deb" Depends | grep -q libqt6charts6 || fail "the package does not depend on Qt Charts"
grep -qx 'Exec=/usr/lib/zavmap/zavmap %f' "$root/usr/share/applications/zavmap.desktop" ||
    fail "the desktop entry does not start the installed program"
desktop-file-validate "$root/usr/share/applications/zavmap.desktop" ||
    fail "desktop-file-validate found faults"
appstreamcli validate-tree --no-net "$root" || fail "appstreamcli found faults"
echo "package files as expected: $(wc -l <"$work/got") files in $(basename "$deb")"
