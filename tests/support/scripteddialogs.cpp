// SPDX-License-Identifier: GPL-3.0-or-later
#include "scripteddialogs.h"

#include <QTest>

namespace {

// Long enough for datagrams already on their way over loopback to be handled inside the box.
constexpr int kModalMilliseconds = 20;

void failUnscripted(const QString &what)
{
    QTest::qFail(qPrintable(QStringLiteral("unscripted ") + what), __FILE__, __LINE__);
}

} // namespace

Dialogs::Answer ScriptedDialogs::message(const QString &text, Buttons buttons, Icon icon)
{
    return messageWithCheckBox(text, buttons, icon, {}).answer;
}

Dialogs::CheckedAnswer ScriptedDialogs::messageWithCheckBox(const QString &text, Buttons buttons,
                                                            Icon icon, const QString &checkBox)
{
    messages.append({text, buttons, icon, m_parent, checkBox});
    QTest::qWait(kModalMilliseconds);
    if (m_answers.isEmpty()) {
        failUnscripted(QStringLiteral("message box: ") + text);
        return {buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel, false};
    }
    const CheckedAnswer answer = m_answers.dequeue();
    if (answer.ticked && checkBox.isEmpty())
        QTest::qFail(qPrintable(QStringLiteral("no check box to tick: ") + text), __FILE__,
                     __LINE__);
    return answer;
}

FileChoice ScriptedDialogs::openFile(const FileDialogPreset &preset)
{
    fileDialogs.append(preset);
    QTest::qWait(kModalMilliseconds);
    if (!m_choices.isEmpty())
        return m_choices.dequeue();
    failUnscripted(QStringLiteral("file dialog: ") + preset.title);
    return {FileChoice::Outcome::Cancelled, {}};
}

std::optional<QString> ScriptedDialogs::password(const QString &prompt)
{
    passwordPrompts.append(prompt);
    QTest::qWait(kModalMilliseconds);
    if (!m_passwords.isEmpty())
        return m_passwords.dequeue();
    failUnscripted(QStringLiteral("password box: ") + prompt);
    return std::nullopt;
}

std::optional<int> ScriptedDialogs::number(const QString &prompt, int)
{
    numberPrompts.append(prompt);
    QTest::qWait(kModalMilliseconds);
    if (!m_numbers.isEmpty())
        return m_numbers.dequeue();
    failUnscripted(QStringLiteral("number box: ") + prompt);
    return std::nullopt;
}

QStringList ScriptedDialogs::texts() const
{
    QStringList all;
    for (const Shown &shown : messages)
        all.append(shown.text);
    return all;
}
