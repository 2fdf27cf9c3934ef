#!/bin/sh
# The real program's command line, before any window: each row gives the
# arguments (as the shell reads them), the exit status and a piece of what it
# writes (standard output then error output). The desk rows run on the
# offscreen platform and are ended by SIGTERM, which it answers with status 0
# once it has set its handlers: on a loaded machine that may take seconds.
# Names with a Latin-1 byte, not valid UTF-8, must reach the files unchanged.
#   tests/e2e/ligne_de_commande.sh path/to/quorvel
set -eu
programme=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
travail=$(mktemp -d)
trap 'rm -rf "$travail"' EXIT INT TERM
echoue() { echo "ÉCHEC ligne de commande : $*"; exit 1; }
export LANG=fr_FR.UTF-8 LC_ALL=fr_FR.UTF-8 XDG_RUNTIME_DIR="$travail"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
n=$(printf '\302\240')
l1=$(printf '\351')
mkdir "$travail/donnees" "$travail/bureau" "$travail/donn${l1}es" "$travail/bur${l1}"

cd "$travail/bureau"
echecs=0
while IFS='|' read -r statut morceau arguments; do
    [ -n "$statut" ] || continue
    eval "set -- $arguments"
    code=0
    timeout --preserve-status -s TERM 8 "$programme" "$@" >"$travail/sortie" 2>&1 || code=$?
    if [ "$code" != "$statut" ] || { [ -n "$morceau" ] && ! grep -qF -- "$morceau" "$travail/sortie"; }; then
        echo "« $arguments » : statut $code au lieu de $statut, ou sans « $morceau » :"
        cat "$travail/sortie"
        echecs=$((echecs + 1))
    fi
done <<FIN
0|Utilisation${n}:|--aide
0|ouvre l'agenda sur le dossier courant, ou sur DOSSIER|--aide
0|quorvel --importe-ical FICHIER.ics|-h
0|affiche la version|--help
0|Quorvel 2.32|--version
0|Quorvel 2.32|-v
0|Quorvel 2.32|-platform offscreen --version
2|quorvel${n}: option inconnue «${n}--nimporte${n}».|--nimporte
2|Essayez «${n}quorvel --aide${n}».|-x
2|quorvel${n}: option inconnue «${n}--nimporte${n}».|--nimporte=3 --aide
2|quorvel${n}: argument inattendu «${n}truc${n}».|truc
2|-platform attend une valeur|-platform
2|--exporte-ical attend un nom de fichier.|--exporte-ical
2|--importe-ical attend un nom de fichier.|--importe-ical ''
2|--donnees attend un nom de dossier.|--exporte-ical a.ics --donnees
2|--importe-ical ou son contraire est donné deux fois|--exporte-ical a.ics --importe-ical b.ics
2|--donnees est donné deux fois|--exporte-ical a.ics --donnees "$travail" --donnees "$travail"
2|argument inattendu «${n}en-trop${n}».|--exporte-ical a.ics en-trop
1|Impossible de lire «${n}$travail/absent.ics${n}»|--importe-ical "$travail/absent.ics" --donnees "$travail/donnees"
0|Exporté dans «${n}$travail/a.ics${n}»|--exporte-ical="$travail/a.ics" --donnees "$travail/donnees"
0|Importé de «${n}$travail/a.ics${n}»|--importe-ical "$travail/a.ics" --donnees "$travail/donnees"
1|Le dossier de données «${n}$travail/absent${n}» n'existe pas.|--importe-ical "$travail/a.ics" --donnees "$travail/absent"
0|Exporté dans «${n}$travail/caf${l1}.ics${n}»|--exporte-ical "$travail/caf${l1}.ics" --donnees "$travail/donnees"
0|Importé de «${n}$travail/caf${l1}.ics${n}»|--importe-ical "$travail/caf${l1}.ics" --donnees "$travail/donn${l1}es"
0||-platform offscreen
0||--platform offscreen --donnees "$travail/bur${l1}"
2|quorvel${n}: le dossier de données «${n}$travail/absent${n}» n'existe pas.|-platform offscreen --donnees "$travail/absent"
2|--donnees est donné deux fois.|--donnees "$travail" --donnees "$travail"
2|--donnees attend un nom de dossier.|--donnees ''
FIN
[ "$echecs" -eq 0 ] || echoue "$echecs lignes"
[ -e "$travail/bureau/PAD.CFG" ] || echoue "le bureau ne s'est pas ouvert sur le dossier courant"
[ -e "$travail/bur${l1}/PAD.CFG" ] || echoue "le bureau ne s'est pas ouvert sur le dossier de --donnees"
[ -s "$travail/caf${l1}.ics" ] || echoue "le nom d'un fichier n'est pas gardé octet pour octet"
echo "ligne de commande : tout est lu comme il faut"
