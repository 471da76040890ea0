#!/usr/bin/env bash
# Proves that the README's two commands work on a fresh Debian 12 machine. Makes a minimal
# Debian 12 root (debootstrap, variant minbase, plus git and ca-certificates), clones the
# committed HEAD of this checkout into it and runs there, as root, with nothing else prepared:
#
#   scripts/start.sh  must install what it needs, build the program and start it (offscreen);
#                     it counts as started when it is still running a few seconds later, and is
#                     then stopped;
#   scripts/test.sh   must build and pass the whole test suite.
#
# On a failure the command's output is printed and the exit status is 1. Only the bare root is
# cached between runs (a tarball under KELVOR_FRESH_CACHE); whatever the project installs is
# made anew every time. Needs root, for debootstrap and chroot.
#
#   KELVOR_FRESH_CACHE    where the bare root is kept (default /var/cache/kelvor-fresh)
#   KELVOR_FRESH_MIRROR   the Debian mirror (default http://deb.debian.org/debian)
#   KELVOR_FRESH_KEEP     set to 1 to keep the root afterwards, for a look inside
#   KELVOR_FRESH_START_ONLY  set to 1 to run scripts/start.sh only (to measure what it installs)
set -euo pipefail

source_tree=$(cd "$(dirname "$0")/.." && pwd)
cache=${KELVOR_FRESH_CACHE:-/var/cache/kelvor-fresh}
mirror=${KELVOR_FRESH_MIRROR:-http://deb.debian.org/debian}
suite=bookworm
bare=$cache/$suite-minbase-git.tar
seconds_running=5

if [ "$(id -u)" -ne 0 ]; then
    echo "fresh-check.sh: needs root (debootstrap, chroot)" >&2
    exit 2
fi
if ! command -v debootstrap >/dev/null; then
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap
fi

if [ ! -f "$bare" ]; then
    echo "== Making a bare $suite root (kept in $bare)"
    mkdir -p "$cache"
    staging=$(mktemp -d "$cache/staging.XXXXXX")
    if ! debootstrap --variant=minbase --include=git,ca-certificates "$suite" "$staging" \
        "$mirror" >"$cache/debootstrap.log" 2>&1; then
        tail -n 50 "$cache/debootstrap.log"
        rm -rf --one-file-system "$staging"
        echo "fresh-check.sh: debootstrap failed" >&2
        exit 1
    fi
    tar -C "$staging" -cf "$bare.part" .
    mv "$bare.part" "$bare"
    rm -rf --one-file-system "$staging"
fi

work=$(mktemp -d /var/tmp/kelvor-fresh.XXXXXX)
root=$work/root
mkdir "$root"
tar -C "$root" -xf "$bare"
cp /etc/resolv.conf "$root/etc/resolv.conf"
mkdir -p "$root/mnt/origin"

# Everything below runs in a mount namespace of its own: the mounts into the root vanish with
# it, whatever way it ends, and the host never sees them.
status=0
unshare --mount --propagation private -- bash -s "$root" "$source_tree" "$seconds_running" \
    "${KELVOR_FRESH_START_ONLY:-0}" \
    >"$work/check.log" 2>&1 <<'INSIDE' || status=$?
set -uo pipefail
root=$1 source_tree=$2 seconds_running=$3 start_only=$4
mount -t proc proc "$root/proc"
mount --rbind /sys "$root/sys"
mount --rbind /dev "$root/dev"
mount --bind -o ro "$source_tree" "$root/mnt/origin"

# A login shell of a fresh machine's root: no variables but the basic ones.
in_root() {
    chroot "$root" /usr/bin/env -i HOME=/root TERM=dumb \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin "$@"
}

echo "== git clone"
in_root git clone -q --no-hardlinks /mnt/origin /root/kelvor || exit 1
in_root git -C /root/kelvor log --oneline -1

# What the root holds: installed packages and their size in KiB.
installed() {
    in_root dpkg-query -W -f '${db:Status-Abbrev} ${Installed-Size}\n' |
        awk '$1 == "ii" { n++; kb += $2 } END { printf "%d %d", n, kb }'
}
read -r packages_before kb_before <<<"$(installed)"

echo "== scripts/start.sh (offscreen)"
start_time=$(date +%s)
# Started without a function or subshell in between: chroot, env, bash and start.sh each exec
# the next, so $! is the process that start.sh finally turns into the program.
chroot "$root" /usr/bin/env -i HOME=/root TERM=dumb QT_QPA_PLATFORM=offscreen \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    bash -c 'cd /root/kelvor && exec scripts/start.sh' &
pid=$!
started=0
while kill -0 "$pid" 2>/dev/null; do
    if [ "$(basename "$(readlink "/proc/$pid/exe" 2>/dev/null)")" = kelvorw ]; then
        started_after=$(($(date +%s) - start_time))
        sleep "$seconds_running"
        if kill -0 "$pid" 2>/dev/null &&
            [ "$(basename "$(readlink "/proc/$pid/exe" 2>/dev/null)")" = kelvorw ]; then
            started=1
            kill "$pid"
        fi
        break
    fi
    sleep 1
done
wait "$pid" 2>/dev/null
if [ "$started" -ne 1 ]; then
    echo "fresh-check: scripts/start.sh did not leave the program running"
    exit 1
fi
echo "fresh-check: kelvorw was running after ${seconds_running} s and was stopped"
read -r packages_after kb_after <<<"$(installed)"
echo "fresh-check: start.sh installed $((packages_after - packages_before)) packages," \
    "$(((kb_after - kb_before) / 1024)) MB, and had the program running after" \
    "$((started_after / 60)) min $((started_after % 60)) s"

if [ "$start_only" = 1 ]; then
    exit 0
fi
echo "== scripts/test.sh"
in_root bash -c 'cd /root/kelvor && scripts/test.sh' || {
    echo "fresh-check: scripts/test.sh failed"
    exit 1
}
exit 0
INSIDE

# The whole log is kept beside the bare root; the console gets the outline, or on a failure the
# failing command's last lines (where apt, the compiler and ctest say what went wrong).
cp "$work/check.log" "$cache/last-check.log"
if [ "$status" -eq 0 ]; then
    grep -E '^(== |fresh-check: |[0-9]+% tests passed|Total Test time)' "$work/check.log"
    if [ "${KELVOR_FRESH_START_ONLY:-0}" = 1 ]; then
        echo "fresh-check: scripts/start.sh passed on a fresh Debian 12 root"
    else
        echo "fresh-check: both README commands passed on a fresh Debian 12 root"
    fi
else
    grep -E '^(== |fresh-check: )' "$work/check.log"
    echo "---- the last 300 lines of the output (all of it in $cache/last-check.log):"
    tail -n 300 "$work/check.log"
    echo "fresh-check: FAILED (status $status)" >&2
fi

# The namespace is gone, and with it every mount; make sure before deleting anything.
if [ "${KELVOR_FRESH_KEEP:-0}" = 1 ]; then
    echo "fresh-check: root kept in $root"
elif grep -q " $work/" /proc/self/mounts; then
    echo "fresh-check: something is still mounted under $work; not deleting it" >&2
    status=1
else
    rm -rf --one-file-system "$work"
fi
exit "$status"
