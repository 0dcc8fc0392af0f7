# bash completion for corvane                              -*- shell-script -*-

_corvane()
{
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    case $prev in
        --pdf)
            compopt -o filenames
            mapfile -t COMPREPLY < <(compgen -f -- "$cur")
            return
            ;;
        --pdf-dir)
            compopt -o filenames
            mapfile -t COMPREPLY < <(compgen -d -- "$cur")
            return
            ;;
        --personality)
            mapfile -t COMPREPLY < <(compgen -W '1 2 3 4 5' -- "$cur")
            return
            ;;
        --sex)
            mapfile -t COMPREPLY < <(compgen -W '男 女' -- "$cur")
            return
            ;;
        --ticks | --scores | --name | --age)
            return
            ;;
    esac
    mapfile -t COMPREPLY < <(compgen -W '--help --version --batch-window --pdf --pdf-dir --batch
        --ticks --scores --personality --name --sex --age --overwrite --skip-existing' -- "$cur")
}
complete -F _corvane corvane
