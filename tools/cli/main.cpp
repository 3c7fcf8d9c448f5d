// dbkeel-cli: the administrator's operations that need no window, for scripts.
//
//   dbkeel-cli [--sysdir DIR] COMMAND [ARGUMENTS...]
//
// The system directory is DIR, else $DBKEEL_SYSDIR, else the program's default.

#include "core/AppLog.h"
#include "tools/cli/BundleCommand.h"
#include "tools/cli/CheckCommand.h"
#include "tools/cli/CliSession.h"

#include <QCoreApplication>

#include <iterator>

using namespace dbkeel::cli;

namespace {

int printHelp(const QStringList &);

// Every command of the tool; each but help lives in its own file.
const Command kCommands[] = {
    {"help", "help", printHelp},
    {"check", "check", runCheck},
    {"index", "index [-q]", runIndex},
    {"bundle", "bundle export FILE | bundle import FILE | bundle rebuild", dbkeel::cli::runBundle},
    {"doctor", "doctor [--json] [--network [--timeout MS]]", runDoctor},
    {"history", "history list | history show ID | history restore ID [--rebuild]", runHistory},
};

void printUsage(QTextStream &stream)
{
    stream << "usage: dbkeel-cli [--sysdir DIR] COMMAND [ARGUMENTS...]\n"
              "       dbkeel-cli --help | --version\n\ncommands:\n";
    for (const Command &command : kCommands)
        stream << "  dbkeel-cli " << command.usage << '\n';
    stream << "\nThe system directory is DIR, else $DBKEEL_SYSDIR, else the program's default.\n";
    stream.flush();
}

int printHelp(const QStringList &)
{
    printUsage(out());
    return Succeeded;
}

const Command *findCommand(const QString &name)
{
    for (const Command &command : kCommands)
        if (name == QLatin1String(command.name))
            return &command;
    return nullptr;
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    // The program's log lines (where a history entry went) on the error stream.
    QObject::connect(&dbkeel::logHub(), &dbkeel::LogHub::entryAdded,
                     [](const QString &text, bool) { err() << text << Qt::endl; });
    QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.value(0) == QLatin1String("--sysdir")) {
        if (arguments.size() < 2) {
            err() << "dbkeel-cli: --sysdir needs a folder\n";
            return CouldNotStart;
        }
        qputenv("DBKEEL_SYSDIR", arguments.at(1).toLocal8Bit());
        arguments = arguments.mid(2);
    }
    const QString name = arguments.value(0);
    if (name == QLatin1String("--version")) {
        out() << "dbkeel-cli " << DBKEEL_VERSION << Qt::endl;
        return Succeeded;
    }
    if (name == QLatin1String("--help"))
        return printHelp({});
    const Command *command = findCommand(name);
    if (!command) {
        if (!name.isEmpty())
            err() << "dbkeel-cli: unknown command \"" << name << "\"\n";
        printUsage(err());
        return CouldNotStart;
    }
    const int result = command->run(arguments.mid(1));
    out().flush();
    err().flush();
    return result;
}
