#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks that the programs, the desktop entry
# and the icon land where desktop menus look for them, and that the entry is valid.
set -euo pipefail
build_dir=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build_dir" --prefix "$prefix" > /dev/null

for file in bin/ostrel bin/ostrel-cli share/applications/ostrel.desktop \
            share/icons/hicolor/scalable/apps/ostrel.svg; do
  [ -e "$prefix/$file" ] || { echo "missing after install: $file" >&2; exit 1; }
done
[ -x "$prefix/bin/ostrel" ] && [ -x "$prefix/bin/ostrel-cli" ] || { echo "programs not executable" >&2; exit 1; }

entry="$prefix/share/applications/ostrel.desktop"
grep -qx 'Exec=ostrel' "$entry" && grep -qx 'Icon=ostrel' "$entry" || { echo "entry does not start the viewer with its icon" >&2; exit 1; }
if command -v desktop-file-validate > /dev/null; then
  desktop-file-validate "$entry"
fi
"$prefix/bin/ostrel-cli" --version | grep -q '^ostrel-cli '
echo "install ok"
