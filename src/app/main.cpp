// The editor's entry: the application, the two windows, the message loop.
#include "app/TForm1.h"

#include <QApplication>
#include <QProxyStyle>

namespace {

// Tool-tips appear at once.
class ImmediateToolTipStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == QStyle::SH_ToolTip_WakeUpDelay)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

}  // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    app.setStyle(new ImmediateToolTipStyle);
    TForm1 form1;
    form1.show();
    return app.exec();
}
