#include "drill/new_cards.h"

#include <algorithm>

namespace {

const QByteArray kRight = QByteArrayLiteral("\x90\xb3"); // 正
const QByteArray kWrong = QByteArrayLiteral("\x8c\xeb"); // 誤

} // namespace

bool IsNewCard(const TMondaiSet &card) {
    return card.Seikai == 0 && card.Fuseikai == 0 && card.View(TMondaiSet::kRireki).isEmpty();
}

bool AnswerTouchedNewCard(const TMondaiSet &card, AnswerKind kind) {
    switch (kind) {
    case AnswerKind::Right:
        return card.Seikai == 1 && card.Fuseikai == 0 && Unquote(card.Rireki()) == kRight;
    case AnswerKind::Wrong:
        return card.Fuseikai == 1 && card.Seikai == 0 && Unquote(card.Rireki()) == kWrong;
    case AnswerKind::TakenBack:
        break;
    }
    return IsNewCard(card);
}

void LimitNewCards(CardRefList &queue, qint64 left) {
    if (left < 0)
        return;
    const auto kept = std::remove_if(queue.begin(), queue.end(), [&left](const TMondaiSet *card) {
        if (!IsNewCard(*card))
            return false;
        if (left > 0) {
            --left;
            return false;
        }
        return true;
    });
    queue.erase(kept, queue.end());
}
