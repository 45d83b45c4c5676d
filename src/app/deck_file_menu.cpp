#include "app/deck_file_menu.h"

#include "app/deck_document.h"
#include "ui/menu_items.h"

#include <QAction>
#include <QMenu>

DeckFileMenu::DeckFileMenu(QWidget &window, Prompts &prompts, DeckDocument &document,
                           std::function<void()> exit)
    : QObject(&window), window_(window), prompts_(prompts), document_(document),
      exit_(std::move(exit)) {}

DeckFileMenu::~DeckFileMenu() = default;

void DeckFileMenu::Create(QWidget *menuBar) {
    QMenu *file = AddMenu(menuBar, "File1", QStringLiteral("ﾌｧｲﾙ(&F)"));
    connect(AddItem(file, "men_File_Open", QStringLiteral("開く(&O)..."),
                    QKeySequence(Qt::CTRL | Qt::Key_O)),
            &QAction::triggered, &document_, &DeckDocument::ChooseAndOpen);
    connect(AddItem(file, "men_File_Save", QStringLiteral("上書き保存(&S)"),
                    QKeySequence(Qt::CTRL | Qt::Key_S)),
            &QAction::triggered, &document_, &DeckDocument::Save);
    connect(AddItem(file, "men_File_SaveAs", QStringLiteral("名前を付けて保存(&A)...")),
            &QAction::triggered, &document_, &DeckDocument::SaveAs);
    AddSeparator(file, "N1");
    // Keeps the recent entries at positions 5 to 9, where the settings file counts them.
    AddSeparator(file, "N2");
    file->actions().last()->setVisible(false);
    QList<QAction *> entries;
    for (int entry = 1; entry <= RecentFileList::Count; ++entry) {
        const QByteArray name = "men_File_" + QByteArray::number(entry);
        QAction *recent = AddItem(file, name.constData(), QString());
        recent->setVisible(false);
        connect(recent, &QAction::triggered, this, [this, entry] { recent_->Choose(entry); });
        entries << recent;
    }
    recent_ = std::make_unique<RecentFilesMenu>(
        entries, window_, prompts_, [this](const QString &path) { document_.Open(path); });
    AddSeparator(file, "N3");
    document_.AddExchangeMenu(file);
    connect(AddItem(file, "Exit1", QStringLiteral("終了(&X)"), QKeySequence(Qt::CTRL | Qt::Key_Q)),
            &QAction::triggered, this, [this] { exit_(); });
}
