#include "app/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>

#include "app/anchored_layout.h"
#include "app/log_view.h"
#include "app/qt_text.h"
#include "app/spin_edit.h"
#include "core/amount_text.h"
#include "core/error.h"
#include "core/find_files.h"
#include "core/path.h"
#include "core/settings.h"
#include "core/shop_log.h"

namespace lw {

TForm1* Form1 = nullptr;

namespace {

constexpr QSize kClientSize(576, 498);
// The smallest outer size is 495 x 414 with a frame of 4 on each side and a title bar and
// menu bar of 46 together; what is left of it is the client area.
constexpr QSize kMinClientSize(495 - 8, 414 - 46);
constexpr int kAmountRightEdge = 561;
const char* const kAll = "Alle";
const char* const kStartCaption = "0 Credits";

QString fromUtf8(const char* text) {
    return QString::fromUtf8(text);
}

// The classic Windows dialog font; the Wine package ships a compatible one outside the folders
// fontconfig scans.
void registerTahoma() {
    static const bool registered = [] {
        for (const char* file :
             {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/fonts/truetype/wine/tahoma.ttf"}) {
            if (QFile::exists(QString::fromLatin1(file))) {
                QFontDatabase::addApplicationFont(QString::fromLatin1(file));
            }
        }
        return true;
    }();
    (void)registered;
}

QFont tahoma() {
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    return font;
}

std::string groupSeparatorOfLocale() {
    const QString sep = QLocale::system().groupSeparator();
    return thousandsSeparator(keptBytes(sep));
}

}  // namespace

TForm1::TForm1(DialogService& dialogs, const QString& exeFolder, const FileSystem& fs,
               QWidget* parent)
    : QMainWindow(parent), dialogs_(dialogs), fs_(fs), exeFolder_(exeFolder) {
    Form1 = this;
    registerTahoma();
    separator_ = groupSeparatorOfLocale();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Ledgerwick"));
    setFont(tahoma());
    createMenus();
    createControls();
    guarded([this] { FormCreate(); });
}

TForm1::~TForm1() {
    if (Form1 == this) {
        Form1 = nullptr;
    }
}

void TForm1::createMenus() {
    MainMenu1 = menuBar();
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    D1 = MainMenu1->addMenu(QStringLiteral("&Datei"));
    D1->setObjectName(QStringLiteral("D1"));
    Beenden1 = D1->addAction(QStringLiteral("&Beenden"));
    Beenden1->setObjectName(QStringLiteral("Beenden1"));
    Optionen1 = MainMenu1->addMenu(QStringLiteral("&Optionen"));
    Optionen1->setObjectName(QStringLiteral("Optionen1"));
    AnarchyOnlineVerzeichnis1 = Optionen1->addAction(QStringLiteral("Anarchy Online Verzeichnis"));
    AnarchyOnlineVerzeichnis1->setObjectName(QStringLiteral("AnarchyOnlineVerzeichnis1"));
    connect(Beenden1, &QAction::triggered, this, &TForm1::Beenden1Click);
    connect(AnarchyOnlineVerzeichnis1, &QAction::triggered, this,
            [this] { guarded([this] { AnarchyOnlineVerzeichnis1Click(); }); });

    OpenDialog1 = new QFileDialog(this);
    OpenDialog1->setObjectName(QStringLiteral("OpenDialog1"));
    // Qt's own dialog matches the filter without regard to case and looks the same everywhere.
    OpenDialog1->setOption(QFileDialog::DontUseNativeDialog);
    OpenDialog1->setNameFilter(QStringLiteral("Anarchy Online (Anarchy.Exe)"));
    OpenDialog1->setDefaultSuffix(QStringLiteral("exe"));
    OpenDialog1->setFileMode(QFileDialog::AnyFile);  // a typed name need not exist
    OpenDialog1->setAcceptMode(QFileDialog::AcceptOpen);
    OpenDialog1->setSizeGripEnabled(true);
    OpenDialog1->selectFile(QStringLiteral("Anarchy"));
}

void TForm1::createControls() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setAutoFillBackground(true);
    client->setBackgroundRole(QPalette::Button);
    setCentralWidget(client);
    layout_ = new AnchoredLayout(client, kClientSize);
    using A = AnchoredLayout;
    constexpr auto kDesigned = A::Width::kDesigned;
    constexpr auto kTextFromLeft = A::Width::kTextFromLeft;
    // The amounts keep their right edge in every language setting, so padded texts end there.
    constexpr auto kTextFromRight = A::Width::kTextFromRight;

