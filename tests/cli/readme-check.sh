#!/usr/bin/env bash
# Runs every command of README.md's section on daybreak-cli and compares what it prints with
# the README's text.
#
#   readme-check.sh README BIN_DIR
#
# The checked samples are the section's ```console blocks: a line "$ COMMAND" is run by bash in
# BIN_DIR (where the programs and the state archives lie) with BIN_DIR first on PATH, standard
# error included, and what it prints must equal the lines after it up to the next "$ " line or
# the closing fence. A command that computes times must name its --date, so that the text
# holds on any day.
set -u
readme=$1
bin=$(cd "$2" 2>/dev/null && pwd) || bin=$2
[[ -r $readme && -x $bin/daybreak-cli ]] || { echo "usage: $0 README BIN_DIR" >&2; exit 2; }

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
        echo "README command without --date, so its output changes with the day: \$ $command"
        failures=$((failures + 1))
    fi
    printf '%s' "$expected" >"$scratch/readme"
    (cd "$bin" && PATH="$bin:$PATH" bash -c "$command" >"$scratch/program" 2>&1)
    if ! diff -u --label "README.md" --label "daybreak-cli today" \
        "$scratch/readme" "$scratch/program" >"$scratch/diff"; then
        echo "README command prints something else: \$ $command"
        cat "$scratch/diff"
        echo
        failures=$((failures + 1))
    fi
    command=""
    expected=""
}

section=0
block=0
while IFS= read -r line || [[ -n $line ]]; do
    if [[ $line == "## "* ]]; then
        [[ $line == "## The command-line tool"* ]] && section=1 || section=0
        continue
    fi
    ((section)) || continue
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
    echo "no console blocks found in README's daybreak-cli section"
    exit 1
fi
echo "$commands README commands run, $failures differ"
((failures == 0))
