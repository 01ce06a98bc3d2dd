// The main window's form: its controls with their stored settings, the menu, the tab order
// and the end of loading. The window's behaviour is in frmMain.cpp.
#include "frmMain.h"

#include "ArrowIndicator.h"
#include "MainWindowLook.h"
#include "MenuStyler.h"
#include "NumSpinEdit.h"
#include "PixelFont.h"
#include "PrecisionSpinner.h"
#include "StyledMainMenu.h"
#include "TColor.h"
#include "TabStrip.h"
#include "TwoColorPalette.h"
#include "uRes.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QStyledItemDelegate>

namespace tarvane {

namespace {

constexpr int ColumnOffset = 288; // the right column mirrors the left one this far over
constexpr int ItemHeight = 13;

QFont SansSerif11()
{
    return PixelFont(QStringLiteral("MS Sans Serif"), 11);
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

// Layout ---------------------------------------------------------------------------------

void TfmMain::CreateControls(QWidget* client)
{
    const QFont unitFont = PixelFont(QStringLiteral("Tahoma"), 19);
    Arrow1 = new TArrowIndicator(client);
    Arrow1->setGeometry(256, 64, 41, 41);
    lblUnit1 = CreateLabel(client, {16, 104, 233, 24}, unitFont, ColorToQColor(clAqua));
    lblUnit1->setText(QStringLiteral("lblUnit1"));
    lblUnit2 =
        CreateLabel(client, {16 + ColumnOffset, 104, 233, 24}, unitFont, ColorToQColor(clAqua));
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
    seEdValue1Precision = new TPrecisionSpinner(client);
    CreatePrecisionSpinner(seEdValue1Precision, 16);
    seEdValue2Precision = new TPrecisionSpinner(client);
    CreatePrecisionSpinner(seEdValue2Precision, 16 + ColumnOffset);

    // The category strip: one tab, "Electrique", that changes nothing, so nothing is wired.
    TabStrip1 = new TTabStrip(client);
    ApplyTabStrip1Layout(*TabStrip1);

    const QList<QWidget*> named = {Arrow1,
                                   lblUnit1,
                                   lblUnit2,
                                   Label1,
                                   Label2,
                                   Arrow2,
                                   edValue1,
                                   edValue2,
                                   lstUnits1,
                                   lstUnits2,
                                   seEdValue1Precision,
                                   seEdValue2Precision,
                                   TabStrip1};
    const QStringList names = {"Arrow1",
                               "lblUnit1",
                               "lblUnit2",
                               "Label1",
                               "Label2",
                               "Arrow2",
                               "edValue1",
                               "edValue2",
                               "lstUnits1",
                               "lstUnits2",
                               "seEdValue1Precision",
                               "seEdValue2Precision",
                               "TabStrip1"};
    for (qsizetype i = 0; i < named.size(); ++i)
        named[i]->setObjectName(names[i]);
}

QLabel* TfmMain::CreateLabel(QWidget* client, const QRect& bounds, const QFont& font, QColor color)
{
    auto* label = new QLabel(client);
    label->setGeometry(bounds);
    label->setFont(font);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    SetTextColor(label, color);
    return label;
}

void TfmMain::CreateValueBox(TNumSpinEdit* box, int left, const QString& caption, int tag)
{
    box->setGeometry(left, 64, 233, 37);
    box->SetSpinType(sptFloat);
    box->SetPrecision(4);
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

void TfmMain::CreatePrecisionSpinner(TPrecisionSpinner* spinner, int left)
{
    spinner->setGeometry(left, 360, 41, 18);
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
    const QList<QWidget*> order = {
        edValue1, edValue2, lstUnits1, lstUnits2, seEdValue1Precision, seEdValue2Precision};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void TfmMain::EndLoading()
{
    Arrow1->Loaded();
    Arrow2->Loaded();
    for (TNumSpinEdit* box : std::initializer_list<TNumSpinEdit*>{
             edValue1, edValue2, seEdValue1Precision, seEdValue2Precision})
        box->Loaded();
    TabStrip1->Loaded();
}

} // namespace tarvane
