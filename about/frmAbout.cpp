#include "frmAbout.h"

#include "BitmapResource.h"
#include "CaptionBar.h"
#include "ExeInfo.h"
#include "GradientPanel.h"
#include "PixelFont.h"
#include "ScreenDensity.h"
#include "ScrollText.h"
#include "TColor.h"
#include "rtflabel.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

namespace tarvane {

namespace {

constexpr int ClientWidth = 305;
constexpr int ClientHeight = 193;

// Sets a label's caption and sizes the label to it; a right-aligned label keeps its right
// edge, the others their left edge.
void SetCaption(QLabel* label, const QString& caption)
{
    label->setText(caption);
    const QRect old = label->geometry();
    const QSize size = label->sizeHint();
    const int left =
        label->alignment() & Qt::AlignRight ? old.right() + 1 - size.width() : old.left();
    label->setGeometry(left, old.top(), size.width(), size.height());
}

// A separator of which only the top edge shows: a lowered line, shadow over highlight, in
// the desktop's own bevel colours.
class TopLineBevel : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent* /*event*/) override
    {
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawLine(0, 0, width() - 1, 0);
        painter.setPen(palette().color(QPalette::Light));
        painter.drawLine(0, 1, width() - 1, 1);
    }
};

} // namespace

QByteArray TfmAbout::TitleDocument()
{
    // The product name in bold, its middle letters in red, right-aligned.
    return QByteArray(
               "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}"
               "{\\f1\\fnil Arial;}}\r\n"
               "{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
               "\\viewkind4\\uc1\\pard\\qr\\lang1036\\b\\fs36 Tar\\cf1 va\\cf0 ne\\b0\\f1 \r\n"
               "\\par }\r\n")
        + '\0';
}

TfmAbout::TfmAbout(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("A propos..."));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(ClientWidth, ClientHeight);
    setFont(PixelFont(QStringLiteral("Arial"), 11));
    CentreOnScreen();

    CreateComponents();
    TCaptionBar::InstallOn(this);
    EndLoading();
    FormCreate(this);
    NameFacts();
}

// Layout ---------------------------------------------------------------------------------

QPixmap TfmAbout::Bullet()
{
    return QPixmap::fromImage(LoadBitmapResource(QStringLiteral("BULLET")));
}

void TfmAbout::CreateComponents()
{
    const QColor maroon = ColorToQColor(clMaroon);
    const QColor yellow = ColorToQColor(clYellow);
    const QPixmap bullet = Bullet();

    Gradient1 = new TGradientPanel(this);
    Gradient1->setGeometry(rect()); // the window's size is fixed
    Gradient1->SetStartColor(clAqua);
    Gradient1->SetEndColor(clBlue);
    Gradient1->SetDirection(gdUpDown);
    Gradient1->SetColorWidth(1);

    lblThanks = CreateLabel(QRect(8, 144, 74, 14), QStringLiteral("Remerciements"), maroon);
    ProgramIcon = CreatePicture(QRect(16, 16, 32, 32), QPixmap());
    ProgramIcon->setScaledContents(true);
    Bevel2 = CreateTopLineBevel(QRect(16, 56, 273, 9));
    Image1 = CreatePicture(QRect(16, 72, 12, 12), bullet);
    Version = CreateLabel(QRect(32, 72, 44, 14), QStringLiteral("Version :"), maroon);
    Image2 = CreatePicture(QRect(16, 88, 12, 12), bullet);
    Copyright = CreateLabel(QRect(32, 88, 52, 14), QStringLiteral("Copyright :"), maroon);
    Image3 = CreatePicture(QRect(16, 104, 12, 12), bullet);
    Comments = CreateLabel(QRect(32, 104, 74, 14), QStringLiteral("Commentaires :"), maroon);
    Bevel1 = CreateTopLineBevel(QRect(8, 136, 289, 9));

    Label2 = CreateLabel(QRect(181, 40, 108, 14), QStringLiteral("Convertisseur d'unités"),
                         ColorToQColor(clWindowText), Qt::AlignRight);

    RTFLabel1 = new TRTFLabel(this);
    RTFLabel1->setGeometry(72, 8, 225, 33);
    RTFLabel1->SetTransparent(true);
    RTFLabel1->SetWordWrap(false);
    RTFLabel1->SetRichText(TitleDocument());
    // Screen readers say, as a dialog opens, its free-standing texts of three words or more:
    // the title goes with the subtitle beside it.
    RTFLabel1->setAccessibleName(QStringLiteral("Tarvane, ") + Label2->text());

    // Placeholders, replaced from the version record before the window shows.
    lblVersion = CreateLabel(QRect(112, 72, 48, 14), QStringLiteral("lblVersion"), yellow);
    lblCopyright = CreateLabel(QRect(112, 88, 56, 14), QStringLiteral("lblCopyright"), yellow);
    lblComments = CreateLabel(QRect(112, 104, 60, 14), QStringLiteral("lblComments"), yellow);

    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setGeometry(216, 160, 81, 25);
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept); // modal result 1
    btnOK->setFocus();                                             // first in tab order

    CreateScrollText();

    ExeInfo1 = new TExeInfo(this); // reads the record now
}

