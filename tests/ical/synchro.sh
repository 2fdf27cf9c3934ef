#!/bin/sh
# Two-way sync of a data folder with a real Radicale on loopback, through the
# real program, with python3-caldav as a second client on the same calendar:
# both directions, a conflict, deletions, a damaged state file, a server
# that is down, the password asked on a terminal without echo, and an HTTPS
# server whose certificate no authority signed (with openssl). The desk's day
# is pinned with libfaketime.
# Skipped (77) without radicale, python3-caldav or faketime.
set -eu
quorvel=$1
outil=$2
ici=$(dirname "$(readlink -f "$0")")
command -v radicale >/dev/null && command -v faketime >/dev/null &&
    /usr/bin/python3 -c 'import caldav' 2>/dev/null || exit 77

# The UTC event is read in the users' own zone.
export TZ=Europe/Paris
tmp=$(mktemp -d)
radicale_pid=
trap '[ -z "$radicale_pid" ] || kill $radicale_pid 2>/dev/null; rm -rf "$tmp"' EXIT
. "$ici/serveur.sh"
demarre

# French typography: a no-break space before the colon.
nb=$(printf '\302\240')
echec() { echo "ÉCHEC : $*" >&2; exit 1; }
bureau="$tmp/bureau"
mkdir "$bureau"
synchronise() {
    echo secret | faketime '2026-12-08 10:00:00' "$quorvel" --synchronise --mot-de-passe-stdin \
        --donnees "$bureau" >"$tmp/rapport" 2>"$tmp/erreurs"
}
# The agenda line k of a date ("09_12_26"), as the desk writes it.
ecrit_ligne() {
    /usr/bin/python3 - "$bureau/$1.ENG" "$2" "$3" <<'PY'
import sys
chemin, k, texte = sys.argv[1], int(sys.argv[2]), sys.argv[3].encode("cp1252")
octets = bytearray(open(chemin, "rb").read())
octets[61 * (k - 1):61 * (k - 1) + len(texte) + 1] = texte + b"\0"
open(chemin, "wb").write(octets)
PY
}
montre() { "$outil" montre "$bureau" "$@"; }
attendu() { # texte-attendu commande...
    attendu=$1; shift
    obtenu=$("$@")
    [ "$obtenu" = "$attendu" ] || echec "$*
attendu :
$attendu
obtenu :
$obtenu
$(cat "$tmp/rapport" "$tmp/erreurs" 2>/dev/null)"
}

# The desk's day goes to the server: a line with its bell, a day note.
cat >"$tmp/depart.ics" <<'ICS'
BEGIN:VCALENDAR
VERSION:2.0
PRODID:-//essai//FR
BEGIN:VEVENT
UID:d1
DTSTART:20261209T090000
SUMMARY:Dentiste
BEGIN:VALARM
ACTION:DISPLAY
TRIGGER:PT0S
DESCRIPTION:Dentiste
END:VALARM
END:VEVENT
BEGIN:VJOURNAL
UID:d2
DTSTART;VALUE=DATE:20261210
DESCRIPTION:Acheter du pain\nEt des œufs
END:VJOURNAL
END:VCALENDAR
ICS
"$outil" importe "$bureau" "$tmp/depart.ics" 2026-12-08 >/dev/null
echo secret | "$quorvel" --compte-caldav "$url" --utilisateur lucie --mot-de-passe-stdin \
    --donnees "$bureau" >/dev/null
grep -q '^url=' "$bureau/.compte-caldav" || echec "compte non enregistré"
synchronise || echec "première synchronisation"
attendu "événement 20261209T090000 Dentiste cloche
note 20261210 Acheter du pain" autre liste
grep -q "Sur le serveur${nb}: 2 ajouts" "$tmp/rapport" || echec "rapport : $(cat "$tmp/rapport")"

# Both directions at once: the other client renames, adds (in UTC) and
# deletes; the desk writes a new line.
autre renomme Dentiste "Dentiste déplacé"
autre ajoute r1 20261211T130000Z "Réunion"
autre efface "Acheter du pain"
ecrit_ligne 09_12_26 3 "Coiffeur"
synchronise || echec "deuxième synchronisation"
attendu "09h00 cloche Dentiste déplacé
10h00 Coiffeur" montre 9 12 2026
attendu "14h00 Réunion" montre 11 12 2026
attendu "" montre 10 12 2026
attendu "événement 20261209T090000 Dentiste déplacé cloche
événement 20261209T100000 Coiffeur
événement 20261211T130000Z Réunion" autre liste

# A conflict: the desk keeps its text, the server's goes to the day note.
autre renomme Coiffeur "Coiffeur à 10h30"
ecrit_ligne 09_12_26 3 "Coiffeur annulé"
synchronise || echec "synchronisation du conflit"
attendu "09h00 cloche Dentiste déplacé
10h00 Coiffeur annulé
note
Du serveur${nb}: 10h00 Coiffeur à 10h30" montre 9 12 2026
autre liste | grep -q '^événement 20261209T100000 Coiffeur annulé$' || echec "le bureau n'a pas gagné"
grep -q '^  le 09/12/2026 à 10h00, le bureau garde' "$tmp/rapport" || echec "conflit non dit"

