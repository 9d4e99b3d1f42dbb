#!/usr/bin/env bash
# End to end: the same play-through as play.sh, on a Wayland desktop through Xwayland.
E2E_XWAYLAND=1 E2E_SHOTS=${E2E_SHOTS:-${TMPDIR:-/tmp}/quillon-e2e-shots}/xwayland \
  exec bash "$(dirname "$0")/play.sh" "$@"
