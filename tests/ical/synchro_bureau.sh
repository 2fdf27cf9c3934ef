#!/bin/sh
# The open desk synchronises by itself: the real quorvel under Xvfb and
# openbox, a real Radicale on loopback, python3-caldav as the other client.
# A line typed on the page reaches the server after its save; what the server
# changes reaches the page shown, and the page's next save keeps it;
# "quorvel --synchronise" is run by the open desk, which asks for the password
# at a click on its mark when it has none; a server that is down puts
# the quiet mark on the page, and a click on it, the server back, takes it away.
# The desk's day is pinned with libfaketime.
#   tests/ical/synchro_bureau.sh path/to/quorvel path/to/outil_ical
# Skipped (77) without Xvfb, openbox, xdotool, ImageMagick, radicale,
# python3-caldav or faketime.
set -eu
quorvel=$(readlink -f "$1")
outil=$(readlink -f "$2")
ici=$(dirname "$(readlink -f "$0")")
for o in Xvfb openbox xdotool import convert radicale faketime; do
    command -v "$o" >/dev/null 2>&1 || { echo "synchro_bureau : $o absent, test sauté"; exit 77; }
done
/usr/bin/python3 -c 'import caldav' 2>/dev/null || exit 77

export TZ=Europe/Paris LANG=fr_FR.UTF-8 LC_ALL=fr_FR.UTF-8
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
# No Secret Service: the desk has the password only from a command.
export DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent
tmp=$(mktemp -d)
travail=$tmp
pids=""
radicale_pid=
quorvel_pid=
trap 'for p in $quorvel_pid $radicale_pid $pids; do kill $p 2>/dev/null || true; done; rm -rf "$tmp"' EXIT
echoue() {
    echo "ÉCHEC synchro_bureau : $*" >&2
    cat "$tmp/rapport" "$tmp/erreurs" "$tmp/quorvel.log" 2>/dev/null >&2 || true
    exit 1
}
echec() { echoue "$@"; }
. "$ici/serveur.sh"
demarre
. "$ici/../e2e/ecran.sh"
openbox --sm-disable >/dev/null 2>&1 &
pids="$pids $!"
for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break; sleep 0.1; done

bureau="$tmp/bureau"
mkdir "$bureau" "$tmp/run"
chmod 700 "$tmp/run"
export XDG_RUNTIME_DIR="$tmp/run"
"$quorvel" --compte-caldav "$url" --utilisateur lucie --donnees "$bureau" </dev/null >/dev/null
autre ajoute r1 20261208T150000 "Réunion"

(cd "$bureau" && exec faketime '2026-12-08 10:00:00' "$quorvel" >"$tmp/quorvel.log" 2>&1) &
quorvel_pid=$!
fenetre=$(timeout 20 xdotool search --sync --onlyvisible --name '^Quorvel V2.32$' | head -n 1) ||
    echoue "la fenêtre principale n'apparaît pas"
xdotool windowactivate --sync "$fenetre" 2>/dev/null || true

