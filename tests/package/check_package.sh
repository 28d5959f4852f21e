#!/usr/bin/env bash
# Builds the Debian package from a build folder, unpacks it into a scratch root and checks what it
# carries: the programs, desktop entry, icon, AppStream metadata, manual pages, copyright notice
# and the declared dependencies. $CPACK names the cpack to use. Exits 77 (skipped) when cpack or dpkg-deb is missing.
#   tests/package/check_package.sh BUILD_DIR
set -euo pipefail

build=$(cd "${1:?usage: $0 BUILD_DIR}" && pwd)
cpack=${CPACK:-cpack}
for tool in "$cpack" dpkg-deb; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed"
        exit 77
    fi
done

work=$(mktemp -d "${TMPDIR:-/tmp}/quendra-package.XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# A package folder of its own, so that the test never overwrites a package built by hand.
(cd "$work" && "$cpack" -G DEB -B "$work/out" --config "$build/CPackConfig.cmake") >"$work/cpack.log" 2>&1 || {
    cat "$work/cpack.log"; echo "FAIL: cpack"; exit 1; }
shopt -s nullglob
debs=("$work"/out/quendra_*.deb)
[ ${#debs[@]} -eq 1 ] || { cat "$work/cpack.log"; echo "FAIL: expected one quendra_*.deb, got ${#debs[@]}"; exit 1; }
deb=${debs[0]}
echo "package: $(basename "$deb")"
[[ $(basename "$deb") =~ ^quendra_[0-9.]+-1_[a-z0-9]+\.deb$ ]] || fail "unexpected file name $(basename "$deb")"

root="$work/root"
dpkg-deb -x "$deb" "$root"

for file in usr/bin/quendra usr/bin/quendra_engine_standin usr/bin/quendra_node_standin; do
    [ -x "$root/$file" ] || fail "$file missing or not executable"
done
for file in usr/share/applications/quendra.desktop \
            usr/share/icons/hicolor/128x128/apps/quendra.png \
            usr/share/metainfo/org.tamblix.Quendra.metainfo.xml \
            usr/share/doc/quendra/copyright \
            usr/share/man/man1/quendra.1.gz \
            usr/share/man/man1/quendra_engine_standin.1.gz \
            usr/share/man/man1/quendra_node_standin.1.gz; do
    [ -f "$root/$file" ] || fail "$file missing"
done
stray=$(cd "$root" && find . -type f ! -path './usr/bin/*' ! -path './usr/share/*')
[ -z "$stray" ] || fail "files outside /usr/bin and /usr/share: $stray"

# Control fields. Depends comes from dpkg-shlibdeps, so the Qt libraries must be there.
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for library in libqt6widgets6 libqt6network6 libqt6core6 libc6; do
    grep -Eq "(^|, )$library( |,|$)" <<<"$depends" || fail "Depends lacks $library"
done
[ "$(dpkg-deb -f "$deb" Section)" = hamradio ] || fail "Section is not hamradio"
[ "$(dpkg-deb -f "$deb" Maintainer)" = "Quendra developers <quendra@localhost>" ] || fail "Maintainer"
[ -n "$(dpkg-deb -f "$deb" Priority)" ] || fail "no Priority"

# The installed programs run as installed: against the system's Qt, with no display.
version=$(env -u DISPLAY -u WAYLAND_DISPLAY "$root/usr/bin/quendra" --version) || fail "quendra --version failed"
[ "$version" = "Quendra $(dpkg-deb -f "$deb" Version | sed 's/-[^-]*$//')" ] || fail "quendra --version printed '$version'"
env -u DISPLAY -u WAYLAND_DISPLAY "$root/usr/bin/quendra" --help | grep -q 'Tamblix/Quendra.conf' ||
    fail "quendra --help does not name the settings file"
status=0
env -u DISPLAY -u WAYLAND_DISPLAY "$root/usr/bin/quendra" --no-such-option >/dev/null 2>"$work/err" || status=$?
[ "$status" -eq 2 ] && grep -q 'Usage:' "$work/err" || fail "an unknown option gave status $status without usage on stderr"
for standin in quendra_engine_standin quendra_node_standin; do
    [ "$("$root/usr/bin/$standin" --version)" = "$standin ${version#Quendra }" ] ||
        fail "$standin --version"
done

# Every manual page formats without a warning.
for page in "$root"/usr/share/man/man1/*.1.gz; do
    if ! command -v man >/dev/null && ! command -v groff >/dev/null; then
        echo "note: neither man nor groff installed, $(basename "$page") not formatted"
        continue
    elif command -v man >/dev/null; then
        warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null) || fail "man -l $(basename "$page")"
    else
        warnings=$(gzip -dc "$page" | groff -man -Tutf8 -ww -z 2>&1) || fail "groff $(basename "$page")"
    fi
    [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
done

if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$root/usr/share/applications/quendra.desktop" || fail "desktop entry does not validate"
else
    echo "note: desktop-file-validate not installed, desktop entry not validated"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$root/usr/share/metainfo/org.tamblix.Quendra.metainfo.xml" >"$work/as.log" 2>&1 || {
        cat "$work/as.log"; fail "AppStream metadata does not validate"; }
else
    echo "note: appstreamcli not installed, AppStream metadata not validated"
fi

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo "package checks passed"
