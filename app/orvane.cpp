// orvane: the desktop converter window, optionally opening one pattern file.

#include "export/qt/pictureencoders.h"
#include "platform/fileio.h"
#include "shell/mainform.h"
#include "shell/qt/mainwindow.h"
#include "shell/qt/windowplacement.h"
#include "platform/qt/qmessageboxadapter.h"
#include "platform/qt/qsettingsstore.h"
#include "platform/qt/qtfiledialogs.h"
#include "platform/qt/qtinputbox.h"
#include "platform/qt/qtpreferences.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QStandardPaths>
#include <QTimer>

#include <string_view>

namespace {

void describe(QCommandLineParser &parser)
{
    QCoreApplication::setApplicationName(QStringLiteral("Orvane"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ORVANE_VERSION));
    parser.setApplicationDescription(QStringLiteral("Converts Veltrum pattern files to Windows Metafiles."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("A pattern file (*.pat) to open."),
                                 QStringLiteral("[FILE.pat]"));
}

// --help and --version are answered before the window's application exists,
// because that one needs a display and aborts without one.
bool asksForText(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--")
            return false;
        if (arg == "-h" || arg == "--help" || arg == "-?" || arg == "--help-all" || arg == "-v" || arg == "--version")
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    orvane::ignoreFileSizeSignal();
    if (asksForText(argc, argv)) {
        QCoreApplication text(argc, argv);
        QCommandLineParser parser;
        describe(parser);
        // Prints and exits; an unknown option beside it is a usage error, as below.
        parser.process(text);
        return 0;
    }
    QApplication app(argc, argv);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/orvane.png")));
    // Wayland has no window icons: the compositor shows the one of the installed orvane.desktop.
    QApplication::setDesktopFileName(QStringLiteral("orvane"));

    QCommandLineParser parser;
    describe(parser);
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
    dialogs.setPreferences(&preferences);
    orvane::MainWindow window(platform);
    messages.setParentWidget(&window);
    dialogs.setParentWidget(&window);
    input.setParentWidget(&window);
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    orvane::WindowPlacement placement(window, runtime.isEmpty() ? QDir::tempPath() : runtime,
                                      [&preferences](const QByteArray &geometry) {
                                          preferences.setWindowGeometry(geometry);
                                      });
    placement.restore(preferences.windowGeometry());
    window.show();
    if (!parser.positionalArguments().isEmpty()) {
        // Once the window is up, so that a message about the file has it as its parent.
        const std::string path = QFile::encodeName(parser.positionalArguments().first()).toStdString();
        QTimer::singleShot(0, &window, [&window, path] { window.openFile(path); });
    }
    const int status = app.exec();
    placement.saveIfChanged();
    return status;
}
