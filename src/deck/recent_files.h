#pragma once

#include <QString>

#include <array>

// The five most recently opened or saved decks, most recent first. An empty path is an unused
// entry. Paths are compared exactly: no case folding, no tidying of separators.
class RecentFileList {
public:
    static constexpr int Count = 5;
    using Paths = std::array<QString, Count>;

    RecentFileList() = default;
    explicit RecentFileList(Paths paths) : paths_(std::move(paths)) {}

    // Moves `path` to the top; every other copy of it leaves and the oldest entry falls off.
    void PutOnTop(const QString &path);
    // Removes every entry equal to `path`; later entries move up and empty ones fill the end.
    // Returns how many entries were removed.
    int Remove(const QString &path);

    const Paths &Entries() const { return paths_; }

private:
    Paths paths_;
};

// The part of `path` after its last "/"; the whole path when it holds none.
QString FileNameOnly(const QString &path);
