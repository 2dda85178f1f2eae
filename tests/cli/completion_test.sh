#!/usr/bin/env bash
# The shell completion each program writes: what bash and fish offer for a
# row of partly typed command lines, and that zsh reads its script.
#   completion_test.sh QUORVIK_CLI [QUORVIK]
set -uo pipefail
cli=$1
window=${2:-}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failed=0

# bash: program | typed words (the last one being completed) | what is offered
bash_rows=(
    "quorvik-cli|se|set"
    "quorvik-cli|set --d|--dry-run"
    "quorvik-cli|set Gamm|GammaFloat="
    "quorvik-cli|set GammaFloat = |"
    "quorvik-cli|restore --from |sc1 sc0"
    "quorvik-cli|show --|--help --json"
    "quorvik-cli|--prefix $scratch/fold|$scratch/folder with blanks"
    "quorvik|--p|--prefix"
)
mkdir -p "$scratch/folder with blanks"
"$cli" --completion bash >"$scratch/quorvik-cli.bash" || failed=1
[ -n "$window" ] && { "$window" --completion bash >"$scratch/quorvik.bash" || failed=1; }
for row in "${bash_rows[@]}"; do
    IFS='|' read -r program typed expected <<<"$row"
    [ "$program" = quorvik ] && [ -z "$window" ] && continue
    got=$(PROGRAM=$program TYPED=$typed SCRIPT="$scratch/$program.bash" bash -c '
        source "$SCRIPT"
        read -ra words <<<"$TYPED"
        [[ $TYPED == *" " ]] && words+=("")
        COMP_WORDS=("$PROGRAM" "${words[@]}")
        COMP_CWORD=$(( ${#COMP_WORDS[@]} - 1 ))
        function=$(complete -p "$PROGRAM" | sed -n "s/.*-F \([^ ]*\) .*/\1/p")
        "$function" 2>/dev/null
        IFS=" "; echo "${COMPREPLY[*]}"')
    if [ "$got" != "$expected" ]; then
        echo "bash: $program $typed: offered \"$got\", expected \"$expected\""
        failed=1
    fi
done

if command -v fish >/dev/null; then
    "$cli" --completion fish >"$scratch/quorvik-cli.fish" || failed=1
    fish_rows=("quorvik-cli se|set" "quorvik-cli set --f|--force" "quorvik-cli restore --from s|sc0 sc1")
    for row in "${fish_rows[@]}"; do
        IFS='|' read -r typed expected <<<"$row"
        got=$(fish -c "source $scratch/quorvik-cli.fish; complete -C '$typed'" | cut -f1 | tr '\n' ' ')
        if [ "${got% }" != "$expected" ]; then
            echo "fish: $typed: offered \"${got% }\", expected \"$expected\""
            failed=1
        fi
    done
else
    echo "fish is not installed: its completion is not tried"
fi
if command -v zsh >/dev/null; then
    for program in "$cli" $window; do
        "$program" --completion zsh >"$scratch/_zsh" && zsh -n "$scratch/_zsh" || {
            echo "zsh cannot read the completion of $program"
            failed=1
        }
    done
fi
exit $failed
