#pragma once

#include <QProxyStyle>

namespace app {

/** The platform style with the program's tool-tip delay: hints appear after 1200 ms. */
class HintDelayStyle : public QProxyStyle
{
public:
    static constexpr int kHintDelayMs = 1200;

    int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override
    {
        if (hint == SH_ToolTip_WakeUpDelay)
            return kHintDelayMs;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace app
