#include "screens/HistoryNotice.h"

#include "core/SharedDb.h"
#include "platform/Prompt.h"
#include "screens/ScreenStatus.h"

#include <QDir>
#include <QFileInfo>

namespace dbkeel {

bool keepHistoryOrTell(const QString &caption, const QString &action, const QStringList &tables)
{
    QString error;
    if (keepHistory(sharedDb(), action, tables, error))
        return true;
    prompt().message(caption, error, PromptIcon::Exclamation);
    return false;
}

HistoryInScreen::HistoryInScreen(ScreenStatus &status)
    : m_show([&status](const QStringList &paths) {
          // Several entries (one per table of a transfer) are counted, with the folder they went to.
          const QString note = paths.size() == 1
                                   ? historyNote(paths.first())
                                   : QStringLiteral("历史记录: %1个, 在%2")
                                         .arg(QString::number(paths.size()),
                                              QDir::toNativeSeparators(QFileInfo(paths.last()).absolutePath()));
          status.setLeft(status.left().isEmpty() ? note : status.left() + QStringLiteral("  ") + note);
      })
{}

HistoryInScreen::HistoryInScreen(std::function<void(const QString &)> addLogLine)
    : m_show([addLogLine = std::move(addLogLine)](const QStringList &paths) {
          for (const QString &path : paths)
              addLogLine(historyNote(path));
      })
{}

HistoryInScreen::~HistoryInScreen()
{
    const QStringList paths = m_watch.keptPaths();
    if (!paths.isEmpty())
        m_show(paths);
}

}  // namespace dbkeel
