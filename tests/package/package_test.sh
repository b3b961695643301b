#!/usr/bin/env bash
# Builds the Debian package from a build folder with CPack, unpacks it into a temporary root and
# checks what an installation gets: both programs run from there and name this build's version,
# the unpacked pelmora-cli reports on the unpacked samples, every installed file is in place,
# and lintian, desktop-file-validate and appstreamcli find no error. Exits 77 (skipped) only
# when dpkg-deb is absent; any other missing tool is a failure.
#   package_test.sh BUILD_FOLDER SOURCE_FOLDER GUI     GUI: ON when the desktop program was built
set -euo pipefail
command -v dpkg-deb > /dev/null || { echo "dpkg-deb is absent: no package to test"; exit 77; }
build=$(realpath "$1")
source=$(realpath "$2")
gui=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }

cpack --config "$build/CPackConfig.cmake" -B "$work/out" > "$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; exit 1; }
debs=("$work"/out/pelmora_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { cat "$work/cpack.log"; fail "no single .deb"; exit 1; }
deb=${debs[0]}
echo "package: $(basename "$deb")"
root=$work/root
dpkg-deb -x "$deb" "$root"
dpkg-deb -e "$deb" "$work/control"

# Runtime dependencies come from dpkg-shlibdeps; the package has no maintainer scripts.
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for library in libc6 libstdc++6 libssl3 libsqlite3-0 libxlsxwriter; do
    [[ "$depends" == *"$library"* ]] || fail "Depends lacks $library"
done
if [ "$gui" = ON ]; then
    [[ "$depends" == *libqt6widgets6* ]] || fail "Depends lacks libqt6widgets6"
fi
for script in preinst postinst prerm postrm config; do
    [ ! -e "$work/control/$script" ] || fail "the package has a $script script"
done

# The unpacked programs name the version this build names.
expected=$("$build/pelmora-cli" --version)
[[ "$expected" =~ ^Pelmora\ [0-9]+\.[0-9]+\.[0-9]+\ \(revision\ .+\)$ ]] ||
    fail "the build's version reads '$expected'"
programs=(pelmora-cli)
[ "$gui" = ON ] && programs+=(pelmora)
for program in "${programs[@]}"; do
    got=$("$root/usr/bin/$program" --version) || fail "unpacked $program --version failed"
    [ "$got" = "$expected" ] || fail "unpacked $program --version: '$got', not '$expected'"
done

# The unpacked pelmora-cli reports on the unpacked samples, every one of them analysed.
samples=$root/usr/share/pelmora/samples
"$root/usr/bin/pelmora-cli" report "$samples" > "$work/report" || fail "report exited $?"
[ -s "$work/report" ] || fail "the report of the unpacked samples is empty"
"$root/usr/bin/pelmora-cli" types "$samples" | cut -f 2 | sort > "$work/types" ||
    fail "types exited $?"
(cd "$source/samples" && ls -1 -- *.txt | sort) > "$work/shipped"
diff "$work/shipped" "$work/types" || fail "the unpacked samples are not the source's samples"

# Every installed file in its place; the desktop program's with it when it was built.
metainfo=usr/share/metainfo/org.pelmora.Pelmora.metainfo.xml
installed=(usr/share/man/man1/pelmora-cli.1.gz usr/share/doc/pelmora/copyright
    usr/share/doc/pelmora/changelog.gz)
if [ "$gui" = ON ]; then
    installed+=(usr/share/applications/pelmora.desktop "$metainfo" usr/share/man/man1/pelmora.1.gz
        usr/share/icons/hicolor/scalable/apps/pelmora.svg)
    for size in 16 32 48 64 128 256; do
        installed+=("usr/share/icons/hicolor/${size}x${size}/apps/pelmora.png")
    done
fi
for file in "${installed[@]}"; do
    [ -s "$root/$file" ] || fail "$file is not installed"
done
if [ "$gui" = ON ]; then
    # The metainfo's screenshots are the README's.
    for image in $(sed -n 's|.*<image>.*/docs/screenshots/\([^<]*\)</image>.*|\1|p' \
        "$root/$metainfo"); do
        grep -q "(docs/screenshots/$image)" "$source/README.md" ||
            fail "screenshot $image is not one of the README's"
    done
    desktop-file-validate "$root/usr/share/applications/pelmora.desktop" ||
        fail "desktop-file-validate found errors"
    appstreamcli validate --no-net "$root/$metainfo" || fail "appstreamcli validate found errors"
fi
lintian --fail-on error --tag-display-limit 0 "$deb" || fail "lintian found errors"

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo "package checked"
