#include "app/window_fixture.h"

#include <QListWidget>
#include <QTest>

#include "app/log_view.h"

namespace lw::test {

void WindowTest::click(int row) {
    QListWidget* list = form->ListChars;
    if (!form->isVisible()) {
        form->show();
    }
    QListWidgetItem* item = list->item(row);
    ASSERT_NE(item, nullptr) << "no list entry " << row;
    list->scrollToItem(item);
    const QPoint at = list->visualItemRect(item).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
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
