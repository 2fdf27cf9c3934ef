#!/bin/sh
# Start-up of the real quorvel against a bare Qt program, both under one Xvfb
# in the same run, alternated N times; medians of the time to the window and to
# the end of start-up work, peak memory; then one minute of idling quorvel.
# The floor (bench/nu/plancher.cpp) is measured with them: the splash and the
# day page's text and controls alone, with nothing else of the program.
#   bench/mesure_demarrage.sh <build folder> [N=15] [idle seconds=60] [other build folder]
# The build folder needs quorvel (Release) and bench/nu (QUORVEL_BENCH=ON). The
# quorvel of another build (an older one, say) can be measured in the same run.
set -eu
construction=$(cd "$1" && pwd)
n=${2:-15}
repos=${3:-60}
quorvel="$construction/app/quorvel"
nu="$construction/bench/nu/programme_nu"
plancher="$construction/bench/nu/plancher"
chrono="$construction/bench/nu/chrono_fenetre"
autre=${4:+$(cd "$4" && pwd)/app/quorvel}
for f in "$quorvel" "$nu" "$plancher" "$chrono" ${autre:+"$autre"}; do [ -x "$f" ] || { echo "absent : $f"; exit 1; }; done

travail=$(mktemp -d)
xvfb_pid=""
trap '[ -n "$xvfb_pid" ] && kill "$xvfb_pid"; rm -rf "$travail"' EXIT INT TERM
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$travail/ecran" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 50); do [ -s "$travail/ecran" ] && break; sleep 0.1; done
DISPLAY=":$(cat "$travail/ecran")"
export DISPLAY
unset QT_QPA_PLATFORM
export LC_ALL=C.UTF-8

# A year of use: a day note and a day agenda for each of the last 365 days and
# the settings; the first start purges the 175 days from 179 to 5 days back.
modele="$travail/modele"
mkdir "$modele"
for i in $(seq 0 364); do
    cle=$(date -d "today - $i days" +%d_%m_%y)
    printf 'Note du jour %s\000' "$i" >"$modele/$cle.PAD"
    { printf 'Rendez-vous %s' "$i"; head -c $((806 - 12 - ${#i})) /dev/zero; } >"$modele/$cle.ENG"
done
(cd "$modele" && timeout 20 "$chrono" 411 455 "$quorvel" >/dev/null)  # writes PAD.CFG and SAINTnn

mediane() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

: >"$travail/q1"; : >"$travail/q2"; : >"$travail/nu"; : >"$travail/plancher"; : >"$travail/autre"
for i in $(seq "$n"); do
    rm -rf "$travail/d"; cp -a "$modele" "$travail/d"
    (cd "$travail/d" && "$chrono" 411 455 "$quorvel") >>"$travail/q1"    # with the purge
    (cd "$travail/d" && "$chrono" 411 455 "$quorvel") >>"$travail/q2"    # already purged
    (cd "$travail/d" && "$chrono" 411 455 "$nu") >>"$travail/nu"
    (cd "$travail/d" && "$chrono" 411 455 "$plancher") >>"$travail/plancher"
    [ -z "$autre" ] || (cd "$travail/d" && "$chrono" 411 455 "$autre") >>"$travail/autre"
done

colonne() { awk -v c="$2" '{ print $c }' "$travail/$1" | mediane; }
rapport() { awk -v q="$1" -v n="$2" 'BEGIN { printf "%.2f", q / n }'; }
nu_fenetre=$(colonne nu 1); nu_repos=$(colonne nu 2); nu_rss=$(colonne nu 3)
echo "Démarrage, médianes de $n essais (ms jusqu'à la fenêtre, ms jusqu'au repos, Mo au plus) :"
printf '%-34s %8s %8s %8s %8s\n' "" fenêtre repos "Mo max" "× nu"
for cas in "q1:quorvel, 1er démarrage (purge)" "q2:quorvel, démarrage suivant" \
    "plancher:plancher (splash et page seuls)" "nu:Qt nu (une fenêtre vide)" \
    "autre:autre quorvel, démarrage suivant"; do
    f=${cas%%:*}; nom=${cas#*:}
    [ -s "$travail/$f" ] || continue
    fe=$(colonne "$f" 1); re=$(colonne "$f" 2); rss=$(colonne "$f" 3)
    printf '%-34s %8.1f %8.1f %8.1f %4s / %s\n' "$nom" "$fe" "$re" "$(rapport "$rss" 1024)" \
        "$(rapport "$re" "$nu_repos")" "$(rapport "$rss" "$nu_rss")"
done
echo "(× nu : temps jusqu'au repos / mémoire, rapport au programme nu ; cible ≤ 1,5)"

if [ "$repos" -gt 0 ]; then
    cpu=$(cd "$travail/d" && "$chrono" --repos "$repos" 411 455 "$quorvel")
    echo "Au repos pendant $repos s (deux horloges, deux minuteries) : $cpu % d'un cœur (cible < 0,5 %)"
fi
