#pragma once
// A computer's address and port changed from the line tree: registry entry, node text, database.

#include <QString>

#include <optional>

namespace dbkeel {

// "(%s->%s)": the tail of a station or computer node's text.
QString addressTail(const QString &address, const QString &port);

// The registry entry of `treeNode` gets the new address and port ("%d"); the node's text has every
// "(old address->old port)" replaced; with an open connection the station's tb_line_info rows
// (kind 0) or the computer's tb_login_ip_info row (kind 1) are updated. The new node text, or
// nullopt when the node has no registry entry.
std::optional<QString> ApplyAddress(const QString &address, int port, quintptr treeNode, const QString &nodeText);

}  // namespace dbkeel