# A line deleted on the desk is deleted on the server; then nothing travels.
ecrit_ligne 09_12_26 2 ""
synchronise || echec "effacement"
autre liste | grep -q Dentiste && echec "Dentiste reste sur le serveur"
synchronise && synchronise || echec "synchronisation sans changement"
attendu "Sur le bureau${nb}: 0 ajout, 0 modification, 0 suppression.
Sur le serveur${nb}: 0 ajout, 0 modification, 0 suppression." sed 1d "$tmp/rapport"

# A damaged state file is kept aside; the full comparison duplicates nothing.
avant=$(autre liste)
head -c 60 "$bureau/.synchro-caldav" >"$tmp/coupe" && mv "$tmp/coupe" "$bureau/.synchro-caldav"
synchronise || echec "état abîmé"
[ -f "$bureau/.synchro-caldav.illisible" ] || echec "l'état abîmé n'est pas gardé"
grep -q 'abîmé' "$tmp/rapport" || echec "état abîmé non dit"
attendu "$avant" autre liste
# (the line was emptied by hand, its bell left as the desk leaves it)
attendu "09h00 cloche 
10h00 Coiffeur annulé
note
Du serveur${nb}: 10h00 Coiffeur à 10h30" montre 9 12 2026

# The server down: a French message, nothing local changes, the next run goes on.
arrete
ecrit_ligne 11_12_26 1 "Pendant la panne"
empreinte=$(cd "$bureau" && cat ./*.ENG ./*.PAD | md5sum)
synchronise && echec "serveur arrêté : la commande réussit"
grep -q "^Synchronisation interrompue${nb}: " "$tmp/erreurs" || echec "message : $(cat "$tmp/erreurs")"
[ "$(cd "$bureau" && cat ./*.ENG ./*.PAD | md5sum)" = "$empreinte" ] || echec "le bureau a changé"
demarre
synchronise || echec "après la panne"
autre liste | grep -q '^événement 20261211T080000 Pendant la panne$' || echec "reprise"

# No Secret Service and no password given: asked on the terminal, not echoed.
DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent DISPLAY= /usr/bin/python3 - "$quorvel" "$bureau" >"$tmp/terminal" <<'PY' ||
import os, pty, select, sys
quorvel, bureau = sys.argv[1:3]
pid, fd = pty.fork()
if pid == 0:
    os.execvp("faketime", ["faketime", "2026-12-08 10:00:00", quorvel, "--synchronise", "--donnees", bureau])
vu = b""
def lit(jusqua):
    global vu
    while jusqua not in vu:
        if not select.select([fd], [], [], 20)[0]:
            return False
        try:
            morceau = os.read(fd, 4096)
        except OSError:
            return False
        if not morceau:
            return False
        vu += morceau
    return True
invite = lit("Mot de passe de lucie sur ".encode())
os.write(fd, b"secret\n")
lit(b"\x00")  # to the end
_, statut = os.waitpid(pid, 0)
sys.stdout.write(vu.decode("utf-8", "replace"))
sys.exit(0 if invite and b"secret" not in vu and os.waitstatus_to_exitcode(statut) == 0 else 1)
PY
    echec "mot de passe au terminal : $(cat "$tmp/terminal")"
grep -q "^Synchronisé avec" "$tmp/terminal" || echec "mot de passe au terminal : $(cat "$tmp/terminal")"

# HTTPS: a certificate no authority signed is refused before anything is sent.
if command -v openssl >/dev/null; then
    openssl req -x509 -newkey rsa:2048 -nodes -keyout "$tmp/cle.pem" -out "$tmp/cert.pem" \
        -days 30 -subj "/CN=localhost" -addext "subjectAltName=IP:127.0.0.1" 2>/dev/null
    port_tls=$(/usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
    sed "s|^hosts = .*|hosts = 127.0.0.1:$port_tls\nssl = True\ncertificate = $tmp/cert.pem\nkey = $tmp/cle.pem|" \
        "$tmp/config" >"$tmp/config_tls"
    arrete
    radicale --config "$tmp/config_tls" >>"$tmp/radicale.log" 2>&1 &
    radicale_pid=$!
    /usr/bin/python3 -c "import socket, time
for _ in range(100):
    try: socket.create_connection(('127.0.0.1', $port_tls)).close(); break
    except OSError: time.sleep(0.1)"
    "$quorvel" --compte-caldav "https://127.0.0.1:$port_tls/lucie/agenda/" --utilisateur lucie \
        --donnees "$bureau" </dev/null >/dev/null
    rm "$bureau/.synchro-caldav"
    empreinte=$(cd "$bureau" && ls -A | md5sum)
    synchronise && echec "HTTPS : un certificat inconnu est accepté"
    grep -q "certificat du serveur «${nb}127.0.0.1${nb}» refusé" "$tmp/erreurs" ||
        echec "HTTPS : $(cat "$tmp/erreurs")"
    [ "$(cd "$bureau" && ls -A | md5sum)" = "$empreinte" ] || echec "HTTPS : le bureau a changé"
fi
echo "synchronisation CalDAV : tout va bien"
