#include "settings/stored_path.h"

#include <QFileInfo>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

struct StoredCase {
    const char *what;
    QString path;
    QByteArray stored;
};

TEST(StoredPath, EveryPathIsKeptAndShiftJisPathsKeepTheirOldBytes) {
    const QByteArray m(stored_path::Marker);
    const StoredCase cases[] = {
        {"no path", QString(), QByteArray()},
        {"plain ASCII", QStringLiteral("/home/a/deck 1.csv"), "/home/a/deck 1.csv"},
        {"percent sign", QStringLiteral("/a/100%.csv"), "/a/100%.csv"},
        {"Japanese", QStringLiteral("/home/a/単語.csv"), "/home/a/\x92\x50\x8c\xea.csv"},
        {"Latin accent", QStringLiteral("/home/a/café.csv"), m + "/home/a/caf%C3%A9.csv"},
        {"Hangul", QStringLiteral("/d/한국어.csv"), m + "/d/%ED%95%9C%EA%B5%AD%EC%96%B4.csv"},
        {"emoji folder", QStringLiteral("/d/📚/単.csv"), m + "/d/%F0%9F%93%9A/%E5%8D%98.csv"},
        {"starts with the marker", QStringLiteral("/dev/null/utf-8//x.csv"),
         m + "/dev/null/utf-8//x.csv"},
        {"blank at the end", QStringLiteral("/a/x.csv "), m + "/a/x.csv%20"},
        {"line break", QStringLiteral("/a/x\ny.csv"), m + "/a/x%0Ay.csv"},
    };
    for (const StoredCase &c : cases) {
        SCOPED_TRACE(c.what);
        const QByteArray stored = stored_path::Encode(c.path);
        EXPECT_EQ(stored, c.stored);
        EXPECT_EQ(stored_path::Decode(stored), c.path);
        if (!stored.startsWith(m))
            continue;
        // What an earlier version sees: plain ASCII naming nothing that can exist.
        EXPECT_TRUE(
            std::all_of(stored.begin(), stored.end(), [](char b) { return b > 0x20 && b < 0x7f; }));
        EXPECT_FALSE(QFileInfo::exists(QString::fromLatin1(stored)));
    }
}

TEST(StoredPath, AMarkedValueThatIsNotUtf8ReadsAsItIs) {
    for (const QByteArray &bytes : {QByteArray("/dev/null/utf-8//a%FF.csv"),
                                    QByteArray("/dev/null/utf-8/"), QByteArray("/dev/null/x")})
        EXPECT_EQ(stored_path::Decode(bytes), QString::fromLatin1(bytes));
}

} // namespace
