#!/bin/sh
# The launcher as installed: the menu entry names it by its absolute path; it
# finds its installation through a symbolic link, seeds the data folder without
# replacing the user's files, starts the program there, and in a Wayland
# session puts it on the X11 server unless the user chose a platform. The
# installed program is replaced by a stand-in that reports what it was given.
#   tests/e2e/lanceur.sh <build folder> [cmake]
set -eu
construction=$(cd "$1" && pwd)
cmake=${2:-cmake}
travail=$(mktemp -d)
trap 'rm -rf "$travail"' EXIT INT TERM
echoue() { echo "ÉCHEC lanceur : $*"; exit 1; }

# A prefix with a space, as a home folder can have.
prefixe="$travail/mon préfixe"
"$cmake" --install "$construction" --prefix "$prefixe" >/dev/null
grep -qxF "Exec=\"$prefixe/bin/quorvel-lanceur\"" "$prefixe/share/applications/quorvel.desktop" ||
    echoue "l'entrée du menu ne nomme pas le lanceur installé : $(grep Exec= "$prefixe/share/applications/quorvel.desktop")"
cat >"$prefixe/bin/quorvel" <<'FIN'
#!/bin/sh
echo "${QT_QPA_PLATFORM-absente} $(pwd) $*" >"$RAPPORT"
FIN
mkdir "$travail/ailleurs"
ln -s "$prefixe/bin/quorvel-lanceur" "$travail/ailleurs/agenda"

# One case a line: its name, the session's WAYLAND_DISPLAY, XDG_SESSION_TYPE,
# DISPLAY and QT_QPA_PLATFORM, the XDG_DATA_HOME folder under the home (- for
# unset), and the platform the program must get (absente: none).
while read -r cas wayland session ecran plateforme donnees attendu; do
    [ -n "$cas" ] || continue
    maison="$travail/maison-$cas"
    mkdir -p "$maison"
    set -- HOME="$maison" PATH=/usr/bin:/bin RAPPORT="$travail/rapport"
    [ "$wayland" = - ] || set -- "$@" WAYLAND_DISPLAY="$wayland"
    [ "$session" = - ] || set -- "$@" XDG_SESSION_TYPE="$session"
    [ "$ecran" = - ] || set -- "$@" DISPLAY="$ecran"
    [ "$plateforme" = - ] || set -- "$@" QT_QPA_PLATFORM="$plateforme"
    if [ "$donnees" = - ]; then
        dossier="$maison/.local/share/quorvel"
    else
        dossier="$maison/$donnees/quorvel"
        set -- "$@" XDG_DATA_HOME="$maison/$donnees"
    fi
    # A saints file of the user's own is kept.
    mkdir -p "$dossier"
    printf 'à moi' >"$dossier/SAINT03"
    rm -f "$travail/rapport"
    (cd / && env -i "$@" "$travail/ailleurs/agenda" un deux) || echoue "$cas : le lanceur a échoué"
    [ -f "$travail/rapport" ] || echoue "$cas : le programme n'a pas été lancé"
    [ "$(cat "$travail/rapport")" = "$attendu $dossier un deux" ] ||
        echoue "$cas : reçu « $(cat "$travail/rapport") », attendu « $attendu $dossier un deux »"
    cmp -s "$dossier/SAINT01" "$prefixe/share/quorvel-installation/SAINT01" ||
        echoue "$cas : le dossier de données n'a pas reçu les saints"
    [ "$(cat "$dossier/SAINT03")" = 'à moi' ] || echoue "$cas : un fichier de l'utilisateur a été remplacé"
done <<FIN
wayland           wayland-0 -       :0 -         donnees xcb
session_wayland   -         wayland :0 -         donnees xcb
x11               -         x11     :0 -         donnees absente
choix_wayland     wayland-0 wayland :0 wayland   donnees wayland
choix_offscreen   wayland-0 wayland :0 offscreen -       offscreen
sans_xwayland     wayland-0 wayland -  -         -       absente
FIN
echo "lanceur : installé, lancé par un lien, bonne plateforme"
