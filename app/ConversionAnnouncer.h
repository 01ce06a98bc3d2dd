#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

namespace tarvane {

class TfmMain;
class TNumSpinEdit;

// Tells screen readers what the main window shows by colour and captions alone: each new
// outcome of the conversion, as a change of the source box's description (the box the user
// types in, so a screen reader following the focus says the result), a conversion that starts
// or stops failing (the arrows' descriptions), and each change of a box's spoken name (the
// source moves to the other box, a unit changes). It follows the window's conversion model.
// Silent while no screen reader listens.
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

    void Announce();
    void AnnounceBox(TBoxState& state);

    TfmMain* m_window = nullptr;
    TBoxState m_boxes[2];
    bool m_failed = false;
};

} // namespace tarvane
