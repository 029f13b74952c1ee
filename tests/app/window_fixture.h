#pragma once

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <QFileDialog>
#include <QString>

#include "app/dialog_service.h"
#include "app/main_window.h"
#include "support/temp_dir.h"

namespace lw::test {

// Answers the window's dialogs as a test says and records what they showed. A dialog that the
// test did not expect fails the test instead of waiting for a person.
class FakeDialogs : public DialogService {
  public:
    std::vector<QString> messages;
    std::vector<QString> errors;
    // Answers of the file dialog, in order; an empty one cancels it.
    std::deque<QString> picks;
    int dialogOpenings = 0;

    void showMessage(const QString& text) override { messages.push_back(text); }
    void showError(const QString& text) override { errors.push_back(text); }
    std::optional<QString> pickFile(QFileDialog&) override {
        ++dialogOpenings;
        if (picks.empty()) {
            ADD_FAILURE() << "the file dialog opened without an answer";
            return std::nullopt;
        }
        const QString answer = picks.front();
        picks.pop_front();
        if (answer.isEmpty()) {
            return std::nullopt;
        }
        return answer;
    }
};

// A temp folder with the program's folder ("exe", which holds the settings file) and a game
// folder ("game"), and a window opened on them.
class WindowTest : public ::testing::Test {
  protected:
    TempDir dir;
    FakeDialogs dialogs;
    std::unique_ptr<TForm1> form;

    std::string exeFolder() const { return (dir.path() / "exe").string(); }
    std::string gameDir() const { return (dir.path() / "game" / "").string(); }
    std::string settingsRel() const { return "exe/LedgerwickCfg.ini"; }

    void writeSettings(std::string_view text) const { dir.write(settingsRel(), text); }
    std::string settingsText() const { return dir.read(settingsRel()); }

    // A settings file for a later start with the game folder and the given extra lines.
    void writeLaterStart(std::string_view extra = {}) const {
        writeSettings("[ProgrammIntern]\nFirstrun=0\n[AnarchyOnline]\nVerzeichnis=" + gameDir() +
                      "\n" + std::string(extra));
    }

    // A character folder with its prefs.xml below the game's Prefs folder.
    void addCharacter(std::string_view account, std::string_view character) const {
        dir.write("game/Prefs/" + std::string(account) + "/" + std::string(character) +
                  "/Prefs/prefs.xml");
    }

    void addShopLog(std::string_view account, std::string_view character,
                    std::string_view bytes) const {
        dir.write("game/Prefs/" + std::string(account) + "/" + std::string(character) +
                      "/Playershoplog.html",
                  bytes);
    }

    void open(const FileSystem& fs = platformFileSystem()) {
        dir.mkdir("exe");
        form = std::make_unique<TForm1>(dialogs, QString::fromStdString(exeFolder()), fs);
    }

    // The texts of the list entries, in order.
    std::vector<std::string> entries() const;

    // Shows the window as the active one, so that focus and window shortcuts work.
    void showActive();

    // Selects list entry `row` as a click does, running the click handler.
    void click(int row);

    // The view's lines as the user sees them.
    std::vector<std::string> viewLines() const;
};

}  // namespace lw::test
