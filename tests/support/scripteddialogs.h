// SPDX-License-Identifier: GPL-3.0-or-later
// A Dialogs double for tests: records every box it was shown and answers from a script.
#pragma once

#include "platform/dialogs.h"

#include <QList>
#include <QQueue>
#include <QStringList>

// Like a real modal box, each box runs the event loop for a moment before it is answered, so
// that whatever arrives while a box is open reaches the program then. A box or file dialog that
// the test did not script an answer for fails the running test.
class ScriptedDialogs final : public Dialogs
{
public:
    struct Shown
    {
        QString text;
        Buttons buttons;
        Icon icon;
        QWidget *parent;
        QString checkBox; // empty: the box had none
    };

    // Queue the answer to the next message box / the outcome of the next file dialog. A ticked
    // answer is for a box with a check box, which it ticks before the button is pressed.
    void answerNext(Answer answer, qsizetype times = 1)
    {
        for (qsizetype i = 0; i < times; ++i)
            m_answers.enqueue({answer, false});
    }
    void answerNextTicked(Answer answer) { m_answers.enqueue({answer, true}); }
    void chooseNext(FileChoice choice) { m_choices.enqueue(choice); }
    void chooseFile(const QString &path) { chooseNext({FileChoice::Outcome::Chosen, path}); }
    void cancelNext() { chooseNext({FileChoice::Outcome::Cancelled, {}}); }
    // The next password box: the text typed, or nullopt for Cancel.
    void typePasswordNext(std::optional<QString> typed) { m_passwords.enqueue(typed); }
    // The next number box: the number typed, or nullopt for Cancel.
    void typeNumberNext(std::optional<int> typed) { m_numbers.enqueue(typed); }

    void setParentWindow(QWidget *window) override { m_parent = window; }
    Answer message(const QString &text, Buttons buttons, Icon icon) override;
    CheckedAnswer messageWithCheckBox(const QString &text, Buttons buttons, Icon icon,
                                      const QString &checkBox) override;
    FileChoice openFile(const FileDialogPreset &preset) override;
    std::optional<QString> password(const QString &prompt) override;
    std::optional<int> number(const QString &prompt, int value) override;

    QList<Shown> messages;
    QList<FileDialogPreset> fileDialogs;
    QStringList passwordPrompts;
    QStringList numberPrompts;
    QStringList texts() const;

private:
    QQueue<CheckedAnswer> m_answers;
    QQueue<FileChoice> m_choices;
    QQueue<std::optional<QString>> m_passwords;
    QQueue<std::optional<int>> m_numbers;
    QWidget *m_parent = nullptr;
};
