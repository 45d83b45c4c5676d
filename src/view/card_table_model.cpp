#include "view/card_table_model.h"

#include "deck/sjis_codec.h"
#include "view/long_text.h"

#include <QStringList>

#include <algorithm>

namespace {

const QStringList &HeaderTexts() {
    static const QStringList texts =
        QStringLiteral(",問題,解答,参考,時間,正解,不正解,履歴").split(u',');
    return texts;
}

} // namespace

CardTableModel::CardTableModel(const CardOwnerList &cards, QObject *parent)
    : QAbstractTableModel(parent), cards_(cards), shownRows_(rowCount()) {}

int CardTableModel::rowCount(const QModelIndex &parent) const {
    if (parent.isValid())
        return 0;
    // An empty deck still shows one blank row under the header.
    return std::max(1, static_cast<int>(cards_.size()));
}

int CardTableModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QString CardTableModel::CellText(const TMondaiSet &card, int row, int column) {
    switch (column) {
    case 0:
        return QString::number(row + 1);
    case 1:
        return sjis::ToDisplay(card.Mondai()).text;
    case 2:
        return sjis::ToDisplay(card.Kaitou()).text;
    case 3:
        return sjis::ToDisplay(card.Sankou()).text;
    case 4:
        return QString::number(card.Jikan);
    case 5:
        return QString::number(card.Seikai);
    case 6:
        return QString::number(card.Fuseikai);
    case 7:
        return sjis::ToDisplay(card.Rireki()).text;
    default:
        return {};
    }
}

QVariant CardTableModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid())
        return {};
    const TMondaiSet *card = CardAt(index.row());
    switch (role) {
    case Qt::DisplayRole:
        // Only what a cell can lay out quickly; the editor gets the whole text.
        return card ? CutLongLines(CellText(*card, index.row(), index.column())).text : QString();
    case Qt::EditRole:
        return card ? CellText(*card, index.row(), index.column()) : QString();
    case ShadeRole:
        return static_cast<int>(ShadeOf(index.row()));
    case MarkRole:
        return index.column() == 0 && marked_ && card && marked_(index.row());
    default:
        return {};
    }
}

QVariant CardTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    return section < HeaderTexts().size() ? HeaderTexts().at(section) : QString();
}

Qt::ItemFlags CardTableModel::flags(const QModelIndex &index) const {
    if (!index.isValid() || index.column() == 0 || !CardAt(index.row()))
        return Qt::ItemIsEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

void CardTableModel::SetRowMarks(std::function<bool(int)> marked) {
    marked_ = std::move(marked);
    if (rowCount() > 0)
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, 0), {MarkRole});
}

TMondaiSet *CardTableModel::CardAt(int row) const {
    if (row < 0 || row >= CardCount())
        return nullptr;
    return cards_[static_cast<size_t>(row)].get();
}

CardTableModel::Shade CardTableModel::ShadeOf(int row) const {
    const TMondaiSet *card = CardAt(row);
    if (!card)
        return Shade::Normal;
    if (current_ && row == currentRow_)
        return Shade::Current;
    return card->Jikan >= today_ ? Shade::NotDue : Shade::Normal;
}

int CardTableModel::FindRow(const TMondaiSet *card) const {
    if (!card)
        return -1;
    // The drill mostly moves to a near neighbour: look there before walking the whole deck.
    for (int row = currentRow_ - 1; row <= currentRow_ + 2; ++row)
        if (CardAt(row) == card)
            return row;
    const auto at = std::find_if(cards_.begin(), cards_.end(),
                                 [card](const auto &owned) { return owned.get() == card; });
    return at == cards_.end() ? -1 : static_cast<int>(at - cards_.begin());
}

void CardTableModel::Refresh(const TMondaiSet *current, qint32 today) {
    const int rows = rowCount();
    const bool reshape = rows != shownRows_;
    if (reshape)
        beginResetModel();
    today_ = today;
    currentRow_ = FindRow(current);
    current_ = currentRow_ >= 0 ? current : nullptr;
    if (reshape) {
        shownRows_ = rows;
        endResetModel();
    } else {
        Q_EMIT dataChanged(index(0, 0), index(rows - 1, ColumnCount - 1));
    }
}
