#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <vector>

class QWidget;

namespace lw {

// Keeps controls at fixed distances from the edges of their parent that they are anchored to,
// as the window was designed: a control anchored to both opposite edges stretches, one anchored
// to the right or bottom edge alone moves with it. A label sized to its text takes the width of
// its text, growing to the right from its left edge, or to the left from its right edge.
class AnchoredLayout : public QObject {
  public:
    enum Anchor { kLeft = 1, kTop = 2, kRight = 4, kBottom = 8 };
    enum class Width { kDesigned, kTextFromLeft, kTextFromRight };

    // Lays out the children of `parent`, whose designed size is `design`.
    AnchoredLayout(QWidget* parent, QSize design);

    void add(QWidget* widget, QRect designRect, int anchors, Width width = Width::kDesigned);

    // Places every control for the parent's current size (also after a label's text changed).
    void apply();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Item {
        QPointer<QWidget> widget;
        QRect design;
        int anchors;
        Width width;
    };
    QWidget* parent_;
    QSize design_;
    std::vector<Item> items_;
};

}  // namespace lw
