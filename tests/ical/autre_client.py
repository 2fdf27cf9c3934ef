#!/usr/bin/python3
# A second, independent CalDAV client (python3-caldav) on the same calendar:
#   autre_client.py URL UTILISATEUR MOT_DE_PASSE liste
#   ... ajoute UID DEBUT RESUME     (DEBUT as iCalendar writes it, e.g. 20261211T130000Z)
#   ... renomme RESUME NOUVEAU      (the item whose summary is RESUME)
#   ... efface RESUME
import sys

import caldav

url, utilisateur, mot_de_passe, action = sys.argv[1:5]
agenda = caldav.Calendar(client=caldav.DAVClient(url, username=utilisateur, password=mot_de_passe),
                         url=url)


def elements():
    return agenda.events() + agenda.journals()


def ligne(o, nom):
    for l in o.data.replace("\r\n ", "").splitlines():
        if l.split(";")[0].split(":")[0] == nom:
            return l.split(":", 1)[1]
    return ""


def par_resume(resume):
    for o in elements():
        if ligne(o, "SUMMARY") == resume:
            return o
    sys.exit("pas d'élément " + resume)


if action == "liste":
    # One line per item: its kind, start, summary, and whether it rings.
    for o in sorted(elements(), key=lambda o: (ligne(o, "DTSTART"), ligne(o, "SUMMARY"))):
        genre = "note" if "BEGIN:VJOURNAL" in o.data else "événement"
        cloche = " cloche" if "BEGIN:VALARM" in o.data else ""
        print(f"{genre} {ligne(o, 'DTSTART')} {ligne(o, 'SUMMARY')}{cloche}")
elif action == "ajoute":
    uid, debut, resume = sys.argv[5:8]
    agenda.save_event("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//essai//autre client//FR\r\n"
                      f"BEGIN:VEVENT\r\nUID:{uid}\r\nDTSTAMP:20261201T000000Z\r\n"
                      f"DTSTART:{debut}\r\nDURATION:PT1H\r\nSUMMARY:{resume}\r\n"
                      "DESCRIPTION:\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n")
elif action == "renomme":
    o = par_resume(sys.argv[5])
    o.data = o.data.replace("SUMMARY:" + sys.argv[5], "SUMMARY:" + sys.argv[6])
    o.save()
elif action == "efface":
    par_resume(sys.argv[5]).delete()
else:
    sys.exit("autre_client.py URL UTILISATEUR MOT_DE_PASSE liste|ajoute|renomme|efface …")
