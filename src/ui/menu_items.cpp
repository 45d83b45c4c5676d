#include "ui/menu_items.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

QMenu *AddMenu(QWidget *parent, const char *name, const QString &caption) {
    auto *menu = new QMenu(caption, parent);
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name));
    if (auto *bar = qobject_cast<QMenuBar *>(parent))
        bar->addMenu(menu);
    else if (auto *owner = qobject_cast<QMenu *>(parent))
        owner->addMenu(menu);
    return menu;
}

QAction *AddItem(QMenu *menu, const char *name, const QString &caption,
                 const QKeySequence &shortcut) {
    QAction *action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    return action;
}

QAction *AddCheckItem(QMenu *menu, const char *name, const QString &caption, bool checked) {
    QAction *action = AddItem(menu, name, caption);
    action->setCheckable(true);
    action->setChecked(checked);
    return action;
}

void AddSeparator(QMenu *menu, const char *name) {
    menu->addSeparator()->setObjectName(QString::fromLatin1(name));
}
