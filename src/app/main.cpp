// The program Dbkeel: one copy per user, the main window until it closes.

#include "MainWindow.h"
#include "Program.h"
#include "SingleInstance.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Dbkeel"));
    dbkeel::SingleInstance instance;
    if (!instance.claim())
        return instance.notifyRunning() ? 0 : 1;

    const std::unique_ptr<dbkeel::MainWindow> window = dbkeel::createProgramWindow();
    QObject::connect(&instance, &dbkeel::SingleInstance::activationRequested, window.get(),
                     &dbkeel::MainWindow::bringForward);
    return app.exec();
}
