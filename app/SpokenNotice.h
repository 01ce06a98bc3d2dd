#pragma once

#include <QWidget>

namespace tarvane {

// A notice that only screen readers perceive: it takes no room and paints nothing, and each
// Say shows it anew with the text as its name, which a screen reader announces as it would
// a desktop notification, wherever the focus is.
class TSpokenNotice : public QWidget {
    Q_OBJECT
public:
    explicit TSpokenNotice(QWidget* parent);

    void Say(const QString& text);
    // The text as its name, unsaid: the notice has a name before it first says anything.
    void SetText(const QString& text);
};

} // namespace tarvane
