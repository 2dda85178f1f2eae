// The window's help tooltips: the wrapper's members, what resting the pointer
// on a control shows, and the texts the window carries after start-up.

#include <QComboBox>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyleHints>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextFrame>
#include <QToolTip>
#include <QtTest>
#include <memory>

#include "app/qt/cls_tool_tip.h"
#include "app/qt/form1_window.h"
#include "support/fake_dialogs.h"
#include "support/fake_system.h"

using quorvik::qt::clsToolTip;
using quorvik::qt::Form1Window;

namespace {

// A small window with one control of each sort the wrapper meets.
struct Rig {
    QWidget owner;
    QLineEdit* edit = new QLineEdit(&owner);
    QLineEdit* other = new QLineEdit(&owner);
    QPushButton* button = new QPushButton(QStringLiteral("Go"), &owner);
    QLabel* label = new QLabel(QStringLiteral("Caption"), &owner);
    clsToolTip tips{&owner};

    Rig() {
        owner.resize(400, 200);
        edit->setObjectName(QStringLiteral("Edit"));
        edit->setGeometry(10, 10, 100, 24);
        other->setObjectName(QStringLiteral("Other"));
        other->setGeometry(10, 50, 100, 24);
        button->setObjectName(QStringLiteral("Button"));
        button->setGeometry(10, 90, 100, 24);
        label->setObjectName(QStringLiteral("Label1"));
        label->setGeometry(10, 130, 100, 24);
    }
};

// What the tip shows, as the reader sees it: one line per "\n".
QString shownText() {
    QTextDocument document;
    document.setHtml(QToolTip::text());
    QString text = document.toPlainText();
    // A table around the text (for margins) reads as a line break before and after.
    if (document.rootFrame()->childFrames().size() == 1) text = text.mid(1).chopped(1);
    return text;
}

// The toolkit's request for a tip when the pointer has come to rest on `widget`.
bool restOn(QWidget* widget) {
    const QPoint local(3, 3);
    QHelpEvent event(QEvent::ToolTip, local, widget->mapToGlobal(local));
    QApplication::sendEvent(widget, &event);
    return QToolTip::isVisible();
}

QWidget* tipLabel() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->inherits("QTipLabel") && widget->isVisible()) return widget;
    }
    return nullptr;
}

std::string utf8(const char* text) {
    return text;
}

}  // namespace

class ToolTipTest : public QObject {
    Q_OBJECT

private:
    quorvik::testing::FakeDialogs dialogs_;
    quorvik::testing::FakeSystem system_;

private slots:
    void init() {
        QToolTip::hideText();
        QTRY_VERIFY(!QToolTip::isVisible());
    }

    void inertUntilCreatedThenCreatedOnce() {
        Rig rig;
        QCOMPARE(rig.tips.AddTool(rig.edit, "text"), false);
        rig.tips.MaxTipWidth(100);
        QCOMPARE(rig.tips.hWnd(), clsToolTip::Handle{0});
        QCOMPARE(rig.tips.MaxTipWidth(), 0);
        QCOMPARE(rig.tips.DelayTime(2), 0);
        QCOMPARE(rig.tips.ToolText(rig.edit), std::string());

        const int childrenBefore = rig.owner.children().size();
        QVERIFY(rig.tips.Create());
        const auto handle = rig.tips.hWnd();
        QVERIFY(handle != 0);
        QVERIFY(rig.tips.Create());
        QCOMPARE(rig.tips.hWnd(), handle);
        QCOMPARE(rig.owner.children().size(), childrenBefore + 1);
        // Nothing written before Create survived it.
        QCOMPARE(rig.tips.MaxTipWidth(), -1);
    }

