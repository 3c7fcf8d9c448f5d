#include "screens/HistoryNotice.h"

#include "core/SharedDb.h"
#include "core/WriteHistory.h"
#include "platform/Prompt.h"

namespace dbkeel {

bool keepHistoryOrTell(const QString &caption, const QString &action, const QStringList &tables)
{
    QString error;
    if (keepHistory(sharedDb(), action, tables, error))
        return true;
    prompt().message(caption, error, PromptIcon::Exclamation);
    return false;
}

}  // namespace dbkeel
