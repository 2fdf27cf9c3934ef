#!/bin/sh
# End to end: the real quorvel under Xvfb in a new data directory, driven with
# xdotool like a user (agenda line, bell, page turn, day note, note pad, quit
# with "OK"), then its files checked byte for byte.
#   scripts/e2e.sh path/to/quorvel
# Exit 77 (skipped) only when Xvfb or xdotool is missing.
set -eu
programme=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
for outil in Xvfb xdotool; do
    command -v "$outil" >/dev/null 2>&1 || { echo "e2e : $outil absent, test sauté"; exit 77; }
done

travail=$(mktemp -d)
xvfb_pid=""
quorvel_pid=""
nettoie() {
    [ -n "$quorvel_pid" ] && kill "$quorvel_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$travail"
}
trap nettoie EXIT INT TERM

echoue() {
    echo "ÉCHEC e2e : $*"
    echo "--- fichiers :"; ls -l "$travail/donnees" || true
    echo "--- sortie de quorvel :"; cat "$travail/quorvel.log" || true
    exit 1
}

# A display of its own, whatever number is free.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$travail/ecran" 2>"$travail/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 50); do [ -s "$travail/ecran" ] && break; sleep 0.1; done
[ -s "$travail/ecran" ] || echoue "Xvfb ne démarre pas"
DISPLAY=":$(cat "$travail/ecran")"
export DISPLAY
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
# Our users run a French desktop.
export LANG=fr_FR.UTF-8 LC_ALL=fr_FR.UTF-8

# Days as the program names its files; a run across midnight is run again.
nom_jour() { date -d "$1" +%d_%m_%y; }

# Clicks at a point of the main window's client area.
clic() { xdotool mousemove --window "$fenetre" "$1" "$2" click 1; sleep 0.3; }
double_clic() { xdotool mousemove --window "$fenetre" "$1" "$2" click --repeat 2 --delay 80 1; sleep 0.3; }
tape() { xdotool type --delay 30 "$1"; sleep 0.3; }

# Expected agenda record: slot k's text at 61*(k-1), zero-terminated, bells at 793+k-1.
agenda_attendu() { # k texte cloche(0/1)
    k=$1; texte=$2
    head -c $((61 * (k - 1))) /dev/zero
    printf '%s' "$texte"
    head -c $((793 - 61 * (k - 1) - ${#texte} + k - 1)) /dev/zero
    if [ "$3" = 1 ]; then printf '\001'; else printf '\000'; fi
    head -c $((13 - k)) /dev/zero
}

verifie() { # fichier attendu
    [ -f "$travail/donnees/$1" ] || echoue "$1 absent"
    cmp "$travail/donnees/$1" "$2" || {
        od -c "$travail/donnees/$1" | head -20
        echoue "$1 n'a pas le contenu attendu"
    }
}

essai() {
    rm -rf "$travail/donnees"; mkdir "$travail/donnees"
    jour0=$(nom_jour today); jour1=$(nom_jour tomorrow)
    (cd "$travail/donnees" && exec "$programme" >"$travail/quorvel.log" 2>&1) &
    quorvel_pid=$!
    fenetre=$(timeout 30 xdotool search --sync --onlyvisible --name '^Quorvel V2.32$' | head -n 1) ||
        echoue "la fenêtre principale n'apparaît pas"
    sleep 1
    # The sound system is not loaded by the start, only by the first sound.
    if grep -q libquorvel_son "/proc/$quorvel_pid/maps"; then echoue "module son chargé au démarrage"; fi

    # Today: the 08h00 line, its bell, a day note.
    clic 300 178; tape "Dentiste 9h"
    double_clic 240 176
    clic 100 300; tape "Penser au pain"
    # The corner turns to tomorrow, saving today.
    clic 377 405
    # The page turn's sound loaded the sound module.
    grep -q libquorvel_son "/proc/$quorvel_pid/maps" || echoue "le changement de page n'a pas chargé le module son"
    clic 300 196; tape "Garage"
    # The note pad (saves tomorrow's page), then quit with "OK".
    clic 86 439
    tape "Courses : lait, oeufs"
    clic 359 438
    confirmation=$(timeout 10 xdotool search --sync --onlyvisible --name '^Confirmation$' | head -n 1) ||
        echoue "pas de confirmation pour quitter"
    xdotool windowfocus --sync "$confirmation" 2>/dev/null || true
    xdotool key Return
    for _ in $(seq 100); do kill -0 "$quorvel_pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$quorvel_pid" 2>/dev/null && echoue "quorvel ne s'est pas arrêté après « OK »"
    wait "$quorvel_pid" || echoue "quorvel a fini en erreur"
    quorvel_pid=""
    [ "$(nom_jour today)" = "$jour0" ]
}

essai || { echo "e2e : minuit est passé pendant l'essai, on recommence"; essai; }

a="$travail/attendu"
agenda_attendu 1 "Dentiste 9h" 1 >"$a"; verifie "$jour0.ENG" "$a"
{ printf 'Penser au pain'; printf '\000'; } >"$a"; verifie "$jour0.PAD" "$a"
agenda_attendu 2 "Garage" 0 >"$a"; verifie "$jour1.ENG" "$a"
printf '\000' >"$a"; verifie "$jour1.PAD" "$a"
{ printf 'Courses : lait, oeufs'; printf '\000'; } >"$a"; verifie PAD "$a"
[ "$(wc -c <"$travail/donnees/PAD.CFG")" -eq 241 ] || echoue "PAD.CFG n'a pas 241 octets"
echo "e2e : tout est en place"
