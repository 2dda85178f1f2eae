// The message boxes and the list as the player answers them: which key or
// button gives which answer, and buttons that look as Qt's standard ones do.

#include "app/qt/qt_dialogs.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <string>
#include <vector>

using quorvik::qt::QtDialogs;
namespace platform = quorvik::platform;

// How the player answers the box.
enum class Answer { Return, Escape, ClickNo, ClickYes };
// How the player answers the list.
enum class Choice {
    Button,
    DownThenButton,
    DoubleClickThird,
    Return,
    AccessKey,
    Cancel,
    CancelKey,
    Escape,
    Close
};

class QtDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void answers_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<int>("result");
        QTest::addColumn<QStringList>("buttons");
        const QStringList yesNo = {"&Yes", "&No"};
        const int yesNoBox = platform::kYesNo, okBox = platform::kOkOnly,
                  warningBox = platform::kExclamation;
        const int yes = platform::kYes, no = platform::kNo, ok = platform::kOk;
        QTest::newRow("Yes/No, Return takes Yes") << yesNoBox << Answer::Return << yes << yesNo;
        QTest::newRow("Yes/No, Escape takes No") << yesNoBox << Answer::Escape << no << yesNo;
        QTest::newRow("Yes/No, No clicked") << yesNoBox << Answer::ClickNo << no << yesNo;
        QTest::newRow("Yes/No, Yes clicked") << yesNoBox << Answer::ClickYes << yes << yesNo;
        QTest::newRow("Yes/No, No the default, Return takes No")
            << (yesNoBox | platform::kDefaultButton2) << Answer::Return << no << yesNo;
        QTest::newRow("OK, Return") << okBox << Answer::Return << ok << QStringList{"OK"};
        QTest::newRow("OK with a warning, Escape")
            << warningBox << Answer::Escape << ok << QStringList{"OK"};
    }

    void answers() {
        QFETCH(int, style);
        QFETCH(Answer, answer);
        QFETCH(int, result);
        QFETCH(QStringList, buttons);
        QStringList shown;
        bool iconsAsStyled = true;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            const bool withIcons =
                box->style()->styleHint(QStyle::SH_DialogButtonBox_ButtonsHaveIcons, nullptr, box);
            QPushButton* clicked = nullptr;
            for (QAbstractButton* button : box->buttons()) {
                shown << button->text();
                iconsAsStyled = iconsAsStyled && button->icon().isNull() != withIcons;
                if ((answer == Answer::ClickNo && button->text() == "&No") ||
                    (answer == Answer::ClickYes && button->text() == "&Yes")) {
                    clicked = qobject_cast<QPushButton*>(button);
                }
            }
            switch (answer) {
                case Answer::Return:
                    QTest::keyClick(box, Qt::Key_Return);
                    break;
                case Answer::Escape:
                    QTest::keyClick(box, Qt::Key_Escape);
                    break;
                case Answer::ClickNo:
                case Answer::ClickYes:
                    QVERIFY(clicked != nullptr);
                    QTest::mouseClick(clicked, Qt::LeftButton);
                    break;
            }
        });
        QtDialogs dialogs(nullptr);
        QCOMPARE(dialogs.messageBox("Would you like to?", style, "Quorvik"), result);
        shown.sort();
        buttons.sort();
        QCOMPARE(shown, buttons);
        QVERIFY(iconsAsStyled);
    }

    void chooseItem_data() {
        QTest::addColumn<Choice>("choice");
        QTest::addColumn<int>("chosen");
        QTest::newRow("the button takes the first item") << Choice::Button << 0;
        QTest::newRow("another item, then the button") << Choice::DownThenButton << 1;
        QTest::newRow("a double click on an item") << Choice::DoubleClickThird << 2;
        QTest::newRow("Return") << Choice::Return << 0;
        QTest::newRow("Alt+R") << Choice::AccessKey << 0;
        QTest::newRow("Cancel") << Choice::Cancel << -1;
        QTest::newRow("Alt+C") << Choice::CancelKey << -1;
        QTest::newRow("Escape") << Choice::Escape << -1;
        QTest::newRow("closing the dialog") << Choice::Close << -1;
    }

    void chooseItem() {
        QFETCH(Choice, choice);
        QFETCH(int, chosen);
        QStringList shown;
        int firstCurrent = -1;
        bool stuck = false;
        QTimer::singleShot(0, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog != nullptr);
            // An answer the dialog ignores fails the row instead of hanging it.
            QTimer::singleShot(5000, dialog, [&stuck, dialog] {
                stuck = true;
                dialog->close();
            });
            auto* list = dialog->findChild<QListWidget*>("chooseItemList");
            auto* buttons = dialog->findChild<QDialogButtonBox*>("chooseItemButtons");
            QVERIFY(list != nullptr && buttons != nullptr);
            for (int row = 0; row < list->count(); ++row) shown << list->item(row)->text();
            firstCurrent = list->currentRow();
            // The longest entry is shown whole.
            QVERIFY(list->viewport()->width() >= list->sizeHintForColumn(0));
            QPushButton* take = nullptr;
            QPushButton* cancel = nullptr;
            for (QAbstractButton* button : buttons->buttons()) {
                auto* push = qobject_cast<QPushButton*>(button);
                (button->text() == "&Restore" ? take : cancel) = push;
            }
            QVERIFY(take != nullptr && take->isDefault() && cancel != nullptr);
            switch (choice) {
                case Choice::DownThenButton:
                    QTest::keyClick(list, Qt::Key_Down);
                    [[fallthrough]];
                case Choice::Button:
                    QTest::mouseClick(take, Qt::LeftButton);
                    break;
                case Choice::DoubleClickThird: {
                    const QPoint at = list->visualItemRect(list->item(2)).center();
                    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
                    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
                    break;
                }
                case Choice::Return:
                    QTest::keyClick(list, Qt::Key_Return);
                    break;
                case Choice::AccessKey:
                case Choice::CancelKey:
                    // Access keys reach the window that has the keyboard.
                    dialog->activateWindow();
                    QVERIFY(QTest::qWaitForWindowActive(dialog));
                    QTest::keyClick(list, choice == Choice::AccessKey ? Qt::Key_R : Qt::Key_C,
                                    Qt::AltModifier);
                    break;
                case Choice::Cancel:
                    QTest::mouseClick(cancel, Qt::LeftButton);
                    break;
                case Choice::Escape:
                    QTest::keyClick(list, Qt::Key_Escape);
                    break;
                case Choice::Close:
                    dialog->close();
                    break;
            }
        });
        QtDialogs dialogs(nullptr);
        const std::string longest =
            "2026-12-05 21.10.40 Caf\xC3\xA9, before profile \"Docked at the big screen in the "
            "living room\" and three presets";
        const std::vector<std::string> items = {"2026-12-07 13.45.02", "2026-12-06 09.00.00",
                                                longest};
        QCOMPARE(dialogs.chooseItem("Which settings?", items, "Restore", "Quorvik"), chosen);
        QCOMPARE(shown, QStringList({"2026-12-07 13.45.02", "2026-12-06 09.00.00",
                                     QString::fromStdString(longest)}));
        QCOMPARE(firstCurrent, 0);
        QVERIFY(!stuck);
    }

    // The desktop's file dialogs (here Qt's own, no portal being there): what
    // each offers, and the path the player picks comes back whole.
    void fileDialogs_data() {
        QTest::addColumn<QString>("which");
        QTest::addColumn<QString>("offeredName");
        QTest::newRow("Export: Save, the profile's name offered") << "save"
                                                                  << "Docked.json";
        QTest::newRow("Import: Open") << "open"
                                      << "";
        QTest::newRow("Browse... fills the folder box") << "folder"
                                                        << "";
    }

    void fileDialogs() {
        QFETCH(QString, which);
        QFETCH(QString, offeredName);
        QTemporaryDir dir;
        const QString folder = dir.filePath(QString::fromUtf8("Quell M\xC3\xB6\xC3\xB6r"));
        QDir().mkpath(folder);
        const QString file = folder + "/shared.json";
        QFile(file).open(QIODevice::WriteOnly);
        QString filter;
        QString named;
        // Answers the next file dialog with `path`.
        const auto pick = [&](const QString& path) {
            QTimer::singleShot(0, [&, path] {
                auto* picker = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                QVERIFY(picker != nullptr);
                filter = picker->selectedNameFilter();
                const auto* field = picker->findChild<QLineEdit*>("fileNameEdit");
                if (field != nullptr) named = field->text();
                picker->setDirectory(QFileInfo(path).absolutePath());
                picker->selectFile(path);
                static_cast<QDialog*>(picker)->accept();  // as its Save or Open button does
            });
        };
        QtDialogs dialogs(nullptr);
        const platform::FileKind kind{"Quorvik profile", "json"};
        std::string chosen;
        if (which == "save") {
            pick(file);
            chosen = dialogs.saveFileName("Export Profile", "Docked.json", kind);
        } else if (which == "open") {
            pick(file);
            chosen = dialogs.openFileName("Import Profile", kind);
        } else {
            QString typed;
            QTimer::singleShot(0, [&] {
                QWidget* box = QApplication::activeModalWidget();
                QVERIFY(box != nullptr);
                auto* browse = box->findChild<QPushButton*>("folderBrowse");
                auto* field = box->findChild<QLineEdit*>("folderField");
                QVERIFY(browse != nullptr && field != nullptr);
                QCOMPARE(browse->text(), QString("&Browse..."));
                pick(folder);
                QTest::mouseClick(browse, Qt::LeftButton);
                typed = field->text();
                QTest::keyClick(field, Qt::Key_Return);
            });
            chosen = dialogs.folderInputBox("Where is Video.scr?", "Video.scr Path");
            QCOMPARE(typed, QDir::toNativeSeparators(folder));
        }
        QCOMPARE(QString::fromStdString(chosen), which == "folder" ? folder : file);
        if (which != "folder") QCOMPARE(filter, QString("Quorvik profile (*.json)"));
        QCOMPARE(named, offeredName);
    }
};

QTEST_MAIN(QtDialogsTest)
#include "qt_dialogs_test.moc"
