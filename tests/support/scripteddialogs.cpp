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
    messages.append({text, buttons, icon, m_parent});
    QTest::qWait(kModalMilliseconds);
    if (!m_answers.isEmpty())
        return m_answers.dequeue();
    failUnscripted(QStringLiteral("message box: ") + text);
    return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
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

QStringList ScriptedDialogs::texts() const
{
    QStringList all;
    for (const Shown &shown : messages)
        all.append(shown.text);
    return all;
}
