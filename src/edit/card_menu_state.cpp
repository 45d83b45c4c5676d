#include "edit/card_menu_state.h"

#include "drill/drill.h"

bool CanInsertCard(const Drill &drill) {
    return !drill.DeckEmpty() && !drill.Queue().empty();
}

bool CanDeleteCard(const Drill &drill) {
    if (!CanInsertCard(drill))
        return false;
    // The sub view past the last card of the pass, or the main view without a card, shows no
    // card to delete.
    if (drill.DisplayPattern() == PatternSub && drill.QueuePos() >= qsizetype(drill.Queue().size()))
        return false;
    return !(drill.DisplayPattern() == PatternMain && !drill.Current());
}
