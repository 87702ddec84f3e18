#!/usr/bin/env bash
# Each man page formats without a warning, has a NAME line that whatis can index, and documents
# every option its program's help lists, so the pages cannot fall behind the programs.
# Usage: check-man-pages.sh MAN_DIR BIN_DIR
set -uo pipefail
man_dir=$1
bin_dir=$2
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# page | the help command whose options it must document (none for the GUI, which has no options)
cases=(
    "zylmosaics|"
    "zyl-panel-sim|zyl-panel-sim --help"
    "zylctl|zylctl --help"
    "zylctl|zylctl render --help"
    "zylctl|zylctl try --help"
    "zylctl|zylctl upload --help"
)

for case in "${cases[@]}"; do
    page=${case%%|*}
    help=${case#*|}
    file=$man_dir/$page.1
    if [[ ! -s $file ]]; then
        fail "$file is missing"
        continue
    fi
    warnings=$(groff -man -Tascii -ww -z "$file" 2>&1)
    [[ -z $warnings ]] || fail "$page.1: groff warns: $warnings"
    lexgrog "$file" >/dev/null || fail "$page.1: no NAME line whatis can index"
    [[ -n $help ]] || continue

    read -r program args <<<"$help"
    # shellcheck disable=SC2086 # the arguments are words
    listed=$("$bin_dir/$program" $args)
    status=$?
    ((status == 0)) || fail "'$help' exits $status"
    # Unhyphenated, unwrapped text, so every option reads as one word.
    shown=$(groff -man -Tascii -P-cbu -rLL=500n "$file" 2>/dev/null)
    options=$(grep -oE -- '(^|[^[:alnum:]-])--?[[:alpha:]][[:alnum:]-]*' <<<"$listed" | sed -E 's/^[^-]+//' | sort -u)
    [[ -n $options ]] || fail "'$help' lists no options at all"
    for option in $options; do
        grep -qE -- "(^|[^[:alnum:]-])$option([^[:alnum:]-]|$)" <<<"$shown" ||
            fail "$page.1 does not document $option, which '$help' lists"
    done
done

((failures == 0)) || exit 1
echo "man pages: ${#cases[@]} checks passed"
