// The window against its design: names, kinds, places, texts, fonts, colours,
// menus, focus order and the picture behind the labels.

#include "app/qt/form1_window.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTextBrowser>
#include <QtTest>

#include "app/help_texts.h"
#include "catalogue/catalogue.h"
#include "panel/binding.h"
#include "panel/layout.h"
#include "panel/panel.h"
#include "support/fake_dialogs.h"
#include "support/fake_system.h"

using quorvik::qt::Form1Window;

namespace {

struct Expected {
    const char* name;
    const char* kind;
    int left, top, width, height;  // twips; 0 width and height for labels
    const char* text;
};

// The design, written out independently of the code's own table.
const Expected kDesign[] = {
    {"Label11", "QLabel", 120, 120, 0, 0, "Video.scr:"},
    {"Label12", "QLabel", 1440, 120, 0, 0, "0"},
    {"Label1", "QLabel", 3360, 120, 0, 0, "Quell Moor Version:"},
    {"Label2", "QLabel", 5760, 120, 0, 0, "0"},
    {"Label30", "QLabel", 7680, 120, 0, 0, "Audio.scr:"},
    {"Label29", "QLabel", 9000, 120, 0, 0, "0"},
    {"Label3", "QLabel", 120, 600, 0, 0, "Resolution"},
    {"Label5", "QLabel", 120, 960, 0, 0, "Bits per Pixel (BPP)"},
    {"Label6", "QLabel", 120, 1320, 0, 0, "Fullscreen AntiAliasing"},
    {"Label7", "QLabel", 120, 1680, 0, 0, "Texture BPP"},
    {"Label8", "QLabel", 120, 2040, 0, 0, "Texture Quality"},
    {"Label9", "QLabel", 120, 2400, 0, 0, "Filtering Mode"},
    {"Label28", "QLabel", 120, 2760, 0, 0, "Field of View"},
    {"Label10", "QLabel", 120, 3120, 0, 0, "Gamma Float"},
    {"Label4", "QLabel", 120, 3480, 0, 0, "Refresh Rate:"},
    {"Label13", "QLabel", 120, 3840, 0, 0, "Shadows"},
    {"Label14", "QLabel", 120, 4200, 0, 0, "ShadowMapSize"},
    {"Label15", "QLabel", 120, 4560, 0, 0, "SpotShadowMapSize"},
    {"Text1", "QLineEdit", 2400, 600, 495, 285, "0000"},
    {"Text2", "QLineEdit", 2880, 600, 495, 285, "0000"},
    {"Text4", "QLineEdit", 2400, 960, 495, 285, "0"},
    {"Text5", "QLineEdit", 2400, 1320, 495, 285, "0"},
    {"Text6", "QLineEdit", 2400, 1680, 495, 285, "0"},
    {"Combo2", "QComboBox", 2400, 2040, 1095, 315, "0"},
    {"Combo1", "QComboBox", 2400, 2400, 1575, 315, "0"},
    {"Text15", "QLineEdit", 2400, 2760, 495, 285, "62.5"},
    {"Text7", "QLineEdit", 2400, 3120, 495, 285, "0"},
    {"Text3", "QLineEdit", 2400, 3480, 495, 285, "0"},
    {"Combo3", "QComboBox", 2400, 3840, 855, 315, "0"},
    {"Text8", "QLineEdit", 2400, 4200, 495, 285, "0"},
    {"Text9", "QLineEdit", 2400, 4560, 495, 285, "0"},
    {"Label19", "QLabel", 4080, 480, 0, 0, "Material Quality"},
    {"Label20", "QLabel", 4080, 840, 0, 0, "Water Quality"},
    {"Label21", "QLabel", 4080, 1200, 0, 0, "Grass Quality"},
    {"Label22", "QLabel", 4080, 1560, 0, 0, "Effects Quality"},
    {"Label23", "QLabel", 4080, 1920, 0, 0, "Effects Fade Level"},
    {"Label24", "QLabel", 4080, 2280, 0, 0, "Environment Quality"},
    {"Label25", "QLabel", 4080, 2640, 0, 0, "Shader Model"},
    {"Label26", "QLabel", 4080, 3000, 0, 0, "Post Processing"},
    {"Label16", "QLabel", 4080, 3360, 0, 0, "Lightmaps"},
    {"Label17", "QLabel", 4080, 3600, 0, 0, "Full Screen"},
    {"Text10", "QLineEdit", 6120, 480, 375, 285, "0"},
    {"Text11", "QLineEdit", 6120, 840, 375, 285, "0"},
    {"Text12", "QLineEdit", 6120, 1200, 375, 285, "0"},
    {"Text13", "QLineEdit", 6120, 1560, 375, 285, "0"},
    {"Text14", "QLineEdit", 6120, 1920, 375, 285, "0"},
    {"Combo4", "QComboBox", 6120, 2280, 1335, 315, "0"},
    {"Combo5", "QComboBox", 6120, 2640, 975, 315, "0"},
    {"Combo6", "QComboBox", 6120, 3000, 1215, 315, "0"},
    {"Check1", "QCheckBox", 6120, 3360, 175, 195, ""},
    {"Check2", "QCheckBox", 6120, 3600, 175, 195, ""},
    {"Label31", "QLabel", 7680, 600, 0, 0, "Audio API"},
    {"Label32", "QLabel", 7680, 960, 0, 0, "Mix Frequency"},
    {"Label33", "QLabel", 7680, 1320, 0, 0, "Channels"},
    {"Label34", "QLabel", 7680, 1680, 0, 0, "3D Quality"},
    {"Label35", "QLabel", 7680, 2040, 0, 0, "Max Volume"},
    {"Label36", "QLabel", 7680, 2400, 0, 0, "Effects Volume"},
    {"Label37", "QLabel", 7680, 2760, 0, 0, "Music Volume"},
    {"Label38", "QLabel", 7680, 3120, 0, 0, "Speech Volume"},
    {"Label39", "QLabel", 7680, 3480, 0, 0, "Movie Volume"},
    {"Combo7", "QComboBox", 9240, 600, 1095, 315, "0"},
    {"Text16", "QLineEdit", 9240, 960, 1095, 285, "0"},
    {"Text17", "QLineEdit", 9240, 1320, 615, 285, "0"},
    {"Combo8", "QComboBox", 9240, 1680, 1095, 315, "0"},
    {"Text18", "QLineEdit", 9240, 2040, 615, 285, "0"},
    {"Text19", "QLineEdit", 9240, 2400, 615, 285, "0"},
    {"Text20", "QLineEdit", 9240, 2760, 615, 285, "0"},
    {"Text21", "QLineEdit", 9240, 3120, 615, 285, "0"},
    {"Text22", "QLineEdit", 9240, 3480, 615, 285, "0"},
    {"Label42", "QLabel", 10440, 600, 0, 0, "Force Software"},
    {"Label43", "QLabel", 10440, 840, 0, 0, "Force Software EAX"},
    {"Label44", "QLabel", 10440, 1080, 0, 0, "Force No Effects"},
    {"Label45", "QLabel", 10440, 1320, 0, 0, "Use EAX"},
    {"Label46", "QLabel", 10440, 1560, 0, 0, "Extra Sounds"},
    {"Label41", "QLabel", 10440, 1800, 0, 0, "Debug Mode"},
    {"Label18", "QLabel", 10440, 2040, 0, 0, "VSync"},
    {"Label27", "QLabel", 10440, 2280, 0, 0, "Motion Blur"},
    {"Label40", "QLabel", 10440, 2520, 0, 0, "Depth of Field"},
    {"Check8", "QCheckBox", 12480, 600, 175, 195, ""},
    {"Check7", "QCheckBox", 12480, 840, 175, 195, ""},
    {"Check6", "QCheckBox", 12480, 1080, 175, 195, ""},
    {"Check5", "QCheckBox", 12480, 1320, 175, 195, ""},
    {"Check10", "QCheckBox", 12480, 1560, 175, 195, ""},
    {"Check9", "QCheckBox", 12480, 1800, 175, 195, ""},
    {"Check3", "QCheckBox", 12480, 2040, 175, 195, ""},
    {"Check4", "QCheckBox", 12480, 2280, 175, 195, ""},
    {"Check11", "QCheckBox", 12480, 2520, 175, 195, ""},
    {"Command1", "QPushButton", 10680, 2880, 1215, 375, "Set Video.scr"},
    {"Command2", "QPushButton", 10680, 3360, 1215, 375, "Set Audio.scr"},
    {"Scriptlet1", "QTextBrowser", 5760, 3840, 6930, 900, nullptr},
    {"Label47", "QLabel", 8880, 4800, 0, 0, "BitCoin bc1qquorvikexampledonationaddress0000"},
};

int px(int twips) { return qRound(twips / 15.0); }

QString qName(std::string_view name) { return QString::fromLatin1(name.data(), name.size()); }

// Ways a value longer than its field gets there.
enum class Way { PickFromList, ArrowKeys, TypeThenTab, TypeThenReturn };

QString textOf(QWidget* widget) {
    if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->text();
    if (auto* combo = qobject_cast<QComboBox*>(widget)) return combo->currentText();
    if (auto* button = qobject_cast<QPushButton*>(widget)) return button->text();
    if (auto* check = qobject_cast<QCheckBox*>(widget)) return check->text();
    return {};
}

}  // namespace

