// The floor for the answer to the Linux window's start-up question: the same
// question in a bare message box, then, once it is answered, a main window
// built as Quorvik's is and shown: the same kinds of widgets, as many, each
// where Quorvik puts it, with the same menus and each widget's tooltip. No
// settings, no prefixes, no search, no picture: what any Qt program showing
// this window must do. The start-up measure times its main window against
// Quorvik's.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTextBrowser>
#include <map>
#include <string_view>

#include "app/help_texts.h"
#include "catalogue/catalogue.h"
#include "panel/layout.h"

using namespace quorvik;

namespace {

QString text(std::string_view bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

QWidget* widgetFor(const panel::ControlLayout& layout, QWidget* parent) {
    switch (layout.kind) {
        case panel::Kind::Label:
            return new QLabel(text(layout.text), parent);
        case panel::Kind::TextBox:
            return new QLineEdit(parent);
        case panel::Kind::ComboBox: {
            auto* combo = new QComboBox(parent);
            combo->setEditable(true);
            if (const catalogue::Setting* setting = catalogue::shownIn(layout.name)) {
                for (const std::string_view entry : setting->entries) combo->addItem(text(entry));
            }
            return combo;
        }
        case panel::Kind::CheckBox:
            return new QCheckBox(parent);
        case panel::Kind::Button:
            return new QPushButton(text(layout.text), parent);
        case panel::Kind::Banner:
            return new QTextBrowser(parent);
        case panel::Kind::Image:
            return nullptr;
    }
    return nullptr;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QMessageBox::question(
        nullptr, QStringLiteral("Quorvik"),
        QStringLiteral("Would you like to try and automatically detect settings path?"));

    QMainWindow window;
    for (const panel::Menu& menu : panel::menus()) {
        const QString title = text(panel::menuText(menu.caption, menu.key));
        if (menu.items.empty()) {
            window.menuBar()->addAction(title);
            continue;
        }
        QMenu* items = window.menuBar()->addMenu(title);
        for (const panel::MenuItem& item : menu.items) {
            QAction* action = items->addAction(text(panel::menuText(item.caption, item.key)));
            action->setToolTip(text(item.tip));
        }
    }
    auto* area = new QWidget(&window);
    window.setCentralWidget(area);
    std::map<std::string_view, QWidget*> widgets;
    for (const panel::ControlLayout& layout : panel::layout()) {
        QWidget* widget = widgetFor(layout, area);
        if (widget == nullptr) continue;
        widget->move(panel::toPixels(layout.left), panel::toPixels(layout.top));
        if (layout.width > 0) {
            widget->resize(panel::toPixels(layout.width), panel::toPixels(layout.height));
        }
        widgets[layout.name] = widget;
    }
    for (const app::HelpText& help : app::helpTexts()) {
        if (const auto found = widgets.find(help.control); found != widgets.end())
            found->second->setToolTip(text(app::assembleHelpText(help)));
    }
    window.resize(panel::toPixels(panel::kClientWidth),
                  panel::toPixels(panel::kClientHeight) + window.menuBar()->sizeHint().height());
    window.show();
    return QApplication::exec();
}
