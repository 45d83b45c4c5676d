#include "app/handoff_record.h"
#include "app/single_instance.h"
#include "support/window_fixture.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QTest>
#include <QtEndian>

#include <sys/stat.h>
#include <unistd.h>

using handoff::Decode;
using handoff::Status;

namespace {
QByteArray Header(quint32 kind, quint32 count) {
    QByteArray header(8, '\0');
    qToLittleEndian<quint32>(kind, header.data());
    qToLittleEndian<quint32>(count, header.data() + 4);
    return header;
}
} // namespace

TEST(HandOffRecord, RoundTripsAPathAndWaitsForTheWholeRecord) {
    const QByteArray record = handoff::Encode("/tmp/デッキ.csv");
    EXPECT_EQ(record.size(), 8 + QByteArray("/tmp/デッキ.csv").size() + 1);
    for (int cut = 0; cut < record.size(); ++cut)
        EXPECT_EQ(Decode(record.left(cut)).status, Status::Incomplete) << cut;
    const handoff::Parsed parsed = Decode(record);
    EXPECT_EQ(parsed.status, Status::Complete);
    EXPECT_EQ(parsed.path, QByteArray("/tmp/デッキ.csv"));
}

TEST(HandOffRecord, MalformedRecordsAreRejected) {
    EXPECT_EQ(Decode(Header(2, 4) + "abc" + '\0').status, Status::Malformed);       // other kind
    EXPECT_EQ(Decode(Header(1, 4) + "abcd").status, Status::Malformed);             // no zero byte
    EXPECT_EQ(Decode(Header(1, 0)).status, Status::Malformed);                      // no data
    EXPECT_EQ(Decode(Header(1, 1) + '\0').status, Status::Malformed);               // empty path
    EXPECT_EQ(Decode(Header(1, 1u << 30)).status, Status::Malformed);               // oversized
    EXPECT_EQ(Decode(Header(1, 4) + "abc" + '\0' + "x").status, Status::Malformed); // trailing
    // Text after an inner zero byte is not part of the path.
    const handoff::Parsed inner = Decode(Header(1, 6) + QByteArray("ab\0cd\0", 6));
    EXPECT_EQ(inner.status, Status::Complete);
    EXPECT_EQ(inner.path, QByteArray("ab"));
}

namespace {
// The running instance is this test's window; the second start is the real program.
class HandOff : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(runtime.isValid());
        instance = std::make_unique<SingleInstance>(runtime.path());
        ASSERT_TRUE(instance->TakeLead());
        ASSERT_TRUE(instance->Listen([this](const QString &path) { form->ReceiveHandOff(path); }));
    }
    void TearDown() override {
        instance.reset();
        WindowTest::TearDown();
    }
    // Runs the program with `args` on the same runtime folder; its exit code, or -1.
    int RunSecondStart(const QStringList &args, const QString &workingFolder = QString()) {
        QProcess process;
        process.setWorkingDirectory(workingFolder);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("KARDEON_TEST_INSTANCE_DIR"), runtime.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(KARDEON_BINARY), args);
        if (!process.waitForStarted(10000))
            return -1;
        // Keep this instance's event loop running while the other one talks to it.
        QDeadlineTimer deadline(60000);
        while (process.state() != QProcess::NotRunning && !deadline.hasExpired())
            QTest::qWait(20);
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished();
            return -1;
        }
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }
    QTemporaryDir runtime;
    std::unique_ptr<SingleInstance> instance;
};
} // namespace

TEST_F(HandOff, ASecondStartWithAPathOpensItHere) {
    OpenDeck({QStringLiteral("A,a,,0,0,0,")});
    const QString other =
        WriteDeck(dir, QStringLiteral("other.csv"), {QStringLiteral("X,x,,0,0,0,")});
    EXPECT_EQ(RunSecondStart({other}), 0);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Kardeon - other.csv"));
    EXPECT_EQ(Current(), QStringLiteral("X"));
}

