// A click in the list: the shop log in the view, the sums and the amounts.
#include <filesystem>

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "app/spin_edit.h"
#include "app/window_fixture.h"
#include "support/faulty_file_system.h"

namespace lw::test {
namespace {

// An amount caption as the window shows it under the C locale (tests run under it).
std::string amount(long long value) {
    std::string digits = std::to_string(value < 0 ? -value : value);
    for (auto i = static_cast<long long>(digits.size()) - 3; i > 0; i -= 3) {
        digits.insert(static_cast<std::size_t>(i), ",");
    }
    if (value < 0) {
        digits.insert(0, "-");
    }
    return std::string(100 - digits.size(), ' ') + digits + " Credits";
}

class ShopLogView : public WindowTest {
  protected:
    // Two characters of one account; "Seller" has a shop log, "Idle" has none.
    void openShop(std::string_view log, const FileSystem& fs = platformFileSystem()) {
        addCharacter("acc", "Seller");
        addCharacter("acc", "Idle");
        addShopLog("acc", "Seller", log);
        writeLaterStart("Orgsteuer=10\n");
        open(fs);
        form->show();
        ASSERT_EQ(entries(), (std::vector<std::string>{"Idle", "Seller", "Alle"}));
    }
    std::array<std::string, 3> captions() const {
        return {form->LEinnahmen->text().toStdString(), form->LAndieorg->text().toStdString(),
                form->LGewinn->text().toStdString()};
    }
    std::array<std::string, 3> amounts(long long income, long long share, long long profit) {
        return {amount(income), amount(share), amount(profit)};
    }
};

TEST_F(ShopLogView, CharacterLogIsCleanedShownAndSummed) {
    openShop(
        "<div indent=wrapped>Sold Ring for 1000 credits</div>\r\n"
        "<DIV indent=wrapped>kept 500</DIV>\r\n"
        "</<div indent=wrapped>div>\r\n"
        "no digits here\r\n");
    click(1);
    EXPECT_EQ(viewLines(), (std::vector<std::string>{"Sold Ring for 1000 credits",
                                                     "<DIV indent=wrapped>kept 500</DIV>", "",
                                                     "no digits here"}));
    EXPECT_EQ(form->logLines().size(), 4u);
    EXPECT_EQ(captions(), amounts(1500, 150, 1350));
    EXPECT_TRUE(form->nameEditorShown());
    EXPECT_EQ(form->SelIndex, 1);
}

TEST_F(ShopLogView, CharacterWithoutLogGetsTheMessageLineAndZeroAmounts) {
    openShop("x 5\n");
    click(1);
    click(0);
    EXPECT_EQ(viewLines(), std::vector<std::string>{"Der Char Idle hat nichts verkauft"});
    EXPECT_EQ(captions(), amounts(0, 0, 0));

    // A folder of that name is no shop log.
    dir.mkdir("game/Prefs/acc/Idle/Playershoplog.html");
    click(0);
    EXPECT_EQ(viewLines(), std::vector<std::string>{"Der Char Idle hat nichts verkauft"});
}

TEST_F(ShopLogView, EmptyEntryTextGivesTwoBlanksInTheMessage) {
    openShop("");
    click(0);
    form->edCharname->clear();
    form->btnCharname->click();
    click(0);
    EXPECT_EQ(viewLines(), std::vector<std::string>{"Der Char  hat nichts verkauft"});
}

TEST_F(ShopLogView, EmptyLogShowsNothingAndZero) {
    openShop("");
    click(1);
    EXPECT_TRUE(form->logLines().empty());
    EXPECT_EQ(captions(), amounts(0, 0, 0));
}

TEST_F(ShopLogView, AlleShowsEveryLogBelowPrefsInSearchOrder) {
    addShopLog("acc", "Idle", "idle 1\n");
    dir.write("game/Prefs/acc/Char0/Playershoplog.html", "zero 100\n");
    openShop("seller 10\n");
    click(2);
    EXPECT_EQ(viewLines(), (std::vector<std::string>{"zero 100", "idle 1", "seller 10"}));
    EXPECT_EQ(captions(), amounts(111, 11, 100));
    EXPECT_FALSE(form->nameEditorShown());
}

TEST_F(ShopLogView, CharacterNamedAlleShowsAllLogs) {
    addShopLog("acc", "Idle", "idle 1\n");
    openShop("seller 10\n");
    click(0);
    form->edCharname->setText("Alle");
    form->btnCharname->click();
    click(0);
    EXPECT_EQ(viewLines(), (std::vector<std::string>{"idle 1", "seller 10"}));
    EXPECT_FALSE(form->nameEditorShown());
}

TEST_F(ShopLogView, ClickingTheSameEntryAgainShowsItsLinesOnce) {
    openShop("a 1\nb 2\n");
    click(1);
    click(1);
    EXPECT_EQ(viewLines(), (std::vector<std::string>{"a 1", "b 2"}));
    // The log is read afresh on each click.
    addShopLog("acc", "Seller", "a 1\nb 2\nc 3\n");
    click(1);
    EXPECT_EQ(viewLines().size(), 3u);
}

TEST_F(ShopLogView, OneRunPerClickAndPerKeyboardMove) {
    FaultyFileSystem fs;
    openShop("a 1\n", fs);
    click(1);
    EXPECT_EQ(fs.reads, 1);  // a click that changes the selection
    click(1);
    EXPECT_EQ(fs.reads, 2);  // a click on the entry already selected
    QTest::keyClick(form->ListChars, Qt::Key_Down);
    EXPECT_EQ(form->SelIndex, 2);
    EXPECT_EQ(viewLines(), std::vector<std::string>{"a 1"});  // "Alle" holds the one log
    EXPECT_EQ(fs.reads, 3);
}

TEST_F(ShopLogView, UnreadableLogShowsTheErrorAndAnEmptyView) {
    FaultyFileSystem fs;
    fs.unreadable = "Seller";
    openShop("a 1\n", fs);
    click(0);
    const auto before = captions();
    click(1);
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_TRUE(dialogs.errors[0].startsWith("Cannot open file \""));
    EXPECT_TRUE(form->logLines().empty());
    EXPECT_EQ(form->SelIndex, 1);
    EXPECT_EQ(captions(), before);
    EXPECT_TRUE(form->nameEditorShown());  // the earlier state stays

    click(2);  // one unreadable file ends "Alle" too
    EXPECT_EQ(dialogs.errors.size(), 2u);
    EXPECT_TRUE(form->logLines().empty());
    EXPECT_FALSE(form->nameEditorShown());
}

TEST_F(ShopLogView, TooLargeCreditRunShowsTheErrorAndKeepsTheLines) {
    openShop("ok 5\nbig 2147483648\n");
    click(0);
    const auto before = captions();
    click(1);
    EXPECT_EQ(dialogs.errors, std::vector<QString>{"'2147483648' is not a valid integer value."});
    EXPECT_EQ(viewLines().size(), 2u);
    EXPECT_EQ(captions(), before);
    EXPECT_TRUE(form->nameEditorShown());  // as "Idle" left it: no rule after a failed sum
}

TEST_F(ShopLogView, TotalsAboveTheIntegerLimitAreExact) {
    openShop("a 2147483647\nb 2147483647\n");
    form->SpinOrgsteuer->setValue(0);
    click(1);
    EXPECT_EQ(form->LEinnahmen->text().trimmed().toStdString(), "4,294,967,294 Credits");
}

TEST_F(ShopLogView, TaxRateRecomputesFromTheLinesInView) {
    openShop("sold 250\n");
    click(1);
    QSignalSpy changes(form->SpinOrgsteuer, &TSpinEdit::textChanged);
    form->SpinOrgsteuer->lineEdit()->clear();
    EXPECT_EQ(captions(), amounts(250, 0, 250));  // an empty text counts as 0
    QTest::keyClicks(form->SpinOrgsteuer->lineEdit(), "97");
    EXPECT_EQ(changes.count(), 3);  // cleared, then "9", then "97"
    EXPECT_EQ(form->OrgTaxPercent, 97);
    EXPECT_EQ(captions(), amounts(250, 243, 7));

    QTest::keyClicks(form->SpinOrgsteuer->lineEdit(), "x");
    EXPECT_EQ(form->SpinOrgsteuer->text(), "97");  // letters are refused
    QTest::keyClicks(form->SpinOrgsteuer->lineEdit(), ".");
    EXPECT_EQ(form->SpinOrgsteuer->text(), "97.");  // the decimal separator is taken...
    EXPECT_EQ(form->OrgTaxPercent, 0);              // ...and the text is no whole number
}

TEST_F(ShopLogView, TypedRateOutsideTheRangeCountsUntilTheFieldIsLeft) {
    openShop("sold 100\n");
    click(1);
    showActive();
    form->SpinOrgsteuer->lineEdit()->setFocus();
    form->SpinOrgsteuer->lineEdit()->selectAll();
    QTest::keyClicks(form->SpinOrgsteuer->lineEdit(), "250");
    EXPECT_EQ(form->OrgTaxPercent, 250);
    EXPECT_EQ(captions(), amounts(100, 250, -150));
    form->ListChars->setFocus();
    EXPECT_EQ(form->SpinOrgsteuer->text(), "100");
    EXPECT_EQ(form->OrgTaxPercent, 100);
    EXPECT_EQ(captions(), amounts(100, 100, 0));
}

TEST_F(ShopLogView, SteppingStaysInTheRange) {
    openShop("sold 100\n");
    struct Case {
        const char* text;
        int key;
        const char* after;
    };
    const Case cases[] = {
        {"100", Qt::Key_Up, "100"}, {"0", Qt::Key_Down, "0"},   {"250", Qt::Key_Up, "100"},
        {"", Qt::Key_Up, "1"},      {"41", Qt::Key_Down, "40"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        form->SpinOrgsteuer->lineEdit()->setText(c.text);
        QTest::keyClick(form->SpinOrgsteuer->lineEdit(), static_cast<Qt::Key>(c.key));
        EXPECT_EQ(form->SpinOrgsteuer->text().toStdString(), c.after);
    }
}

TEST_F(ShopLogView, RateChangeLooksForTheLogAgain) {
    openShop("sold 100\n");
    click(1);
    std::filesystem::remove(dir.path() / "game/Prefs/acc/Seller/Playershoplog.html");
    form->SpinOrgsteuer->setValue(20);
    EXPECT_EQ(captions(), amounts(0, 0, 0));
    EXPECT_EQ(viewLines(), std::vector<std::string>{"sold 100"});
}

TEST_F(ShopLogView, MessageLineDigitsDoNotCountWhileThereIsNoLog) {
    addCharacter("acc", "Char123");
    writeLaterStart();
    open();
    click(0);
    form->SpinOrgsteuer->setValue(50);
    EXPECT_EQ(captions(), amounts(0, 0, 0));
    addShopLog("acc", "Char123", "");
    form->SpinOrgsteuer->setValue(10);
    EXPECT_EQ(captions(), amounts(123, 12, 111));
}

}  // namespace
}  // namespace lw::test
