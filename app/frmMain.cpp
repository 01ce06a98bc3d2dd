#include "frmMain.h"

#include "Application.h"
#include "CaptionBar.h"
#include "ConversionAnnouncer.h"
#include "ConversionController.h"
#include "ConversionView.h"
#include "KeyboardFocusFrame.h"
#include "NumSpinEdit.h"
#include "PixelFont.h"
#include "PrecisionSpinner.h"
#include "PrefsAutosave.h"
#include "ScreenDensity.h"
#include "TColor.h"
#include "Units.h"
#include "frmAbout.h"
#include "uConv.h"
#include "uMisc.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QListWidget>
#include <QScreen>
#include <QSessionManager>
#include <QSignalBlocker>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <memory>
#include <optional>

namespace tarvane {

namespace {

constexpr int ClientWidth = 553;
constexpr int ClientHeight = 393;

// The precision a spinner shows; nothing while it is empty.
std::optional<int> PrecisionShownBy(const QObject* spinner)
{
    const auto* edit = static_cast<const TPrecisionSpinner*>(spinner);
    if (edit->Text().trimmed().isEmpty())
        return std::nullopt;
    return edit->Value();
}

} // namespace

TfmMain::TfmMain(QWidget* parent, const QString& executablePath)
    : QMainWindow(parent)
    , m_executablePath(executablePath.isEmpty() ? RunningExecutablePath() : executablePath)
{
    setObjectName(QStringLiteral("fmMain"));
    setWindowTitle(QStringLiteral("Tarvane"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);
    setFont(PixelFont(QStringLiteral("MS Sans Serif"), 11));
    SetTextColor(this, ColorToQColor(clWindowText));

    auto* client = new QWidget(this);
    client->setFixedSize(ClientWidth, ClientHeight);
    QPalette palette = client->palette();
    palette.setColor(QPalette::Window, ColorToQColor(clNavy));
    client->setPalette(palette);
    client->setAutoFillBackground(true);
    setCentralWidget(client);

    CreateControls(client);
    CreateMenu();
    SetTabOrder();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    TCaptionBar::InstallOn(this);
    FollowScreenDensity(this);
    EndLoading();
    m_controller = new TConversionController(this);
    m_view = new TConversionView(m_controller, this);
    BindNotifications();
    SetAccessibility();
    FormCreate(this);
    // From here on, what the user changes reaches the file without waiting for the close.
    m_autosave = new TPrefsAutosave([this] { return WritePrefs(); }, TPrefsAutosave::Delay, this);
    connect(m_controller, &TConversionController::PrefsChanged, m_autosave,
            &TPrefsAutosave::Changed);
}

void TfmMain::BindNotifications()
{
    // The boxes and spinners report the user's changes only: what the window writes into
    // them is what the model already knows.
    for (TNumSpinEdit* box : {edValue1, edValue2}) {
        box->OnEnter = [this](QObject* sender) { edValue1Enter(sender); };
        box->OnExit = [this](QObject* sender) { edValue1Exit(sender); };
        box->OnUserChange = [this](QObject* sender) { edValue1Change(sender); };
        box->OnPaste = [this](QObject* sender, const QString& text) {
            return edValue1Paste(sender, text);
        };
        box->OnStep = [this](QObject* sender, double increment) {
            edValue1Step(sender, increment);
        };
        box->OnUndo = [this](QObject* sender) { edValue1Undo(sender); };
        box->OnRedo = [this](QObject* sender) { edValue1Redo(sender); };
    }
    for (TPrecisionSpinner* spinner : {seEdValue1Precision, seEdValue2Precision}) {
        spinner->OnUserChange = [this](QObject* sender) { seEdValue1PrecisionChange(sender); };
        spinner->OnExit = [this](QObject* sender) { seEdValue1PrecisionExit(sender); };
    }
    for (QListWidget* list : {lstUnits1, lstUnits2}) {
        // Selections made from code block the signals, so these are the user's doing only. A
        // click in the blank area or a Ctrl+click may leave no row selected: the list then
        // shows again the unit in use.
        connect(list, &QListWidget::currentRowChanged, this,
                [this, list] { lstUnits1Click(list); });
        connect(list, &QListWidget::itemSelectionChanged, this, [this, list] {
            if (list->selectedItems().isEmpty())
                lstUnits1Click(list);
        });
    }
    connect(ActAppClose, &QAction::triggered, this, [this] { ActAppCloseExecute(ActAppClose); });
    connect(ActAppReadme, &QAction::triggered, this, [this] { ActAppReadmeExecute(ActAppReadme); });
    connect(ActAppAbout, &QAction::triggered, this, [this] { ActAppAboutExecute(ActAppAbout); });
    connect(qGuiApp, &QGuiApplication::commitDataRequest, this, &TfmMain::CommitData);
}

// What a screen reader says of the controls that have no caption of their own (the value
// boxes and arrows take theirs from what the window shows), and where a keyboard user sees
// the focus.
void TfmMain::SetAccessibility()
{
    lstUnits1->setAccessibleName(QStringLiteral("Unité de la valeur 1"));
    lstUnits2->setAccessibleName(QStringLiteral("Unité de la valeur 2"));
    seEdValue1Precision->setAccessibleName(
        QStringLiteral("Précision de la valeur 1 (nombre de décimales)"));
    seEdValue2Precision->setAccessibleName(
        QStringLiteral("Précision de la valeur 2 (nombre de décimales)"));
    new TConversionAnnouncer(this);
    new TKeyboardFocusFrame(centralWidget(),
                            {lstUnits1, lstUnits2, seEdValue1Precision, seEdValue2Precision});
}

// Start and close -------------------------------------------------------------------------

void TfmMain::FormCreate(QObject* /*Sender*/)
{
    InitPaths();
    FillUnitLists();
    LoadUserPrefs(m_prefsLocation.FileToRead());
}

void TfmMain::InitPaths()
{
    m_appPath = AppPathOf(m_executablePath);
    m_prefsLocation =
        TPrefsLocation(IniFileNameOf(m_executablePath), !InstalledDataPathOf(m_appPath).isEmpty());
    m_iniFileName = m_prefsLocation.FileName();
}

void TfmMain::FillUnitLists()
{
    lstUnits1->clear();
    lstUnits2->clear();
    for (const std::string_view name : UnitLongNames)
        lstUnits1->addItem(QString::fromUtf8(name.data(), qsizetype(name.size())));
    for (int row = 0; row < lstUnits1->count(); ++row)
        lstUnits2->addItem(lstUnits1->item(row)->clone());
    m_controller->SetUnit(vbValue1, 0);
    m_controller->SetUnit(vbValue2, 0);
}

void TfmMain::LoadUserPrefs(const QString& path)
{
    m_controller->Restore(ReadUserPrefs(path));
}

TUserPrefs TfmMain::Prefs() const
{
    return m_controller->Prefs();
}

void TfmMain::FormShow(QObject* /*Sender*/)
{
    // Into the box that holds the number the user gave, and no other: that box stays the
    // source, and the other one shows its number converted.
    (m_controller->Source() == vbValue1 ? edValue1 : edValue2)->setFocus(Qt::OtherFocusReason);
}

void TfmMain::FormCloseQuery(QObject* /*Sender*/, bool& CanClose)
{
    // A failed save keeps the window open, as for any error of a close request.
    const std::optional<QString> error = SavePrefs();
    if (error)
        TApplication::ShowError(*error);
    CanClose = !error;
}

std::optional<QString> TfmMain::SavePrefs()
{
    if (WritePrefs())
        return std::nullopt;
    m_saveFailed = true;
    return QStringLiteral("Impossible d'écrire dans %1").arg(m_iniFileName);
}

bool TfmMain::WritePrefs()
{
    m_prefsLocation.CreateFolder();
    return SaveUserPrefs(m_iniFileName, Prefs());
}

void TfmMain::ActAppCloseExecute(QObject* /*Sender*/)
{
    close();
}

// Help menu -------------------------------------------------------------------------------

void TfmMain::ActAppReadmeExecute(QObject* /*Sender*/)
{
    OpenDocumentQuietly(ReadmeFileNameOf(m_appPath));
}

void TfmMain::OpenDocumentQuietly(const QString& path)
{
    // A readme that cannot open is no reason to bother the user.
    try {
        OpenDocument(path, ShowNormal);
    } catch (...) {
    }
}

void TfmMain::ActAppAboutExecute(QObject* /*Sender*/)
{
    // A fresh window for each showing, destroyed however the showing ends.
    const auto about = std::make_unique<TfmAbout>(this);
    about->exec();
}

void TfmMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (m_shownBefore)
        return;
    m_shownBefore = true;
    CentreOnScreen();
    FormShow(this);
    windowHandle()->installEventFilter(this); // for the first exposure
}

bool TfmMain::event(QEvent* event)
{
    // Once handed over, the icon follows the density, as the pictures do.
    if (event->type() == DensityChangeEvent && !QGuiApplication::windowIcon().isNull())
        ShowProgramIcon();
    return QMainWindow::event(event);
}

bool TfmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == windowHandle() && event->type() == QEvent::Expose
        && windowHandle()->isExposed()) {
        watched->removeEventFilter(this);
        // Queued: the exposure's own painting runs first.
        QTimer::singleShot(0, this, &TfmMain::ShowProgramIcon);
    }
    return QMainWindow::eventFilter(watched, event);
}

