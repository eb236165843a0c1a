// orvane: the desktop converter window. It takes no command-line arguments.

#include "shell/mainform.h"
#include "shell/qt/mainwindow.h"
#include "platform/qt/qmessageboxadapter.h"
#include "platform/qt/qsettingsstore.h"
#include "platform/qt/qtfiledialogs.h"
#include "platform/qt/qtinputbox.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvane"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/orvane.png")));
    // Wayland has no window icons: the compositor shows the one of the installed orvane.desktop.
    QApplication::setDesktopFileName(QStringLiteral("orvane"));

    orvane::QMessageBoxAdapter messages;
    orvane::QSettingsStore settings;
    orvane::QtFileDialogs dialogs;
    orvane::QtInputBox input;
    orvane::MainWindow window(orvane::Platform{messages, settings, &dialogs, &input});
    messages.setParentWidget(&window);
    dialogs.setParentWidget(&window);
    input.setParentWidget(&window);
    window.show();
    return app.exec();
}
