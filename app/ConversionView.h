#pragma once

#include "ConversionController.h"

#include <QObject>

class QLabel;
class QListWidget;

namespace tarvane {

class TfmMain;
class TNumSpinEdit;
class TPrecisionSpinner;

// The one place where the main window shows what its conversion model says: each box's
// text, format, colours, caption and source mark, the unit lists and labels, the precision
// spinners and the arrows. What it writes is the program's doing, never the user's, so none
// of it reaches the model again.
class TConversionView : public QObject {
    Q_OBJECT
public:
    TConversionView(const TConversionController* model, TfmMain* window);

private:
    TNumSpinEdit* Box(TValueBox box) const;
    TPrecisionSpinner* PrecisionSpinner(TValueBox box) const;
    QLabel* UnitLabel(TValueBox box) const;
    QListWidget* UnitList(TValueBox box) const;

    void ShowText(TValueBox box, const QString& text);
    void ShowPrecision(TValueBox box, int precision);
    void ShowPrecisionChoice(TValueBox box, int precision);
    void ShowUnit(TValueBox box, int unit);
    void ShowSource(TValueBox source);
    void ShowOutcome(TValueBox target, bool targetFailed, bool failed);
    void ShowHistory(TValueBox box, bool canUndo, bool canRedo);

    TfmMain* m_window = nullptr;
};

} // namespace tarvane
