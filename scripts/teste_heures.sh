#!/bin/sh
# The suite once more at instants where a test that leaned on the hour it runs
# at would fail: late in the evening, across midnight on New Year's Eve and
# into 29 February, and across both changes of summer time, all in our users'
# time zone. The real programs (quorvel under Xvfb, the launcher, calcurse)
# run under libfaketime, whose clock starts at the instant given and goes on.
# Runs on the build that scripts/teste.sh made.
#   scripts/teste_heures.sh ["AAAA-MM-JJ hh:mm:ss [+hhmm]" ...]  (the offset settles
# the hour that comes twice in October)
set -eu
racine=$(cd "$(dirname "$0")/.." && pwd)
construction="$racine/build-tests"
[ -d "$construction" ] || { echo "Lancez d'abord scripts/teste.sh"; exit 1; }
command -v faketime >/dev/null 2>&1 || { echo "faketime absent : lancez scripts/dependances.sh"; exit 1; }
[ $# -gt 0 ] || set -- "2026-12-07 23:40:00" "2026-12-31 23:59:45" "2028-02-28 23:59:45" \
    "2026-03-29 01:59:45" "2026-10-25 02:59:45 +0200"
cd "$construction"
unset LANGUAGE
export TZ=Europe/Paris LANG=fr_FR.UTF-8 LC_ALL=fr_FR.UTF-8 QT_QPA_PLATFORM=offscreen
for instant in "$@"; do
    echo "=== Tests à l'heure de Paris du $instant"
    # The tests labelled sans_faketime stall under it (they say why) and read no
    # clock but their own; every other test runs.
    faketime -m --exclude-monotonic "$instant" ctest --output-on-failure -j2 -LE sans_faketime
done
