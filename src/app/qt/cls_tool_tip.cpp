#include "app/qt/cls_tool_tip.h"

#include <QCursor>
#include <QElapsedTimer>
#include <QEnterEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QStyleHints>
#include <QTimer>
#include <QToolTip>
#include <algorithm>
#include <array>
#include <climits>
#include <vector>

namespace quorvik::qt {

namespace {

// The tooltip colours the application had before any of ours were applied.
const QPalette& defaultPalette() {
    static const QPalette palette = QToolTip::palette();
    return palette;
}

// As on Windows, the delays follow the double-click time unless set.
int defaultInitialDelay() {
    return QGuiApplication::styleHints()->mouseDoubleClickInterval();
}

int saturate(long long value) {
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

// Labels, picture holders and menus are drawn by their window rather than being
// windows that the pointer can rest on: they cannot carry a tip.
bool hasWindowOfItsOwn(const QWidget* widget) {
    return widget != nullptr && qobject_cast<const QLabel*>(widget) == nullptr &&
           qobject_cast<const QMenu*>(widget) == nullptr &&
           qobject_cast<const QMenuBar*>(widget) == nullptr;
}

// The tooltip reads its text like a C string: it ends at the first NUL.
QString tipText(const std::string& utf8) {
    const std::string_view text(utf8.data(), std::min(utf8.find('\0'), utf8.size()));
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

// Stands for the tooltip window: it belongs to the owning window, holds the
// tools and their display settings, and watches every tool for the pointer.
class ToolTipWindow : public QObject {
public:
    struct Tool {
        QPointer<QWidget> widget;
        QString text;
    };

    explicit ToolTipWindow(QWidget* owner) : QObject(owner) {
        setObjectName(QStringLiteral("clsToolTip"));
        automatic(-1);
        pending_.setSingleShot(true);
        connect(&pending_, &QTimer::timeout, this, [this] {
            if (hovered_ != nullptr) show(hovered_, pointerOver(hovered_));
        });
    }

    ~ToolTipWindow() override {
        hideOwnTip();
        for (const Tool& tool : tools) {
            if (tool.widget != nullptr) tool.widget->removeEventFilter(this);
        }
    }

    Tool* locate(const QWidget* widget) {
        if (widget == nullptr) return nullptr;
        for (Tool& tool : tools) {
            if (tool.widget == widget) return &tool;
        }
        return nullptr;
    }

    bool add(QWidget* widget, const QString& text) {
        if (!hasWindowOfItsOwn(widget) || locate(widget) != nullptr) return false;
        tools.push_back({widget, text});
        widget->installEventFilter(this);
        connect(widget, &QObject::destroyed, this, [this, widget] {
            std::erase_if(tools, [widget](const Tool& tool) {
                return tool.widget == nullptr || tool.widget == widget;
            });
            if (hovered_ == nullptr) pending_.stop();
        });
        return true;
    }

    void setText(Tool& tool, const QString& text) {
        tool.text = text;
        // A tip that is up shows the new text at once.
        if (showing_ == tool.widget && QToolTip::isVisible()) show(tool.widget, showPos_);
    }

    // One time sets all three: the tip waits t, stays up 10 t, and the next tool's tip
    // follows after t / 5.
    void automatic(int milliSecs) {
        const long long t = milliSecs < 0 ? defaultInitialDelay() : milliSecs;
        initialDelay = saturate(t);
        autoPopDelay = saturate(t * 10);
        reshowDelay = saturate(t / 5);
    }

    int initialDelay = 0;
    int autoPopDelay = 0;
    int reshowDelay = 0;
    bool multiLine = false;
    int maxWidth = -1;
    std::vector<Tool> tools;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (locate(widget) == nullptr) return false;
        switch (event->type()) {
            case QEvent::Enter: {
                hovered_ = widget;
                const auto* enter = dynamic_cast<const QEnterEvent*>(event);
                enterPos_ = enter != nullptr ? enter->globalPosition().toPoint() : QCursor::pos();
                // Moving on from a tool whose tip was up shows the next tip sooner.
                const bool following =
                    (showing_ != nullptr && showing_ != widget && QToolTip::isVisible()) ||
                    (leftShownTip_.isValid() && leftShownTip_.elapsed() <= initialDelay);
                pending_.start(std::max(0, following ? reshowDelay : initialDelay));
                return false;
            }
            case QEvent::Leave:
                if (hovered_ == widget) {
                    hovered_ = nullptr;
                    pending_.stop();
                }
                if (showing_ == widget && QToolTip::isVisible()) {
                    leftShownTip_.start();
                    hideOwnTip();
                }
                return false;
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
            case QEvent::Wheel:
            case QEvent::KeyPress:
                pending_.stop();
                return false;
            case QEvent::ToolTip: {
                // While our own delay runs, the toolkit's request waits for it.
                if (pending_.isActive() && hovered_ == widget) return true;
                const auto* help = static_cast<const QHelpEvent*>(event);
                return show(widget, help->globalPos());
            }
            default:
                return false;
        }
    }

private:
    // Where the tip appears: at the pointer when it is over the tool, else where it entered.
    QPoint pointerOver(const QWidget* widget) const {
        const QPoint pointer = QCursor::pos();
        return widget->rect().contains(widget->mapFromGlobal(pointer)) ? pointer : enterPos_;
    }

    bool show(QWidget* widget, const QPoint& globalPos) {
        const Tool* tool = locate(widget);
        if (tool == nullptr || tool->text.isEmpty()) return false;
        QToolTip::setPalette(defaultPalette());
        QToolTip::showText(globalPos, render(tool->text), widget, QRect(),
                           autoPopDelay > 0 ? autoPopDelay : -1);
        showing_ = widget;
        showPos_ = globalPos;
        return true;
    }

    void hideOwnTip() {
        if (showing_ != nullptr && QToolTip::isVisible()) QToolTip::hideText();
        showing_ = nullptr;
    }

    // The tip as rich text laid out here, so that no line runs wider than the
    // maximum width: lines are broken beforehand and shown as they are.
    QString render(const QString& text) const {
        static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
        QStringList lines;
        if (!multiLine) {
            // One line: line breaks read as a single space.
            static const QRegularExpression breaks(QStringLiteral("(\r\n|\r|\n)+"));
            lines << QString(text).replace(breaks, QStringLiteral(" "));
        } else {
            for (const QString& paragraph : text.split(lineBreak)) {
                if (maxWidth > 0)
                    lines << wrap(paragraph);
                else
                    lines << paragraph;
            }
        }
        for (QString& line : lines) line = line.toHtmlEscaped();
        const QString body = lines.join(QStringLiteral("<br/>"));
        return QStringLiteral("<p style=\"white-space:pre\">%1</p>").arg(body);
    }

    // Breaks at blanks only, so a path or a long word stays whole on a line of its own.
    QStringList wrap(const QString& paragraph) const {
        const QFontMetrics metrics(QToolTip::font());
        const QStringList words = paragraph.split(QLatin1Char(' '));
        QStringList lines;
        QString line = words.front();
        for (qsizetype i = 1; i < words.size(); ++i) {
            const QString longer = line + QLatin1Char(' ') + words[i];
            if (metrics.horizontalAdvance(longer) <= maxWidth || line.trimmed().isEmpty()) {
                line = longer;
                continue;
            }
            while (line.endsWith(QLatin1Char(' '))) line.chop(1);
            lines << line;
            line = words[i];
        }
        lines << line;
        return lines;
    }

    QTimer pending_;             // the initial or reshow delay of the tool under the pointer
    QPointer<QWidget> hovered_;  // the tool under the pointer
    QPointer<QWidget> showing_;  // the tool whose tip is up
    QPoint enterPos_;
    QPoint showPos_;
    QElapsedTimer leftShownTip_;  // since the pointer last left a tool with its tip up
};

clsToolTip::clsToolTip(QWidget* owner) : owner_(owner) {}

// The tooltip window goes with the wrapper, unless its window took it already.
clsToolTip::~clsToolTip() {
    delete tip_.data();
}

ToolTipWindow* clsToolTip::tip() const {
    return static_cast<ToolTipWindow*>(tip_.data());
}

bool clsToolTip::Create(QWidget* frm) {
    if (tip() == nullptr && frm != nullptr) {
        tip_ = new ToolTipWindow(frm);
        // Tips show even while the window is not the active one.
        frm->window()->setAttribute(Qt::WA_AlwaysShowToolTips);
    }
    return tip() != nullptr;
}

bool clsToolTip::AddTool(QWidget* ctrl, const std::string& strText) {
    ToolTipWindow* window = tip();
    return window != nullptr && window->add(ctrl, tipText(strText));
}

int clsToolTip::DelayTime(int dwType) const {
    const ToolTipWindow* window = tip();
    if (window == nullptr) return 0;
    switch (dwType & 3) {
        case 1:
            return window->reshowDelay;
        case 2:
            return window->autoPopDelay;
        default:  // the automatic setting reads as the initial delay it came from
            return window->initialDelay;
    }
}

void clsToolTip::DelayTime(int dwType, int dwMilliSecs) {
    ToolTipWindow* window = tip();
    if (window == nullptr) return;
    const int fallback = defaultInitialDelay();
    switch (dwType & 3) {
        case 0:
            window->automatic(dwMilliSecs);
            break;
        case 1:
            window->reshowDelay = dwMilliSecs < 0 ? fallback / 5 : dwMilliSecs;
            break;
        case 2:
            window->autoPopDelay = dwMilliSecs < 0 ? fallback * 10 : dwMilliSecs;
            break;
        case 3:
            window->initialDelay = dwMilliSecs < 0 ? fallback : dwMilliSecs;
            break;
    }
}

clsToolTip::Handle clsToolTip::hWnd() const {
    return reinterpret_cast<Handle>(tip());
}

int clsToolTip::MaxTipWidth() const {
    if (tip() == nullptr) return 0;
    return static_cast<std::int16_t>(static_cast<std::uint32_t>(tip()->maxWidth) & 0xFFFF);
}

void clsToolTip::MaxTipWidth(int lngWidth) {
    if (tip() == nullptr) return;
    tip()->maxWidth = lngWidth < 1 ? -1 : lngWidth;
    tip()->multiLine = true;
}

std::string clsToolTip::ToolText(QWidget* ctrl) const {
    if (tip() == nullptr) return {};
    const ToolTipWindow::Tool* tool = tip()->locate(ctrl);
    return tool != nullptr ? tool->text.toStdString() : std::string();
}

void clsToolTip::ToolText(QWidget* ctrl, const std::string& strText) {
    if (tip() == nullptr) return;
    if (ToolTipWindow::Tool* tool = tip()->locate(ctrl)) tip()->setText(*tool, tipText(strText));
}

QWidget* clsToolTip::find(std::string_view control) const {
    const ToolTipWindow* window = tip();
    auto* root = window != nullptr ? qobject_cast<QWidget*>(window->parent()) : nullptr;
    if (root == nullptr) return nullptr;
    const QString name = QString::fromUtf8(control.data(), static_cast<qsizetype>(control.size()));
    if (root->objectName() == name) return root;
    return root->findChild<QWidget*>(name);
}

bool clsToolTip::Create() {
    return Create(owner_);
}

bool clsToolTip::AddTool(std::string_view control, const std::string& strText) {
    return AddTool(find(control), strText);
}

void clsToolTip::setToolText(std::string_view control, const std::string& strText) {
    ToolText(find(control), strText);
}

void clsToolTip::setMaxTipWidth(int lngWidth) {
    MaxTipWidth(lngWidth);
}

void clsToolTip::setDelayTime(int dwType, int dwMilliSecs) {
    DelayTime(dwType, dwMilliSecs);
}

}  // namespace quorvik::qt
