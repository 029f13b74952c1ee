// The log view on its own: wrapping, scrolling, selecting and copying, offscreen.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QTest>
#include <QWheelEvent>

#include "app/log_view.h"
#include "core/log_lines.h"

namespace lw::test {
namespace {

class LogViewTest : public ::testing::Test {
  protected:
    LogLines lines;  // outlives the view, as the window's lines do
    LogView view;

    void SetUp() override { view.resize(300, 200); }

    void show(const std::vector<std::string>& texts) {
        lines.clear();
        for (const std::string& text : texts) {
            lines.append(text);
        }
        view.setLines(lines);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    }

    // Lines "line 0" to "line n-1".
    static std::vector<std::string> numbered(int n) {
        std::vector<std::string> out;
        for (int i = 0; i < n; ++i) {
            out.push_back("line " + std::to_string(i));
        }
        return out;
    }

    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(&view, k, modifiers);
    }

    void wheel(int notches) {
        const QPointF at(10, 10);
        QWheelEvent event(at, view.viewport()->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view.viewport(), &event);
    }

    // A point in row `row` of the view (0 is the top row), `x` pixels from its left.
    QPoint rowPoint(int row, int x) const {
        const int spacing = view.fontMetrics().height();
        return {x, row * spacing + spacing / 2 + 2};
    }

    void press(QPoint at) { QTest::mousePress(view.viewport(), Qt::LeftButton, {}, at); }
    void moveTo(QPoint at) {
        QMouseEvent event(QEvent::MouseMove, at, view.viewport()->mapToGlobal(at), Qt::NoButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view.viewport(), &event);
    }
    void release(QPoint at) { QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, at); }

    // The rows of the first line, counted as the Down key scrolls over them.
    int rowsOfFirstLine() {
        key(Qt::Key_Home, Qt::ControlModifier);
        int rows = 0;
        while (view.topLine() == 0 && rows < 1000) {
            key(Qt::Key_Down);
            ++rows;
        }
        return rows;
    }
};

TEST_F(LogViewTest, WrapsLongLinesAtTheRightEdge) {
    struct Case {
        const char* name;
        std::string line;
    };
    std::string words;
    for (int i = 0; i < 40; ++i) {
        words += "Verkauf ";
    }
    const Case cases[] = {
        {"at word boundaries", words},
        {"anywhere in a word wider than the view", std::string(400, 'W')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> texts = numbered(40);
        texts.insert(texts.begin(), c.line);
        view.resize(300, 200);
        show(texts);
        const int wide = rowsOfFirstLine();
        EXPECT_GT(wide, 2);

        view.resize(150, 200);
        const int narrow = rowsOfFirstLine();
        EXPECT_GT(narrow, wide);

        view.resize(2000, 200);
        EXPECT_LT(rowsOfFirstLine(), wide);
        EXPECT_EQ(view.toPlainText().section(QLatin1Char('\n'), 0, 0).toStdString(), c.line);
    }
}

TEST_F(LogViewTest, PaintsTextOnSeveralRowsAndNothingPastTheRightEdge) {
    show({std::string(400, 'W')});
    const QImage image = view.viewport()->grab().toImage();
    const int spacing = view.fontMetrics().height();
    const auto inkIn = [&](int x0, int x1, int y0, int y1) {
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                if (qGray(image.pixel(x, y)) < 128) {
                    return true;
                }
            }
        }
        return false;
    };
    for (int row = 0; row < 3; ++row) {
        SCOPED_TRACE(row);
        EXPECT_TRUE(inkIn(0, image.width(), row * spacing, (row + 1) * spacing + 4));
    }
    EXPECT_FALSE(inkIn(image.width() - 3, image.width(), 0, image.height()));
}

TEST_F(LogViewTest, EmptyLinesAreRows) {
    std::vector<std::string> texts{"", "", "sold 5"};
    const auto more = numbered(30);
    texts.insert(texts.end(), more.begin(), more.end());
    show(texts);
    key(Qt::Key_Down);
    EXPECT_EQ(view.topLine(), 1);
    key(Qt::Key_Down);
    EXPECT_EQ(view.topLine(), 2);
    EXPECT_TRUE(view.toPlainText().startsWith("\n\nsold 5\nline 0\n"));
}

TEST_F(LogViewTest, KeysAndWheelScrollWithinTheText) {
    show(numbered(100));
    const int wheelRows = QApplication::wheelScrollLines();

    // Nothing lies before the start.
    key(Qt::Key_Up);
    key(Qt::Key_PageUp);
    wheel(1);
    EXPECT_EQ(view.topLine(), 0);

    key(Qt::Key_Down);
    EXPECT_EQ(view.topLine(), 1);
    wheel(-1);
    EXPECT_EQ(view.topLine(), 1 + wheelRows);
    wheel(1);
    EXPECT_EQ(view.topLine(), 1);
    key(Qt::Key_PageDown);
    const int page = view.topLine() - 1;
    EXPECT_GT(page, 3);
    key(Qt::Key_PageUp);
    EXPECT_EQ(view.topLine(), 1);

    // The end shows the last line at the bottom, and nothing lies past it.
    key(Qt::Key_End, Qt::ControlModifier);
    const int last = view.topLine();
    EXPECT_GT(last, 100 - page - 3);
    key(Qt::Key_Down);
    key(Qt::Key_PageDown);
    wheel(-1);
    EXPECT_EQ(view.topLine(), last);
    key(Qt::Key_Up);
    EXPECT_EQ(view.topLine(), last - 1);

    key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(view.topLine(), 0);
}

