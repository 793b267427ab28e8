#!/bin/bash
# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
# Rebuilds photo.jpg and icon.png from dominoes.pov and icon.svg.
# Needs the Debian packages povray, imagemagick and librsvg2-bin; installs nothing.
set -euo pipefail

cd "$(dirname "$0")"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# POV-Ray's default security settings allow writing under /tmp, so render there.
# -J (no antialiasing jitter) keeps the render the same from run to run.
# The photograph at 1x, and at 2x and 3x for high-resolution screens: the scene is rendered
# afresh at each size rather than scaled.
render() { # NAME WIDTH HEIGHT
    povray -D +FN +W"$2" +H"$3" +A0.1 +AM2 +R3 -J \
        +Iphoto/dominoes.pov +O"$tmp/$1.png"
    # -strip keeps the JPEG free of timestamps so rebuilds are byte-identical.
    convert "$tmp/$1.png" -strip -quality 90 "$1.jpg"
}
render photo 220 162
render photo@2x 440 324
render photo@3x 660 486

rsvg-convert -w 32 -h 32 -f png -o icon.png icon.svg

# The window lays these out at fixed sizes; fail loudly rather than ship a wrong size.
check() {
    local got
    got=$(identify -format '%wx%h' "$1")
    if [ "$got" != "$2" ]; then
        echo "make-assets: $1 is $got, expected $2" >&2
        exit 1
    fi
}
check photo.jpg 220x162
check photo@2x.jpg 440x324
check photo@3x.jpg 660x486
check icon.png 32x32
