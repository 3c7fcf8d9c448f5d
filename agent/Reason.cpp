#include "agent/Reason.h"

#include <cerrno>
#include <cstring>

namespace dbkeel::agent {

Reason reason(Why why)
{
    switch (why) {
    case Why::NoProgramNamed: return {QStringLiteral("no program named"), QStringLiteral("未指定程序")};
    case Why::NoProgramFolder:
        return {QStringLiteral("no program folder is configured"), QStringLiteral("未配置程序文件夹")};
    case Why::NotAbsolute: return {QStringLiteral("not an absolute path"), QStringLiteral("不是绝对路径")};
    case Why::HoldsDotDot: return {QStringLiteral("the path holds \"..\""), QStringLiteral("路径含有 \"..\"")};
    case Why::NoSuchFile: return {QStringLiteral("no such file"), QStringLiteral("文件不存在")};
    case Why::CannotResolve: return {QStringLiteral("cannot be resolved"), QStringLiteral("无法确定文件的实际路径")};
    case Why::OutsideFolders:
        return {QStringLiteral("outside the program folders"), QStringLiteral("不在允许的程序文件夹内")};
    case Why::NotRegularFile: return {QStringLiteral("not a regular file"), QStringLiteral("不是普通文件")};
    case Why::NotExecutable: return {QStringLiteral("not executable"), QStringLiteral("不是可执行文件")};
    case Why::NotATime: return {QStringLiteral("not a time"), QStringLiteral("时间格式不正确")};
    case Why::ShutdownNotRun: return {QStringLiteral("could not run shutdown"), QStringLiteral("无法运行关机命令")};
    case Why::NoSuchProcess: return {QStringLiteral("no process of that name"), QStringLiteral("没有该名称的进程")};
    }
    return {};
}

namespace {

// The errno values the agent's actions meet in practice.
QString chineseFor(int error)
{
    switch (error) {
    case EPERM:
    case EACCES: return QStringLiteral("权限不足");
    case ENOENT: return QStringLiteral("文件不存在");
    case ENOTDIR: return QStringLiteral("路径中有不是文件夹的部分");
    case ENOEXEC: return QStringLiteral("不是可执行的文件格式");
    case ETXTBSY: return QStringLiteral("文件正被写入");
    case ENOMEM:
    case EAGAIN: return QStringLiteral("系统资源不足");
    case EINVAL: return QStringLiteral("参数无效");
    case ENAMETOOLONG: return QStringLiteral("路径太长");
    case EIO: return QStringLiteral("输入输出错误");
    default: return {};
    }
}

}  // namespace

Reason systemReason(int error)
{
    const QString system = QString::fromLocal8Bit(std::strerror(error));
    const QString chinese = chineseFor(error);
    return {system, chinese.isEmpty() ? QStringLiteral("系统错误 (%1)").arg(system) : chinese};
}

Reason reason(Why why, int error)
{
    const Reason first = reason(why), second = systemReason(error);
    return {QStringLiteral("%1: %2").arg(first.logged, second.logged),
            QStringLiteral("%1: %2").arg(first.shown, second.shown)};
}

}  // namespace dbkeel::agent
