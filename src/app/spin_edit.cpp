#include "app/spin_edit.h"

#include <algorithm>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QToolButton>

#include "app/qt_text.h"
#include "core/int_conversion.h"

namespace lw {

TSpinEdit::TSpinEdit(QWidget* parent)
    : QWidget(parent),
      edit_(new QLineEdit(QStringLiteral("0"), this)),
      up_(new QToolButton(this)),
      down_(new QToolButton(this)) {
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {up_, down_}) {
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoRepeat(true);
        b->setIconSize(QSize(7, 4));
    }
    setFocusProxy(edit_);
    setFocusPolicy(Qt::StrongFocus);
    edit_->installEventFilter(this);
    connect(up_, &QToolButton::clicked, this, &TSpinEdit::stepUp);
    connect(down_, &QToolButton::clicked, this, &TSpinEdit::stepDown);
    connect(edit_, &QLineEdit::textChanged, this, &TSpinEdit::textChanged);
}

void TSpinEdit::setRange(std::int32_t minValue, std::int32_t maxValue) {
    min_ = minValue;
    max_ = maxValue;
}

std::int32_t TSpinEdit::value() const {
    return spinTextValue(keptBytes(edit_->text()));
}

void TSpinEdit::setValue(std::int64_t v) {
    const QString shown = QString::number(std::clamp<std::int64_t>(v, min_, max_));
    if (edit_->text() != shown) {
        edit_->setText(shown);
    }
}

QString TSpinEdit::text() const {
    return edit_->text();
}

void TSpinEdit::stepUp() {
    setValue(std::int64_t{value()} + 1);
}

void TSpinEdit::stepDown() {
    setValue(std::int64_t{value()} - 1);
}

bool TSpinEdit::acceptsKey(const QKeyEvent& key) const {
    if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) {
        return false;
    }
    const QString text = key.text();
    if (text.isEmpty()) {
        return true;  // navigation and editing keys carry no text
    }
    const QChar c = text.front();
    if (c.unicode() < 0x20) {
        return true;  // control characters (Backspace, Ctrl+C, Ctrl+V, ...)
    }
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('+') ||
           c == QLatin1Char('-') || text == QLocale::system().decimalPoint();
}

void TSpinEdit::clampOnLeave() {
    const std::int32_t v = value();
    if (v < min_ || v > max_) {
        setValue(v);
    }
}

bool TSpinEdit::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_) {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Up && key->modifiers() == Qt::NoModifier) {
                stepUp();
                return true;
            }
            if (key->key() == Qt::Key_Down && key->modifiers() == Qt::NoModifier) {
                stepDown();
                return true;
            }
            if (!acceptsKey(*key)) {
                QApplication::beep();
                return true;
            }
        } else if (event->type() == QEvent::FocusOut) {
            clampOnLeave();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TSpinEdit::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int buttonWidth = 15;
    const int half = height() / 2;
    edit_->setGeometry(0, 0, width() - buttonWidth, height());
    up_->setGeometry(width() - buttonWidth, 0, buttonWidth, half);
    down_->setGeometry(width() - buttonWidth, half, buttonWidth, height() - half);
}

}  // namespace lw
