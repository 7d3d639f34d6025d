#!/usr/bin/env bash
# Checks that the man page and the bash completion of etibarix-cli cover
# every command and option the program itself lists (etibarix-cli --help),
# and every label format number (etibarix-cli formats).
#   check-cli-docs.sh ETIBARIX_CLI MAN_PAGE COMPLETION
set -uo pipefail
cli=$1 man=$2 completion=$3
failures=0
fail() { echo "check-cli-docs: $*" >&2; failures=$((failures + 1)); }

data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT

usage=$("$cli" --dir "$data" --help) || { echo "check-cli-docs: $cli --help failed" >&2; exit 1; }
commands=$(printf '%s\n' "$usage" | sed -n '/^commands:/,$p' | awk 'NR > 1 && NF { print $1 }')
[ -n "$commands" ] || { echo "check-cli-docs: no command listed by $cli --help" >&2; exit 1; }

# The options of the program itself.
for option in $(printf '%s\n' "$usage" | sed '/^commands:/,$d' | grep -o -- '--[a-z0-9-]*' | sort -u); do
  grep -q -- "^\.B.* ${option//-/\\\\-}\b" "$man" || fail "man page: global option $option"
  grep -q -- "compgen -W \"[^\"]*${option}" "$completion" || fail "completion: global option $option"
done

completion_commands=$(grep -o 'local commands="[^"]*"' "$completion" | sed 's/.*="\(.*\)"/\1/')
for command in $commands; do
  line=$(printf '%s\n' "$usage" | awk -v c="$command" '$1 == c')
  # The man page section of the command: from its .SS line to the next section.
  section=$(awk -v c="$command" '
      /^\.S[SH] / { inside = ($0 ~ "^\\.SS \"" c "( |\"|$)") }
      inside' "$man")
  [ -n "$section" ] || fail "man page: no section for the command $command"
  [[ " $completion_commands " == *" $command "* ]] || fail "completion: command $command"
  options=$(printf '%s\n' "$line" | grep -o -- '--[a-z0-9-]*' | sort -u)
  # The options the completion offers after this command.
  offered=$(awk -v c="$command" '
      $0 ~ "^ *" c "\\)" || $0 ~ "^ *" c " \\|" || $0 ~ "\\| " c "[ )]" { print }' "$completion")
  offered=${offered//\$list_options/$(grep -o 'local list_options="[^"]*"' "$completion" | sed 's/.*="\(.*\)"/\1/')}
  for option in $options; do
    printf '%s\n' "$section" | grep -q -- "${option//-/\\\\-}" || fail "man page: $command $option"
    [[ "$offered " == *"$option "* || "$offered" == *"$option\""* ]] || fail "completion: $command $option"
  done
done

# Every format number in the man page's table.
for number in $("$cli" --dir "$data" formats --lang 2 | cut -f2 | sort -n); do
  sed -n '/^\.SH FORMATS/,/^\.TE/p' "$man" | grep -q "^$number	" || fail "man page: format $number"
done

[ "$failures" -eq 0 ] && echo "check-cli-docs: the man page and the completion cover every command and option"
exit $((failures > 0))
