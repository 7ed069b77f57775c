# bash completion for tintractl: commands, their words and options, files where a file goes.
# Needs nothing but bash (the bash-completion package loads it from its completions folder).
_tintractl()
{
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    local commands="identify get send compare watch record calibrate"
    local i command=""
    for ((i = 1; i < COMP_CWORD; i++)); do
        case ${COMP_WORDS[i]} in
        --tcp | --serial) ((i++)) ;;
        -*) ;;
        *) command=${COMP_WORDS[i]}; break ;;
        esac
    done
    local files words
    case $prev in
    --serial)
        COMPREPLY=($(compgen -f -- "${cur:-/dev/tty}"))
        return ;;
    --tcp | --count | --interval | --values | --set-value | --max-delta) COMPREPLY=(); return ;;
    -o) COMPREPLY=($(compgen -f -- "$cur")); return ;;
    esac
    case $command in
    "") words="--tcp --serial --help $commands" ;;
    get) ((COMP_CWORD == i + 1)) && words="ram eeprom" || words="-o --json --help" ;;
    send | compare) ((COMP_CWORD == i + 1)) && words="ram eeprom" || files=1 ;;
    watch) words="--count --tsv --json --help" ;;
    record) ((COMP_CWORD == i + 1)) && words="values until-stop triggered" || words="--interval --values -o --help" ;;
    calibrate) words="--set-value --max-delta --yes --help" ;;
    *) words="--help" ;;
    esac
    if [[ -n $files ]]; then
        COMPREPLY=($(compgen -f -- "$cur"))
    else
        COMPREPLY=($(compgen -W "$words" -- "$cur"))
    fi
}
complete -o filenames -F _tintractl tintractl
