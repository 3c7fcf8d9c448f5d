#pragma once
// The widths, in bytes, of the text columns that the editors write: varchar(n) in the SQL Server tables
// (schema/sqlserver.sql), TEXT in the embedded database's (schema/sqlite.sql). An edit box never takes
// more than its column holds: SQL Server refuses a longer value ("String or binary data would be
// truncated") and with it the whole store. A test compares this table with both schema scripts.

#include <initializer_list>
#include <stdexcept>
#include <string_view>

namespace dbkeel {

struct ColumnWidth {
    std::string_view table, column;
    int bytes;
};

inline constexpr ColumnWidth kColumnWidths[] = {
    // the element dictionaries and line types (the shared row editor)
    {"tb_id_devid", "devname", 50},
    {"tb_id_devid", "devkeychar", 50},
    {"tb_id_devid", "res", 50},
    {"tb_id_devid", "remark", 100},
    {"tb_id_itemid", "itemname", 50},
    {"tb_id_itemid", "res", 50},
    {"tb_id_itemid", "remark", 100},
    {"tb_id_paramid", "paramname", 50},
    {"tb_id_paramid", "res", 50},
    {"tb_id_paramid", "remark", 100},
    {"tb_id_linetype", "linename", 50},
    // sub-IDs
    {"tb_login_ini", "infovalue_about", 100},
    {"tb_login_ini", "subbyname", 50},
    // external-inspection items
    {"tb_id_eval", "pingdingid", 32},
    {"tb_id_eval", "pingdingname", 64},
    {"tb_id_eval", "usetypeabout", 100},
    {"tb_id_eval", "alias", 50},
};

struct ColumnName {
    std::string_view table, column;
};

// The width of a column of the table above; a column missing from it stops the build where a
// constant is asked for.
constexpr int columnWidth(ColumnName name)
{
    for (const ColumnWidth &width : kColumnWidths)
        if (width.table == name.table && width.column == name.column)
            return width.bytes;
    throw std::logic_error("column not in kColumnWidths");
}

// The longest text an edit box may take: its own limit, or less when one of the columns it is written
// to is narrower.
constexpr int editLimit(int boxLimit, std::initializer_list<ColumnName> columns)
{
    int limit = boxLimit;
    for (const ColumnName &name : columns)
        limit = columnWidth(name) < limit ? columnWidth(name) : limit;
    return limit;
}

}  // namespace dbkeel
