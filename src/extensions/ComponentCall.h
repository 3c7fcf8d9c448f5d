#pragma once
// How a binder calls into a component: exports bound by name, every call guarded.

#include <QLibrary>

namespace dbkeel {

// Calls an export unless it is missing; 0 (or a null pointer) for a missing export or an exception.
template <typename Function, typename... Args>
auto guardedCall(Function function, Args... args) -> decltype(function(args...))
{
    using Result = decltype(function(args...));
    if (!function)
        return Result{};
    try {
        return function(args...);
    } catch (...) {
        return Result{};
    }
}

template <typename Function>
Function bindExport(QLibrary &library, const char *name)
{
    return reinterpret_cast<Function>(library.resolve(name));
}

}  // namespace dbkeel
