#include "core/AppLog.h"

#include "platform/Gbk.h"

#include <QCoreApplication>

namespace dbkeel {

void AddLog(const QString &text, bool plain)
{
    emit logHub().entryAdded(text, plain);
}

LogHub &logHub()
{
    static LogHub hub;
    // Created by whichever thread logs first; it belongs to the user-interface thread.
    static const bool placed = [] {
        if (QCoreApplication *app = QCoreApplication::instance())
            hub.moveToThread(app->thread());
        return true;
    }();
    Q_UNUSED(placed);
    return hub;
}

void LogBuffer::add(const QString &text, bool plain)
{
    static const QString kLineEnd = QStringLiteral("\r\n");
    static const QString kStar = QStringLiteral("★");
    QMutexLocker lock(&m_mutex);
    ++m_counter;
    const int entryBytes = gbkLength(text);
    const QString header = QString::asprintf("=======%06d==L[%04d]======\r\n", m_counter, entryBytes);
    QString body = text + kLineEnd;
    int bodyBytes = entryBytes + 2;
    if (bodyBytes + m_textBytes > kMaxBodyBytes) {
        m_counter = 0;
    } else {
        body += m_text;
        bodyBytes += m_textBytes;
    }
    m_text = plain ? header + body : header + kStar + body;
    m_textBytes = gbkLength(header) + (plain ? 0 : gbkLength(kStar)) + bodyBytes;
}

QString LogBuffer::text() const
{
    QMutexLocker lock(&m_mutex);
    return m_text;
}

int LogBuffer::counter() const
{
    QMutexLocker lock(&m_mutex);
    return m_counter;
}

}  // namespace dbkeel