TEST_F(HandOff, ARelativePathMeansTheSecondStartsFolder) {
    OpenDeck({QStringLiteral("A,a,,0,0,0,")});
    QTemporaryDir elsewhere;
    const QString other =
        WriteDeck(elsewhere, QStringLiteral("other.csv"), {QStringLiteral("X,x,,0,0,0,")});
    EXPECT_EQ(RunSecondStart({QStringLiteral("other.csv")}, elsewhere.path()), 0);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Kardeon - other.csv"));
    EXPECT_EQ(Current(), QStringLiteral("X"));
}

TEST_F(HandOff, TheSecondStartWaitsForTheSavePrompt) {
    const QString first = OpenDeck({QStringLiteral("A,a,,0,0,0,")});
    Click("btnSusume");
    Click("btnDekita");
    const QString other =
        WriteDeck(dir, QStringLiteral("other.csv"), {QStringLiteral("X,x,,0,0,0,")});
    prompts.Answer(PromptButton::Yes);
    EXPECT_EQ(RunSecondStart({other}), 0);
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(prompts.asked[0].text, QStringLiteral("学習結果を保存しますか？"));
    EXPECT_EQ(ReadDeck(first), QStringList{QStringLiteral("A,a,,40002,1,0,正")});
    EXPECT_EQ(Current(), QStringLiteral("X"));
}

TEST_F(HandOff, ASecondStartWithoutAPathEndsAtOnceAndChangesNothing) {
    OpenDeck({QStringLiteral("A,a,,0,0,0,")});
    EXPECT_EQ(RunSecondStart({}), 0);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Kardeon - deck.csv"));
}

TEST_F(HandOff, MalformedMessagesAreIgnored) {
    OpenDeck({QStringLiteral("A,a,,0,0,0,")});
    const QList<QByteArray> garbage{Header(2, 4) + "abc" + '\0', Header(1, 4) + "abcd",
                                    Header(1, 1u << 31), QByteArray("garbage!garbage!")};
    for (const QByteArray &message : garbage) {
        QLocalSocket socket;
        socket.connectToServer(instance->SocketPath());
        ASSERT_TRUE(socket.waitForConnected(2000));
        socket.write(message);
        socket.flush();
        QTRY_VERIFY(socket.state() != QLocalSocket::ConnectedState);
        EXPECT_EQ(socket.readAll(), QByteArray());
    }
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Kardeon - deck.csv"));
    const QString other =
        WriteDeck(dir, QStringLiteral("other.csv"), {QStringLiteral("X,x,,0,0,0,")});
    EXPECT_EQ(RunSecondStart({other}), 0);
    EXPECT_EQ(Current(), QStringLiteral("X"));
}

TEST(SingleInstanceLock, OnlyOneHolderAndACrashedOneIsTakenOver) {
    QTemporaryDir runtime;
    SingleInstance first(runtime.path());
    ASSERT_TRUE(first.TakeLead());
    SingleInstance second(runtime.path());
    EXPECT_FALSE(second.TakeLead());

    // A program killed outright leaves its lock and socket behind.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QTemporaryDir other;
    env.insert(QStringLiteral("KARDEON_TEST_INSTANCE_DIR"), other.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    QProcess crashed;
    crashed.setProcessEnvironment(env);
    crashed.start(QStringLiteral(KARDEON_BINARY), {});
    ASSERT_TRUE(crashed.waitForStarted(10000));
    SingleInstance probe(other.path());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(probe.SocketPath()), 30000);
    EXPECT_FALSE(probe.TakeLead()) << "the program holds the lock while it runs";
    crashed.kill();
    crashed.waitForFinished();
    EXPECT_TRUE(QFile::exists(probe.LockPath()));
    EXPECT_TRUE(probe.TakeLead());
    EXPECT_TRUE(probe.Listen([](const QString &) {}));
}

namespace {
// A receiving instance and one sender in this process, both served by the test's event loop.
class HandOffReceive : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(runtime.isValid());
        ASSERT_TRUE(receiver.TakeLead());
    }
    void Send(const QByteArray &path) {
        sender.connectToServer(receiver.SocketPath());
        ASSERT_TRUE(sender.waitForConnected(2000));
        sender.write(handoff::Encode(path));
        sender.flush();
    }
    // A deck file that exists (a missing one is answered before it is opened).
    QString ExistingDeck(const QString &name) {
        const QString path = runtime.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        return path;
    }
    // What the sender got back once the receiver was done with it.
    QByteArray Answer() {
        QDeadlineTimer deadline(5000);
        while (sender.bytesAvailable() == 0 && sender.state() == QLocalSocket::ConnectedState &&
               !deadline.hasExpired())
            QTest::qWait(10);
        return sender.readAll();
    }
    QTemporaryDir runtime;
    SingleInstance receiver{runtime.path()};
    QLocalSocket sender;
    QStringList opened;
};
} // namespace

