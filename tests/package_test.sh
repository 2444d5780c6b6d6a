#!/bin/bash
# The .deb that `make package` builds: its files, its dependencies, and the
# desktop files it carries as the validators see them. Not installed here.
set -u
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0 passes=0
check() {
    local name=$1; shift
    if "$@"; then passes=$((passes + 1)); echo "ok   $name"; else failures=$((failures + 1)); echo "FAIL $name"; fi
}

cpack -G DEB -B "$work" --config "$build/CPackConfig.cmake" >"$work/cpack.log" 2>&1
deb=$(ls "$work"/kvorn-calculator_*.deb 2>/dev/null | head -1)
check "package built" [ -n "$deb" ]
[ -n "$deb" ] || { cat "$work/cpack.log"; echo "$passes passed, $((failures)) failed"; exit 1; }

contents=$(dpkg-deb -c "$deb")
for file in ./usr/bin/kvorn-calculator ./usr/bin/kvorn-score \
            ./usr/share/applications/org.kvorn.Calculator.desktop \
            ./usr/share/metainfo/org.kvorn.Calculator.metainfo.xml; do
    check "carries $file" grep -q " $file\$" <<<"$contents"
done
depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6widgets6 libqt6gui6 libqt6core6 libjpeg62-turbo libicu72 libc6 fonts-dejavu-core; do
    check "depends on $package" grep -q "$package" <<<"$depends"
done
# The scorer needs no toolkit: it reads the regional separator with ICU.
check "kvorn-score links no Qt" bash -c "! ldd '$build/cli/kvorn-score' | grep -qi qt"
check "named for its version" grep -q "kvorn-calculator_1.1.1_" <<<"$deb"

dpkg-deb -x "$deb" "$work/root"
entry="$work/root/usr/share/applications/org.kvorn.Calculator.desktop"
check "desktop entry valid" desktop-file-validate "$entry"
# The menu entry's icon, in every size the icon theme is asked for (48 x 48
# at the least, by the theme's own rule), each a picture of that size.
icon=$(sed -n 's/^Icon=//p' "$entry")
check "the menu entry names an icon" [ -n "$icon" ]
check "the menu entry opens no terminal" grep -qx "Terminal=false" "$entry"
# Named as the program's window is, in English and in Russian.
check "the menu entry's names" [ "$(grep -E '^Name(\[ru\])?=' "$entry")" = $'Name=Kvorn calculator\nName[ru]=Кворн калькулятор' ]
for size in 16 24 32 48 64 128 256; do
    png="$work/root/usr/share/icons/hicolor/${size}x${size}/apps/$icon.png"
    check "icon $icon at ${size}x${size}" grep -q "PNG image data, $size x $size," <<<"$(file -b "$png" 2>&1),"
done
check "icon $icon scalable" grep -q "SVG" <<<"$(file -b "$work/root/usr/share/icons/hicolor/scalable/apps/$icon.svg" 2>&1)"
# As a software centre reads it: beside the menu entry and icon it names.
check "metainfo valid in the installed tree" appstreamcli validate-tree --no-net "$work/root"
newest=$(grep -om1 '<release version="[^"]*"' "$work/root/usr/share/metainfo/org.kvorn.Calculator.metainfo.xml")
check "metainfo's newest release is the package's" [ "$newest" = "<release version=\"$(dpkg-deb -f "$deb" Version)\"" ]
for file in ./usr/share/man/man1/kvorn-calculator.1.gz ./usr/share/man/man1/kvorn-score.1.gz \
            ./usr/share/doc/kvorn-calculator/changelog.gz ./usr/share/doc/kvorn-calculator/copyright; do
    check "carries $file" grep -q " $file\$" <<<"$contents"
done
lintian --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1
check "lintian reports no error or warning" [ "$(grep -cE '^[EW]: ' "$work/lintian.log")" -eq 0 ]
grep -E '^[EW]: ' "$work/lintian.log"
check "scorer runs from the package" [ "$("$work/root/usr/bin/kvorn-score" --version)" = "kvorn-score 1.1.1" ]

echo "$passes passed, $failures failed"
[ $failures -eq 0 ]
