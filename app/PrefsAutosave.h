#pragma once

#include <QObject>

#include <chrono>
#include <functional>

class QTimer;

namespace tarvane {

// Keeps the preferences file current while the program runs, so that nothing is lost when it
// ends without closing (the session killed, the compositor gone): after a change of a saved
// value the preferences reach the file within the delay, in one rewrite as at close, and at
// most once per delay however fast the changes come. A save that fails is tried again a
// delay later, without a word; the close still reports its own failure.
class TPrefsAutosave : public QObject {
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds Delay{1500};

    // save: writes the preferences; false when the file could not be written.
    TPrefsAutosave(std::function<bool()> save, std::chrono::milliseconds delay, QObject* parent);

    // A saved value changed: a save is due within the delay, unless one already is.
    void Changed();
    // Whether a save is due.
    bool Pending() const;

private:
    void Save();

    std::function<bool()> m_save;
    QTimer* m_timer = nullptr;
};

} // namespace tarvane
