// Message boxes and the file dialog on Qt's own widgets.
#pragma once

#include "platform/dialogs.h"

class QWidget;

class QtDialogs final : public Dialogs
{
public:
    Answer message(const QString &text, Buttons buttons, Icon icon) override;
    FileChoice openFile(const FileDialogPreset &preset) override;

    // Boxes opened after this are centred on the given window.
    void setParentWindow(QWidget *window) { m_parent = window; }

private:
    QWidget *m_parent = nullptr;
};
