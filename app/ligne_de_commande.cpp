#include "ligne_de_commande.hpp"

#include "plateforme/version.hpp"

#include <QCommandLineParser>

#include <map>

namespace quorvel {

namespace {

const QString exporte = QStringLiteral("exporte-ical");
const QString importe = QStringLiteral("importe-ical");
const QString donnees = QStringLiteral("donnees");

const char* const aide =
    "Utilisation\u00a0:\n"
    "  quorvel                      ouvre l'agenda sur le dossier courant\n"
    "  quorvel --exporte-ical FICHIER.ics [--donnees DOSSIER]\n"
    "                               écrit tout ce que garde Quorvel dans un fichier iCalendar\n"
    "  quorvel --importe-ical FICHIER.ics [--donnees DOSSIER]\n"
    "                               ajoute à Quorvel ce qu'un autre agenda a exporté\n"
    "  quorvel --aide               affiche cette aide (aussi -h, --help)\n"
    "  quorvel --version            affiche la version (aussi -v)\n"
    "Le dossier de données des deux commandes est le dossier courant, ou DOSSIER.\n"
    "Les options de Qt (-platform, -display, -style…) sont passées à Qt.\n";

// After a calendar command given the wrong way.
const char* const utilisation_ical = "Utilisation\u00a0:\n"
                                     "  quorvel --exporte-ical FICHIER.ics [--donnees DOSSIER]\n"
                                     "  quorvel --importe-ical FICHIER.ics [--donnees DOSSIER]\n"
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

std::string guillemets(const QString& texte) {
    return "«\u00a0" + texte.toStdString() + "\u00a0»";
}

LigneDeCommande erreur(const std::string& texte, const char* suite) {
    return {LigneDeCommande::Action::erreur, {}, "quorvel\u00a0: " + texte + ".\n" + suite};
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

LigneDeCommande lit_ligne_de_commande(const QStringList& arguments) {
    QCommandLineParser lecteur;
    // "-platform" is one option, as Qt reads it, not -p -l -a…
    lecteur.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption option_aide(
        QStringList{QStringLiteral("h"), QStringLiteral("aide"), QStringLiteral("help")});
    const QCommandLineOption option_version(
        QStringList{QStringLiteral("v"), QStringLiteral("version")});
    lecteur.addOption(option_aide);
    lecteur.addOption(option_version);
    for (const QString& nom : {exporte, importe, donnees})
        lecteur.addOption(QCommandLineOption(nom, {}, QStringLiteral("x")));
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
            return erreur(derniere.toStdString() + " attend un nom de " +
                              (nom == donnees ? "dossier" : "fichier"),
                          utilisation_ical);
        return erreur(derniere.toStdString() + " attend une valeur", essayez);
    }
    if (lecteur.isSet(option_aide))
        return {LigneDeCommande::Action::aide, {}, aide};
    if (lecteur.isSet(option_version))
        return {LigneDeCommande::Action::version, {}, "Quorvel " QUORVEL_VERSION "\n"};

    const bool commande_ical = lecteur.isSet(exporte) || lecteur.isSet(importe);
    LigneDeCommande ligne;
    // In the order typed, the first mistake is the one told.
    std::map<QString, int> vus;
    bool genre = false;
    for (const QString& nom : lecteur.optionNames()) {
        if (!commande_ical || (nom != exporte && nom != importe && nom != donnees))
            continue;
        const QString valeur = lecteur.values(nom).value(vus[nom]++);
        const std::string option = "--" + nom.toStdString();
        if (valeur.isEmpty())
            return erreur(option + " attend un nom de " + (nom == donnees ? "dossier" : "fichier"),
                          utilisation_ical);
        if (nom == donnees ? vus[nom] > 1 : genre)
            return erreur(option + (nom == donnees ? " est donné deux fois"
                                                   : " ou son contraire est donné deux fois"),
                          utilisation_ical);
        if (nom == donnees) {
            ligne.commande.dossier = valeur.toStdString();
        } else {
            genre = true;
            ligne.commande.genre = nom == exporte ? ical::CommandeIcal::Genre::exporte
                                                  : ical::CommandeIcal::Genre::importe;
            ligne.commande.fichier = valeur.toStdString();
        }
    }
    if (!lecteur.positionalArguments().isEmpty())
        return erreur("argument inattendu " + guillemets(lecteur.positionalArguments()[0]),
                      commande_ical ? utilisation_ical : essayez);
    if (commande_ical)
        ligne.action = LigneDeCommande::Action::ical;
    return ligne;
}

} // namespace quorvel
