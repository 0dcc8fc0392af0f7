#!/usr/bin/env bash
# The shell completions the package installs: every option a program's --help
# names is completed by its bash and its zsh completion, bash completes options
# and values as a user types them, and the zsh files are valid zsh.
#   completions_test.sh COMPLETIONS_DIR CORVANE CORVANE_EVAL
set -euo pipefail
dir=$1
declare -A programs=([corvane]=$2 [corvane-eval]=$3)
fail() {
    echo "completions_test: $*" >&2
    exit 1
}

for name in "${!programs[@]}"; do
    for option in $("${programs[$name]}" --help | grep -oE -- '--[a-z-]+' | sort -u); do
        for file in "$dir/$name.bash" "$dir/_$name"; do
            grep -qE -- "$option([^a-z-]|$)" "$file" || fail "$file does not complete $option"
        done
    done
    zsh -n "$dir/_$name" || fail "_$name is not valid zsh"
done

# What bash offers for the words typed so far (the last one being completed).
offered() {
    local program=$1
    shift
    bash -c '
        source "$1"
        shift
        COMP_WORDS=("$@")
        COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
        "$(complete -p "$1" | sed "s/.*-F \([^ ]*\) .*/\1/")"
        echo "${COMPREPLY[*]}"' _ "$dir/$program.bash" "$program" "$@"
}
check() {
    local expected=$1
    shift
    local got
    got=$(offered "$@")
    [ "$got" = "$expected" ] || fail "for '$*' bash offers '$got', not '$expected'"
}
check "--skip-existing" corvane --sk
check "--pdf --pdf-dir" corvane --pd
check "1 2 3 4 5" corvane --pdf a.pdf --personality ""
check "--json" corvane-eval --j
check "--ticks" corvane-eval --personality 2 --ti
echo "the bash and zsh completions of both programs name every option of their --help"
