#include "app/anchored_layout.h"

#include <QEvent>
#include <QWidget>

namespace lw {

AnchoredLayout::AnchoredLayout(QWidget* parent, QSize design)
    : QObject(parent), parent_(parent), design_(design) {
    parent->installEventFilter(this);
}

void AnchoredLayout::add(QWidget* widget, QRect designRect, int anchors, Width width) {
    items_.push_back({widget, designRect, anchors, width});
    apply();
}

void AnchoredLayout::apply() {
    const int dw = parent_->width() - design_.width();
    const int dh = parent_->height() - design_.height();
    for (const Item& item : items_) {
        if (!item.widget) {
            continue;
        }
        QRect r = item.design;
        const bool left = item.anchors & kLeft;
        const bool right = item.anchors & kRight;
        const bool top = item.anchors & kTop;
        const bool bottom = item.anchors & kBottom;
        if (left && right) {
            r.setWidth(r.width() + dw);
        } else if (right) {
            r.translate(dw, 0);
        }
        if (top && bottom) {
            r.setHeight(r.height() + dh);
        } else if (bottom) {
            r.translate(0, dh);
        }
        if (item.width == Width::kTextFromLeft) {
            r.setWidth(item.widget->sizeHint().width());
        } else if (item.width == Width::kTextFromRight) {
            r.setLeft(r.right() + 1 - item.widget->sizeHint().width());
        }
        item.widget->setGeometry(r);
    }
}

bool AnchoredLayout::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parent_ && event->type() == QEvent::Resize) {
        apply();
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace lw
