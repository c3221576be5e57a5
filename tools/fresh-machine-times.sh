#!/usr/bin/env bash
# Times the README's two commands on a fresh Debian 12 system: a new
# debootstrap chroot, as root and without a display, holding the committed
# tree (git archive HEAD). There tools/run-grass.sh and then
# tools/run-tests.sh run with every command they start traced with its start
# time; the phases (bootstrap, configure, build, run or tests) are printed,
# and the chroot is unmounted and removed again.
#
#   tools/fresh-machine-times.sh [DIR]    the chroot goes to DIR (default
#                                         /var/tmp/orvex-fresh-machine); needs
#                                         root and Debian's package mirror
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
dir=${1:-/var/tmp/orvex-fresh-machine}
mirror=http://deb.debian.org/debian

[ "$(id -u)" -eq 0 ] || { echo "fresh-machine-times: needs root (debootstrap, chroot, mounts)" >&2; exit 1; }
[ ! -e "$dir" ] || { echo "fresh-machine-times: $dir exists; remove it or name another directory" >&2; exit 1; }
tools/bootstrap.sh docs
say() { echo "fresh-machine-times: $*"; }

mounted=()
cleanup() {
  # Nothing may still run inside before the mounts go.
  local p r
  for p in /proc/[0-9]*; do
    r=$(readlink "$p/root" 2>/dev/null || true)
    case "$r" in "$dir" | "$dir"/*) kill "${p#/proc/}" 2>/dev/null || true ;; esac
  done
  local i
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount "${mounted[$i]}" || umount -l "${mounted[$i]}"; done
  if grep -q " $dir/" /proc/self/mountinfo; then
    say "something is still mounted under $dir; it is left in place"
  else
    rm -rf --one-file-system "$dir"
  fi
}
trap cleanup EXIT

mkdir -p build
say "debootstrap bookworm into $dir"
start=$(date +%s.%N)
debootstrap bookworm "$dir" "$mirror" >"$root/build/fresh-machine-debootstrap.log" 2>&1 ||
  { say "debootstrap failed, see build/fresh-machine-debootstrap.log"; exit 1; }
say "  $(awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN {printf "%.0f s", b - a}')"

mkdir -p "$dir/root/orvex"
git archive HEAD | tar -x -C "$dir/root/orvex"
mount -t proc proc "$dir/proc"
mounted+=("$dir/proc")
mount -t sysfs sys "$dir/sys"
mounted+=("$dir/sys")
mount --bind /dev "$dir/dev"
mounted+=("$dir/dev")
mount --make-private "$dir/dev"
mount -t devpts -o newinstance,ptmxmode=0666 devpts "$dir/dev/pts"
mounted+=("$dir/dev/pts")
mount -t tmpfs shm "$dir/dev/shm"
mounted+=("$dir/dev/shm")
cp /etc/resolv.conf "$dir/etc/resolv.conf"

cat >"$dir/root/time-readme.sh" <<'EOF'
#!/bin/bash
cd /root/orvex
stamped() { while IFS= read -r line; do printf '%s %s\n' "$(date +%s.%N)" "$line"; done; }
state() { echo "packages=$(dpkg -l | grep -c '^ii') downloaded=$(du -sm /var/cache/apt/archives | cut -f1)MB"; }
echo "fresh $(state)" >/root/times.txt
for script in run-grass run-tests; do
  BASH_XTRACEFD=9 bash -x tools/$script.sh >/root/$script.log 2>&1 9> >(stamped >/root/$script.trace)
  status=$?
  echo "$script status=$status end=$(date +%s.%N) $(state)" >>/root/times.txt
  [ $status -eq 0 ] || exit $status
done
EOF
chmod +x "$dir/root/time-readme.sh"

say "running tools/run-grass.sh, then tools/run-tests.sh, in the chroot"
status=0
chroot "$dir" /usr/bin/env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
  LANG=C.UTF-8 /root/time-readme.sh || status=$?
mkdir -p build/fresh-machine
cp "$dir"/root/times.txt "$dir"/root/*.log "$dir"/root/*.trace build/fresh-machine/ 2>/dev/null || true
[ "$status" -eq 0 ] || { say "FAILED (status $status); the logs are in build/fresh-machine"; exit 1; }

# The phases from the traces: each starts with its command's trace line; the
# build ends where the next line of the script starts.
phases() {
  local script=$1 label=$2 end
  end=$(sed -n "s/^$script status=0 end=\([0-9.]*\).*/\1/p" build/fresh-machine/times.txt)
  awk -v end="$end" -v script="$script" -v label="$label" '
    NR == 1 { first = $1 }
    / \+ tools\/bootstrap\.sh/ && !b { b = $1 }
    / \+ cmake --preset/ && !c { c = $1 }
    / \+ cmake --build/ && !d { d = $1; getline; r = $1 }
    END { printf "%s: bootstrap %.0f s, configure %.0f s, build %.0f s, %s %.0f s; total %.0f s\n",
                 script, c - b, d - c, r - d, label, end - r, end - first }' "build/fresh-machine/$script.trace"
}
phases run-grass run
phases run-tests tests
cat build/fresh-machine/times.txt | sed 's/ end=[0-9.]*//'