    void theTooltipGoesWithItsWindow() {
        auto owner = std::make_unique<QWidget>();
        auto* edit = new QLineEdit(owner.get());
        const int children = owner->children().size();
        {
            clsToolTip tips(owner.get());
            QVERIFY(tips.Create());
            QVERIFY(tips.AddTool(edit, "x"));
            QCOMPARE(owner->children().size(), children + 1);
        }
        QCOMPARE(owner->children().size(), children);  // the wrapper took its tooltip along
        QVERIFY(!restOn(edit));

        clsToolTip outliving(owner.get());
        QVERIFY(outliving.Create());
        QVERIFY(outliving.AddTool(edit, "x"));
        owner.reset();
        QCOMPARE(outliving.hWnd(), clsToolTip::Handle{0});
        QVERIFY2(!outliving.Create(), "its window is gone");
    }

    void eachControlIsRegisteredOnceAndLabelsNever() {
        Rig rig;
        QVERIFY(rig.tips.Create());
        QVERIFY(rig.tips.AddTool(rig.edit, "first"));
        QCOMPARE(rig.tips.AddTool(rig.edit, "second"), false);
        QCOMPARE(rig.tips.ToolText(rig.edit), std::string("first"));
        QCOMPARE(rig.tips.AddTool(rig.label, "caption"), false);
        QCOMPARE(rig.tips.AddTool(nullptr, "nothing"), false);
        QVERIFY(rig.tips.AddTool(rig.button));
        QCOMPARE(rig.tips.AddTool(rig.button), false);  // a tool without text is one too

        // By name, as start-up does it.
        QCOMPARE(rig.tips.AddTool(std::string_view("Label1"), std::string()), false);
        QCOMPARE(rig.tips.AddTool(std::string_view("Missing"), std::string()), false);
        QVERIFY(rig.tips.AddTool(std::string_view("Other"), std::string()));
        rig.tips.setToolText("Other", "by name");
        QCOMPARE(rig.tips.ToolText(rig.other), std::string("by name"));
        rig.tips.setToolText("Label1", "ignored");
        rig.tips.setToolText("Missing", "ignored");
    }

    void textsAreReplacedOnlyForRegisteredControls() {
        Rig rig;
        QVERIFY(rig.tips.Create());
        QVERIFY(rig.tips.AddTool(rig.edit));
        QCOMPARE(rig.tips.ToolText(rig.edit), std::string());
        QVERIFY2(!restOn(rig.edit), "no text, no tip");

        rig.tips.ToolText(rig.edit, "now explained");
        QCOMPARE(rig.tips.ToolText(rig.edit), std::string("now explained"));
        QVERIFY(restOn(rig.edit));
        QCOMPARE(shownText(), QStringLiteral("now explained"));

        rig.tips.ToolText(rig.other, "never registered");
        QCOMPARE(rig.tips.ToolText(rig.other), std::string());

        rig.tips.ToolText(rig.edit, std::string("cut\0here", 8));
        QCOMPARE(rig.tips.ToolText(rig.edit), std::string("cut"));
    }

    void maxTipWidth_data() {
        QTest::addColumn<int>("written");
        QTest::addColumn<int>("read");
        QTest::newRow("width") << 240 << 240;
        QTest::newRow("zero means no limit") << 0 << -1;
        QTest::newRow("negative means no limit") << -20 << -1;
        QTest::newRow("low word only") << 0x11170 << 0x1170;
        QTest::newRow("low word is signed") << 0x18000 << -32768;
    }

    void maxTipWidth() {
        QFETCH(int, written);
        QFETCH(int, read);
        Rig rig;
        QVERIFY(rig.tips.Create());
        rig.tips.MaxTipWidth(written);
        QCOMPARE(rig.tips.MaxTipWidth(), read);
    }

