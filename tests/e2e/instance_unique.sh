#!/bin/sh
# One quorvel per data folder, with the real program under Xvfb: a second start
# on a folder in use brings the first window forward and ends without writing
# anything; a frozen first one gets the French message instead; a killed one
# does not block the next start; two folders run side by side. With openbox
# installed the first window is also minimised and must come back.
#   tests/e2e/instance_unique.sh path/to/quorvel
# Exit 77 (skipped) only when Xvfb or xdotool is missing.
set -eu
programme=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
for outil in Xvfb xdotool xwininfo; do
    command -v "$outil" >/dev/null 2>&1 || { echo "instance : $outil absent, test sauté"; exit 77; }
done

travail=$(mktemp -d)
pids=""
nettoie() {
    # SIGKILL: a SIGTERM would have them save their page while the folder goes.
    for p in $pids; do kill -KILL "$p" 2>/dev/null || true; done
    for p in $pids; do wait "$p" 2>/dev/null || true; done
    rm -rf "$travail"
}
trap nettoie EXIT
trap 'exit 1' INT TERM HUP PIPE

echoue() {
    echo "ÉCHEC instance : $*"
    echo "--- sortie des programmes :"; cat "$travail/quorvel.log" || true
    exit 1
}

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$travail/ecran" 2>"$travail/xvfb.log" &
pids="$!"
for _ in $(seq 50); do [ -s "$travail/ecran" ] && break; sleep 0.1; done
[ -s "$travail/ecran" ] || echoue "Xvfb ne démarre pas"
DISPLAY=":$(cat "$travail/ecran")"
mkdir -m 700 "$travail/execution"
XDG_RUNTIME_DIR="$travail/execution"
export DISPLAY XDG_RUNTIME_DIR
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
export LANG=fr_FR.UTF-8 LC_ALL=fr_FR.UTF-8
gestionnaire=""
if command -v openbox >/dev/null 2>&1; then
    openbox >/dev/null 2>&1 &
    pids="$pids $!"
    gestionnaire=oui
    sleep 1
fi

# Starts quorvel in a folder; its pid in $pid.
lance() {
    (cd "$1" && exec "$programme" >>"$travail/quorvel.log" 2>&1) &
    pid=$!
    pids="$pids $pid"
}
fenetre_de() { # pid [titre]
    timeout 30 xdotool search --all --sync --onlyvisible --pid "$1" --name "^${2:-Quorvel V2.32}\$" |
        head -n 1
}
# Names, kinds, sizes, times, modes and bytes of every file of a folder.
cliche() {
    (cd "$1" && find . -printf '%p %y %s %T@ %m\n' | sort && find . -type f -exec md5sum {} + | sort)
}
visible() { xwininfo -id "$1" | grep -q 'Map State: IsViewable'; }
gere() { xprop -id "$1" WM_STATE 2>/dev/null | grep -q 'window state'; } # framed by the manager
a_le_focus() { # window: it or one of its own children has the focus
    focus=$(xdotool getwindowfocus)
    [ "$focus" = "$1" ] || xwininfo -children -id "$1" | grep -q "^ *$(printf '0x%x' "$focus") "
}
au_dessus() { # window other: the first is stacked over the second (listed top first)
    xwininfo -root -children | awk -v a="$(printf '0x%x' "$1")" -v b="$(printf '0x%x' "$2")" \
        '$1 == a { print "oui"; exit } $1 == b { exit }' | grep -q oui
}

mkdir "$travail/a" "$travail/b"
lance "$travail/a"; pid_a=$pid
fenetre_a=$(fenetre_de "$pid_a") || echoue "la fenêtre du dossier a n'apparaît pas"
lance "$travail/b"; pid_b=$pid
fenetre_b=$(fenetre_de "$pid_b") || echoue "deux dossiers ne tournent pas côte à côte"
sleep 1

# The import is refused while the program is open on the folder, and changes nothing.
printf 'BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Essai//FR\r\nEND:VCALENDAR\r\n' \
    >"$travail/vide.ics"
