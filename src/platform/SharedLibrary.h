#pragma once
// A shared library loaded by path, counted by the system loader itself. QLibrary (Qt 6.4) loses
// count when a library that one QLibrary has resolved symbols from is loaded by a second one: the
// second one's unload then unmaps the library under the first. Bindings that other code of the
// process may hold too (the host library) go through this class instead.

#include <QString>

namespace dbkeel {

class SharedLibrary {
public:
    SharedLibrary() = default;
    ~SharedLibrary();  // leaves the library loaded, as QLibrary does; close() frees it
    SharedLibrary(const SharedLibrary &) = delete;
    SharedLibrary &operator=(const SharedLibrary &) = delete;

    bool open(const QString &path);  // false with errorString() when it does not load
    void close();                    // this holder's count; the library goes when the last one closes
    bool isOpen() const { return m_handle != nullptr; }
    void *symbol(const char *name) const;  // null when missing or not open
    QString path() const { return m_path; }
    QString errorString() const { return m_error; }

private:
    void *m_handle = nullptr;
    QString m_path;
    QString m_error;
};

}  // namespace dbkeel
