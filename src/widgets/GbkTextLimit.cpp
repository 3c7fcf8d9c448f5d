#include "widgets/GbkTextLimit.h"

#include "platform/Gbk.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QValidator>

namespace dbkeel {

namespace {

// Where a text that is too long should end before `cursor`: the text just typed or pasted (before
// the cursor) gives way first. -1 when what follows the cursor alone is too long.
qsizetype fittingEnd(const QString &text, qsizetype cursor, int maxBytes)
{
    const int room = maxBytes - gbkLength(text.mid(cursor));
    return room < 0 ? -1 : cutToGbkBytes(text.left(cursor), room).size();
}

class GbkBytesValidator : public QValidator {
public:
    GbkBytesValidator(int maxBytes, QObject *parent) : QValidator(parent), m_maxBytes(maxBytes) {}

    State validate(QString &input, int &pos) const override
    {
        if (gbkLength(input) <= m_maxBytes)
            return Acceptable;
        const qsizetype end = fittingEnd(input, pos, m_maxBytes);
        if (end < 0) {
            input = cutToGbkBytes(input, m_maxBytes);
            pos = int(qMin<qsizetype>(pos, input.size()));
        } else {
            input.remove(end, pos - end);
            pos = int(end);
        }
        return Acceptable;
    }

private:
    int m_maxBytes;
};

}  // namespace

void limitGbkBytes(QLineEdit *edit, int maxBytes)
{
    edit->setValidator(new GbkBytesValidator(maxBytes, edit));
}

void limitGbkBytes(QPlainTextEdit *edit, int maxBytes)
{
    QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [edit, maxBytes] {
        const QString text = edit->toPlainText();
        if (gbkLength(text) <= maxBytes)
            return;
        QTextCursor cursor = edit->textCursor();
        const qsizetype end = fittingEnd(text, cursor.position(), maxBytes);
        if (end < 0) {
            cursor.setPosition(int(cutToGbkBytes(text, maxBytes).size()));
            cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        } else {
            cursor.setPosition(int(end), QTextCursor::KeepAnchor);
        }
        cursor.removeSelectedText();  // changes the text once more, now within the limit
        edit->setTextCursor(cursor);
    });
}

}  // namespace dbkeel
