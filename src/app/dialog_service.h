#pragma once

#include <optional>

#include <QString>

class QFileDialog;

namespace lw {

// The modal boxes and the file dialog of the window. The program shows them to the user; tests
// answer them without a person.
class DialogService {
  public:
    virtual ~DialogService() = default;

    // A message box: caption "Ledgerwick", the text, no icon, one "OK"; returns when dismissed.
    virtual void showMessage(const QString& text) = 0;

    // The error box: caption "Ledgerwick", a stop icon, one "OK", the text as given.
    virtual void showError(const QString& text) = 0;

    // Opens the configured file dialog; the picked file's path, or nullopt when cancelled.
    virtual std::optional<QString> pickFile(QFileDialog& dialog) = 0;
};

}  // namespace lw
