#include "support/window_fixture.h"

#include "app/help_page.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace {

void Touch(const QString &path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<!DOCTYPE html>");
}

class HelpTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        form->Help().SetExecutablePath(dir.filePath(QStringLiteral("bin/kardeon")));
        form->Help().SetOpener([this](const QUrl &url, const std::function<void()> &failed) {
            opened.append(url);
            if (!browser)
                failed();
        });
    }
    QList<QUrl> opened;
    bool browser = true;
};

} // namespace

TEST_F(HelpTest, TopicOpensThePageBesideTheExecutable) {
    const QString page = dir.filePath(QStringLiteral("bin/kardeon.html"));
    Touch(page);
    Trigger("men_Help_topic");
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(page));
    EXPECT_EQ(Find<QAction>("men_Help_topic")->shortcut(), QKeySequence(Qt::Key_F1));
}

TEST_F(HelpTest, InstalledCopyFindsThePageUnderShare) {
    const QString doc = dir.filePath(QStringLiteral("share/doc/kardeon/kardeon.html"));
    Touch(doc);
    Trigger("men_Help_topic");
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(doc));

    const QString data = dir.filePath(QStringLiteral("share/kardeon/kardeon.html"));
    Touch(data);
    Trigger("men_Help_topic");
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[1], QUrl::fromLocalFile(data));
}

TEST_F(HelpTest, MissingPageSaysWhereItWasLookedFor) {
    // A folder of that name is not a page.
    QDir().mkpath(dir.filePath(QStringLiteral("bin/kardeon.html")));
    prompts.Answer(PromptButton::Ok);
    Trigger("men_Help_topic");
    EXPECT_TRUE(opened.isEmpty());
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(prompts.asked[0].icon, PromptIcon::Warning);
    for (const QString &place : HelpPageCandidates(dir.filePath(QStringLiteral("bin/kardeon"))))
        EXPECT_TRUE(prompts.asked[0].text.contains(QDir::toNativeSeparators(place)))
            << place.toStdString();
}

TEST(HelpPageTest, ExtensionOfTheExecutableIsReplaced) {
    EXPECT_EQ(HelpPageCandidates(QStringLiteral("/opt/k/kardeon.bin")).first(),
              QStringLiteral("/opt/k/kardeon.html"));
    EXPECT_EQ(HelpPageCandidates(QStringLiteral("/usr/bin/kardeon")).at(1),
              QStringLiteral("/usr/share/kardeon/kardeon.html"));
}

TEST_F(HelpTest, AboutBoxNamesTheProgramItsVersionQtAndLicence) {
    prompts.Answer(PromptButton::Yes);
    Trigger("men_Help_Version");
    ASSERT_EQ(prompts.asked.size(), 1u);
    const MessageRequest &box = prompts.asked[0];
    EXPECT_EQ(box.title, QStringLiteral("確認"));
    EXPECT_EQ(box.icon, PromptIcon::Question);
    EXPECT_EQ(box.buttons, std::vector<PromptButton>{PromptButton::Yes});
    const QStringList lines = box.text.split(u'\n');
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^Kardeon バージョン \\d+\\.\\d+"))
                    .match(lines[0])
                    .hasMatch())
        << lines[0].toStdString();
    EXPECT_TRUE(lines[2].contains(QString::fromLatin1(qVersion())));
    EXPECT_TRUE(lines[3].startsWith(QStringLiteral("ライセンス")));
}

TEST_F(HelpTest, NoBrowserNamesThePageInAMessage) {
    const QString page = dir.filePath(QStringLiteral("bin/kardeon.html"));
    Touch(page);
    browser = false;
    prompts.Answer(PromptButton::Ok);
    Key(Qt::Key_F1);
    ASSERT_EQ(opened.size(), 1);
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(prompts.asked[0].icon, PromptIcon::Warning);
    EXPECT_TRUE(prompts.asked[0].text.contains(page));
    EXPECT_TRUE(prompts.asked[0].text.contains(QStringLiteral("ブラウザー")));
}
