#pragma once

class Drill;

// Whether the card menu's "カード追加..." and "カード削除" can be chosen in the drill's state.
bool CanInsertCard(const Drill &drill);
bool CanDeleteCard(const Drill &drill);
