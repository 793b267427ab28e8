# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the scripts: the lists of Debian packages the project needs, and the step that
# installs whichever of them are missing.

# What building and running need: ./run.sh installs only these (with a virtual screen, a
# window manager and ImageMagick for its screenshot where there is no display).
DOMINO_RUN_PACKAGES=(
    cmake g++ make                  # build
    qt6-base-dev                    # Qt 6 Widgets and the platform plugins
    qt6-base-private-dev            # Qt's scale factor, changed while the window is open (zoom)
    qt6-wayland                     # Qt's Wayland plugin: native on Wayland desktops
    fontconfig fonts-liberation2    # Liberation Serif: Times New Roman's metric twin, with Cyrillic
    xvfb xauth xdotool openbox      # a virtual screen, a window manager and input for it
    imagemagick                     # screenshots of the window
)

# What the tests need besides: ./test.sh installs both lists.
DOMINO_TEST_PACKAGES=(
    clang-format git                # the format and licence checks, over the files git tracks
    x11-utils xclip python3         # desktop tests: window properties, the clipboard, the driver
    python3-pyatspi at-spi2-core dbus-daemon  # ... what a screen reader sees
    orca dbus-x11                   # ... and what one says
    strace                          # ... and what the program opens
    sway grim wtype wl-clipboard    # ... a Wayland compositor with screenshots, keys and clipboard
    desktop-file-utils appstream    # checks of the menu entry and the AppStream data
    dpkg-dev file lintian           # the .deb: its library dependencies, and its checks
    reuse                           # every file's licence stated
    clang libclang-rt-dev           # libFuzzer, for the fuzz run (clang 14 on Debian 12, 19 on 13)
)

# Only ./windows.sh needs these: the cross compilers, Qt's host tools and source, the installer
# makers and Wine to test the result.
DOMINO_WINDOWS_PACKAGES=(
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    ninja-build dpkg-dev qt6-base-dev-tools nsis wine wine64
    librsvg2-bin icoutils           # the .exe's icon at every size, and reading it back
    wixl msitools                   # the MSI, and setting its tables' code page
    osslsigncode openssl            # signing, and a throwaway certificate to test it with
)

# Only scripts/bench.sh needs these.
DOMINO_BENCH_PACKAGES=(hyperfine valgrind time gnuplot-nox)

# Only ./web.sh and its browser test need these: the WebAssembly compiler (and the build
# machine's, for the program that writes the page's HTML), the font the page carries and the
# tool that trims it to woff2, the photograph's AVIF and WebP, the app icons, the precompressed
# twins, and a headless browser driven from Python (with ImageMagick to read its screenshots and
# compare the photographs).
DOMINO_WEB_PACKAGES=(
    cmake emscripten ninja-build g++
    fonts-liberation2 fonttools python3-brotli libavif-bin webp librsvg2-bin brotli
    chromium chromium-driver python3-selenium imagemagick
)

# install_missing_packages PACKAGE...: whichever of them are not installed yet.
install_missing_packages() {
    local missing=() package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    echo "Installing: ${missing[*]}"
    # Another install (or the system's own updates) may hold apt's lock for a while.
    local wait=(-o DPkg::Lock::Timeout=600)
    "${sudo[@]}" apt-get "${wait[@]}" update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get "${wait[@]}" install -y -qq \
        --no-install-recommends "${missing[@]}"
}
