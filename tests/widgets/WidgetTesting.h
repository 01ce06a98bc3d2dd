#pragma once

#include "PixelFont.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFont>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QString>
#include <QWidget>

namespace tarvane {

// What the widget shows, in a format whose pixels compare as plain RGB.
inline QImage Grab(QWidget& widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Sends one key press and release as the keyboard would, with the text it types.
inline void Press(QWidget* widget, Qt::Key key, const QString& text = {},
                  Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(widget, &release);
}

// A shortcut as an X11 keyboard sends it: Ctrl with a letter types its control code.
inline void PressShortcut(QWidget* widget, QKeyCombination combination)
{
    const Qt::Key key = combination.key();
    const Qt::KeyboardModifiers modifiers = combination.keyboardModifiers();
    const bool controlLetter =
        (modifiers & Qt::ControlModifier) && key >= Qt::Key_A && key <= Qt::Key_Z;
    Press(widget, key, controlLetter ? QString(QChar(key - Qt::Key_A + 1)) : QString(), modifiers);
}

// Opens a widget's context menu and triggers its enabled entry with that caption, if any;
// returns the captions of all its entries, shortcuts left out.
inline QStringList TriggerMenuEntry(QWidget* widget, const QString& caption)
{
    const QPoint centre = widget->rect().center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, centre, widget->mapToGlobal(centre));
    QApplication::sendEvent(widget, &event);
    auto* menu = widget->findChild<QMenu*>();
    if (!menu)
        return {};
    QStringList captions;
    for (QAction* action : menu->actions()) {
        captions << action->text().section(QLatin1Char('\t'), 0, 0);
        if (captions.back() == caption && action->isEnabled())
            action->trigger();
    }
    delete menu;
    return captions;
}

} // namespace tarvane