TEST_F(LogViewTest, TextThatFitsDoesNotScroll) {
    show(numbered(3));
    key(Qt::Key_End, Qt::ControlModifier);
    key(Qt::Key_PageDown);
    wheel(-3);
    EXPECT_EQ(view.topLine(), 0);
}

TEST_F(LogViewTest, MouseSelectsAcrossLinesAndCtrlCCopies) {
    show({"Sold Ring for 1000 credits", "Sold Gun for 25 credits", "third"});
    press(rowPoint(0, 0));
    moveTo(rowPoint(1, view.width() - 10));
    release(rowPoint(1, view.width() - 10));
    EXPECT_EQ(view.selectedText(), "Sold Ring for 1000 credits\nSold Gun for 25 credits");

    QGuiApplication::clipboard()->clear();
    key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), view.selectedText());

    // A drag upwards selects the same way; a click alone selects nothing.
    press(rowPoint(1, view.width() - 10));
    moveTo(rowPoint(0, 0));
    release(rowPoint(0, 0));
    EXPECT_EQ(view.selectedText(), "Sold Ring for 1000 credits\nSold Gun for 25 credits");
    press(rowPoint(2, 0));
    release(rowPoint(2, 0));
    EXPECT_EQ(view.selectedText(), "");
}

TEST_F(LogViewTest, SelectionFollowsTheWheelWhileDragging) {
    show(numbered(100));
    const int wheelRows = QApplication::wheelScrollLines();
    press(rowPoint(0, 0));
    wheel(-1);
    // The mouse has not moved, but the text under it has.
    QString expected;
    for (int i = 0; i < wheelRows; ++i) {
        expected += QStringLiteral("line %1\n").arg(i);
    }
    EXPECT_EQ(view.selectedText(), expected);
    moveTo(rowPoint(0, view.width() - 10));
    release(rowPoint(0, view.width() - 10));
    EXPECT_EQ(view.selectedText(), expected + QStringLiteral("line %1").arg(wheelRows));
}

TEST_F(LogViewTest, DoubleClickSelectsAWord) {
    show({"Sold Ring for 1000 credits"});
    const int x = view.fontMetrics().horizontalAdvance("Sold Ri") + 4;
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, rowPoint(0, x));
    EXPECT_EQ(view.selectedText(), "Ring");
}

TEST_F(LogViewTest, CtrlASelectsAllWithEmptyLinesAndBothEncodings) {
    lines.append("Grüße");
    lines.append("");
    lines.appendFile(std::string_view("Kauf f\xFCr 5\r\n"));  // Windows-1252: ü is one byte
    view.setLines(lines);
    view.show();
    EXPECT_EQ(view.toPlainText(), QString::fromUtf8("Grüße\n\nKauf für 5"));
    key(Qt::Key_A, Qt::ControlModifier);
    key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(view.selectedText(), view.toPlainText());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), view.toPlainText());
}

TEST_F(LogViewTest, NewLinesStartAtTheTopWithNothingSelected) {
    show(numbered(100));
    key(Qt::Key_End, Qt::ControlModifier);
    view.selectAll();
    ASSERT_NE(view.topLine(), 0);
    ASSERT_FALSE(view.selectedText().isEmpty());

    show({"other"});
    EXPECT_EQ(view.topLine(), 0);
    EXPECT_EQ(view.selectedText(), "");
    EXPECT_EQ(view.toPlainText(), "other");

    show({});
    EXPECT_EQ(view.toPlainText(), "");
    view.selectAll();
    key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(view.selectedText(), "");
    EXPECT_EQ(view.topLine(), 0);
}

TEST_F(LogViewTest, MillionLinesReachTheEndAndCopyWhole) {
    constexpr int kCount = 1'000'000;
    for (int i = 0; i < kCount; ++i) {
        lines.append("line " + std::to_string(i));
    }
    view.setLines(lines);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    EXPECT_EQ(view.topLine(), 0);

    key(Qt::Key_End, Qt::ControlModifier);
    const int top = view.topLine();
    EXPECT_GT(top, kCount - 100);
    // From below the last row up to the top row: the rows on screen, the last line included.
    press(QPoint(view.width() - 10, view.viewport()->height() - 1));
    moveTo(rowPoint(0, 0));
    release(rowPoint(0, 0));
    const QString shown = view.selectedText();
    EXPECT_TRUE(shown.startsWith(QStringLiteral("line %1\n").arg(top)));
    EXPECT_TRUE(shown.endsWith("\nline 999999"));

    view.selectAll();
    view.copy();
    const QString all = QGuiApplication::clipboard()->text();
    EXPECT_EQ(all.size(), static_cast<qsizetype>(lines.joined().size()));
    EXPECT_TRUE(all.startsWith("line 0\nline 1\n"));
    EXPECT_TRUE(all.endsWith("\nline 999998\nline 999999"));
}

}  // namespace
}  // namespace lw::test
