#include "scripteddialogs.h"

Dialogs::Answer ScriptedDialogs::message(const QString &text, Buttons buttons, Icon icon)
{
    messages.append({text, buttons, icon});
    if (!m_answers.isEmpty())
        return m_answers.dequeue();
    // An unscripted OK box simply closes; any other choice must be scripted by the test.
    if (buttons != Buttons::Ok && unexpected.isEmpty())
        unexpected = QStringLiteral("unscripted message box: ") + text;
    return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
}

FileChoice ScriptedDialogs::openFile(const FileDialogPreset &preset)
{
    fileDialogs.append(preset);
    if (!m_choices.isEmpty())
        return m_choices.dequeue();
    if (unexpected.isEmpty())
        unexpected = QStringLiteral("unscripted file dialog");
    return {FileChoice::Outcome::Cancelled, {}};
}

QStringList ScriptedDialogs::texts() const
{
    QStringList all;
    for (const Shown &shown : messages)
        all.append(shown.text);
    return all;
}
