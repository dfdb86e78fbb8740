#!/bin/sh
# lingrove-cli on form files: character codes, page text, apply, strings in
# UTF-8; failures exit non-zero and leave OUT as it was.
CLI="$1"
T=$(mktemp -d)
trap 'rm -rf "$T"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
hex() { od -An -tx1 "$1" | tr -d ' \n'; }

# The command-line tool links no Qt.
if command -v ldd >/dev/null 2>&1; then
    ldd "$CLI" | grep -q Qt && fail "lingrove-cli links Qt"
fi

# #8364 is the euro sign, stored as a wide string, never as byte 0xAC.
printf "object F: TF\r\n  Caption = 'Preis '#8364\r\nend\r\n" > "$T/euro.txt"
"$CLI" txt2dfm "$T/euro.txt" "$T/euro.dfm" || fail "txt2dfm"
hex "$T/euro.dfm" | grep -q "5072656973" || fail "caption missing"
hex "$T/euro.dfm" | grep -q "1409000000507265697320e282ac" || fail "not a UTF-8 string: $(hex "$T/euro.dfm")"

# The page text shows it; unedited it gives the form back byte for byte.
"$CLI" dfm2txt "$T/euro.dfm" "$T/page.txt" || fail "dfm2txt"
[ "$(head -c 3 "$T/page.txt" | od -An -tx1 | tr -d ' ')" = efbbbf ] || fail "page text without byte-order mark"
grep -q "Caption = 'Preis €'" "$T/page.txt" || fail "page text: $(cat "$T/page.txt")"
"$CLI" apply "$T/euro.dfm" "$T/page.txt" "$T/same.dfm" || fail "apply"
cmp -s "$T/euro.dfm" "$T/same.dfm" || fail "unedited apply changed bytes"
"$CLI" apply "$T/euro.txt" "$T/page.txt" "$T/same.txt" || fail "apply on text"
cmp -s "$T/euro.txt" "$T/same.txt" || fail "unedited apply changed the text form"

# strings: UTF-8, columns in characters.
"$CLI" strings "$T/page.txt" --accept fonts,datetime,numbers > "$T/entries" || fail "strings"
grep -q "^    2   14   20  Preis €$" "$T/entries" || fail "strings: $(cat "$T/entries")"
"$CLI" strings "$T/euro.dfm" --accept fonts,datetime,numbers > "$T/entries2" || fail "strings on the form"
cmp -s "$T/entries" "$T/entries2" || fail "strings on the form differs from its page"

# Refusals name line and column, exit 1 and leave OUT alone.
echo keep > "$T/keep"
printf "object F: TF\r\n  Caption = #70000\r\nend\r\n" > "$T/big.txt"
"$CLI" txt2dfm "$T/big.txt" "$T/keep" 2> "$T/err" && fail "code above 65535 accepted"
grep -q "line 2, column 13: character code #70000" "$T/err" || fail "message: $(cat "$T/err")"
sed 's/Caption/Capton/' "$T/page.txt" > "$T/moved.txt"
"$CLI" apply "$T/euro.dfm" "$T/moved.txt" "$T/keep" 2> "$T/err" && fail "structure change accepted"
grep -q "line 2, column 3: the page text no longer matches the form" "$T/err" || fail "message: $(cat "$T/err")"
[ "$(cat "$T/keep")" = keep ] || fail "OUT replaced after a failure"
"$CLI" apply "$T/euro.dfm" 2>/dev/null; [ $? = 2 ] || fail "usage error"
echo "1 passed, 0 failed"
