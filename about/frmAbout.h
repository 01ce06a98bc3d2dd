#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace tarvane {

class TExeInfo;
class TGradientPanel;
class TRTFLabel;
class TScrollText;

// The About box: over a blue gradient, the program's icon, the rich-text title, the version,
// copyright and comments texts of the executable's version record, and a line of thanks
// scrolling upwards. A fixed-size modal dialog built afresh for each showing; OK (or Enter)
// closes it with result 1, Escape does nothing. Its strip's worker runs only while it is open.
class TfmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfmAbout(QWidget* parent = nullptr);

    // The rich-text title the window shows.
    static QByteArray TitleDocument();

    // Components, in creation and stacking order (the gradient lies beneath all others).
    TGradientPanel* Gradient1 = nullptr;
    QLabel* lblThanks = nullptr;
    QLabel* ProgramIcon = nullptr;
    QWidget* Bevel2 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Version = nullptr;
    QLabel* Image2 = nullptr;
    QLabel* Copyright = nullptr;
    QLabel* Image3 = nullptr;
    QLabel* Comments = nullptr;
    QWidget* Bevel1 = nullptr;
    QLabel* Label2 = nullptr;
    TRTFLabel* RTFLabel1 = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblCopyright = nullptr;
    QLabel* lblComments = nullptr;
    QPushButton* btnOK = nullptr;
    TScrollText* ScrollText1 = nullptr;
    TExeInfo* ExeInfo1 = nullptr;

    // Handlers.
    void FormCreate(QObject* Sender);
    void FormClose(QObject* Sender);

    // Every way of closing (OK, Enter, the close box) ends here: runs FormClose, then hides
    // the window and ends its modal loop with the result.
    void done(int result) override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CreateComponents();
    QLabel* CreateLabel(const QRect& bounds, const QString& caption, const QColor& color,
                        Qt::Alignment alignment = Qt::AlignLeft);
    QLabel* CreatePicture(const QRect& bounds, const QPixmap& picture);
    QWidget* CreateTopLineBevel(const QRect& bounds);
    void CreateScrollText();
    static QPixmap Bullet();
    void EndLoading();
    void NameFacts();
    void CentreOnScreen();
};

} // namespace tarvane
