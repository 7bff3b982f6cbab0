#!/usr/bin/env bash
# The manual page and the bash completion cover brackwen-cli as its --help
# describes it: every command, every option of each command and every choice
# of an option's value; the completion offers the first argument's sub-command
# words, and map files (not other files) for a map argument.
# Usage: CheckCliDocs.sh CLI MANUAL_PAGE COMPLETION
set -u
cli=$1 manual=$2 completion=$3
faults=0
fault() {
    echo "fault: $*"
    faults=$((faults + 1))
}

help=$("$cli" --help) || { echo "fault: $cli --help failed"; exit 1; }
# The manual page as man shows it, in plain text and one line a paragraph:
# an entry's heading is the line indented by seven blanks.
if command -v man >/dev/null 2>&1; then
    manual_text=$(LC_ALL=C MANWIDTH=4000 man -l "$manual" 2>/dev/null)
    in_manual() { grep -qE -- "$1" <<<"$manual_text" || fault "$2"; }
else
    echo "not checked: the manual page, man is not installed"
    in_manual() { :; }
fi
source "$completion"

# completions WORD...: what the completion offers for the last word.
completions() {
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _brackwen_cli
    printf '%s\n' "${COMPREPLY[@]}"
}
offers() {  # offers WORD COMMAND-LINE...: the completion of COMMAND-LINE offers WORD
    local word=$1
    shift
    completions "$@" | grep -qxF -- "$word"
}

# A scratch folder with two maps, another file and a sub-folder.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/sub"
touch "$scratch/a.vdm" "$scratch/B.VDW" "$scratch/notes.txt"
cd "$scratch"

commands=()
while IFS= read -r line; do
    [[ $line =~ ^\ \ ([a-z][a-z-]*)\ ?(.*)$ ]] || continue
    command=${BASH_REMATCH[1]}
    usage=${BASH_REMATCH[2]}
    commands+=("$command")
    in_manual "^       $command( |$)" "the manual page has no entry for $command"
    offers "$command" brackwen-cli "${command:0:2}" || fault "brackwen-cli ${command:0:2}<Tab> does not offer $command"

    read -ra words <<<"${usage//[\[\]]/ }"
    option=
    for word in "${words[@]}"; do
        if [[ $word == --* ]]; then
            option=$word
            in_manual "(^| |\[)$word( |\]|$)" "the manual page does not name $command $word"
            offers "$word" brackwen-cli "$command" -- || fault "brackwen-cli $command --<Tab> does not offer $word"
            continue
        fi
        if [[ -n $option && $word == *'|'* && $word != '|' ]]; then
            IFS='|' read -ra choices <<<"$word"
            for choice in "${choices[@]}"; do
                [[ $choice =~ ^[A-Za-z0-9-]+$ ]] || continue
                in_manual "$option ([A-Za-z0-9-]+\\|)*$choice(\\||\\]| |$)" \
                    "the manual page does not name $command $option $choice"
                offers "$choice" brackwen-cli "$command" "$option" "" ||
                    fault "brackwen-cli $command $option <Tab> does not offer $choice"
            done
        elif [[ -z $option && $word =~ ^[a-z]+$ ]]; then
            offers "$word" brackwen-cli "$command" "" || fault "brackwen-cli $command <Tab> does not offer $word"
        fi
        [[ $word != '|' ]] && option=
    done

    if [[ $usage == MAP* ]]; then
        offered=$(completions brackwen-cli "$command" "" | sort | tr '\n' ' ')
        [[ $offered == "B.VDW a.vdm sub " || $offered == "a.vdm B.VDW sub " ]] ||
            fault "brackwen-cli $command <Tab> offers \"$offered\", not the maps and the folder"
    fi
done <<<"$help"

((${#commands[@]} > 0)) || fault "no commands read from --help"
for offered in $(completions brackwen-cli ""); do
    [[ $offered == --help || $offered == --version ]] && continue
    [[ " ${commands[*]} " == *" $offered "* ]] || fault "the completion offers $offered, which --help does not list"
done
[[ $(completions brackwen-cli tr) == transform ]] || fault "brackwen-cli tr<Tab> does not complete to transform alone"

echo "$faults faults"
((faults == 0))
