#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
# sign.sh FILE...: signs each .exe or .msi in place (Authenticode, SHA-256) with the publisher's
# code-signing certificate: the PKCS#12 file DOMINO_SIGN_PKCS12, its password in
# DOMINO_SIGN_PASSWORD. The password goes through a pipe, never onto a command line that
# every user of the machine can read.
set -euo pipefail
for file in "$@"; do
    osslsigncode sign -pkcs12 "$DOMINO_SIGN_PKCS12" \
        -readpass <(printf '%s' "${DOMINO_SIGN_PASSWORD:-}") \
        -h sha256 -n "Domino tiles" -in "$file" -out "$file.signed" >/dev/null
    mv "$file.signed" "$file"
done
