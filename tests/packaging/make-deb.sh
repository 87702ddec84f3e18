#!/usr/bin/env bash
# Builds the .deb from the built tree into OUT_DIR, dropping any earlier one first, so the
# checks never look at a stale package.
# Usage: make-deb.sh CPACK CPACK_CONFIG OUT_DIR
set -euo pipefail
cpack=$1
config=$2
out=$3
rm -rf "$out"
mkdir -p "$out"
"$cpack" -G DEB --config "$config" -B "$out"
