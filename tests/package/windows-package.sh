#!/usr/bin/env bash
# The Windows installers as Windows meets them: the tables, properties and files of both read with
# msiinfo, then the x86_64 one installed into the Wine test prefix, its Start-menu shortcut and
# uninstall entry checked, the installed program started on a virtual display, and its removal
# checked to leave nothing behind.
#   windows-package.sh WINDOWS_BUILD RELEASE HOME_PAGE UPGRADE_CODE
set -euo pipefail
windows=$1 release=$2 home=$3 upgrade=$4
export WINEPREFIX=$windows/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# The 64-bit loader itself, which Debian keeps off PATH, so that no 32-bit Wine is started.
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
"$(dirname "$0")/../../scripts/wine-prefix.sh" "$WINEPREFIX"
work=$(mktemp -d)
source "$(dirname "$0")/display.sh"
fail() { echo "FAIL: $*" >&2; exit 1; }
rows() { msiinfo export "$1" "$2" | tail -n +4 | tr -d '\r'; } # a table without its three heading lines
property() { rows "$1" Property | awk -F'\t' -v name="$2" '$1 == name { print $2 }'; }
windows_path() { local path=${1//\//\\}; echo "Z:$path"; }
registry() { "$wine" reg query "$@" 2>/dev/null | tr -d '\r'; }

for build in "$windows" "$windows/x64"; do
  msi=$build/zanthera-$release.msi
  [[ -f $msi ]] || fail "no $msi: make windows-package builds it"
  tables=$(msiinfo tables "$msi")
  for table in Directory Component File Feature FeatureComponents Shortcut Icon Registry Upgrade; do
    grep -qx "$table" <<<"$tables" || fail "$msi has no $table table"
  done
  while read -r name want; do
    value=$(property "$msi" "$name")
    [[ $value == "$want" ]] || fail "$msi: $name is '$value', not '$want'"
  done <<PROPERTIES
ProductName Zanthera
ProductVersion $release
UpgradeCode $upgrade
ALLUSERS 1
ARPPRODUCTICON zanthera.ico
ARPURLINFOABOUT $home
PROPERTIES
  rows "$msi" Shortcut | grep -qP '^\w+\tProgramMenuFolder\tZanthera\t\w+\t\[INSTALLDIR\]zanthera\.exe\t.*\tzanthera\.ico\t' ||
    fail "$msi has no Start-menu shortcut with the icon"
  files=$(msiextract -C "$work/$(basename "$build")" "$msi")
  [[ $files == *Zanthera/zanthera.exe && $files != *$'\n'* ]] &&
    cmp -s "$work/$(basename "$build")/$files" "$build/zanthera.exe" ||
    fail "$msi does not hold exactly the built zanthera.exe: $files"
done

msi=$windows/x64/zanthera-$release.msi
code=$(property "$msi" ProductCode)
drive=$WINEPREFIX/drive_c
uninstall="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$code"
# Windows Installer files a product under its code with the characters of each part reversed.
hex=${code//[\{\}-]/} packed=
for part in 0:8 8:4 12:4 16:2 18:2 20:2 22:2 24:2 26:2 28:2 30:2; do
  packed+=$(rev <<<"${hex:${part%:*}:${part#*:}}")
done
# One Wine server for the whole test, and whatever happens the shared prefix is left without
# the program.
cleanup() {
  local status=$?
  set +e
  kill ${app:-} ${xvfb:-} 2>/dev/null
  [[ -z ${installed:-} ]] || "$wine" msiexec /x "$code" /qn &>/dev/null
  wineserver -k
  rm -rf "$work"
  exit "$status"
}
trap cleanup EXIT
wineserver -p
"$wine" msiexec /i "$(windows_path "$msi")" /qn || fail "msiexec /i failed"
installed=1
cmp -s "$drive/Program Files/Zanthera/zanthera.exe" "$windows/x64/zanthera.exe" ||
  fail "the program is not in Program Files\\Zanthera"
# Wine keeps per-machine Start-menu entries in the user's Start menu; Windows in the common one.
shortcut=$(find "$drive" -name Zanthera.lnk -path '*Start Menu/Programs/*')
links=$([[ -f $shortcut ]] && strings -a "$shortcut" && strings -a -el "$shortcut")
grep -qF 'C:\Program Files\Zanthera\zanthera.exe' <<<"$links" &&
  grep -qF "C:\\windows\\Installer\\$code\\zanthera.ico" <<<"$links" ||
  fail "the Start-menu shortcut does not start the program with the key icon"
entry=$(registry "$uninstall")
grep -qP 'DisplayName\s+REG_SZ\s+Zanthera$' <<<"$entry" &&
  grep -qP "DisplayVersion\\s+REG_SZ\\s+$release\$" <<<"$entry" || fail "uninstall entry: $entry"
# The installed programs list shows the product's icon, which Windows Installer keeps.
registry "HKLM\\Software\\Classes\\Installer\\Products\\$packed" /v ProductIcon |
  grep -qF "C:\\windows\\Installer\\$code\\zanthera.ico" &&
  [[ -f $drive/windows/Installer/$code/zanthera.ico ]] || fail "the uninstall entry has no icon"

start_display "$work"
"$wine" 'C:\Program Files\Zanthera\zanthera.exe' &
app=$!
[[ -n $(program_window) ]] || fail "the installed program showed no window"
kill $app
wait $app || true

"$wine" msiexec /x "$code" /qn || fail "msiexec /x failed"
installed=
left=$(find "$drive" \( -path '*/Program Files/Zanthera*' -o -name Zanthera.lnk -o -path "*/Installer/$code*" \))
[[ -z $left ]] || fail "removal left files behind: $left"
! registry "$uninstall" >/dev/null && ! registry 'HKLM\Software\Zanthera' >/dev/null ||
  fail "removal left registry keys behind"
echo "Installed, started and removed $(basename "$msi") cleanly"
