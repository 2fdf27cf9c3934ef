#include "notifications_dbus.hpp"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QFileInfo>
#include <QVariantMap>

namespace {

// The "image-data" hint: raw RGBA rows.
struct ImageNotification {
    int largeur = 0, hauteur = 0, pas = 0;
    bool alpha = true;
    int bits = 8, canaux = 4;
    QByteArray octets;
};

QDBusArgument& operator<<(QDBusArgument& a, const ImageNotification& i) {
    a.beginStructure();
    a << i.largeur << i.hauteur << i.pas << i.alpha << i.bits << i.canaux << i.octets;
    a.endStructure();
    return a;
}

const QDBusArgument& operator>>(const QDBusArgument& a, ImageNotification& i) {
    a.beginStructure();
    a >> i.largeur >> i.hauteur >> i.pas >> i.alpha >> i.bits >> i.canaux >> i.octets;
    a.endStructure();
    return a;
}

} // namespace

Q_DECLARE_METATYPE(ImageNotification)

namespace quorvel {

namespace {

// Without a bus address Qt's D-Bus library would try to start a bus for the
// display (autolaunch), a delay and a stray process for nothing.
bool bus_de_session_annonce() {
    if (qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS"))
        return !qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS");
    const QString execution = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !execution.isEmpty() && QFileInfo::exists(execution + QStringLiteral("/bus"));
}

} // namespace

NotificateurDBus::NotificateurDBus(QImage icone)
    : icone_(std::move(icone).convertToFormat(QImage::Format_RGBA8888)) {}

void NotificateurDBus::notifie(const std::string& corps) {
    if (!essaye_) {
        essaye_ = true;
        bus_ = bus_de_session_annonce() && QDBusConnection::sessionBus().isConnected();
        qDBusRegisterMetaType<ImageNotification>();
    }
    if (!bus_)
        return;
    QVariantMap indications{{QStringLiteral("desktop-entry"), QStringLiteral("quorvel")}};
    if (!icone_.isNull())
        indications.insert(QStringLiteral("image-data"),
                           QVariant::fromValue(ImageNotification{
                               icone_.width(), icone_.height(),
                               static_cast<int>(icone_.bytesPerLine()), true, 8, 4,
                               QByteArray(reinterpret_cast<const char*>(icone_.constBits()),
                                          static_cast<qsizetype>(icone_.sizeInBytes()))}));
    QDBusMessage appel = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    // The sound is the program's own: no sound hint.
    appel << QStringLiteral("Quorvel") << 0u << QStringLiteral("quorvel")
          << QStringLiteral("Rappel") << QString::fromStdString(corps) << QStringList()
          << indications << -1;
    QDBusConnection::sessionBus().send(appel);
}

} // namespace quorvel
