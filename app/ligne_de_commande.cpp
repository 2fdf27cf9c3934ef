#include "ligne_de_commande.hpp"

#include "plateforme/version.hpp"

#include <QCommandLineParser>

#include <map>
#include <utility>

namespace quorvel {

namespace {

const QString exporte = QStringLiteral("exporte-ical");
const QString importe = QStringLiteral("importe-ical");
const QString donnees = QStringLiteral("donnees");
const QString compte = QStringLiteral("compte-caldav");
const QString utilisateur = QStringLiteral("utilisateur");
const QString synchronise = QStringLiteral("synchronise");
const QString stdin_mdp = QStringLiteral("mot-de-passe-stdin");

const char* const aide =
    "Utilisation\u00a0:\n"
    "  quorvel [--donnees DOSSIER]  ouvre l'agenda sur le dossier courant, ou sur DOSSIER\n"
    "  quorvel --exporte-ical FICHIER.ics [--donnees DOSSIER]\n"
    "                               écrit tout ce que garde Quorvel dans un fichier iCalendar\n"
    "  quorvel --importe-ical FICHIER.ics [--donnees DOSSIER]\n"
    "                               ajoute à Quorvel ce qu'un autre agenda a exporté\n"
    "  quorvel --compte-caldav URL [--utilisateur NOM] [--mot-de-passe-stdin] [--donnees DOSSIER]\n"
    "                               enregistre l'agenda CalDAV (Nextcloud, Radicale…) du dossier\n"
    "  quorvel --synchronise [--mot-de-passe-stdin] [--donnees DOSSIER]\n"
    "                               synchronise une fois le dossier avec cet agenda\n"
    "  quorvel --aide               affiche cette aide (aussi -h, --help)\n"
    "  quorvel --version            affiche la version (aussi -v)\n"
    "Le dossier de données est le dossier courant, ou DOSSIER.\n"
    "Les options de Qt (-platform, -display, -style…) sont passées à Qt.\n";

// After a calendar command given the wrong way.
const char* const utilisation_ical =
    "Utilisation\u00a0:\n"
    "  quorvel --exporte-ical FICHIER.ics [--donnees DOSSIER]\n"
    "  quorvel --importe-ical FICHIER.ics [--donnees DOSSIER]\n"
    "  quorvel --compte-caldav URL [--utilisateur NOM] [--donnees DOSSIER]\n"
    "  quorvel --synchronise [--mot-de-passe-stdin] [--donnees DOSSIER]\n"
    "Le dossier de données est le dossier courant, ou DOSSIER.\n";
// After any other mistake.
const char* const essayez = "Essayez «\u00a0quorvel --aide\u00a0».\n";

// Qt's options that QApplication takes out of the command line.
const char* const options_qt_a_valeur[] = {"platform",        "platformpluginpath",
                                           "platformtheme",   "plugin",
                                           "qwindowgeometry", "qwindowicon",
                                           "qwindowtitle",    "geometry",
                                           "title",           "icon",
                                           "display",         "name",
                                           "style",           "stylesheet",
                                           "session",         "qmljsdebugger"};
const char* const options_qt_seules[] = {"reverse", "widgetcount", "nograb", "dograb",
                                         "testability"};

// Each byte of the command line is one character (Latin-1) for the parser, so
// that every value comes back with the very bytes typed, whatever the locale.
QString lu(const std::string& octets) {
    return QString::fromLatin1(octets.data(), static_cast<qsizetype>(octets.size()));
}
std::string octets(const QString& texte) {
    return texte.toLatin1().toStdString();
}

std::string guillemets(const QString& texte) {
    return "«\u00a0" + octets(texte) + "\u00a0»";
}

LigneDeCommande ecrit(LigneDeCommande::Action action, std::string message) {
    LigneDeCommande ligne;
    ligne.action = action;
    ligne.message = std::move(message);
    return ligne;
}

LigneDeCommande erreur(const std::string& texte, const char* suite) {
    return ecrit(LigneDeCommande::Action::erreur, "quorvel\u00a0: " + texte + ".\n" + suite);
}

// An option as it was typed ("-x", "--nimporte=3" gives "--nimporte").
QString telle_que_tapee(const QStringList& arguments, const QString& nom) {
    for (qsizetype i = 1; i < arguments.size() && arguments[i] != QLatin1String("--"); ++i) {
        const QString a = arguments[i].section(QLatin1Char('='), 0, 0);
        const qsizetype tirets = a.startsWith(QLatin1String("--")) ? 2 : 1;
        if (a.startsWith(QLatin1Char('-')) && a.mid(tirets) == nom)
            return a;
    }
    return QStringLiteral("--") + nom;
}

} // namespace

LigneDeCommande lit_ligne_de_commande(const std::vector<std::string>& argv) {
    QStringList arguments;
    for (const std::string& a : argv)
        arguments << lu(a);
    QCommandLineParser lecteur;
    // "-platform" is one option, as Qt reads it, not -p -l -a…
    lecteur.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption option_aide(
        QStringList{QStringLiteral("h"), QStringLiteral("aide"), QStringLiteral("help")});
    const QCommandLineOption option_version(
        QStringList{QStringLiteral("v"), QStringLiteral("version")});
    lecteur.addOption(option_aide);
    lecteur.addOption(option_version);
    for (const QString& nom : {exporte, importe, donnees, compte, utilisateur})
        lecteur.addOption(QCommandLineOption(nom, {}, QStringLiteral("x")));
    lecteur.addOption(QCommandLineOption(synchronise));
    lecteur.addOption(QCommandLineOption(stdin_mdp));
    for (const char* nom : options_qt_a_valeur)
        lecteur.addOption(QCommandLineOption(QString::fromLatin1(nom), {}, QStringLiteral("x")));
    for (const char* nom : options_qt_seules)
        lecteur.addOption(QCommandLineOption(QString::fromLatin1(nom)));

    const bool lu = lecteur.parse(arguments);
    if (!lecteur.unknownOptionNames().isEmpty())
        return erreur("option inconnue " +
                          guillemets(telle_que_tapee(arguments, lecteur.unknownOptionNames()[0])),
                      essayez);
    if (!lu) {
        // Only the last argument can lack the value it announces.
        const QString derniere = arguments.last();
        const QString nom = derniere.mid(derniere.startsWith(QLatin1String("--")) ? 2 : 1);
        if (nom == donnees || nom == exporte || nom == importe)
            return erreur(octets(derniere) + " attend un nom de " +
                              (nom == donnees ? "dossier" : "fichier"),
                          utilisation_ical);
        if (nom == compte || nom == utilisateur)
            return erreur(octets(derniere) + (nom == compte ? " attend une URL" : " attend un nom"),
                          utilisation_ical);
        return erreur(octets(derniere) + " attend une valeur", essayez);
    }
    if (lecteur.isSet(option_aide))
        return ecrit(LigneDeCommande::Action::aide, aide);
    if (lecteur.isSet(option_version))
        return ecrit(LigneDeCommande::Action::version, "Quorvel " QUORVEL_VERSION "\n");

    const bool commande_ical = lecteur.isSet(exporte) || lecteur.isSet(importe) ||
                               lecteur.isSet(compte) || lecteur.isSet(synchronise);
    const char* const suite = commande_ical ? utilisation_ical : essayez;
    LigneDeCommande ligne;
    // In the order typed, the first mistake is the one told.
    std::map<QString, int> vus;
    bool genre = false;
    for (const QString& nom : lecteur.optionNames()) {
        if (nom == utilisateur || nom == stdin_mdp) {
            if (nom == utilisateur)
                ligne.commande.utilisateur = octets(lecteur.value(utilisateur));
            else
                ligne.commande.mot_de_passe_stdin = true;
            continue;
        }
        if (nom == synchronise) {
            if (genre)
                return erreur("--synchronise ou une autre commande est donnée deux fois", suite);
            genre = true;
            ligne.commande.genre = ical::CommandeIcal::Genre::synchronise;
            continue;
        }
        if (nom != exporte && nom != importe && nom != donnees && nom != compte)
            continue;
        const QString valeur = lecteur.values(nom).value(vus[nom]++);
        const std::string option = "--" + nom.toStdString();
        if (valeur.isEmpty())
            return erreur(option + (nom == compte
                                        ? " attend une URL"
                                        : " attend un nom de " +
                                              std::string(nom == donnees ? "dossier" : "fichier")),
                          suite);
        if (nom == donnees ? vus[nom] > 1 : genre)
            return erreur(option + (nom == donnees ? " est donné deux fois"
                                                   : " ou son contraire est donné deux fois"),
                          suite);
        if (nom == donnees) {
            ligne.dossier = octets(valeur);
            ligne.commande.dossier = ligne.dossier;
        } else {
            genre = true;
            ligne.commande.genre = nom == exporte   ? ical::CommandeIcal::Genre::exporte
                                   : nom == importe ? ical::CommandeIcal::Genre::importe
                                                    : ical::CommandeIcal::Genre::compte;
            ligne.commande.fichier = octets(valeur);
        }
    }
    if (!lecteur.positionalArguments().isEmpty())
        return erreur("argument inattendu " + guillemets(lecteur.positionalArguments()[0]), suite);
    if ((lecteur.isSet(utilisateur) || lecteur.isSet(stdin_mdp)) && !lecteur.isSet(compte) &&
        !(lecteur.isSet(stdin_mdp) && lecteur.isSet(synchronise)))
        return erreur(
            std::string(lecteur.isSet(utilisateur) ? "--utilisateur" : "--mot-de-passe-stdin") +
                " va avec --compte-caldav",
            utilisation_ical);
    if (commande_ical)
        ligne.action = LigneDeCommande::Action::ical;
    return ligne;
}

} // namespace quorvel
