#!/usr/bin/env bash
# Runs every command of a document's ```console blocks (README.md, docs/user-guide.md) and
# compares what it prints with the document's text.
#
#   readme-check.sh DOCUMENT BIN_DIR
#
# In each ```console block a line "$ COMMAND" is run by bash in BIN_DIR (where the programs and
# the state archives lie) with BIN_DIR first on PATH, standard error included, and what it
# prints must equal the lines after it up to the next "$ " line or the closing fence. A command that computes times must name its --date, so that the text
# holds on any day.
set -u
readme=$1
bin=$(cd "$2" 2>/dev/null && pwd) || bin=$2
[[ -r $readme && -x $bin/daybreak-cli ]] || { echo "usage: $0 DOCUMENT BIN_DIR" >&2; exit 2; }
name=${readme##*/}

failures=0
commands=0
expected=""
command=""
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# Runs the pending command, if any, against the lines gathered for it.
check() {
    [[ -n $command ]] || return 0
    commands=$((commands + 1))
    if [[ $command =~ --(lat|coords|zip|city)[=\ ] && ! $command =~ --date[=\ ] ]]; then
        echo "$name: command without --date, so its output changes with the day: \$ $command"
        failures=$((failures + 1))
    fi
    printf '%s' "$expected" >"$scratch/readme"
    (cd "$bin" && PATH="$bin:$PATH" bash -c "$command" >"$scratch/program" 2>&1)
    if ! diff -u --label "$name" --label "daybreak-cli today" \
        "$scratch/readme" "$scratch/program" >"$scratch/diff"; then
        echo "$name: command prints something else: \$ $command"
        cat "$scratch/diff"
        echo
        failures=$((failures + 1))
    fi
    command=""
    expected=""
}

block=0
while IFS= read -r line || [[ -n $line ]]; do
    if ((block)); then
        if [[ $line == '```' ]]; then
            check
            block=0
        elif [[ $line == '$ '* ]]; then
            check
            command=${line#\$ }
        elif [[ -n $command ]]; then
            expected+="$line"$'\n'
        fi
    elif [[ $line == '```console' ]]; then
        block=1
    fi
done <"$readme"

if ((commands == 0)); then
    echo "no console blocks found in $name"
    exit 1
fi
echo "$name: $commands commands run, $failures differ"
((failures == 0))
