#include "settings/settings.h"
#include "support/fake_speech.h"
#include "ui/scripted_prompts.h"

#include <QApplication>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Every test starts with no settings file of its own, in a folder that is thrown away.
class FreshSettingsFile : public ::testing::EmptyTestEventListener {
public:
    void OnTestStart(const ::testing::TestInfo &) override {
        SetSettingsFilePath(folder_.filePath(QStringLiteral("kardeon-%1.ini").arg(++count_)));
    }

private:
    QTemporaryDir folder_;
    int count_ = 0;
};

} // namespace

// Window tests share one application object; no test ever touches the user's own files.
int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                    : qgetenv("QT_QPA_PLATFORM"));
    QStandardPaths::setTestModeEnabled(true);
    // Every program a test starts finds its running instance here, never the user's and never
    // another test's, whatever runs at the same time.
    QTemporaryDir instanceFolder;
    qputenv("KARDEON_TEST_INSTANCE_DIR", QFile::encodeName(instanceFolder.path()));
    QApplication app(argc, argv);
    // No test speaks through the sound device.
    UseFakeSpeech();
    // A box that no test expected fails the test that caused it.
    ScriptedPrompts::SetUnexpectedQuestionHandler(
        [](const QString &what) { ADD_FAILURE() << what.toStdString(); });
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshSettingsFile);
    return RUN_ALL_TESTS();
}
