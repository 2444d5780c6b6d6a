#!/bin/bash
# kvorn-score.exe under Wine: the worked results in both separators, a
# Cyrillic name through the Unicode command line, the exit codes; rows rated
# as bytes when redirected and as text on a console; a dropped file.
set -u
wine=$1 exe=$2 readme=${3:-}
export WINEDEBUG=-all WINEPREFIX=${WINEPREFIX:-$(dirname "$exe")/wine-prefix}
failures=0 passes=0
check() {
    local name=$1 want=$2; shift 2
    local got; got=$("$wine" "$exe" "$@" 2>/dev/null | tr -d '\r'; echo "rc=${PIPESTATUS[0]}")
    if [ "$got" = "$want" ]; then passes=$((passes + 1)); echo "ok   $name"; else failures=$((failures + 1)); echo "FAIL $name: $got"; fi
}
nl=$'\n'
check "frigate, comma" "122.05${nl}rc=0" --separator=, Фрегат 3000 14,5 35 0,5 2000 100 400 24
check "corvette, point" "94.23${nl}rc=0" --separator=. Корвет 2500 15.7 41.5 0.45 1200 120 180 16
check "sloop 32" "70.84${nl}rc=0" --separator=, Шлюп 900 16,2 60 0,6 600 40 90 32
check "sloop 12" "65.00${nl}rc=0" --separator=, Шлюп 900 16,2 60 0,6 600 40 90 12
check "longboat" "29.58${nl}rc=0" --separator=, Баркас 0 0 0 0 0 187 0 42
check "exponent form" "5.10E+96${nl}rc=0" --separator=, Фрегат 1e99 0 0 0 0 0 0 12
check "not selected" "rc=3" "Тип корабля" 1 1 1 1 1 1 1 12
check "comma in a point locale" "rc=1" --separator=. Фрегат 3000 14,5 35 0,5 2000 100 400 24
check "usage" "rc=2" Фрегат
help=$("$wine" "$exe" /? 2>/dev/null | tr -d '\r')
if grep -q '^usage: kvorn-score' <<<"$help" && grep -q -- '--explain' <<<"$help"; then
    passes=$((passes + 1)); echo "ok   /? is the help"
else
    failures=$((failures + 1)); echo "FAIL /? is the help: $help"
fi
# Russian Excel's "CSV": Windows-1251 and ';'; answered in the same bytes.
batch() {  # batch NAME INPUT WANTED
    local got; got=$(printf '%b' "$2" | "$wine" "$exe" --batch 2>/dev/null | od -An -tx1 | tr -d ' \n')
    local want; want=$(printf '%b' "$3" | od -An -tx1 | tr -d ' \n')
    if [ "$got" = "$want" ]; then passes=$((passes + 1)); echo "ok   $1"; else failures=$((failures + 1)); echo "FAIL $1: $got"; fi
}
batch "Windows-1251 rows" '\xd4\xf0\xe5\xe3\xe0\xf2;3000;14,5;35;0,5;2000;100;400;24\r\n' \
    '\xd4\xf0\xe5\xe3\xe0\xf2;3000;14,5;35;0,5;2000;100;400;24;122,05\r\n'
batch "comma rows, quoted decimals" 'Фрегат,3000,"14,5",35,"0,5",2000,100,400,24\r\n' \
    'Фрегат,3000,"14,5",35,"0,5",2000,100,400,24,"122,05"\r\n'
# On a console (Wine gives one on a terminal) the same rows are text, the
# message too, to the last row; the code page is left as it was.
folder=$(mktemp -d); trap 'rm -rf "$folder"' EXIT
printf '\xd4\xf0\xe5\xe3\xe0\xf2;3000;14,5;35;0,5;2000;100;400;24\r\n\xcd\xe5\xf2;1;1;1;1;1;1;1;12\r\n\xd8\xeb\xfe\xef;900;16,2;60;0,6;600;40;90;12\r\n' >"$folder/ships.csv"
shown=$(script -qec "'$wine' '$exe' --batch '$folder/ships.csv' </dev/null" /dev/null | sed 's/\x1b\[[0-9;?]*[a-zA-Z]//g' | tr -d '\r')
want="Фрегат;3000;14,5;35;0,5;2000;100;400;24;122,05
Нет;1;1;1;1;1;1;1;12;
Шлюп;900;16,2;60;0,6;600;40;90;12;65,00"
if [ "$(grep -v '^line' <<<"$shown")" = "$want" ] && grep -qx "line 2: unknown ship type 'Нет' (kvorn-score --list shows the 24 types)" <<<"$shown"; then
    passes=$((passes + 1)); echo "ok   Windows-1251 rows on a console"
else
    failures=$((failures + 1)); echo "FAIL Windows-1251 rows on a console: $shown"
fi
# A file dropped on the program: rated beside it, the file itself unchanged.
cp "$folder/ships.csv" "$folder/original.csv"
said=$("$wine" "$exe" "$folder/ships.csv" 2>/dev/null | tr -d '\r')
if cmp -s "$folder/ships.csv" "$folder/original.csv" && grep -q 'ships.rated.csv' <<<"$said" &&
    [ "$(od -An -tx1 "$folder/ships.rated.csv")" = "$(printf '%b' '\xd4\xf0\xe5\xe3\xe0\xf2;3000;14,5;35;0,5;2000;100;400;24;122,05\r\n\xcd\xe5\xf2;1;1;1;1;1;1;1;12;\r\n\xd8\xeb\xfe\xef;900;16,2;60;0,6;600;40;90;12;65,00\r\n' | od -An -tx1)" ]; then
    passes=$((passes + 1)); echo "ok   a dropped file is rated beside it"
else
    failures=$((failures + 1)); echo "FAIL a dropped file is rated beside it: $said"
fi
# The zip's README, as Notepad opens it: CRLF line ends, and no picture
# that the zip does not carry beside it.
if [ -n "$readme" ]; then
    lines=$(wc -l <"$readme") crlf=$(grep -c $'\r$' "$readme")
    pictures=$(grep -oiE '[^ ()<>"]+\.(png|jpe?g|gif|svg|bmp)' "$readme" | while read -r p; do
        [ -e "$(dirname "$readme")/$p" ] || echo "$p"; done)
    if [ "$lines" -gt 0 ] && [ "$lines" = "$crlf" ] && [ -z "$pictures" ] && grep -q 'kvorn-score /?' "$readme"; then
        passes=$((passes + 1)); echo "ok   the zip's README"
    else
        failures=$((failures + 1)); echo "FAIL the zip's README: $crlf of $lines lines CRLF; missing: $pictures"
    fi
fi
echo "$passes passed, $failures failed"
[ $failures -eq 0 ]
