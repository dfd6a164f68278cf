# Bash completion of daybreak-cli.                                   SPDX-License-Identifier: MIT
#
# The options and which of them take a value come from the tool's own --help, so the completion
# follows the tool it completes. State codes are those of the archives the tool would read (its
# own directory, or --archives DIR); zone names after --tz are the system's zone list.

# Prints the tool's options, one a line, each followed by " =" when it takes a value.
_daybreak_cli_options() {
    "$1" --help 2>/dev/null |
        sed -nE 's/^ {2,8}(-h, )?(--[a-z][a-z-]*)( [A-Z]+)?.*/\2\3/p' | sed -E 's/ [A-Z]+$/ =/'
}

# Prints the two-letter codes of the archives in DIR.
_daybreak_cli_codes() {
    local dir=$1 f
    for f in "$dir"/timezone.arc.??; do
        [[ -f $f ]] && printf '%s\n' "${f##*.}"
    done
}

# Prints the zone names of the system's time-zone database.
_daybreak_cli_zones() {
    local zi=/usr/share/zoneinfo/tzdata.zi
    if [[ -r $zi ]]; then
        # Zone lines name a zone; link lines name the target, then the other name.
        sed -nE 's/^Z ([^ ]+).*/\1/p; s/^L [^ ]+ ([^ ]+).*/\1/p' "$zi"
    elif [[ -r /usr/share/zoneinfo/zone1970.tab ]]; then
        grep -v '^#' /usr/share/zoneinfo/zone1970.tab | cut -f3
    fi
}

_daybreak_cli() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    local program=${COMP_WORDS[0]/#\~/$HOME}
    COMPREPLY=()

    # --option=value completes like --option value. Bash splits the word at '=' unless '='
    # was taken out of COMP_WORDBREAKS.
    local prefix=""
    if [[ $prev == = && $COMP_CWORD -ge 2 ]]; then
        prev=${COMP_WORDS[COMP_CWORD - 2]}
    elif [[ $cur == = ]]; then
        prev=${COMP_WORDS[COMP_CWORD - 1]}
        cur=""
    elif [[ $cur == --*=* ]]; then
        prev=${cur%%=*}
        prefix=$prev=
        cur=${cur#*=}
    fi

    # The archive directory: --archives on the line, else the tool's own directory.
    local archives="" i
    for ((i = 1; i < COMP_CWORD; i++)); do
        [[ ${COMP_WORDS[i]} == --archives ]] && archives=${COMP_WORDS[i + 1]/#\~/$HOME}
        [[ ${COMP_WORDS[i]} == --archives=* ]] && archives=${COMP_WORDS[i]#--archives=}
    done
    if [[ -z $archives ]]; then
        local path
        path=$(command -v -- "$program" 2>/dev/null) && archives=$(dirname -- "$(readlink -f -- "$path")")
    fi

    local words=()
    case $prev in
    --state | --list-zips | --list-cities)
        mapfile -t words < <(_daybreak_cli_codes "$archives")
        # Codes are matched either case; what is typed keeps its case.
        if [[ $cur == [a-z]* ]]; then words=("${words[@],,}"); fi
        ;;
    --tz) mapfile -t words < <(_daybreak_cli_zones) ;;
    --format) words=(text csv json ics) ;;
    --date) words=(today tomorrow yesterday) ;;
    --wait) words=(sunrise sunset noon civil-dawn civil-dusk nautical-dawn nautical-dusk astronomical-dawn astronomical-dusk) ;;
    --dump | --places)
        mapfile -t COMPREPLY < <(compgen -f -- "$cur")
        return
        ;;
    --archives)
        mapfile -t COMPREPLY < <(compgen -d -- "$cur")
        return
        ;;
    *)
        local options=() option takes_value=""
        while read -r option takes; do
            options+=("$option")
            [[ $option == "$prev" && -n $takes ]] && takes_value=yes
        done < <(_daybreak_cli_options "$program")
        # A value nobody can guess (a latitude, a date, a city): offer nothing.
        [[ -n $takes_value ]] && return
        if [[ -z $prefix && $cur == -* ]]; then words=("${options[@]}"); fi
        ;;
    esac
    mapfile -t COMPREPLY < <(compgen -P "$prefix" -W "${words[*]}" -- "$cur")
}

complete -F _daybreak_cli daybreak-cli
