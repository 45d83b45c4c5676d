// The menus as the user knows them: every owner adds its items in the place, with the name,
// the caption and the key the window always had.
#include "support/window_fixture.h"

#include <QAction>
#include <QMenu>

#include <vector>

namespace {

using MenuLayout = WindowTest;

// The object names of a menu's items in order; an unnamed separator shows as "-".
QStringList ItemNames(const QMenu *menu) {
    QStringList names;
    for (const QAction *action : menu->actions())
        names << (action->objectName().isEmpty() ? QStringLiteral("-") : action->objectName());
    return names;
}

TEST_F(MenuLayout, EveryMenuListsItsItemsInTheirPlace) {
    const struct {
        const char *menu;
        std::vector<const char *> items;
    } menus[] = {
        {"File1",
         {"men_File_Open", "men_File_Save", "men_File_SaveAs", "N1", "N2", "men_File_1",
          "men_File_2", "men_File_3", "men_File_4", "men_File_5", "N3", "men_File_Exchange", "-",
          "Exit1"}},
        {"men_Font",
         {"mem_Font_9", "mem_Font_10", "mem_Font_12", "mem_Font_16", "mem_Font_24", "mem_Font_36",
          "N4", "mem_Font_Left", "mem_Font_Center", "N5", "mem_Font_Setting"}},
        {"mem_Font_Setting",
         {"mem_Font_Setting_MondaiKaitou", "mem_Font_Setting_Mondai", "mem_Font_Setting_Kaitou"}},
        {"men_Card",
         {"men_Card_Susume", "men_Card_Dekita", "men_Card_Modoru", "N6", "men_Card_Delete",
          "men_Card_Insert", "N_Find", "men_Card_Find", "men_Card_Undo"}},
        {"men_Other_Speak",
         {"men_Other_SpeakMondai", "men_Other_SpeakKaitou", "men_Other_SpeakSetting"}},
        {"men_Set_jyun", {"men_Set_jyunNormal", "men_Set_jyunRandom"}},
        {"men_Keisan", {"mem_Keisan_RefreshCard", "men_Keisan_Progress"}},
        {"men_Help", {"men_Help_Comment", "men_Help_topic", "men_Help_Version"}},
        {"PopupMenu1",
         {"pop_Undo", "pop_Cut", "pop_Copy", "pop_Paste", "N7", "pop_Tuika", "pop_Sakujo", "N8",
          "pop_SetSiori", "pop_MoveSiori", "pop_DelSiori"}},
    };
    for (const auto &expected : menus) {
        const auto *menu = Find<QMenu>(expected.menu);
        ASSERT_NE(menu, nullptr) << expected.menu;
        QStringList items;
        for (const char *item : expected.items)
            items << QString::fromLatin1(item);
        EXPECT_EQ(ItemNames(menu), items) << expected.menu;
    }
    // The settings menu: speech and the order first, the study settings last.
    const QStringList settings = ItemNames(Find<QMenu>("men_Other"));
    ASSERT_GE(settings.size(), 3);
    EXPECT_EQ(settings.mid(0, 2),
              QStringList({QStringLiteral("men_Other_Speak"), QStringLiteral("men_Set_jyun")}));
    EXPECT_EQ(settings.last(), QStringLiteral("men_Other_Study"));
}

TEST_F(MenuLayout, ItemsKeepTheirCaptionsKeysAndTicks) {
    const struct {
        const char *item;
        const char16_t *caption;
        QKeySequence key;
        int checked; // -1: not checkable
    } items[] = {
        {"men_File_Open", u"開く(&O)...", QKeySequence(Qt::CTRL | Qt::Key_O), -1},
        {"men_File_Save", u"上書き保存(&S)", QKeySequence(Qt::CTRL | Qt::Key_S), -1},
        {"Exit1", u"終了(&X)", QKeySequence(Qt::CTRL | Qt::Key_Q), -1},
        {"mem_Font_12", u"12", {}, 1},
        {"mem_Font_Center", u"中揃え", {}, 1},
        {"mem_Font_Left", u"左揃え", {}, 0},
        {"men_Card_Susume", u"すすめ", {}, -1},
        {"men_Card_Modoru", u"最初にもどる", {}, -1},
        {"men_Card_Delete", u"カード削除", QKeySequence(Qt::CTRL | Qt::Key_D), -1},
        {"men_Card_Insert", u"カード追加...", QKeySequence(Qt::CTRL | Qt::Key_N), -1},
        {"men_Card_Find", u"検索...", QKeySequence(Qt::CTRL | Qt::Key_F), -1},
        {"men_Card_Undo", u"元に戻す", QKeySequence(Qt::CTRL | Qt::Key_Z), -1},
        {"men_Set_jyunNormal", u"ノーマル", {}, 1},
        {"men_Set_jyunRandom", u"ランダム", {}, 0},
        {"mem_Keisan_RefreshCard", u"すべてを復習対象に...", {}, -1},
        {"men_Help_Comment", u"ﾍﾙﾌﾟｺﾒﾝﾄ表示", {}, 1},
        {"men_Help_topic", u"ﾄﾋﾟｯｸの検索", QKeySequence(Qt::Key_F1), -1},
        {"pop_MoveSiori", u"しおりへ移動\tCtrl+↑", {}, -1},
    };
    for (const auto &expected : items) {
        const auto *action = Find<QAction>(expected.item);
        ASSERT_NE(action, nullptr) << expected.item;
        EXPECT_EQ(action->text(), QString::fromUtf16(expected.caption)) << expected.item;
        EXPECT_EQ(action->shortcut(), expected.key) << expected.item;
        EXPECT_EQ(action->isCheckable() ? int(action->isChecked()) : -1, expected.checked)
            << expected.item;
    }
}

} // namespace
