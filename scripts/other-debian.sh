#!/usr/bin/env bash
# Runs the README's test command on another Debian release, as a new user would there: in a
# debootstrap chroot of that release (made once under /var/cache/tarvane/, then reused), into
# which the current commit is cloned afresh; install-deps.sh installs what that release needs.
# Prints the tests' summary last and exits non-zero on any failure. As root.
# Usage: other-debian.sh [bookworm|trixie|forky]   (trixie when none is named)
set -euo pipefail

release=${1:-trixie}
case $release in
bookworm | trixie | forky) ;;
*)
    echo "usage: $0 [bookworm|trixie|forky]" >&2
    exit 2
    ;;
esac
[[ $EUID -eq 0 ]] || { echo "$0: run as root (debootstrap, chroot and mounts need it)" >&2; exit 2; }

repo=$(cd "$(dirname "$0")/.." && pwd)
commit=$(git -C "$repo" rev-parse HEAD)
cache=/var/cache/tarvane
root=$cache/$release
log=$cache/$release-test.log
mirror=http://deb.debian.org/debian
started=$SECONDS
mkdir -p "$cache"
# One run per release at a time: a second would clone over the first's sources.
exec 9>"$cache/$release.lock"
flock -n 9 || { echo "$0: another run on $release is under way" >&2; exit 1; }

if ! command -v debootstrap >/dev/null; then
    apt-get -o DPkg::Lock::Timeout=1800 update
    DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=1800 install -y \
        --no-install-recommends debootstrap
fi

# Made in a folder of its own and renamed when complete, so that an interrupted debootstrap
# is started again rather than reused. The script of sid serves every release, also those
# this machine's debootstrap is older than. Its mounts happen in a namespace of its own, so
# that none is left behind on this machine, whatever happens.
if [[ ! -d $root ]]; then
    echo "== Making a $release chroot in $root"
    rm -rf "$root.partial"
    unshare --mount --propagation private \
        debootstrap --variant=minbase "$release" "$root.partial" "$mirror" \
        /usr/share/debootstrap/scripts/sid
    # Services whose packages are installed are not started in the chroot.
    printf '#!/bin/sh\nexit 101\n' >"$root.partial/usr/sbin/policy-rc.d"
    chmod 755 "$root.partial/usr/sbin/policy-rc.d"
    mv "$root.partial" "$root"
fi

echo "== Cloning $commit into $root/root/tarvane"
rm -rf "$root/root/tarvane"
git clone --quiet --no-hardlinks "$repo" "$root/root/tarvane"
git -C "$root/root/tarvane" checkout --quiet --detach "$commit"
cp /etc/resolv.conf "$root/etc/resolv.conf"

# in_chroot network command...: runs the command as root in the chroot, with a clean
# environment, in namespaces of its own: its mounts (/proc, /sys, /dev, a new /dev/pts,
# /dev/shm, /tmp and /run) vanish with it even when it is killed, its processes end with it,
# and with "isolated" it has a network of its own with only a loopback, so that its X displays
# and D-Bus sessions (whose sockets are abstract, shared by a network) never meet this
# machine's.
in_chroot() {
    local network=()
    [[ $1 == isolated ]] && network=(--net)
    unshare --mount --propagation private --pid --fork --kill-child --ipc --uts "${network[@]}" \
        bash -euo pipefail -c '
        root=$1
        if [[ $2 == isolated ]]; then ip link set lo up; fi
        shift 2
        hostname tarvane-chroot
        mount -t proc proc "$root/proc"
        mount -t sysfs sysfs "$root/sys"
        mount --bind /dev "$root/dev"
        mount -t devpts -o newinstance,ptmxmode=0666,mode=0620 devpts "$root/dev/pts"
        mount --bind "$root/dev/pts/ptmx" "$root/dev/ptmx"
        mount -t tmpfs -o mode=1777 shm "$root/dev/shm"
        mount -t tmpfs -o mode=1777 tmp "$root/tmp"
        mount -t tmpfs -o mode=0755 run "$root/run"
        # Waited for in the background, so that the shell stays the first process of the
        # namespace, which takes up the processes whose parents ended, as init does.
        chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM="${TERM:-dumb}" \
            PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin "$@" &
        wait $!
    ' in_chroot "$root" "$@"
}

status=0
{
    echo "== Debian $(cat "$root/etc/debian_version") ($release), Tarvane $commit"
    # Packages come from the mirror; the tests then run cut off from any network.
    in_chroot shared bash -c 'cd /root/tarvane && bash scripts/install-deps.sh' &&
        in_chroot isolated bash -c 'cd /root/tarvane && bash scripts/test.sh'
} 2>&1 | tee "$log" || status=$?

minutes=$(((SECONDS - started + 30) / 60))
echo
echo "== Summary: Debian $release, commit ${commit:0:12}, $minutes min, whole output in $log"
# Each CTest run's closing lines: its count, and the tests that failed or did not run.
awk '/^The following tests (FAILED|did not run):/ { listing = 1 }
     listing && /^$/ { listing = 0 }
     listing || /tests passed, .* tests failed out of/ || /^Errors while running CTest/' "$log"
if ((status != 0)); then
    echo "FAILED (status $status)"
elif grep -q '^The following tests did not run:' "$log"; then
    echo "FAILED: some tests did not run"
    status=1
else
    echo "PASSED"
fi
exit "$status"
