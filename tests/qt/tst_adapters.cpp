// The Qt message box, file dialogs and input box behind the core's interfaces.

#include "platform/commondialog.h"
#include "platform/qt/qmessageboxadapter.h"
#include "platform/qt/qtfiledialogs.h"
#include "platform/qt/qtinputbox.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QPushButton>
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
        QCOMPARE(QMessageBoxAdapter::iconFor(48), QMessageBox::Warning);
        QCOMPARE(QMessageBoxAdapter::iconFor(64), QMessageBox::Information);
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QString title, text;
        int buttons = 0;
        whenShown<QMessageBox>([&](QMessageBox *box) {
            icon = box->icon();
            title = box->windowTitle();
            text = box->text();
            buttons = int(box->buttons().size());
            box->accept();
        });
        QMessageBoxAdapter adapter;
        QCOMPARE(adapter.showMessage("One.\r\nFile: /x.pat\r\n\r\nTwo.", 48, "Veltrum Orvane"), 1);
        QCOMPARE(icon, QMessageBox::Warning);
        QCOMPARE(title, "Veltrum Orvane");
        QCOMPARE(text, "One.\nFile: /x.pat\n\nTwo.");
        QCOMPARE(buttons, 1);
    }

    void nameFilters()
    {
        QCOMPARE(QtFileDialogs::nameFilters("Pattern File (*.pat)|*.pat"), QStringList{"Pattern File (*.pat)"});
        QCOMPARE(QtFileDialogs::nameFilters("Pictures|*.a;*.b|All|*.*"),
                 (QStringList{"Pictures (*.a *.b)", "All (*.*)"}));
    }

    void dialogsFollowTheSharedProperties()
    {
        CommonDialog open;
        open.Filter = "Pattern File (*.pat)|*.pat";
        open.DialogTitle = "Open Pattern File";
        open.Flags = CommonDialog::HideReadOnly | CommonDialog::PathMustExist | CommonDialog::FileMustExist;
        open.FilterIndex = 1;
        QFileDialog openDialog;
        QtFileDialogs::configure(openDialog, open, QtFileDialogs::Open);
        QCOMPARE(openDialog.windowTitle(), "Open Pattern File");
        QCOMPARE(openDialog.fileMode(), QFileDialog::ExistingFile);
        QCOMPARE(openDialog.acceptMode(), QFileDialog::AcceptOpen);
        QCOMPARE(openDialog.selectedNameFilter(), "Pattern File (*.pat)");

        CommonDialog save = open; // what the open left behind stays in force
        save.Filter = "Windows Metafile (*.wmf)|*.wmf";
        save.Flags = 0x806;
        QFileDialog saveDialog;
        QtFileDialogs::configure(saveDialog, save, QtFileDialogs::Save);
        QCOMPARE(saveDialog.windowTitle(), "Save As Metafile");
        QCOMPARE(saveDialog.acceptMode(), QFileDialog::AcceptSave);
        QVERIFY(!saveDialog.testOption(QFileDialog::DontConfirmOverwrite));
        save.Flags = 0;
        QtFileDialogs::configure(saveDialog, save, QtFileDialogs::Save);
        QVERIFY(saveDialog.testOption(QFileDialog::DontConfirmOverwrite));

        // A later filter's extension is the one the overwrite check must see.
        save.Filter += "|Scalable Vector Graphics (*.svg)|*.svg";
        QFileDialog formats;
        QtFileDialogs::configure(formats, save, QtFileDialogs::Save);
        QCOMPARE(formats.defaultSuffix(), QString());
        emit formats.filterSelected(formats.nameFilters().at(1));
        QCOMPARE(formats.defaultSuffix(), QStringLiteral("svg"));
        emit formats.filterSelected(formats.nameFilters().at(0));
        QCOMPARE(formats.defaultSuffix(), QString());
    }

    void fileDialogOutcomes()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath("a.wmf");
        CommonDialog dialog;
        dialog.Filter = "Windows Metafile (*.wmf)|*.wmf";
        dialog.InitDir = folder.path().toStdString();
        QtFileDialogs dialogs;

        whenShown<QFileDialog>([](QFileDialog *d) { d->reject(); });
        QCOMPARE(dialogs.showSave(dialog), DialogOutcome::Cancelled);

        whenShown<QFileDialog>([&](QFileDialog *d) {
            QCOMPARE(d->directory().absolutePath(), folder.path());
            d->selectFile(path);
            static_cast<QDialog *>(d)->accept(); // QFileDialog hides accept()
        });
        QCOMPARE(dialogs.showSave(dialog), DialogOutcome::Accepted);
        QCOMPARE(dialog.FileName, path.toStdString());
    }

    void inputBox()
    {
        QString title, label;
        whenShown<QInputDialog>([&](QInputDialog *d) {
            title = d->windowTitle();
            label = d->labelText();
            QVERIFY(d->textValue().isEmpty());
            d->setTextValue("1000");
            d->accept();
        });
        QtInputBox box;
        QCOMPARE(box.inputBox("Set it.\r\n\r\nHorizontal Pixels?", "Orvane"), std::string("1000"));
        QCOMPARE(title, "Orvane");
        QCOMPARE(label, "Set it.\n\nHorizontal Pixels?");

        whenShown<QInputDialog>([](QInputDialog *d) {
            d->setTextValue("5");
            d->reject();
        });
        QCOMPARE(box.inputBox("p", "Orvane"), std::string());
    }
};

QTEST_MAIN(TestAdapters)
#include "tst_adapters.moc"
