#include "outils_ical.hpp"

#include "plateforme/fichier.hpp"

#include <cstring>

namespace quorvel::test {

CalendrierLu::CalendrierLu(const std::string& ics) : racine(icalparser_parse_string(ics.c_str())) {
    for (icalcomponent* c = icalcomponent_get_first_component(racine.get(), ICAL_ANY_COMPONENT); c;
         c = icalcomponent_get_next_component(racine.get(), ICAL_ANY_COMPONENT))
        elements[texte(icalcomponent_get_uid(c))] = c;
}

icalcomponent* CalendrierLu::element(const std::string& uid) const {
    const auto it = elements.find(uid);
    return it == elements.end() ? nullptr : it->second;
}

std::string debut(icalcomponent* c) {
    icalproperty* p = icalcomponent_get_first_property(c, ICAL_DTSTART_PROPERTY);
    return p ? icaltime_as_ical_string(icalproperty_get_dtstart(p)) : "";
}

std::string fin(icalcomponent* c) {
    icalproperty* p = icalcomponent_get_first_property(c, ICAL_DTEND_PROPERTY);
    return p ? icaltime_as_ical_string(icalproperty_get_dtend(p)) : "";
}

std::string regle(icalcomponent* c) {
    icalproperty* p = icalcomponent_get_first_property(c, ICAL_RRULE_PROPERTY);
    icalrecurrencetype r = p ? icalproperty_get_rrule(p) : icalrecurrencetype{};
    return p ? icalrecurrencetype_as_string(&r) : "";
}

JourLu lit_jour(const std::string& dossier, int jour, int mois, int annee) {
    JourLu j;
    const std::string agenda = dossier + fichier_agenda_jour(jour_du(jour, mois, annee));
    if ((j.agenda = fichier_existe(agenda))) {
        const std::string octets = lit_tout(agenda);
        EnregistrementAgenda a;
        std::memcpy(a.octets.data(), octets.data(), std::min(octets.size(), taille_agenda));
        for (int k = 1; k <= nombre_creneaux; ++k) {
            j.lignes[k - 1] = ical::utf8_depuis_fichier(a.texte(k));
            j.cloches[k - 1] = a.cloche(k);
        }
    }
    const std::string note = dossier + fichier_note_jour(jour_du(jour, mois, annee));
    if (fichier_existe(note))
        j.note = ical::utf8_depuis_fichier(ical::texte_de_note(note));
    return j;
}

} // namespace quorvel::test
