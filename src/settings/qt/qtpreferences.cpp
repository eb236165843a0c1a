#include "qtpreferences.h"

#include <QFile>

namespace orvane {

QtPreferences::QtPreferences()
    : m_settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Veltrum Orvane"),
                 QStringLiteral("orvane-window"))
{
}

std::string QtPreferences::lastFolder()
{
    // Paths are kept as text; the native bytes come back through Qt's file name encoding.
    return QFile::encodeName(m_settings.value(QStringLiteral("Dialogs/LastFolder")).toString()).toStdString();
}

void QtPreferences::setLastFolder(const std::string &folder)
{
    m_settings.setValue(QStringLiteral("Dialogs/LastFolder"), QFile::decodeName(QByteArray::fromStdString(folder)));
}

QByteArray QtPreferences::windowGeometry() const
{
    return m_settings.value(QStringLiteral("MainWindow/Geometry")).toByteArray();
}

void QtPreferences::setWindowGeometry(const QByteArray &geometry)
{
    m_settings.setValue(QStringLiteral("MainWindow/Geometry"), geometry);
    // At once: a window ended by a signal never writes what QSettings holds back.
    m_settings.sync();
}

QSize QtPreferences::fileDialogSize() const
{
    return m_settings.value(QStringLiteral("Dialogs/FileDialogSize")).toSize();
}

void QtPreferences::setFileDialogSize(const QSize &size)
{
    m_settings.setValue(QStringLiteral("Dialogs/FileDialogSize"), size);
}

QByteArray QtPreferences::fileDialogColumns() const
{
    return m_settings.value(QStringLiteral("Dialogs/FileDialogColumns")).toByteArray();
}

void QtPreferences::setFileDialogColumns(const QByteArray &columns)
{
    m_settings.setValue(QStringLiteral("Dialogs/FileDialogColumns"), columns);
}

} // namespace orvane
