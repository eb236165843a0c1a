#include "qsettingsstore.h"

#include "os/fileio.h"
#include "platform/inisettingsstore.h"
#include "text/windows1252.h"

#include <QSettings>
#include <QStandardPaths>
#include <QString>

namespace orvane {

namespace {

// QSettings reads the user's and the system's files of the application and
// of the organization (both named after the application here) when it is
// made. Reading a named pipe or a device would wait for a writer for ever,
// so a store with any of them not a regular file counts as empty.
bool onlyRegularFiles(const std::string &app)
{
    for (const std::string &file : settingsStoreFiles(app)) {
        if (pathStatus(file) == PathStatus::Exists && !fileIdentity(file, true))
            return false;
    }
    return true;
}

} // namespace

std::optional<std::string> QSettingsStore::readText(const std::string &application, const std::string &section,
                                                    const std::string &key)
{
    const QString app = QString::fromStdString(application);
    if (!onlyRegularFiles(application))
        return std::nullopt;
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, app, app);
    settings.beginGroup(QString::fromStdString(section));
    const QString name = QString::fromStdString(key);
    if (!settings.contains(name))
        return std::nullopt;
    const QVariant value = settings.value(name);
    // A list (an unquoted comma in an INI value) reads back joined as written.
    const QString text = value.typeId() == QMetaType::QStringList ? value.toStringList().join(QLatin1Char(','))
                                                                  : value.toString();
    return utf8ToWindows1252(text.toStdString());
}

std::string QSettingsStore::location(const std::string &application) const
{
    const QString app = QString::fromStdString(application);
    return (QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/') + app
            + QLatin1Char('/') + app + QStringLiteral(".conf"))
        .toStdString();
}

} // namespace orvane
