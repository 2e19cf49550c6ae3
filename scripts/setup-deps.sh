#!/usr/bin/env bash
# Installs, once, every Debian package the build, the run command and the tests need.
# Safe to run again: it only calls apt when something is missing.
set -euo pipefail

need_native=(cmake g++ make ninja-build googletest libgtest-dev libbenchmark-dev clang libclang-rt-14-dev
             g++-mingw-w64-i686 binutils-mingw-w64-i686
             wine wine32:i386 fonts-wine xvfb xauth x11-utils xdotool imagemagick python3
             lhasa cups printer-driver-cups-pdf libcups2:i386 poppler-utils fonts-liberation)

missing=()
for p in "${need_native[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "setup-deps: missing packages (${missing[*]}); run as root to install them" >&2
  exit 1
fi
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${missing[@]}"
