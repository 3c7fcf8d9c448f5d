#include "DbErrorReport.h"

#include "AppState.h"
#include "Prompt.h"
#include "SharedDb.h"

namespace dbkeel {

void reportDbError(const QString &caption, const QString &context, const DbError &error, AfterDbError after)
{
    prompt().message(caption, context + error.text(), PromptIcon::Exclamation);
    if (after == AfterDbError::MarkLost)
        DbReady = 0;
}

}  // namespace dbkeel
