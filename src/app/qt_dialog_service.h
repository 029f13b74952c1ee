#pragma once

#include <QPointer>
#include <QWidget>

#include "app/dialog_service.h"

namespace lw {

// The dialogs a user sees: QMessageBox and Qt's own file dialog.
class QtDialogService final : public DialogService {
  public:
    void showMessage(const QString& text) override;
    void showError(const QString& text) override;
    std::optional<QString> pickFile(QFileDialog& dialog) override;
};

}  // namespace lw
