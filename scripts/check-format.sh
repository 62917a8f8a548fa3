#!/usr/bin/env bash
# Fails when a source file differs from what clang-format makes of it (the project's .clang-format).
# To mend: clang-format -i on the files it names.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -z -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h' |
  xargs -0 clang-format --dry-run -Werror
