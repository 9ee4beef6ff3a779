// SPDX-License-Identifier: GPL-3.0-or-later
// The modal help window with the fixed usage notes.
#pragma once

#include <QDialog>

class QLineEdit;
class QPlainTextEdit;

// The notes as written: the design's sixteen lines, the country data's and the flags' credits,
// each ended by CR LF, the last one included. The window shows them in the user's language.
extern const QString kHelpText;

// Shows the notes read-only and deaf to every key but Escape, which closes the window, as the title
// bar's close button does. Each showing fills the text afresh, centres the window on the screen
// and gives the text the keyboard focus.
class Brinemoor_Help final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Brinemoor_Help)

public:
    explicit Brinemoor_Help(QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void fitFont();
    void Form_Load();
    void centreOnScreen();

    QPlainTextEdit *txt_help = nullptr;
    QLineEdit *txt_hidden = nullptr;
};
