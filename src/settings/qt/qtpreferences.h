#pragma once

#include "settings/preferences.h"

#include <QByteArray>
#include <QSettings>
#include <QSize>

namespace orvane {

// The window's own settings file through QSettings: on Linux
// $XDG_CONFIG_HOME/Veltrum Orvane/orvane-window.conf, beside (never in) the
// read-only store of pattern defaults.
class QtPreferences : public Preferences {
public:
    QtPreferences();

    std::string lastFolder() override;
    void setLastFolder(const std::string &folder) override;

    // QWidget::saveGeometry() of the main window.
    QByteArray windowGeometry() const;
    void setWindowGeometry(const QByteArray &geometry);

    // The file dialogs' size and their detail view's column widths
    // (QHeaderView::saveState()); invalid and empty when never saved.
    QSize fileDialogSize() const;
    void setFileDialogSize(const QSize &size);
    QByteArray fileDialogColumns() const;
    void setFileDialogColumns(const QByteArray &columns);

private:
    QSettings m_settings;
};

} // namespace orvane
