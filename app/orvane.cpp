// orvane: the desktop converter window, optionally opening one pattern file.

#include "export/qt/pictureencoders.h"
#include "platform/fileio.h"
#include "shell/mainform.h"
#include "shell/qt/mainwindow.h"
#include "platform/qt/qmessageboxadapter.h"
#include "platform/qt/qsettingsstore.h"
#include "platform/qt/qtfiledialogs.h"
#include "platform/qt/qtinputbox.h"
#include "platform/qt/qtpreferences.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QIcon>
#include <QTimer>

int main(int argc, char **argv)
{
    orvane::ignoreFileSizeSignal();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvane"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/orvane.png")));
    // Wayland has no window icons: the compositor shows the one of the installed orvane.desktop.
    QApplication::setDesktopFileName(QStringLiteral("orvane"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Converts Veltrum pattern files to Windows Metafiles."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("A pattern file (*.pat) to open."),
                                 QStringLiteral("[FILE.pat]"));
    parser.process(app);
    if (parser.positionalArguments().size() > 1)
        parser.showHelp(2);

    orvane::QMessageBoxAdapter messages;
    orvane::QSettingsStore settings;
    orvane::QtFileDialogs dialogs;
    orvane::QtInputBox input;
    orvane::QtPreferences preferences;
    orvane::Platform platform{messages, settings, &dialogs, &input};
    platform.preferences = &preferences;
    platform.moreFormats = orvane::pictureModule().formats;
    orvane::MainWindow window(platform);
    messages.setParentWidget(&window);
    dialogs.setParentWidget(&window);
    input.setParentWidget(&window);
    window.restoreGeometry(preferences.windowGeometry());
    window.show();
    if (!parser.positionalArguments().isEmpty()) {
        // Once the window is up, so that a message about the file has it as its parent.
        const std::string path = QFile::encodeName(parser.positionalArguments().first()).toStdString();
        QTimer::singleShot(0, &window, [&window, path] { window.openFile(path); });
    }
    const int status = app.exec();
    preferences.setWindowGeometry(window.saveGeometry());
    return status;
}
