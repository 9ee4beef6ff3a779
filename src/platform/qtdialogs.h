// SPDX-License-Identifier: GPL-3.0-or-later
// Message boxes and the file dialog on Qt's own widgets.
#pragma once

#include "platform/dialogs.h"

class QWidget;

class QtDialogs final : public Dialogs
{
public:
    void setParentWindow(QWidget *window) override { m_parent = window; }
    Answer message(const QString &text, Buttons buttons, Icon icon) override;
    CheckedAnswer messageWithCheckBox(const QString &text, Buttons buttons, Icon icon,
                                      const QString &checkBox) override;
    FileChoice openFile(const FileDialogPreset &preset) override;
    std::optional<QString> password(const QString &prompt) override;
    std::optional<int> number(const QString &prompt, int value) override;

private:
    QWidget *m_parent = nullptr;
};