    ListChars = new QListWidget(client);
    ListChars->setSelectionMode(QAbstractItemView::SingleSelection);
    ListChars->setSortingEnabled(false);
    MemoPlayershoplog = new LogView(client);
    SpinOrgsteuer = new TSpinEdit(client);
    SpinOrgsteuer->setRange(0, 100);
    btnCharname = new QPushButton(QStringLiteral("Ok"), client);
    edCharname = new QLineEdit(client);
    Label1 = new QLabel(QStringLiteral("Orgsteuer:"), client);
    Label2 = new QLabel(QStringLiteral("%"), client);
    LCharname = new QLabel(QStringLiteral("Charname:"), client);
    Label3 = new QLabel(QStringLiteral("Einnahmen:"), client);
    Label4 = new QLabel(QStringLiteral("An die Org gehen:"), client);
    Label5 = new QLabel(QStringLiteral("Gewinn:"), client);
    LEinnahmen = new QLabel(QStringLiteral("LEinnahmen"), client);
    LAndieorg = new QLabel(QStringLiteral("LAndieorg"), client);
    LGewinn = new QLabel(QStringLiteral("LGewinn"), client);
    Bevel1 = new QFrame(client);
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setFrameShadow(QFrame::Sunken);

    const struct {
        QWidget* widget;
        const char* name;
        QRect rect;
        int anchors;
        AnchoredLayout::Width width;
    } controls[] = {
        {ListChars, "ListChars", {8, 24, 161, 409}, A::kLeft | A::kTop | A::kBottom, kDesigned},
        {MemoPlayershoplog,
         "MemoPlayershoplog",
         {184, 24, 381, 409},
         A::kLeft | A::kTop | A::kRight | A::kBottom,
         kDesigned},
        {SpinOrgsteuer, "SpinOrgsteuer", {24, 461, 41, 22}, A::kLeft | A::kBottom, kDesigned},
        {btnCharname, "btnCharname", {200, 462, 33, 25}, A::kLeft | A::kBottom, kDesigned},
        {edCharname, "edCharname", {104, 462, 89, 21}, A::kLeft | A::kBottom, kDesigned},
        {Label1, "Label1", {24, 446, 53, 13}, A::kLeft | A::kBottom, kTextFromLeft},
        {Label2, "Label2", {72, 462, 11, 13}, A::kLeft | A::kBottom, kTextFromLeft},
        {LCharname, "LCharname", {104, 446, 53, 13}, A::kLeft | A::kBottom, kTextFromLeft},
        {Label3, "Label3", {328, 438, 56, 13}, A::kRight | A::kBottom, kTextFromLeft},
        {Label4, "Label4", {328, 454, 88, 13}, A::kRight | A::kBottom, kTextFromLeft},
        {Label5, "Label5", {328, 478, 39, 13}, A::kRight | A::kBottom, kTextFromLeft},
        {LEinnahmen,
         "LEinnahmen",
         {504, 438, kAmountRightEdge - 504, 13},
         A::kRight | A::kBottom,
         kTextFromRight},
        {LAndieorg,
         "LAndieorg",
         {513, 454, kAmountRightEdge - 513, 13},
         A::kRight | A::kBottom,
         kTextFromRight},
        {LGewinn,
         "LGewinn",
         {521, 478, kAmountRightEdge - 521, 13},
         A::kRight | A::kBottom,
         kTextFromRight},
        {Bevel1, "Bevel1", {328, 470, 233, 1}, A::kRight | A::kBottom, kDesigned},
    };
    for (const auto& c : controls) {
        c.widget->setObjectName(QString::fromLatin1(c.name));
        layout_->add(c.widget, c.rect, c.anchors, c.width);
    }
    for (QLabel* amount : {LEinnahmen, LAndieorg, LGewinn}) {
        amount->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    // A style sheet, since the platform theme resets a palette set before the window shows.
    LAndieorg->setStyleSheet(QStringLiteral("color: red"));

    setTabOrder(ListChars, MemoPlayershoplog);
    setTabOrder(MemoPlayershoplog, SpinOrgsteuer);
    setTabOrder(SpinOrgsteuer, btnCharname);
    setTabOrder(btnCharname, edCharname);
    for (QWidget* w : {static_cast<QWidget*>(Label1), static_cast<QWidget*>(Label2),
                       static_cast<QWidget*>(LCharname), static_cast<QWidget*>(Label3),
                       static_cast<QWidget*>(Label4), static_cast<QWidget*>(Label5),
                       static_cast<QWidget*>(LEinnahmen), static_cast<QWidget*>(LAndieorg),
                       static_cast<QWidget*>(LGewinn), static_cast<QWidget*>(Bevel1)}) {
        w->setFocusPolicy(Qt::NoFocus);
    }

    LCharname->setVisible(false);
    edCharname->setVisible(false);
    btnCharname->setVisible(false);
    btnCharname->setEnabled(false);
    // A main window has no default button: Enter presses "Ok" through shortcuts that stay
    // silent while the button is hidden or disabled.
    for (const QKeySequence& key : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)}) {
        auto* shortcut = new QShortcut(key, btnCharname);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, btnCharname, &QPushButton::click);
    }

    connect(btnCharname, &QPushButton::clicked, this,
            [this] { guarded([this] { btnCharnameClick(); }); });
    connect(SpinOrgsteuer, &TSpinEdit::textChanged, this,
            [this] { guarded([this] { SpinOrgsteuerChange(); }); });
    // One run per click, also on the selected entry, and one per keyboard move: a change of
    // the selection runs the handler, and a click that changed nothing runs it on release.
    ListChars->viewport()->installEventFilter(this);
    connect(ListChars, &QListWidget::itemSelectionChanged, this, [this] {
        clickHandledThisPress_ = true;
        guarded([this] { ListCharsClick(); });
    });
    connect(ListChars, &QListWidget::itemClicked, this, [this] {
        if (!clickHandledThisPress_) {
            guarded([this] { ListCharsClick(); });
        }
    });
    connect(qApp, &QGuiApplication::commitDataRequest, this, &TForm1::saveAtSessionEnd);

    client->setMinimumSize(kMinClientSize);
    resize(kClientSize.width(), kClientSize.height() + MainMenu1->sizeHint().height());
    move(0, 0);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ListChars->viewport() && event->type() == QEvent::MouseButtonPress) {
        clickHandledThisPress_ = false;
    }
    return QMainWindow::eventFilter(watched, event);
}

