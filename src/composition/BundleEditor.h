#pragma once
// The GUI-free part of the bundle screen: its process log and its three commands.

#include "composition/BaseBundle.h"

#include <QObject>
#include <QString>

namespace dbkeel {

// The process log: each line goes on top of the earlier ones; a failure line is put in twice, the
// second time with "★ " above the first. Past kLimit characters the log starts again.
class ProcessLog : public QObject, public BundleLog {
    Q_OBJECT

public:
    static constexpr int kLimit = 9'999'999;

    using QObject::QObject;
    QString text() const { return m_text; }
    void add(const QString &line, bool failure = false) override;

signals:
    void textChanged(const QString &text);

private:
    QString m_text;
};

class BundleEditor : public QObject {
    Q_OBJECT

public:
    explicit BundleEditor(QObject *parent = nullptr);

    ProcessLog &log() { return m_log; }

    void exportCommand();  // "导出数据": asks for a folder
    void importCommand();  // "导入数据": asks for a file
    void buildCommand();   // "创建": asks first

private:
    ProcessLog m_log;
};

}  // namespace dbkeel
