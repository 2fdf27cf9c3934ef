#!/bin/sh
# The launcher's start with the session: "--au-demarrage oui" writes the XDG
# autostart entry that starts the launcher by its absolute path, "non" removes
# it, and neither starts the program. The calendar commands get their file
# names from where they were typed. A stand-in program reports what it gets.
#   tests/ical/au_demarrage.sh <quorvel-lanceur>
set -eu
travail=$(mktemp -d)
trap 'rm -rf "$travail"' EXIT INT TERM
echoue() { echo "ÉCHEC au démarrage : $*"; exit 1; }

# An installation whose path must be quoted in a desktop entry.
bin="$travail/mon \$préfixe/bin"
mkdir -p "$bin" "$travail/maison" "$travail/ici"
cp "$1" "$bin/quorvel-lanceur"
cat >"$bin/quorvel" <<'FIN'
#!/bin/sh
echo "$(pwd) $*" >"$RAPPORT"
FIN
chmod +x "$bin/quorvel" "$bin/quorvel-lanceur"
ln -s "$bin/quorvel-lanceur" "$travail/ici/agenda"

# lance CONFIG ARGUMENTS: the launcher through a link, from $travail/ici, with
# XDG_CONFIG_HOME set to CONFIG (- : unset); its exit code in $code.
lance() {
    config=$1
    shift
    [ "$config" != - ] || config=
    rm -f "$travail/rapport"
    code=0
    (cd "$travail/ici" && env -i HOME="$travail/maison" PATH=/usr/bin:/bin \
        RAPPORT="$travail/rapport" ${config:+"XDG_CONFIG_HOME=$config"} "$travail/ici/agenda" "$@") \
        >"$travail/sortie" 2>&1 || code=$?
}

attendue="[Desktop Entry]
Type=Application
Name=Quorvel
Comment=Les alarmes de Quorvel dès l'ouverture de la session
Exec=\"$travail/mon \\\\\$préfixe/bin/quorvel-lanceur\"
Icon=quorvel
Terminal=false
X-GNOME-Autostart-enabled=true"

# case: name, XDG_CONFIG_HOME (- : unset), the folder the entry goes to
while read -r cas config dossier; do
    [ -n "$cas" ] || continue
    mkdir -p "$dossier"
    printf 'autre' >"$dossier/autre.desktop"
    for fois in 1 2; do
        lance "$config" --au-demarrage oui
        [ "$code" = 0 ] || echoue "$cas : « oui » a échoué : $(cat "$travail/sortie")"
        [ ! -e "$travail/rapport" ] || echoue "$cas : le programme a été lancé"
        [ "$(cat "$dossier/quorvel.desktop")" = "$attendue" ] ||
            echoue "$cas ($fois) : entrée reçue
$(cat "$dossier/quorvel.desktop")"
        [ "$(ls "$dossier")" = "autre.desktop
quorvel.desktop" ] || echoue "$cas : fichiers en trop : $(ls "$dossier")"
    done
    for fois in 1 2; do
        lance "$config" --au-demarrage non
        [ "$code" = 0 ] || echoue "$cas : « non » a échoué : $(cat "$travail/sortie")"
        [ ! -e "$dossier/quorvel.desktop" ] || echoue "$cas : l'entrée est restée"
        [ "$(cat "$dossier/autre.desktop")" = autre ] || echoue "$cas : une autre entrée a changé"
    done
    lance "$config" --au-demarrage peut-être
    [ "$code" = 2 ] || echoue "$cas : un mot inconnu sort en $code"
    grep -q "attend" "$travail/sortie" || echoue "$cas : pas de message : $(cat "$travail/sortie")"
    [ ! -e "$dossier/quorvel.desktop" ] || echoue "$cas : un mot inconnu a écrit l'entrée"
done <<FIN
config_choisie $travail/config $travail/config/autostart
config_par_defaut - $travail/maison/.config/autostart
FIN

# The calendar commands' files, from where they were typed.
lance - --exporte-ical sortie.ics --donnees "$travail/d" un
[ "$(cat "$travail/rapport")" = "$travail/maison/.local/share/quorvel --exporte-ical $travail/ici/sortie.ics --donnees $travail/d un" ] ||
    echoue "commande de calendrier : reçu « $(cat "$travail/rapport") »"
lance - --importe-ical ../a.ics --donnees d
[ "$(cat "$travail/rapport")" = "$travail/maison/.local/share/quorvel --importe-ical $travail/ici/../a.ics --donnees $travail/ici/d" ] ||
    echoue "commande de calendrier : reçu « $(cat "$travail/rapport") »"
echo "au démarrage : entrée écrite et retirée, programme non lancé, fichiers nommés d'où l'on tape"
