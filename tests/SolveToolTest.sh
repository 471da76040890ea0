#!/bin/sh
# kelvor-solve on problem files: a drawn problem written as a table gives the same calculation
# when it is read back from the file and from standard input; --steps adds a line for each pivot
# and nothing else, --report writes the page, --start vogel reaches the same optimum; a refused
# file, an unknown --write layout or start and a failed write end with status 2 and the message
# on standard error.
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

# The steps of the small problem by hand: the north-west corner costs 455; (2, 1) enters with
# u2 + v1 - c21 = 6 + 8 - 9 = 5 round (2, 1) (1, 1) (1, 2) (2, 2), whose minus cells hold 10 and
# 5: theta 5, (2, 2) leaves, 455 - 5 * 5 = 430; then (1, 3) enters, 2 * 5 less, the optimum.
small="2 3  30 20  10 25 15  8 6 10  9 12 13"
echo "$small" | solve --steps > "$dir/steps.out"
[ "$(grep '^step ' "$dir/steps.out")" = "step 1 enter 2 1 gain 5 cycle 4 theta 5 leave 2 2 total 430
step 2 enter 1 3 gain 2 cycle 4 theta 5 leave 1 1 total 420" ] || fail "the small problem's steps"
echo "$small" | solve --start vogel | grep -qx 'total_cost 420' || fail "vogel's total"
echo "$small" | solve --start least-cost | grep -qx 'total_cost 420' || fail "least cost's total"

# Every pivot a line, the last total the calculation's, the usual output unchanged before them:
# an optimal run and one at the cap (a seed known to need exactly 999 pivots).
for args in "$dir/p.csv" "--random 289 120 120 50 50 50"; do
    # shellcheck disable=SC2086
    solve $args --steps --report "$dir/r.html" > "$dir/all.out"
    grep -v '^step ' "$dir/all.out" > "$dir/usual.out"
    # shellcheck disable=SC2086
    solve $args | cmp - "$dir/usual.out" || fail "--steps changed the usual output of $args"
    pivots=$(sed -n 's/^pivots //p' "$dir/all.out")
    [ "$(grep -c '^step ' "$dir/all.out")" -eq "$pivots" ] || fail "not $pivots steps for $args"
    [ "$(grep '^step ' "$dir/all.out" | tail -n 1 | sed 's/.* total //')" = \
        "$(sed -n 's/^total_cost //p' "$dir/all.out")" ] || fail "the last step's total for $args"
    [ "$(grep -c '<h2>Step ' "$dir/r.html")" -eq $((pivots + 1)) ] || fail "the report of $args"
done
grep -q '^outcome Looping$' "$dir/all.out" || fail "the capped run did not loop"
grep -q 'Looping' "$dir/r.html" || fail "the capped run's report"

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
refused "kelvor-solve: --start must be north-west, least-cost or vogel: west" "$dir/p.csv" --start west
refused "kelvor-solve: cannot write $dir/none/r.html: No such file or directory" \
    "$dir/p.csv" --report "$dir/none/r.html"
