#include "platform/SharedLibrary.h"

#include <QFile>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace dbkeel {

SharedLibrary::~SharedLibrary() = default;

bool SharedLibrary::open(const QString &path)
{
    close();
    m_path = path;
#ifdef Q_OS_WIN
    m_handle = reinterpret_cast<void *>(LoadLibraryW(reinterpret_cast<LPCWSTR>(path.utf16())));
    if (!m_handle)
        m_error = QStringLiteral("%1: cannot load (error %2)").arg(path, QString::number(GetLastError()));
#else
    m_handle = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!m_handle)
        m_error = QString::fromLocal8Bit(dlerror());
#endif
    if (m_handle)
        m_error.clear();
    return m_handle != nullptr;
}

void SharedLibrary::close()
{
    if (!m_handle)
        return;
#ifdef Q_OS_WIN
    FreeLibrary(reinterpret_cast<HMODULE>(m_handle));
#else
    dlclose(m_handle);
#endif
    m_handle = nullptr;
}

void *SharedLibrary::symbol(const char *name) const
{
    if (!m_handle)
        return nullptr;
#ifdef Q_OS_WIN
    return reinterpret_cast<void *>(GetProcAddress(reinterpret_cast<HMODULE>(m_handle), name));
#else
    return dlsym(m_handle, name);
#endif
}

}  // namespace dbkeel
