// The address field and the text boxes limited in GBK bytes, typed into as a user does.

#include "widgets/GbkTextLimit.h"
#include "widgets/IpAddressEdit.h"
#include "widgets/ProportionalLayout.h"

#include "platform/Gbk.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <gtest/gtest.h>

using namespace dbkeel;

namespace {

// Sends each character as one key press carrying that text (QTest::keyClicks knows Latin-1 only) to
// the control that has the focus in `target`'s window.
void type(QWidget *target, const QString &text)
{
    for (const QChar c : text) {
        QWidget *focused = target->window()->focusWidget() ? target->window()->focusWidget() : target;
        QKeyEvent press(QEvent::KeyPress, c == u'.' ? Qt::Key_Period : Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(focused, &press);
    }
}

class IpAddressEditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        field.resize(160, 24);
        field.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&field));
        field.setFocus();
        field.activateWindow();
    }
    QStringList parts() const
    {
        QStringList texts;
        for (int i = 0; i < IpAddressEdit::kParts; ++i)
            texts << field.part(i)->text();
        return texts;
    }
    IpAddressEdit field;
};

TEST_F(IpAddressEditTest, TypingFillsFourPartsOfZeroTo255)
{
    const struct {
        const char *typed;
        const char *text;
    } cases[] = {
        {"192.168.0.9", "192.168.0.9"},
        {"192168009", "192.168.9.0"},        // three digits move on
        {"192.168.0.300", "192.168.0.255"},  // above 255
        {"999.1", "255.1.0.0"},
        {"abc", ""},            // digits only: nothing was taken
        {"10..2", "10.2.0.0"},  // a dot in an empty part stays there
        {"", ""},
    };
    for (const auto &c : cases) {
        field.setText(QString());
        field.part(0)->setFocus();
        type(field.part(0), QString::fromUtf8(c.typed));
        EXPECT_EQ(field.text(), QString::fromUtf8(c.text)) << c.typed;
        EXPECT_EQ(field.isBlank(), field.text().isEmpty()) << c.typed;
    }
}

TEST_F(IpAddressEditTest, SetTextTakesTheLeadingDigitsOfEachPart)
{
    const struct {
        const char *given;
        QStringList parts;
        const char *text;
    } cases[] = {
        {"192.168.0.9", {"192", "168", "0", "9"}, "192.168.0.9"},
        {"192.168.0.300", {"192", "168", "0", "255"}, "192.168.0.255"},
        {" 10.1 ", {"10", "1", "", ""}, "10.1.0.0"},
        {"abc", {"", "", "", ""}, ""},
        {"1x.2.3.4.5", {"1", "2", "3", "4"}, "1.2.3.4"},
        {"-1.1234.007.", {"", "255", "7", ""}, "0.255.7.0"},
    };
    for (const auto &c : cases) {
        field.setText(QString::fromUtf8(c.given));
        EXPECT_EQ(parts(), c.parts) << c.given;
        EXPECT_EQ(field.text(), QString::fromUtf8(c.text)) << c.given;
    }
}

TEST_F(IpAddressEditTest, BackspaceAndArrowsMoveBetweenParts)
{
    field.setText(QStringLiteral("1.2.3.4"));
    field.part(2)->setFocus();
    field.part(2)->setCursorPosition(0);
    QTest::keyClick(field.part(2), Qt::Key_Backspace);
    EXPECT_TRUE(field.part(1)->hasFocus());
    EXPECT_EQ(field.part(1)->cursorPosition(), 1);
    QTest::keyClick(field.part(1), Qt::Key_Right);
    EXPECT_TRUE(field.part(2)->hasFocus());
    EXPECT_EQ(field.part(2)->cursorPosition(), 0);
    QTest::keyClick(field.part(2), Qt::Key_Left);
    EXPECT_TRUE(field.part(1)->hasFocus());
    EXPECT_EQ(field.text(), QStringLiteral("1.2.3.4"));
}

TEST_F(IpAddressEditTest, TheLayoutKnowsItAsAnAddressControl)
{
    EXPECT_EQ(controlClassOf(&field), ControlClass::IpAddress);
}

class GbkTextLimitTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        limitGbkBytes(&line, 10);
        limitGbkBytes(&box, 10);
        for (QWidget *w : std::initializer_list<QWidget *>{&line, &box}) {
            w->show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
        }
    }
    QLineEdit line;
    QPlainTextEdit box;
};

// Ten GBK bytes hold five Chinese characters, or ten ASCII ones, or a mix that never splits a character.
TEST_F(GbkTextLimitTest, TypingStopsAtTheByteLimit)
{
    const struct {
        const char *typed;
        const char *kept;
    } cases[] = {
        {"检测线工位计算机", "检测线工位"},
        {"abcdefghijkl", "abcdefghij"},
        {"abc检测线工位", "abc检测线"},  // 3 + 6 bytes; the next character needs two
        {"检测a线工位", "检测a线工"},
    };
    for (const auto &c : cases) {
        line.clear();
        line.setFocus();
        type(&line, QString::fromUtf8(c.typed));
        EXPECT_EQ(line.text(), QString::fromUtf8(c.kept)) << c.typed;
        box.clear();
        box.setFocus();
        type(&box, QString::fromUtf8(c.typed));
        EXPECT_EQ(box.toPlainText(), QString::fromUtf8(c.kept)) << c.typed;
    }
}

TEST_F(GbkTextLimitTest, TextInsertedIntoAFullBoxGivesWayAndWhatWasThereStays)
{
    line.setText(QStringLiteral("检测abcd"));
    line.setCursorPosition(2);
    line.insert(QStringLiteral("线工位"));  // as a paste: cut to what fits (one character)
    EXPECT_EQ(line.text(), QStringLiteral("检测线abcd"));
    EXPECT_EQ(line.cursorPosition(), 3);
    type(&line, QStringLiteral("x"));
    EXPECT_EQ(line.text(), QStringLiteral("检测线abcd"));

    box.setPlainText(QStringLiteral("检测abcd"));
    QTextCursor cursor = box.textCursor();
    cursor.setPosition(2);
    box.setTextCursor(cursor);
    box.insertPlainText(QStringLiteral("线工位"));
    EXPECT_EQ(box.toPlainText(), QStringLiteral("检测线abcd"));
    EXPECT_EQ(box.textCursor().position(), 3);
    EXPECT_LE(gbkLength(box.toPlainText()), 10);
}

}  // namespace
