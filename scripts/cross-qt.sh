# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by windows.sh: Debian's qtbase source, fetched once, and a static Qt built
# from it for another platform, both kept in a cache outside the repository. Each platform's
# configure options are declared in packaging/PLATFORM/qt-configure.txt; the cached Qt's folder
# is named after the Qt version, the platform and a hash of those options and their patches.
# Run as "scripts/cross-qt.sh prefix PLATFORM", it prints that folder (CMake and the tests ask
# it here, so the name is made in one place).

DOMINO_PACKAGING=$(realpath "$(dirname "${BASH_SOURCE[0]}")/../packaging")
QT_VERSION=$(grep -m1 "^[0-9]" "$DOMINO_PACKAGING/qt-version.txt")
DOMINO_CACHE=${XDG_CACHE_HOME:-$HOME/.cache}/domino-tiles

# The apt sources of the running system with deb-src added, in a file of our own.
enable_source_archive() {
    local list=/etc/apt/sources.list.d/domino-tiles-sources.sources sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    if grep -rqsE '^(deb-src|Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/; then
        return 0
    fi
    echo "Enabling Debian's source archive in $list"
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
        sed 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
            "${sudo[@]}" tee "$list" >/dev/null
    else
        grep -E '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' |
            "${sudo[@]}" tee "${list%.sources}.list" >/dev/null
    fi
    "${sudo[@]}" apt-get update -qq
}

# qt_words PLATFORM: the words of packaging/PLATFORM/qt-configure.txt, one a line.
qt_words() {
    sed 's/#.*//' "$DOMINO_PACKAGING/$1/qt-configure.txt" | tr -s ' \t' '\n' | sed '/^$/d'
}

# qt_patches PLATFORM: the patches it names ("--patch FILE"), as paths.
qt_patches() {
    qt_words "$1" | sed -n "/^--patch$/{n;s|^|$DOMINO_PACKAGING/$1/|;p}"
}

# qt_prefix PLATFORM: where the Qt built with those options is kept. The key is made of the
# options themselves and the patches, so a comment can change without a new build.
qt_prefix() {
    local key
    key=$({ qt_words "$1" && qt_patches "$1" | xargs -r cat; } | sha256sum) || return 1
    echo "$DOMINO_CACHE/qt-$QT_VERSION-$1-${key:0:12}"
}

# qt_cached PLATFORM: whether build_static_qt has built Qt for PLATFORM with today's options.
qt_cached() {
    [ -f "$(qt_prefix "$1")/.complete" ]
}

# Prints the folder holding qtbase's unpacked source, fetching it the first time.
qt_source_dir() {
    local dir=$DOMINO_CACHE/source
    local tree=$dir/qt6-base-$QT_VERSION
    if [ ! -f "$tree/.complete" ]; then
        enable_source_archive >&2 || return 1
        rm -rf "$dir" && mkdir -p "$dir" || return 1
        (cd "$dir" && apt-get source -qq qt6-base >&2) || return 1
        local unpacked
        unpacked=$(find "$dir" -mindepth 1 -maxdepth 1 -type d -name "qt6-base-$QT_VERSION*")
        [ -n "$unpacked" ] || { echo "Debian's qt6-base source is not $QT_VERSION" >&2; return 1; }
        [ "$unpacked" = "$tree" ] || mv "$unpacked" "$tree" || return 1
        touch "$tree/.complete"
    fi
    echo "$tree"
}

# build_static_qt PLATFORM -- CMAKE-ARGUMENT...: builds qtbase once, configured as
# packaging/PLATFORM/qt-configure.txt says, and sets QT_PREFIX to where it is kept. Patches are
# applied to a copy of the source, so the shared one stays Debian's. The build tree (up to 2 GB)
# and that copy are removed afterwards.
build_static_qt() {
    local name=$1 patches=() configure=()
    shift
    [ "${1:-}" = -- ] && shift
    QT_PREFIX=$(qt_prefix "$name") || return 1
    [ -f "$QT_PREFIX/.complete" ] && return 0
    mapfile -t patches < <(qt_patches "$name")
    mapfile -t configure < <(qt_words "$name" | sed '/^--patch$/{N;d}')
    # Words after a "--" of their own are CMake's.
    local i cmake_options=()
    for i in "${!configure[@]}"; do
        if [ "${configure[i]}" = -- ]; then
            cmake_options=("${configure[@]:i+1}")
            configure=("${configure[@]:0:i}")
            break
        fi
    done

    local source build=$DOMINO_CACHE/build-qt-$name copy=$DOMINO_CACHE/source-$name patch
    source=$(qt_source_dir) || return 1
    rm -rf "$build" "$QT_PREFIX" "$copy" && mkdir -p "$build" || return 1
    if [ ${#patches[@]} -gt 0 ]; then
        cp -a "$source" "$copy" || return 1
        source=$copy
        for patch in "${patches[@]}"; do
            patch -d "$source" -p1 -s <"$patch" || return 1
        done
    fi
    echo "Building Qt $QT_VERSION for $name once, into $QT_PREFIX (about 20 minutes)..."
    (cd "$build" && "$source/configure" -prefix "$QT_PREFIX" -release -static \
        -qt-host-path /usr -nomake tests -nomake examples "${configure[@]}" -- "$@" "${cmake_options[@]}" \
        -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake &&
        cmake --build . --parallel 2 && cmake --install .) || return 1
    rm -rf "$build" "$copy"
    touch "$QT_PREFIX/.complete"
}

# configure_preset PRESET FOLDER: configures the preset's build folder against QT_PREFIX; a
# folder configured against another build of Qt (its options changed) is configured afresh.
configure_preset() {
    local fresh=()
    if [ -f "$2/CMakeCache.txt" ] && ! grep -qF "$QT_PREFIX/" "$2/CMakeCache.txt"; then
        fresh=(--fresh)
    fi
    cmake --preset "$1" "${fresh[@]}" >/dev/null
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    [ "${1:-}" = prefix ] && [ -n "${2:-}" ] || { echo "usage: $0 prefix PLATFORM" >&2; exit 2; }
    qt_prefix "$2"
fi
