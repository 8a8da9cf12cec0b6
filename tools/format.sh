#!/usr/bin/env bash
# Formats the tree's C++ files in place with clang-format and the root .clang-format. With --check it
# changes nothing, lists the files that are not formatted and exits with 1 when there are any.
set -euo pipefail
cd "$(dirname "$0")/.."

usage() {
  echo "usage: tools/format.sh [--check]" >&2
  exit 2
}
check=false
case "$#:${1:-}" in
  0:) ;;
  1:--check) check=true ;;
  *) usage ;;
esac

clang_format=${CLANG_FORMAT:-clang-format}
command -v "$clang_format" >/dev/null || { echo "format: $clang_format not found" >&2; exit 1; }

# Tracked files and new ones not yet added; the .rc resource scripts are not C++ and are not matched.
# Files deleted in the working tree but still tracked are left out.
files=()
while IFS= read -r -d '' f; do
  [ -f "$f" ] && files+=("$f")
done < <(git ls-files -z --cached --others --exclude-standard -- '*.h' '*.cpp' | sort -zu)
[ ${#files[@]} -gt 0 ] || exit 0

if ! $check; then
  printf '%s\0' "${files[@]}" | xargs -0 -n 50 "$clang_format" -i --style=file
  exit 0
fi

# One clang-format per file, so that each file that would change is named once.
mapfile -t unformatted < <(printf '%s\0' "${files[@]}" |
  xargs -0 -P "${FORMAT_JOBS:-$(nproc)}" -I{} sh -c \
    '"$0" --dry-run --Werror --style=file "$1" >/dev/null 2>&1 || printf "%s\n" "$1"' "$clang_format" {} |
  sort)
if [ ${#unformatted[@]} -gt 0 ]; then
  echo "format: ${#unformatted[@]} file(s) not formatted (run tools/format.sh):" >&2
  printf '  %s\n' "${unformatted[@]}" >&2
  exit 1
fi
