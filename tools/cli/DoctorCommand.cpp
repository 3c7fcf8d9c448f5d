// dbkeel-cli doctor: every check of an installation, one line per finding with its severity and what to do.

#include "core/Database.h"
#include "core/SharedDb.h"
#include "tools/cli/CliSession.h"
#include "tools/cli/DoctorChecks.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <string_view>

namespace dbkeel::cli {

using namespace std::chrono_literals;

namespace {

void printLines(const Findings &findings)
{
    for (const Finding &finding : findings) {
        out() << severityName(finding.severity) << ' ' << finding.check << ": " << finding.text;
        if (!finding.advice.isEmpty())
            out() << " -- " << finding.advice;
        out() << '\n';
    }
}

void printJson(const Findings &findings)
{
    QJsonArray array;
    for (const Finding &finding : findings)
        array.append(QJsonObject{{QStringLiteral("severity"), severityName(finding.severity)},
                                 {QStringLiteral("check"), finding.check},
                                 {QStringLiteral("finding"), finding.text},
                                 {QStringLiteral("advice"), finding.advice}});
    out() << QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Indented));
}

}  // namespace

int runDoctor(const QStringList &arguments)
{
    bool json = false, network = false;
    std::chrono::milliseconds bound = 3000ms;
    const auto usage = [] {
        err() << "usage: dbkeel-cli doctor [--json] [--network [--timeout MS]]\n";
        return CouldNotStart;
    };
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == QLatin1String("--json")) {
            json = true;
        } else if (argument == QLatin1String("--network")) {
            network = true;
        } else if (argument == QLatin1String("--timeout") && i + 1 < arguments.size()) {
            bool isNumber = false;
            bound = std::chrono::milliseconds(arguments.at(++i).toUInt(&isNumber));
            if (!isNumber || bound.count() == 0)
                return usage();
        } else {
            return usage();
        }
    }
    QString error;
    if (!openInstallation(error, TextCheck::Skip)) {  // the host check reports the text round trip
        err() << "dbkeel-cli doctor: " << error << '\n';
        return CouldNotStart;
    }
    Findings findings;
    const struct {
        const char *name;
        std::function<void()> run;
    } checks[] = {
        {"host", [&] { checkHostConfig(sharedDb(), findings); }},
        {"relations", [&] { checkRelations(sharedDb(), findings); }},
        {"layout", [&] { checkLayout(sharedDb(), findings); }},
        {"index", [&] { checkIndexFiles(connectString(), findings); }},
        {"network", [&] { checkNetwork(sharedDb(), bound, findings); }},
    };
    for (const auto &check : checks) {
        if (!network && check.name == std::string_view("network"))
            continue;
        try {
            check.run();
        } catch (const DbError &failure) {
            findings.append({Severity::Error, QLatin1String(check.name),
                             QStringLiteral("could not check: ") + failure.text(),
                             QStringLiteral("mend the database table it names")});
        }
    }
    if (json)
        printJson(findings);
    else
        printLines(findings);
    const bool found = std::any_of(findings.begin(), findings.end(),
                                   [](const Finding &finding) { return finding.severity != Severity::Note; });
    return found ? PartFailed : Succeeded;
}

}  // namespace dbkeel::cli