TEST_F(HandOffReceive, ASenderWaitsForAsLongAsTheSavePromptTakes) {
    receiver.SetReceiveTimeout(100);
    ASSERT_TRUE(receiver.Listen([this](const QString &path) {
        QTest::qWait(500); // the user thinks about the save prompt
        opened << path;
    }));
    const QString deck = ExistingDeck(QStringLiteral("slow.csv"));
    Send(QFile::encodeName(deck));
    EXPECT_EQ(Answer(), QByteArray(1, handoff::Ack));
    EXPECT_EQ(opened, QStringList{deck});
}

TEST_F(HandOffReceive, ASenderThatGoesAwayWhileTheDeckOpensHarmsNothing) {
    ASSERT_TRUE(receiver.Listen([this](const QString &path) {
        sender.abort();
        QTest::qWait(100); // a prompt's event loop runs while the socket is torn down
        opened << path;
    }));
    Send("/tmp/gone.csv");
    QTRY_COMPARE(opened, QStringList{QStringLiteral("/tmp/gone.csv")});
    QTest::qWait(50);
}

TEST_F(HandOffReceive, APathArrivingWhileADialogIsOpenWaitsUntilItCloses) {
    bool dialogOpen = true;
    receiver.SetBusyCheck([&dialogOpen] { return dialogOpen; });
    ASSERT_TRUE(receiver.Listen([this](const QString &path) { opened << path; }));
    const QString deck = ExistingDeck(QStringLiteral("later.csv"));
    Send(QFile::encodeName(deck));
    QTest::qWait(400);
    EXPECT_TRUE(opened.isEmpty()) << "the dialog's answer belongs to the deck it asked about";
    EXPECT_EQ(sender.bytesAvailable(), 0);
    dialogOpen = false;
    EXPECT_EQ(Answer(), QByteArray(1, handoff::Ack));
    EXPECT_EQ(opened, QStringList{deck});
}

TEST_F(HandOffReceive, AMissingFileIsAnsweredBeforeItsBoxIsShown) {
    bool dialogOpen = false;
    receiver.SetBusyCheck([&dialogOpen] { return dialogOpen; });
    // Opening a missing file shows "ファイルが見つかりません。" until the user closes it; by then
    // the sender must already have its answer.
    QList<bool> answeredFirst;
    ASSERT_TRUE(receiver.Listen([this, &answeredFirst](const QString &path) {
        answeredFirst << (sender.bytesAvailable() > 0 || sender.waitForReadyRead(1000));
        opened << path;
    }));
    for (const bool busy : {false, true}) {
        SCOPED_TRACE(busy ? "while a dialog is open" : "idle");
        opened.clear();
        answeredFirst.clear();
        dialogOpen = busy;
        sender.abort();
        const QString missing = runtime.filePath(QStringLiteral("gone.csv"));
        Send(QFile::encodeName(missing));
        if (busy) {
            QTest::qWait(300);
            EXPECT_GT(sender.bytesAvailable(), 0) << "the answer does not wait for the dialog";
        }
        dialogOpen = false;
        EXPECT_TRUE(QTest::qWaitFor([&] { return opened == QStringList{missing}; }, 10000));
        EXPECT_EQ(answeredFirst, QList<bool>{true});
    }
}

