#include "app/command_line.h"

#include "app/about_box.h"

#include <QCommandLineParser>
#include <QFileInfo>

namespace {

// A deck named by a relative path means this process's folder, which a running instance does
// not share. Quotes left by a launcher are not part of the name.
QString DeckPath(QString argument) {
    argument.remove(QLatin1Char('"'));
    return argument.isEmpty() ? argument : QFileInfo(argument).absoluteFilePath();
}

} // namespace

CommandLine ReadCommandLine(const QStringList &arguments) {
    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    parser.addOption(help);
    parser.addOption(version);
    parser.addPositionalArgument(QStringLiteral("deck"), QString());
    CommandLine line;
    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        line.action = CommandLine::Action::Error;
        if (unknown.isEmpty()) {
            line.message = parser.errorText();
            return line;
        }
        const QString &name = unknown.constFirst();
        const QString dashes = name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--");
        line.message = QStringLiteral("「%1%2」というオプションはありません。").arg(dashes, name);
        return line;
    }
    if (parser.isSet(help)) {
        line.action = CommandLine::Action::Help;
        return line;
    }
    if (parser.isSet(version)) {
        line.action = CommandLine::Action::Version;
        return line;
    }
    const QStringList decks = parser.positionalArguments();
    if (decks.size() > 1) {
        line.action = CommandLine::Action::Error;
        line.message =
            QStringLiteral("開けるデッキは一つだけです（%1 個指定されました）。").arg(decks.size());
        return line;
    }
    if (!decks.isEmpty())
        line.deck = DeckPath(decks.constFirst());
    return line;
}

QString UsageText() {
    return QStringLiteral(
        "使い方: kardeon [オプション] [--] [デッキ]\n"
        "暗記カードのデッキ（Shift-JIS の CSV ファイル）を開いて学習します。\n"
        "デッキを指定しないときは最後に使ったデッキを開きます。すでに起動しているときは、\n"
        "そのウィンドウにデッキを渡して終わります。\n"
        "\n"
        "オプション:\n"
        "  -h, --help     この説明を表示して終わります。\n"
        "  -v, --version  バージョンを表示して終わります。\n"
        "  --             これより後をオプションではなくファイル名として読みます\n"
        "                 （「-」で始まるファイル名のとき）。\n");
}

QString VersionText() {
    return QStringLiteral("kardeon %1\n").arg(ProgramVersion());
}

QString CommandLineErrorText(const CommandLine &line) {
    return QStringLiteral("kardeon: %1\n使い方は kardeon --help で表示します。\n")
        .arg(line.message);
}
