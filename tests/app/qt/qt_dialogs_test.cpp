// The message boxes as the player answers them: which key or button gives which
// answer, and buttons that look as Qt's standard ones do.

#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QtTest>

#include "app/qt/qt_dialogs.h"

using quorvik::qt::QtDialogs;
namespace platform = quorvik::platform;

// How the player answers the box.
enum class Answer { Return, Escape, ClickNo, ClickYes };

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
};

QTEST_MAIN(QtDialogsTest)
#include "qt_dialogs_test.moc"
