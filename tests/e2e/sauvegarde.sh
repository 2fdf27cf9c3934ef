#!/bin/sh
# Typing reaches its file by itself: the real quorvel under Xvfb and openbox,
# text typed with xdotool in an agenda line, the day note or the note pad, then
# SIGKILL 3 s later, and every character is in its file (Windows-1252).
# With "plein": the data folder on a full tmpfs, SIGTERM ends the program
# within 2 s without a box, and its standard error names the rescue file that
# holds the text.
#   tests/e2e/sauvegarde.sh path/to/quorvel [plein]
# Exit 77 (skipped) when Xvfb, xdotool or openbox is missing, or, with
# "plein", when a tmpfs cannot be mounted (not root).
# xdotool may drop an accented letter typed right after a capital, so the
# texts keep them apart.
set -eu
programme=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
plein=${2:-}
for outil in Xvfb xdotool openbox iconv; do
    command -v "$outil" >/dev/null 2>&1 || { echo "sauvegarde : $outil absent, test sauté"; exit 77; }
done

travail=$(mktemp -d)
pids=""
quorvel_pid=""
nettoie() {
    [ -n "$quorvel_pid" ] && kill -KILL "$quorvel_pid" 2>/dev/null || true
    for p in $pids; do kill "$p" 2>/dev/null || true; done
    mountpoint -q "$travail/donnees" 2>/dev/null && umount -l "$travail/donnees"
    rm -rf "$travail"
}
trap nettoie EXIT
trap 'exit 1' INT TERM HUP

echoue() {
    echo "ÉCHEC sauvegarde : $*"
    echo "--- fichiers :"; ls -l "$travail/donnees" || true
    echo "--- sortie de quorvel :"; cat "$travail/quorvel.log" || true
    exit 1
}

. "$(dirname "$0")/ecran.sh"
XDG_STATE_HOME="$travail/etat"
export DISPLAY XDG_STATE_HOME
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
export LANG=fr_FR.UTF-8 LC_ALL=fr_FR.UTF-8
openbox --sm-disable >/dev/null 2>&1 &
pids="$pids $!"
for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break; sleep 0.1; done

clic() { xdotool mousemove --window "$fenetre" "$1" "$2" click 1; sleep 0.3; }
# The data folder made (or kept when mounted), the program started in it.
demarre() {
    mkdir -p "$travail/donnees"
    (cd "$travail/donnees" && exec "$programme" >"$travail/quorvel.log" 2>&1) &
    quorvel_pid=$!
    fenetre=$(timeout 20 xdotool search --sync --onlyvisible --name '^Quorvel V2.32$' | head -n 1) ||
        echoue "la fenêtre principale n'apparaît pas"
    # Given the focus, and time to settle on a loaded machine before the first click.
    xdotool windowactivate --sync "$fenetre" 2>/dev/null || true
    sleep 2
    # The day the program opened on, from the agenda file it made: right across midnight too.
    jour=$(cd "$travail/donnees" && ls -- *.ENG | sed 's/\.ENG$//')
}
cp1252() { printf '%s' "$1" | iconv -f UTF-8 -t CP1252; }

if [ -n "$plein" ]; then
    mkdir "$travail/donnees"
    mount -t tmpfs -o size=256k tmpfs "$travail/donnees" 2>/dev/null ||
        { echo "sauvegarde : tmpfs refusé (il faut être root), test sauté"; exit 77; }
    demarre
    dd if=/dev/zero of="$travail/donnees/plein" bs=4k 2>/dev/null || true
    clic 100 300; xdotool type --delay 80 "Rendez-vous à 9h"
    # The save made by itself fails meanwhile and its box is open.
    sleep 2
    kill -TERM "$quorvel_pid"
    for _ in $(seq 20); do kill -0 "$quorvel_pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$quorvel_pid" 2>/dev/null && echoue "quorvel vit encore 2 s après SIGTERM"
    quorvel_pid=""
    if xdotool search --onlyvisible --name 'Quorvel' >/dev/null 2>&1; then echoue "une fenêtre est restée"; fi
    secours=$(sed -n 's/.*Votre texte est gardé dans \(.*\)\.$/\1/p' "$travail/quorvel.log")
    case "$secours" in "$XDG_STATE_HOME/quorvel/$jour.PAD-"*.txt) ;; *) echoue "pas de fichier de secours nommé";; esac
    [ "$(cat "$secours")" = "Rendez-vous à 9h" ] || echoue "le fichier de secours garde « $(cat "$secours") »"
    echo "sauvegarde : disque plein, SIGTERM finit sans boîte et garde le texte dans $secours"
    exit 0
fi

# One row a box: where to click (after the Bloc-Notes when "bloc"), what to
# type, the file and the bytes it must hold.
essai() { # x y bloc texte fichier
    rm -rf "$travail/donnees"
    demarre
    [ "$3" = bloc ] && { clic 86 439; sleep 1; }
    clic "$1" "$2"
    xdotool type --delay 80 "$4"
    sleep 3
    kill -KILL "$quorvel_pid"
    wait "$quorvel_pid" 2>/dev/null || true
    quorvel_pid=""
    fichier=$5
    case "$5" in .*) fichier=$jour$5 ;; esac
    case "$5" in
    *.ENG) { cp1252 "$4"; head -c $((806 - $(cp1252 "$4" | wc -c))) /dev/zero; } >"$travail/attendu" ;;
    *) { cp1252 "$4"; printf '\000'; } >"$travail/attendu" ;;
    esac
    cmp "$travail/donnees/$fichier" "$travail/attendu" || {
        od -c "$travail/donnees/$fichier" | head; echoue "$fichier ne garde pas « $4 »"; }
}
essai 300 178 page "Dentiste à 9h, café" .ENG
essai 100 300 page "Anniversaire de Zoé, gâteau" .PAD
essai 150 250 bloc "Courses : pâtes, crème fraîche, œufs" PAD
echo "sauvegarde : tout ce qui a été tapé était dans son fichier 3 s après"
