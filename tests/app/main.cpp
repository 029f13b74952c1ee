// Window tests run the real window under the offscreen platform, with one QApplication.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // Amount texts follow the locale's thousands separator: the C locale makes it ",".
    qputenv("LC_ALL", "C");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ledgerwick"));
    QApplication::setApplicationDisplayName(QStringLiteral("Ledgerwick"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
