#!/usr/bin/env bash
# The Debian package made by CPack from this build: it holds what a desktop
# needs, installs into a private dpkg root, runs from there, and removes
# without a trace.  Usage: package_test.sh BUILD_DIR
set -euo pipefail
build=$1

for tool in cpack dpkg dpkg-deb; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIPPED: $tool is missing; the package test needs Debian's dpkg"
    exit 77
  fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

if ! (cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1); then
  cat "$work/cpack.log"
  fail "cpack could not make the package"
fi
debs=("$work"/out/lumora_*_*.deb)
[ -f "${debs[0]}" ] || fail "no lumora_*.deb in $work/out"
deb=${debs[0]}

listing=$(dpkg-deb -c "$deb" | awk '{print $6}')
for path in usr/bin/lumora usr/bin/lumora-reg usr/bin/lumora-spectrum \
            usr/libexec/xscreensaver/lumora usr/share/xscreensaver/config/lumora.xml \
            usr/share/applications/lumora.desktop usr/share/applications/lumora-display.desktop \
            usr/share/mime/packages/lumora.xml usr/share/icons/hicolor/scalable/apps/lumora.svg \
            usr/share/man/man1/lumora.1 usr/share/man/man1/lumora-reg.1 \
            usr/share/doc/lumora/help/index.html \
            usr/lib/lumora/filters/JPEGIM32.FLT usr/lib/lumora/filters/PCXIMP32.FLT \
            usr/lib/lumora/filters/QTIMP32.FLT; do
  grep -qx "\./$path" <<<"$listing" || fail "the package lacks /$path"
done
depends=$(dpkg-deb -f "$deb" Depends)
grep -q libqt6gui6 <<<"$depends" || fail "Depends does not name Qt: $depends"

# A dpkg database of our own: the machine's packages stay as they are.
root=$work/root
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates" "$root/var/lib/dpkg/triggers"
touch "$root/var/lib/dpkg/status"
dpkg_root=(dpkg --root="$root" --log=/dev/null --force-not-root --force-depends --force-script-chrootless)
"${dpkg_root[@]}" -i "$deb" >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log"; fail "dpkg -i failed"; }

# The hack is the program itself, reached through a link inside the tree.
[ "$(readlink -f "$root/usr/libexec/xscreensaver/lumora")" = "$(readlink -f "$root/usr/bin/lumora")" ] ||
  fail "the hack does not lead to /usr/bin/lumora"
version=$("$root/usr/libexec/xscreensaver/lumora" --version)
[[ $version == lumora\ * ]] || fail "the installed hack printed '$version' for --version"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$root"/usr/share/applications/*.desktop || fail "a desktop entry is not valid"
fi

# The installed program finds the installed filters: a new machine hive
# registers them with their installed paths.
export LUMORA_ROOT=$work/lumora
"$root/usr/bin/lumora-reg" query \
  'HKLM\SOFTWARE\Microsoft\Shared Tools\Graphics Filters\Import\PCX' Path >"$work/path.txt" ||
  fail "no PCX filter registered by the installed programs"
grep -qF "$root/usr/lib/lumora/filters/PCXIMP32.FLT" "$work/path.txt" ||
  fail "the PCX filter is registered as $(cat "$work/path.txt")"

"${dpkg_root[@]}" -r lumora >>"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log"; fail "dpkg -r failed"; }
left=$(cd "$root" && find . -path ./var -prune -o -print | grep -v '^\.$' || true)
[ -z "$left" ] || fail "left after removal: $left"
echo "package $(basename "$deb"): $(wc -l <<<"$listing") entries, installed, ran and removed"
