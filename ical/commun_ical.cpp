#include "commun_ical.hpp"

#include "calendar/dates.hpp"
#include "calendar/utilitaires.hpp"
#include "plateforme/cp1252.hpp"
#include "plateforme/fichier.hpp"

#include <QList>
#include <QString>

namespace quorvel::ical {

int annee_du_fichier(int deux_chiffres, int annee_courante) {
    const int debut = annee_courante - annees_avant;
    return debut + ((deux_chiffres - debut) % 100 + 100) % 100;
}

std::string dossier_donnees(const std::string& dossier) {
    if (dossier.empty())
        return "./";
    return dossier.back() == '/' ? dossier : dossier + '/';
}

std::string texte_heure(int heure, int minute) {
    return nombre_zeros(heure, 2) + "h" + nombre_zeros(minute, 2);
}

std::string guillemets(const std::string& utf8) {
    return "«\u00a0" + utf8 + "\u00a0»";
}

std::string nombre_de(int n, const std::string& singulier, const std::string& pluriel) {
    return std::to_string(n) + " " + (n > 1 ? pluriel : singulier);
}

std::string apercu(const std::string& utf8) {
    constexpr qsizetype longueur = 70;
    QString t = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    t.replace(QLatin1String("\r\n"), QLatin1String(" / "));
    t.replace(QLatin1Char('\n'), QLatin1String(" / "));
    t.replace(QLatin1Char('\r'), QLatin1String(" / "));
    while (t.endsWith(QLatin1String(" / ")))
        t.chop(3);
    if (t.size() > longueur)
        t = t.left(longueur) + QChar(0x2026);
    return t.toStdString();
}

std::string texte_de_note(const std::string& chemin) {
    std::string octets = lit_tout(chemin);
    if (octets.size() <= 1)
        return {};
    std::erase(octets, '\0');
    return octets;
}

std::string utf8_depuis_fichier(const std::string& cp1252) {
    return texte_pour_saisie(cp1252).toStdString();
}

std::string fichier_depuis_utf8(const std::string& utf8) {
    QString t = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    // A zero byte would end the text in the file.
    t.remove(QChar(0));
    return texte_pour_fichier(t);
}

int sans_equivalent(const std::string& utf8) {
    QString t = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    t.remove(QChar(0));
    // The filter keeps exactly the characters that have a byte, one QChar each.
    return static_cast<int>(t.toUcs4().size() - filtre_cp1252(t).size());
}

icaltimetype date_ical(Jour j) {
    icaltimetype t = icaltime_null_date();
    t.year = annee_de(j);
    t.month = mois_de(j);
    t.day = jour_de(j);
    return t;
}

icaltimetype moment_ical(Jour j, int heure, int minute) {
    icaltimetype t = icaltime_null_time();
    t.year = annee_de(j);
    t.month = mois_de(j);
    t.day = jour_de(j);
    t.hour = heure;
    t.minute = minute;
    return t;
}

void ajoute_rappel(icalcomponent* evenement, const std::string& texte) {
    icalcomponent* rappel = icalcomponent_new_valarm();
    icalcomponent_add_property(rappel, icalproperty_new_action(ICAL_ACTION_DISPLAY));
    icaltriggertype declencheur{};
    declencheur.time = icaltime_null_time();
    declencheur.duration = icaldurationtype_null_duration();
    icalcomponent_add_property(rappel, icalproperty_new_trigger(declencheur));
    icalcomponent_add_property(rappel, icalproperty_new_description(texte.c_str()));
    icalcomponent_add_component(evenement, rappel);
}

} // namespace quorvel::ical
