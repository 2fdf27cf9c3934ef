#!/bin/sh
# The CalDAV password through a real Secret Service: gnome-keyring on a private
# D-Bus session keeps it and gives it back by account; without any Secret
# Service the lookup says none at once, without a word and without a crash;
# one that never answers is given up after 25 s.
#   tests/ical/secret.sh <outil_secret>
set -eu
for c in dbus-run-session gnome-keyring-daemon; do
    command -v $c >/dev/null 2>&1 || { echo "$c absent : test sauté"; exit 77; }
done
outil=$1
echoue() { echo "ÉCHEC secret : $*"; exit 1; }
# Seconds of the kernel's uptime: under a faked clock each new process starts
# again at the faked instant, and `date` would measure nothing.
secondes() { cut -d. -f1 /proc/uptime; }
url=https://agenda.exemple.fr/dav/zoé/
if [ "${2:-}" != "dans-la-session" ]; then
    travail=$(mktemp -d)
    trap 'rm -rf "$travail"' EXIT INT TERM
    # 1. No Secret Service at all.
    for action in lit garde; do
        debut=$(secondes)
        rc=0
        echo secret | DBUS_SESSION_BUS_ADDRESS=unix:path=$travail/aucun "$outil" $action "$url" zoé \
            >"$travail/sortie" 2>&1 || rc=$?
        [ $rc -eq 1 ] || echoue "$action sans service : code $rc"
        [ ! -s "$travail/sortie" ] || echoue "$action sans service : $(cat "$travail/sortie")"
        [ $(($(secondes) - debut)) -le 5 ] || echoue "$action sans service : trop lent"
    done
    # 2. The rest in a session of its own, with a keyring of its own.
    mkdir -m 700 "$travail/home" "$travail/run"
    HOME=$travail/home XDG_RUNTIME_DIR=$travail/run XDG_DATA_HOME=$travail/home/data \
        dbus-run-session -- "$0" "$outil" dans-la-session
    exit $?
fi
# In the foreground, so that it is ours to stop by its number.
printf 'essai' >"$HOME/mdp"
gnome-keyring-daemon --foreground --unlock --components=secrets <"$HOME/mdp" >"$HOME/env" 2>/dev/null &
demon=$!
trap 'kill $demon 2>/dev/null || true' EXIT
for _ in $(seq 50); do
    dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner \
        string:org.freedesktop.secrets 2>/dev/null | grep -q 'boolean true' && break
    sleep 0.1
done
eval "$(sed 's/^/export /' "$HOME/env")"
! "$outil" lit "$url" zoé >/dev/null || echoue "un mot de passe avant d'en garder un"
printf 'mot de passe été\n' | "$outil" garde "$url" zoé || echoue "garde zoé"
printf 'autre\r\n' | "$outil" garde "$url" "Zoé Lefèvre" || echoue "garde Zoé Lefèvre"
[ "$("$outil" lit "$url" zoé)" = "mot de passe été" ] || echoue "relu pour zoé : $("$outil" lit "$url" zoé)"
[ "$("$outil" lit "$url" "Zoé Lefèvre")" = "autre" ] || echoue "relu pour Zoé Lefèvre"
printf 'nouveau' | "$outil" garde "$url" zoé || echoue "remplace"
[ "$("$outil" lit "$url" zoé)" = "nouveau" ] || echoue "remplacé : $("$outil" lit "$url" zoé)"
! "$outil" lit https://autre.fr/ zoé >/dev/null || echoue "un mot de passe pour une autre adresse"
if command -v secret-tool >/dev/null 2>&1; then
    secret-tool search --all xdg:schema fr.quorvel.CalDAV 2>&1 | grep -qxF "label = Quorvel – zoé sur $url" ||
        echoue "étiquette : $(secret-tool search --all xdg:schema fr.quorvel.CalDAV 2>&1)"
fi

# 3. A Secret Service that never answers (a prompt nobody sees): the lookup
# gives up after its delay, as if there were none. Not under a libfaketime
# that fakes the monotonic clock too: it stretches timed waits (50 s here).
if [ -n "${FAKETIME:-}" ] && [ "${FAKETIME_DONT_FAKE_MONOTONIC:-0}" != 1 ]; then
    echo "secret : ok (service muet non essayé sous une horloge monotone truquée)"
    exit 0
fi
kill $demon; wait $demon 2>/dev/null || true
/usr/bin/python3 - >"$HOME/muet.log" 2>&1 <<'PY' &
import dbus, dbus.mainloop.glib
from gi.repository import GLib
dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()
bus.add_message_filter(lambda b, m: 0 if m.get_destination() == b.get_unique_name() and
                       m.get_type() == 1 else 1)  # method calls: handled, never answered
bus.request_name("org.freedesktop.secrets")
GLib.MainLoop().run()
PY
demon=$!
for _ in $(seq 50); do
    dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner \
        string:org.freedesktop.secrets 2>/dev/null | grep -q 'boolean true' && break
    sleep 0.1
done
debut=$(secondes)
rc=0
"$outil" lit "$url" zoé >"$HOME/sortie" 2>&1 || rc=$?
duree=$(($(secondes) - debut))
[ $rc -eq 1 ] && [ ! -s "$HOME/sortie" ] || echoue "service muet : code $rc, $(cat "$HOME/sortie")"
[ $duree -ge 20 ] && [ $duree -le 40 ] || echoue "service muet : abandon après $duree s"
echo "secret : ok"
