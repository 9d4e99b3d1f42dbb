#!/usr/bin/env bash
# Runs bench_window under a private Xvfb from the folder that holds Data/:
# the game's pacing over 10 s on the main menu and on a screen that draws nothing, then start-up beside a bare SDL2 window (five runs each).
set -u
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-build}
cd "$build"
. "$here/../tests/e2e/lib.sh"
trap e2e_cleanup EXIT
e2e_start_xvfb
./bench/bench_window game "$(date +%s%N)" 10
./bench/bench_window empty "$(date +%s%N)" 10 | grep -v 'first presented'
for i in 1 2 3 4 5; do ./bench/bench_window game "$(date +%s%N)" 0.2 | grep 'first presented'; done
for i in 1 2 3 4 5; do ./bench/bench_window bare "$(date +%s%N)"; done
