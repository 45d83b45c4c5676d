#pragma once

// 学習の設定: how many new cards a day brings in and how the rest after できた is decided.
struct StudyValues {
    int newCardsPerDay = 0; // 0: no limit
    int scheduler = 0;      // 0 標準, 1 記憶モデル
    int retention = 90;     // percent
    bool operator==(const StudyValues &) const = default;
};
