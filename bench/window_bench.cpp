// End-to-end timing of the real window under the offscreen platform, on a generated game
// folder: the start-up with a stored roster of all its characters, a click on "Alle" until the
// view is filled and painted and the amounts are shown, and changes of the tax rate with all
// those lines in view; then the peak memory of those actions, and, to tell where the click's
// time goes, the core's and the view's parts of it timed alone. Prints one "key=value" line
// per figure.
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QTest>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/dialog_service.h"
#include "app/log_view.h"
#include "app/main_window.h"
#include "app/spin_edit.h"
#include "core/amount_text.h"
#include "core/earnings.h"
#include "core/find_files.h"
#include "core/ini_file.h"
#include "core/roster.h"
#include "core/settings.h"
#include "core/shop_log.h"
#include "game_manifest.h"
#include "measure.h"

namespace {

using Clock = std::chrono::steady_clock;
using lw::bench::msSince;

constexpr std::int32_t kStoredRate = 10;
constexpr int kRateChanges = 11;

// A box or dialog means the run did not go as a user's would: each one is kept and fails it.
class NoDialogs : public lw::DialogService {
  public:
    std::vector<QString> shown;
    void showMessage(const QString& text) override { shown.push_back(text); }
    void showError(const QString& text) override { shown.push_back(text); }
    std::optional<QString> pickFile(QFileDialog&) override {
        shown.push_back(QStringLiteral("file dialog"));
        return std::nullopt;
    }
};

// The settings of a later start: the game folder, every character in it with a name, and a
// tax rate. Written once per data folder; the window reads it and the run never closes the
// window, so nothing writes it back.
void prepareSettings(const std::filesystem::path& exeFolder, const std::string& aoDir) {
    const std::string path = lw::settingsPath((exeFolder / "").string());
    if (std::filesystem::exists(path)) {
        return;
    }
    std::filesystem::create_directories(exeFolder);
    std::vector<std::string> found;
    lw::FindFiles(lw::prefsSearchPath(aoDir), found);
    std::vector<lw::TCharacter> roster;
    std::int32_t count = 0;
    lw::mergeNewChars(roster, count, lw::getallchars(lw::platformFileSystem(), aoDir, found));
    for (std::size_t i = 0; i < roster.size(); ++i) {
        roster[i].Name = "Trader " + std::to_string(i + 1);
    }
    lw::TIniFile ini(path);
    lw::saveSettings(ini, roster, count, kStoredRate, aoDir);
}

std::string digitsOf(const QString& text) {
    std::string digits;
    for (const QChar c : text) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            digits += static_cast<char>(c.unicode());
        }
    }
    return digits;
}

void expect(bool ok, const std::string& what) {
    if (!ok) {
        throw std::runtime_error(what);
    }
}

// The org share that the label must show at a rate, as digits (the separator left out).
std::string orgShareDigits(std::int64_t total, std::int32_t rate) {
    return digitsOf(QString::fromStdString(lw::amountCaptions(total, rate, "")[1]));
}

void run(const lw::bench::GameManifest& game, const std::filesystem::path& exeFolder) {
    prepareSettings(exeFolder, game.aoDir);
    NoDialogs dialogs;

    auto start = Clock::now();
    auto form = std::make_unique<lw::TForm1>(dialogs, QString::fromStdString(exeFolder.string()));
    form->show();
    QCoreApplication::processEvents();
    const double startupMs = msSince(start);
    expect(form->CharCount == game.characters, "the start-up did not load every character");
    expect(form->ListChars->count() == game.characters + 1, "the list misses entries");

    QListWidget* list = form->ListChars;
    QListWidgetItem* all = list->item(list->count() - 1);
    list->scrollToItem(all);
    QCoreApplication::processEvents();
    const QPoint at = list->visualItemRect(all).center();
    start = Clock::now();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    const double handlerMs = msSince(start);
    QCoreApplication::processEvents();
    const double clickMs = msSince(start);
    expect(static_cast<std::int64_t>(form->logLines().size()) == game.logLines,
           "\"Alle\" did not show every line");
    expect(digitsOf(form->LEinnahmen->text()) == std::to_string(game.totalCredits),
           "the income is not the total of the logs");

    std::vector<double> rateMs;
    std::vector<double> rateHandlerMs;
    for (int i = 1; i <= kRateChanges; ++i) {
        const std::int32_t rate = kStoredRate + i;
        start = Clock::now();
        form->SpinOrgsteuer->setValue(rate);  // runs the change handler before it returns
        rateHandlerMs.push_back(msSince(start));
        QCoreApplication::processEvents();
        rateMs.push_back(msSince(start));
        expect(digitsOf(form->LAndieorg->text()) == orgShareDigits(game.totalCredits, rate),
               "the org share did not follow the tax rate");
    }
    // The peak of the user's actions, before the measurements below hold the lines twice.
    const std::int64_t peakKiB = lw::bench::peakRssKiB();

    // Where the click's time goes: the core's part of it and the view's, each again in this
    // process with the same lines.
    start = Clock::now();
    const lw::LogLines again = lw::loadAllShopLogs(lw::platformFileSystem(), game.aoDir);
    expect(lw::sumCredits(again) == game.totalCredits, "the core's sum is not the total");
    const double coreMs = msSince(start);
    start = Clock::now();
    form->MemoPlayershoplog->setLines(form->logLines());
    QCoreApplication::processEvents();
    const double viewMs = msSince(start);

    expect(dialogs.shown.empty(),
           "a box opened: " + (dialogs.shown.empty() ? "" : dialogs.shown[0].toStdString()));

    std::cout << "startup_ms=" << startupMs << '\n'
              << "click_all_ms=" << clickMs << '\n'
              << "click_all_handler_ms=" << handlerMs << '\n'
              << "click_all_paint_ms=" << clickMs - handlerMs << '\n'
              << "core_all_logs_ms=" << coreMs << '\n'
              << "view_set_lines_ms=" << viewMs << '\n'
              << "tax_change_ms=" << lw::bench::median(rateMs) << '\n'
              << "tax_change_handler_ms=" << lw::bench::median(rateHandlerMs) << '\n'
              << "view_lines=" << form->logLines().size() << '\n'
              << "peak_rss_kib=" << peakKiB << '\n';
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ledgerwick"));
    QApplication::setApplicationDisplayName(QStringLiteral("Ledgerwick"));
    if (argc != 2) {
        std::cerr << "usage: window_bench DATA_FOLDER\n"
                     "DATA_FOLDER is the output folder of make_game_folder; the program's own\n"
                     "folder with its settings file is made as DATA_FOLDER/window.\n";
        return 2;
    }
    try {
        const std::filesystem::path data = argv[1];
        run(lw::bench::readManifest(data), data / "window");
    } catch (const std::exception& e) {
        std::cerr << "window_bench: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
