#include "view/hint_table.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

HintParts SplitHint(const QString &hint) {
    const qsizetype bar = hint.indexOf(u'|');
    HintParts parts;
    parts.toolTip = bar < 0 ? hint : hint.left(bar);
    parts.statusTip = bar < 0 ? hint : hint.mid(bar + 1);
    parts.toolTip.replace(u'\r', u'\n');
    return parts;
}

namespace {

QString CardBoxHint() {
    return QStringLiteral("内容を編集するには、枠内に書き込みます。\r\r削除するには、ｶｰｿﾙを置いた"
                          "状態で「Ctrl+D」、\r追加するには、ｶｰｿﾙを置いた状態で「Ctrl+N」、\rを"
                          "使います。|");
}

std::vector<HintEntry> ControlHints() {
    const QString arrow = QStringLiteral("ここをﾁｪｯｸすると、ｷｰﾎﾞｰﾄﾞの方向ｷｰを使った操作が\rでき"
                                         "るようになります（上・下・右・左）。\r左は、正解処理（で"
                                         "きた）を取り消します。|");
    const QString autoSave = QStringLiteral("保存の確認せずに、学習記録を自動で保存します。|");
    const QString record = QStringLiteral("これまでの正誤記録を表示しています。\r[　]内は、再出題"
                                          "されるまでの日数です。|");
    std::vector<HintEntry> hints{
        {QStringLiteral("btnSusume"),
         QStringLiteral("ここを押すと、次の問題や解答が表示されます。|")},
        {QStringLiteral("btnDekita"),
         QStringLiteral("正解だった場合、ここを押します。\r\r不正解だった場合はここを押さずに、次に"
                        "進みます。\r正解か不正解か（覚えていたかどうか）は自分で判断\rしてもらわ"
                        "なければなりません。\r\rここを押すと、ｶｰﾄﾞはﾁｪｯｸ状態となり、一定期間は出"
                        "\r題されなくなります。\r確実に記憶されるまでは、このﾎﾞﾀﾝを押さずに学習を"
                        "\r繰り返した方が良いと思われます。|")},
        {QStringLiteral("ArrowCheck"), arrow},
        {QStringLiteral("Edit_Yajirusi"), arrow},
        {QStringLiteral("Panel_Arrow"), arrow},
        {QStringLiteral("Num_Now"), QStringLiteral("現在の番号（ｻﾌﾞ画面では一番上）です。\r枠内は"
                                                   "、全問題数、再出題中の問題数です。|")},
        {QStringLiteral("SelectBox"), QStringLiteral("表示方法を指定します。\rメインでは一問ずつ、"
                                                     "サブでは数問ずつ表示されます。|")},
        {QStringLiteral("AutoSaveCheck"), autoSave},
        {QStringLiteral("Edit_AutoSave"), autoSave},
        {QStringLiteral("fBangou"), record},
        {QStringLiteral("fBangou2"), record},
        {QStringLiteral("AnswerBox"),
         QStringLiteral("答えを入力して Enter で確かめます。\r判定のあと Enter で次に進みます。"
                        "\rEsc で入力欄を離れると、方向キーが使えます。|")},
        {QStringLiteral("AcceptAsRight"),
         QStringLiteral("打ち間違いなどで不正解になったとき、正解にします（Ctrl+Enter）。|")},
        {QStringLiteral("DrillModeLabel"), QStringLiteral("出題の向きと答え方です。|")},
        {QStringLiteral("GridHyouji"),
         QStringLiteral("灰色は、出題されていません。\r白色は、出題されています。|")},
    };
    // The question, answer and reference boxes of all six rows explain editing alike.
    for (int kind = 1; kind <= 3; ++kind)
        for (int row = 0; row < 6; ++row)
            hints.push_back({QStringLiteral("CellMemo_%1_%2").arg(kind).arg(row), CardBoxHint()});
    for (int choice = 1; choice <= 4; ++choice)
        hints.push_back({QStringLiteral("Choice_%1").arg(choice),
                         QStringLiteral("この答えを選びます（キー %1）。|").arg(choice)});
    for (int row = 1; row < 6; ++row)
        hints.push_back({QStringLiteral("CellImage_1_%1").arg(row),
                         QStringLiteral("ドラッグすると大きさが変わります。|")});
    return hints;
}

std::vector<HintEntry> MenuHints() {
    std::vector<HintEntry> hints{
        {QStringLiteral("File1"), QStringLiteral("ファイル")},
        {QStringLiteral("men_File_Open"), QStringLiteral("問題ﾌｧｲﾙを開く")},
        {QStringLiteral("men_File_Save"), QStringLiteral("学習記録・編集内容などの保存")},
        {QStringLiteral("men_File_SaveAs"), QStringLiteral("別名保存")},
        {QStringLiteral("Exit1"), QStringLiteral("アプリケーション終了")},
        {QStringLiteral("men_Font"), QStringLiteral("フォント設定")},
    };
    for (int size : {9, 10, 12, 16, 24, 36})
        hints.push_back(
            {QStringLiteral("mem_Font_%1").arg(size), QStringLiteral("文字ｻｲｽﾞ%1").arg(size)});
    const std::vector<HintEntry> rest{
        {QStringLiteral("mem_Font_Left"), QStringLiteral("左揃え")},
        {QStringLiteral("mem_Font_Center"), QStringLiteral("中揃え")},
        {QStringLiteral("mem_Font_Setting"), QStringLiteral("フォントの詳細設定")},
        {QStringLiteral("mem_Font_Setting_MondaiKaitou"),
         QStringLiteral("問題と解答のフォントを設定")},
        {QStringLiteral("mem_Font_Setting_Mondai"), QStringLiteral("問題のフォントを設定")},
        {QStringLiteral("mem_Font_Setting_Kaitou"), QStringLiteral("解答のフォントを設定")},
        {QStringLiteral("men_Card"), QStringLiteral("ｶｰﾄﾞ操作")},
        {QStringLiteral("men_Card_Susume"), QStringLiteral("問題・解答を表示")},
        {QStringLiteral("men_Card_Dekita"), QStringLiteral("正解ならばﾁｪｯｸする")},
        {QStringLiteral("men_Card_Modoru"), QStringLiteral("最初のｶｰﾄﾞに戻る")},
        {QStringLiteral("men_Card_Delete"), QStringLiteral("ｶｰｿﾙ位置のｶｰﾄﾞ削除")},
        {QStringLiteral("men_Card_Insert"), QStringLiteral("ｶｰｿﾙ位置にｶｰﾄﾞ追加")},
        {QStringLiteral("men_Card_Find"), QStringLiteral("一覧でｶｰﾄﾞを検索")},
        {QStringLiteral("men_Card_Undo"), QStringLiteral("削除したｶｰﾄﾞを元に戻す")},
        {QStringLiteral("men_Other"), QStringLiteral("アプリケーション設定")},
        {QStringLiteral("men_Other_Speak"), QStringLiteral("espeak-ng による音声再生")},
        {QStringLiteral("men_Other_SpeakMondai"), QStringLiteral("問題の発音を聞く")},
        {QStringLiteral("men_Other_SpeakKaitou"), QStringLiteral("解答の発音を聞く")},
        {QStringLiteral("men_Other_SpeakSetting"), QStringLiteral("発音の詳細設定")},
        {QStringLiteral("men_Set_jyun"), QStringLiteral("出題の順序を設定")},
        {QStringLiteral("men_Set_jyunNormal"), QStringLiteral("前から後に出題")},
        {QStringLiteral("men_Set_jyunRandom"), QStringLiteral("ランダムに出題")},
        {QStringLiteral("men_Set_Direction"), QStringLiteral("問題と解答のどちらを出題するか")},
        {QStringLiteral("men_Set_DirectionForward"), QStringLiteral("問題を見て解答を答える")},
        {QStringLiteral("men_Set_DirectionReverse"), QStringLiteral("解答を見て問題を答える")},
        {QStringLiteral("men_Set_DirectionToggle"), QStringLiteral("出題の向きを入れ替える")},
        {QStringLiteral("men_Set_AnswerMode"), QStringLiteral("答え方を選ぶ")},
        {QStringLiteral("men_Set_AnswerMode0"),
         QStringLiteral("答えを見て、できたかどうかを自分で判定する")},
        {QStringLiteral("men_Set_AnswerMode1"), QStringLiteral("答えを入力して確かめる")},
        {QStringLiteral("men_Set_AnswerMode2"), QStringLiteral("4つの中から答えを選ぶ")},
        {QStringLiteral("men_Set_AnswerKanaSame"),
         QStringLiteral("入力した答えのひらがなとカタカナを同じものとみなす")},
        {QStringLiteral("men_Other_Study"),
         QStringLiteral("1日の新しいカードの数と、出題の間隔の決め方を設定")},
        {QStringLiteral("men_Keisan"), QStringLiteral("すべての問題に対して計算")},
        {QStringLiteral("mem_Keisan_RefreshCard"), QStringLiteral("再出題までの時間をリセット")},
        {QStringLiteral("men_Keisan_Progress"), QStringLiteral("学習状況と苦手なカードを表示")},
        {QStringLiteral("men_Help"), QStringLiteral("ﾍﾙﾌﾟ")},
        {QStringLiteral("men_Help_Comment"), QStringLiteral("ｶｰｿﾙ位置にﾍﾙﾌﾟｺﾒﾝﾄ表示")},
        {QStringLiteral("men_Help_topic"), QStringLiteral("ﾍﾙﾌﾟﾌｧｲﾙを開く")},
        {QStringLiteral("men_Help_Version"), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報")},
    };
    hints.insert(hints.end(), rest.begin(), rest.end());
    return hints;
}

void ApplyHint(QObject *target, const HintParts &parts) {
    if (auto *action = qobject_cast<QAction *>(target)) {
        action->setStatusTip(parts.statusTip);
        return;
    }
    // A menu's hint belongs to its entry in the menu above; the list itself has none.
    if (qobject_cast<QMenu *>(target))
        return;
    if (auto *widget = qobject_cast<QWidget *>(target)) {
        widget->setToolTip(parts.toolTip);
        widget->setStatusTip(parts.statusTip);
        widget->setToolTipDuration(ToolTipMillis);
    }
}

} // namespace

const std::vector<HintEntry> &MainWindowHints() {
    static const std::vector<HintEntry> hints = [] {
        std::vector<HintEntry> all = ControlHints();
        const std::vector<HintEntry> menus = MenuHints();
        all.insert(all.end(), menus.begin(), menus.end());
        return all;
    }();
    return hints;
}

const std::vector<HintEntry> &AddDialogHints() {
    static const std::vector<HintEntry> hints{
        {QStringLiteral("form3_Mondai"), QStringLiteral("追加する問題や解答を入力します。\r省略し"
                                                        "て、後から入力することもできます。|")},
        {QStringLiteral("form3_Kaitou"), QStringLiteral("追加する問題や解答を入力します。\r省略し"
                                                        "て、後から入力することもできます。|")},
        {QStringLiteral("form3_RadioTuika"),
         QStringLiteral("例えば、「最初」を選ぶと、ﾌｧｲﾙの先頭にｶｰﾄﾞ\rを追加します。\r「現在」で"
                        "は、現在ｶｰｿﾙのあるｶｰﾄﾞの１枚前に\rに追加します。|")},
        {QStringLiteral("form3_CheckIdou"),
         QStringLiteral("OKで確定した後、追加されたｶｰﾄﾞに表示が移動します。|")},
        {QStringLiteral("form3_CheckIME"), QStringLiteral("問題入力欄では英語のIMEﾓｰﾄﾞとなります。"
                                                          "\r解答入力欄では日本語のIMEﾓｰﾄﾞとなりま"
                                                          "す。|")},
        {QStringLiteral("form3_CheckClip"),
         QStringLiteral("このﾀﾞｲｱﾛｸﾞが開かれる直前、ｸﾘｯﾌﾟﾎﾞｰﾄﾞの内容が、\r自動的に問題入力欄に"
                        "入ります。|")},
        {QStringLiteral("form3_CheckEnter"),
         QStringLiteral("ここをﾁｪｯｸすると、EnterｷｰでOKとなります。|")},
    };
    return hints;
}

QStringList ApplyHints(QObject &root, const std::vector<HintEntry> &table) {
    QStringList missing;
    for (const HintEntry &entry : table) {
        QList<QObject *> targets = root.findChildren<QObject *>(entry.name);
        if (root.objectName() == entry.name)
            targets.prepend(&root);
        if (targets.isEmpty())
            missing.append(entry.name);
        const HintParts parts = SplitHint(entry.text);
        for (QObject *target : targets)
            ApplyHint(target, parts);
    }
    return missing;
}
