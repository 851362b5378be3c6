#!/usr/bin/env bash
# The man pages list the options the programs' --help lists, no more and no
# fewer, and groff reads the generated pages without a warning.
set -euo pipefail
cli=$1 gui=$2 sources=$3 pages=$4

options() { grep -o -- '--[a-z][a-z-]*' | LC_ALL=C sort -u; }
listed() { sed -n '/^# OPTIONS/,/^# [A-Z]/p' "$1" | grep '^\* -' | options; }

status=0
for program in kvrns-cli kvrns; do
    binary=$cli
    [ "$program" = kvrns ] && binary=$gui
    help=$(QT_QPA_PLATFORM=offscreen "$binary" --help)
    source=$sources/$program.1.md
    if ! diff <(options <<<"$help") <(listed "$source"); then
        echo "$program: the man page's OPTIONS (>) differ from --help (<)"
        status=1
    fi
    # Other programs' options (udevadm's) are not ours to list.
    stray=$(LC_ALL=C comm -23 <(grep -v udevadm "$source" | options) <(options <<<"$help"))
    if [ -n "$stray" ]; then
        echo "$program: the man page names options --help does not: $stray"
        status=1
    fi
    grep -q -- '-h, --help' <<<"$help" || { echo "$program: --help lacks -h"; status=1; }
    warnings=$(groff -man -ww -z -Tutf8 "$pages/$program.1" 2>&1)
    if [ -n "$warnings" ]; then
        echo "$program.1: $warnings"
        status=1
    fi
    grep -q "^${program//-/\\\\-} \\\\- " "$pages/$program.1" || { echo "$program.1: no 'name \\- summary' line"; status=1; }
done
[ $status = 0 ] && echo "man pages match --help"
exit $status
