#!/usr/bin/env bash
# Builds Reelhop in a Debian 13 tree and runs its unit and web engine tests there on the offscreen
# platform. The tree is made once with debootstrap and kept (REELHOP_DEBIAN13_TREE, default
# /var/cache/reelhop/debian13); a tree left half made is made anew. Needs root.
# Usage: tools/test_debian13.sh [--prepare]
#   --prepare: only make the tree and install what the build needs in it, which is mostly waiting
#              on the network, so that it can run while something else builds.
set -euo pipefail
prepare_only=false
[ "${1:-}" = --prepare ] && prepare_only=true
root=$(cd "$(dirname "$0")/.." && pwd)
tree=${REELHOP_DEBIAN13_TREE:-/var/cache/reelhop/debian13}
mirror=${REELHOP_DEBIAN_MIRROR:-http://deb.debian.org/debian}
made="$tree/.reelhop-tree-made"

source "$root/tools/prepare.sh"
install_packages debootstrap

if [ ! -e "$made" ]; then
    echo "Making a Debian 13 tree in $tree"
    rm -rf "$tree"
    mkdir -p "$(dirname "$tree")"
    debootstrap --variant=minbase trixie "$tree" "$mirror" > "$tree.log" 2>&1 \
        || { tail -20 "$tree.log"; exit 1; }
    touch "$made"
fi

mounted=()
unmount_all() {
    local i
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -l "${mounted[i]}" 2>/dev/null || true; done
}
trap unmount_all EXIT
mount_in_tree() { # TYPE_OR_BIND SOURCE TARGET
    mkdir -p "$tree$3"
    if [ "$1" = bind ]; then mount --bind "$2" "$tree$3"; else mount -t "$1" "$2" "$tree$3"; fi
    mounted+=("$tree$3")
}
# The web engine's processes need /proc, a /dev with shared memory, and name resolution.
mount_in_tree proc proc /proc
mount_in_tree bind /dev /dev
mount_in_tree bind /dev/pts /dev/pts
mount_in_tree tmpfs tmpfs /dev/shm
mount_in_tree tmpfs tmpfs /tmp
cp /etc/resolv.conf "$tree/etc/resolv.conf"

# This checkout's files, committed or not, without its build folders.
rm -rf "$tree/root/reelhop"
mkdir -p "$tree/root/reelhop"
(cd "$root" && git ls-files -z --cached --others --exclude-standard \
    | xargs -0 -r sh -c 'for f; do [ -e "$f" ] && printf "%s\0" "$f"; done' sh \
    | tar --null -T - -cf -) | tar -xf - -C "$tree/root/reelhop"

in_tree() {
    chroot "$tree" /usr/bin/env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
        bash -euo pipefail -c 'root=/root/reelhop; source "$root/tools/prepare.sh"; '"$1"
}
in_tree 'install_packages "${packages[@]}" "${unit_test_packages[@]}" dpkg-dev file'
"$prepare_only" && exit 0

in_tree '
        build -DBUILD_TESTING=ON -DCMAKE_COMPILE_WARNING_AS_ERROR=ON
        cd "$root/build"
        # The program and package checks need an X server and lintian; Debian 12 runs them.
        QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2 --timeout 300 -E "program_checks|package_checks"
        # The package built here brings the icon engine this release packages apart.
        cpack -G DEB -B /tmp/package > /tmp/cpack.log || { cat /tmp/cpack.log; exit 1; }
        depends=$(dpkg-deb -f /tmp/package/reelhop_*_amd64.deb Depends)
        grep -q "qt6-svg-plugins" <<< "$depends" || { echo "FAIL: the package depends on: $depends"; exit 1; }
        echo "The package depends on: $depends"
    '
