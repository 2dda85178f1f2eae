#pragma once

#include <QComboBox>
#include <QHash>
#include <QLineEdit>
#include <QMainWindow>
#include <QPixmap>
#include <array>
#include <memory>
#include <string_view>

#include "app/form1.h"
#include "app/qt/cls_tool_tip.h"

namespace quorvik::qt {

class BackgroundArea;

// The main window: widgets placed exactly as designed, each named after its
// control. Around every event it copies the widgets into the panel, runs the
// handler and copies the panel back; it holds no settings logic of its own.
class Form1Window : public QMainWindow {
    Q_OBJECT

public:
    // When the controls are made. The program builds them once the start-up
    // question has been answered, so that the question is on screen as soon as
    // Qt is up; a window built at construction is complete before load().
    enum class Controls { AtConstruction, AfterStartUpQuestion };

    // Without dialogs of the caller's, the window uses Qt's own.
    explicit Form1Window(platform::System& system, platform::Dialogs* dialogs = nullptr,
                         Controls controls = Controls::AtConstruction, QWidget* parent = nullptr);
    ~Form1Window() override;

    app::Form1& form() { return *form_; }
    // Runs start-up: its question, then the window made whole if it was not
    // yet, then the rest of start-up; call once, before the window is shown.
    void load();
    // Pulls the widgets into the panel, runs the named control's command,
    // pushes the panel back.
    void run(std::string_view command);
    QWidget* control(const QString& name) const { return controls_.value(name); }
    // Copies the widgets into the panel, or the panel into the widgets.
    void pull();
    void push();

    static QPixmap picture(app::Picture picture);

    // The window's help tooltips; start-up creates them and attaches the texts.
    clsToolTip ToolTips;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Builds the controls and menus and fills them from the panel, once.
    void build();
    void buildControls();
    void buildMenus();
    // The scale at which the window and its frame fit the screen's free area: 1 where it fits.
    double fittingScale() const;
    // Gives every input its label's name and its help's first line, for screen readers.
    void nameInputs();
    // Sizes a drop-down to show its longest entry, within the room it has.
    void fitDropDown(QComboBox& combo, std::string_view name);
    // Loads what the window draws with while the start-up question waits.
    void prepareWhileAsked();
    // A setting's control opens its own menu: its edit commands, then its
    // default and, for the resolution, the monitor's modes.
    void offerControlMenu(QWidget& target, std::string_view name);
    void showControlMenu(QWidget& target, std::string_view name, const QPoint& at);
    // Makes the field show its value's beginning whenever the player leaves it.
    void watchForLongValues(QLineEdit& edit);
    template <typename Widget, typename Control, std::size_t N>
    void pullAll(const std::array<panel::Named<Control>, N>& controls);
    template <typename Widget, typename Control, std::size_t N>
    void pushAll(const std::array<panel::Named<Control>, N>& controls);

    const platform::CodePage& codePage_;
    std::unique_ptr<platform::Dialogs> ownDialogs_;
    std::unique_ptr<app::Form1> form_;
    BackgroundArea* area_ = nullptr;
    QHash<QString, QWidget*> controls_;
    double scale_ = 1.0;  // below 1 where the designed window does not fit the screen
    bool built_ = false;
    bool loading_ = false;  // load() is running
    bool shownOnce_ = false;
};

}  // namespace quorvik::qt
