#!/usr/bin/env bash
# End to end: a few starts on a Data/ folder of damaged pictures, every box answered from the
# keyboard; none may hang (`make soak` runs the same starts hundreds of times under the sanitizers).
set -eu
exec bash "$(dirname "$0")/../soak/broken_picture_starts.sh" "$1" "$2" 3 120
