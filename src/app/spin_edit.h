#pragma once

#include <cstdint>

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace lw {

// A number field with up and down arrows that behaves as a classic Windows spin edit: the user
// may type any of the digits, "+", "-" and the decimal separator (other keys beep), so the text
// can stand for a value outside the range until the field is left; every change of the text,
// typed, pasted, stepped or set, emits textChanged once; stepping and setValue keep the value
// within the range; leaving the field turns a number outside the range into the nearer bound.
class TSpinEdit : public QWidget {
    Q_OBJECT

  public:
    explicit TSpinEdit(QWidget* parent = nullptr);

    void setRange(std::int32_t minValue, std::int32_t maxValue);
    std::int32_t minValue() const { return min_; }
    std::int32_t maxValue() const { return max_; }

    // The text read as a decimal whole number, or 0 when it is none.
    std::int32_t value() const;

    // Shows `v` limited to the range; emits textChanged only when the shown text changes.
    void setValue(std::int64_t v);

    QString text() const;
    QLineEdit* lineEdit() const { return edit_; }

    // One step up or down from value(), limited to the range.
    void stepUp();
    void stepDown();

  signals:
    void textChanged(const QString& text);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    bool acceptsKey(const QKeyEvent& key) const;
    void clampOnLeave();

    QLineEdit* edit_;
    QToolButton* up_;
    QToolButton* down_;
    std::int32_t min_ = 0;
    std::int32_t max_ = 100;
};

}  // namespace lw
