#include "SharedLibrary.h"

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
    path_ = path;
#ifdef Q_OS_WIN
    handle_ = reinterpret_cast<void *>(LoadLibraryW(reinterpret_cast<LPCWSTR>(path.utf16())));
    if (!handle_)
        error_ = QStringLiteral("%1: cannot load (error %2)").arg(path, QString::number(GetLastError()));
#else
    handle_ = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_)
        error_ = QString::fromLocal8Bit(dlerror());
#endif
    if (handle_)
        error_.clear();
    return handle_ != nullptr;
}

void SharedLibrary::close()
{
    if (!handle_)
        return;
#ifdef Q_OS_WIN
    FreeLibrary(reinterpret_cast<HMODULE>(handle_));
#else
    dlclose(handle_);
#endif
    handle_ = nullptr;
}

void *SharedLibrary::symbol(const char *name) const
{
    if (!handle_)
        return nullptr;
#ifdef Q_OS_WIN
    return reinterpret_cast<void *>(GetProcAddress(reinterpret_cast<HMODULE>(handle_), name));
#else
    return dlsym(handle_, name);
#endif
}

}  // namespace dbkeel
