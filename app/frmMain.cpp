#include "frmMain.h"

#include "Application.h"
#include "ConversionController.h"
#include "KeyboardFocusFrame.h"
#include "PrefsAutosave.h"
#include "ArrowIndicator.h"
#include "CaptionBar.h"
#include "ConversionAnnouncer.h"
#include "ScreenDensity.h"
#include "MainWindowLook.h"
#include "MenuStyler.h"
#include "NumSpinEdit.h"
#include "StyledMainMenu.h"
#include "TabStrip.h"
#include "TColor.h"
#include "TwoColorPalette.h"
#include "Units.h"
#include "frmAbout.h"
#include "uConv.h"
#include "uMisc.h"
#include "uRes.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QMenu>
#include <QScreen>
#include <QSessionManager>
#include <QSignalBlocker>
#include <QStyledItemDelegate>

#include <algorithm>
#include <memory>
#include <optional>

namespace tarvane {

namespace {

constexpr int ClientWidth = 553;
constexpr int ClientHeight = 393;
constexpr int ColumnOffset = 288; // the right column mirrors the left one this far over
constexpr int ItemHeight = 13;

QFont PixelFont(const QString& family, int pixelSize, bool bold = false)
{
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

QFont SansSerif11()
{
    return PixelFont(QStringLiteral("MS Sans Serif"), 11);
}

void SetTextColor(QWidget* widget, TColor color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, ColorToQColor(color));
    palette.setColor(QPalette::Text, ColorToQColor(color));
    widget->setPalette(palette);
}

// List rows of the laid-out item height, whatever the font asks for.
class TFixedRowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width(), ItemHeight};
    }
};

} // namespace

TfmMain::TfmMain(QWidget* parent, const QString& executablePath)
    : QMainWindow(parent)
    , m_executablePath(executablePath.isEmpty() ? RunningExecutablePath() : executablePath)
{
    setObjectName(QStringLiteral("fmMain"));
    setWindowTitle(QStringLiteral("Tarvane"));
    setWindowIcon(QGuiApplication::windowIcon());
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);
    setFont(SansSerif11());
    SetTextColor(this, clWindowText);

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
    BindNotifications();
    m_controller = new TConversionController(this);
    SetAccessibility();
    FormCreate(this);
    // From here on, what the user changes reaches the file without waiting for the close.
    m_autosave = new TPrefsAutosave([this] { return WritePrefs(); }, this);
    m_controller->OnStateChange = [this](QObject*) { m_autosave->Changed(); };
}

// Layout ---------------------------------------------------------------------------------

void TfmMain::CreateControls(QWidget* client)
{
    const QFont unitFont = PixelFont(QStringLiteral("Tahoma"), 19);
    Arrow1 = new TArrowIndicator(client);
    Arrow1->setGeometry(256, 64, 41, 41);
    lblUnit1 = CreateLabel(client, {16, 104, 233, 24}, unitFont, ColorToQColor(clAqua));
    lblUnit1->setText(QStringLiteral("lblUnit1"));
    lblUnit2 = CreateLabel(client, {16 + ColumnOffset, 104, 233, 24}, unitFont,
                           ColorToQColor(clAqua));
    lblUnit2->setText(QStringLiteral("lblUnit2"));
    Label1 = CreateLabel(client, {64, 360, 152, 13}, SansSerif11(), ColorToQColor(clSilver));
    Label2 = CreateLabel(client, {64 + ColumnOffset, 360, 152, 13}, SansSerif11(),
                         ColorToQColor(clSilver));
    for (QLabel* label : {Label1, Label2}) {
        label->setText(QStringLiteral("Précision (nombre de décimales)"));
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->adjustSize();
    }
    Arrow2 = new TArrowIndicator(client);
    Arrow2->setGeometry(256, 200, 41, 41);
    for (TArrowIndicator* arrow : {Arrow1, Arrow2}) {
        arrow->SetActive(true);
        arrow->SetDirection(pdRight);
        arrow->Palette()->SetLow(clGreen);
        arrow->Palette()->SetHigh(clLime);
        arrow->SetTransparent(true);
        arrow->SetColor(clNavy);
    }

    edValue1 = new TNumSpinEdit(client);
    CreateValueBox(edValue1, 16, SValueToConvert.toString(), 1);
    edValue2 = new TNumSpinEdit(client);
    CreateValueBox(edValue2, 16 + ColumnOffset, SConvertedValue.toString(), 0);
    lstUnits1 = new QListWidget(client);
    CreateUnitList(lstUnits1, 16);
    lstUnits2 = new QListWidget(client);
    CreateUnitList(lstUnits2, 16 + ColumnOffset);
    seEdValue1Precision = new TNumSpinEdit(client);
    CreatePrecisionSpinner(seEdValue1Precision, 16);
    seEdValue2Precision = new TNumSpinEdit(client);
    CreatePrecisionSpinner(seEdValue2Precision, 16 + ColumnOffset);

    // The category strip: one tab, "Electrique", that changes nothing, so nothing is wired.
    TabStrip1 = new TTabStrip(client);
    ApplyTabStrip1Layout(*TabStrip1);

    const QList<QWidget*> named = {Arrow1, lblUnit1, lblUnit2, Label1, Label2, Arrow2,
                                   edValue1, edValue2, lstUnits1, lstUnits2,
                                   seEdValue1Precision, seEdValue2Precision, TabStrip1};
    const QStringList names = {"Arrow1", "lblUnit1", "lblUnit2", "Label1", "Label2",
                               "Arrow2", "edValue1", "edValue2", "lstUnits1", "lstUnits2",
                               "seEdValue1Precision", "seEdValue2Precision", "TabStrip1"};
    for (qsizetype i = 0; i < named.size(); ++i)
        named[i]->setObjectName(names[i]);
}

