#!/bin/sh
# lingrove-cli pas2rtf: converts, refuses bad input, never replaces OUT on failure.
CLI="$1"
T=$(mktemp -d)
trap 'rm -rf "$T"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

printf 'unit A;\r\n{ \351 }\r\nread' > "$T/a.pas"
"$CLI" pas2rtf "$T/a.pas" "$T/a.rtf" || fail "conversion"
head -c 6 "$T/a.rtf" | grep -q '{\\rtf1' || fail "no RTF header"
pattern='{\i \cf1 \{ \'"'"'e9 \}}'
grep -qF -- "$pattern" "$T/a.rtf" || fail "comment not escaped"
grep -qF '\par read' "$T/a.rtf" || fail "bare word after break"

"$CLI" pas2rtf "$T/a.pas" "$T/b.rtf" --scheme 3 || fail "scheme 3"
cmp -s "$T/a.rtf" "$T/b.rtf" || fail "schemes 2 and 3 differ without a key store"

echo keep > "$T/keep.rtf"
printf "s := 'open\r\n" > "$T/bad.pas"
"$CLI" pas2rtf "$T/bad.pas" "$T/keep.rtf" 2> "$T/err" && fail "unterminated string accepted"
grep -q 'Invalid string' "$T/err" || fail "message: $(cat "$T/err")"
"$CLI" pas2rtf "$T/a.pas" "$T/keep.rtf" --scheme 4 2> "$T/err" && fail "scheme 4 accepted"
grep -q 'Only syntax highlighting from Delphi 2 and 3 are supported' "$T/err" || fail "scheme message"
[ "$(cat "$T/keep.rtf")" = keep ] || fail "OUT replaced after a failure"
"$CLI" pas2rtf "$T/missing.pas" "$T/x.rtf" 2>/dev/null && fail "missing input accepted"
[ -e "$T/x.rtf" ] && fail "OUT written for a missing input"
echo "1 passed, 0 failed"
