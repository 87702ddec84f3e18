#!/usr/bin/env bash
# The drawn icon theme holds one RGBA PNG of the exact size in each size folder, and the icon
# tool refuses a size the application icon has no drawing for instead of scaling a neighbour.
# Usage: check-icons.sh ICON_TOOL THEME_DIR NAME SIZE...
set -uo pipefail
tool=$1
theme=$2
name=$3
shift 3
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

for size in "$@"; do
    png=$theme/${size}x${size}/apps/$name.png
    kind=$(file -b "$png")
    [[ $kind == "PNG image data, $size x $size, 8-bit/color RGBA"* ]] || fail "$png: $kind"
done

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# arguments | exit status | what the error must say
refusals=(
    "20|1|no 20x20 drawing"
    "16 20|1|no 20x20 drawing"
    "0|2|not a size"
    "big|2|not a size"
)
for refusal in "${refusals[@]}"; do
    IFS='|' read -r sizes want words <<<"$refusal"
    # shellcheck disable=SC2086 # the sizes are words
    message=$(QT_QPA_PLATFORM=offscreen "$tool" "$scratch/out" "$name" $sizes 2>&1 >/dev/null)
    status=$?
    ((status == want)) || fail "sizes '$sizes': exit $status, expected $want"
    [[ $message == *"$words"* ]] || fail "sizes '$sizes': message '$message' lacks '$words'"
    [[ ! -e $scratch/out ]] || fail "sizes '$sizes': wrote icons although refused"
done

((failures == 0)) || exit 1
echo "icons: $# sizes and ${#refusals[@]} refusals checked"
