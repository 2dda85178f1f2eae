#include "app/qt/form1_window.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOption>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <set>

#include "app/commands.h"
#include "app/control_menu.h"
#include "app/help_texts.h"
#include "app/qt/display_modes.h"
#include "app/qt/qt_dialogs.h"
#include "app/qt/qt_text.h"
#include "panel/layout.h"

static void initResources() { Q_INIT_RESOURCE(resources); }

namespace quorvik::qt {

// The client area: the window's picture at its natural size from the top-left
// corner, black beyond it.
class BackgroundArea : public QWidget {
public:
    using QWidget::QWidget;
    void setPicture(const QPixmap& picture) {
        if (picture.cacheKey() == picture_.cacheKey()) return;
        picture_ = picture;
        update();
    }
    // Below 1 where the whole window is drawn smaller to fit the screen.
    void setScale(double scale) { scale_ = scale; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::black);
        if (picture_.isNull()) return;
        painter.setRenderHint(QPainter::SmoothPixmapTransform, scale_ != 1.0);
        painter.drawPixmap(QRectF(QPointF(0, 0), QSizeF(picture_.size()) * scale_), picture_,
                           QRectF(picture_.rect()));
    }

private:
    QPixmap picture_;
    double scale_ = 1.0;
};

namespace {

// A label that reports clicks, for the donation label.
class ClickableLabel : public QLabel {
public:
    using QLabel::QLabel;
    std::function<void()> onClick;

    // A caption's size from one measure of its text. QLabel measures three
    // times (it also works out how narrow a wrapped text could go), and the
    // window sizes some fifty captions as it opens. The same sum as QLabel's
    // for a one-line plain caption without frame or indent; anything else is
    // QLabel's own.
    QSize sizeHint() const override {
        if (textFormat() != Qt::PlainText || wordWrap() || frameWidth() != 0 || indent() >= 0) {
            return QLabel::sizeHint();
        }
        if (measured_ && measuredText_ == text() && measuredFont_ == font()) return size_;
        ensurePolished();
        int flags = QStyle::visualAlignment(layoutDirection(), alignment()) &
                    ~(Qt::AlignVCenter | Qt::AlignHCenter);
        if (buddy() != nullptr && text().contains(u'&')) {
            flags |= Qt::TextShowMnemonic;
            QStyleOption option;
            option.initFrom(this);
            if (style()->styleHint(QStyle::SH_UnderlineShortcut, &option, this) == 0) {
                flags |= Qt::TextHideMnemonic;
            }
        }
        const QMargins margins = contentsMargins();
        const int extra = 2 * margin();
        constexpr int kRoom = 2000;  // one line: the width never wraps it
        const QRect text = fontMetrics().boundingRect(
            0, 0, kRoom - extra - margins.left() - margins.right(), kRoom, flags, this->text());
        size_ = QSize(text.width() + extra + margins.left() + margins.right(),
                      text.height() + extra + margins.top() + margins.bottom())
                    .expandedTo(minimumSize());
        measured_ = true;
        measuredText_ = this->text();
        measuredFont_ = font();
        return size_;
    }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
            onClick) {
            onClick();
        }
        QLabel::mouseReleaseEvent(event);
    }

private:
    mutable bool measured_ = false;
    mutable QString measuredText_;
    mutable QFont measuredFont_;
    mutable QSize size_;
};

