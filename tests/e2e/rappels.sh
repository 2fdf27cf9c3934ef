#!/bin/sh
# Reminders that reach the user, with the real quorvel under Xvfb and openbox
# with two desktops, on a private session bus with a real notification server
# (dunst) and the calls recorded by dbus-monitor. The desk's clock is
# libfaketime's, read from a file this script rewrites:
#  - a start after the program was closed shows the alarm missed meanwhile in
#    one board, notified, and plays no sound;
#  - the user goes to desktop 2 and opens a window there; the clock jumps 90
#    minutes (a suspend): the skipped alarm's board opens on desktop 2 above
#    that window, stays above it when the user clicks there, says it is late,
#    and is notified, without a sound hint;
#  - without a session bus the board still shows and nothing is said.
#   tests/e2e/rappels.sh path/to/quorvel
# Exit 77 (skipped) when a tool is missing.
set -eu
programme=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
for outil in Xvfb xdotool xwininfo xprop openbox wmctrl dunst dbus-run-session dbus-monitor xmessage; do
    command -v "$outil" >/dev/null 2>&1 || { echo "rappels : $outil absent, test sauté"; exit 77; }
done
faketime_so=$(ls /usr/lib/*/faketime/libfaketime.so.1 2>/dev/null | head -n 1)
[ -n "$faketime_so" ] || { echo "rappels : libfaketime absente, test sauté"; exit 77; }
# A session bus of our own, gone with the script.
if [ -z "${RAPPELS_BUS_PRIVE:-}" ]; then
    RAPPELS_BUS_PRIVE=1 exec dbus-run-session -- "$0" "$@"
fi

travail=$(mktemp -d)
pids=""
nettoie() {
    for p in $pids; do kill -KILL "$p" 2>/dev/null || true; done
    for p in $pids; do wait "$p" 2>/dev/null || true; done
    rm -rf "$travail"
}
trap nettoie EXIT
trap 'exit 1' INT TERM HUP PIPE

echoue() {
    echo "ÉCHEC rappels : $*"
    echo "--- appels Notify :"; cat "$travail/appels.log" || true
    echo "--- sortie de quorvel :"; cat "$travail/quorvel.log" || true
    exit 1
}

. "$(dirname "$0")/ecran.sh"
mkdir -m 700 "$travail/execution"
XDG_RUNTIME_DIR="$travail/execution"
export DISPLAY XDG_RUNTIME_DIR LANG=fr_FR.UTF-8 LC_ALL=fr_FR.UTF-8
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
openbox --sm-disable >/dev/null 2>&1 &
pids="$pids $!"
for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break; sleep 0.1; done
# Asked again until openbox, still starting, has taken it.
for _ in $(seq 50); do
    wmctrl -n 2 2>/dev/null || true
    [ "$(wmctrl -d 2>/dev/null | wc -l)" -eq 2 ] && break
    sleep 0.2
done
[ "$(wmctrl -d | wc -l)" -eq 2 ] || echoue "openbox n'a pas deux bureaux"

dunst >"$travail/dunst.log" 2>&1 &
pids="$pids $!"
for _ in $(seq 100); do
    dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner \
        string:org.freedesktop.Notifications 2>/dev/null | grep -q true && break
    sleep 0.1
done
dbus-monitor --session "type='method_call',interface='org.freedesktop.Notifications',member='Notify'" \
    >"$travail/appels.log" 2>&1 &
pids="$pids $!"
sleep 0.5

# The alarm record: time, text, shown flag, repeat flag, date, frequency, sound.
alarme() { # heure texte date
    printf '%s' "$1"; head -c $((6 - ${#1})) /dev/zero
    printf '%s' "$2"; head -c $((201 - ${#2})) /dev/zero
    printf '\001\000%s' "$3"; head -c $((11 - ${#3})) /dev/zero
    printf '\000\000\012coucou.wav'; head -c 50 /dev/zero
}
# A local date and time as the program numbers its minutes.
minute_locale() { # AAAA-MM-JJ hh mm
    echo $(($(date -u -d "$1" +%s) / 60 + $2 * 60 + $3))
}
horloge="$travail/horloge"
regle_horloge() { echo "@2026-03-02 $1" >"$horloge"; }

# The last run ended at 09:00; the 09:30 alarm passed while it was closed, the
# 11:00 one is still ahead.
donnees="$travail/donnees"
mkdir "$donnees"
{ alarme 09:30 "Arroser les plantes" 02/03/2026; alarme 11:00 "Appeler Marie" 02/03/2026; } >"$donnees/ALARME"
minute_locale 2026-03-02 9 0 >"$donnees/.alarmes-verifiees"
regle_horloge 10:00:05
(cd "$donnees" && LD_PRELOAD="$faketime_so" FAKETIME_TIMESTAMP_FILE="$horloge" FAKETIME_NO_CACHE=1 \
    FAKETIME_DONT_FAKE_MONOTONIC=1 exec "$programme" >"$travail/quorvel.log" 2>&1) &
quorvel=$!
pids="$pids $quorvel"

# The board: the program's visible window of the board's width.
panneau() {
    for _ in $(seq "$1"); do
        for w in $(xdotool search --onlyvisible --pid "$quorvel" --name '^Quorvel V2.32$' 2>/dev/null); do
            xwininfo -id "$w" 2>/dev/null | grep -q 'Width: 231$' && { echo "$w"; return 0; }
        done
        sleep 0.5
    done
    return 1
}
# The body of the n-th Notify call, its lines joined by "|".
corps() {
    awk -v n="$1" '/member=Notify/ {k++; champ = 0; dans = 0; next}
        k != n {next}
        dans {fin = /"$/; sub(/"$/, ""); printf "|%s", $0; if (fin) exit; next}
        /^   string "/ && ++champ == 4 {
            sub(/^   string "/, ""); fin = /"$/; sub(/"$/, ""); printf "%s", $0
            if (fin) exit; dans = 1
        }' "$travail/appels.log"
}
notifie() { # n corps
    for _ in $(seq 20); do [ "$(corps "$1")" = "$2" ] && return 0; sleep 0.25; done
    echoue "notification $1 : « $(corps "$1") » au lieu de « $2 »"
}

p=$(panneau 40) || echoue "les alarmes passées pendant la fermeture ne sont pas montrées"
nbsp=$(printf '\302\240')
notifie 1 "Alarmes passées pendant que Quorvel était fermé$nbsp:|à 09:30$nbsp: Arroser les plantes"
grep -q libquorvel_son "/proc/$quorvel/maps" && echoue "une alarme passée pendant la fermeture a sonné"
xdotool mousemove --window "$p" 117 130 click 1
for _ in $(seq 20); do panneau 1 >/dev/null || break; done
panneau 1 >/dev/null && echoue "« OK » ne ferme pas le panneau"

# The user works on desktop 2; the machine sleeps through 11:00.
principale=$(xdotool search --onlyvisible --pid "$quorvel" --name '^Quorvel V2.32$' | head -n 1)
wmctrl -s 1
xmessage -name autre -geometry 600x400+200+150 "Autre travail" 2>/dev/null &
pids="$pids $!"
autre=$(timeout 10 xdotool search --sync --onlyvisible --classname '^autre$' | head -n 1) ||
    echoue "la fenêtre de l'autre travail n'apparaît pas"
regle_horloge 11:30:00
# The first tick comes 60 s after the start.
p=$(panneau 160) || echoue "l'alarme sautée par le sommeil ne se montre pas"
bureau() { xprop -id "$1" _NET_WM_DESKTOP | sed -n 's/.* = //p'; }
[ "$(bureau "$p")" = 1 ] || echoue "le panneau est sur le bureau $(bureau "$p"), pas sur le 2"
[ "$(bureau "$principale")" = 0 ] || echoue "la fenêtre principale a quitté le bureau 1"
courant=$(xprop -root _NET_CURRENT_DESKTOP | sed -n 's/.* = //p')
[ "$courant" = 1 ] || echoue "le bureau courant est devenu le $courant"
rang() {
    r=0
    for w in $(xprop -root _NET_CLIENT_LIST_STACKING | sed -n 's/.*# //p' | tr -d ,); do
        r=$((r + 1)); [ $((w)) -eq $(($1)) ] && echo $r
    done
}
[ "$(rang "$p")" -gt "$(rang "$autre")" ] || echoue "le panneau est sous l'autre fenêtre"
# A click on the other window does not bury the board.
xdotool mousemove --window "$autre" 300 200 click 1
xdotool windowraise "$autre"
sleep 0.5
[ "$(rang "$p")" -gt "$(rang "$autre")" ] || echoue "le panneau passe sous l'autre fenêtre"
notifie 2 "En retard$nbsp: alarme prévue à 11:00.|Appeler Marie"
awk '/member=Notify/ {n++} n >= 1' "$travail/appels.log" | grep -q '^   string "Quorvel"$' ||
    echoue "les notifications ne viennent pas de « Quorvel »"
grep -q '"sound-' "$travail/appels.log" && echoue "une indication de son est envoyée"
grep -q '"image-data"' "$travail/appels.log" || echoue "l'icône du programme n'est pas envoyée"
grep -q libquorvel_son "/proc/$quorvel/maps" || echoue "l'alarme en retard n'a pas sonné"
echo "rappels : panneaux sur le bureau de l'utilisateur, notifications reçues"

# No session bus: the board alone, nothing said.
kill -KILL "$quorvel"
minute_locale 2026-03-02 9 0 >"$donnees/.alarmes-verifiees"
regle_horloge 10:00:05
wmctrl -s 0
(cd "$donnees" && env -u DBUS_SESSION_BUS_ADDRESS LD_PRELOAD="$faketime_so" \
    FAKETIME_TIMESTAMP_FILE="$horloge" FAKETIME_NO_CACHE=1 FAKETIME_DONT_FAKE_MONOTONIC=1 \
    "$programme" >"$travail/quorvel.log" 2>&1) &
quorvel=$!
pids="$pids $quorvel"
panneau 40 >/dev/null || echoue "sans bus de session, pas de panneau"
[ "$(grep -c member=Notify "$travail/appels.log")" -eq 2 ] || echoue "une notification sans bus ?"
[ ! -s "$travail/quorvel.log" ] || echoue "sans bus de session, quorvel parle"
echo "rappels : sans bus de session, le panneau seul"
