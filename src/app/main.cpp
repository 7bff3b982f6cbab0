// The editor's entry: the application, the two windows, the message loop.
#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    return app.exec();
}
