#pragma once

#include "deck/deck.h"

#include <QAbstractTableModel>

#include <functional>

// The whole deck as a table, read straight from the cards: model row i is card i (grid row
// i + 1, the header being grid row 0). Nothing is copied per row or per cell, so a fill costs
// the same for ten cards as for a million.
class CardTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int ColumnCount = 9;
    static constexpr int HiddenColumn = 8;
    // How a row is tinted; read by the delegate.
    enum class Shade { Normal, NotDue, Current };
    static constexpr int ShadeRole = Qt::UserRole + 1;
    // True for the row numbers of rows a search marks.
    static constexpr int MarkRole = Qt::UserRole + 2;
    // The columns that hold a card's numbers rather than its texts.
    static bool IsNumberColumn(int column) { return column >= 4 && column <= 6; }

    explicit CardTableModel(const CardOwnerList &cards, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // Brings the views in line with the cards: a reset when the number of rows changed, else
    // one change notice over the whole table (which costs a repaint of the visible cells only).
    void Refresh(const TMondaiSet *current, qint32 today);

    // Which rows the row-number column marks (none without a test).
    void SetRowMarks(std::function<bool(int row)> marked);

    // The card of a model row, or null (the empty deck's blank row, out of range).
    TMondaiSet *CardAt(int row) const;
    // Model row of the current card as of the last refresh, -1 without one.
    int CurrentRow() const { return currentRow_; }
    qsizetype CardCount() const { return static_cast<qsizetype>(cards_.size()); }

    // What a cell shows: the stored form of the field, or the number.
    static QString CellText(const TMondaiSet &card, int row, int column);

private:
    int FindRow(const TMondaiSet *card) const;
    Shade ShadeOf(int row) const;

    const CardOwnerList &cards_;
    const TMondaiSet *current_ = nullptr;
    int currentRow_ = -1;
    qint32 today_ = 0;
    int shownRows_ = 1;
    std::function<bool(int)> marked_;
};
