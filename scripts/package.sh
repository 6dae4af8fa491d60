#!/usr/bin/env bash
# Builds the Debian package (build/marlune_<version>_amd64.deb), then installs the project
# into a scratch root with DESTDIR and checks the layout a desktop and a shell rely on:
# the eight programs and nothing else in bin/, the tables and rooms, the desktop entry and
# its icon, a manual page per program, and the package holding the same files; lintian and
# desktop-file-validate must find nothing to say against the package.
# Usage: bash scripts/package.sh [BUILD_FOLDER]   (default build/, configured if needed)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
build=${1:-build}

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" -j "$(nproc)" >/dev/null
rm -f "$build"/marlune_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
package=$(ls "$build"/marlune_*.deb)

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
DESTDIR="$root" cmake --install "$build" --prefix /usr >/dev/null

failed=0
fail() { echo "package.sh: $*" >&2; failed=1; }

programs="marlune marlune-export marlune-run marlune-score marlune-tune trundel trundel-plot trundel-robot trundel-tune"
[ "$(ls "$root/usr/bin" | tr '\n' ' ')" = "$programs " ] ||
  fail "bin/ holds '$(ls "$root/usr/bin" | tr '\n' ' ')' instead of '$programs '"
for program in $programs; do
  [[ "$("$root/usr/bin/$program" --version)" == "$program "[0-9]* ]] || fail "$program --version does not answer"
  [ -s "$root/usr/share/man/man1/$program.1.gz" ] || fail "no manual page for $program"
done
for file in share/marlune/tables/example.ifi share/marlune/tables/tuned.ifi \
            share/marlune/tables/trundel-evitement.txt share/marlune/tables/trundel-tuned.txt \
            share/marlune/rooms/living-room.txt \
            share/marlune/pictures/icon_128_1.xpm \
            share/applications/marlune.desktop share/icons/hicolor/128x128/apps/marlune.png \
            share/doc/marlune/copyright share/doc/marlune/changelog.gz; do
  [ -s "$root/usr/$file" ] || fail "missing /usr/$file"
done
grep -qx 'Exec=marlune %f' "$root/usr/share/applications/marlune.desktop" || fail "the desktop entry does not start marlune"
# The Python module where Debian's python3 finds it, answering with the package's version.
python_version=$(PYTHONPATH="$root/usr/lib/python3/dist-packages" /usr/bin/python3 -c 'import marlune; print(marlune.__version__)') ||
  fail "python3 cannot import marlune from /usr/lib/python3/dist-packages"
[ -z "${python_version:-}" ] && fail "marlune.__version__ is empty"
grep -qx 'Icon=marlune' "$root/usr/share/applications/marlune.desktop" || fail "the desktop entry names another icon"

# The package must hold exactly what the install rules put in place.
if ! diff <(cd "$root" && find . -type f | sort) \
          <(dpkg-deb -c "$package" | awk '$1 !~ /^d/ {print $6}' | sort) >&2; then
  fail "$package does not hold what cmake --install puts in place"
fi
[ "$(dpkg-deb -f "$package" Package)" = marlune ] || fail "$package is not named marlune"
[ -n "$(dpkg-deb -f "$package" Depends)" ] || fail "$package declares no dependencies"

remarks=$(desktop-file-validate "$root/usr/share/applications/marlune.desktop" 2>&1) && [ -z "$remarks" ] ||
  fail "desktop-file-validate: $remarks"
lintian --fail-on error,warning --tag-display-limit 0 "$package" >&2 || fail "lintian reports errors or warnings on $package"

[ "$failed" = 0 ] || exit 1
echo "package.sh: $package ($(du -k "$package" | cut -f1) kB) installs the expected layout"