avant=$(cliche "$travail/a")
statut=0
"$programme" --importe-ical "$travail/vide.ics" --donnees "$travail/a" >"$travail/import" 2>&1 ||
    statut=$?
[ "$statut" -eq 1 ] && grep -qF "Quorvel est ouvert sur ce dossier" "$travail/import" ||
    echoue "import pendant que le programme est ouvert : statut $statut, $(cat "$travail/import")"
[ "$(cliche "$travail/a")" = "$avant" ] || echoue "l'import refusé a touché au dossier"

# The first window behind the other one. A window manager lets it be
# minimised and then refuses the focus to no one; without one, the X server
# gives the focus only to the latest asker, so there the stacking is checked.
if [ -n "$gestionnaire" ]; then
    # The manager takes a loaded machine's time to frame a new window, and
    # ignores a request to minimise one it does not manage yet: ask again.
    for _ in $(seq 50); do
        gere "$fenetre_a" && gere "$fenetre_b" && break
        sleep 0.1
    done
    xdotool windowactivate --sync "$fenetre_b" 2>/dev/null || true
    for _ in $(seq 25); do
        xdotool windowminimize "$fenetre_a"
        sleep 0.2
        visible "$fenetre_a" || break
    done
    visible "$fenetre_a" && echoue "la fenêtre n'a pas pu être réduite"
else
    xdotool windowraise "$fenetre_b"
    au_dessus "$fenetre_b" "$fenetre_a" || echoue "la fenêtre b n'a pas pu passer devant"
fi
avant=$(cliche "$travail/a")
# Unanswered, the second start would show its message and stay until the
# timeout: ending at once with status 0 means the first one answered.
(cd "$travail/a" && timeout 20 "$programme" >>"$travail/quorvel.log" 2>&1) ||
    echoue "le second démarrage a fini en erreur ($?)"
sleep 1
[ "$(cliche "$travail/a")" = "$avant" ] || echoue "le second démarrage a touché au dossier"
kill -0 "$pid_a" || echoue "le premier programme s'est arrêté"
visible "$fenetre_a" || echoue "la fenêtre réduite n'est pas revenue"
if [ -n "$gestionnaire" ]; then
    a_le_focus "$fenetre_a" || echoue "la fenêtre n'a pas reçu le clavier"
else
    au_dessus "$fenetre_a" "$fenetre_b" || echoue "la fenêtre n'est pas passée au premier plan"
fi
[ "$(xdotool search --onlyvisible --name '^Quorvel V2.32$' | wc -l)" -eq 2 ] ||
    echoue "une fenêtre de trop"

# A first program that no longer answers: the second says so, in French.
kill -STOP "$pid_a"
lance "$travail/a"; pid_c=$pid
message=$(fenetre_de "$pid_c") || echoue "pas de message quand le premier ne répond pas"
# "OK" as soon as the box takes keys.
for _ in $(seq 50); do
    kill -0 "$pid_c" 2>/dev/null || break
    xdotool windowactivate --sync "$message" 2>/dev/null || xdotool windowfocus "$message" 2>/dev/null || true
    xdotool key Return
    sleep 0.2
done
statut=0
wait "$pid_c" || statut=$?
[ "$statut" -eq 1 ] || echoue "après le message, statut $statut au lieu de 1"
[ "$(cliche "$travail/a")" = "$avant" ] || echoue "le message a touché au dossier"
kill -CONT "$pid_a"

# Killed outright: its lock goes with it, the next start is a first one, and
# a later start reaches that one despite the socket the killed one left.
kill -KILL "$pid_a"
wait "$pid_a" 2>/dev/null || true
lance "$travail/a"; pid_a=$pid
fenetre_de "$pid_a" >/dev/null || echoue "un programme tué bloque le démarrage suivant"
sleep 1
kill -0 "$pid_a" || echoue "le démarrage après un programme tué s'est arrêté"
(cd "$travail/a" && timeout 20 "$programme" >>"$travail/quorvel.log" 2>&1) ||
    echoue "après un programme tué, le second démarrage a fini en erreur ($?)"
echo "instance : un seul programme par dossier"
