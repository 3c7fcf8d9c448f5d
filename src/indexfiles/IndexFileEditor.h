#pragma once
// The GUI-free part of IndexFileDialog: the questions before a build, the build itself through the
// screen's job runner (so the window repaints and the progress bar moves), the per-part failure
// messages and the closing message.

#include "indexfiles/IndexFileBuild.h"
#include "platform/Prompt.h"
#include "screens/JobRunner.h"
#include "screens/ScreenStatus.h"

#include <QObject>

#include <deque>

namespace dbkeel {

class IndexFileEditor : public QObject {
    Q_OBJECT

public:
    static constexpr int kProgressMaximum = 12;

    explicit IndexFileEditor(QObject *parent = nullptr);

    ScreenStatus &status() { return m_status; }
    JobRunner &runner() { return m_runner; }
    bool hasBuilt() const { return m_built; }
    bool isRunning() const { return m_runner.isRunning(); }
    // The outcome of the last build that ended.
    const IndexBuildResult &lastResult() const { return m_result; }

    // "创建": asks (a second time when a build already ran on this screen), then builds the files
    // the host configuration names from the database of the shared connection's connect string.
    // False when the user cancelled or a build is running.
    bool create();

signals:
    void buildRunning(bool running);

private:
    void partFinished(const PartOutcome &outcome);
    void buildEnded(const QString &jobError);
    // Message boxes one after the other, in the order the build raised them.
    void say(const QString &caption, const QString &text);

    ScreenStatus m_status;
    JobRunner m_runner;
    bool m_built = false;
    IndexBuildResult m_result;
    std::deque<std::pair<QString, QString>> m_messages;
    bool m_saying = false;
};

}  // namespace dbkeel
