// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/windowcontrols.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QScreen>

QRect twips(int left, int top, int width, int height)
{
    return QRect(left / 15, top / 15, width / 15, height / 15);
}

int reachBefore(const QRect &neighbour)
{
    return neighbour.left() - 4;
}

QGroupBox *makeFrame(QWidget *container, const char *name, const QString &caption,
                     const QRect &place)
{
    auto *frame = named(new QGroupBox(caption, container), name);
    frame->setGeometry(place);
    QPalette palette = frame->palette();
    palette.setColor(QPalette::WindowText, kYellow);
    frame->setPalette(palette);
    return frame;
}

QLineEdit *makeField(QWidget *container, const char *name, const QString &accessibleName,
                     const QRect &place)
{
    auto *field = named(new QLineEdit(container), name);
    field->setGeometry(place);
    field->setAccessibleName(accessibleName);
    return field;
}

QLabel *makePicture(QWidget *container, const char *name, const QString &resource,
                    const QRect &place)
{
    auto *picture = named(new QLabel(container), name);
    picture->setPixmap(QPixmap(resource));
    picture->setGeometry(place);
    return picture;
}

void centreOnScreen(QMainWindow &window)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    window.move(area.left() + (area.width() - window.frameGeometry().width()) / 2,
                area.top() + (area.height() - window.frameGeometry().height()) / 2);
}