namespace {

mode_t ModeOf(const QString &path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

} // namespace

TEST(InstanceFolder, OnePlacePerUserChosenByOwnerAndModeOnly) {
    QTemporaryDir run, tmp;
    const uint uid = ::getuid();
    const QString runFolder = run.filePath(QString::number(uid));
    const QString own = tmp.filePath(QStringLiteral("kardeon-%1").arg(uid));
    QString problem;

    // No runtime folder: a private one is made in the temporary folder, whatever the umask.
    const mode_t oldMask = ::umask(0);
    EXPECT_EQ(SingleInstance::UserFolder(run.path(), tmp.path(), uid, &problem), own);
    ::umask(oldMask);
    EXPECT_EQ(ModeOf(own), mode_t(0700));
    EXPECT_EQ(SingleInstance::UserFolder(run.path(), tmp.path(), uid), own) << "found again";

    // A runtime folder others may enter is passed over; the user's own 0700 one is taken.
    ASSERT_TRUE(QDir().mkpath(runFolder));
    ASSERT_EQ(::chmod(QFile::encodeName(runFolder).constData(), 0755), 0);
    EXPECT_EQ(SingleInstance::UserFolder(run.path(), tmp.path(), uid), own);
    ASSERT_EQ(::chmod(QFile::encodeName(runFolder).constData(), 0700), 0);
    EXPECT_EQ(SingleInstance::UserFolder(run.path(), tmp.path(), uid), runFolder);

    // The environment plays no part.
    const bool wasSet = qEnvironmentVariableIsSet("XDG_RUNTIME_DIR");
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(tmp.path()));
    const QString withVariable = SingleInstance::DefaultFolder();
    qunsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(SingleInstance::DefaultFolder(), withVariable);
    EXPECT_FALSE(withVariable.isEmpty());
    if (wasSet)
        qputenv("XDG_RUNTIME_DIR", saved);
}

TEST(InstanceFolder, AFolderSomeoneCouldTamperWithIsRefused) {
    QTemporaryDir run, tmp;
    const uint uid = ::getuid();
    const QString own = tmp.filePath(QStringLiteral("kardeon-%1").arg(uid));
    QString problem;

    ASSERT_TRUE(QDir().mkpath(own));
    ASSERT_EQ(::chmod(QFile::encodeName(own).constData(), 0777), 0);
    EXPECT_EQ(SingleInstance::UserFolder(run.path(), tmp.path(), uid, &problem), QString());
    EXPECT_TRUE(problem.contains(own));
    EXPECT_EQ(ModeOf(own), mode_t(0777)) << "someone else's doing is not silently repaired";

    // A link planted in its place is no folder of ours, even when it points to one.
    ASSERT_TRUE(QDir(own).removeRecursively());
    QTemporaryDir elsewhere;
    ASSERT_EQ(::chmod(QFile::encodeName(elsewhere.path()).constData(), 0700), 0);
    ASSERT_TRUE(QFile::link(elsewhere.path(), own));
    EXPECT_EQ(SingleInstance::UserFolder(run.path(), tmp.path(), uid), QString());

    // Owned by another user.
    if (::getuid() == 0) {
        ASSERT_TRUE(QFile::remove(own));
        ASSERT_TRUE(QDir().mkpath(own));
        ASSERT_EQ(::chmod(QFile::encodeName(own).constData(), 0700), 0);
        ASSERT_EQ(::chown(QFile::encodeName(own).constData(), 65534, 65534), 0);
        EXPECT_EQ(SingleInstance::UserFolder(run.path(), tmp.path(), 0), QString());
    }
}

TEST(InstanceFolder, WithoutALockTheProgramStillRunsItsWindow) {
    // Another holder and no lock at all are told apart.
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("plain"));
    QFile(file).open(QIODevice::WriteOnly);
    EXPECT_EQ(SingleInstance(QString()).Claim(), SingleInstance::Lead::NoLock);
    EXPECT_EQ(SingleInstance(file + QStringLiteral("/below")).Claim(),
              SingleInstance::Lead::NoLock);
    SingleInstance first(folder.path());
    ASSERT_EQ(first.Claim(), SingleInstance::Lead::First);
    EXPECT_EQ(SingleInstance(folder.path()).Claim(), SingleInstance::Lead::Running);

    // The real program in a folder where no lock can be made opens its window all the same.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("KARDEON_TEST_INSTANCE_DIR"), file + QStringLiteral("/below"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(KARDEON_BINARY), {});
    ASSERT_TRUE(program.waitForStarted(10000));
    EXPECT_FALSE(program.waitForFinished(3000)) << "the program ended without a window";
    program.kill();
    program.waitForFinished();
}
