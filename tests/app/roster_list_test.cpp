// The character list: filled from the roster after the scan, and the name editor.
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "app/log_view.h"
#include "app/window_fixture.h"

namespace lw::test {
namespace {

class RosterList : public WindowTest {
  protected:
    // A later start over a game folder with three characters, the second of them named.
    void openThree() {
        for (const char* c : {"Char1", "Char2", "Char3"}) {
            addCharacter("acc", c);
        }
        writeLaterStart(
            "[Charcount]\nChars=3\n[Char1]\nChars=Char1,acc,\n[Char2]\nChars=Char2,acc,Trader\n"
            "[Char3]\nChars=Char3,acc,\n");
        open();
        showActive();
    }
    void rename(const QString& name) {
        form->edCharname->setText(name);
        form->btnCharname->click();
    }
};

TEST_F(RosterList, ShowsNamesOrFolderNamesThenAlleWithNothingSelected) {
    openThree();
    EXPECT_EQ(entries(), (std::vector<std::string>{"Char1", "Trader", "Char3", "Alle"}));
    EXPECT_TRUE(form->ListChars->selectedItems().isEmpty());
}

TEST_F(RosterList, StoredCharactersComeFirstThenNewOnesInSearchOrder) {
    addCharacter("accB", "Zed");
    addCharacter("accA", "Young");
    addCharacter("accA", "Old");
    writeLaterStart("[Charcount]\nChars=1\n[Char1]\nChars=Zed,accB,Boss\n");
    open();
    EXPECT_EQ(entries(), (std::vector<std::string>{"Boss", "Old", "Young", "Alle"}));
    form->Beenden1->trigger();
    EXPECT_NE(settingsText().find("[Char3]\nChars=Young,accA,\n"), std::string::npos);
}

TEST_F(RosterList, EmptyGameFolderListsOnlyAlle) {
    writeLaterStart();
    open();
    EXPECT_EQ(entries(), std::vector<std::string>{"Alle"});
}

TEST_F(RosterList, NamingAnUnnamedCharacterRenamesItInPlace) {
    openThree();
    click(0);
    ASSERT_TRUE(form->nameEditorShown());
    EXPECT_TRUE(form->btnCharname->isEnabled());
    form->edCharname->setFocus();
    form->edCharname->setText("Crafter");
    QTest::keyClick(form->edCharname, Qt::Key_Return);  // Enter presses "Ok"
    EXPECT_EQ(entries()[0], "Crafter");
    EXPECT_EQ(form->Characters[0].Name, "Crafter");
    EXPECT_TRUE(form->ListChars->item(0)->isSelected());
    EXPECT_FALSE(form->nameEditorShown());
    EXPECT_FALSE(form->btnCharname->isEnabled());
    click(0);
    EXPECT_FALSE(form->nameEditorShown());
    EXPECT_EQ(form->edCharname->text(), "Crafter");  // the box keeps what was typed
}

TEST_F(RosterList, EditorRuleFollowsTheEntryText) {
    struct Case {
        const char* name;
        QString newName;
        bool offeredAgain;
        const char* entry;
    };
    const Case cases[] = {
        {"name equal to the folder", "Char3", true, "Char3"},
        {"name differing in case", "char3", false, "char3"},
        {"empty name", "", false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        openThree();
        click(2);
        ASSERT_TRUE(form->nameEditorShown());
        rename(c.newName);
        EXPECT_EQ(entries()[2], c.entry);
        click(2);
        EXPECT_EQ(form->nameEditorShown(), c.offeredAgain);
        form.reset();
    }
}

TEST_F(RosterList, OkWithoutTypingGivesTheNextCharacterTheSameName) {
    openThree();
    click(0);
    rename("Twin");
    click(2);
    ASSERT_TRUE(form->nameEditorShown());
    form->btnCharname->click();
    EXPECT_EQ(entries(), (std::vector<std::string>{"Twin", "Trader", "Twin", "Alle"}));
}

TEST_F(RosterList, NamedCharactersAndAlleHideTheEditor) {
    openThree();
    click(0);
    ASSERT_TRUE(form->nameEditorShown());
    click(1);  // "Trader" differs from its folder name
    EXPECT_FALSE(form->nameEditorShown());
    click(0);
    click(3);  // "Alle"
    EXPECT_FALSE(form->nameEditorShown());
}

TEST_F(RosterList, WindowsNamesAreShownDecodedAndSavedAsTheyWere) {
    addCharacter("acc", "Char1");
    writeLaterStart("[Charcount]\nChars=1\n[Char1]\nChars=Char1,acc,M\xfcller\n");
    open();
    EXPECT_EQ(form->ListChars->item(0)->text(), QString::fromUtf8("Müller"));
    click(0);
    EXPECT_EQ(form->MemoPlayershoplog->toPlainText(),
              QString::fromUtf8("Der Char Müller hat nichts verkauft"));
    form->Beenden1->trigger();
    EXPECT_NE(settingsText().find("Chars=Char1,acc,M\xfcller\n"), std::string::npos);
}

TEST_F(RosterList, EnterDoesNothingWhileTheEditorIsHidden) {
    openThree();
    click(1);
    form->edCharname->setText("Nope");
    QTest::keyClick(form->ListChars, Qt::Key_Return);
    EXPECT_EQ(entries()[1], "Trader");
}

}  // namespace
}  // namespace lw::test
