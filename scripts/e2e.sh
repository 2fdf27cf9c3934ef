#!/bin/sh
# End to end: the real quorvel under Xvfb in a new data directory, driven with
# xdotool like a user (agenda line, bell, page turn, day note, note pad, quit
# with "OK"), then its files checked byte for byte. Then again under a window
# manager (openbox): the windows centred by their frames, none offering to
# maximise, and an alarm typed, minimised and restored before "OK".
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
wm_pid=""
nettoie() {
    # SIGKILL: a SIGTERM would have it save its page while the folder goes.
    [ -n "$quorvel_pid" ] && { kill -KILL "$quorvel_pid" 2>/dev/null; wait "$quorvel_pid" 2>/dev/null; } || true
    [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$travail"
}
trap nettoie EXIT INT TERM

echoue() {
    echo "ÉCHEC e2e : $*"
    echo "--- fichiers :"; ls -l "$travail/donnees" || true
    echo "--- sortie de quorvel :"; cat "$travail/quorvel.log" || true
    if [ -n "$wm_pid" ]; then echo "--- sortie d'openbox :"; cat "$travail/openbox.log" || true; fi
    exit 1
}

# A display of its own, whatever number is free; kept as it is when the last
# program leaves it, so that the window manager can connect right after.
largeur_ecran=1024 hauteur_ecran=768
Xvfb -displayfd 3 -screen 0 "${largeur_ecran}x${hauteur_ecran}x24" -nolisten tcp -noreset \
    3>"$travail/ecran" 2>"$travail/xvfb.log" &
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

demarre() {
    rm -rf "$travail/donnees"; mkdir "$travail/donnees"
    (cd "$travail/donnees" && exec "$programme" >"$travail/quorvel.log" 2>&1) &
    quorvel_pid=$!
    fenetre=$(attend_fenetre '^Quorvel V2.32$') || echoue "la fenêtre principale n'apparaît pas"
    sleep 1
}

attend_fenetre() {
    id=$(timeout 20 xdotool search --sync --onlyvisible --name "$1" | head -n 1)
    [ -n "$id" ] && echo "$id"
}

# "Quitter", then "OK" to the question; the program must end cleanly.
quitte() {
    clic 359 438
    confirmation=$(timeout 10 xdotool search --sync --onlyvisible --name '^Confirmation$' | head -n 1) ||
        echoue "pas de confirmation pour quitter"
    xdotool windowfocus --sync "$confirmation" 2>/dev/null || true
    xdotool key Return
    for _ in $(seq 100); do kill -0 "$quorvel_pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$quorvel_pid" 2>/dev/null && echoue "quorvel ne s'est pas arrêté après « OK »"
    wait "$quorvel_pid" || echoue "quorvel a fini en erreur"
    quorvel_pid=""
}

essai() {
    jour0=$(nom_jour today); jour1=$(nom_jour tomorrow)
    demarre
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
    quitte
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
echo "e2e : tout est en place sans gestionnaire de fenêtres"

command -v openbox >/dev/null 2>&1 || { echo "e2e : openbox absent, essai sous gestionnaire de fenêtres sauté"; exit 0; }
openbox --sm-disable >"$travail/openbox.log" 2>&1 &
wm_pid=$!
for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break; sleep 0.1; done
xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id" || echoue "openbox ne démarre pas"

# Outer rectangle of a framed window, "x y width height": its client area
# widened by the frame the window manager reports.
exterieur() {
    eval "$(xwininfo -id "$1" | awk '/Absolute upper-left X/ {print "x=" $4} /Absolute upper-left Y/ {print "y=" $4}
                                  /Width:/ {print "l=" $2} /Height:/ {print "h=" $2}')"
    cadre=$(xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.*= //p' | tr -d ,)
    [ -n "$cadre" ] || echoue "aucun cadre autour de la fenêtre $1"
    set -- $cadre # left right top bottom
    echo $((x - $1)) $((y - $3)) $((l + $1 + $2)) $((h + $3 + $4))
}
centree() { # quoi x y l h  X Y L H: the first rectangle centred on the second, halves truncated
    [ "$2" -eq $(($6 + ($8 - $4) / 2)) ] && [ "$3" -eq $(($7 + ($9 - $5) / 2)) ] ||
        echoue "$1 n'est pas centrée : $2,$3 ${4}x$5 sur $6,$7 ${8}x$9"
}
sans_agrandir() { # quoi fenetre
    if xprop -id "$2" _NET_WM_ALLOWED_ACTIONS | grep -q MAXIMIZE; then echoue "$1 peut s'agrandir"; fi
}
etat() { xprop -id "$1" WM_STATE | sed -n 's/.*window state: //p'; }
attend_etat() { # fenetre etat
    for _ in $(seq 50); do [ "$(etat "$1")" = "$2" ] && return 0; sleep 0.1; done
    echoue "la fenêtre $1 n'est pas passée à l'état $2"
}
clic_dans() { xdotool mousemove --window "$1" "$2" "$3" click 1; sleep 0.3; }

# The alarm record: time, text, shown flag, repeat flag, date, frequency, sound.
alarme_attendue() { # heure texte affiche repete date son
    printf '%s' "$1"; head -c $((6 - ${#1})) /dev/zero
    printf '%s' "$2"; head -c $((201 - ${#2})) /dev/zero
    printf "\\$(printf %03o "$3")\\$(printf %03o "$4")"
    printf '%s' "$5"; head -c $((11 - ${#5})) /dev/zero
    printf '\000\000'
    printf "\\$(printf %03o ${#6})%s" "$6"; head -c $((60 - ${#6})) /dev/zero
}

# Menu, "Alarme", "+": a time, a text, the text shown, a date instead of a
# repetition; minimised and restored, nothing typed is lost. The alarm is due
# 90 minutes from now, on that instant's date: always ahead, at any hour, across
# midnight and the changes of summer time, so no question about a past alarm.
essai_sous_openbox() {
    echeance=$(date -d '+90 minutes' '+%H:%M %d/%m/%Y')
    heure_alarme=${echeance% *} date_alarme=${echeance#* }
    demarre
    principale=$(exterieur "$fenetre")
    centree "la fenêtre principale" $principale 0 0 $largeur_ecran $hauteur_ecran
    sans_agrandir "la fenêtre principale" "$fenetre"
    clic 240 438
    for _ in $(seq 20); do
        menu=$(xdotool getactivewindow)
        [ "$menu" != "$fenetre" ] && break
        sleep 0.1
    done
    [ "$menu" != "$fenetre" ] || echoue "le menu général n'apparaît pas"
    clic_dans "$menu" 66 60
    liste=$(attend_fenetre "^ALARME D'HORLOGE\$") || echoue "la liste des alarmes n'apparaît pas"
    centree "la liste des alarmes" $(exterieur "$liste") $principale
    sans_agrandir "la liste des alarmes" "$liste"
    clic_dans "$liste" 30 276
    saisie=$(attend_fenetre "^SAISIE DE L'ALARME\$") || echoue "la saisie d'alarme n'apparaît pas"
    centree "la saisie d'alarme" $(exterieur "$saisie") $principale
    sans_agrandir "la saisie d'alarme" "$saisie"
    clic_dans "$saisie" 46 42; xdotool key ctrl+a; tape "$heure_alarme"
    clic_dans "$saisie" 158 114; xdotool key ctrl+a; tape "Arroser les plantes"
    clic_dans "$saisie" 26 158
    clic_dans "$saisie" 26 244
    clic_dans "$saisie" 137 244; xdotool key ctrl+a; tape "$date_alarme"
    xdotool windowminimize "$saisie"
    attend_etat "$saisie" Iconic
    xdotool windowactivate "$saisie" 2>/dev/null || xdotool windowmap "$saisie"
    attend_etat "$saisie" Normal
    sleep 0.5
    clic_dans "$saisie" 158 361
    clic_dans "$liste" 220 276
    clic_dans "$menu" 66 204
    quitte
}

essai_sous_openbox
son="$(cd "$travail/donnees" && pwd -P)/coucou.wav"
[ ${#son} -le 60 ] || son=coucou.wav
alarme_attendue "$heure_alarme" "Arroser les plantes" 1 0 "$date_alarme" "$son" >"$a"; verifie ALARME "$a"
echo "e2e : tout est en place sous openbox"

# The desktop session ends with the planner open: SIGTERM saves the page in
# front as "OK" on quitting does, without asking, and the program ends.
fin_de_session() {
    jour0=$(nom_jour today)
    demarre
    clic 300 196; tape "Rendez-vous"
    clic 100 300; tape "Fin de session"
    kill -TERM "$quorvel_pid"
    for _ in $(seq 100); do kill -0 "$quorvel_pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$quorvel_pid" 2>/dev/null && echoue "quorvel ne s'est pas arrêté sur SIGTERM"
    wait "$quorvel_pid" || echoue "quorvel a fini en erreur sur SIGTERM"
    quorvel_pid=""
    [ "$(nom_jour today)" = "$jour0" ]
}

fin_de_session || { echo "e2e : minuit est passé pendant l'essai, on recommence"; fin_de_session; }
agenda_attendu 2 "Rendez-vous" 0 >"$a"; verifie "$jour0.ENG" "$a"
{ printf 'Fin de session'; printf '\000'; } >"$a"; verifie "$jour0.PAD" "$a"
echo "e2e : la fin de session a tout enregistré"
