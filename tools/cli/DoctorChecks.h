#pragma once
// The checks of `dbkeel-cli doctor`: each looks at one part of an installation and says what is
// inconsistent in it, with what to do, before the inspection programs stumble on it.

#include <QList>
#include <QString>

#include <chrono>

namespace dbkeel {
class SharedDb;
}

namespace dbkeel::cli {

enum class Severity {
    Error,    // the inspection programs will fail or work on wrong data
    Warning,  // likely a mistake
    Note,     // worth knowing; does not make the doctor exit 1
};

struct Finding {
    Severity severity;
    QString check;  // "relations", "layout", "index", "host", "network"
    QString text;
    QString advice;
};
using Findings = QList<Finding>;

QString severityName(Severity severity);

// Relations naming a device, item or parameter that the dictionaries do not hold; placed devices
// without items and items of placed devices without parameters in the run tables; parameters under
// more than one item.
void checkRelations(SharedDb &db, Findings &findings);
// Layout rows whose device, line type or line is unknown; a device placed twice at one station; one
// address and port used by two stations.
void checkLayout(SharedDb &db, Findings &findings);
// The system index file and UserID.dat: missing, unreadable, or not what a build would write now.
void checkIndexFiles(const QString &connectString, Findings &findings);
// The host configuration: the system directory, folders and components its entries name, the data source
// (checkDataSource).
void checkHostConfig(SharedDb &db, Findings &findings);
// The data source the connection is open on, with the server's name and version: an error below SQL
// Server 2000, and on SQL Server the Chinese round trip (an error naming the setting when the text
// does not come back equal).
void checkDataSource(SharedDb &db, Findings &findings);
// Every station of the layout sent the console's 1004 at once: the stations that have not answered
// within `bound`, and those whose address or port is unusable.
void checkNetwork(SharedDb &db, std::chrono::milliseconds bound, Findings &findings);

}  // namespace dbkeel::cli
