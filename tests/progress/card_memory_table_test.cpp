#include "progress/card_memory_table.h"

#include <gtest/gtest.h>

#include <random>
#include <unordered_map>

namespace {

// Random insertions, updates and erasures against a standard map, across several growths of the
// table (each moving its entries over many later insertions). Keys from a narrow range crowd
// into neighbouring slots, so erasures have long runs to mend.
TEST(CardMemoryTableTest, AgreesWithAStandardMapThroughGrowthAndErasure) {
    struct Case {
        const char *name;
        int operations;
        quint64 keyRange; // keys drawn from [0, keyRange) times keyStep
        quint64 keyStep;
        int erasePercent;
    } cases[] = {
        {"insertions only, wide keys", 20000, 1ull << 40, 0x100000001b3ull, 0},
        {"a third erased, few distinct keys", 30000, 3000, 1, 33},
        {"some erased while growing, spread keys", 40000, 50000, 0x9e3779b9ull, 10},
        {"zero and narrow keys", 5000, 600, 1ull << 32, 40},
        // Nearly three quarters full for long: runs wrap round the array's end.
        {"a crowded small table", 60000, 760, 1, 10},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        std::mt19937_64 random(12345);
        CardMemoryTable table;
        std::unordered_map<quint64, qint32> expected;
        for (int i = 0; i < c.operations; ++i) {
            const quint64 key = (random() % c.keyRange) * c.keyStep;
            if (int(random() % 100) < c.erasePercent) {
                ASSERT_EQ(table.Erase(key), expected.erase(key) == 1) << "erasing " << key;
            } else {
                bool inserted = false;
                CardMemory &memory = table.FindOrInsert(key, &inserted);
                ASSERT_EQ(inserted, !expected.contains(key)) << "inserting " << key;
                if (!inserted) {
                    ASSERT_EQ(memory.lastDay, expected[key]) << "updating " << key;
                }
                memory.lastDay = i;
                expected[key] = i;
            }
            ASSERT_EQ(table.Size(), expected.size());
        }
        for (const auto &[key, day] : expected) {
            const CardMemory *memory = table.Find(key);
            ASSERT_NE(memory, nullptr) << key;
            EXPECT_EQ(memory->lastDay, day) << key;
        }
        // Keys never inserted are not found, even amid the crowd.
        for (quint64 k = 0; k < 200; ++k) {
            const quint64 key = (c.keyRange + k) * c.keyStep + 1;
            EXPECT_EQ(table.Find(key) == nullptr, !expected.contains(key)) << key;
        }
        table.Clear();
        EXPECT_EQ(table.Size(), 0u);
        EXPECT_EQ(table.Find(expected.empty() ? 0 : expected.begin()->first), nullptr);
    }
}

} // namespace
