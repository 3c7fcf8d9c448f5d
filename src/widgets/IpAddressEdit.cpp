#include "widgets/IpAddressEdit.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

#include <algorithm>

namespace dbkeel {

namespace {

constexpr int kMaxPart = 255, kPartDigits = 3;

// The value a part shows for `text`: its leading digits, at most 255; empty without digits.
QString partValue(const QString &text)
{
    qsizetype digits = 0;
    while (digits < text.size() && text.at(digits).isDigit() && text.at(digits).unicode() < 128)
        ++digits;
    if (digits == 0)
        return {};
    const QString leading = text.left(digits);
    return leading.size() > kPartDigits || leading.toInt() > kMaxPart ? QString::number(kMaxPart)
                                                                      : QString::number(leading.toInt());
}

}  // namespace

IpAddressEdit::IpAddressEdit(QWidget *parent) : QFrame(parent)
{
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(2, 0, 2, 0);
    row->setSpacing(0);
    static const QRegularExpression digits(QStringLiteral("[0-9]{0,3}"));
    for (int i = 0; i < kParts; ++i) {
        if (i > 0) {
            auto *dot = new QLabel(QStringLiteral("."), this);
            dot->setBackgroundRole(QPalette::Base);
            row->addWidget(dot);
        }
        auto *part = new QLineEdit(this);
        part->setObjectName(QStringLiteral("part%1").arg(i));
        part->setFrame(false);
        part->setAlignment(Qt::AlignCenter);
        part->setValidator(new QRegularExpressionValidator(digits, part));
        part->installEventFilter(this);
        connect(part, &QLineEdit::textEdited, this, [this, i] { partEdited(i); });
        connect(part, &QLineEdit::textChanged, this, [this] { emit textChanged(text()); });
        row->addWidget(part, 1);
        m_parts.at(size_t(i)) = part;
    }
    setFocusProxy(m_parts.front());
}

QString IpAddressEdit::text() const
{
    if (isBlank())
        return {};
    QStringList parts;
    for (const QLineEdit *part : m_parts)
        parts << QString::number(part->text().toInt());  // a blank part is 0
    return parts.join(u'.');
}

void IpAddressEdit::setText(const QString &address)
{
    const QStringList given = address.trimmed().split(u'.');
    for (int i = 0; i < kParts; ++i)
        m_parts.at(size_t(i))->setText(i < given.size() ? partValue(given.at(i)) : QString());
}

bool IpAddressEdit::isBlank() const
{
    return std::all_of(m_parts.begin(), m_parts.end(), [](const QLineEdit *part) { return part->text().isEmpty(); });
}

void IpAddressEdit::partEdited(int index)
{
    QLineEdit *part = m_parts.at(size_t(index));
    if (part->text().toInt() > kMaxPart)
        part->setText(QString::number(kMaxPart));
    if (part->text().size() == kPartDigits && part->cursorPosition() == kPartDigits && index + 1 < kParts)
        moveTo(index + 1, true);
}

void IpAddressEdit::moveTo(int index, bool atStart)
{
    QLineEdit *part = m_parts.at(size_t(index));
    part->setFocus();
    if (atStart)
        part->selectAll();
    else
        part->setCursorPosition(int(part->text().size()));
}

int IpAddressEdit::indexOf(QObject *part) const
{
    for (int i = 0; i < kParts; ++i)
        if (m_parts.at(size_t(i)) == part)
            return i;
    return -1;
}

bool IpAddressEdit::eventFilter(QObject *watched, QEvent *event)
{
    const int index = indexOf(watched);
    if (index < 0 || event->type() != QEvent::KeyPress)
        return QFrame::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    const QLineEdit *part = m_parts.at(size_t(index));
    const int cursor = part->cursorPosition();
    const bool atStart = cursor == 0 && !part->hasSelectedText();
    const bool atEnd = cursor == part->text().size() && !part->hasSelectedText();
    switch (key->key()) {
    case Qt::Key_Period:
    case Qt::Key_Space:
        if (!part->text().isEmpty() && index + 1 < kParts)
            moveTo(index + 1, true);
        return true;
    case Qt::Key_Backspace:
    case Qt::Key_Left:
        if (atStart && index > 0) {
            moveTo(index - 1, false);
            return true;
        }
        break;
    case Qt::Key_Right:
        if (atEnd && index + 1 < kParts) {
            moveTo(index + 1, false);
            m_parts.at(size_t(index + 1))->setCursorPosition(0);
            return true;
        }
        break;
    default: break;
    }
    return QFrame::eventFilter(watched, event);
}

}  // namespace dbkeel
