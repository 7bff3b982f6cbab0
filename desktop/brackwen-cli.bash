# Bash completion of brackwen-cli: its commands, each command's options and
# their values, and for each argument the files it takes (maps for a map).
# Stands on its own: it needs nothing of the bash-completion package.

# The options of each command; those that take a value are in _brackwen_cli_valued.
declare -gA _brackwen_cli_options=(
    [info]=''
    [resave]=''
    [resize]=''
    [edges]='--rules --level --only'
    [fill]='--at --terrain --level --rules --all'
    [stats]='--level --sides --json'
    [check]='--level --rules --symmetry --json'
    [generate]='--seed --symmetry --style --water --mix --rough --rivers --roads --level --rules'
    [transform]='--flip --turn --mirror-half --level --all-levels --rules'
    [lod]=''
    [def]=''
    [render]='--level --cell --numbers --defs --lod'
    [obstacles]=''
    [battlefield]='--level'
    [recover]='--until-damage --list --folder'
)
_brackwen_cli_valued=' --rules --level --only --at --terrain --flip --turn --mirror-half --cell --defs --lod --folder --symmetry --sides --seed --style --water --mix --rough --rivers --roads '

# _brackwen_cli_files PATTERN: the files matching PATTERN and every folder, for the word being completed.
_brackwen_cli_files() {
    local IFS=$'\n'
    COMPREPLY+=($(compgen -f -X "!$1" -- "$cur") $(compgen -d -- "$cur"))
}

_brackwen_cli_folders() {
    local IFS=$'\n'
    COMPREPLY+=($(compgen -d -- "$cur"))
}

_brackwen_cli_words() {
    COMPREPLY+=($(compgen -W "$1" -- "$cur"))
}

# The value of option $2 (of command $1), after the option.
_brackwen_cli_value() {
    case $2 in
    --level) _brackwen_cli_words '0 1' ;;
    --only) _brackwen_cli_words 'terrain rivers roads' ;;
    --flip) _brackwen_cli_words 'h v' ;;
    --turn) _brackwen_cli_words '90 180 270' ;;
    --mirror-half) _brackwen_cli_words 'left right top bottom' ;;
    --cell) _brackwen_cli_words '8 16 32 64' ;;
    --symmetry | --sides) _brackwen_cli_words 'none left-right top-bottom four-way half-turn quarter-turn diagonal' ;;
    --style) _brackwen_cli_words 'continent islands lakes coast' ;;
    --mix) _brackwen_cli_words 'temperate northern desert marsh volcanic underground' ;;
    --roads) _brackwen_cli_words 'none players centre' ;;
    --terrain) _brackwen_cli_words 'Dirt Sand Grass Snow Swamp Rough Subterranean Lava Water Rock' ;;
    --rules) _brackwen_cli_files '*.[iI][nN][iI]' ;;
    --lod) _brackwen_cli_files '*.[lL][oO][dD]' ;;
    --defs | --folder) _brackwen_cli_folders ;;
    esac
}

# The argument at position $2 (1 = first after the command) of command $1;
# $3 is the first argument, which chooses the subcommand of lod and def.
_brackwen_cli_argument() {
    local maps='*.[vV][dD][mMwW]'
    case $1:$2 in
    info:1 | resave:[12] | resize:[13] | edges:[12] | fill:[12] | stats:1 | check:1 | generate:[12] | transform:[12] | render:1 | battlefield:1)
        _brackwen_cli_files "$maps" ;;
    render:2) _brackwen_cli_files '*.[pP][nN][gG]' ;;
    lod:1) _brackwen_cli_words 'list extract' ;;
    lod:2) _brackwen_cli_files '*.[lL][oO][dD]' ;;
    lod:4) _brackwen_cli_files '*' ;;
    def:1) _brackwen_cli_words 'export sheet' ;;
    def:2) _brackwen_cli_files '*.[dD][eE][fF]' ;;
    def:3)
        if [[ $3 == sheet ]]; then _brackwen_cli_files '*.[pP][nN][gG]'; else _brackwen_cli_folders; fi ;;
    obstacles:1) _brackwen_cli_files '*.[iI][nN][iI]' ;;
    recover:1) _brackwen_cli_files '*.journal' ;;
    recover:2) _brackwen_cli_files "$maps" ;;
    esac
}

_brackwen_cli() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    COMPREPLY=()
    if ((COMP_CWORD == 1)); then
        _brackwen_cli_words "${!_brackwen_cli_options[*]} --help --version"
        return
    fi
    local command=${COMP_WORDS[1]}
    [[ -v _brackwen_cli_options[$command] ]] || return
    if [[ $_brackwen_cli_valued == *" $prev "* && " ${_brackwen_cli_options[$command]} " == *" $prev "* ]]; then
        _brackwen_cli_value "$command" "$prev"
        return
    fi
    if [[ $cur == -* ]]; then
        _brackwen_cli_words "${_brackwen_cli_options[$command]}"
        return
    fi
    # Count the arguments before this one, leaving out the options and their values.
    local i position=1 first=
    for ((i = 2; i < COMP_CWORD; i++)); do
        local word=${COMP_WORDS[i]}
        if [[ $word == -* ]]; then
            [[ $_brackwen_cli_valued == *" $word "* ]] && ((i++))
            continue
        fi
        ((position == 1)) && first=$word
        ((position++))
    done
    _brackwen_cli_argument "$command" "$position" "$first"
}

complete -o filenames -F _brackwen_cli brackwen-cli
