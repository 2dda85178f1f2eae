#pragma once

// The part of the window's tooltip wrapper that start-up drives: controls are
// named by their control names, texts are UTF-8.

#include <string>
#include <string_view>

namespace quorvik::app {

class ToolTipApi {
public:
    virtual ~ToolTipApi() = default;

    virtual bool Create() = 0;
    virtual bool AddTool(std::string_view control, const std::string& strText) = 0;
    virtual void setToolText(std::string_view control, const std::string& strText) = 0;
    virtual void setMaxTipWidth(int lngWidth) = 0;
    virtual void setDelayTime(int dwType, int dwMilliSecs) = 0;
};

}  // namespace quorvik::app
