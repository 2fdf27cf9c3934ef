#!/bin/sh
# A real calendar program on both sides of the file. The planner's export is
# imported into calcurse, whose own listing must show the appointments of a day
# with their times and texts (and its records the bells); then calcurse's own
# export of appointments it was given is imported into an empty data folder.
#   tests/ical/calcurse.sh <outil_ical>
set -eu
command -v calcurse >/dev/null 2>&1 || { echo "calcurse absent : test sauté"; exit 77; }
outil=$1
travail=$(mktemp -d)
trap 'rm -rf "$travail"' EXIT INT TERM
echoue() { echo "ÉCHEC calcurse : $*"; exit 1; }
# calcurse reads and writes UTF-8 only under a UTF-8 locale.
LC_ALL=C.UTF-8
export LC_ALL
unset TZ
# The no-break space the planner keeps before a colon.
insecable=$(printf '\302\240')

# calcurse DIR ARGS: never waits for a terminal.
cc() {
    dossier=$1
    shift
    calcurse -D "$dossier" "$@" </dev/null
}
compare() { # name, got, expected
    [ "$2" = "$3" ] || echoue "$1 :
--- reçu
$2
--- attendu
$3"
}

# 1. The planner's export read by calcurse.
mkdir "$travail/donnees" "$travail/cc1"
"$outil" remplit "$travail/donnees"
"$outil" exporte "$travail/donnees" "$travail/quorvel.ics" 2026-12-07 >"$travail/rapport"
grep -qF "Exporté dans «${insecable}$travail/quorvel.ics${insecable}»${insecable}: 7 lignes d'agenda (dont 3 avec cloche), 2 notes du jour, le bloc-notes et 3 alarmes." "$travail/rapport" ||
    echoue "bilan de l'export : $(cat "$travail/rapport")"
cc "$travail/cc1" -i "$travail/quorvel.ics" >/dev/null
liste() { # MM/JJ/AAAA
    cc "$travail/cc1" -Q --from "$1" --days 1 --format-apt='%S-%E %m\n' \
        --format-recur-apt='%S-%E %m\n'
}
compare "mardi 8 décembre" "$(liste 12/08/2026)" "12/08/26:
07:30-07:30 Réveil
08:00-09:00 Réunion à l'école
10:00-11:00 Dentiste
14:00-15:00 Appeler le garage : révision, pneus, vidange, essuie-glaces.
20:00-21:00 Dîner chez Zoé${insecable}: apporter le gâteau"
compare "lundi 14 décembre" "$(liste 12/14/2026)" "12/14/26:
07:30-07:30 Réveil
09:15-09:15 Réunion d'équipe"
compare "vendredi 25 décembre" "$(liste 12/25/2026)" "12/25/26:
07:30-07:30 Réveil
08:00-08:00 Noël chez mamie"
compare "jeudi 24 décembre" "$(liste 12/24/2026)" "12/24/26:
07:30-07:30 Réveil
19:00-20:00 Réveillon chez Œdipe — 50 €"
# A bell is calcurse's "!" (notify) before the text.
for attendu in '@ 09:00!Réunion à l'"'"'école' '@ 21:00!Dîner chez Zoé' '@ 20:00!Réveillon chez Œdipe' \
    '@ 11:00|Dentiste'; do
    grep -qF "$attendu" "$travail/cc1/apts" || echoue "cloche : « $attendu » absent de $(cat "$travail/cc1/apts")"
done

# 2. calcurse's own export of appointments it was given, into an empty folder.
mkdir "$travail/cc2" "$travail/vide"
# start|end|summary|with an alarm
{
    printf 'BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:-//Essai//Essai//FR\n'
    while IFS='|' read -r debut fin resume rappel; do
        printf 'BEGIN:VEVENT\n%s\n' "$debut"
        [ -z "$fin" ] || printf '%s\n' "$fin"
        printf 'SUMMARY:%s\n' "$resume"
        [ -z "$rappel" ] || printf 'BEGIN:VALARM\nACTION:DISPLAY\nTRIGGER:-PT5M\nDESCRIPTION:x\nEND:VALARM\n'
        printf 'END:VEVENT\n'
    done <<FIN
DTSTART:20261208T090000|DTEND:20261208T100000|Conseil de classe|oui
DTSTART:20261208T093000|DTEND:20261208T094500|Appel au notaire|
DTSTART:20261208T123000|DTEND:20261208T133000|Déjeuner avec Hélène|
DTSTART:20261208T213000|DTEND:20261208T230000|Concert|
DTSTART;VALUE=DATE:20261208||Journée pédagogique|
DTSTART:20261209T080000|RRULE:FREQ=WEEKLY|Cours de piano|
DTSTART:20261210T110000|DTEND:20261210T120000|Rendez-vous à la préfecture pour le renouvellement de la carte grise|
FIN
    printf 'END:VCALENDAR\n'
} >"$travail/rendez-vous.ics"
cc "$travail/cc2" -i "$travail/rendez-vous.ics" >/dev/null
cc "$travail/cc2" -xical >"$travail/calcurse.ics"
grep -q '^BEGIN:VCALENDAR' "$travail/calcurse.ics" || echoue "calcurse n'a rien exporté"
"$outil" importe "$travail/vide" "$travail/calcurse.ics" 2026-12-07 >"$travail/rapport" ||
    echoue "import refusé : $(cat "$travail/rapport")"
montre() { "$outil" montre "$travail/vide" "$@"; }
compare "8 décembre" "$(montre 8 12 2026)" "09h00 cloche Conseil de classe
12h00 12h30 Déjeuner avec Hélène
note
Journée pédagogique
09h30 Appel au notaire
21h30 Concert"
compare "9 décembre" "$(montre 9 12 2026)" "08h00 Cours de piano"
compare "8 décembre 2027, dernier jour gardé" "$(montre 8 12 2027)" "08h00 Cours de piano"
compare "15 décembre 2027" "$(montre 15 12 2027)" ""
compare "10 décembre" "$(montre 10 12 2026)" "note
11h00 Rendez-vous à la préfecture pour le renouvellement de la carte grise"
echo "calcurse : export lu, import de son export"
