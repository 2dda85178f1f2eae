// A whole session through the Linux window, as a player does it with keyboard
// and mouse: answer Yes, the folder is found; "Set Video.scr", change values,
// "Set Audio.scr", "Save Settings". Every file under the game's "out" folder
// must equal tests/data/session, the files the Windows window writes for the
// same edits (tests/app/win32/gui_session.sh). With QUORVIK_WIN32_SESSION
// naming that script's folder, the boxes shown must be the Windows window's too.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>

#include "app/qt/form1_window.h"
#include "platform/paths.h"
#include "support/fake_dialogs.h"
#include "support/fake_system.h"
#include "support/temp_dir.h"

namespace fs = std::filesystem;
using quorvik::qt::Form1Window;
using quorvik::testing::readBytes;

namespace {

const fs::path kData = QUORVIK_TEST_DATA;

// The game's files; the history, named by the time of the save, is checked on its own.
std::set<std::string> filesUnder(const fs::path& folder) {
    std::set<std::string> files;
    for (auto entry = fs::recursive_directory_iterator(folder); entry != fs::recursive_directory_iterator();
         ++entry) {
        if (entry->path().filename() == "Quorvik history") {
            entry.disable_recursion_pending();
            continue;
        }
        if (entry->is_regular_file()) {
            files.insert(entry->path().lexically_relative(folder).generic_string());
        }
    }
    return files;
}

// One line per box: its title, a tab and its text, line breaks written as \n.
std::string boxLines(const std::vector<quorvik::testing::ShownBox>& boxes) {
    std::string lines;
    for (const auto& box : boxes) {
        std::string text;
        for (const char c : box.text) {
            if (c == '\r') continue;
            text += c == '\n' ? std::string("\\n") : std::string(1, c);
        }
        lines += box.title + "\t" + text + "\n";
    }
    return lines;
}

}  // namespace

class SessionTest : public QObject {
    Q_OBJECT

private slots:
    void playerSessionWritesTheExpectedFiles() {
        quorvik::testing::TempDir home;
        const fs::path out = home / "Documents" / "QuellMoor" / "out";
        fs::create_directories(out / "Settings");
        fs::create_directories(out / "Data" / "Scripts");
        fs::create_directories(out / "Data" / "Skills");
        // The files as the game writes them: a save drops nothing of the player's.
        const std::map<std::string, fs::path> input = {{"Video.scr", kData / "game" / "Video.scr"},
                                                       {"Audio.scr", kData / "Audio.scr"}};
        for (const auto& [name, from] : input) fs::copy_file(from, out / "Settings" / name);

        quorvik::testing::FakeDialogs dialogs;
        quorvik::testing::FakeSystem system;
        system.documents = home / "Documents";
        dialogs.yesNoAnswers = {quorvik::platform::kYes};
        Form1Window window(system, &dialogs);
        window.load();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        const auto widget = [&](const char* name) {
            return window.control(QString::fromLatin1(name));
        };
        const auto typeOver = [&](const char* name, const char* text) {
            auto* edit = qobject_cast<QLineEdit*>(widget(name));
            QTest::mouseClick(edit, Qt::LeftButton);
            edit->selectAll();
            QTest::keyClicks(edit, QString::fromLatin1(text));
        };

        QTest::mouseClick(widget("Command1"), Qt::LeftButton);
        QCOMPARE(window.form().panel.Label12.Caption, std::string("Set."));
        typeOver("Text1", "1920");
        QTest::keyClick(widget("Text1"), Qt::Key_Tab);  // Tab selects the next box's text
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("1080"));
        QTest::keyClick(qobject_cast<QComboBox*>(widget("Combo5"))->lineEdit(), Qt::Key_Down);
        QTest::mouseClick(widget("Check4"), Qt::LeftButton);  // motion blur off
        typeOver("Text15", "75.0");
        // Gamma back to its default, from the field's own menu by Shift+F10, as on Windows.
        QTest::mouseClick(widget("Text7"), Qt::LeftButton);
        QTimer::singleShot(0, [] {
            if (QWidget* menu = QApplication::activePopupWidget()) QTest::keyClick(menu, Qt::Key_F);
        });
        QTest::keyClick(widget("Text7"), Qt::Key_F10, Qt::ShiftModifier);
        QCOMPARE(window.form().panel.Text7.Text, std::string("1.00"));
        QTest::mouseClick(widget("Command2"), Qt::LeftButton);
        QCOMPARE(window.form().panel.Label29.Caption, std::string("Set."));
        QTest::mouseClick(widget("Check9"), Qt::LeftButton);  // debug mode on
        // File > Save Settings by its shortcut, from wherever the focus is.
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);

        const fs::path expected = kData / "session";
        QCOMPARE(filesUnder(out), filesUnder(expected));
        for (const std::string& file : filesUnder(expected)) {
            QVERIFY2(readBytes(out / file) == readBytes(expected / file), file.c_str());
        }
        for (const char* file : {"Video.scr", "Audio.scr"}) {
            const auto permissions = fs::status(out / "Settings" / file).permissions();
            QVERIFY2((permissions & fs::perms::owner_write) == fs::perms::none, file);
            // What the save replaced is kept in the history.
            const fs::path kept = out / "Settings" / "Quorvik history" / "2026-12-07 13.45.00" / file;
            QVERIFY2(readBytes(kept) == readBytes(input.at(file)), file);
        }

        // The folder found is named in each system's own spelling.
        const auto sameFolder = [](const std::string& boxes) {
            const std::string found = std::regex_replace(
                boxes, std::regex(R"((detect values\.)\\n[^\n]*)"), "$1 <the folder found>");
            return std::regex_replace(found, std::regex(R"((are kept in )[^;]*;)"), "$1<the history entry>;");
        };
        const std::string shown = sameFolder(boxLines(dialogs.boxes));
        if (const QByteArray windows = qgetenv("QUORVIK_WIN32_SESSION"); !windows.isEmpty()) {
            QCOMPARE(sameFolder(readBytes(fs::path(windows.toStdString()) / "boxes.txt")), shown);
        }
    }
};

QTEST_MAIN(SessionTest)
#include "session_test.moc"
