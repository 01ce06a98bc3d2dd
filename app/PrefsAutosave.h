#pragma once

#include <QObject>

#include <functional>

class QTimer;

namespace tarvane {

// Keeps the preferences file current while the program runs, so that nothing is lost when it
// ends without closing (the session killed, the compositor gone): after a change of a saved
// value the preferences reach the file within Delay, in one rewrite as at close, and at most
// once per Delay however fast the changes come. A save that fails is tried again a Delay
// later, without a word; the close still reports its own failure.
class TPrefsAutosave : public QObject {
    Q_OBJECT
public:
    static constexpr int DelayMs = 1500;

    // save: writes the preferences; false when the file could not be written.
    TPrefsAutosave(std::function<bool()> save, QObject* parent);

    // A saved value changed: a save is due within Delay, unless one already is.
    void Changed();
    // Whether a save is due.
    bool Pending() const;

private:
    void Save();

    std::function<bool()> m_save;
    QTimer* m_timer = nullptr;
};

} // namespace tarvane
