// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qtdialogs.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace {

QMessageBox::StandardButtons standardButtons(Dialogs::Buttons buttons)
{
    switch (buttons) {
    case Dialogs::Buttons::Ok:
        return QMessageBox::Ok;
    case Dialogs::Buttons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case Dialogs::Buttons::RetryCancel:
        return QMessageBox::Retry | QMessageBox::Cancel;
    case Dialogs::Buttons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    }
    return QMessageBox::Ok;
}

Dialogs::Answer answerFor(int pressed)
{
    switch (pressed) {
    case QMessageBox::Retry:
        return Dialogs::Answer::Retry;
    case QMessageBox::Ok:
        return Dialogs::Answer::Ok;
    case QMessageBox::Yes:
        return Dialogs::Answer::Yes;
    case QMessageBox::No:
        return Dialogs::Answer::No;
    default:
        return Dialogs::Answer::Cancel;
    }
}

} // namespace

Dialogs::Answer QtDialogs::message(const QString &text, Buttons buttons, Icon icon)
{
    return messageWithCheckBox(text, buttons, icon, {}).answer;
}

// `checkBox` empty: a box without one.
Dialogs::CheckedAnswer QtDialogs::messageWithCheckBox(const QString &text, Buttons buttons,
                                                      Icon icon, const QString &checkBox)
{
    QMessageBox box(icon == Icon::Critical ? QMessageBox::Critical : QMessageBox::NoIcon,
                    QString::fromUtf16(kProgramTitle), text, standardButtons(buttons), m_parent);
    // Escape and the close button mean Cancel where there is one, otherwise OK.
    if (buttons == Buttons::Ok)
        box.setEscapeButton(QMessageBox::Ok);
    if (!checkBox.isEmpty())
        box.setCheckBox(new QCheckBox(checkBox, &box));
    const Answer answer = answerFor(box.exec());
    return {answer, box.checkBox() && box.checkBox()->isChecked()};
}

FileChoice QtDialogs::openFile(const FileDialogPreset &preset)
{
    QFileDialog dialog(m_parent, preset.title);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilter(preset.filter);
    dialog.setDefaultSuffix(preset.defaultSuffix);
    dialog.selectFile(preset.fileName);
    if (dialog.exec() != QDialog::Accepted)
        return {FileChoice::Outcome::Cancelled, {}};
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty())
        return {FileChoice::Outcome::Cancelled, {}};
    return {FileChoice::Outcome::Chosen, chosen.constFirst()};
}

std::optional<int> QtDialogs::number(const QString &prompt, int value)
{
    bool accepted = false;
    const int typed = QInputDialog::getInt(m_parent, QString::fromUtf16(kProgramTitle), prompt,
                                           value, 0, 9999, 1, &accepted);
    return accepted ? std::optional(typed) : std::nullopt;
}

std::optional<QString> QtDialogs::password(const QString &prompt)
{
    bool accepted = false;
    const QString typed = QInputDialog::getText(
        m_parent, QCoreApplication::translate("QtDialogs", "Password"), prompt, QLineEdit::Password,
        {}, &accepted);
    return accepted ? std::optional(typed) : std::nullopt;
}