class Form1WindowTest : public QObject {
    Q_OBJECT

private:
    quorvik::testing::FakeDialogs dialogs_;
    quorvik::testing::FakeSystem system_;

private slots:
    void controls_data() {
        QTest::addColumn<int>("row");
        for (int i = 0; i < static_cast<int>(std::size(kDesign)); ++i) {
            QTest::newRow(kDesign[i].name) << i;
        }
    }

    void controls() {
        QFETCH(int, row);
        const Expected& expected = kDesign[row];
        Form1Window window(system_, &dialogs_);
        QWidget* widget = window.findChild<QWidget*>(QString::fromLatin1(expected.name));
        QVERIFY2(widget != nullptr, expected.name);
        QVERIFY2(widget->inherits(expected.kind), widget->metaObject()->className());
        QCOMPARE(widget->pos(), QPoint(px(expected.left), px(expected.top)));
        if (expected.width > 0) {
            QCOMPARE(widget->size(), QSize(px(expected.width), px(expected.height)));
        }
        if (expected.text != nullptr) QCOMPARE(textOf(widget), QString::fromLatin1(expected.text));

        // A family the machine lacks would cost a fallback search per size asked
        // for; the window asks for an installed stand-in straight away.
        QVERIFY2(QFontDatabase::families().contains(widget->font().family(), Qt::CaseInsensitive),
                 qPrintable(widget->font().family()));
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            QVERIFY(label->font().bold());
            QCOMPARE(label->focusPolicy(), Qt::NoFocus);
            QCOMPARE(label->autoFillBackground(), false);
            QCOMPARE(label->size(), label->sizeHint());  // labels size to their captions
            const bool status = expected.top == 120;
            const bool donation = QByteArray(expected.name) == "Label47";
            const double points = donation ? 6.0 : status ? 9.75 : 8.25;
            QCOMPARE(label->font().pointSizeF(), points);
            QCOMPARE(label->palette().color(QPalette::WindowText),
                     donation ? QColor(255, 255, 0) : QColor(255, 0, 0));
        }
        if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            QVERIFY(combo->isEditable());
            QCOMPARE(combo->insertPolicy(), QComboBox::NoInsert);
        }
        if (auto* button = qobject_cast<QPushButton*>(widget)) {
            QVERIFY(button->font().bold());
            QCOMPARE(button->font().pointSizeF(), 8.25);
        }
    }

    void startUpFillsListsAndCaptions() {
        Form1Window window(system_, &dialogs_);
        dialogs_.yesNoAnswers = {quorvik::platform::kNo};
        window.load();
        auto* combo5 = window.findChild<QComboBox*>(QStringLiteral("Combo5"));
        QCOMPARE(combo5->count(), 7);
        QCOMPARE(combo5->itemText(4), QStringLiteral("XBOX360"));
        QCOMPARE(combo5->currentIndex(), 0);
        QCOMPARE(combo5->currentText(), QStringLiteral("SM 1.1"));
        QCOMPARE(window.findChild<QLabel*>(QStringLiteral("Label12"))->text(),
                 QStringLiteral("Not Set."));
        QCOMPARE(window.windowTitle(), QStringLiteral("Quorvik Tool v0.7.9 Final by Quorvik Team"));
        QCOMPARE(window.findChild<QWidget*>(QStringLiteral("Scriptlet1"))->size(), QSize(468, 60));
        QVERIFY(!window.findChild<QWidget*>(QStringLiteral("Image1"))->isVisibleTo(&window));
        QVERIFY(!window.findChild<QWidget*>(QStringLiteral("Image2"))->isVisibleTo(&window));
    }

    // The program's window asks its start-up question before it makes its
    // controls, and ends up as a window made whole at once does.
    void controlsMadeAfterTheStartUpQuestion() {
        struct WatchingDialogs : quorvik::testing::FakeDialogs {
            std::function<void()> beforeBox;
            int messageBox(const std::string& text, int style, const std::string& title) override {
                if (beforeBox) beforeBox();
                return FakeDialogs::messageBox(text, style, title);
            }
        };
        WatchingDialogs dialogs;
        dialogs.yesNoAnswers = {quorvik::platform::kNo};
        Form1Window later(system_, &dialogs, Form1Window::Controls::AfterStartUpQuestion);
        qsizetype controlsAtQuestion = -1;
        dialogs.beforeBox = [&] {
            if (controlsAtQuestion < 0) {
                controlsAtQuestion = later.findChildren<QLineEdit*>().size();
            }
        };
        later.load();
        QCOMPARE(controlsAtQuestion, 0);
        QCOMPARE(dialogs.boxes.size(), std::size_t{1});

        quorvik::testing::FakeDialogs atOnceDialogs;
        atOnceDialogs.yesNoAnswers = {quorvik::platform::kNo};
        Form1Window atOnce(system_, &atOnceDialogs);
        atOnce.load();
        QCOMPARE(later.size(), atOnce.size());
        QCOMPARE(later.windowTitle(), atOnce.windowTitle());
        for (const Expected& expected : kDesign) {
            const QString name = QString::fromLatin1(expected.name);
            QWidget* made = later.control(name);
            QWidget* reference = atOnce.control(name);
            QVERIFY2(made != nullptr, expected.name);
            QCOMPARE(made->geometry(), reference->geometry());
            QCOMPARE(made->font(), reference->font());
            QCOMPARE(textOf(made), textOf(reference));
            QCOMPARE(later.ToolTips.ToolText(made), atOnce.ToolTips.ToolText(reference));
        }
    }

    void typedComboTextIsKeptAndSelectsNothing() {
        Form1Window window(system_, &dialogs_);
        window.load();
        auto* combo = window.findChild<QComboBox*>(QStringLiteral("Combo3"));
        combo->lineEdit()->setText(QStringLiteral("low"));  // not "Low"
        window.run("Red");        // any handler pulls and pushes
        QCOMPARE(window.form().panel.Combo3.Text, std::string("low"));
        QCOMPARE(window.form().panel.Combo3.ListIndex, -1);
        QCOMPARE(combo->count(), 2);
        QCOMPARE(combo->currentText(), QStringLiteral("low"));
    }

    void eightBitTextSurvivesTheWidgets() {
        Form1Window window(system_, &dialogs_);
        std::string every;
        for (int b = 1; b < 256; ++b) every.push_back(static_cast<char>(b));
        window.form().panel.Text1.Text = every;
        window.push();
        window.form().panel.Text1.Text.clear();
        window.pull();
        QCOMPARE(window.form().panel.Text1.Text, every);
    }

    // However a long value gets into a field, the field shows its beginning; a
    // list's longest entry shows whole.
    void longValuesShowTheirStart_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<Way>("way");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("whole");
        QTest::newRow("picked from a drop-down list")
            << "Combo1" << Way::PickFromList << "AnisotropicTrilinear" << true;
        QTest::newRow("drop-down stepped with the arrow key")
            << "Combo1" << Way::ArrowKeys << "AnisotropicTrilinear" << true;
        QTest::newRow("typed into a drop-down box, then Tab")
            << "Combo4" << Way::TypeThenTab << "FullDynamicEverywhere" << false;
        QTest::newRow("typed into a text box, then Tab")
            << "Text16" << Way::TypeThenTab << "441004410044100" << false;
        QTest::newRow("typed into a text box, then Return")
            << "Text16" << Way::TypeThenReturn << "441004410044100" << false;
    }

    void longValuesShowTheirStart() {
        QFETCH(QString, field);
        QFETCH(Way, way);
        QFETCH(QString, value);
        QFETCH(bool, whole);
        Form1Window window(system_, &dialogs_);
        window.load();
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto* combo = qobject_cast<QComboBox*>(window.control(field));
        QLineEdit* edit =
            combo ? combo->lineEdit() : qobject_cast<QLineEdit*>(window.control(field));
        edit->setFocus();
        switch (way) {
            case Way::PickFromList: {
                combo->showPopup();
                QAbstractItemView* list = combo->view();
                QTRY_VERIFY(list->isVisible());
                const QRect entry = list->visualRect(list->model()->index(3, 0));
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, entry.center());
                QTRY_VERIFY(!list->isVisible());
                break;
            }
            case Way::ArrowKeys:
                for (int i = 0; i < 3; ++i) QTest::keyClick(edit, Qt::Key_Down);
                break;
            case Way::TypeThenTab:
            case Way::TypeThenReturn:
                edit->clear();
                QTest::keyClicks(edit, value);
                QTest::keyClick(edit, way == Way::TypeThenTab ? Qt::Key_Tab : Qt::Key_Return);
                break;
        }
        QCOMPARE(edit->text(), value);
        QCOMPARE(edit->fontMetrics().horizontalAdvance(value) <= edit->width(), whole);
        QCOMPARE(edit->cursorPosition(), 0);  // the field scrolls to keep its cursor in view
    }

    void menus() {
        Form1Window window(system_, &dialogs_);
        const QList<QAction*> top = window.menuBar()->actions();
        QStringList titles;
        for (QAction* action : top) titles << action->text();
        QCOMPARE(titles, QStringList({"&File", "&Text Color", "&Background", "&About", "&Settings",
                                      "&Presets", "Pr&ofiles"}));
        QCOMPARE(top[3]->shortcut(), QKeySequence(Qt::Key_F1));
        QCOMPARE(top[3]->objectName(), QStringLiteral("About"));
        QVERIFY(top[3]->menu() == nullptr);

        const auto items = [&](const char* menu) {
            QStringList names;
            for (QAction* action : window.findChild<QMenu*>(QString::fromLatin1(menu))->actions()) {
                names << action->objectName() + "=" + action->text() +
                             (action->isCheckable() ? "(checkable)" : "");
            }
            return names;
        };
        QCOMPARE(items("File"), QStringList({"Launch=&Launch (No Intro)", "Backup=&Backup",
                                             "save=&Save Settings", "Restore=&Restore Backup...",
                                             "Changes=Show &Changes", "Exit=E&xit"}));
        QCOMPARE(window.findChild<QAction*>("save")->shortcut(),
                 QKeySequence(Qt::CTRL | Qt::Key_S));
        QCOMPARE(items("txtcolor"),
                 QStringList({"black=&Black", "Red=&Red", "Green=&Green", "Yellow=&Yellow",
                              "blue=Bl&ue", "Magenta=&Magenta", "Cyan=&Cyan", "White=&White"}));
        QCOMPARE(items("bg"), QStringList({"qm=&Quell Moor", "bgblack=&Black"}));
        QCOMPARE(items("settings"), QStringList({"ResetAll=&Reset All to Defaults"}));
        QCOMPARE(items("presets"), QStringList({"Performance=&Performance", "Quality=&Quality",
                                                "Handheld=&Handheld"}));
        QVERIFY(window.findChild<QAction*>("Handheld")
                    ->toolTip()
                    .startsWith("Performance at 1280,800"));
        QCOMPARE(
            items("profiles"),
            QStringList({"ProfileSave=&Save Profile...", "ProfileApply=&Apply Profile...",
                         "ProfileDelete=&Delete Profile...", "ProfileExport=&Export Profile...",
                         "ProfileImport=&Import Profile..."}));
    }

    void focusOrder() {
        Form1Window window(system_, &dialogs_);
        window.load();
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Command1"));

        const QStringList expected = {
            "Command1", "Text1",   "Text2",  "Text4",  "Text5",  "Text6",   "Text7",   "Combo1",
            "Combo2",   "Text3",   "Combo3", "Text8",  "Text9",  "Text10",  "Text11",  "Text12",
            "Check1",   "Check2",  "Check3", "Text13", "Text14", "Combo4",  "Combo5",  "Combo6",
            "Check4",   "Text15",  "Command2", "Combo7", "Text16", "Text17", "Text18",  "Combo8",
            "Text19",   "Text20",  "Text21", "Text22", "Check5", "Check6",  "Check7",  "Check8",
            "Check9",   "Check10", "Check11", "Scriptlet1", "Command1"};
        QStringList visited;
        for (int i = 0; i < expected.size(); ++i) {
            QWidget* focus = QApplication::focusWidget();
            // An editable combo box gives its focus to its line edit.
            while (focus && focus->objectName().isEmpty()) focus = focus->parentWidget();
            visited << (focus ? focus->objectName() : QStringLiteral("?"));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(visited, expected);
    }

    void labelsShowThePictureThrough() {
        Form1Window window(system_, &dialogs_);
        window.load();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QImage shot = window.centralWidget()->grab().toImage();
        const QImage picture = Form1Window::picture(quorvik::app::Picture::Moor).toImage();
        if (const QByteArray out = qgetenv("QUORVIK_TEST_OUTPUT"); !out.isEmpty()) {
            QDir().mkpath(QString::fromLocal8Bit(out));
            shot.save(QString::fromLocal8Bit(out) + "/window.png");
        }
        for (const char* name : {"Label3", "Label12", "Label42", "Label47"}) {
            const QRect area = window.findChild<QLabel*>(QString::fromLatin1(name))->geometry();
            int same = 0;
            for (int y = area.top(); y <= area.bottom(); ++y) {
                for (int x = area.left(); x <= area.right(); ++x) {
                    same += shot.pixelColor(x, y) == picture.pixelColor(x, y) ? 1 : 0;
                }
            }
            QVERIFY2(same * 2 > area.width() * area.height(), name);
        }
    }

    void enlargingShowsMorePictureThenBlack() {
        Form1Window window(system_, &dialogs_);
        window.load();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.resize(1000, 600);
        QTRY_COMPARE(window.centralWidget()->width(), 1000);
        const QImage shot = window.centralWidget()->grab().toImage();
        const QImage picture = Form1Window::picture(quorvik::app::Picture::Moor).toImage();
        QCOMPARE(shot.pixelColor(5, 400), picture.pixelColor(5, 400));
        QCOMPARE(shot.pixelColor(5, 450), QColor(Qt::black));
        QCOMPARE(shot.pixelColor(950, 100), QColor(Qt::black));
        QCOMPARE(window.findChild<QWidget*>(QStringLiteral("Command1"))->pos(), QPoint(712, 192));
    }

    // A screen reader finds every input by its label's name, and its help's first
    // line as its description; a check box reads "Motion Blur, check box, checked".
    void inputsHaveAccessibleNames() {
        Form1Window window(system_, &dialogs_);
        window.load();
        window.form().panel.Check4.Value = 1;
        window.push();
        int named = 0;
        for (const auto& control : quorvik::panel::layout()) {
            const std::string name = quorvik::panel::accessibleName(control.name);
            if (name.empty()) continue;
            QAccessibleInterface* input =
                QAccessible::queryAccessibleInterface(window.control(qName(control.name)));
            QVERIFY2(input != nullptr, control.name.data());
            QString spoken = input->text(QAccessible::Name);
            if (input->role() == QAccessible::ComboBox) {
                // Qt names an editable drop-down by its text on Linux and gives
                // its label as a relation, which screen readers read with it.
                const auto labels = input->relations(QAccessible::Label);
                QVERIFY2(!labels.isEmpty(), control.name.data());
                spoken = labels.first().first->text(QAccessible::Name);
            }
            QCOMPARE(spoken, QString::fromStdString(name));
            QCOMPARE(input->text(QAccessible::Description),
                     QString::fromUtf8(quorvik::app::helpSummary(control.name)));
            ++named;
        }
        QCOMPARE(named, 43);
        QAccessibleInterface* blur =
            QAccessible::queryAccessibleInterface(window.control(QStringLiteral("Check4")));
        QCOMPARE(blur->role(), QAccessible::CheckBox);
        QVERIFY(blur->state().checked);
    }

    // Every entry shows whole in its closed drop-down, and the open list is as
    // wide as the longest; the box stays clear of its neighbours.
    void dropDownsShowTheirLongestEntry() {
        Form1Window window(system_, &dialogs_);
        window.load();
        window.show();  // a hidden box lays out its field only when shown
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        for (const auto& entry : quorvik::panel::kComboBoxes) {
            auto* combo = qobject_cast<QComboBox*>(window.control(qName(entry.name)));
            const QFontMetrics metrics(combo->lineEdit()->font());
            int widest = 0;
            for (int i = 0; i < combo->count(); ++i) {
                widest = std::max(widest, metrics.horizontalAdvance(combo->itemText(i)));
            }
            const QRect shown = combo->lineEdit()->contentsRect().marginsRemoved(
                combo->lineEdit()->textMargins());
            QVERIFY2(shown.width() >= widest, entry.name.data());
            QVERIFY2(combo->view()->minimumWidth() >= widest, entry.name.data());
            const auto* layout = quorvik::panel::findLayout(entry.name);
            QVERIFY2(combo->geometry().right() < px(layout->left + layout->width +
                                                    quorvik::panel::roomToTheRight(entry.name)),
                     entry.name.data());
        }
    }

    void aClickOnACheckBoxCaptionTogglesIt() {
        Form1Window window(system_, &dialogs_);
        window.load();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* blur = qobject_cast<QCheckBox*>(window.control(QStringLiteral("Check4")));
        const bool before = blur->isChecked();
        QTest::mouseClick(window.control(QStringLiteral("Label27")), Qt::LeftButton);
        QCOMPARE(blur->isChecked(), !before);
        QCOMPARE(QApplication::focusWidget(), blur);
        QTest::mouseClick(window.control(QStringLiteral("Label12")), Qt::LeftButton);
        QCOMPARE(blur->isChecked(), !before);  // a status label toggles nothing
    }

    // A setting's control opens its edit commands, then its default; choosing
    // the default puts it in the field.
    void aControlsMenuResetsToItsDefault_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<QString>("shown");
        QTest::newRow("a field") << "Text4"
                                 << QStringList{"Select All", "Reset to default (24)",
                                                "What's this?"}
                                 << "24";
        QTest::newRow("a drop-down")
            << "Combo6" << QStringList{"Select All", "Reset to default (Simple)", "What's this?"}
            << "Simple";
        QTest::newRow("a check box")
            << "Check3" << QStringList{"Reset to default (off)", "What's this?"} << "off";
    }

    void aControlsMenuResetsToItsDefault() {
        QFETCH(QString, control);
        QFETCH(QStringList, items);
        QFETCH(QString, shown);
        Form1Window window(system_, &dialogs_);
        window.load();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QWidget* widget = window.control(control);
        if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            combo->setEditText(QStringLiteral("Normal"));
            widget = combo->lineEdit();
        } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            edit->setText(QStringLiteral("32"));
        } else {
            qobject_cast<QCheckBox*>(widget)->setChecked(true);
        }
        // Opens the menu and takes the item whose text starts with `pick`.
        QStringList seen;
        const auto choose = [&](const QString& pick) {
            seen.clear();
            QTimer::singleShot(0, [&seen, pick] {
                auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                if (menu == nullptr) return;
                QAction* picked = nullptr;
                for (QAction* action : menu->actions()) {
                    if (action->isSeparator() || !action->isEnabled()) continue;
                    seen
                        << action->text().remove(QLatin1Char('&')).section(QLatin1Char('\t'), 0, 0);
                    if (seen.back().startsWith(pick)) picked = action;
                }
                menu->close();
                if (picked != nullptr) picked->trigger();
            });
            emit widget->customContextMenuRequested(QPoint(2, 2));
        };
        choose(QStringLiteral("Reset to"));
        QCOMPARE(seen, items);
        window.pull();
        const auto* setting = quorvik::catalogue::shownIn(control.toStdString());
        QCOMPARE(QString::fromStdString(quorvik::panel::valueOf(window.form().panel, setting->id)),
                 shown);

        // What's this? and Shift+F1 show the setting's explanation in a box.
        const std::string summary(quorvik::app::helpSummary(control.toStdString()));
        dialogs_.boxes.clear();
        choose(QStringLiteral("What's this?"));
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        widget->setFocus();
        QTest::keyClick(widget, Qt::Key_F1, Qt::ShiftModifier);
        QCOMPARE(dialogs_.boxes.size(), std::size_t{2});
        for (const auto& box : dialogs_.boxes)
            QVERIFY2(box.text.starts_with(summary), box.text.c_str());
    }

    // The window with its frame fits the screen's free area; on a desktop it
    // keeps the designed size.
    void fitsTheScreen() {
        Form1Window window(system_, &dialogs_);
        window.load();
        const QRect area = window.screen()->availableGeometry();
        QVERIFY2(window.width() + 8 <= area.width(), qPrintable(QString::number(window.width())));
        QVERIFY(window.height() + 32 <= area.height());
        if (area.width() >= 1000) {
            QCOMPARE(window.width(), 856);
        } else {
            const double scale = window.width() / 856.0;
            QVERIFY(scale < 1.0);
            QCOMPARE(window.control(QStringLiteral("Command1"))->x(), qRound(712 * scale));
        }
    }

    void blackBackgroundCommand() {
        Form1Window window(system_, &dialogs_);
        window.load();
        window.run("bgblack");
        const QImage shot = window.centralWidget()->grab().toImage();
        QCOMPARE(shot.pixelColor(3, 300), QColor(Qt::black));
        window.run("qm");
        const QImage again = window.centralWidget()->grab().toImage();
        const QImage picture = Form1Window::picture(quorvik::app::Picture::Moor).toImage();
        QCOMPARE(again.pixelColor(3, 300), picture.pixelColor(3, 300));
    }
};

QTEST_MAIN(Form1WindowTest)
#include "form1_window_test.moc"
