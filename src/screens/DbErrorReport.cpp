#include "screens/DbErrorReport.h"

#include "core/AppState.h"
#include "platform/Prompt.h"
#include "core/SharedDb.h"

namespace dbkeel {

void reportDbError(const QString &caption, const QString &context, const DbError &error, AfterDbError after)
{
    prompt().message(caption, context + error.text(), PromptIcon::Exclamation);
    if (after == AfterDbError::MarkLost)
        DbReady = 0;
}

}  // namespace dbkeel
