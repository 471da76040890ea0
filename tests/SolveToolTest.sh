#!/bin/sh
# kelvor-solve on problem files: a drawn problem written as a table gives the same calculation
# when it is read back from the file and from standard input; a refused file, an unknown --write
# layout and a failed write end with status 2 and the message on standard error.
#   SolveToolTest.sh path/to/kelvor-solve
set -eu
tool=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "SolveToolTest: $*" >&2; exit 1; }
# Everything but the time, which differs from run to run.
solve() { "$tool" "$@" | grep -v '^time_ms '; }

solve --random 3 7 9 20 20 20 --write "$dir/p.csv" > "$dir/random.out"
solve "$dir/p.csv" --write "$dir/p.lp" > "$dir/file.out"
solve - < "$dir/p.csv" > "$dir/stdin.out"
cmp "$dir/random.out" "$dir/file.out" || fail "the table read back solves differently"
cmp "$dir/random.out" "$dir/stdin.out" || fail "standard input solves differently"
grep -q '^outcome Optimal$' "$dir/random.out" || fail "no optimal outcome"
grep -q '^Subject To$' "$dir/p.lp" || fail "no LP text written"
echo "2 3  30 20  10 25 15  8 6 10  9 12 13" | solve | grep -qx 'total_cost 420' ||
    fail "the list layout on standard input"

# Status 2 and the exact line on standard error.
refused() {
    expected=$1
    shift
    status=0
    "$tool" "$@" > /dev/null 2> "$dir/err" < /dev/null || status=$?
    [ "$status" -eq 2 ] || fail "status $status for $*"
    [ "$(cat "$dir/err")" = "$expected" ] || fail "for $*: $(cat "$dir/err")"
}
printf '8,6,30\n9,x,20\n10,40\n' > "$dir/bad.csv"
refused 'kelvor-solve: line 2, column 3: expected a number for cost (2, 2), found "x"' "$dir/bad.csv"
refused "kelvor-solve: --write: OUT must end in .csv or .lp: $dir/p.txt" "$dir/p.csv" --write "$dir/p.txt"
refused "kelvor-solve: cannot write $dir/none/p.csv: No such file or directory" \
    "$dir/p.csv" --write "$dir/none/p.csv"
refused "kelvor-solve: line 1, column 1: expected a problem, found an empty file"
