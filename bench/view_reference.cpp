// The reference for the log view: a bare QPlainTextEdit, of the view's size and shown, given
// the same cleaned text of all shop logs with one setPlainText, timed until it has painted.
// Building the text is not timed. Prints one "key=value" line per figure.
#include <QApplication>
#include <QPlainTextEdit>

#include <chrono>
#include <cstdint>
#include <iostream>
#include <stdexcept>

#include "core/shop_log.h"
#include "game_manifest.h"
#include "measure.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    if (argc != 2) {
        std::cerr << "usage: view_reference DATA_FOLDER\n";
        return 2;
    }
    try {
        const auto game = lw::bench::readManifest(argv[1]);
        const lw::LogLines lines = lw::loadAllShopLogs(lw::platformFileSystem(), game.aoDir);
        const std::string_view joined = lines.joined();
        const QString text =
            QString::fromUtf8(joined.data(), static_cast<qsizetype>(joined.size()));

        QPlainTextEdit edit;
        edit.resize(381, 409);  // the log view's size in the window
        edit.show();
        QCoreApplication::processEvents();
        const auto start = std::chrono::steady_clock::now();
        edit.setPlainText(text);
        QCoreApplication::processEvents();
        const double ms = lw::bench::msSince(start);
        if (edit.blockCount() != game.logLines) {
            throw std::runtime_error("the edit holds " + std::to_string(edit.blockCount()) +
                                     " lines, expected " + std::to_string(game.logLines));
        }
        std::cout << "set_plain_text_ms=" << ms << '\n'
                  << "peak_rss_kib=" << lw::bench::peakRssKiB() << '\n';
    } catch (const std::exception& e) {
        std::cerr << "view_reference: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