template <class Fn>
void TForm1::guarded(Fn&& handler) {
    try {
        handler();
    } catch (const std::exception& e) {
        dialogs_.showError(displayText(errorBoxText(e.what())));
    }
}

// Start-up sequence.
void TForm1::FormCreate() {
    // Qt paints every widget double-buffered already.
    LGewinn->setText(fromUtf8(kStartCaption));
    LEinnahmen->setText(fromUtf8(kStartCaption));
    LAndieorg->setText(fromUtf8(kStartCaption));
    layout_->apply();
    Characters.assign(100, TCharacter{});
    CharCount = 0;
    Settings = std::make_unique<TIniFile>(
        settingsPath(keptBytes(QDir::toNativeSeparators(exeFolder_))), fs_);

    if (readFirstRun(*Settings)) {
        if (firstRunDirectoryChoice()) {
            Getnewchars();
            ShowChars(ListChars, Characters);
        }
    } else {
        const std::string dir = readGameDir(*Settings);
        if (dir.empty()) {
            dialogs_.showMessage(fromUtf8(
                "Sie haben noch kein Anarchy Online Verzeichnis ausgewählt, bitte holen Sie das "
                "nach"));
        } else {
            AODir = dir;
            loadRoster(*Settings, Characters, CharCount);
            Getnewchars();
            ShowChars(ListChars, Characters);
        }
    }

    const std::int32_t rate = readOrgTax(*Settings);
    OrgTaxPercent = rate;
    SpinOrgsteuer->setValue(rate);
    // The rate in use is the one the field shows, also for a stored rate outside 0..100.
    OrgTaxPercent = SpinOrgsteuer->value();
}

