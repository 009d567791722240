#!/usr/bin/env bash
# Builds the program, writes the demo installation and starts the program in it.
set -euo pipefail
source_dir="$(cd "$(dirname "$0")/.." && pwd)"
demo_dir="${XDG_DATA_HOME:-$HOME/.local/share}/zemwin-demo"

# Without a screen the program could not show its first window.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "El programa necesita una pantalla: inícielo en una sesión gráfica (DISPLAY o WAYLAND_DISPLAY)." >&2
  exit 1
fi

"$source_dir/scripts/install-deps.sh"
[ -f "$source_dir/build/CMakeCache.txt" ] ||
  cmake -S "$source_dir" -B "$source_dir/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$source_dir/build"
# The demo starts afresh when the shipped table definitions change.
stamp="$(sha256sum "$source_dir/app/instalacion/DATABASE.TXT" | cut -d' ' -f1)"
if [ -d "$demo_dir" ] && [ "$(cat "$demo_dir/DATABASE.STAMP" 2>/dev/null)" != "$stamp" ]; then
  rm -rf "$demo_dir"
fi

# The settings files keep the user's edits: the shipped defaults replace them
# only when missing or when the defaults themselves change.
settings=(ZEMWIN.INI INSTALACION.CFG MOTORBD.CFG REGISTRO.CFG)
kept="$(mktemp -d)"
trap 'rm -rf "$kept"' EXIT
for file in "${settings[@]}"; do
  [ ! -f "$demo_dir/$file" ] || cp -p "$demo_dir/$file" "$kept/$file"
done
"$source_dir/build/tests/fixtures/make_installation" "$demo_dir" "$source_dir/build/app/zemwin"
mkdir -p "$demo_dir/.defaults"
for file in "${settings[@]}"; do
  shipped="$(sha256sum "$demo_dir/$file" | cut -d' ' -f1)"
  if [ -f "$kept/$file" ] && [ "$(cat "$demo_dir/.defaults/$file" 2>/dev/null)" = "$shipped" ]; then
    cp -p "$kept/$file" "$demo_dir/$file"
  else
    echo "$shipped" > "$demo_dir/.defaults/$file"
  fi
done
# The help map names the suite's programs, on which the users master sets rights.
cp "$source_dir/app/instalacion/ZEMWIN.MAP" "$demo_dir/ZEMWIN.MAP"
# The collations as an SQLite extension, for opening the data files in sqlite3.
ln -sf "$source_dir/build/app/libzemcollation.so" "$demo_dir/libzemcollation.so"
# The suite's helper for the desktop's mail program and document printing.
ln -sf "$source_dir/build/app/zemlext" "$demo_dir/zemlext"
# The backup runner the scheduled backup task starts.
ln -sf "$source_dir/build/app/dexowin" "$demo_dir/dexowin"
echo "$stamp" > "$demo_dir/DATABASE.STAMP"
cd "$demo_dir"
exec ./ZEMWIN "$@"
