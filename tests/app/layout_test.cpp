// The window as designed: controls, menus, fonts and how they follow a resize.
#include <QFileDialog>
#include <QFontInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include "app/log_view.h"
#include "app/spin_edit.h"
#include "app/window_fixture.h"

namespace lw::test {
namespace {

class Layout : public WindowTest {
  protected:
    void SetUp() override {
        writeLaterStart("Orgsteuer=3\n");
        open();
        showActive();
    }
    QWidget* client() const { return form->centralWidget(); }
};

TEST_F(Layout, ControlsFollowTheirAnchorsOnResize) {
    ASSERT_EQ(client()->size(), QSize(576, 498));
    struct Case {
        const char* name;
        QWidget* widget;
        QRect atDesign;
        QRect grown;  // client area 100 wider and 50 higher
    };
    const Case cases[] = {
        {"list", form->ListChars, {8, 24, 161, 409}, {8, 24, 161, 459}},
        {"view", form->MemoPlayershoplog, {184, 24, 381, 409}, {184, 24, 481, 459}},
        {"spin", form->SpinOrgsteuer, {24, 461, 41, 22}, {24, 511, 41, 22}},
        {"edit", form->edCharname, {104, 462, 89, 21}, {104, 512, 89, 21}},
        {"button", form->btnCharname, {200, 462, 33, 25}, {200, 512, 33, 25}},
        {"bevel", form->Bevel1, {328, 470, 233, 1}, {428, 520, 233, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.widget->geometry(), c.atDesign);
    }
    form->resize(form->width() + 100, form->height() + 50);
    ASSERT_EQ(client()->size(), QSize(676, 548));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.widget->geometry(), c.grown);
    }
    EXPECT_EQ(form->Label3->x(), 428);
    EXPECT_EQ(form->Label1->y(), 496);
}

TEST_F(Layout, AmountsEndAtTheRightEdgeWhateverTheirLength) {
    // The stored rate recomputed the amounts: padded texts of over 100 characters.
    ASSERT_GT(form->LEinnahmen->text().size(), 100);
    for (QLabel* l : {form->LEinnahmen, form->LAndieorg, form->LGewinn}) {
        EXPECT_EQ(l->geometry().right() + 1, 561) << l->objectName().toStdString();
        EXPECT_GE(l->width(), l->sizeHint().width());
    }
    form->resize(form->width() + 40, form->height());
    for (QLabel* l : {form->LEinnahmen, form->LAndieorg, form->LGewinn}) {
        EXPECT_EQ(l->geometry().right() + 1, 601);
    }
}

TEST_F(Layout, WindowCannotShrinkBelowItsSmallestSize) {
    form->resize(200, 200);
    EXPECT_GE(client()->width(), 495 - 8);
    EXPECT_GE(client()->height(), 414 - 46);
}

TEST_F(Layout, CaptionsMenusAndTabOrder) {
    EXPECT_EQ(form->windowTitle(), "Ledgerwick");
    const auto menus = form->MainMenu1->actions();
    ASSERT_EQ(menus.size(), 2);
    EXPECT_EQ(menus[0]->text(), "&Datei");
    EXPECT_EQ(menus[1]->text(), "&Optionen");
    EXPECT_EQ(form->D1->actions(), QList<QAction*>{form->Beenden1});
    EXPECT_EQ(form->Beenden1->text(), "&Beenden");
    EXPECT_EQ(form->Optionen1->actions(), QList<QAction*>{form->AnarchyOnlineVerzeichnis1});
    EXPECT_EQ(form->AnarchyOnlineVerzeichnis1->text(), "Anarchy Online Verzeichnis");
    EXPECT_EQ(form->Label1->text(), "Orgsteuer:");
    EXPECT_EQ(form->Label2->text(), "%");
    EXPECT_EQ(form->LCharname->text(), "Charname:");
    EXPECT_EQ(form->Label3->text(), "Einnahmen:");
    EXPECT_EQ(form->Label4->text(), "An die Org gehen:");
    EXPECT_EQ(form->Label5->text(), "Gewinn:");
    EXPECT_EQ(form->btnCharname->text(), "Ok");
    EXPECT_FALSE(form->LCharname->isVisible());
    EXPECT_TRUE(form->MemoPlayershoplog->isReadOnly());

    // Tab goes from the list to the view, the spin edit, the button and then the edit box.
    form->btnCharname->setVisible(true);
    form->btnCharname->setEnabled(true);
    form->edCharname->setVisible(true);
    form->ListChars->setFocus();
    std::vector<QWidget*> order;
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order.push_back(QApplication::focusWidget());
    }
    EXPECT_EQ(order,
              (std::vector<QWidget*>{form->MemoPlayershoplog, form->SpinOrgsteuer->lineEdit(),
                                     form->btnCharname, form->edCharname}));
}

TEST_F(Layout, FontsAndColours) {
    EXPECT_EQ(form->font().pixelSize(), 11);
    if (QFile::exists("/usr/share/wine/fonts/tahoma.ttf")) {
        EXPECT_EQ(QFontInfo(form->Label3->font()).family(), "Tahoma");
    }
    form->LAndieorg->ensurePolished();
    EXPECT_EQ(form->LAndieorg->palette().color(QPalette::WindowText), QColor(Qt::red));
}

TEST_F(Layout, FileDialogIsSetUpForTheGameExecutable) {
    QFileDialog* d = form->OpenDialog1;
    EXPECT_EQ(d->nameFilters(), QStringList{"Anarchy Online (Anarchy.Exe)"});
    EXPECT_EQ(d->defaultSuffix(), "exe");
    EXPECT_EQ(d->fileMode(), QFileDialog::AnyFile);
    EXPECT_EQ(d->acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_TRUE(d->testOption(QFileDialog::DontUseNativeDialog));
    EXPECT_TRUE(d->isSizeGripEnabled());
}

}  // namespace
}  // namespace lw::test
