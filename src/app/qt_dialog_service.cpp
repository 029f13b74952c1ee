#include "app/qt_dialog_service.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace lw {

namespace {

void showBox(QMessageBox::Icon icon, const QString& text) {
    // The main window may not be shown yet (start-up), so the box has no parent and is
    // centred on the screen.
    QMessageBox box(icon, QApplication::applicationDisplayName(), text, QMessageBox::Ok);
    box.exec();
}

}  // namespace

void QtDialogService::showMessage(const QString& text) {
    showBox(QMessageBox::NoIcon, text);
}

void QtDialogService::showError(const QString& text) {
    showBox(QMessageBox::Critical, text);
}

std::optional<QString> QtDialogService::pickFile(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().constFirst();
}

}  // namespace lw
