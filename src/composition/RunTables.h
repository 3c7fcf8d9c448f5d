#pragma once
// The derived run tables tb_id_item, tb_id_dev and tb_id_param, rebuilt from the dictionaries and the
// relations. The layout screen rebuilds them when it opens, the one-key build on request, dbkeel-cli
// from a script; each reports the steps in its own way.

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace dbkeel {

class SharedDb;

// One run table: its statements and the texts that report it.
struct RunTableStep {
    QString startText;       // "正在创建项目信息..."
    QString doneText;        // "已创建项目信息"
    QString failureText;     // "创建项目信息失败", followed by the driver's text
    QStringList statements;  // the delete and the insert
};

// Items, devices, parameters: the fixed order of the rebuild.
const QList<RunTableStep> &runTableSteps();
// The tables the steps replace, in the same order.
const QStringList &runTableNames();

// Runs one step in one transaction: on failure the table keeps its old rows. The driver's text on failure.
std::optional<QString> rebuildRunTable(SharedDb &db, const RunTableStep &step);

// How a caller shows the rebuild: a step started, done, or failed with the driver's text.
struct RunTableReport {
    std::function<void(const RunTableStep &)> started;
    std::function<void(const RunTableStep &)> done;
    std::function<void(const RunTableStep &, const QString &error)> failed;
};

// The three steps in order, stopping at the first failure; true when all three were rebuilt.
bool rebuildRunTables(SharedDb &db, const RunTableReport &report);

}  // namespace dbkeel
