# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by windows.sh and web.sh: Debian's qtbase source, fetched once, and a static Qt built
# from it for another platform, both kept in a cache outside the repository.

QT_VERSION=$(grep -m1 "^[0-9]" "$(dirname "${BASH_SOURCE[0]}")/../packaging/qt-version.txt")
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

# qt_cached NAME: whether build_static_qt has built Qt for NAME already.
qt_cached() {
    [ -f "$DOMINO_CACHE/qt-$QT_VERSION-$1/.complete" ]
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

# build_static_qt NAME [--patch FILE]... CONFIGURE-ARGUMENT... -- CMAKE-ARGUMENT...: builds
# qtbase once into $DOMINO_CACHE/qt-VERSION-NAME and sets QT_PREFIX to it. Patches are applied
# to a copy of the source, so the shared one stays Debian's. The build tree (up to 2 GB) and
# that copy are removed afterwards.
build_static_qt() {
    local name=$1 patches=()
    shift
    while [ "${1:-}" = --patch ]; do
        patches+=("$(realpath "$2")") || return 1
        shift 2
    done
    QT_PREFIX=$DOMINO_CACHE/qt-$QT_VERSION-$name
    qt_cached "$name" && return 0

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
        -qt-host-path /usr -nomake tests -nomake examples "$@" \
        -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake &&
        cmake --build . --parallel 2 && cmake --install .) || return 1
    rm -rf "$build" "$copy"
    touch "$QT_PREFIX/.complete"
}

# Qt's CMake for WebAssembly looks for emscripten in an emsdk layout; Debian installs it
# elsewhere. Makes that layout in the cache, pointing at Debian's emscripten, and exports EMSDK
# (for Qt) and NODE_PATH (emscripten finds its JavaScript helpers there).
emsdk_shim() {
    export EMSDK=$DOMINO_CACHE/emsdk NODE_PATH=/usr/share/nodejs
    local root=$EMSDK/upstream/emscripten tool
    mkdir -p "$root" || return 1
    echo "EMSCRIPTEN_ROOT = 'upstream/emscripten'" >"$EMSDK/.emscripten"
    for tool in emcc em++ emar emranlib; do
        ln -sfn "/usr/bin/$tool" "$root/$tool" || return 1
    done
    ln -sfn /usr/share/emscripten/emranlib.py "$root/emranlib.py" &&
        ln -sfn /usr/share/emscripten/cmake "$root/cmake"
}
