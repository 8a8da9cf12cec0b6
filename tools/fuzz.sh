#!/usr/bin/env bash
# Runs one fuzz target for a while from its committed seeds, building the fuzz tree (clang, AddressSanitizer +
# UBSan) first when needed.
#   fuzz.sh TARGET [SECONDS [LIBFUZZER-OPTIONS...]]   e.g. fuzz.sh fuzz_scene_file 600 -jobs=4
#   fuzz.sh --list                                    the targets
# New inputs collect in build/fuzz/work/TARGET/corpus across runs; a finding is written beside it and its path
# printed. The exit code is the fuzzer's: 0 when nothing was found.
set -euo pipefail
cd "$(dirname "$0")/.."

seed_folders() { find tests/fuzz -type d -path '*/corpus/*' -prune | sort; }

if [ "${1:-}" = "--list" ]; then
  seed_folders | xargs -n1 basename
  exit 0
fi
target=${1:?usage: fuzz.sh TARGET [SECONDS [LIBFUZZER-OPTIONS...]] | --list}
seconds=${2:-600}
shift $(( $# < 2 ? $# : 2 ))

seeds=$(seed_folders | grep "/corpus/$target\$" || true)
[ -n "$seeds" ] || { echo "fuzz.sh: no target named $target (see fuzz.sh --list)" >&2; exit 2; }

tools/setup.sh
cmake --preset fuzz >/dev/null
cmake --build build/fuzz --target "$target"
program=$(find build/fuzz/tests/fuzz -type f -name "$target" -perm -u+x | head -n1)
work=build/fuzz/work/$target
mkdir -p "$work/corpus"
exec "$program" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
  -artifact_prefix="$work/" "$@" "$work/corpus" "$seeds"
