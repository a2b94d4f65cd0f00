#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need; nothing when all are
# there already. Runs apt-get as root, or through sudo for an ordinary user.
#   install-deps.sh           the Linux program
#   install-deps.sh windows   also the Windows cross-compilers, the installer tools and Wine
#   install-deps.sh win32     also 32-bit Wine, run through qemu user emulation
#   install-deps.sh wine32    also 32-bit Wine, where the kernel runs 32-bit programs itself
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-base-private-dev qt6-translations-l10n
  libgl-dev libx11-dev libxtst-dev
  python3-fonttools locales-all
  libgtest-dev googletest
  clang libclang-rt-14-dev
  xvfb xdotool xclip x11-utils xauth
  weston libweston-10-dev qt6-wayland
  fonts-noto-core fonts-farsiweb
  librsvg2-bin dpkg-dev file desktop-file-utils appstream lintian man-db
)
case "${1:-}" in
  windows | win32 | wine32)
    packages+=(gcc-mingw-w64-i686-win32 g++-mingw-w64-i686-win32
      gcc-mingw-w64-x86-64-win32 g++-mingw-w64-x86-64-win32
      wine wine64 fonts-wine fonts-dejavu-core wixl msitools icoutils) ;;&
  win32)
    packages+=(qemu-user-static binfmt-support wine32:i386) ;;
  wine32)
    packages+=(wine32:i386) ;;
esac

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
as_root=()
if [[ $(id -u) -ne 0 ]]; then
  command -v sudo >/dev/null || { echo "Need root or sudo to install: ${missing[*]}" >&2; exit 1; }
  as_root=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
if [[ " ${missing[*]} " == *":i386 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${as_root[@]}" dpkg --add-architecture i386
fi
"${as_root[@]}" apt-get update -q
"${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