synchronise() { # [mot de passe]
    if [ $# -gt 0 ]; then
        echo "$1" | "$quorvel" --synchronise --mot-de-passe-stdin --donnees "$bureau" >"$tmp/rapport" 2>"$tmp/erreurs"
    else
        "$quorvel" --synchronise --donnees "$bureau" </dev/null >"$tmp/rapport" 2>"$tmp/erreurs"
    fi
}
# Dark red pixels where the page's mark is (the window's own coordinates).
marque() {
    import -window "$fenetre" -crop 70x15+47+399 +repage "$tmp/marque.png"
    convert "$tmp/marque.png" -fx '(r>0.4&&g<0.25&&b<0.25)?1:0' -format '%[fx:round(mean*w*h)]' info:
}
attend() { # secondes condition...
    n=$1; shift
    for _ in $(seq $((n * 5))); do "$@" && return 0; sleep 0.2; done
    return 1
}
nb=$(printf '\302\240')
page() { "$outil" montre "$bureau" 8 12 2026; }
contient() { page | grep -qxF -- "$1"; }
serveur_a() { autre liste | grep -qF -- "$1"; }
marque_visible() { [ "$(marque)" -gt 5 ]; }
marque_absente() { [ "$(marque)" -eq 0 ]; }

# The first run, soon after the start, has no password: the mark says so,
# and a command asks the desk rather than writing beside it.
attend 15 marque_visible || echoue "pas de marque sur la page sans mot de passe"
synchronise && echoue "une synchronisation sans mot de passe a réussi"
grep -q "le trousseau du bureau n'a pas de mot de passe pour «${nb}lucie${nb}»" "$tmp/erreurs" ||
    echoue "la commande n'a pas été faite par le bureau ouvert"
# A click on the mark asks for the password: a wrong one is refused, and the
# next click asks again.
boite() {
    for w in $(xdotool search --onlyvisible --name '^Quorvel V2.32$'); do
        [ "$w" != "$fenetre" ] && echo "$w" && return 0
    done
    return 1
}
repond_mot_de_passe() {
    xdotool mousemove --window "$fenetre" 60 406 click 1
    attend 10 boite >/dev/null || echoue "pas de demande de mot de passe au clic sur la marque"
    b=$(boite)
    xdotool windowactivate --sync "$b" 2>/dev/null || true
    xdotool type --delay 60 "$1"
    xdotool key Return
    for _ in $(seq 50); do boite >/dev/null || break; sleep 0.2; done
}
repond_mot_de_passe faux
sleep 3
contient "15h00 Réunion" && echoue "un mauvais mot de passe a synchronisé"
marque_visible || echoue "pas de marque après un mot de passe refusé"
repond_mot_de_passe secret
attend 10 contient "15h00 Réunion" || echoue "la réunion du serveur n'est pas sur la page"
attend 5 marque_absente || echoue "la marque reste après une synchronisation réussie"

# Typed on the page: saved, then sent, with the password the command gave.
xdotool mousemove --window "$fenetre" 300 196 click 1
sleep 0.3
xdotool type --delay 60 "Dentiste"
attend 20 serveur_a "20261208T090000 Dentiste" || echoue "la ligne tapée n'est pas arrivée au serveur"

# Changed on the server while the page is shown: the page takes it, and its
# next save does not put the old text back.
autre renomme "Réunion" "Réunion d'équipe"
synchronise secret || echoue "la synchronisation donnée au bureau a échoué"
grep -q "modifié le 08/12/2026 à 15h00" "$tmp/rapport" || echoue "le rapport ne dit pas le changement"
contient "15h00 Réunion d'équipe" || echoue "le changement du serveur n'est pas dans le fichier"
xdotool type --delay 60 " ou pas"
attend 20 serveur_a "20261208T090000 Dentiste ou pas" || echoue "la suite tapée n'est pas arrivée au serveur"
sleep 3
contient "15h00 Réunion d'équipe" || echoue "la sauvegarde de la page a remis l'ancien texte"
contient "09h00 Dentiste ou pas" || echoue "le texte tapé n'est pas dans le fichier"
serveur_a "20261208T150000 Réunion d'équipe" || echoue "le serveur a perdu le changement de l'autre client"

# The server down: the command says so, the mark shows, nothing local moves.
arrete
cp -r "$bureau" "$tmp/avant"
synchronise && echoue "une synchronisation sans serveur a réussi"
grep -q "Synchronisation interrompue" "$tmp/erreurs" || echoue "pas de message de panne"
attend 5 marque_visible || echoue "pas de marque sur la page, serveur arrêté"
diff -r "$tmp/avant" "$bureau" >/dev/null || echoue "les fichiers ont changé, serveur arrêté"
# Back: a click on the mark runs it again, and the mark goes.
demarre
xdotool mousemove --window "$fenetre" 60 406 click 1
attend 10 marque_absente || echoue "la marque reste après le clic, serveur revenu"
kill -0 "$quorvel_pid" || echoue "le bureau s'est arrêté"
echo "synchro_bureau : le bureau ouvert se synchronise seul, à la demande et après une panne"
