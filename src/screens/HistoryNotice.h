#pragma once
// The history of replacing writes (core/WriteHistory.h) as the screens show it: keeping an entry for
// a write that has no database error handler around it, and telling where the entries went.

#include "core/WriteHistory.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace dbkeel {

class ScreenStatus;

// Keeps the rows of `tables` on the shared connection before `action` replaces them. When that fails,
// says why in a message box with `caption` and answers false: the write must not happen.
bool keepHistoryOrTell(const QString &caption, const QString &action, const QStringList &tables);

// Made before a screen's write, it shows where each history entry kept while it lives went
// ("历史记录: <path>"), once the screen's own texts are out: when it ends, after the text of the
// left status line (several entries counted, with their folder), or as lines of the screen's process log.
class HistoryInScreen {
public:
    explicit HistoryInScreen(ScreenStatus &status);
    explicit HistoryInScreen(std::function<void(const QString &)> addLogLine);
    ~HistoryInScreen();
    HistoryInScreen(const HistoryInScreen &) = delete;
    HistoryInScreen &operator=(const HistoryInScreen &) = delete;

private:
    HistoryWatch m_watch;
    std::function<void(const QStringList &paths)> m_show;
};

}  // namespace dbkeel
