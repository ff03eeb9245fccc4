# bash completion for slabrating-cli                        -*- shell-script -*-
# Written from the tool's option table (cli/option_table.cpp) by slabrating-cli-docs.
# Options; the field names after --set (with "="); the load type's codes after LoadType=;
# .qri files (and folders on the way to them, or to rate) as arguments; after an option
# with a value, what that value can be.
# Stands alone: it needs no bash-completion helpers.

_slabrating_cli_files()
{
    local IFS=$'\n'
    compopt -o filenames 2>/dev/null
    COMPREPLY+=($(compgen -d -- "$1") $(compgen -f -X '!*.[qQ][rR][iI]' -- "$1"))
}

_slabrating_cli()
{
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]-}
    local field=""
    COMPREPLY=()

    # With "=" among COMP_WORDBREAKS (the default) bash hands "--set LoadType=1" over
    # as --set LoadType = 1, and the completed word is the text after "=".
    if [[ $cur == = && $COMP_CWORD -ge 2 ]]; then
        field=$prev cur="" prev=${COMP_WORDS[COMP_CWORD-2]}
    elif [[ $prev == = && $COMP_CWORD -ge 3 ]]; then
        field=${COMP_WORDS[COMP_CWORD-2]} prev=${COMP_WORDS[COMP_CWORD-3]}
    fi

    local i
    for ((i = 1; i < COMP_CWORD; i++)); do
        if [[ ${COMP_WORDS[i]} == -- ]]; then
            _slabrating_cli_files "$cur"
            return
        fi
    done

    case $prev in
    --date | --rating-date)
        return
        ;;
    --set)
        if [[ -n $field ]]; then
            [[ $field == LoadType ]] && COMPREPLY=($(compgen -W '0 1 2' -- "$cur"))
        elif [[ $cur == LoadType=* ]]; then
            COMPREPLY=($(compgen -W 'LoadType=0 LoadType=1 LoadType=2' -- "$cur"))
        elif [[ $cur != *=* ]]; then
            COMPREPLY=($(compgen -S = -W 'StructNo Rater Hwy BatchID Comments Bitum
                EffSpan SlabThick StAreaTop StDistTop STAreaBot StDistBot Concfc
                SteelFy ModRatio LoadType' -- "$cur"))
            compopt -o nospace 2>/dev/null
        fi
        return
        ;;
    --save-input)
        _slabrating_cli_files "$cur"
        return
        ;;
    --out | --root)
        local IFS=$'\n'
        compopt -o filenames 2>/dev/null
        COMPREPLY=($(compgen -d -- "$cur"))
        return
        ;;
    --format)
        COMPREPLY=($(compgen -W 'report json' -- "$cur"))
        return
        ;;
    --summary)
        local IFS=$'\n'
        compopt -o filenames 2>/dev/null
        COMPREPLY=($(compgen -d -- "$cur") $(compgen -f -X '!*.@(csv|jsonl)' -- "$cur"))
        return
        ;;
    --inventory)
        local IFS=$'\n'
        compopt -o filenames 2>/dev/null
        COMPREPLY=($(compgen -d -- "$cur") $(compgen -f -X '!*.@(csv)' -- "$cur"))
        return
        ;;
    --posting-policy)
        local IFS=$'\n'
        compopt -o filenames 2>/dev/null
        COMPREPLY=($(compgen -d -- "$cur") $(compgen -f -X '!*.@(toml)' -- "$cur"))
        return
        ;;
    --from | --from0)
        local IFS=$'\n'
        compopt -o filenames 2>/dev/null
        COMPREPLY=($(compgen -f -- "$cur"))
        return
        ;;
    esac

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W '--date --set --save-input --out --root --format --calc
            --summary --inventory --posting-policy --rating-date --from --from0
            --progress --no-progress --help --version --' -- "$cur"))
        return
    fi
    _slabrating_cli_files "$cur"
}

complete -F _slabrating_cli slabrating-cli
