# Shared by ./run and ./test: install what the build needs and build into build/.
# Sourced, not run.

# The filter lists the blocker reads come with Debian's uBlock Origin package (data only).
packages=(cmake g++ make qt6-base-dev qt6-webengine-dev libqt6svg6 fonts-comic-neue fonts-liberation2
          webext-ublock-origin-chromium)
# What the tests drive the program with: a display and a window manager, a stand-in web, readers
# for the printed PDF, validators for the installed files and the tools that build and check the
# Debian package.
test_packages=(clang libclang-rt-14-dev python3 xvfb xauth openbox xdotool wmctrl x11-utils poppler-utils
               desktop-file-utils appstream dpkg-dev file lintian)

missing_packages() {
    local p
    for p in "$@"; do
        dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' || echo "$p"
    done
}

install_packages() {
    local missing
    missing=$(missing_packages "$@")
    [ -z "$missing" ] && return 0
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    echo "Installing: $missing"
    "${sudo[@]}" apt-get update -qq
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends $missing
}

build() {
    cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=Release "$@"
    cmake --build "$root/build" -j2
}
