#!/usr/bin/env bash
# The Windows installers, both read row by row with msiinfo; the x86_64 one (the loop's last)
# installed under Wine, its program started, and removed leaving nothing behind.
#   windows-package.sh WINDOWS_BUILD RELEASE HOME_PAGE UPGRADE_CODE
set -euo pipefail
windows=$1 release=$2 home=$3 upgrade=$4
export WINEPREFIX=$windows/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=$(command -v wine64 || echo /usr/lib/wine/wine64) # Debian keeps the 64-bit loader off PATH
work=$(mktemp -d)
trap 'status=$?; set +e; kill ${app:-} 2>/dev/null; [[ -z ${installed:-} ]] || "$wine" msiexec /x \
  "$code" /qn; wineserver -k; kill ${xvfb:-} 2>/dev/null; rm -rf "$work"; exit $status' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
rows() { (cd "$work" && msiinfo export "$1" "$2") | tr -d '\r'; } # streams land in $work
registry() { "$wine" reg query "$@" 2>/dev/null | tr -d '\r' | awk '{ $1 = $1 } 1'; }

for build in "$windows Intel" "$windows/x64 x64 64"; do
  read -r folder platform bits <<<"$build"
  msi=$folder/zanthera-$release.msi
  while IFS='|' read -r table row; do
    rows "$msi" "$table" | grep -qP "$row" || fail "$msi: no $table row like $row"
  done <<ROWS
_SummaryInformation|^7\t$platform;1033$
Property|^ProductName\tZanthera$
Property|^ProductVersion\t\Q$release\E$
Property|^UpgradeCode\t\Q$upgrade\E$
Property|^ALLUSERS\t1$
Property|^ARPPRODUCTICON\tzanthera\.ico$
Property|^ARPURLINFOABOUT\t\Q$home\E$
Upgrade|^\Q$upgrade\E\t\t\Q$release\E\t
Directory|^INSTALLDIR\tProgramFiles${bits}Folder\tZanthera$
File|^zanthera\.exe\t\w+\tzanthera\.exe\t$(stat -c %s "$folder/zanthera.exe")\t
Shortcut|^\w+\tProgramMenuFolder\tZanthera\t\w+\t\[INSTALLDIR\]zanthera\.exe\t.*\tzanthera\.ico\t
ROWS
done

code=$(rows "$msi" Property | awk -F'\t' '$1 == "ProductCode" { print $2 }')
drive=$WINEPREFIX/drive_c icon="C:\\windows\\Installer\\$code\\zanthera.ico"
uninstall="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$code"
# Every Wine process here, msiexec's too, uses the test's display: a Wine desktop started without
# one outlives its process a moment, and a program started then can make no window.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null & xvfb=$!
for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.05; done
export DISPLAY=:$(head -n1 "$work/display")
wineserver -k 2>/dev/null || true
"$wine" msiexec /i "Z:${msi//\//\\}" /qn && installed=1 || fail "msiexec /i failed"
cmp "$drive/Program Files/Zanthera/zanthera.exe" "$folder/zanthera.exe" || fail "stale MSI"
# Wine keeps per-machine Start-menu entries in the user's Start menu; Windows in the common one.
link=$(find "$drive" -path '*/Start Menu/Programs/Zanthera.lnk' -exec cat {} + | tr -d '\0')
[[ $link == *'C:\Program Files\Zanthera\zanthera.exe'*"$icon"* ]] &&
  [[ -f $drive/windows/Installer/$code/zanthera.ico ]] || fail "no Start-menu entry with the icon"
entry=$(registry "$uninstall"; registry 'HKLM\Software\Classes\Installer\Products' /s)
[[ $(grep -cxF -e "DisplayName REG_SZ Zanthera" -e "DisplayVersion REG_SZ $release" \
  -e "ProductIcon REG_SZ $icon" <<<"$entry") == 3 ]] || fail "uninstall entry: $entry"

"$wine" 'C:\Program Files\Zanthera\zanthera.exe' 2>"$work/program.log" & app=$!
[[ -n $(timeout 20 xdotool search --sync --onlyvisible --name '^Zanthera ver 0.1$') ]] ||
  fail "the installed program showed no window: $(cat "$work/program.log")"
kill $app && wait $app || true

"$wine" msiexec /x "$code" /qn && installed= || fail "msiexec /x failed"
[[ -z $(find "$drive" -path '*/Zanthera*' -o -path "*/$code*") ]] &&
  ! registry "$uninstall" >/dev/null && ! registry 'HKLM\Software\Zanthera' >/dev/null ||
  fail "removal left files or registry keys behind"
