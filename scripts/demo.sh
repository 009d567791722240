#!/usr/bin/env bash
# Builds the program, writes the demo installation and starts the program in it.
set -euo pipefail
source_dir="$(cd "$(dirname "$0")/.." && pwd)"
demo_dir="${XDG_DATA_HOME:-$HOME/.local/share}/zemwin-demo"

"$source_dir/scripts/install-deps.sh"
[ -f "$source_dir/build/CMakeCache.txt" ] ||
  cmake -S "$source_dir" -B "$source_dir/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$source_dir/build"
"$source_dir/build/tests/fixtures/make_installation" "$demo_dir" "$source_dir/build/app/zemwin"
cd "$demo_dir"
exec ./ZEMWIN "$@"