    void delayTimes_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("milliSecs");
        QTest::addColumn<int>("reshow");
        QTest::addColumn<int>("autoPop");
        QTest::addColumn<int>("initial");
        const int t = QGuiApplication::styleHints()->mouseDoubleClickInterval();
        QTest::newRow("defaults") << 0 << -1 << t / 5 << t * 10 << t;
        QTest::newRow("automatic") << 0 << 600 << 120 << 6000 << 600;
        QTest::newRow("reshow") << 1 << 50 << t / 5 << t * 10 << t;
        QTest::newRow("auto-pop") << 2 << 20000 << t / 5 << 20000 << t;
        QTest::newRow("initial") << 3 << 900 << t / 5 << t * 10 << 900;
        QTest::newRow("type 6 is auto-pop") << 6 << 7000 << t / 5 << 7000 << t;
        QTest::newRow("type 4 is automatic") << 4 << 1000 << 200 << 10000 << 1000;
    }

    void delayTimes() {
        QFETCH(int, type);
        QFETCH(int, milliSecs);
        QFETCH(int, reshow);
        QFETCH(int, autoPop);
        QFETCH(int, initial);
        Rig rig;
        QVERIFY(rig.tips.Create());
        rig.tips.DelayTime(type, milliSecs);
        // The reshow row sets only its own delay.
        if (type == 1) reshow = milliSecs;
        QCOMPARE(rig.tips.DelayTime(1), reshow);
        QCOMPARE(rig.tips.DelayTime(2), autoPop);
        QCOMPARE(rig.tips.DelayTime(3), initial);
        QCOMPARE(rig.tips.DelayTime(7), initial);
    }

    void restingThePointerShowsTheText() {
        Rig rig;
        rig.owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&rig.owner));
        QVERIFY(rig.tips.Create());
        QVERIFY(rig.tips.AddTool(rig.edit, utf8("1024\xC3\x97"
                                                "768 is \xE2\x80\x98XGA\xE2\x80\x99 <b>&")));
        QVERIFY(rig.tips.AddTool(rig.button, "press me"));
        QVERIFY(!restOn(rig.label));
        QVERIFY(restOn(rig.edit));
        QCOMPARE(shownText(), QString::fromUtf8("1024\xC3\x97"
                                                "768 is \xE2\x80\x98XGA\xE2\x80\x99 <b>&"));
        QVERIFY(restOn(rig.button));
        QCOMPARE(shownText(), QStringLiteral("press me"));
    }

    void theTipWaitsItsOwnDelayAndGoesAfterAutoPop() {
        Rig rig;
        rig.owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&rig.owner));
        QVERIFY(rig.tips.Create());
        rig.tips.DelayTime(3, 300);
        rig.tips.DelayTime(2, 400);
        QVERIFY(rig.tips.AddTool(rig.edit, "patience"));

        const QPoint at = rig.edit->mapToGlobal(QPoint(3, 3));
        QEnterEvent enter(QPointF(3, 3), QPointF(3, 3), at);
        QApplication::sendEvent(rig.edit, &enter);
        QVERIFY2(!restOn(rig.edit), "the toolkit's own, shorter delay does not show it");
        QTRY_VERIFY_WITH_TIMEOUT(QToolTip::isVisible(), 2000);
        QCOMPARE(shownText(), QStringLiteral("patience"));
        QTRY_VERIFY_WITH_TIMEOUT(!QToolTip::isVisible(), 2000);
    }

    void lineBreaksAndWrapping() {
        const QString longLine = QStringLiteral(
            "Anisotropic filtering keeps the textures of distant surfaces sharp when they are "
            "seen at steep angles, at a small cost in speed.");
        Rig rig;
        rig.owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&rig.owner));
        QVERIFY(rig.tips.Create());
        QVERIFY(rig.tips.AddTool(rig.edit, "first\r\n\r\nsecond"));
        QVERIFY(rig.tips.AddTool(rig.other, longLine.toStdString()));

        // One line until a width is set: line breaks read as a space.
        QVERIFY(restOn(rig.edit));
        QCOMPARE(shownText(), QStringLiteral("first second"));
        QVERIFY(restOn(rig.other));
        QCOMPARE(shownText(), longLine);

        rig.tips.MaxTipWidth(150);
        QVERIFY(restOn(rig.edit));
        QCOMPARE(shownText(), QStringLiteral("first\n\nsecond"));
        QVERIFY(restOn(rig.other));
        const QStringList lines = shownText().split(QLatin1Char('\n'));
        QVERIFY(lines.size() > 2);
        QCOMPARE(lines.join(QLatin1Char(' ')), longLine);
        const QFontMetrics metrics(QToolTip::font());
        for (const QString& line : lines)
            QVERIFY2(metrics.horizontalAdvance(line) <= 150, qPrintable(line));
        QTRY_VERIFY(tipLabel() != nullptr);
        QVERIFY(tipLabel()->width() <= 150 + 20);

        // With no limit the breaks stay, and nothing wraps.
        rig.tips.MaxTipWidth(0);
        QVERIFY(restOn(rig.other));
        QCOMPARE(shownText(), longLine);
    }

    void theWindowCarriesItsHelpTexts() {
        Form1Window window(system_, &dialogs_);
        dialogs_.yesNoAnswers = {quorvik::platform::kNo};
        window.load();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        clsToolTip& tips = window.ToolTips;
        const auto control = [&](const char* name) {
            return window.findChild<QWidget*>(QString::fromLatin1(name));
        };

        QCOMPARE(tips.MaxTipWidth(), 240);
        QCOMPARE(tips.DelayTime(2), 20000);
        QCOMPARE(tips.ToolText(control("Text10")), std::string("lower is better"));
        QCOMPARE(tips.ToolText(control("Command2")), std::string());
        QCOMPARE(tips.ToolText(control("Label3")), std::string());

        for (const char* name : {"Text19", "Text20", "Text21", "Text22"}) {
            QCOMPARE(tips.ToolText(control(name)), std::string("(Valid Values: 0-40)"));
        }
        tips.ToolText(control("Text19"), "changed");
        QCOMPARE(tips.ToolText(control("Text19")), std::string("changed"));
        for (const char* name : {"Text20", "Text21", "Text22"}) {
            QCOMPARE(tips.ToolText(control(name)), std::string("(Valid Values: 0-40)"));
        }

        // Handlers push the panel back into the widgets; the tips stay.
        window.run("Red");
        window.run("bgblack");
        QVERIFY(restOn(control("Text10")));
        QCOMPARE(shownText(), QStringLiteral("lower is better"));

        QVERIFY(restOn(control("Command1")));
        // The path is never broken, though wider than the tip.
        const QStringList command1 = shownText().split(QLatin1Char('\n'));
        const auto path = command1.indexOf(
            QStringLiteral("\"C:\\Users\\%USERNAME%\\Documents\\QuellMoor\\out\\Settings\""));
        QVERIFY(path > 0);
        QVERIFY(command1[path - 1].endsWith(QStringLiteral("this will be:")));
        QVERIFY(command1[path + 1].startsWith(QStringLiteral("Please enter")));

        QVERIFY(restOn(control("Text1")));
        QVERIFY(
            shownText().contains(QString::fromUtf8("\"1024\xC3\x97"
                                                   "768\"")));

        QVERIFY(restOn(control("Text3")));
        const QStringList paragraphs = shownText().split(QStringLiteral("\n\n"));
        QCOMPARE(paragraphs.size(), 4);
        QVERIFY(shownText().endsWith(QStringLiteral("monitor)")));
        const QFontMetrics metrics(QToolTip::font());
        for (const QString& line : shownText().split(QLatin1Char('\n'))) {
            QVERIFY2(metrics.horizontalAdvance(line) <= 240, qPrintable(line));
        }

        // The pointer on an editable list's text field, or on the banner's page,
        // still finds the control's tip.
        auto* combo = qobject_cast<QComboBox*>(control("Combo1"));
        QVERIFY(restOn(combo->lineEdit()));
        QVERIFY(shownText().startsWith(QStringLiteral("An anisotropic surface")));
        auto* banner = qobject_cast<QTextBrowser*>(control("Scriptlet1"));
        tips.ToolText(banner, "the banner");
        QVERIFY(restOn(banner->viewport()));
        QCOMPARE(shownText(), QStringLiteral("the banner"));
    }
};

QTEST_MAIN(ToolTipTest)
#include "tooltip_test.moc"
