// The window on a failing disk and a damaged settings file: nothing the user gave is lost and
// the program goes on; and the game's folder is never written. A write failing in the middle
// of the close sequence is in startup_close_test.cpp (AFailingWriteKeepsTheWindowOpen...), an
// unreadable shop log in shop_log_view_test.cpp (UnreadableLogShowsTheErrorAndAnEmptyView).
#include <sys/stat.h>

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <tuple>

#include "app/spin_edit.h"
#include "app/window_fixture.h"
#include "support/immutable.h"

namespace lw::test {
namespace {

namespace stdfs = std::filesystem;
using namespace std::string_view_literals;

std::set<std::string> namesIn(const stdfs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : stdfs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

// Takes the write bits of a file away for the life of the object.
class ReadOnlyMode {
  public:
    explicit ReadOnlyMode(stdfs::path path) : path_(std::move(path)) {
        stdfs::permissions(
            path_,
            stdfs::perms::owner_write | stdfs::perms::group_write | stdfs::perms::others_write,
            stdfs::perm_options::remove);
    }
    ~ReadOnlyMode() {
        stdfs::permissions(path_, stdfs::perms::owner_write, stdfs::perm_options::add);
    }
    ReadOnlyMode(const ReadOnlyMode&) = delete;
    ReadOnlyMode& operator=(const ReadOnlyMode&) = delete;

  private:
    stdfs::path path_;
};

using Faults = WindowTest;

// Each way the settings file cannot be written: the close shows the error and the window stays
// open with the file as it was; once the fault is gone, a second close saves everything.
TEST_F(Faults, CloseThatCannotWriteKeepsTheWindowOpenAndTheFileWhole) {
    struct Case {
        const char* name;
        // Makes the fault for the life of the returned object; nullptr where it cannot be made.
        std::function<std::shared_ptr<void>(const stdfs::path& folder, const stdfs::path& file)>
            fault;
    };
    const auto immutable = [](const stdfs::path& target) -> std::shared_ptr<void> {
        auto guard = std::make_shared<Immutable>(target);
        return guard->set() ? guard : nullptr;
    };
    const Case cases[] = {
        // The mode bits, which the file layer honours for root as well.
        {"read-only file",
         [](const stdfs::path&, const stdfs::path& file) {
             return std::make_shared<ReadOnlyMode>(file);
         }},
        // chattr +i on the folder: no temporary file can be made in it, not even by root.
        {"folder not writable",
         [&](const stdfs::path& folder, const stdfs::path&) { return immutable(folder); }},
        // chattr +i on the file: the temporary file is written, the replace is refused.
        {"replace refused",
         [&](const stdfs::path&, const stdfs::path& file) { return immutable(file); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        addCharacter("acc", "Newbie");
        writeLaterStart("Orgsteuer=7\n");
        const std::string before = settingsText();
        open();
        form->show();
        form->SpinOrgsteuer->setValue(9);
        const stdfs::path folder = dir.path() / "exe";
        const stdfs::path file = folder / "LedgerwickCfg.ini";
        {
            const auto fault = c.fault(folder, file);
            if (!fault) {
                GTEST_SKIP() << "no immutable flag on this file system";
            }
            EXPECT_FALSE(form->close());
            EXPECT_TRUE(form->isVisible());
            EXPECT_EQ(dialogs.errors, std::vector<QString>{QString::fromStdString(
                                          "Unable to write to " + file.string() + ".")});
            EXPECT_EQ(settingsText(), before);
            EXPECT_EQ(namesIn(folder), std::set<std::string>{"LedgerwickCfg.ini"});
        }
        EXPECT_TRUE(form->close());
        EXPECT_NE(settingsText().find("Chars=Newbie,acc,\n"), std::string::npos);
        EXPECT_NE(settingsText().find("Orgsteuer=9\n"), std::string::npos);
        form.reset();
        dialogs.errors.clear();
    }
}

// A count far beyond the sections there, amid garbage: the start-up still ends quickly and the
// window opens with the characters that are there; the close saves what it shows.
TEST_F(Faults, DamagedSettingsFileStillOpensTheWindow) {
    addCharacter("acc", "Found");
    writeLaterStart(
        "\x01\xff garbage = [\n[Charcount]\nChars=2147483647\n[Char5]\nChars=Kept,acc,Karl\n"
        "\0\0[Char9\nOrgsteuer=12\n"sv);
    open();
    EXPECT_TRUE(dialogs.errors.empty());
    EXPECT_EQ(entries(), (std::vector<std::string>{"Karl", "Found", "Alle"}));
    EXPECT_TRUE(form->close());
    form.reset();
    open();
    EXPECT_EQ(entries(), (std::vector<std::string>{"Karl", "Found", "Alle"}));
}

// What a test can see of a tree: each entry's kind, bytes (or link target) and last change in
// nanoseconds.
using Snapshot = std::map<std::string, std::tuple<int, std::string, long long>>;

Snapshot snapshot(const stdfs::path& root) {
    Snapshot out;
    const auto add = [&](const stdfs::path& p) {
        const auto status = stdfs::symlink_status(p);
        std::string content;
        long long changed = 0;
        if (stdfs::is_symlink(status)) {
            content = stdfs::read_symlink(p).string();
        } else {
            changed = std::chrono::duration_cast<std::chrono::nanoseconds>(
                          stdfs::last_write_time(p).time_since_epoch())
                          .count();
            if (stdfs::is_regular_file(status)) {
                std::ifstream in(p, std::ios::binary);
                content.assign(std::istreambuf_iterator<char>(in), {});
            }
        }
        out[stdfs::relative(p, root).string()] = {static_cast<int>(status.type()), content,
                                                  changed};
    };
    add(root);
    for (const auto& entry : stdfs::recursive_directory_iterator(root)) {
        add(entry.path());
    }
    return out;
}

// Dates every entry of a tree a day back, so that a write, however soon, changes the date.
void backdate(const stdfs::path& root) {
    std::vector<stdfs::path> paths;
    for (const auto& entry : stdfs::recursive_directory_iterator(root)) {
        if (!entry.is_symlink()) {
            paths.push_back(entry.path());
        }
    }
    paths.push_back(root);
    const auto dayBack = stdfs::file_time_type::clock::now() - std::chrono::hours(24);
    for (const auto& p : paths) {
        stdfs::last_write_time(p, dayBack);
    }
}

// Takes every write bit in a tree away for the life of the object. Root may still write there,
// which is what lets the comparison catch any write that the program would make.
class ReadOnlyTree {
  public:
    explicit ReadOnlyTree(const stdfs::path& root) {
        paths_.push_back(root);
        for (const auto& entry : stdfs::recursive_directory_iterator(root)) {
            if (!entry.is_symlink()) {
                paths_.push_back(entry.path());
            }
        }
        for (const auto& p : paths_) {
            stdfs::permissions(p, kWrite, stdfs::perm_options::remove);
        }
    }
    ~ReadOnlyTree() {
        for (const auto& p : paths_) {
            stdfs::permissions(p, stdfs::perms::owner_write, stdfs::perm_options::add);
        }
    }
    ReadOnlyTree(const ReadOnlyTree&) = delete;
    ReadOnlyTree& operator=(const ReadOnlyTree&) = delete;

  private:
    static constexpr auto kWrite =
        stdfs::perms::owner_write | stdfs::perms::group_write | stdfs::perms::others_write;
    std::vector<stdfs::path> paths_;
};

TEST_F(Faults, GameFolderIsNeverWritten) {
    addCharacter("Main", "Char1111");
    addCharacter("Main", "Char2222");
    addCharacter("Twink", "Char0");
    addCharacter("Twink", "Char3333");
    addShopLog("Main", "Char1111", "<div indent=wrapped>Sold a for 150</div>\r\nSold b 20\r\n");
    addShopLog("Twink", "Char0", "Sold c 5\n");
    dir.write("game/Anarchy.exe", "MZ");
    dir.write("game/Prefs/prefs.xml", "<prefs/>");
    dir.mkdir("game/Prefs/Main/Char2222/Playershoplog.html");
    stdfs::create_directory_symlink(dir.path() / "game/Prefs", dir.path() / "game/Prefs/Main/up");
    const stdfs::path game = dir.path() / "game";
    backdate(game);
    const Snapshot before = snapshot(game);
    {
        const ReadOnlyTree readOnly(game);
        dialogs.picks.push_back(QString::fromStdString(gameDir() + "Anarchy.exe"));
        open();
        form->show();
        ASSERT_EQ(entries(),
                  (std::vector<std::string>{"Char1111", "Char2222", "Char3333", "Alle"}));
        for (int row = 0; row < form->ListChars->count(); ++row) {
            click(row);
        }
        form->SpinOrgsteuer->setValue(15);
        click(1);
        ASSERT_TRUE(form->nameEditorShown());
        form->edCharname->setText(QStringLiteral("Trader"));
        form->btnCharname->click();
        dialogs.picks.push_back(QString::fromStdString(gameDir() + "Anarchy.exe"));
        form->AnarchyOnlineVerzeichnis1->trigger();
        EXPECT_TRUE(form->close());
    }
    EXPECT_TRUE(dialogs.errors.empty());
    EXPECT_NE(settingsText().find("Chars=Char2222,Main,Trader"), std::string::npos);
    EXPECT_EQ(snapshot(game), before);
}

}  // namespace
}  // namespace lw::test
