#!/bin/sh
# Builds the whole program and its tests with AddressSanitizer and
# UndefinedBehaviorSanitizer in build-asan and runs every test. Any report
# stops the test that made it, and so fails the run.
# Leak checks are off: Qt, fontconfig and the xcb plugin keep allocations for
# the life of the process, which would drown a real leak in noise.
set -eu
racine=$(cd "$(dirname "$0")/.." && pwd)
construction="$racine/build-asan"
sanitizers="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"

lanceur=""
command -v ccache >/dev/null 2>&1 && lanceur="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"
cmake -S "$racine" -B "$construction" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUORVEL_TESTS=ON \
    $lanceur -DQUORVEL_WERROR=ON -DCMAKE_CXX_FLAGS="$sanitizers" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
cmake --build "$construction"
cd "$construction"
# libfaketime, preloaded by the reminders' test to move the program's clock,
# comes before the sanitizer's runtime: allowed, as it intercepts no allocation.
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1:detect_stack_use_after_return=1:verify_asan_link_order=0 \
UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2 --timeout 900
