# bash completion for corvane-eval                         -*- shell-script -*-

_corvane_eval()
{
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    case $prev in
        --personality)
            mapfile -t COMPREPLY < <(compgen -W '1 2 3 4 5' -- "$cur")
            return
            ;;
        --ticks | --scores)
            return
            ;;
    esac
    mapfile -t COMPREPLY < <(compgen -W '--help --version --ticks --scores --personality
        --json --batch' -- "$cur")
}
complete -F _corvane_eval corvane-eval
