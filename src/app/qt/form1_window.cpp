#include "app/qt/form1_window.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTextBrowser>

#include "app/qt/qt_dialogs.h"
#include "app/qt/qt_text.h"
#include "panel/layout.h"

static void initResources() { Q_INIT_RESOURCE(resources); }

namespace quorvik::qt {

using app::Form1;

// The client area: the window's picture at its natural size from the top-left
// corner, black beyond it.
class BackgroundArea : public QWidget {
public:
    using QWidget::QWidget;
    void setPicture(const QPixmap& picture) {
        picture_ = picture;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::black);
        if (!picture_.isNull()) painter.drawPixmap(0, 0, picture_);
    }

private:
    QPixmap picture_;
};

namespace {

// A label that reports clicks, for the donation label.
class ClickableLabel : public QLabel {
public:
    std::function<void()> onClick;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
            onClick) {
            onClick();
        }
        QLabel::mouseReleaseEvent(event);
    }
};

QString qName(std::string_view name) {
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

QRect pixels(const panel::ControlLayout& control, int width, int height) {
    return {panel::toPixels(control.left), panel::toPixels(control.top), panel::toPixels(width),
            panel::toPixels(height)};
}

QFont fontFor(panel::FontRole role, const QFont& base) {
    QFont font = base;
    switch (role) {
        case panel::FontRole::Status:
            font.setFamilies({QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans")});
            font.setPointSizeF(9.75);
            font.setBold(true);
            break;
        case panel::FontRole::Caption:
            font.setFamilies({QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans")});
            font.setPointSizeF(8.25);
            font.setBold(true);
            break;
        case panel::FontRole::Donation:
            font.setFamilies({QStringLiteral("Terminal"), QStringLiteral("DejaVu Sans Mono")});
            font.setPointSizeF(6);
            font.setBold(true);
            break;
        case panel::FontRole::Button:
            font.setFamilies({QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"),
                              QStringLiteral("DejaVu Serif")});
            font.setPointSizeF(8.25);
            font.setBold(true);
            break;
        default:
            break;
    }
    return font;
}

QColor colorOf(panel::ColorNumber number) {
    return QColor(static_cast<int>(number & 0xFF), static_cast<int>((number >> 8) & 0xFF),
                  static_cast<int>((number >> 16) & 0xFF));
}

const char* kBannerPage =
    "<html><body style='background:#101418; color:#d8d0b0; font-family:sans-serif;'>"
    "<p style='margin:4px'><b>Quorvik</b> edits the video and audio settings of Quell Moor. "
    "Load both files, change what you like, then choose <i>File &gt; Save Settings</i>. "
    "Every save keeps a backup beside your settings.</p></body></html>";

}  // namespace

Form1Window::Form1Window(platform::System& system, platform::Dialogs* dialogs, QWidget* parent)
    : QMainWindow(parent), ToolTips(this) {
    initResources();
    if (dialogs == nullptr) {
        ownDialogs_ = std::make_unique<QtDialogs>(this);
        dialogs = ownDialogs_.get();
    }
    form_ = std::make_unique<Form1>(*dialogs, system, &ToolTips);

    setObjectName(QStringLiteral("Form1"));
    setWindowIcon(QIcon(QStringLiteral(":/quorvik/icon.png")));
    QFont windowFont = font();
    windowFont.setPointSizeF(8.25);
    setFont(windowFont);

    area_ = new BackgroundArea(this);
    area_->setObjectName(QStringLiteral("clientArea"));
    setCentralWidget(area_);
    buildControls();
    buildMenus();
    push();
    resize(panel::toPixels(panel::kClientWidth),
           panel::toPixels(panel::kClientHeight) + menuBar()->sizeHint().height());
}

Form1Window::~Form1Window() = default;

QPixmap Form1Window::picture(app::Picture picture) {
    switch (picture) {
        case app::Picture::Moor: {
            static const QPixmap moor(QStringLiteral(":/quorvik/background.jpg"));
            return moor;
        }
        case app::Picture::Black: {
            static const QPixmap black = [] {
                QPixmap plain(867, 371);
                plain.fill(Qt::black);
                return plain;
            }();
            return black;
        }
        default:
            return {};
    }
}

void Form1Window::buildControls() {
    for (const auto& control : panel::layout()) {
        const QString name = qName(control.name);
        QWidget* widget = nullptr;
        switch (control.kind) {
            case panel::Kind::Label: {
                auto* label = new ClickableLabel;
                label->setFocusPolicy(Qt::NoFocus);
                label->setAutoFillBackground(false);
                label->setTextFormat(Qt::PlainText);
                if (name == QLatin1String("Label47")) {
                    label->onClick = [this] { run(&Form1::Label47_Click); };
                }
                widget = label;
                break;
            }
            case panel::Kind::TextBox:
                widget = new QLineEdit;
                break;
            case panel::Kind::ComboBox: {
                auto* combo = new QComboBox;
                combo->setEditable(true);
                combo->setInsertPolicy(QComboBox::NoInsert);
                // Typed text stays as typed: no completion from the list.
                combo->setCompleter(nullptr);
                widget = combo;
                break;
            }
            case panel::Kind::CheckBox:
                widget = new QCheckBox;
                break;
            case panel::Kind::Button: {
                auto* button = new QPushButton;
                button->setAutoDefault(false);
                if (name == QLatin1String("Command1")) {
                    connect(button, &QPushButton::clicked, this, [this] { run(&Form1::Command1_Click); });
                } else {
                    connect(button, &QPushButton::clicked, this, [this] { run(&Form1::Command2_Click); });
                }
                widget = button;
                break;
            }
            case panel::Kind::Banner: {
                auto* banner = new QTextBrowser;
                banner->setOpenLinks(false);
                banner->setOpenExternalLinks(false);
                banner->setTabChangesFocus(true);
                banner->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
                banner->setHtml(QString::fromUtf8(kBannerPage));
                widget = banner;
                break;
            }
            case panel::Kind::Image:
                widget = new QLabel;
                widget->setVisible(false);
                break;
        }
        widget->setParent(area_);
        widget->setObjectName(name);
        widget->setFont(fontFor(control.font, font()));
        if (control.width > 0) widget->setGeometry(pixels(control, control.width, control.height));
        else widget->move(panel::toPixels(control.left), panel::toPixels(control.top));
        controls_.insert(name, widget);
    }

    QWidget* previous = nullptr;
    for (const auto name : panel::tabOrder()) {
        QWidget* next = control(qName(name));
        if (previous != nullptr) setTabOrder(previous, next);
        previous = next;
    }
}

void Form1Window::buildMenus() {
    struct Item {
        const char* name;
        const char* caption;
        void (Form1::*handler)();
    };
    const auto addMenu = [this](const char* name, const char* caption,
                                std::initializer_list<Item> items) {
        QMenu* menu = menuBar()->addMenu(QString::fromLatin1(caption));
        menu->setObjectName(QString::fromLatin1(name));
        for (const Item& item : items) {
            QAction* action = menu->addAction(QString::fromLatin1(item.caption));
            action->setObjectName(QString::fromLatin1(item.name));
            const auto handler = item.handler;
            connect(action, &QAction::triggered, this, [this, handler] { run(handler); });
        }
    };
    addMenu("File", "File",
            {{"Launch", "Launch (No Intro)", &Form1::Launch_Click},
             {"Backup", "Backup", &Form1::Backup_Click},
             {"save", "Save Settings", &Form1::save_Click},
             {"Exit", "Exit", &Form1::Exit_Click}});
    addMenu("txtcolor", "Text Color",
            {{"black", "Black", &Form1::black_Click},
             {"Red", "Red", &Form1::Red_Click},
             {"Green", "Green", &Form1::Green_Click},
             {"Yellow", "Yellow", &Form1::Yellow_Click},
             {"blue", "Blue", &Form1::blue_Click},
             {"Magenta", "Magenta", &Form1::Magenta_Click},
             {"Cyan", "Cyan", &Form1::Cyan_Click},
             {"White", "White", &Form1::White_Click}});
    addMenu("bg", "Background",
            {{"qm", "Quell Moor", &Form1::qm_Click}, {"bgblack", "Black", &Form1::bgblack_Click}});
    // The About menu has no items: its title is the command.
    QAction* about = menuBar()->addAction(QStringLiteral("About"));
    about->setObjectName(QStringLiteral("About"));
    connect(about, &QAction::triggered, this, [this] { run(&Form1::About_Click); });
}

void Form1Window::load() {
    form_->Form_Load();
    push();
}

void Form1Window::run(void (Form1::*handler)()) {
    pull();
    ((*form_).*handler)();
    push();
}

void Form1Window::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        control(QStringLiteral("Command1"))->setFocus();
    }
}

void Form1Window::pull() {
    panel::Panel& panel = form_->panel;
    for (const auto& box : panel::kTextBoxes) {
        const auto* edit = static_cast<QLineEdit*>(control(qName(box.name)));
        (panel.*box.member).Text = toAnsi(edit->text());
    }
    for (const auto& box : panel::kComboBoxes) {
        const auto* combo = static_cast<QComboBox*>(control(qName(box.name)));
        (panel.*box.member).setText(toAnsi(combo->currentText()));
    }
    for (const auto& box : panel::kCheckBoxes) {
        const auto* check = static_cast<QCheckBox*>(control(qName(box.name)));
        (panel.*box.member).Value = check->isChecked() ? 1 : 0;
    }
}

void Form1Window::push() {
    const panel::Panel& panel = form_->panel;
    for (const auto& box : panel::kTextBoxes) {
        auto* edit = static_cast<QLineEdit*>(control(qName(box.name)));
        const QString text = fromAnsi((panel.*box.member).Text);
        if (edit->text() != text) {
            edit->setText(text);
            edit->home(false);  // a long value shows its beginning, as typed values do
        }
    }
    for (const auto& box : panel::kComboBoxes) {
        auto* combo = static_cast<QComboBox*>(control(qName(box.name)));
        const panel::ComboBox& model = panel.*box.member;
        QStringList items;
        for (const auto& item : model.List) items << fromAnsi(item);
        const QSignalBlocker block(combo);
        QStringList current;
        for (int i = 0; i < combo->count(); ++i) current << combo->itemText(i);
        if (current != items) {
            combo->clear();
            combo->addItems(items);
        }
        if (combo->currentText() != fromAnsi(model.Text) || combo->currentIndex() != model.ListIndex) {
            combo->setCurrentIndex(model.ListIndex);
            combo->setEditText(fromAnsi(model.Text));
            combo->lineEdit()->home(false);
        }
    }
    for (const auto& box : panel::kCheckBoxes) {
        auto* check = static_cast<QCheckBox*>(control(qName(box.name)));
        check->setChecked((panel.*box.member).Value != 0);
    }
    for (const auto& entry : panel::kLabels) {
        auto* label = static_cast<QLabel*>(control(qName(entry.name)));
        const panel::Label& model = panel.*entry.member;
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, colorOf(model.ForeColor));
        label->setPalette(palette);
        label->setText(fromAnsi(model.Caption));
        label->adjustSize();
    }
    for (const auto& entry : panel::kButtons) {
        auto* button = static_cast<QPushButton*>(control(qName(entry.name)));
        button->setText(fromAnsi((panel.*entry.member).Caption));
    }

    const panel::ControlLayout* banner = panel::findLayout("Scriptlet1");
    control(QStringLiteral("Scriptlet1"))
        ->setGeometry(pixels(*banner, panel.Scriptlet1.Width, panel.Scriptlet1.Height));
    static_cast<QLabel*>(control(QStringLiteral("Image1")))->setPixmap(picture(form_->Image1));
    static_cast<QLabel*>(control(QStringLiteral("Image2")))->setPixmap(picture(form_->Image2));
    area_->setPicture(picture(form_->BackgroundPicture));
    setWindowTitle(fromUtf8(form_->Caption));
}

}  // namespace quorvik::qt
