#!/usr/bin/env bash
# Installs, once, every Debian package the build, the run command and the tests need.
# Safe to run again: it only calls apt when something is missing.
set -euo pipefail

# What the build, the run command and the tests need. (The fuzz build's clang is not among them;
# the README says what it needs.) Of MinGW-w64 only the posix thread model, which the toolchain
# files name. wine32 comes before wine, whose dependency it satisfies, so that the 64-bit Wine is
# not pulled in where it is not used.
need=(cmake g++ make ninja-build googletest libgtest-dev libbenchmark-dev
      g++-mingw-w64-i686-posix binutils-mingw-w64-i686
      wine32:i386 wine fonts-wine libcups2 libcups2:i386 xvfb xauth x11-utils xdotool imagemagick python3
      libx11-dev libxext-dev
      lhasa cups printer-driver-cups-pdf poppler-utils fonts-liberation)
# Only where the kernel runs 32-bit programs through an emulator: the 64-bit build and Wine, which
# the commands use there instead (see below).
need_64=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine64)

export DEBIAN_FRONTEND=noninteractive
updated=""
install_missing() {
  local p missing=()
  for p in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$p")
    fi
  done
  [ ${#missing[@]} -gt 0 ] || return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "setup-deps: missing packages (${missing[*]}); run as root to install them" >&2
    exit 1
  fi
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  if [ -z "$updated" ]; then
    apt-get update -q
    updated=yes
  fi
  # (dpkg unpacks without a disk sync after each file: a first installation writes over 1 GB.)
  apt-get install -y -q --no-install-recommends -o Dpkg::Options::=--force-unsafe-io "${missing[@]}"
}
install_missing "${need[@]}"

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
  install_missing qemu-user-static
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
if [ -e /proc/sys/fs/binfmt_misc/qemu-i386 ] && grep -qx enabled /proc/sys/fs/binfmt_misc/qemu-i386; then
  install_missing "${need_64[@]}"
fi
