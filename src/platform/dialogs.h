// SPDX-License-Identifier: GPL-3.0-or-later
// The modal boxes the program shows: message boxes and the file-open dialog.
#pragma once

#include <QString>

#include <optional>

class QWidget;

// What a file-open dialog is preset with each time it opens.
struct FileDialogPreset
{
    QString title;
    QString fileName;
    QString filter;
    QString defaultSuffix;
};

// How a file-open dialog ended: a chosen path, a cancel, or a dialog that could not open at all.
struct FileChoice
{
    enum class Outcome { Chosen, Cancelled, Failed };
    Outcome outcome = Outcome::Cancelled;
    QString path;
};

// Every message box carries the program's title; callers pick text, buttons and icon only.
class Dialogs
{
public:
    enum class Buttons { Ok, OkCancel, RetryCancel, YesNo };
    enum class Icon { None, Critical };
    enum class Answer { Ok, Cancel, Retry, Yes, No };
    struct CheckedAnswer
    {
        Answer answer = Answer::Cancel;
        bool ticked = false;
    };

    virtual ~Dialogs() = default;
    // Boxes shown after this are owned by, and centred on, that window.
    virtual void setParentWindow(QWidget *window) = 0;
    virtual Answer message(const QString &text, Buttons buttons, Icon icon) = 0;
    // A message box with a check box under its text, unticked at first.
    virtual CheckedAnswer messageWithCheckBox(const QString &text, Buttons buttons, Icon icon,
                                              const QString &checkBox) = 0;
    virtual FileChoice openFile(const FileDialogPreset &preset) = 0;
    // A box titled "Password" asking for one with `prompt`, the typing masked; nullopt: Cancel.
    virtual std::optional<QString> password(const QString &prompt) = 0;
    // A box asking for a whole number from 0 with `prompt`, `value` at first; nullopt: Cancel.
    virtual std::optional<int> number(const QString &prompt, int value) = 0;
};

inline constexpr char16_t kProgramTitle[] = u"Brinemoor";