QString qName(std::string_view name) {
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

// Twips to pixels at 96 dpi, times the scale at which the window fits the screen.
int pixels(int twips, double scale) {
    return static_cast<int>(panel::toPixels(twips) * scale + 0.5);
}

QRect pixels(const panel::ControlLayout& control, int width, int height, double scale) {
    return {pixels(control.left, scale), pixels(control.top, scale), pixels(width, scale),
            pixels(height, scale)};
}

// The designed family where it is installed, else the first installed stand-in.
// Asking Qt for a family it does not have costs a full fallback search for every
// size and weight requested, so each family is settled once, here.
QString installedFamily(std::initializer_list<QString> choices) {
    static const QStringList installed = QFontDatabase::families();
    for (const QString& family : choices) {
        if (installed.contains(family, Qt::CaseInsensitive)) return family;
    }
    return *choices.begin();  // none installed: Qt's own fallback search decides
}

QFont fontFor(panel::FontRole role, const QFont& base, double scale) {
    static const QString verdana =
        installedFamily({QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans")});
    static const QString terminal =
        installedFamily({QStringLiteral("Terminal"), QStringLiteral("DejaVu Sans Mono")});
    static const QString timesNewRoman =
        installedFamily({QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"),
                         QStringLiteral("DejaVu Serif")});
    QFont font = base;
    switch (role) {
        case panel::FontRole::Status:
            font.setFamily(verdana);
            font.setPointSizeF(scale * 9.75);
            font.setBold(true);
            break;
        case panel::FontRole::Caption:
            font.setFamily(verdana);
            font.setPointSizeF(scale * 8.25);
            font.setBold(true);
            break;
        case panel::FontRole::Donation:
            font.setFamily(terminal);
            font.setPointSizeF(scale * 6);
            font.setBold(true);
            break;
        case panel::FontRole::Button:
            font.setFamily(timesNewRoman);
            font.setPointSizeF(scale * 8.25);
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

// A field narrower than its value shows the value's beginning, whichever way the
// text got there; a selection of the whole text stays, its cursor at the start.
void showStartOf(QLineEdit& edit) {
    const auto length = static_cast<int>(edit.text().size());
    if (length > 0 && edit.selectionStart() == 0 && edit.selectedText().size() == length) {
        edit.setSelection(length, -length);
    } else {
        edit.home(false);
    }
}

const char* kBannerPage =
    "<html><body style='background:#101418; color:#d8d0b0; font-family:sans-serif;'>"
    "<p style='margin:4px'><b>Quorvik</b> edits the video and audio settings of Quell Moor. "
    "Load both files, change what you like, then choose <i>File &gt; Save Settings</i>. "
    "Every save keeps a backup beside your settings.</p></body></html>";

}  // namespace

Form1Window::Form1Window(platform::System& system, platform::Dialogs* dialogs, Controls controls,
                         QWidget* parent)
    : QMainWindow(parent), ToolTips(this), codePage_(system.codePage()) {
    initResources();
    if (dialogs == nullptr) {
        ownDialogs_ = std::make_unique<QtDialogs>(this);
        dialogs = ownDialogs_.get();
    }
    form_ = std::make_unique<app::Form1>(*dialogs, system, &ToolTips);

    setObjectName(QStringLiteral("Form1"));
    setWindowIcon(QIcon(QStringLiteral(":/quorvik/icon.png")));
    QFont windowFont = font();
    windowFont.setPointSizeF(8.25);
    setFont(windowFont);

    area_ = new BackgroundArea(this);
    area_->setObjectName(QStringLiteral("clientArea"));
    setCentralWidget(area_);
    if (controls == Controls::AtConstruction) build();
}

void Form1Window::build() {
    if (built_) return;
    built_ = true;
    buildMenus();
    scale_ = fittingScale();
    area_->setScale(scale_);
    if (scale_ != 1.0) {
        QFont windowFont = font();
        windowFont.setPointSizeF(8.25 * scale_);
        setFont(windowFont);
    }
    buildControls();
    // load() pushes the panel once start-up has filled it: not twice.
    if (!loading_) push();
    resize(pixels(panel::kClientWidth, scale_),
           pixels(panel::kClientHeight, scale_) + menuBar()->sizeHint().height());
}

double Form1Window::fittingScale() const {
    const QScreen* shownOn = screen();
    if (shownOn == nullptr) return 1.0;
    const QRect area = shownOn->availableGeometry();
    // The desktop's frame is not known before the window is shown: a title bar
    // and borders as desktops commonly draw them, and the menu bar.
    constexpr int kBorders = 8;
    constexpr int kTitleBar = 32;
    return panel::fittingScale(1.0, area.width(), area.height(), kBorders,
                               kTitleBar + menuBar()->sizeHint().height());
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
    // Each widget is made inside the client area and gets its font before its
    // text (push() fills them all afterwards), so that no text is laid out twice.
    for (const auto& control : panel::layout()) {
        const QString name = qName(control.name);
        const bool command = app::findCommand(control.name) != nullptr;
        QWidget* widget = nullptr;
        switch (control.kind) {
            case panel::Kind::Label: {
                auto* label = new ClickableLabel(area_);
                label->setFocusPolicy(Qt::NoFocus);
                label->setAutoFillBackground(false);
                label->setTextFormat(Qt::PlainText);
                if (command) label->onClick = [this, name = control.name] { run(name); };
                widget = label;
                break;
            }
            case panel::Kind::TextBox: {
                auto* edit = new QLineEdit(area_);
                watchForLongValues(*edit);
                offerControlMenu(*edit, control.name);
                widget = edit;
                break;
            }
            case panel::Kind::ComboBox: {
                auto* combo = new QComboBox(area_);
                combo->setEditable(true);
                combo->setInsertPolicy(QComboBox::NoInsert);
                // Typed text stays as typed: no completion from the list.
                combo->setCompleter(nullptr);
                watchForLongValues(*combo->lineEdit());
                offerControlMenu(*combo->lineEdit(), control.name);
                // Picking from the list puts the entry's text in at its end.
                const auto showStart = [edit = combo->lineEdit()] { showStartOf(*edit); };
                connect(combo, &QComboBox::activated, this, showStart);
                connect(combo, &QComboBox::currentIndexChanged, this, showStart);
                widget = combo;
                break;
            }
            case panel::Kind::CheckBox:
                widget = new QCheckBox(area_);
                offerControlMenu(*widget, control.name);
                break;
            case panel::Kind::Button: {
                auto* button = new QPushButton(area_);
                button->setAutoDefault(false);
                if (command) {
                    connect(button, &QPushButton::clicked, this,
                            [this, name = control.name] { run(name); });
                }
                widget = button;
                break;
            }
            case panel::Kind::Banner: {
                auto* banner = new QTextBrowser(area_);
                banner->setOpenLinks(false);
                banner->setOpenExternalLinks(false);
                banner->setTabChangesFocus(true);
                banner->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
                banner->setHtml(QString::fromUtf8(kBannerPage));
                widget = banner;
                break;
            }
            case panel::Kind::Image:
                widget = new QLabel(area_);
                widget->setVisible(false);
                break;
        }
        widget->setObjectName(name);
        if (control.font != panel::FontRole::Default && control.font != panel::FontRole::None) {
            widget->setFont(fontFor(control.font, font(), scale_));
        }
        if (control.width > 0) {
            widget->setGeometry(pixels(control, control.width, control.height, scale_));
        } else {
            widget->move(pixels(control.left, scale_), pixels(control.top, scale_));
        }
        controls_.insert(name, widget);
    }
    nameInputs();

    QWidget* previous = nullptr;
    for (const auto name : panel::tabOrder()) {
        QWidget* next = control(qName(name));
        if (previous != nullptr) setTabOrder(previous, next);
        previous = next;
    }
}

void Form1Window::nameInputs() {
    for (const auto& control : panel::layout()) {
        QWidget* input = this->control(qName(control.name));
        const std::string name = panel::accessibleName(control.name);
        if (input == nullptr || name.empty()) continue;
        input->setAccessibleName(QString::fromUtf8(name));
        input->setAccessibleDescription(QString::fromUtf8(app::helpSummary(control.name)));
        const panel::ControlLayout* caption = panel::captionOf(control.name);
        auto* label = caption != nullptr
                          ? dynamic_cast<ClickableLabel*>(this->control(qName(caption->name)))
                          : nullptr;
        if (label == nullptr) continue;
        label->setBuddy(input);
        // A check box's caption is part of it: a click on it toggles the box.
        if (auto* check = qobject_cast<QCheckBox*>(input); check != nullptr && !label->onClick) {
            label->onClick = [check] {
                check->setFocus(Qt::MouseFocusReason);
                check->click();
            };
        }
    }
}

// How far a drop-down's text may shrink to show its longest entry whole.
constexpr double kSmallestDropDownPoints = 6.5;
constexpr double kDropDownStep = 0.25;

void Form1Window::fitDropDown(QComboBox& combo, std::string_view name) {
    QStringList items;
    for (int i = 0; i < combo.count(); ++i) items << combo.itemText(i);
    if (items.isEmpty() || combo.property("fittedTo").toStringList() == items) return;
    combo.setProperty("fittedTo", items);
    const panel::ControlLayout* layout = panel::findLayout(name);
    const int designed = pixels(layout->width, scale_);
    const int widest = pixels(layout->width + panel::roomToTheRight(name), scale_);
    // The closed box shows its longest entry whole: it grows into the room to
    // its right, and where that is not enough its text narrows (the family's
    // condensed face), then shrinks a little.
    combo.setSizeAdjustPolicy(QComboBox::AdjustToContents);
    // A box still in the window's own font is measured as it is: setting the
    // same font again costs each of its parts a font change.
    QFont text = font();
    if (combo.font() != text) combo.setFont(text);
    if (combo.sizeHint().width() > widest) {
        text.setStretch(QFont::Condensed);
        combo.setFont(text);
    }
    while (combo.sizeHint().width() > widest &&
           text.pointSizeF() - kDropDownStep >= kSmallestDropDownPoints * scale_) {
        text.setPointSizeF(text.pointSizeF() - kDropDownStep);
        combo.setFont(text);
    }
    combo.resize(std::clamp(combo.sizeHint().width(), designed, widest), combo.height());
    // The open list is as wide as its longest entry.
    QAbstractItemView* list = combo.view();
    list->setMinimumWidth(list->sizeHintForColumn(0) + 2 * list->frameWidth());
}

void Form1Window::buildMenus() {
    const auto addCommand = [this](QAction* action, std::string_view name,
                                   std::string_view shortcut) {
        action->setObjectName(qName(name));
        if (!shortcut.empty()) {
            action->setShortcut(QKeySequence(qName(shortcut)));
            // The key works wherever the focus is in the window, menus closed.
            addAction(action);
        }
        connect(action, &QAction::triggered, this, [this, name] { run(name); });
    };
    for (const panel::Menu& menu : panel::menus()) {
        const QString title = qName(panel::menuText(menu.caption, menu.key));
        if (menu.items.empty()) {
            // A menu without items, such as About: its title is the command.
            addCommand(menuBar()->addAction(title), menu.name, menu.shortcut);
            continue;
        }
        QMenu* items = menuBar()->addMenu(title);
        items->setObjectName(qName(menu.name));
        items->setToolTipsVisible(true);
        for (const panel::MenuItem& item : menu.items) {
            QAction* action = items->addAction(qName(panel::menuText(item.caption, item.key)));
            if (!item.tip.empty()) {
                action->setToolTip(qName(item.tip));
                action->setStatusTip(qName(item.tip));
            }
            addCommand(action, item.name, item.shortcut);
        }
    }
    // Shift+F1 explains the control that has the focus, as What's this? in its
    // own menu does: the nearest widget up from the focus that has a text.
    auto* whatsThis = new QAction(this);
    whatsThis->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F1));
    addAction(whatsThis);
    connect(whatsThis, &QAction::triggered, this, [this] {
        for (QWidget* at = QApplication::focusWidget(); at != nullptr && at != this;
             at = at->parentWidget()) {
            if (form_->WhatsThis_Click(at->objectName().toStdString())) return;
        }
    });
}

void Form1Window::load() {
    // The question is on screen the moment the program is up; the window is
    // made whole once it is answered, before start-up goes on to fill it.
    loading_ = true;
    // A player reads the question for a moment: the fonts the window draws in
    // and its picture are loaded meanwhile, so that once the answer comes only
    // the window itself is left to make. Not at once: the question is drawn first.
    QTimer prepare;
    prepare.setSingleShot(true);
    connect(&prepare, &QTimer::timeout, this, [this] { prepareWhileAsked(); });
    prepare.start(std::chrono::milliseconds(60));
    form_->askStartUpQuestion();
    prepare.stop();
    build();
    form_->Form_Load();
    push();
    loading_ = false;
}

void Form1Window::prepareWhileAsked() {
    // Qt keeps a font once it has measured with it, and the pictures are kept
    // once made: measuring a text in each font the window may use and asking
    // for the pictures is all it takes.
    std::set<panel::FontRole> measured;
    for (const auto& control : panel::layout()) {
        if (control.font == panel::FontRole::None || !measured.insert(control.font).second) {
            continue;
        }
        const QFont shown =
            control.font == panel::FontRole::Default ? font() : fontFor(control.font, font(), 1.0);
        QFontMetrics(shown).boundingRect(qName(control.text));
    }
    // The condensed faces a drop-down may narrow its text to.
    QFont narrowed = font();
    narrowed.setStretch(QFont::Condensed);
    for (double points = narrowed.pointSizeF(); points >= kSmallestDropDownPoints;
         points -= kDropDownStep) {
        narrowed.setPointSizeF(points);
        QFontMetrics(narrowed).horizontalAdvance(QStringLiteral("0"));
    }
    // The banner's page in its own faces, laid out as wide as it is shown.
    QTextDocument banner;
    banner.setDefaultFont(font());
    banner.setHtml(QString::fromUtf8(kBannerPage));
    banner.setTextWidth(pixels(panel::findLayout("Scriptlet1")->width, 1.0));
    banner.size();
    picture(app::Picture::Moor);
    picture(app::Picture::Black);
}

void Form1Window::run(std::string_view command) {
    pull();
    app::dispatch(*form_, command);
    push();
}

void Form1Window::offerControlMenu(QWidget& target, std::string_view name) {
    target.setContextMenuPolicy(Qt::CustomContextMenu);
    target.installEventFilter(this);  // for Shift+F10
    connect(&target, &QWidget::customContextMenuRequested, this,
            [this, &target, name](const QPoint& at) { showControlMenu(target, name, at); });
}

void Form1Window::showControlMenu(QWidget& target, std::string_view name, const QPoint& at) {
    pull();
    const std::vector<app::ControlMenuItem> items =
        app::controlMenu(form_->panel, name, displayOf(*this));
    // A field keeps its own edit commands first, as everywhere else.
    auto* edit = qobject_cast<QLineEdit*>(&target);
    const std::unique_ptr<QMenu> menu(edit != nullptr ? edit->createStandardContextMenu()
                                                      : new QMenu(&target));
    if (!items.empty() && !menu->isEmpty()) menu->addSeparator();
    QMenu* modes = nullptr;
    for (const app::ControlMenuItem& item : items) {
        QMenu* into = menu.get();
        if (item.mode) {
            if (modes == nullptr) modes = menu->addMenu(QString::fromUtf8(app::kOtherModesCaption));
            into = modes;
        }
        QAction* action = into->addAction(fromUtf8(item.caption));
        action->setEnabled(item.enabled);
        connect(action, &QAction::triggered, this, [this, item] {
            pull();
            app::choose(form_->panel, item);
            push();
        });
    }
    if (!app::helpTextOf(name).empty()) {
        if (!menu->isEmpty()) menu->addSeparator();
        connect(menu->addAction(QString::fromUtf8(app::kWhatsThisCaption)), &QAction::triggered,
                this, [this, name] { form_->WhatsThis_Click(name); });
    }
    if (!menu->isEmpty()) menu->exec(target.mapToGlobal(at));
}

void Form1Window::watchForLongValues(QLineEdit& edit) {
    edit.installEventFilter(this);
    connect(&edit, &QLineEdit::editingFinished, this, [&edit] { showStartOf(edit); });
}

bool Form1Window::eventFilter(QObject* watched, QEvent* event) {
    // Leaving a field shows its beginning again; a popup (the field's own menu or
    // list) leaves the cursor where it is.
    if (event->type() == QEvent::FocusOut &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
        if (auto* edit = qobject_cast<QLineEdit*>(watched)) showStartOf(*edit);
    }
    // Shift+F10 opens a setting's own menu, as the menu key does and as it does
    // on Windows; the menu opens under the control.
    auto* widget = qobject_cast<QWidget*>(watched);
    if (event->type() == QEvent::KeyPress && widget != nullptr &&
        widget->contextMenuPolicy() == Qt::CustomContextMenu) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier) {
            emit widget->customContextMenuRequested(QPoint(0, widget->height()));
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void Form1Window::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        control(QStringLiteral("Command1"))->setFocus();
    }
}

// One small function per kind of control moves its value between widget and panel.
namespace {

using platform::CodePage;

void pullValue(const CodePage& page, const QLineEdit& edit, panel::TextBox& box) {
    box.Text = toAnsi(page, edit.text());
}

void pushValue(const CodePage& page, QLineEdit& edit, const panel::TextBox& box) {
    const QString text = fromAnsi(page, box.Text);
    if (edit.text() == text) return;
    edit.setText(text);
    showStartOf(edit);
}

void pullValue(const CodePage& page, const QComboBox& combo, panel::ComboBox& box) {
    box.setText(toAnsi(page, combo.currentText()));
}

void pushValue(const CodePage& page, QComboBox& combo, const panel::ComboBox& box) {
    QStringList items;
    for (const auto& item : box.List) items << fromAnsi(page, item);
    const QSignalBlocker block(&combo);
    QStringList current;
    for (int i = 0; i < combo.count(); ++i) current << combo.itemText(i);
    if (current != items) {
        combo.clear();
        combo.addItems(items);
    }
    const QString text = fromAnsi(page, box.Text);
    if (combo.currentText() != text || combo.currentIndex() != box.ListIndex) {
        combo.setCurrentIndex(box.ListIndex);
        combo.setEditText(text);
        showStartOf(*combo.lineEdit());
    }
}

void pullValue(const CodePage&, const QCheckBox& check, panel::CheckBox& box) {
    box.Value = check.isChecked() ? 1 : 0;
}

void pushValue(const CodePage&, QCheckBox& check, const panel::CheckBox& box) {
    check.setChecked(box.Value != 0);
}

// A label sizes itself to its caption; only a change costs a new layout.
void pushValue(const CodePage& page, QLabel& label, const panel::Label& model) {
    const QColor color = colorOf(model.ForeColor);
    if (label.palette().color(QPalette::WindowText) != color) {
        QPalette palette = label.palette();
        palette.setColor(QPalette::WindowText, color);
        label.setPalette(palette);
    }
    const QString caption = fromAnsi(page, model.Caption);
    if (label.text() != caption || label.size() != label.sizeHint()) {
        label.setText(caption);
        label.adjustSize();
    }
}

void pushValue(const CodePage& page, QPushButton& button, const panel::Button& model) {
    const QString caption = fromAnsi(page, model.Caption);
    if (button.text() != caption) button.setText(caption);
}

}  // namespace

template <typename Widget, typename Control, std::size_t N>
void Form1Window::pullAll(const std::array<panel::Named<Control>, N>& controls) {
    for (const auto& entry : controls) {
        if (const auto* widget = qobject_cast<Widget*>(control(qName(entry.name)))) {
            pullValue(codePage_, *widget, form_->panel.*entry.member);
        }
    }
}

template <typename Widget, typename Control, std::size_t N>
void Form1Window::pushAll(const std::array<panel::Named<Control>, N>& controls) {
    for (const auto& entry : controls) {
        if (auto* widget = qobject_cast<Widget*>(control(qName(entry.name)))) {
            pushValue(codePage_, *widget, form_->panel.*entry.member);
        }
    }
}

void Form1Window::pull() {
    pullAll<QLineEdit>(panel::kTextBoxes);
    pullAll<QComboBox>(panel::kComboBoxes);
    pullAll<QCheckBox>(panel::kCheckBoxes);
}

void Form1Window::push() {
    pushAll<QLineEdit>(panel::kTextBoxes);
    pushAll<QComboBox>(panel::kComboBoxes);
    pushAll<QCheckBox>(panel::kCheckBoxes);
    pushAll<QLabel>(panel::kLabels);
    pushAll<QPushButton>(panel::kButtons);

    const panel::Panel& panel = form_->panel;
    const panel::ControlLayout* banner = panel::findLayout("Scriptlet1");
    control(QStringLiteral("Scriptlet1"))
        ->setGeometry(pixels(*banner, panel.Scriptlet1.Width, panel.Scriptlet1.Height, scale_));
    if (auto* image = qobject_cast<QLabel*>(control(QStringLiteral("Image1")))) {
        image->setPixmap(picture(form_->Image1));
    }
    if (auto* image = qobject_cast<QLabel*>(control(QStringLiteral("Image2")))) {
        image->setPixmap(picture(form_->Image2));
    }
    area_->setPicture(picture(form_->BackgroundPicture));
    for (const auto& entry : panel::kComboBoxes) {
        if (auto* combo = qobject_cast<QComboBox*>(control(qName(entry.name)))) {
            fitDropDown(*combo, entry.name);
        }
    }
    setWindowTitle(fromUtf8(form_->Caption));
}

}  // namespace quorvik::qt
