#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

namespace tarvane {

class TfmMain;
class TNumSpinEdit;
class TSpokenNotice;

// Tells screen readers what the main window shows by colour and captions alone. Each new
// outcome of a conversion is said by a notice, wherever the focus is ("Valeur 2 : 2,8284 Vcac
// (Vpp)", or "Conversion impossible"), once the window shows; until then the notice bears
// the outcome as its name unsaid. A conversion that starts or stops failing (the arrows'
// descriptions) and each change of a box's description (the source moves to the other box, a
// unit changes) are announced, so that screen readers read them anew. It follows the window's
// conversion model; the events are sent only while a screen reader listens.
//
// With a Qt before 6.5, whose AT-SPI bridge sends the changed object where a change of
// description carries the new text (Orca 43 fails on it for the object it reads), a box's
// change is announced while the screen reader's focus is surely elsewhere: at once, unless
// the focus was in that box last of the two, and then as the focus comes back into it, before
// the screen reader hears of the focus (a screen reader may lag behind focus moves: Orca
// skips those that are over by the time it looks). A later Qt sends the text, which a screen
// reader takes at once.
class TConversionAnnouncer : public QObject {
    Q_OBJECT
public:
    explicit TConversionAnnouncer(TfmMain* window);

private:
    struct TBoxState {
        QPointer<TNumSpinEdit> box;
        QString description;
        bool waiting = false; // a change is yet to be announced
    };

    void Say(const QString& result);
    void Announce();
    void AnnounceBox(TBoxState& state);
    void FocusMoved(QWidget* now);

    TfmMain* m_window = nullptr;
    TSpokenNotice* m_notice = nullptr;
    TBoxState m_boxes[2];
    QPointer<QWidget> m_lastBox; // the box the focus was in last
    bool m_deferOnReadBox = false; // see the class comment: Qt before 6.5
    bool m_failed = false;
};

} // namespace tarvane
