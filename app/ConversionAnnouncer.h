#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

namespace tarvane {

class TfmMain;
class TNumSpinEdit;

// Tells screen readers what the main window shows by colour and captions alone: when a
// value box starts or stops showing "-.--" (its description and the arrows' change) and when a box's spoken name changes (the captions swap
// with the source box, the unit changes). Silent while no screen reader listens.
class TConversionAnnouncer : public QObject {
    Q_OBJECT
public:
    explicit TConversionAnnouncer(TfmMain* window);

private:
    struct TBoxState {
        QPointer<TNumSpinEdit> box;
        QString name;
        bool failure = false;
    };

    void Announce();
    void AnnounceBox(TBoxState& state);

    TfmMain* m_window = nullptr;
    TBoxState m_boxes[2];
};

} // namespace tarvane
