// The program Dbkeel: one copy per user, the main window until it closes.

#include "MainWindow.h"
#include "SingleInstance.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Dbkeel"));
    dbkeel::SingleInstance instance;
    if (!instance.claim())
        return instance.notifyRunning() ? 0 : 1;

    dbkeel::MainWindow window;
    QObject::connect(&instance, &dbkeel::SingleInstance::activationRequested, &window,
                     &dbkeel::MainWindow::bringForward);
    return app.exec();
}
