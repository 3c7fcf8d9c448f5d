#include "dictionaries/BasicInfoList.h"

#include "core/SharedDb.h"
#include "platform/Prompt.h"
#include "screens/DbErrorReport.h"

namespace dbkeel {

BasicInfoList::BasicInfoList(int listClientWidth)
{
    m_list.setSeparatorText(QStringLiteral("项目类型"));
    setColumns(listClientWidth);
}

void BasicInfoList::setColumns(int listClientWidth)
{
    const int w = listClientWidth / 3;
    m_list.setColumns(columnSpec({"代号", "字段名", "字段名称", "字段代码", "状态"}, {50, 0, w, w - 50, w - 50}));
}

void BasicInfoList::load()
{
    if (!sharedDb().isOpen())
        return;
    m_list.deleteAllRows();
    try {
        SqlCursor cursor = sharedDb().query(kLoadQuery);
        while (cursor.next()) {
            const int row = m_list.appendRow(cursor.text(QStringLiteral("infoid")));
            const char *columns[] = {"infoword", "infoname", "reserved", "status"};
            for (int c = 0; c < 4; ++c)
                m_list.setItemText(row, c + 1, cursor.text(QString::fromLatin1(columns[c])));
        }
    } catch (const DbError &error) {
        reportDbError(QStringLiteral("错误"), QString(), error, AfterDbError::KeepReady);
    }
    m_list.setTextColor(-1, -1, listcolor::Blue);
}

}  // namespace dbkeel
