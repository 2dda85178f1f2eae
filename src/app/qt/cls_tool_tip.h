#pragma once

// The window's help tooltips: one tooltip per owning window, with controls
// registered as tools. The tooltip watches each tool itself, so the window
// relays nothing; resting the pointer on a tool shows its text.
//
// Until Create has run (or after the owning window is gone) every member is
// inert: reads give 0, false or an empty text and writes change nothing.

#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/tool_tip_api.h"

namespace quorvik::qt {

class ToolTipWindow;

class clsToolTip final : public app::ToolTipApi {
public:
    using Handle = std::uintptr_t;

    // `owner` is the window that the name-based members and Create() use.
    explicit clsToolTip(QWidget* owner = nullptr);
    ~clsToolTip() override;
    clsToolTip(const clsToolTip&) = delete;
    clsToolTip& operator=(const clsToolTip&) = delete;

    // Creates the tooltip for the window `frm` unless one exists; true while one
    // exists. Without a window nothing is created.
    bool Create(QWidget* frm);
    // Registers `ctrl` once. Controls without a window of their own (labels,
    // picture holders, menus) cannot carry a tip: false, and nothing happens.
    bool AddTool(QWidget* ctrl, const std::string& strText = {});

    // dwType AND 3: 0 automatic (sets the other three from one time), 1 reshow,
    // 2 auto-pop (how long a tip stays up), 3 initial. A negative time restores
    // the default.
    int DelayTime(int dwType) const;
    void DelayTime(int dwType, int dwMilliSecs);
    Handle hWnd() const;
    // Reads the low 16 bits as a signed number. A width below 1 means no limit
    // (-1); any width puts the tips in multi-line mode.
    int MaxTipWidth() const;
    void MaxTipWidth(int lngWidth);
    std::string ToolText(QWidget* ctrl) const;
    void ToolText(QWidget* ctrl, const std::string& strText);

    // Start-up drives the tooltip by control name, looked up in the owner.
    bool Create() override;
    bool AddTool(std::string_view control, const std::string& strText) override;
    void setToolText(std::string_view control, const std::string& strText) override;
    void setMaxTipWidth(int lngWidth) override;
    void setDelayTime(int dwType, int dwMilliSecs) override;

private:
    ToolTipWindow* tip() const;
    QWidget* find(std::string_view control) const;

    QPointer<QWidget> owner_;
    // Lives with the owning window: if the window goes first, this turns null.
    QPointer<QObject> tip_;
};

}  // namespace quorvik::qt
