#!/bin/sh
# lingrove-cli and paths that are not regular files: folders and devices as
# input, standard output, pipes and read-only files as output. (The file
# writer's own tests cover each case; here: the commands go through it.)
CLI="$1"
FORM="$2"
T=$(mktemp -d)
trap 'chmod -R u+w "$T"; rm -rf "$T"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

mkdir "$T/folder"
"$CLI" strings "$T/folder" > /dev/null 2> "$T/err" && fail "strings read a folder"
grep -q 'is a folder' "$T/err" || fail "strings folder message: $(cat "$T/err")"
"$CLI" pas2rtf /dev/null "$T/out.rtf" 2> "$T/err" && fail "a device read as a unit"
grep -q 'not a regular file' "$T/err" || fail "device message: $(cat "$T/err")"
"$CLI" dfm2txt "$T/gone.dfm" "$T/out.txt" 2> "$T/err" && fail "a missing file read"
grep -q 'does not exist' "$T/err" || fail "missing message: $(cat "$T/err")"
[ -e "$T/out.txt" ] && fail "output written after a failed read"

# Standard output, named either way, is written into, never replaced.
"$CLI" dfm2txt "$FORM" - > "$T/dash.txt" || fail "output to -"
"$CLI" dfm2txt "$FORM" /dev/stdout | cat > "$T/stdout.txt" || fail "output to /dev/stdout"
"$CLI" dfm2txt "$FORM" "$T/file.txt" || fail "output to a file"
cmp -s "$T/dash.txt" "$T/file.txt" || fail "- differs from a file"
cmp -s "$T/stdout.txt" "$T/file.txt" || fail "/dev/stdout differs from a file"

mkfifo "$T/pipe"
"$CLI" dfm2txt "$FORM" "$T/pipe" 2> "$T/err" && fail "a pipe replaced"
[ -p "$T/pipe" ] || fail "the pipe is gone"
grep -q 'not a regular file' "$T/err" || fail "pipe message: $(cat "$T/err")"

echo keep > "$T/locked.txt"
chmod 444 "$T/locked.txt"
"$CLI" dfm2txt "$FORM" "$T/locked.txt" 2> "$T/err" && fail "a read-only file replaced"
[ "$(cat "$T/locked.txt")" = keep ] || fail "the read-only file changed"

ln -s file.txt "$T/link.txt"
"$CLI" dfm2txt "$FORM" "$T/link.txt" || fail "output through a link"
[ -L "$T/link.txt" ] || fail "the link was replaced"
ls -a "$T" | grep -q lingrove && fail "a temporary file was left: $(ls -a "$T")"
echo "1 passed, 0 failed"
