#!/usr/bin/env bash
# The long reading at length, by hand: 35 rounds to the ending page and back
# (over 1,000 turns), every figure tapped three times on every page in both
# directions (over 5,000 taps). Prints turns, taps, wall time and resident
# memory at the start, after the first round and at the end.
#
#   bench/long_reading.sh [PROGRAM [ROUNDS]]
#
# An optimised build is the one to use: build-rel/lumo-book from
#   cmake -S . -B build-rel -G Ninja -DCMAKE_BUILD_TYPE=Release -DLUMO_TESTS=OFF \
#         -DLUMO_BENCH=OFF -DLUMO_ASSETS_BUILD=OFF && cmake --build build-rel --target lumo-book
# with the pictures and recordings of build/ (LUMO_ASSETS). The sanitizer
# build works too, more slowly.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
program=${1:-$here/../build-rel/lumo-book}
rounds=${2:-35}
export LUMO_ASSETS=${LUMO_ASSETS:-$here/../build/assets}
export SDL_AUDIODRIVER=dummy LIBGL_ALWAYS_SOFTWARE=1
exec bash "$here/../tests/e2e/long_reading.sh" "$program" "$rounds" 3 --both