QLabel* TfmMain::CreateLabel(QWidget* client, const QRect& bounds, const QFont& font,
                             QColor color)
{
    auto* label = new QLabel(client);
    label->setGeometry(bounds);
    label->setFont(font);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
    return label;
}

void TfmMain::CreateValueBox(TNumSpinEdit* box, int left, const QString& caption, int tag)
{
    box->setGeometry(left, 64, 233, 37);
    box->SetSpinType(sptFloat);
    box->SetPrecision(4);
    box->SetFloatValue(0.0);
    box->SetSigned(true);
    box->SetIncrementFloat(1.0);
    box->SetIncrementFloatPage(1.0);
    box->SetFlat(true);
    box->SetFlatLineColor(clBlue);
    box->SetColor(clBlack);
    box->SetFocusColor(clBlue);
    box->SetFocusBorderColor(clBlue);
    box->SetEditAlign(eaCenter);
    box->setFont(PixelFont(QStringLiteral("Courier New"), 27, true));
    box->SetFontColor(clAqua);
    box->SetLabelPosition(lpTopCenter);
    box->SetLabelMargin(8);
    box->SetLabelFont(SansSerif11());
    box->SetLabelFontColor(clSilver);
    box->SetLabelCaption(caption);
    box->SetTag(tag);
}

void TfmMain::CreatePrecisionSpinner(TNumSpinEdit* spinner, int left)
{
    spinner->setGeometry(left, 360, 41, 18);
    spinner->SetSpinType(sptNormal);
    spinner->SetMinValue(0);
    spinner->SetMaxValue(10);
    spinner->SetValue(4);
    spinner->SetFlat(true);
    spinner->SetAutoSelect(false);
    spinner->SetAutoSize(false);
    spinner->SetColor(clBlack);
    spinner->SetFocusColor(clBlack);
    spinner->SetFocusBorderColor(clBlack);
    spinner->SetEditAlign(eaCenter);
    spinner->setFont(SansSerif11());
    spinner->SetFontColor(clSilver);
}

void TfmMain::CreateUnitList(QListWidget* list, int left)
{
    list->setGeometry(left, 136, 233, 217);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setFrameShape(QFrame::NoFrame);
    list->setFont(SansSerif11());
    list->setUniformItemSizes(true);
    list->setItemDelegate(new TFixedRowDelegate(list));
    QPalette palette = list->palette();
    palette.setColor(QPalette::Base, ColorToQColor(clPurple));
    palette.setColor(QPalette::Text, ColorToQColor(clYellow));
    list->setPalette(palette);
}

