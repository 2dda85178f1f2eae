#pragma once

// The main window on the Win32 API: standard controls placed as designed (the
// layout's twips at the window's DPI), each with a command id derived from its
// name. Around every event it copies the controls into the panel, runs the
// command through the core's table and copies the panel back; it holds no
// settings logic of its own.

#include <windows.h>

#include <array>
#include <memory>
#include <string_view>
#include <vector>

#include "app/form1.h"
#include "app/win32/accessible_names.h"
#include "app/win32/cls_tool_tip.h"
#include "panel/layout.h"

namespace quorvik::win32 {

class Win32Dialogs;

class Form1Window {
public:
    // When the controls are made. The program builds them once the start-up
    // question has been answered, so that the question is on screen as soon as
    // the program is up; a window built at creation is complete before load().
    enum class Controls { AtCreation, AfterStartUpQuestion };

    // Without dialogs of the caller's, the window uses Windows' own.
    explicit Form1Window(platform::System& system, platform::Dialogs* dialogs = nullptr,
                         Controls controls = Controls::AtCreation);
    ~Form1Window();
    Form1Window(const Form1Window&) = delete;
    Form1Window& operator=(const Form1Window&) = delete;

    // Makes the window with its menus and controls, hidden; false when Windows
    // refused. A window whose controls come after the start-up question is
    // made then, all of it: until that, hwnd() is nullptr.
    bool create();
    HWND hwnd() const { return hwnd_; }
    app::Form1& form() { return *form_; }
    // When the tooltip gets its tools and the controls the window's own
    // handlers: at the end of load(), or in show() once the window is on screen
    // (sooner on screen, as under Wine each costs a round trip to its server).
    enum class Handlers { AtLoad, OnceShown };
    // Runs start-up: its question, then the window made whole if it was not
    // yet, then the rest of start-up; call once, before the window is shown.
    void load(Handlers handlers = Handlers::AtLoad);
    void show(int showCommand);
    // Pulls the controls into the panel, runs the named control's command, pushes the panel back.
    void run(std::string_view command);
    // The control's window; nullptr for the picture holders, which have none.
    HWND control(std::string_view name) const;
    void pull();
    void push();
    UINT dpi() const { return dpi_; }
    // The DPI the controls are laid out at: the window's, or less where the
    // window would not fit its monitor's work area.
    UINT shownDpi() const { return shownDpi_; }
    // Twips to pixels at the shown DPI.
    int pixels(int twips) const;
    // Runs the window's messages until it is closed; returns the exit code.
    int messageLoop();
    // What the message loop does with a message before it is dispatched: the
    // menus' shortcuts, Shift+F1 (the focused control's help), and the
    // dialog keys (Tab, Enter). True when one of them took it.
    bool translate(MSG& message);

    // The window's help tooltips; start-up creates them and attaches the texts.
    clsToolTip ToolTips;

private:
    struct Control {
        const panel::ControlLayout* layout = nullptr;
        HWND window = nullptr;
        panel::ColorNumber color = 0;
    };

    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    // Makes the window itself with its menus, hidden.
    bool makeWindow();
    // Makes the window if need be, then the controls, lays them out and fills them; once.
    void build();
    void buildControls();
    // The window's own handlers on its fields (their menu) and its banner (Tab).
    void subclassControls();
    // Gives each input its name and description for screen readers; show()
    // does, once.
    void nameInputs();
    void chooseShownDpi();
    // Sizes a drop-down to show its longest entry, within the room it has.
    // Sizes the drop-downs to their entries, all in one font (see form1_layout.cpp).
    void fitDropDowns();
    // The ring around the check box that has the keyboard focus.
    void paintFocusRing(HDC dc) const;
    void invalidateFocusRing(HWND check) const;
    HMENU buildMenus() const;
    HACCEL buildShortcuts() const;
    void makeFonts();
    void layoutControls();
    void fitClientArea();
    void keepOnWorkArea();
    void placeLabel(Control& label);
    // The size of a label showing the text in the role's font.
    SIZE captionSize(const std::wstring& text, panel::FontRole role);
    // Gives a control its font (the drop-downs excepted: see fitDropDowns).
    void giveFont(const Control& control);
    void giveHandlers();
    void showPicture(app::Picture picture);
    // Loads the pictures while the start-up question waits for its answer.
    void preparePictures();
    void eraseBackground(HDC dc) const;
    const Control* find(HWND window) const;
    Control* find(std::string_view name);
    const Control* find(std::string_view name) const;
    bool command(int id, int code, HWND from);
    // A setting's own menu, at the pointer or, opened from the keyboard, under
    // the control; `field` is where its edit commands go, if it has any.
    void showControlMenu(const Control& control, HWND field, LPARAM where);
    // Windows shows no tips for menu items: the highlighted item's tip is shown
    // beside it, in a tooltip of its own.
    void showMenuTip(HMENU menu, UINT item, UINT flags);
    void hideMenuTip();
    // Where the tip of a menu's item goes: where it hides nothing of the menu.
    POINT menuTipPlace(HMENU menu, const RECT& item, TOOLINFOW& tool);
    HFONT font(panel::FontRole role) const;
    // A device context for measuring text in: a window's own costs Wine a
    // round trip to its server each time it is taken.
    HDC measuring();

    platform::System& system_;
    const platform::CodePage& codePage_;
    std::unique_ptr<Win32Dialogs> ownDialogs_;
    Win32Dialogs* win32Dialogs_ = nullptr;
    std::unique_ptr<app::Form1> form_;
    HWND hwnd_ = nullptr;
    Controls controlsWhen_;
    bool built_ = false;
    bool named_ = false;  // the inputs' names for screen readers are given
    bool loading_ = false;     // load() is running
    bool subclassed_ = false;  // the controls have the window's own handlers
    UINT dpi_ = 96;
    UINT shownDpi_ = 96;
    std::vector<Control> controls_;  // in layout order
    HWND menuTip_ = nullptr;
    std::array<HFONT, 6> fonts_{};   // by font role
    HFONT dropDownFont_ = nullptr;   // the drop-downs' smaller font, where their entries need one
    int dropDownFontSize_ = 0;       // its size, in hundredths of a point
    HBITMAP moor_ = nullptr;         // the game screenshot as stored
    HBITMAP black_ = nullptr;        // the plain black picture
    HBITMAP shown_ = nullptr;        // the background at the window's DPI
    SIZE shownSize_{};
    HBITMAP prepared_ = nullptr;  // the game screenshot at the screen's DPI, made early
    SIZE preparedSize_{};
    UINT preparedDpi_ = 0;
    HBRUSH labelBrush_ = nullptr;  // the background as a brush aligned for each label
    HBRUSH bannerBrush_ = nullptr;
    app::Picture picture_ = app::Picture::None;
    bool pictureMade_ = false;
    HWND focused_ = nullptr;
    bool quitOnDestroy_ = false;
    HACCEL shortcuts_ = nullptr;  // the menus' shortcut keys
    AccessibleNames accessibleNames_;
    HDC measuring_ = nullptr;
};

}  // namespace quorvik::win32
