#pragma once

#include "deck/deck.h"

#include <QObject>

#include <functional>
#include <memory>

class AfterFirstPaint;
class DeckExchange;
class DeckPreload;
class DeckSync;
class Drill;
class Prompts;
class QMenu;
class QWidget;
enum class SaveOutcome;

enum class SaveAnswer { Cancelled, Continue };

// The open deck as a document of the window: opening a file (another program's text is offered
// for import instead), asking to save before the deck goes, saving under its name or a new one,
// and taking cards imported from another program. It keeps the file's watch (DeckSync) and the
// import and export commands; the recent list and the title follow the file it is saved to.
// The window holds it as a member, so that it goes before the deck and the drill it refers to.
class DeckDocument : public QObject {
    Q_OBJECT
public:
    // What the document needs of the window around it.
    struct Hooks {
        std::function<void()> parkFocus; // a command leaves the card boxes before it works
        std::function<bool()> autoSave;  // 自動保存: save without asking first
        std::function<void()> refreshView;
        std::function<void(const QString &)> showStatus;
        std::function<void()> cardsReplaced;                // other cards are in the deck now
        std::function<void(const TMondaiSet *)> showInList; // the card's row in the list
        std::function<void(const QString &)> fileOpened;    // the recent list puts it on top
    };
    DeckDocument(Deck &deck, Drill &drill, Prompts &prompts, QWidget &window,
                 AfterFirstPaint &afterPaint, Hooks hooks);
    ~DeckDocument() override;

    // Opens the deck at `path`; `preload`, when given, may have been reading it meanwhile.
    // 1 when the file was rejected as unsuitable, else 0.
    int Open(const QString &path, DeckPreload *preload = nullptr);
    // Before the open deck goes: asks whether to save it (or saves it at once with 自動保存).
    SaveAnswer AskSave();
    // 開く, 上書き保存 and 名前を付けて保存 of the File menu.
    void ChooseAndOpen();
    void Save();
    void SaveAs();
    // 取り込みと書き出し in the File menu.
    void AddExchangeMenu(QMenu *file);
    DeckExchange &Exchange() { return *exchange_; }

private:
    SaveOutcome SaveUnderName();
    SaveOutcome SaveUnderNewName();
    bool NeedsNewName() const;
    bool TakeImportedCards(CardOwnerList cards, bool append, const QString &source);
    // The recent list and the title name the deck's file.
    void ShowFileName();

    Deck &deck_;
    Drill &drill_;
    Prompts &prompts_;
    QWidget &window_;
    AfterFirstPaint &afterPaint_;
    Hooks hooks_;
    std::unique_ptr<DeckExchange> exchange_;
    std::unique_ptr<DeckSync> sync_;
};