void TfmMain::CreateMenu()
{
    MenuStyler1 = new TMenuStyler(this);
    MenuStyler1->setObjectName(QStringLiteral("MenuStyler1"));
    ApplyMenuStyler1Layout(*MenuStyler1);
    StyledMainMenu1 = new TStyledMainMenu(this);
    StyledMainMenu1->setObjectName(QStringLiteral("StyledMainMenu1"));
    StyledMainMenu1->SetMenuStyler(MenuStyler1);
    StyledMainMenu1->setNativeMenuBar(false); // part of the window, as its fixed size assumes
    setMenuBar(StyledMainMenu1);

    ActionList1 = new QObject(this);
    ActionList1->setObjectName(QStringLiteral("ActionList1"));
    const auto action = [this](const QString& caption) {
        auto* act = new QAction(caption, ActionList1);
        act->setToolTip(caption);
        act->setStatusTip(caption);
        return act;
    };
    ActAppHelpIndex = action(QStringLiteral("Index de l'aide"));
    ActAppReadme = action(QStringLiteral("Lisez-moi"));
    ActAppAbout = action(QStringLiteral("A propos..."));
    ActAppClose = action(QStringLiteral("Quitter"));
    ActAppHelpIndex->setEnabled(false); // no handler: shown grey, choosing it does nothing

    Fichier1 = StyledMainMenu1->addMenu(QStringLiteral("Fichier"));
    Fichier1->setObjectName(QStringLiteral("Fichier1"));
    Fichier1->addAction(ActAppClose);
    Aide1 = StyledMainMenu1->addMenu(QStringLiteral("Aide"));
    Aide1->setObjectName(QStringLiteral("Aide1"));
    Aide1->addAction(ActAppHelpIndex);
    N1 = Aide1->addSeparator();
    Aide1->addAction(ActAppReadme);
    N2 = Aide1->addSeparator();
    Aide1->addAction(ActAppAbout);
}

void TfmMain::SetTabOrder()
{
    const QList<QWidget*> order = {edValue1, edValue2, lstUnits1, lstUnits2,
                                   seEdValue1Precision, seEdValue2Precision};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void TfmMain::EndLoading()
{
    Arrow1->Loaded();
    Arrow2->Loaded();
    for (TNumSpinEdit* box : {edValue1, edValue2, seEdValue1Precision, seEdValue2Precision})
        box->Loaded();
    TabStrip1->Loaded();
}

void TfmMain::BindNotifications()
{
    for (TNumSpinEdit* box : {edValue1, edValue2}) {
        box->OnEnter = [this](QObject* sender) { edValue1Enter(sender); };
        box->OnChange = [this](QObject* sender) { edValue1Change(sender); };
    }
    for (TNumSpinEdit* spinner : {seEdValue1Precision, seEdValue2Precision})
        spinner->OnChange = [this](QObject* sender) { seEdValue1PrecisionChange(sender); };
    for (QListWidget* list : {lstUnits1, lstUnits2}) {
        // Selections made from code block the signals, so these are the user's doing only. A
        // click in the blank area or a Ctrl+click may leave no row selected: the list then
        // shows again the unit in use.
        connect(list, &QListWidget::currentRowChanged, this, [this, list] { lstUnits1Click(list); });
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
    seEdValue1Precision->setAccessibleName(QStringLiteral("Précision de la valeur 1"));
    seEdValue2Precision->setAccessibleName(QStringLiteral("Précision de la valeur 2"));
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
    m_prefsLocation = TPrefsLocation(IniFileNameOf(m_executablePath));
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
    // Box 1 only: a detour through box 2 would convert box 1's restored number into box 2's
    // rounded text and back, and change it.
    edValue1->setFocus(Qt::OtherFocusReason);
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
    // Once a save has failed and been reported, closing again gives it up: the user knows.
    if (m_saveFailed) {
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

void TfmMain::edValue1Change(QObject* Sender)
{
    m_controller->BoxTextChanged(BoxOf(Sender));
}

void TfmMain::lstUnits1Click(QObject* Sender)
{
    const auto* list = static_cast<const QListWidget*>(Sender);
    m_controller->SetUnit(BoxOf(Sender), list->currentRow());
}

void TfmMain::seEdValue1PrecisionChange(QObject* Sender)
{
    m_controller->SetPrecision(BoxOf(Sender), static_cast<const TNumSpinEdit*>(Sender)->Value());
}

} // namespace tarvane