bool TForm1::firstRunDirectoryChoice() {
    dialogs_.showMessage(fromUtf8("Bitte wählen Sie das Anarchy Online Verzeichnis aus"));
    const std::optional<QString> pick = dialogs_.pickFile(*OpenDialog1);
    if (!pick) {
        dialogs_.showMessage(
            fromUtf8("Sie haben kein Verzeichnis angegeben, bitte wählen sie über den Punkt "
                     "Optionen ein Verzeichnis aus"));
        return false;
    }
    OpenDialog1->selectFile(*pick);
    const std::string dir = pickedFileDirectory(keptBytes(QDir::toNativeSeparators(*pick)));
    writeGameDir(*Settings, dir);
    AODir = dir;
    return true;
}

// Close sequence.
void TForm1::FormClose() {
    saveSettings(*Settings, Characters, CharCount, OrgTaxPercent, AODir);
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (scanning_) {
        // The scan lets events run; the window closes once it is done.
        closePending_ = true;
        event->ignore();
        return;
    }
    bool saved = false;
    guarded([&] {
        if (Settings) {
            FormClose();
        }
        saved = true;
    });
    if (saved) {
        event->accept();
    } else {
        event->ignore();
    }
}

void TForm1::saveAtSessionEnd() {
    guarded([this] {
        if (Settings) {
            FormClose();
        }
    });
}

void TForm1::Beenden1Click() {
    close();
}

void TForm1::AnarchyOnlineVerzeichnis1Click() {
    if (scanning_) {
        return;
    }
    const std::optional<QString> pick = dialogs_.pickFile(*OpenDialog1);
    if (!pick) {
        if (AODir.empty()) {
            dialogs_.showMessage(
                fromUtf8("Es ist noch kein Anarchy Online-Verzeichnis festgelegt worden."));
        }
        return;
    }
    OpenDialog1->selectFile(*pick);
    AODir = pickedFileDirectory(keptBytes(QDir::toNativeSeparators(*pick)));
    Getnewchars();
    ShowChars(ListChars, Characters);
}

// Character scan.
void TForm1::Getnewchars() {
    if (scanning_) {
        return;
    }
    scanning_ = true;
    struct ScanEnd {
        TForm1* form;
        ~ScanEnd() {
            form->scanning_ = false;
            if (form->closePending_) {
                form->closePending_ = false;
                QMetaObject::invokeMethod(form, &QWidget::close, Qt::QueuedConnection);
            }
        }
    } scanEnd{this};
    std::vector<std::string> found;
    FindFiles(prefsSearchPath(AODir), found, fs_);
    std::vector<TCharacter> entries;
    std::int32_t count = 0;
    getallchars(entries, count, found);
    mergeNewChars(Characters, CharCount, entries);
}

void TForm1::getallchars(std::vector<TCharacter>& Entries, std::int32_t& EntryCount,
                         const std::vector<std::string>& Paths) {
    EntryCount = 0;
    Entries = lw::getallchars(fs_, AODir, Paths, [] { QCoreApplication::processEvents(); });
    EntryCount = static_cast<std::int32_t>(Entries.size());
}

// Character list.
void TForm1::appendEntry(const std::string& text) {
    auto* item = new QListWidgetItem(displayText(text));
    item->setData(Qt::UserRole, QByteArray::fromStdString(text));
    ListChars->addItem(item);
}

void TForm1::setEntryText(int index, const std::string& text) {
    QListWidgetItem* item = ListChars->item(index);
    item->setText(displayText(text));
    item->setData(Qt::UserRole, QByteArray::fromStdString(text));
}

