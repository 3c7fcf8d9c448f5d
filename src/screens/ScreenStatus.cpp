#include "screens/ScreenStatus.h"

namespace dbkeel {

void ScreenStatus::setLeft(const QString &text)
{
    m_left = text;
    emit leftChanged(text);
}

void ScreenStatus::setRight(const QString &text)
{
    m_right = text;
    emit rightChanged(text);
}

void ScreenStatus::setProgressRange(int minimum, int maximum)
{
    m_minimum = minimum;
    m_maximum = maximum;
    emit progressRangeChanged(minimum, maximum);
}

void ScreenStatus::setProgress(int value)
{
    m_progress = value;
    emit progressChanged(value);
}

}  // namespace dbkeel
