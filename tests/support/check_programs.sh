#!/usr/bin/env bash
# Keeps tests/programs.txt true: every program it lists is installed, and every
# absolute program path the tests name (/usr/bin/X, /bin/X) is listed. A missing
# program is reported with the package that brings it, so no test has to skip.
# usage: check_programs.sh [ROOT]
set -u
ROOT=${1:-$(cd "$(dirname "$0")/../.." && pwd)}
LIST="$ROOT/tests/programs.txt"
status=0
declare -A listed
while read -r program package _; do
  case "$program" in ''|'#'*) continue ;; esac
  listed[$program]=$package
  if [ ! -x "$program" ]; then
    echo "missing: $program (Debian package $package; scripts/setup.sh test installs it)"
    status=1
  fi
done < "$LIST"

# Programs the test sources run: a /usr/bin or /bin path handed to a runner.
while IFS= read -r program; do
  [ -n "${listed[$program]+x}" ] && continue
  [ -n "${listed[/usr$program]+x}" ] && continue
  where=$(grep -rlF --include='*.cpp' --include='*.h' --include='*.sh' --include='*.txt' \
          --exclude=programs.txt "\"$program\"" "$ROOT/tests" | head -1)
  echo "unlisted: $program is run by ${where#$ROOT/} but not named in tests/programs.txt"
  status=1
done < <(grep -rhE --include='*.cpp' --include='*.h' '(RunProcess|Convert|exec[lv]p?e?|popen|system)\(' "$ROOT/tests" \
           | grep -oE '"(/usr)?/bin/[A-Za-z0-9_+.-]+"' | tr -d '"' | sort -u)

[ $status -eq 0 ] && echo "programs: ${#listed[@]} listed, all installed"
exit $status
