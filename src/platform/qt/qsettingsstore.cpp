#include "qsettingsstore.h"

#include "platform/windows1252.h"

#include <QSettings>
#include <QString>

namespace orvane {

std::optional<std::string> QSettingsStore::readText(const std::string &application, const std::string &section,
                                                    const std::string &key)
{
    const QString app = QString::fromStdString(application);
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

} // namespace orvane
