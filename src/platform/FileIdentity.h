#pragma once
// Which file a path names: two paths, or one path at two moments, name the same file exactly when
// their identities are equal. A file removed and put back (a copy, say) under the same name is
// another file.

#include <QString>

#include <optional>

namespace dbkeel {

struct FileIdentity {
    quint64 device = 0;  // the volume
    quint64 node = 0;    // the file on the volume
    bool operator==(const FileIdentity &) const = default;
};

// The identity of the file `path` names now; nothing when it names none.
std::optional<FileIdentity> fileIdentity(const QString &path);

}  // namespace dbkeel
