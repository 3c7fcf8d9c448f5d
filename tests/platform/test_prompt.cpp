#include "platform/QtPrompt.h"
#include "platform/ScriptedPrompt.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

using namespace dbkeel;

namespace {

QString u(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

class PromptTest : public ::testing::Test {};

// Runs `act` on the first modal widget of type T once it is shown, and again on each tick while that
// widget stays up: a file dialog that is not ready yet may refuse the first accept.
template <typename T>
void whenShown(std::function<void(T &)> act)
{
    struct State {
        QPointer<T> target;
        bool acted = false;
    };
    auto *timer = new QTimer;
    auto state = std::make_shared<State>();
    QObject::connect(timer, &QTimer::timeout, [timer, act, state] {
        if (!state->acted) {
            state->target = qobject_cast<T *>(QApplication::activeModalWidget());
            state->acted = !state->target.isNull();
        }
        if (state->target && state->target->isVisible())
            act(*state->target);
        if (state->acted && (!state->target || !state->target->isVisible())) {
            timer->stop();
            timer->deleteLater();  // while the dialog's event loop still runs
        }
    });
    timer->start(10);
}

// A nested dialog of the kind a screen runs: a name field and OK/Cancel.
class NameDialog : public QDialog {
public:
    NameDialog()
    {
        setObjectName("NameDialog");
        setWindowTitle(u("输入名称"));
        edit = new QLineEdit(this);
        edit->setObjectName("name");
    }
    QLineEdit *edit;
};

}  // namespace

TEST_F(PromptTest, ScriptedPromptAnswersInOrderAndRecordsEveryCall)
{
    ScriptedPrompt script;
    EXPECT_EQ(&prompt(), &script);
    script.answer(PromptButton::Cancel).answerFolder("/data/out").answerFile("").answer(PromptButton::Yes);

    EXPECT_EQ(prompt().message(u("提示"), u("确定删除?"), PromptIcon::Question, PromptButtons::OkCancel,
                               PromptButton::Cancel),
              PromptButton::Cancel);
    EXPECT_EQ(prompt().chooseFolder(u("请选择保存目录:")), "/data/out");
    FileRequest request;
    request.title = u("打开");
    request.initialPath = "/cfg/*.TBIDDEV";
    request.filter = u("设备文件(*.TBIDDEV)|*.TBIDDEV||");
    request.defaultExtension = "txt";
    EXPECT_EQ(prompt().chooseFile(request), QString());  // cancelled
    EXPECT_EQ(prompt().message(u("询问"), u("覆盖?"), PromptIcon::Question, PromptButtons::YesNo, PromptButton::No),
              PromptButton::Yes);

    ASSERT_EQ(script.calls().size(), 4u);
    const PromptCall &first = script.calls()[0];
    EXPECT_EQ(first.kind, PromptCall::Message);
    EXPECT_EQ(first.caption, u("提示"));
    EXPECT_EQ(first.text, u("确定删除?"));
    EXPECT_EQ(first.icon, PromptIcon::Question);
    EXPECT_EQ(first.buttons, PromptButtons::OkCancel);
    EXPECT_EQ(first.defaultButton, PromptButton::Cancel);
    EXPECT_EQ(script.calls()[1].kind, PromptCall::Folder);
    EXPECT_EQ(script.calls()[1].caption, u("请选择保存目录:"));
    EXPECT_EQ(script.calls()[2].kind, PromptCall::File);
    EXPECT_EQ(script.calls()[2].file.filter, request.filter);
    EXPECT_EQ(script.calls()[2].text, "/cfg/*.TBIDDEV");
    EXPECT_EQ(script.lastCall().caption, u("询问"));
    EXPECT_EQ(script.pendingAnswers(), 0);
}

TEST_F(PromptTest, ScriptedPromptFailsLoudlyInsteadOfBlocking)
{
    const auto ok = [] {
        return prompt().message(u("提示"), u("确定?"), PromptIcon::None, PromptButtons::OkCancel, PromptButton::Ok);
    };
    struct Case {
        const char *name;
        std::function<void(ScriptedPrompt &)> queue;
        const char *mentions;
    } cases[] = {
        {"nothing queued", [](ScriptedPrompt &) {}, "no answer queued for the message box"},
        {"answer of another kind", [](ScriptedPrompt &s) { s.answerFolder("/x"); }, "is for a folder browser"},
        {"button the box does not show", [](ScriptedPrompt &s) { s.answer(PromptButton::Yes); }, "not shown"},
    };
    for (const auto &c : cases) {
        ScriptedPrompt script;
        c.queue(script);
        try {
            ok();
            ADD_FAILURE() << c.name << ": no exception";
        } catch (const ScriptedPromptError &e) {
            EXPECT_NE(std::string(e.what()).find(c.mentions), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find(u("确定?").toStdString()), std::string::npos) << e.what();
        }
        EXPECT_EQ(script.calls().size(), 1u) << c.name;
    }
}

TEST_F(PromptTest, ScriptedPromptRestoresThePreviousPrompt)
{
    Prompt *qt = &prompt();
    {
        ScriptedPrompt outer;
        {
            ScriptedPrompt inner;
            EXPECT_EQ(&prompt(), &inner);
        }
        EXPECT_EQ(&prompt(), &outer);
    }
    EXPECT_EQ(&prompt(), qt);
    EXPECT_NE(dynamic_cast<QtPrompt *>(qt), nullptr);
}

TEST_F(PromptTest, ScriptedPromptRunsANestedDialog)
{
    ScriptedPrompt script;
    script
        .answerModal([](QDialog &dialog) {
            EXPECT_TRUE(dialog.isVisible());
            dialog.findChild<QLineEdit *>("name")->setText(u("一号线"));
            dialog.accept();
        })
        .answerModal([](QDialog &dialog) { dialog.reject(); })
        .answerModal([](QDialog &) {});

    NameDialog accepted;
    EXPECT_EQ(prompt().runModal(accepted), QDialog::Accepted);
    EXPECT_EQ(accepted.edit->text(), u("一号线"));
    EXPECT_FALSE(accepted.isVisible());
    EXPECT_EQ(script.lastCall().kind, PromptCall::Modal);
    EXPECT_EQ(script.lastCall().caption, u("输入名称"));
    EXPECT_EQ(script.lastCall().text, "NameDialog");

    NameDialog rejected;
    EXPECT_EQ(prompt().runModal(rejected), QDialog::Rejected);

    NameDialog leftOpen;
    EXPECT_THROW(prompt().runModal(leftOpen), ScriptedPromptError);
    EXPECT_FALSE(leftOpen.isVisible());
}

TEST_F(PromptTest, QtPromptShowsARealMessageBox)
{
    struct Case {
        PromptButtons buttons;
        PromptButton defaultButton;
    } cases[] = {
        {PromptButtons::Ok, PromptButton::Ok},
        {PromptButtons::OkCancel, PromptButton::Cancel},
        {PromptButtons::YesNo, PromptButton::No},
        {PromptButtons::YesNoCancel, PromptButton::Yes},
        {PromptButtons::RetryCancel, PromptButton::Retry},
    };
    QtPrompt qt;
    for (const auto &c : cases) {
        QString caption, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        int buttonCount = 0;
        whenShown<QMessageBox>([&](QMessageBox &box) {
            caption = box.windowTitle();
            text = box.text();
            icon = box.icon();
            buttonCount = int(box.buttons().size());
            box.defaultButton()->click();
        });
        EXPECT_EQ(qt.message(u("提示"), u("保存成功,请重新启动程序!\r\n"), PromptIcon::Exclamation, c.buttons,
                             c.defaultButton),
                  c.defaultButton);
        EXPECT_EQ(caption, u("提示"));
        EXPECT_EQ(text, u("保存成功,请重新启动程序!\n"));
        EXPECT_EQ(icon, QMessageBox::Warning);
        EXPECT_EQ(buttonCount, int(buttonsOf(c.buttons).size()));
    }
}

TEST_F(PromptTest, QtPromptMessageBoxClosedWithoutAButton)
{
    QtPrompt qt;
    whenShown<QMessageBox>([](QMessageBox &box) { box.reject(); });
    EXPECT_EQ(qt.message(u("询问"), u("?"), PromptIcon::Question, PromptButtons::YesNo, PromptButton::Yes),
              PromptButton::No);
}

TEST_F(PromptTest, QtPromptFileDialogTakesWindowsFilters)
{
    QTemporaryDir dir;
    QtPrompt qt;
    QStringList filters;
    QString folder;
    whenShown<QFileDialog>([&](QFileDialog &dialog) {
        filters = dialog.nameFilters();
        folder = dialog.directory().absolutePath();
        dialog.selectFile(dir.filePath("out"));
        static_cast<QDialog &>(dialog).accept();  // QFileDialog's own checks run
    });
    FileRequest request;
    request.title = u("导出");
    request.initialPath = dir.path() + "\\*.TBIDDEV";
    request.filter = u("设备文件(*.TBIDDEV)|*.TBIDDEV|ALL files (*.*)|*.*||");
    request.defaultExtension = "TBIDDEV";
    request.mode = FileRequest::Save;
    EXPECT_EQ(qt.chooseFile(request), dir.filePath("out.TBIDDEV"));
    EXPECT_EQ(filters, QStringList({u("设备文件 (*.TBIDDEV)"), u("ALL files (*)")}));
    EXPECT_EQ(folder, QDir(dir.path()).absolutePath());
}

TEST_F(PromptTest, QtPromptFolderBrowserGivesTheFolderOrNothing)
{
    QTemporaryDir dir;
    QtPrompt qt;
    whenShown<QFileDialog>([&](QFileDialog &dialog) {
        EXPECT_EQ(dialog.fileMode(), QFileDialog::Directory);
        EXPECT_EQ(dialog.windowTitle(), u("请选择保存目录:"));
        static_cast<QDialog &>(dialog).accept();
    });
    EXPECT_EQ(qt.chooseFolder(u("请选择保存目录:"), dir.path()), QDir(dir.path()).absolutePath());
    whenShown<QFileDialog>([](QFileDialog &dialog) { dialog.reject(); });
    EXPECT_EQ(qt.chooseFolder(u("请选择保存目录:"), dir.path()), QString());
}

TEST_F(PromptTest, QtPromptRunsANestedDialog)
{
    QtPrompt qt;
    whenShown<QDialog>([](QDialog &dialog) {
        dialog.findChild<QLineEdit *>("name")->setText("x");
        dialog.done(7);
    });
    NameDialog dialog;
    EXPECT_EQ(qt.runModal(dialog), 7);
    EXPECT_EQ(dialog.edit->text(), "x");
}

TEST(FileFilters, ConvertWindowsPairs)
{
    struct Case {
        const char *windows;
        QStringList qt;
    } cases[] = {
        {"设备文件(*.TBIDDEV)|*.TBIDDEV||", {u("设备文件 (*.TBIDDEV)")}},
        {"open files (*.TBIDITEM)|*.TBIDITEM|ALL files (*.*)|*.*||", {"open files (*.TBIDITEM)", "ALL files (*)"}},
        {"Text|*.txt;*.ini||", {"Text (*.txt *.ini)"}},
        {"Text|*.txt|Broken", {"Text (*.txt)"}},
        {"Qt form (*.a);;All (*)", {"Qt form (*.a)", "All (*)"}},
        {"", {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(qtNameFilters(u(c.windows)), c.qt) << c.windows;
}
