#!/usr/bin/env bash
# Checks the built .deb: its control fields, the dependencies a fresh machine needs (computed
# libraries and the fonts named by hand), the installed files, and that the programs run from
# an unpacked root with nothing but the system's libraries.
# Usage: check-deb.sh DEB_DIR VERSION DESKTOP_NAME APPSTREAM_ID SIZE...
set -uo pipefail
deb_dir=$1
version=$2
desktop=$3
appstream=$4
shift 4
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

debs=("$deb_dir"/*.deb)
if ((${#debs[@]} != 1)) || [[ ! -f ${debs[0]} ]]; then
    echo "FAIL: expected one .deb in $deb_dir, found: ${debs[*]}" >&2
    exit 1
fi
deb=${debs[0]}

# field | what it must be
fields=(
    "Package|zylmosaics"
    "Version|$version"
    "Architecture|$(dpkg --print-architecture)"
    "Section|electronics"
)
for entry in "${fields[@]}"; do
    IFS='|' read -r field want <<<"$entry"
    got=$(dpkg-deb --field "$deb" "$field")
    [[ $got == "$want" ]] || fail "$field is '$got', expected '$want'"
done
[[ -n $(dpkg-deb --field "$deb" Maintainer) ]] || fail "no Maintainer"
[[ -n $(dpkg-deb --field "$deb" Description) ]] || fail "no Description"

# Depends: one package per library the programs load, and the fonts the glyphs are drawn from.
depends=$(dpkg-deb --field "$deb" Depends | tr ',' '\n' | sed -E 's/^ *//; s/[ :(].*//')
for package in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libpng16-16 zlib1g \
    libgraphicsmagick++-q16-12 libopenjp2-7 libfreetype6 libfontconfig1 \
    fonts-dejavu-core fonts-arphic-uming fonts-wqy-microhei; do
    grep -qxF "$package" <<<"$depends" || fail "Depends lacks $package: $(dpkg-deb --field "$deb" Depends)"
done

# The installed files, exactly.
expected=(
    ./usr/bin/zylmosaics ./usr/bin/zylctl ./usr/bin/zyl-panel-sim
    "./usr/share/applications/$desktop.desktop"
    "./usr/share/metainfo/$appstream.metainfo.xml"
    ./usr/share/man/man1/zylmosaics.1.gz ./usr/share/man/man1/zylctl.1.gz ./usr/share/man/man1/zyl-panel-sim.1.gz
)
for size in "$@"; do
    expected+=("./usr/share/icons/hicolor/${size}x${size}/apps/$desktop.png")
done
files=$(dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | sort)
want_files=$(printf '%s\n' "${expected[@]}" | sort)
[[ $files == "$want_files" ]] || fail "files differ from the expected list:
$(diff <(echo "$want_files") <(echo "$files"))"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root" || fail "dpkg -x failed"
# The metainfo as installed, with the desktop entry it launches found beside it.
appstreamcli validate-tree --no-net "$root" >/dev/null || fail "the unpacked tree does not validate:
$(appstreamcli validate-tree --no-net "$root")"

# The pages as man reads them: compressed, and whole.
for page in zylmosaics zylctl zyl-panel-sim; do
    gzip -t "$root/usr/share/man/man1/$page.1.gz" 2>/dev/null || fail "$page.1.gz is not a whole gzip file"
done

bin=$root/usr/bin
for program in zylmosaics zylctl zyl-panel-sim; do
    [[ -x $bin/$program ]] || fail "$program is not an executable"
    # A path into the build tree would make the installed program load stale libraries.
    if readelf -d "$bin/$program" | grep -qE 'RPATH|RUNPATH'; then
        fail "$program carries a library search path: $(readelf -d "$bin/$program" | grep -E 'RPATH|RUNPATH')"
    fi
    missing=$(env -u LD_LIBRARY_PATH ldd "$bin/$program" | grep 'not found')
    [[ -z $missing ]] || fail "$program misses libraries: $missing"
done

got=$(env -u LD_LIBRARY_PATH "$bin/zylctl" --version 2>&1)
[[ $got == "zylctl $version" ]] || fail "zylctl --version printed '$got'"
got=$(env -u LD_LIBRARY_PATH "$bin/zyl-panel-sim" --help 2>&1)
status=$?
((status == 0)) || fail "zyl-panel-sim --help exits $status"
[[ $got == "usage: zyl-panel-sim"* ]] || fail "zyl-panel-sim --help printed: $got"

((failures == 0)) || exit 1
echo "package: $(basename "$deb") checked"