void TfmMain::ShowProgramIcon()
{
    // Decoding the icon and handing all its sizes to the window system waits until the window
    // is first on screen; the application's windows then all take it.
    QGuiApplication::setWindowIcon(TApplication::ProgramIcon());
}

void TfmMain::CentreOnScreen()
{
    // On a screen smaller than the window, the frame's top left stays on screen, so the
    // menu bar and the caption can still be reached.
    const QRect area = screen()->availableGeometry();
    QRect frame = frameGeometry();
    frame.moveCenter(area.center());
    move(std::max(frame.left(), area.left()), std::max(frame.top(), area.top()));
}

void TfmMain::closeEvent(QCloseEvent* event)
{
    // Once a save has failed and been reported, closing again tries it once more, without a
    // second report, and closes whatever comes of it: the user knows.
    if (m_saveFailed) {
        WritePrefs();
        event->accept();
        return;
    }
    bool canClose = true;
    FormCloseQuery(this, canClose);
    event->setAccepted(canClose);
}

void TfmMain::CommitData(QSessionManager& manager)
{
    // Preferences that could not be saved are no reason to hold up the end of the session.
    const std::optional<QString> error = SavePrefs();
    if (error && manager.allowsInteraction()) {
        TApplication::ShowError(*error);
        manager.release();
    }
}