QLabel* TfmAbout::CreateLabel(const QRect& bounds, const QString& caption, const QColor& color,
                              Qt::Alignment alignment)
{
    auto* label = new QLabel(this);
    // Record texts are shown as they are, never as markup.
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(alignment | Qt::AlignTop);
    SetTextColor(label, color);
    label->setGeometry(bounds);
    SetCaption(label, caption);
    return label;
}

QLabel* TfmAbout::CreatePicture(const QRect& bounds, const QPixmap& picture)
{
    auto* image = new QLabel(this);
    image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    image->setGeometry(bounds);
    image->setPixmap(picture);
    return image;
}

QWidget* TfmAbout::CreateTopLineBevel(const QRect& bounds)
{
    auto* bevel = new TopLineBevel(this);
    bevel->setGeometry(bounds);
    return bevel;
}

void TfmAbout::CreateScrollText()
{
    ScrollText1 = new TScrollText(this);
    ScrollText1->setGeometry(8, 160, 200, 25);
    ScrollText1->SetItems({QStringLiteral("- à la communauté du libre")});
    ScrollText1->SetDelay(100);
    ScrollText1->SetScrollPixels(1);
    ScrollText1->SetScrollDirection(drFromBottom);
    ScrollText1->SetBackgroundColor(clBlue);
    ScrollText1->SetFont(PixelFont(QStringLiteral("MS Sans Serif"), 11));
    ScrollText1->SetFontColor(clAqua);
    ScrollText1->SetAlignment(Qt::AlignLeft);
    ScrollText1->SetWordWrap(false);
    ScrollText1->setAccessibleName(ScrollText1->Items().join(u' '));
}

void TfmAbout::EndLoading()
{
    Gradient1->Loaded();
    RTFLabel1->Loaded();
}

// Placed at the centre of the screen, not over the owner as dialogs usually are.
void TfmAbout::CentreOnScreen()
{
    const QScreen* screen =
        parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
}

// Handlers --------------------------------------------------------------------------------

bool TfmAbout::event(QEvent* event)
{
    if (event->type() == DensityChangeEvent) {
        const QPixmap bullet = Bullet();
        for (QLabel* image : {Image1, Image2, Image3})
            image->setPixmap(bullet);
        return true;
    }
    return QDialog::event(event);
}

void TfmAbout::FormCreate(QObject* /*Sender*/)
{
    ScrollText1->SetActive(true);
    ProgramIcon->setPixmap(QGuiApplication::windowIcon().pixmap(ProgramIcon->size()));
    SetCaption(lblVersion, ExeInfo1->FileVersion());
    SetCaption(lblCopyright, ExeInfo1->LegalCopyright());
    SetCaption(lblComments, ExeInfo1->Comments());
}

// Each fact as a screen reader says it, with its caption: "Version : 1.2.0.0". Alone, the
// value or the caption would be too short for a screen reader to say as the dialog opens.
void TfmAbout::NameFacts()
{
    for (const auto& [caption, value] :
         {std::pair{Version, lblVersion}, {Copyright, lblCopyright}, {Comments, lblComments}})
        value->setAccessibleName(caption->text() + u' ' + value->text());
}

void TfmAbout::FormClose(QObject* /*Sender*/)
{
    ScrollText1->SetActive(false);
}

void TfmAbout::done(int result)
{
    FormClose(this);
    QDialog::done(result);
}

// The button face, painted rather than set in a palette of the window's own: such a
// palette, new at each opening, would reach every control, and the style keeps the pictures
// it draws buttons from by palette, so each opening would leave new ones in the
// application's picture cache. Every text sets its own colour.
void TfmAbout::paintEvent(QPaintEvent* /*event*/)
{
    QPainter(this).fillRect(rect(), ColorToQColor(clBtnFace));
}

// No button cancels this window, so Escape does nothing.
void TfmAbout::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace tarvane
