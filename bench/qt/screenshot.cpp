// orvane-screenshot: shows the main window with a pattern open, as a user
// would after "Open Veltrum Pattern Maker File", and saves a picture of it.
// Used by scripts/screenshot, also with QT_SCALE_FACTOR=2 for the scaled
// picture.
//
// Usage: orvane-screenshot PATTERN.pat OUTPUT.png [WIDTH HEIGHT]

#include "shell/messagebox.h"
#include "shell/qt/mainwindow.h"
#include "shell/qt/picpanel.h"
#include "settings/usersettingsstore.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPixmap>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>

#include <iostream>

namespace {

using namespace orvane;

class MessagesToStderr : public MessageBox {
public:
    int showMessage(const std::string &text, int, const std::string &) override
    {
        std::cerr << text << "\n";
        return 1;
    }
    void beep() override {}
};

void settle(int milliseconds)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc != 3 && argc != 5) {
        std::cerr << "usage: orvane-screenshot PATTERN.pat OUTPUT.png [WIDTH HEIGHT]\n";
        return 2;
    }
    const std::string pattern = QFile::encodeName(QString::fromLocal8Bit(argv[1])).toStdString();
    MessagesToStderr messages;
    const auto settings = userSettingsStore();
    MainWindow window(Platform{messages, *settings});
    if (argc == 5)
        window.resize(QString::fromLatin1(argv[3]).toInt(), QString::fromLatin1(argv[4]).toInt());
    window.show();
    settle(200);
    const bool opened = window.openFile(pattern) == MainForm::Outcome::Done;
    settle(100);
    if (!opened) {
        std::cerr << "orvane-screenshot: " << argv[1] << " could not be opened\n";
        return 1;
    }
    // As a user would: the work window dragged to fill the area below the panel.
    window.workFormWindow()->setGeometry(QRect(QPoint(0, 0), window.mdiArea()->viewport()->size()));
    // View > Fit Page: the whole page.
    window.menuViewFit()->trigger();
    settle(300);
    if (!window.grab().save(QString::fromLocal8Bit(argv[2]))) {
        std::cerr << "orvane-screenshot: cannot write " << argv[2] << "\n";
        return 1;
    }
    return 0;
}
