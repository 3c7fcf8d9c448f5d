// A copy of the program's single-instance guard in a small process: the first copy prints
// "first" and then "activated" for every later start; a later start exits 0 once handed over.

#include "app/SingleInstance.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    dbkeel::SingleInstance instance;
    if (!instance.claim())
        return instance.notifyRunning() ? 0 : 1;
    QObject::connect(&instance, &dbkeel::SingleInstance::activationRequested, [] {
        std::puts("activated");
        std::fflush(stdout);
    });
    std::puts("first");
    std::fflush(stdout);
    return app.exec();
}
