#!/bin/sh
# Builds the libFuzzer targets with clang in build-fuzz, makes their seeds with
# the program's own writers and runs each for a fixed time. A crash, a leak or a
# broken invariant fails the script; the input that did it is kept in
# build-fuzz/trouvailles/<target>/.
#   scripts/fuzz.sh [seconds per target, default 20]
set -eu
racine=$(cd "$(dirname "$0")/.." && pwd)
duree=${1:-20}
construction="$racine/build-fuzz"
cibles="reglages note agenda saints alarme calcul saisies ical"

cmake -S "$racine" -B "$construction" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DQUORVEL_FUZZ=ON -DQUORVEL_TESTS=OFF -DQUORVEL_WERROR=ON >/dev/null
cmake --build "$construction" --target fuzz

graines="$construction/graines"
rm -rf "$graines"
"$construction/fuzz/graines_fuzz" "$graines"

echec=0
for cible in $cibles; do
    corpus="$construction/corpus/$cible"
    trouvailles="$construction/trouvailles/$cible"
    mkdir -p "$corpus" "$trouvailles"
    echo "== fuzz_$cible ($duree s)"
    if ! UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
        "$construction/fuzz/fuzz_$cible" -max_total_time="$duree" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$trouvailles/" "$corpus" "$graines/$cible" \
        >"$construction/fuzz_$cible.log" 2>&1; then
        echo "ÉCHEC : fuzz_$cible, voir $construction/fuzz_$cible.log et $trouvailles/"
        tail -n 40 "$construction/fuzz_$cible.log"
        echec=1
    else
        grep -E "^stat::number_of_executed_units|^#[0-9]+.*DONE" "$construction/fuzz_$cible.log" | tail -n 2
    fi
done
exit $echec
