#include "screens/DbErrorReport.h"

#include "core/AppState.h"
#include "core/SharedDb.h"
#include "platform/Prompt.h"

namespace dbkeel {

void reportDbError(const QString &caption, const QString &context, const DbError &error, AfterDbError after)
{
    prompt().message(caption, context + error.text(), PromptIcon::Exclamation);
    if (after == AfterDbError::MarkLost)
        DbReady = 0;
}

}  // namespace dbkeel
