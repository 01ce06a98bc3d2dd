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
// (Vpp)", or "Conversion impossible"), once the window shows. A conversion that starts or
// stops failing (the arrows' descriptions) and each change of a box's spoken name or
// description (the source moves to the other box, a unit changes) are announced, so that
// screen readers read them anew. It follows the window's conversion model; the events are
// sent only while a screen reader listens.
class TConversionAnnouncer : public QObject {
    Q_OBJECT
public:
    explicit TConversionAnnouncer(TfmMain* window);

private:
    struct TBoxState {
        QPointer<TNumSpinEdit> box;
        QString name;
        QString description;
    };

    void Say(const QString& result);
    void Announce();
    void AnnounceBox(TBoxState& state);
    bool ReadByScreenReader(const QWidget* box) const;

    TfmMain* m_window = nullptr;
    TSpokenNotice* m_notice = nullptr;
    TBoxState m_boxes[2];
    bool m_failed = false;
    // Qt 6.4's AT-SPI bridge sends the changed object where a change of name or description
    // carries the new text (Qt 6.8 sends the text); Orca, which says such a change of the
    // object it reads, fails on it. With a Qt before 6.5, the change is not sent for the box
    // a screen reader reads, which says its name and description as it takes the focus.
    bool m_quietOnReadBox = false;
    // The widget that had the focus last, until the focus change under way ends.
    QPointer<QWidget> m_lastFocus;
};

} // namespace tarvane
