// The start-up sequence, the close sequence and what they leave in the settings file.
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "app/spin_edit.h"
#include "app/window_fixture.h"
#include "support/faulty_file_system.h"

namespace lw::test {
namespace {

const QString kNoDirYet = QString::fromUtf8(
    "Sie haben noch kein Anarchy Online Verzeichnis ausgewählt, bitte holen Sie das nach");

std::string paddedZero() {
    return std::string(99, ' ') + "0 Credits";
}

std::string caption(const QLabel* label) {
    return label->text().toStdString();
}

using StartUp = WindowTest;

TEST_F(StartUp, NoSettingsFileIsAFirstRunAndACancelLeavesEverythingEmpty) {
    dialogs.picks.push_back(QString());
    open();
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0],
              QString::fromUtf8("Bitte wählen Sie das Anarchy Online Verzeichnis aus"));
    EXPECT_EQ(dialogs.messages[1],
              QString::fromUtf8("Sie haben kein Verzeichnis angegeben, bitte wählen sie über "
                                "den Punkt Optionen ein Verzeichnis aus"));
    EXPECT_EQ(form->ListChars->count(), 0);
    EXPECT_EQ(form->SpinOrgsteuer->text(), "0");
    for (const QLabel* l : {form->LEinnahmen, form->LAndieorg, form->LGewinn}) {
        EXPECT_EQ(caption(l), "0 Credits");
    }
    EXPECT_EQ(settingsText(), "<missing>");  // a cancelled pick writes nothing

    form->Beenden1->trigger();
    EXPECT_EQ(settingsText(),
              "[ProgrammIntern]\nFirstrun=0\n[Charcount]\nChars=0\n[AnarchyOnline]\n"
              "Orgsteuer=0\nVerzeichnis=\n");

    form.reset();
    dialogs.messages.clear();
    open();
    EXPECT_EQ(dialogs.messages, std::vector<QString>{kNoDirYet});
    EXPECT_EQ(dialogs.dialogOpenings, 1);
    EXPECT_EQ(form->ListChars->count(), 0);
}

TEST_F(StartUp, LaterStartReadsRosterNamesAndRateAndWritesThemBackInOrder) {
    addCharacter("acc1", "Char11111111");
    writeLaterStart(
        "Orgsteuer=25\n[Charcount]\nChars=2\n[Char1]\nChars=Char11111111,acc1,\n"
        "[Char2]\nChars=Gone,acc2,Bob, the seller\n");
    open();
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(dialogs.errors.empty());
    EXPECT_EQ(entries(), (std::vector<std::string>{"Char11111111", "Bob, the seller", "Alle"}));
    EXPECT_EQ(form->OrgTaxPercent, 25);
    EXPECT_EQ(form->SpinOrgsteuer->text(), "25");
    // The rate changed the field's text, so the amounts were computed for the empty view.
    for (const QLabel* l : {form->LEinnahmen, form->LAndieorg, form->LGewinn}) {
        EXPECT_EQ(caption(l), paddedZero());
    }

    form->Beenden1->trigger();
    EXPECT_EQ(settingsText(),
              "[ProgrammIntern]\nFirstrun=0\n[AnarchyOnline]\nVerzeichnis=" + gameDir() +
                  "\nOrgsteuer=25\n[Charcount]\nChars=2\n[Char1]\nChars=Char11111111,acc1,\n"
                  "[Char2]\nChars=Gone,acc2,Bob, the seller\n");
}

