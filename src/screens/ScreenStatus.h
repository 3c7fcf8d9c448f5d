#pragma once
// The status fields of a screen (a left and a right status line and a progress bar) as the
// screen's GUI-free part sets them; the dialog shows them and tests read them.

#include <QObject>
#include <QString>

namespace dbkeel {

class ScreenStatus : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    QString left() const { return m_left; }
    QString right() const { return m_right; }
    int progressMinimum() const { return m_minimum; }
    int progressMaximum() const { return m_maximum; }
    int progress() const { return m_progress; }

    void setLeft(const QString &text);
    void setRight(const QString &text);
    void setProgressRange(int minimum, int maximum);
    void setProgress(int value);

signals:
    void leftChanged(const QString &text);
    void rightChanged(const QString &text);
    void progressRangeChanged(int minimum, int maximum);
    void progressChanged(int value);

private:
    QString m_left, m_right;
    int m_minimum = 0, m_maximum = 100, m_progress = 0;
};

}  // namespace dbkeel
