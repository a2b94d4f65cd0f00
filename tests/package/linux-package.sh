#!/usr/bin/env bash
# The .deb as a user's system meets it: made by CPack from the build tree, unpacked into a scratch
# root, its control fields, file list, menu entry and AppStream data checked with Debian's and
# freedesktop's own tools and lintian, and the unpacked program started under Xvfb.
#   linux-package.sh BUILD_DIR APP_ID RELEASE HOME_PAGE WINDOW_CLASS
set -euo pipefail
build=$1 id=$2 release=$3 home=$4 class=$5
work=$(mktemp -d)
trap 'kill ${app:-} ${xvfb:-} 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" ||
  { cat "$work/cpack.log"; fail "cpack could not make the package"; }
arch=$(dpkg --print-architecture)
deb=$work/out/zanthera_${release}_$arch.deb
[[ -f $deb ]] || fail "no $(basename "$deb") among: $(ls "$work/out")"

dpkg --info "$deb" control >"$work/control"
while read -r name pattern; do
  value=$(sed -n "s/^$name: //p" "$work/control")
  [[ $value == $pattern ]] || fail "$name is '$value', not $pattern"
done <<FIELDS
Package zanthera
Version $release
Architecture $arch
Homepage $home
Section utils
Maintainer *<*@*>
Depends *libc6*libqt6widgets6*
Description ?*
FIELDS
echo "Depends: $(sed -n 's/^Depends: //p' "$work/control")"

root=$work/root
dpkg -x "$deb" "$root"
icons=usr/share/icons/hicolor
expected=(usr/bin/zanthera usr/share/applications/$id.desktop usr/share/metainfo/$id.metainfo.xml
  usr/share/man/man1/zanthera.1.gz usr/share/man/ar/man1/zanthera.1.gz
  usr/share/doc/zanthera/copyright usr/share/doc/zanthera/changelog.gz
  usr/share/doc/zanthera/guide.ar.md $icons/scalable/apps/$id.svg)
for size in 16 24 32 48 64 128 256; do
  expected+=("$icons/${size}x$size/apps/$id.png")
  file "$root/$icons/${size}x$size/apps/$id.png" | grep -q "PNG image data, $size x $size," ||
    fail "the ${size}px icon is not a $size x $size PNG"
done
diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$root" && find . -type f | cut -c3- | sort) ||
  fail "the package holds other files than the expected ones (< missing, > unexpected)"

# Both manual pages format without a word from man or groff, the Arabic one in Arabic.
for page in man1 ar/man1; do
  text=$(MANWIDTH=80 man --warnings -E UTF-8 -l "$root/usr/share/man/$page/zanthera.1.gz" \
    2>"$work/man.log") && [[ ! -s $work/man.log ]] || fail "manual page $page: $(<"$work/man.log")"
  [[ $page == man1 || $text == *الوصف* ]] || fail "the manual page in $page is not the Arabic one"
done

desktop=$root/usr/share/applications/$id.desktop
report=$(desktop-file-validate "$desktop" 2>&1) && [[ -z $report ]] || fail "desktop entry: $report"
grep -qx "StartupWMClass=$class" "$desktop" && grep -qx "Icon=$id" "$desktop" ||
  fail "the desktop entry names another window class or icon"
report=$(appstreamcli validate --no-net --pedantic "$root/usr/share/metainfo/$id.metainfo.xml" 2>&1) &&
  ! grep -qE '^[EWIP]: ' <<<"$report" || fail "AppStream data: $report"

lintian --no-tag-display-limit "$deb" >"$work/lintian.log" 2>&1 || true
grep -E '^[EWIN]: ' "$work/lintian.log" || true
! grep -q '^E: ' "$work/lintian.log" || fail "lintian reports errors"

# The unpacked program shows its window, carrying the class its menu entry names.
export XDG_RUNTIME_DIR=$work
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.05; done
export DISPLAY=:$(head -n1 "$work/display")
"$root/usr/bin/zanthera" &
app=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Zanthera ver 0.1$' | head -n1)
[[ -n $window ]] || fail "the installed program showed no window"
wm_class=$(xprop -id "$window" WM_CLASS)
[[ $wm_class == *"\"zanthera\", \"$class\"" ]] || fail "window class is $wm_class"
echo "The installed program's window $window shows, $wm_class"
