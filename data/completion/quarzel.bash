# Bash completion for quarzel and quarzel-cli: commands, options, option values, and file
# names by the extension each place takes. Installed under both names, so that bash
# finds it for either program; it defines the completion of both.

# Adds to COMPREPLY the folders starting with $1 (to go into) and the files starting with
# $1 that match any of the glob patterns after it ('*': every file and folder).
_quarzel_files() {
    local cur=$1 pattern IFS=$'\n'
    shift
    compopt -o filenames 2> /dev/null
    if [[ $1 == '*' ]]; then
        COMPREPLY+=($(compgen -f -- "$cur"))
        return
    fi
    COMPREPLY+=($(compgen -d -- "$cur"))
    for pattern; do
        COMPREPLY+=($(compgen -f -X "!$pattern" -- "$cur"))
    done
}

# Adds to COMPREPLY the words of $2 (separated by spaces) that start with $1.
_quarzel_words() {
    local IFS=$' \t\n'
    COMPREPLY+=($(compgen -W "$2" -- "$1"))
}

# Completes $1 as the value of the option $2 of the command $3; fails when $2 takes none.
_quarzel_cli_value() {
    local cur=$1 option=$2 command=$3
    case $option in
        --format) _quarzel_words "$cur" "text json junit gradescope prairielearn" ;;
        -o | --output | --trace)
            # "-" is standard output.
            _quarzel_words "$cur" "-"
            if [[ $command == assemble ]]; then
                _quarzel_files "$cur" '*.[pP][rR][gG]'
            else
                _quarzel_files "$cur" '*'
            fi
            ;;
        --pc | --max-steps | --test) ;;
        *) return 1 ;;
    esac
}

_quarzel_cli() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    local command=${COMP_WORDS[1]} asm='*.[aA][sS][mM]' prg='*.[pP][rR][gG]' i
    COMPREPLY=()
    if ((COMP_CWORD == 1)); then
        _quarzel_words "$cur" "assemble disassemble run test --help -h --version"
        return
    fi

    # An option's value, after it or after "=": bash makes "=" a word of its own unless
    # COMP_WORDBREAKS lacks it, and then the value's words keep "--option=".
    if [[ $prev == = ]]; then
        _quarzel_cli_value "$cur" "${COMP_WORDS[COMP_CWORD - 2]}" "$command" && return
    elif [[ $cur == --*=* ]]; then
        _quarzel_cli_value "${cur#*=}" "${cur%%=*}" "$command" &&
            COMPREPLY=("${COMPREPLY[@]/#/${cur%%=*}=}") && return
    else
        _quarzel_cli_value "$cur" "$prev" "$command" && return
    fi

    # Options, unless "--" came before.
    local options_ended=
    for ((i = 2; i < COMP_CWORD; i++)); do
        [[ ${COMP_WORDS[i]} == -- ]] && options_ended=1
    done
    if [[ -z $options_ended && $cur == -* ]]; then
        case $command in
            assemble) _quarzel_words "$cur" "-o --output --help --" ;;
            disassemble) _quarzel_words "$cur" "--pc --help --" ;;
            run) _quarzel_words "$cur" "--pc --max-steps --dump -q --quiet --trace --help --" ;;
            test) _quarzel_words "$cur" "--test --format -o --output --help --" ;;
        esac
        return
    fi

    case $command in
        assemble) _quarzel_files "$cur" "$asm" ;;
        disassemble | run) _quarzel_files "$cur" "$asm" "$prg" ;;
        test)
            # The test file comes first; then programs and folders.
            local files=0 value=
            for ((i = 2; i < COMP_CWORD; i++)); do
                case ${COMP_WORDS[i]} in
                    --format | -o | --output | --test) value=1 ;;
                    --*=* | -?*) ;;
                    *) [[ -n $value ]] && value= || files=$((files + 1)) ;;
                esac
            done
            if ((files == 0)); then
                _quarzel_files "$cur" '*.tests.toml'
            else
                _quarzel_files "$cur" "$asm" "$prg"
            fi
            ;;
    esac
}

_quarzel() {
    local cur=${COMP_WORDS[COMP_CWORD]} i
    COMPREPLY=()
    for ((i = 1; i < COMP_CWORD; i++)); do
        [[ ${COMP_WORDS[i]} == -- ]] && break
    done
    if ((i == COMP_CWORD)) && [[ $cur == -* ]]; then
        _quarzel_words "$cur" "--help -h --version --"
        return
    fi
    _quarzel_files "$cur" '*.[aA][sS][mM]' '*.[pP][rR][gG]'
}

complete -F _quarzel_cli quarzel-cli
complete -F _quarzel quarzel
