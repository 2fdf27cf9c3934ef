#!/bin/sh
# libical is the iCalendar module's alone: the real desk, started on the
# offscreen platform, has no libical among its mappings; the calendar commands
# find the module next to the program or in ../lib/quorvel, as installed, and
# without it say so in French with status 1.
#   tests/e2e/sans_libical.sh path/to/quorvel path/to/libquorvel_ical.so
set -eu
programme=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
module=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
travail=$(mktemp -d)
pid=""
trap '[ -z "$pid" ] || kill -KILL "$pid" 2>/dev/null || true; rm -rf "$travail"' EXIT INT TERM
echoue() { echo "ÉCHEC sans libical : $*"; exit 1; }
export LANG=fr_FR.UTF-8 LC_ALL=fr_FR.UTF-8 XDG_RUNTIME_DIR="$travail"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM

mkdir "$travail/bureau"
(cd "$travail/bureau" && exec "$programme" -platform offscreen) >"$travail/bureau.log" 2>&1 &
pid=$!
# The settings file is written once the desk is made.
for _ in $(seq 100); do [ -e "$travail/bureau/PAD.CFG" ] && break; sleep 0.1; done
[ -e "$travail/bureau/PAD.CFG" ] || echoue "le bureau ne s'ouvre pas"
cp "/proc/$pid/maps" "$travail/maps"
grep -q libQt6Widgets "$travail/maps" || echoue "ce ne sont pas les pages du bureau"
if grep -q libical "$travail/maps"; then
    grep libical "$travail/maps"
    echoue "le bureau a chargé libical"
fi
kill -0 "$pid" 2>/dev/null || { cat "$travail/bureau.log"; echoue "le bureau s'est arrêté"; }
# Its signal handlers may not be set yet: how it ends is not the point here.
kill -KILL "$pid"
wait "$pid" 2>/dev/null || true
pid=""

# Installed: bin/quorvel and lib/quorvel/libquorvel_ical.so; then the program alone.
mkdir -p "$travail/installe/bin" "$travail/installe/lib/quorvel" "$travail/seul"
cp "$programme" "$travail/installe/bin/"
cp "$module" "$travail/installe/lib/quorvel/"
cp "$programme" "$travail/seul/"
"$travail/installe/bin/quorvel" --exporte-ical "$travail/a.ics" --donnees "$travail/bureau" \
    >"$travail/sortie" 2>&1 || { cat "$travail/sortie"; echoue "l'export installé échoue"; }
grep -q BEGIN:VCALENDAR "$travail/a.ics" || echoue "l'export installé n'écrit rien"
code=0
"$travail/seul/quorvel" --exporte-ical "$travail/b.ics" --donnees "$travail/bureau" \
    >"$travail/sortie" 2>"$travail/erreurs" || code=$?
[ "$code" = 1 ] || echoue "sans module, statut $code au lieu de 1"
grep -qF "le module iCalendar" "$travail/erreurs" || { cat "$travail/erreurs"; echoue "sans module, pas de message"; }
[ ! -e "$travail/b.ics" ] || echoue "sans module, un fichier est écrit"
echo "sans libical : le bureau ne la charge pas, le module se trouve"