// Conversion handlers: each tells the controller what happened --------------------------------

TValueBox TfmMain::BoxOf(const QObject* control) const
{
    return control == edValue2 || control == lstUnits2 || control == seEdValue2Precision ? vbValue2
                                                                                         : vbValue1;
}

void TfmMain::DoConversion()
{
    m_controller->Convert();
}

void TfmMain::edValue1Enter(QObject* Sender)
{
    m_controller->MakeSource(BoxOf(Sender));
}

void TfmMain::edValue1Exit(QObject* Sender)
{
    m_controller->LeaveBox(BoxOf(Sender));
}

void TfmMain::edValue1Change(QObject* Sender)
{
    m_controller->EditText(BoxOf(Sender), static_cast<const TNumSpinEdit*>(Sender)->Text());
}

bool TfmMain::edValue1Paste(QObject* Sender, const QString& Text)
{
    const auto* box = static_cast<const TNumSpinEdit*>(Sender);
    return m_controller->Paste(BoxOf(Sender), Text, box->PastedText(Text));
}

void TfmMain::edValue1Step(QObject* Sender, double Increment)
{
    m_controller->Step(BoxOf(Sender), Increment);
}

void TfmMain::edValue1Undo(QObject* Sender)
{
    m_controller->Undo(BoxOf(Sender));
}

void TfmMain::edValue1Redo(QObject* Sender)
{
    m_controller->Redo(BoxOf(Sender));
}

void TfmMain::lstUnits1Click(QObject* Sender)
{
    const auto* list = static_cast<const QListWidget*>(Sender);
    m_controller->SetUnit(BoxOf(Sender), list->currentRow());
}

void TfmMain::seEdValue1PrecisionChange(QObject* Sender)
{
    m_controller->SetPrecision(BoxOf(Sender), PrecisionShownBy(Sender));
}

void TfmMain::seEdValue1PrecisionExit(QObject* Sender)
{
    m_controller->LeavePrecision(BoxOf(Sender));
}

} // namespace tarvane
