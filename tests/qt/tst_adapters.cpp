// The Qt message box, file dialogs and input box behind the core's interfaces.

#include "platform/commondialog.h"
#include "platform/qt/qmessageboxadapter.h"
#include "platform/qt/qtfiledialogs.h"
#include "platform/qt/qtinputbox.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

using namespace orvane;

namespace {

// Runs check on the modal dialog of type T as soon as it is shown.
template <typename T>
void whenShown(std::function<void(T *)> check)
{
    QTimer::singleShot(0, [check] {
        T *dialog = qobject_cast<T *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        check(dialog);
    });
}

} // namespace

class TestAdapters : public QObject {
    Q_OBJECT

private slots:
    void messageBox()
    {
        QCOMPARE(QMessageBoxAdapter::iconFor(64), QMessageBox::Information);
        QStringList seen;
        whenShown<QMessageBox>([&](QMessageBox *box) {
            seen << QString::number(box->icon()) << box->windowTitle() << box->text()
                 << QString::number(box->buttons().size());
            box->accept();
        });
        QCOMPARE(QMessageBoxAdapter().showMessage("One.\r\nFile: /x.pat\r\n\r\nTwo.", 48, "Veltrum Orvane"), 1);
        QCOMPARE(seen, (QStringList{QString::number(QMessageBox::Warning), "Veltrum Orvane",
                                    "One.\nFile: /x.pat\n\nTwo.", "1"}));
    }

    void fileDialogs()
    {
        QCOMPARE(QtFileDialogs::nameFilters("Pictures|*.a;*.b|All|*.*"),
                 (QStringList{"Pictures (*.a *.b)", "All (*.*)"}));
        CommonDialog d;
        d.Filter = "Pattern File (*.pat)|*.pat";
        d.DialogTitle = "Open Pattern File";
        d.Flags = CommonDialog::HideReadOnly | CommonDialog::PathMustExist | CommonDialog::FileMustExist;
        d.FilterIndex = 1;
        QFileDialog open;
        QtFileDialogs::configure(open, d, QtFileDialogs::Open);
        QCOMPARE(open.windowTitle() + "|" + open.selectedNameFilter(), "Open Pattern File|Pattern File (*.pat)");
        QCOMPARE(open.fileMode(), QFileDialog::ExistingFile);
        d.Filter = "Windows Metafile (*.wmf)|*.wmf"; // what the open left behind stays in force
        d.Flags = 0x806;
        QFileDialog save;
        QtFileDialogs::configure(save, d, QtFileDialogs::Save);
        QCOMPARE(save.windowTitle(), "Save As Metafile");
        QVERIFY(save.acceptMode() == QFileDialog::AcceptSave && !save.testOption(QFileDialog::DontConfirmOverwrite));
        d.Flags = 0;
        QtFileDialogs::configure(save, d, QtFileDialogs::Save);
        QVERIFY(save.testOption(QFileDialog::DontConfirmOverwrite));
        d.Filter += "|Scalable Vector Graphics (*.svg)|*.svg"; // a later filter's extension is what the
        QFileDialog formats;                                  // overwrite check must see
        QtFileDialogs::configure(formats, d, QtFileDialogs::Save);
        QCOMPARE(formats.defaultSuffix(), QString());
        emit formats.filterSelected(formats.nameFilters().at(1));
        QCOMPARE(formats.defaultSuffix(), QStringLiteral("svg"));
        emit formats.filterSelected(formats.nameFilters().at(0));
        QCOMPARE(formats.defaultSuffix(), QString());

        QTemporaryDir folder;
        d.InitDir = folder.path().toStdString();
        QtFileDialogs dialogs;
        whenShown<QFileDialog>([](QFileDialog *f) { f->reject(); });
        QCOMPARE(dialogs.showSave(d), DialogOutcome::Cancelled);
        whenShown<QFileDialog>([&](QFileDialog *f) {
            QCOMPARE(f->directory().absolutePath(), folder.path());
            f->selectFile(folder.filePath("a.wmf"));
            static_cast<QDialog *>(f)->accept(); // QFileDialog hides accept()
        });
        QCOMPARE(dialogs.showSave(d), DialogOutcome::Accepted);
        QCOMPARE(d.FileName, folder.filePath("a.wmf").toStdString());
    }

    void inputBox()
    {
        QString seen;
        whenShown<QInputDialog>([&](QInputDialog *d) {
            seen = d->windowTitle() + "|" + d->labelText() + "|" + d->textValue();
            d->setTextValue("1000");
            d->accept();
        });
        QtInputBox box;
        QCOMPARE(box.inputBox("Set it.\r\n\r\nHorizontal Pixels?", "Orvane"), std::string("1000"));
        QCOMPARE(seen, "Orvane|Set it.\n\nHorizontal Pixels?|");
        whenShown<QInputDialog>([](QInputDialog *d) { d->setTextValue("5"), d->reject(); });
        QCOMPARE(box.inputBox("p", "Orvane"), std::string());
    }
};

QTEST_MAIN(TestAdapters)
#include "tst_adapters.moc"
