// orvane: the desktop converter window, optionally opening one pattern file.

#include "export/qt/pictureencoders.h"
#include "savesignals.h"
#include "shell/mainform.h"
#include "shell/qt/mainwindow.h"
#include "shell/qt/windowplacement.h"
#include "shell/qt/qmessageboxadapter.h"
#include "shell/qt/qtfiledialogs.h"
#include "shell/qt/qtinputbox.h"
#include "settings/qt/qtpreferences.h"
#include "settings/usersettingsstore.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QIcon>
#include <QStandardPaths>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

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

// Options QApplication takes out of the command line itself, and whether
// each takes a value; they may start with - or --, a value may follow =.
struct QtOption {
    std::string_view name;
    bool value;
};
constexpr QtOption QtOptions[] = {
    {"platform", true},     {"platformpluginpath", true}, {"platformtheme", true}, {"plugin", true},
    {"qmljsdebugger", true}, {"qwindowgeometry", true},   {"qwindowicon", true},   {"qwindowtitle", true},
    {"reverse", false},     {"session", true},            {"display", true},       {"geometry", true},
    {"style", true},        {"stylesheet", true},         {"widgetcount", false},  {"nograb", false},
    {"dograb", false},      {"sync", false},
};

// The command line as the window reads it, before anything needs a display:
// a request for text (--help, --version), an unknown option, or the files.
struct WindowCommand {
    std::string text;
    std::string unknown;
    std::vector<std::string> files;
};

WindowCommand readCommand(int argc, char **argv)
{
    WindowCommand command;
    bool optionsEnd = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (optionsEnd || arg.size() < 2 || arg[0] != '-') {
            command.files.emplace_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnd = true;
            continue;
        }
        if (arg == "-h" || arg == "--help" || arg == "-?" || arg == "--help-all" || arg == "-v" || arg == "--version") {
            command.text = arg;
            continue;
        }
        const std::string_view name = arg.substr(arg[1] == '-' ? 2 : 1);
        const std::string_view bare = name.substr(0, name.find('='));
        const auto qt = std::find_if(std::begin(QtOptions), std::end(QtOptions),
                                     [&](const QtOption &option) { return option.name == bare; });
        if (qt == std::end(QtOptions)) {
            if (command.unknown.empty())
                command.unknown = arg;
        } else if (qt->value && bare.size() == name.size()) {
            ++i;
        }
    }
    return command;
}

} // namespace

int main(int argc, char **argv)
{
    orvane::ignoreFileSizeSignal();
    const WindowCommand command = readCommand(argc, argv);
    if (!command.text.empty()) {
        // By its own name, whatever path started it.
        char program[] = "orvane";
        std::string option = command.text;
        char *arguments[] = {program, option.data(), nullptr};
        int count = 2;
        QCoreApplication text(count, arguments);
        QCommandLineParser parser;
        describe(parser);
        // Prints and exits.
        parser.process(text);
        return 0;
    }
    if (!command.unknown.empty()) {
        std::fprintf(stderr, "orvane: %s is not an option; orvane --help lists them\n", command.unknown.c_str());
        return 2;
    }
    if (command.files.size() > 1) {
        std::string rest;
        for (std::size_t n = 1; n < command.files.size(); ++n)
            rest += " " + command.files[n];
        std::fprintf(stderr, "orvane: opening %s only, as the window holds one pattern; not opened:%s\n",
                     command.files.front().c_str(), rest.c_str());
    }
    QApplication app(argc, argv);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/orvane.png")));
    // Wayland has no window icons: the compositor shows the one of the installed orvane.desktop.
    QApplication::setDesktopFileName(QStringLiteral("orvane"));

    orvane::QMessageBoxAdapter messages;
    // The pattern defaults through the reader orvane-convert uses.
    const auto settings = orvane::userSettingsStore();
    orvane::QtFileDialogs dialogs;
    orvane::QtInputBox input;
    orvane::QtPreferences preferences;
    orvane::Platform platform{messages, *settings, &dialogs, &input};
    platform.preferences = &preferences;
    platform.moreFormats = orvane::pictureModule().formats;
    // The window's saves keep the care for their temporary file that the library leaves to programs.
    orvane::SaveSignals saveSignals;
    platform.saveWatch = &saveSignals;
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
    if (!command.files.empty()) {
        // Once the window is up, so that a message about the file has it as its parent.
        const std::string path = command.files.front();
        QTimer::singleShot(0, &window, [&window, path] { window.openFile(path); });
    }
    const int status = app.exec();
    placement.saveIfChanged();
    return status;
}
