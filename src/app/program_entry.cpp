#include "app/program_entry.h"

#include <QApplication>

#include "app/main_window.h"
#include "app/qt_dialog_service.h"

namespace lw {

int runProgram(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ledgerwick"));
    // The display name is the caption of every box; windows titled with it get no suffix.
    QApplication::setApplicationDisplayName(QStringLiteral("Ledgerwick"));
    QtDialogService dialogs;
    TForm1 form(dialogs, QCoreApplication::applicationDirPath());
    form.show();
    return app.exec();
}

}  // namespace lw
