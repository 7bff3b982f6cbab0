// brackwen-obstaclegen OUTDIR: writes the sample obstacle catalogue
// ("obstacle.bmp" and "obstacle.ini") into a folder.
#include "writers/ObstacleCatalogueWriter.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() != 1 || args.front().startsWith(u'-')) {
        err << "Usage: brackwen-obstaclegen OUTDIR" << Qt::endl;
        return 2;
    }
    const QString reason = obstaclewriter::writeSampleCatalogue(args.front());
    if (!reason.isEmpty()) {
        err << "brackwen-obstaclegen: " << reason << Qt::endl;
        return 1;
    }
    for (const char *name : {"obstacle.bmp", "obstacle.ini"}) {
        const QFileInfo file(args.front() + u'/' + QLatin1String(name));
        out << file.filePath() << ": " << file.size() << " bytes" << Qt::endl;
    }
    return 0;
}
