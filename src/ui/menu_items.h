#pragma once

#include <QKeySequence>
#include <QString>

class QAction;
class QMenu;
class QWidget;

// Menus and items carry the component names the hint table and the tests know them by; the
// owners hold the returned pointers and never look an item up by that name.

// A menu added to a menu bar or, as a submenu, to a menu.
QMenu *AddMenu(QWidget *parent, const char *name, const QString &caption);
QAction *AddItem(QMenu *menu, const char *name, const QString &caption,
                 const QKeySequence &shortcut = {});
QAction *AddCheckItem(QMenu *menu, const char *name, const QString &caption, bool checked);
void AddSeparator(QMenu *menu, const char *name);
