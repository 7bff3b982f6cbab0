// The editor's entry: the command line, the application, the main window, the
// message loop.
#include "base/Platform.h"
#include "session/Preferences.h"
#include "ui/EditorContext.h"
#include "ui/MainWindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLibraryInfo>
#include <QProxyStyle>
#include <QTranslator>

#include <cstdio>

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
    // --help and --version answer before any window exists, so they need no display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Brackwen: a terrain editor for the adventure maps of Valdris."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("MAP"), QStringLiteral("A map to open after start-up (.vdm or .vdw)."),
                                 QStringLiteral("[MAP]"));
    if (!parser.parse(arguments)) {
        std::fprintf(stderr, "brackwen: %s\n", qPrintable(parser.errorText()));
        return 1;
    }
    if (parser.isSet(help)) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::printf("brackwen %s\n", BRACKWEN_VERSION);
        return 0;
    }

    // A save that outgrows the system's file size limit fails with a reason
    // instead of ending the program.
    platform::ignoreFileSizeSignal();
    QApplication app(argc, argv);
    app.setStyle(new ImmediateToolTipStyle);
    EditorContext context;
    // Qt's own dialogs speak the interface's language where the system has their texts.
    QTranslator qtTexts;
    if (!context.texts.locale.trimmed().isEmpty()
        && qtTexts.load(context.texts.dateLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);
    Preferences preferences;
    MainWindow window(context, preferences);
    window.show();
    if (!parser.positionalArguments().isEmpty())
        window.openWhenStarted(parser.positionalArguments().first());
    else
        window.offerRecoveryWhenStarted();
    return app.exec();
}
