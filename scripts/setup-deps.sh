#!/usr/bin/env bash
# Installs, once, every Debian package the build, the run command and the tests need.
# Safe to run again: it only calls apt when something is missing.
set -euo pipefail

need_native=(cmake g++ make ninja-build googletest libgtest-dev libbenchmark-dev clang libclang-rt-14-dev
             g++-mingw-w64-i686 binutils-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
             wine64 libcups2
             wine wine32:i386 fonts-wine xvfb xauth x11-utils xdotool imagemagick python3 libx11-dev libxext-dev
             lhasa cups printer-driver-cups-pdf libcups2:i386 poppler-utils fonts-liberation)

missing=()
for p in "${need_native[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
export DEBIAN_FRONTEND=noninteractive
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "setup-deps: missing packages (${missing[*]}); run as root to install them" >&2
    exit 1
  fi
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The 32-bit Wine needs a kernel that runs i386 programs. Some kernels have that switched off
# ("32-bit emulation disabled"); there qemu's user-mode emulator is registered for i386 programs
# (flag F: the emulator is opened now, so it also serves programs in other mount namespaces).
i386_runs() { /lib/ld-linux.so.2 --version >/dev/null 2>&1; }
if ! i386_runs; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "setup-deps: this kernel does not run 32-bit programs; run as root to set up qemu-user-static" >&2
    exit 1
  fi
  echo "setup-deps: the kernel does not run 32-bit programs; registering qemu's i386 emulator"
  if ! dpkg-query -W -f='${Status}' qemu-user-static 2>/dev/null | grep -q 'install ok installed'; then
    apt-get update -q
    apt-get install -y -q --no-install-recommends qemu-user-static
  fi
  [ -e /proc/sys/fs/binfmt_misc/register ] || mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
  if [ ! -e /proc/sys/fs/binfmt_misc/qemu-i386 ]; then
    printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' \
      > /proc/sys/fs/binfmt_misc/register
  fi
  if ! i386_runs; then
    echo "setup-deps: 32-bit programs still do not run; Wine tests cannot run here" >&2
    exit 1
  fi
fi
