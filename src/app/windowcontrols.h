// SPDX-License-Identifier: GPL-3.0-or-later
// How the main window's controls are made: the design's layout in twips, its colours, and each
// kind of control with its name, place and the settings the design gives it.
#pragma once

#include <algorithm>

#include <QAbstractItemView>
#include <QColor>
#include <QLabel>
#include <QRect>
#include <QString>

class QGroupBox;
class QMainWindow;
class QLineEdit;
class QWidget;

inline const QColor kYellow(255, 255, 0);
inline const QColor kWhite(255, 255, 255);
inline const QColor kDarkGrey(64, 64, 64);

// The layout is drawn in twips; 15 of them make a pixel.
QRect twips(int left, int top, int width, int height);

template<typename Widget>
Widget *named(Widget *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// Labels have no background of their own, so they can be wider than their text and leave room for
// a longer one: a label reaches to `reach`, by default its container's right edge. A status label
// reaches only to a blank before the label on its right, and cuts a text that would not fit.
template<typename Label = QLabel>
Label *makeLabel(QWidget *container, const char *name, const QString &text, const QColor &colour,
                 const QRect &place, int reach = -1)
{
    auto *label = named(new Label(text, container), name);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    label->setTextFormat(Qt::PlainText);
    const int room = (reach < 0 ? container->width() : reach) - place.left();
    // At least as tall as the font needs, so that descenders ("mp_harbor") are not cut.
    label->setGeometry(place.left(), place.top(), std::max(place.width(), room),
                       std::max(place.height(), label->sizeHint().height()));
    return label;
}

// Where a status label ends: a blank's width before the next control on its right.
int reachBefore(const QRect &neighbour);

QGroupBox *makeFrame(QWidget *container, const char *name, const QString &caption,
                     const QRect &place);

// Lists keep their rows in the order given: neither kind sorts unless told to.
template<typename List>
List *makeList(QWidget *container, const char *name, const QString &accessibleName,
               const QRect &place)
{
    auto *list = named(new List(container), name);
    list->setGeometry(place);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setAccessibleName(accessibleName);
    QPalette palette = list->palette();
    palette.setColor(QPalette::Base, Qt::black);
    palette.setColor(QPalette::Text, kWhite);
    list->setPalette(palette);
    return list;
}

QLineEdit *makeField(QWidget *container, const char *name, const QString &accessibleName,
                     const QRect &place);
QLabel *makePicture(QWidget *container, const char *name, const QString &resource,
                    const QRect &place);

// In the middle of the primary screen, frame and all.
void centreOnScreen(QMainWindow &window);