std::string TForm1::entryText(int index) const {
    const QListWidgetItem* item = ListChars->item(index);
    return item ? item->data(Qt::UserRole).toByteArray().toStdString() : std::string();
}

void TForm1::ShowChars(QListWidget* list, std::vector<TCharacter> chars) {
    const QSignalBlocker blocker(list);
    list->clear();
    for (std::int32_t i = 0; i < CharCount; ++i) {
        const TCharacter& c = chars[static_cast<std::size_t>(i)];
        appendEntry(c.Name.empty() ? c.CharDir : c.Name);
    }
    appendEntry(kAll);
    list->setCurrentRow(-1);
}

bool TForm1::nameEditorShown() const {
    return btnCharname->isVisibleTo(this);
}

void TForm1::showNameEditor() {
    edCharname->setVisible(true);
    btnCharname->setEnabled(true);
    btnCharname->setVisible(true);
    LCharname->setVisible(true);
}

void TForm1::hideNameEditor() {
    edCharname->setVisible(false);
    btnCharname->setEnabled(false);
    btnCharname->setVisible(false);
    LCharname->setVisible(false);
}

void TForm1::applyNameEditorRule(const std::string& entry) {
    if (entry == Characters[static_cast<std::size_t>(SelIndex)].CharDir) {
        showNameEditor();
    } else {
        hideNameEditor();
    }
}

void TForm1::btnCharnameClick() {
    if (SelIndex < 0 || SelIndex >= CharCount) {
        return;  // the editor is only offered for a roster entry
    }
    const std::string name = keptBytes(edCharname->text());
    Characters[static_cast<std::size_t>(SelIndex)].Name = name;
    setEntryText(SelIndex, name);
    hideNameEditor();
}

// Shop log view.
void TForm1::showLines(LogLines lines) {
    logLines_ = std::move(lines);
    MemoPlayershoplog->setLines(logLines_);
}

void TForm1::ListCharsClick() {
    showLines(LogLines{});
    for (int i = 0; i < ListChars->count(); ++i) {
        if (ListChars->item(i)->isSelected()) {
            SelIndex = i;
        }
    }
    if (SelIndex < 0 || SelIndex >= ListChars->count()) {
        return;
    }
    const std::string entry = entryText(SelIndex);
    if (entry == kAll) {
        hideNameEditor();
        showLines(loadAllShopLogs(fs_, AODir));
        SetMoney(GetMoney(logLines_));
        return;
    }
    const TCharacter& character = Characters[static_cast<std::size_t>(SelIndex)];
    const std::string path = shopLogPath(AODir, character);
    if (!shopLogExists(fs_, path)) {
        LogLines message;
        // The view shows its lines as UTF-8; a name kept as Windows-1252 bytes is converted.
        message.append(keptBytes(displayText(nothingSoldLine(entry))));
        showLines(std::move(message));
        SetMoney(0);
    } else {
        LogLines lines;
        loadShopLog(fs_, path, lines);
        showLines(std::move(lines));
        SetMoney(GetMoney(logLines_));
    }
    applyNameEditorRule(entry);
}

// Earnings.
std::int64_t TForm1::GetMoney(const LogLines& lines) {
    if (SelIndex < 0 || SelIndex >= ListChars->count()) {
        return 0;  // no entry to read (a start with a stored rate and no list)
    }
    if (entryText(SelIndex) != kAll) {
        if (SelIndex >= CharCount) {
            return 0;
        }
        const TCharacter& character = Characters[static_cast<std::size_t>(SelIndex)];
        if (!shopLogExists(fs_, shopLogPath(AODir, character))) {
            return 0;
        }
    }
    return sumCredits(lines);
}

void TForm1::SetMoney(std::int64_t total) {
    const auto captions = amountCaptions(total, OrgTaxPercent, separator_);
    LEinnahmen->setText(displayText(captions[0]));
    LAndieorg->setText(displayText(captions[1]));
    LGewinn->setText(displayText(captions[2]));
    layout_->apply();
}

void TForm1::SpinOrgsteuerChange() {
    OrgTaxPercent = SpinOrgsteuer->value();
    SetMoney(GetMoney(logLines_));
}

}  // namespace lw
