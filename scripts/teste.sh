#!/bin/sh
# Installs what is needed, builds Quorvel with its tests and runs them all, in
# the world of our users: a French desktop (a test that needs another locale
# says so itself).
set -eu
racine=$(cd "$(dirname "$0")/.." && pwd)
"$racine/scripts/dependances.sh"
construction="$racine/build-tests"
# The benchmarks are built too, not run, so that they never stop building.
cmake -S "$racine" -B "$construction" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUORVEL_TESTS=ON \
    -DQUORVEL_BENCH=ON -DQUORVEL_WERROR=ON >/dev/null
cmake --build "$construction"
cd "$construction"
unset LANGUAGE
LANG=fr_FR.UTF-8 LC_ALL=fr_FR.UTF-8 QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2