TEST_F(StartUp, StoredRatesOutsideTheRangeUseWhatTheFieldShows) {
    struct Case {
        const char* stored;
        const char* shown;
        int rate;
        bool recomputed;
    };
    const Case cases[] = {
        {"0", "0", 0, false},
        {"20", "20", 20, true},
        {"150", "100", 100, true},
        {"-5", "0", 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        writeLaterStart(std::string("Orgsteuer=") + c.stored + "\n");
        open();
        EXPECT_EQ(form->SpinOrgsteuer->text().toStdString(), c.shown);
        EXPECT_EQ(form->OrgTaxPercent, c.rate);
        EXPECT_EQ(caption(form->LGewinn), c.recomputed ? paddedZero() : "0 Credits");
        EXPECT_TRUE(dialogs.errors.empty());
        form.reset();
    }
}

TEST_F(StartUp, StoredRateWithoutGameDirectoryGivesZeroAmountsWithoutError) {
    writeSettings("[ProgrammIntern]\nFirstrun=0\n[AnarchyOnline]\nVerzeichnis=\nOrgsteuer=20\n");
    open();
    EXPECT_EQ(dialogs.messages, std::vector<QString>{kNoDirYet});
    EXPECT_TRUE(dialogs.errors.empty());
    EXPECT_EQ(form->OrgTaxPercent, 20);
    EXPECT_EQ(caption(form->LEinnahmen), paddedZero());
}

TEST_F(StartUp, ErrorsEndTheSequenceAndTheWindowStillOpens) {
    struct Case {
        const char* name;
        const char* extra;
        const char* error;
        std::size_t listCount;
        const char* spin;
    };
    const Case cases[] = {
        {"bad count", "Orgsteuer=30\n[Charcount]\nChars=abc\n",
         "'abc' is not a valid integer value.", 0, "0"},
        {"bad rate", "Orgsteuer=1.5\n", "'1.5' is not a valid integer value.", 1, "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeLaterStart(c.extra);
        open();
        EXPECT_EQ(dialogs.errors, std::vector<QString>{QString::fromUtf8(c.error)});
        EXPECT_EQ(static_cast<std::size_t>(form->ListChars->count()), c.listCount);
        EXPECT_EQ(form->SpinOrgsteuer->text().toStdString(), c.spin);
        EXPECT_EQ(form->OrgTaxPercent, 0);
        form.reset();
        dialogs.errors.clear();
    }
}

TEST_F(StartUp, DamagedCharacterLinesAreReadAsFarAsTheyGo) {
    writeLaterStart(
        "Orgsteuer=5\n[Charcount]\nChars=4\n[Char1]\nChars=Alpha\n[Char2]\nChars=,acc,Nobody\n"
        "[Char4]\nChars=Delta,acc2\n");
    open();
    EXPECT_TRUE(dialogs.errors.empty());
    EXPECT_EQ(entries(), (std::vector<std::string>{"Alpha", "Delta", "Alle"}));
    EXPECT_EQ(form->CharCount, 2);
    EXPECT_EQ(form->OrgTaxPercent, 5);
}

using Close = WindowTest;

TEST_F(Close, CloseBoxAndMenuWriteTheSameFile) {
    writeLaterStart("Orgsteuer=7\n");
    open();
    form->Beenden1->trigger();
    const std::string byMenu = settingsText();
    form.reset();

    writeLaterStart("Orgsteuer=7\n");
    open();
    form->show();
    EXPECT_TRUE(form->close());
    EXPECT_EQ(settingsText(), byMenu);
}

TEST_F(Close, AFailingWriteKeepsTheWindowOpenAndTheEarlierKeys) {
    addCharacter("acc", "Newbie");
    writeLaterStart("Orgsteuer=7\n");
    FaultyFileSystem fs;
    open(fs);
    form->show();
    form->SpinOrgsteuer->setValue(9);
    // The flag is unchanged and needs no write; the count reaches the file, the line does not.
    fs.writesLeft = 1;
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    const std::string path = exeFolder() + "/LedgerwickCfg.ini";
    EXPECT_EQ(dialogs.errors,
              std::vector<QString>{QString::fromStdString("Unable to write to " + path + ".")});
    EXPECT_EQ(settingsText(), "[ProgrammIntern]\nFirstrun=0\n[AnarchyOnline]\nVerzeichnis=" +
                                  gameDir() + "\nOrgsteuer=7\n[Charcount]\nChars=1\n");

    fs.writesLeft = -1;  // the user closes again once the disk is back
    EXPECT_TRUE(form->close());
    EXPECT_NE(settingsText().find("Chars=Newbie,acc,\n"), std::string::npos);
    EXPECT_NE(settingsText().find("Orgsteuer=9\n"), std::string::npos);
}

TEST_F(Close, SessionEndSavesWhatThisRunGathered) {
    addCharacter("acc", "Newbie");
    writeLaterStart();
    open();
    form->SpinOrgsteuer->setValue(12);
    form->saveAtSessionEnd();
    EXPECT_NE(settingsText().find("Chars=Newbie,acc,\n"), std::string::npos);
    EXPECT_NE(settingsText().find("Orgsteuer=12\n"), std::string::npos);
    EXPECT_NE(settingsText().find("Firstrun=0\n"), std::string::npos);
}

}  // namespace
}  // namespace lw::test
