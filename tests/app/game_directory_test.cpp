// Choosing the game directory: at the first start and through the menu.
#include <QCoreApplication>
#include <QFileDialog>
#include <QListWidget>
#include <QTimer>

#include "app/log_view.h"
#include "app/window_fixture.h"
#include "support/faulty_file_system.h"

namespace lw::test {
namespace {

using GameDirectory = WindowTest;

QString exeIn(const std::string& folder) {
    return QString::fromStdString(folder + "Anarchy.exe");
}

TEST_F(GameDirectory, FirstRunPickIsStoredAtOnceAndScanned) {
    addCharacter("acc1", "Char11111111");
    dialogs.picks.push_back(exeIn(gameDir()));
    open();
    EXPECT_EQ(form->AODir, gameDir());
    EXPECT_EQ(settingsText(), "[AnarchyOnline]\nVerzeichnis=" + gameDir() + "\n");
    EXPECT_EQ(entries(), (std::vector<std::string>{"Char11111111", "Alle"}));
    EXPECT_EQ(dialogs.messages.size(), 1u);
}

TEST_F(GameDirectory, FailingFirstRunWriteLeavesNoDirectory) {
    addCharacter("acc1", "Char1");
    dialogs.picks.push_back(exeIn(gameDir()));
    FaultyFileSystem fs;
    fs.writesLeft = 0;
    open(fs);
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_TRUE(dialogs.errors[0].startsWith("Unable to write to "));
    EXPECT_EQ(form->AODir, "");
    EXPECT_EQ(form->ListChars->count(), 0);
}

TEST_F(GameDirectory, MenuCancelSaysSoOnlyWithoutADirectory) {
    dialogs.picks.push_back(QString());
    dialogs.picks.push_back(QString());
    open();  // first run, cancelled
    dialogs.messages.clear();
    form->AnarchyOnlineVerzeichnis1->trigger();
    EXPECT_EQ(dialogs.messages,
              std::vector<QString>{QString::fromUtf8(
                  "Es ist noch kein Anarchy Online-Verzeichnis festgelegt worden.")});

    form.reset();
    writeLaterStart();
    open();
    dialogs.messages.clear();
    dialogs.picks.push_back(QString());
    form->AnarchyOnlineVerzeichnis1->trigger();
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(form->AODir, gameDir());
}

TEST_F(GameDirectory, SecondDirectoryKeepsKnownCharactersAheadAndTheViewAsItWas) {
    addCharacter("acc", "Old1");
    addCharacter("acc", "Old2");
    addShopLog("acc", "Old1", "sold 5\r\n");
    dir.write("other/Prefs/acc/New1/prefs.xml");
    dir.write("other/Prefs/acc/Old2/prefs.xml");
    writeLaterStart("[Charcount]\nChars=1\n[Char1]\nChars=Old1,acc,Veteran\n");
    open();
    click(0);
    const std::vector<std::string> shown = viewLines();

    const std::string other = (dir.path() / "other" / "").string();
    dialogs.picks.push_back(exeIn(other));
    form->AnarchyOnlineVerzeichnis1->trigger();
    EXPECT_EQ(form->AODir, other);
    EXPECT_EQ(entries(), (std::vector<std::string>{"Veteran", "Old2", "New1", "Alle"}));
    EXPECT_TRUE(form->ListChars->selectedItems().isEmpty());
    EXPECT_EQ(viewLines(), shown);
    EXPECT_EQ(form->SelIndex, 0);
    // Nothing is written until the window closes.
    EXPECT_EQ(settingsText().find(other), std::string::npos);

    dialogs.picks.push_back(exeIn(other));
    form->AnarchyOnlineVerzeichnis1->trigger();
    EXPECT_EQ(form->CharCount, 3);
}

TEST_F(GameDirectory, CloseAndAnotherPickWaitForTheRunningScan) {
    addCharacter("acc", "First");
    writeLaterStart();
    open();
    showActive();
    addCharacter("acc", "Second");
    // Both arrive while the scan lets waiting events run.
    QTimer::singleShot(0, form.get(), [this] {
        form->AnarchyOnlineVerzeichnis1->trigger();
        form->close();
        EXPECT_TRUE(form->isVisible());
    });
    dialogs.picks.push_back(exeIn(gameDir()));
    form->AnarchyOnlineVerzeichnis1->trigger();
    EXPECT_EQ(dialogs.dialogOpenings, 1);
    EXPECT_EQ(entries(), (std::vector<std::string>{"First", "Second", "Alle"}));
    QCoreApplication::processEvents();
    EXPECT_FALSE(form->isVisible());
    EXPECT_NE(settingsText().find("Chars=Second,acc,\n"), std::string::npos);
}

TEST_F(GameDirectory, TypedNamesThatDoNotExistAreTaken) {
    writeLaterStart();
    open();
    const std::string nowhere = (dir.path() / "no" / "such" / "").string();
    dialogs.picks.push_back(exeIn(nowhere));
    form->AnarchyOnlineVerzeichnis1->trigger();
    EXPECT_EQ(form->AODir, nowhere);
    EXPECT_EQ(entries(), std::vector<std::string>{"Alle"});
    EXPECT_TRUE(dialogs.errors.empty());
}

TEST_F(GameDirectory, NextOpeningStartsAtTheLastPick) {
    addCharacter("acc", "Char1");
    writeLaterStart();
    open();
    dialogs.picks.push_back(exeIn(gameDir()));
    form->AnarchyOnlineVerzeichnis1->trigger();
    EXPECT_EQ(form->OpenDialog1->directory().absolutePath().toStdString() + "/", gameDir());
    EXPECT_EQ(form->OpenDialog1->selectedFiles(), QStringList{exeIn(gameDir())});
}

TEST_F(GameDirectory, PickInTheTopFolder) {
    writeLaterStart();
    open();
    dialogs.picks.push_back(QStringLiteral("/Anarchy.exe"));
    form->AnarchyOnlineVerzeichnis1->trigger();
    EXPECT_EQ(form->AODir, "/");
}

}  // namespace
}  // namespace lw::test
