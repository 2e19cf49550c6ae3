#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's prefix (CTest's emulator for the cross
# build). The caller provides DISPLAY; the prefix is created on first use.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
if [ -z "${DISPLAY:-}" ]; then
  echo "wine-exec: no DISPLAY; run the tests through scripts/test.sh" >&2
  exit 2
fi
zelvo_wine_prefix
exec wine "$@"
