#!/usr/bin/env bash
# End to end: the same play-through as play.sh, on a Wayland desktop through Xwayland.
# Frames come slower there (software rendering copied once more), so keys are held longer.
E2E_XWAYLAND=1 E2E_KEY_DELAY=${E2E_KEY_DELAY:-240} E2E_SHOTS=${E2E_SHOTS:-${TMPDIR:-/tmp}/quillon-e2e-shots}/xwayland \
  exec bash "$(dirname "$0")/play.sh" "$@"
