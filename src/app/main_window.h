#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <QMainWindow>
#include <QString>

#include "app/dialog_service.h"
#include "core/file_system.h"
#include "core/ini_file.h"
#include "core/log_lines.h"
#include "core/roster.h"

class QAction;
class QFileDialog;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QMenuBar;
class QPushButton;

namespace lw {

class AnchoredLayout;
class LogView;
class TSpinEdit;

// The main window. Creating it runs the start-up sequence; closing it runs the close sequence.
// Controls and state fields are public so that tests drive the window as a user would.
class TForm1 : public QMainWindow {
    Q_OBJECT

  public:
    // `dialogs` shows the message boxes, the error box and the file dialog; `exeFolder` is the
    // folder that holds the settings file (the executable's folder in the program).
    TForm1(DialogService& dialogs, const QString& exeFolder,
           const FileSystem& fs = platformFileSystem(), QWidget* parent = nullptr);
    ~TForm1() override;

    // Components, in declaration order.
    QMenuBar* MainMenu1;
    QMenu* D1;
    QAction* Beenden1;
    QMenu* Optionen1;
    QFileDialog* OpenDialog1;
    QListWidget* ListChars;
    LogView* MemoPlayershoplog;
    TSpinEdit* SpinOrgsteuer;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* LEinnahmen;
    QLabel* LAndieorg;
    QPushButton* btnCharname;
    QLineEdit* edCharname;
    QLabel* LCharname;
    QAction* AnarchyOnlineVerzeichnis1;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QFrame* Bevel1;
    QLabel* LGewinn;

    // State.
    std::unique_ptr<TIniFile> Settings;
    std::string AODir;
    std::int32_t SelIndex = 0;
    std::vector<TCharacter> Characters;
    std::int32_t OrgTaxPercent = 0;
    std::int32_t CharCount = 0;

    // Event handlers and methods.
    void FormCreate();
    void FormClose();
    void Beenden1Click();
    void AnarchyOnlineVerzeichnis1Click();
    void ListCharsClick();
    void btnCharnameClick();
    void SpinOrgsteuerChange();
    void Getnewchars();
    void getallchars(std::vector<TCharacter>& Entries, std::int32_t& EntryCount,
                     const std::vector<std::string>& Paths);
    void ShowChars(QListWidget* list, std::vector<TCharacter> chars);
    std::int64_t GetMoney(const LogLines& lines);
    void SetMoney(std::int64_t total);

    // Writes the settings as the close sequence does, when the session ends with the window
    // open (log off, shut down), so nothing given in this run is lost.
    void saveAtSessionEnd();

    // The lines the log view shows, as they were put into it; the sums read these.
    const LogLines& logLines() const { return logLines_; }

    // The text of list entry `index`, as the program keeps it (the bytes of the name or folder).
    std::string entryText(int index) const;

    // Whether the name editor is shown.
    bool nameEditorShown() const;

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void createControls();
    void createMenus();
    bool firstRunDirectoryChoice();
    void applyNameEditorRule(const std::string& entry);
    void showNameEditor();
    void hideNameEditor();
    void showLines(LogLines lines);
    void setEntryText(int index, const std::string& text);
    void appendEntry(const std::string& text);
    template <class Fn>
    void guarded(Fn&& handler);

    DialogService& dialogs_;
    const FileSystem& fs_;
    QString exeFolder_;
    AnchoredLayout* layout_ = nullptr;
    LogLines logLines_;
    std::string separator_;
    bool scanning_ = false;
    bool closePending_ = false;
    bool clickHandledThisPress_ = false;
};

// The program's main window, set before its start-up sequence runs.
extern TForm1* Form1;

}  // namespace lw
