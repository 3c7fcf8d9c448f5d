#include "platform/QtPrompt.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include <map>

namespace dbkeel {
namespace {

QMessageBox::Icon qtIcon(PromptIcon icon)
{
    switch (icon) {
    case PromptIcon::None: return QMessageBox::NoIcon;
    case PromptIcon::Information: return QMessageBox::Information;
    case PromptIcon::Question: return QMessageBox::Question;
    case PromptIcon::Exclamation: return QMessageBox::Warning;
    case PromptIcon::Stop: return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

struct ButtonLook {
    QString text;
    QMessageBox::ButtonRole role;
};

ButtonLook lookOf(PromptButton button)
{
    switch (button) {
    case PromptButton::Ok: return {QStringLiteral("确定"), QMessageBox::AcceptRole};
    case PromptButton::Cancel: return {QStringLiteral("取消"), QMessageBox::RejectRole};
    case PromptButton::Yes: return {QStringLiteral("是(&Y)"), QMessageBox::YesRole};
    case PromptButton::No: return {QStringLiteral("否(&N)"), QMessageBox::NoRole};
    case PromptButton::Retry: return {QStringLiteral("重试(&R)"), QMessageBox::AcceptRole};
    }
    return {QStringLiteral("确定"), QMessageBox::AcceptRole};
}

QWidget *dialogParent()
{
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

bool hasWildcard(const QString &name)
{
    return name.contains(u'*') || name.contains(u'?');
}

// "描述(*.a)" with pattern "*.a" → "描述": the pattern is shown once, in Qt's form.
QString withoutTrailingPattern(const QString &description, const QString &pattern)
{
    const QString suffix = u'(' + pattern + u')';
    if (description.endsWith(suffix, Qt::CaseInsensitive))
        return description.left(description.size() - suffix.size()).trimmed();
    return description.trimmed();
}

QString qtPatterns(const QString &windowsPatterns)
{
    QStringList patterns;
    for (const QString &p : windowsPatterns.split(u';', Qt::SkipEmptyParts)) {
        const QString pattern = p.trimmed();
        patterns.append(pattern == QStringLiteral("*.*") ? QStringLiteral("*") : pattern);
    }
    return patterns.join(u' ');
}

}  // namespace

QStringList qtNameFilters(const QString &filter)
{
    if (!filter.contains(u'|'))
        return filter.split(QStringLiteral(";;"), Qt::SkipEmptyParts);
    QStringList filters;
    const QStringList parts = filter.split(u'|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString &description = parts[i];
        const QString &pattern = parts[i + 1];
        if (description.isEmpty() && pattern.isEmpty())
            break;  // "||" ends the list
        const QString patterns = qtPatterns(pattern);
        if (patterns.isEmpty())
            continue;
        filters.append(withoutTrailingPattern(description, pattern) + QStringLiteral(" (") + patterns + u')');
    }
    return filters;
}

PromptButton QtPrompt::message(const QString &caption, const QString &text, PromptIcon icon, PromptButtons buttons,
                               PromptButton defaultButton)
{
    QMessageBox box(qtIcon(icon), caption, QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")),
                    QMessageBox::NoButton, dialogParent());
    const QList<PromptButton> shown = buttonsOf(buttons);
    std::map<QAbstractButton *, PromptButton> answers;
    for (PromptButton b : shown) {
        const ButtonLook look = lookOf(b);
        QPushButton *button = box.addButton(look.text, look.role);
        answers[button] = b;
        if (b == defaultButton)
            box.setDefaultButton(button);
        if (b == closingAnswer(buttons))
            box.setEscapeButton(button);
    }
    box.exec();
    const auto it = answers.find(box.clickedButton());
    return it == answers.end() ? closingAnswer(buttons) : it->second;
}

QString QtPrompt::chooseFile(const FileRequest &request)
{
    QFileDialog dialog(dialogParent(), request.title);
    const bool save = request.mode == FileRequest::Save;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QStringList filters = qtNameFilters(request.filter);
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);
    if (!request.defaultExtension.isEmpty())
        dialog.setDefaultSuffix(request.defaultExtension);
    const qsizetype cut = std::max(request.initialPath.lastIndexOf(u'/'), request.initialPath.lastIndexOf(u'\\'));
    const QString folder = cut < 0 ? QString() : request.initialPath.left(cut == 0 ? 1 : cut);
    const QString name = request.initialPath.mid(cut + 1);
    if (!folder.isEmpty())
        dialog.setDirectory(folder);
    if (!name.isEmpty() && !hasWildcard(name))
        dialog.selectFile(name);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString QtPrompt::chooseFolder(const QString &title, const QString &initialFolder)
{
    QFileDialog dialog(dialogParent(), title, initialFolder);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

int QtPrompt::runModal(QDialog &dialog)
{
    return dialog.exec();
}

}  // namespace dbkeel
