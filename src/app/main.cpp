// The program Dbkeel: one copy per user, the main window until it closes.

#include "app/MainWindow.h"
#include "app/Program.h"
#include "app/SingleInstance.h"
#include "platform/Prompt.h"
#include "platform/QtPrompt.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

namespace {

// Answers --version and --help before any window exists, so they need no display; -1 otherwise.
int answerWithoutWindow(int argc, char **argv)
{
    if (argc != 2)
        return -1;
    if (std::strcmp(argv[1], "--version") == 0) {
        std::printf("Dbkeel %s\n", DBKEEL_VERSION);
        return 0;
    }
    if (std::strcmp(argv[1], "--help") == 0) {
        std::printf("usage: Dbkeel [--help | --version]\n\n"
                    "The administrator's workstation of an inspection-line installation. It reads the host\n"
                    "configuration HostCfg.ini of the system directory ($DBKEEL_SYSDIR, else\n"
                    "~/.local/share/dbkeel/system) and opens the database it names.\n");
        return 0;
    }
    return -1;
}

}  // namespace

int main(int argc, char **argv)
{
    if (const int answered = answerWithoutWindow(argc, argv); answered >= 0)
        return answered;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Dbkeel"));
    dbkeel::QtPrompt dialogs;
    dbkeel::setPrompt(&dialogs);
    if (!dbkeel::installQtChineseTranslations())
        std::fprintf(stderr, "Dbkeel: Qt's Chinese translations are missing (package qt6-translations-l10n)\n");
    if (const QString notice = dbkeel::missingChineseFontNotice(); !notice.isEmpty()) {
        std::fprintf(stderr, "Dbkeel: %s\n", qPrintable(notice));
        dbkeel::prompt().message(QStringLiteral("Dbkeel"), notice, dbkeel::PromptIcon::Exclamation);
    }
    dbkeel::SingleInstance instance;
    if (!instance.claim())
        return instance.notifyRunning() ? 0 : 1;

    const std::unique_ptr<dbkeel::MainWindow> window = dbkeel::createProgramWindow();
    QObject::connect(&instance, &dbkeel::SingleInstance::activationRequested, window.get(),
                     &dbkeel::MainWindow::bringForward);
    return app.exec();
}
