#pragma once
// A computer's address and port changed from the line tree: registry entry, node text, database.

#include "console/StationRowEditor.h"

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

// The address change of a double-clicked line-tree node, in two steps around the address editor.
// First the record to edit: the entry's address and port in address-only mode, for a station or
// computer node (its text holds "工位" or "[") with a registry entry; nullopt for any other node.
std::optional<StationRowRecord> addressChangeRecord(const QString &nodeText, quintptr treeNode);
// Then the edited record applied: ApplyAddress with the decimal value of its port text.
std::optional<QString> applyAddressChange(const StationRowRecord &edited, quintptr treeNode, const QString &nodeText);

}  // namespace dbkeel
