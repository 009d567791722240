#!/usr/bin/env bash
# Builds the program, writes the demo installation and starts the program in it.
set -euo pipefail
source_dir="$(cd "$(dirname "$0")/.." && pwd)"
demo_dir="${XDG_DATA_HOME:-$HOME/.local/share}/zemwin-demo"

"$source_dir/scripts/install-deps.sh"
[ -f "$source_dir/build/CMakeCache.txt" ] ||
  cmake -S "$source_dir" -B "$source_dir/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$source_dir/build"
# The demo starts afresh when the shipped table definitions change.
stamp="$(sha256sum "$source_dir/app/instalacion/DATABASE.TXT" | cut -d' ' -f1)"
if [ -d "$demo_dir" ] && [ "$(cat "$demo_dir/DATABASE.STAMP" 2>/dev/null)" != "$stamp" ]; then
  rm -rf "$demo_dir"
fi
"$source_dir/build/tests/fixtures/make_installation" "$demo_dir" "$source_dir/build/app/zemwin"
echo "$stamp" > "$demo_dir/DATABASE.STAMP"
cd "$demo_dir"
exec ./ZEMWIN "$@"
