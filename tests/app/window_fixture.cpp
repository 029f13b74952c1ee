#include "app/window_fixture.h"

#include <QApplication>
#include <QListWidget>
#include <QTest>

#include "app/log_view.h"

namespace lw::test {

void WindowTest::showActive() {
    form->show();
    QApplication::setActiveWindow(form.get());
}

void WindowTest::click(int row) {
    QListWidget* list = form->ListChars;
    if (!form->isActiveWindow()) {
        showActive();
    }
    QListWidgetItem* item = list->item(row);
    ASSERT_NE(item, nullptr) << "no list entry " << row;
    list->scrollToItem(item);
    const QPoint at = list->visualItemRect(item).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

std::vector<std::string> WindowTest::entries() const {
    std::vector<std::string> out;
    for (int i = 0; i < form->ListChars->count(); ++i) {
        out.push_back(form->entryText(i));
    }
    return out;
}

std::vector<std::string> WindowTest::viewLines() const {
    std::vector<std::string> out;
    // No lines and one empty line both show as an empty text.
    if (form->logLines().empty()) {
        return out;
    }
    for (const QString& line : form->MemoPlayershoplog->toPlainText().split(QLatin1Char('\n'))) {
        out.push_back(line.toStdString());
    }
    return out;
}

}  // namespace lw::test
