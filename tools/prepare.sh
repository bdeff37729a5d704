# Shared by ./run, ./test and tools/test_debian13.sh: install what the build needs and build into
# build/. Sourced, not run. Knows Debian 12 (Qt 6.4) and Debian 13 (Qt 6.8).

# Debian 13 moved Qt's SVG icon engine, which draws the tabs' load-state icons, into a package of
# its own; its clang is 19, whose sanitizer runtime has its own package.
case "$(. /etc/os-release 2>/dev/null && echo "${VERSION_CODENAME:-}")" in
    bookworm) svg_icons=libqt6svg6 clang_runtime=libclang-rt-14-dev ;;
    *) svg_icons=qt6-svg-plugins clang_runtime=libclang-rt-dev ;;
esac

# The filter lists the blocker reads come with Debian's uBlock Origin package (data only); which
# site a host belongs to, the blocker asks of libpsl and Debian's copy of the Public Suffix List.
packages=(cmake g++ make pkgconf qt6-base-dev qt6-webengine-dev qt6-webchannel-dev "$svg_icons" fonts-comic-neue
          fonts-liberation2 webext-ublock-origin-chromium libpsl-dev publicsuffix)
# What the unit tests alone need beyond the build: a reader for the printed PDF.
unit_test_packages=(poppler-utils)
# What the whole suite drives the program with: a display and a window manager, a stand-in web,
# validators for the installed files, the tools that build and check the Debian package, and
# clang for the fuzzers and sanitizers, openssl for a site with a bad certificate.
test_packages=("${unit_test_packages[@]}" python3 openssl clang "$clang_runtime" xvfb xauth openbox xdotool
               wmctrl x11-utils desktop-file-utils appstream dpkg-dev file lintian)

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
