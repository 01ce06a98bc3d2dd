#pragma once

#include "ConversionController.h"
#include "PrefsLocation.h"
#include "uUserPrefs.h"

#include <QMainWindow>

#include <optional>

class QAction;
class QLabel;
class QListWidget;
class QMenu;
class QSessionManager;

namespace tarvane {

class TArrowIndicator;
class TConversionView;
class TMenuStyler;
class TNumSpinEdit;
class TPrecisionSpinner;
class TPrefsAutosave;
class TStyledMainMenu;
class TTabStrip;

// The converter window: two value boxes side by side, each with its unit list, unit label and
// precision spinner, two arrows between them pointing from the source box to the target, a
// category strip and the menu. Whichever box last received the focus is the source; every
// edit and unit choice converts its number into the other box. The conversion's state belongs
// to TConversionController: the handlers below only report what the user did to it, and
// TConversionView shows what it says.
// The units, precisions and the number the user gave are restored from the INI file at start,
// the focus in the box it was given in, and saved there at every close request, and within moments of each change (TPrefsAutosave): beside
// the executable when it may be written there, otherwise in the user's configuration folder.
class TfmMain : public QMainWindow {
    Q_OBJECT
public:
    // executablePath: whose INI file the window uses; empty for the running executable.
    explicit TfmMain(QWidget* parent = nullptr, const QString& executablePath = QString());

    // What is saved at close, kept by the conversion controller.
    TUserPrefs Prefs() const;
    TConversionController* Controller() const { return m_controller; }
    const QString& AppPath() const { return m_appPath; }
    const QString& IniFileName() const { return m_iniFileName; }

    // Controls, in creation and stacking order.
    TArrowIndicator* Arrow1 = nullptr;
    QLabel* lblUnit1 = nullptr;
    QLabel* lblUnit2 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    TArrowIndicator* Arrow2 = nullptr;
    TNumSpinEdit* edValue1 = nullptr;
    TNumSpinEdit* edValue2 = nullptr;
    QListWidget* lstUnits1 = nullptr;
    QListWidget* lstUnits2 = nullptr;
    TPrecisionSpinner* seEdValue1Precision = nullptr;
    TPrecisionSpinner* seEdValue2Precision = nullptr;
    TTabStrip* TabStrip1 = nullptr;

    // Menus and actions.
    TMenuStyler* MenuStyler1 = nullptr;
    TStyledMainMenu* StyledMainMenu1 = nullptr;
    QMenu* Fichier1 = nullptr;
    QMenu* Aide1 = nullptr;
    QAction* N1 = nullptr;
    QAction* N2 = nullptr;
    QObject* ActionList1 = nullptr; // owns the four actions
    QAction* ActAppHelpIndex = nullptr;
    QAction* ActAppReadme = nullptr;
    QAction* ActAppAbout = nullptr;
    QAction* ActAppClose = nullptr;

    // Handlers.
    void FormCreate(QObject* Sender);
    void FormShow(QObject* Sender);
    void FormCloseQuery(QObject* Sender, bool& CanClose);
    void ActAppCloseExecute(QObject* Sender);
    void ActAppReadmeExecute(QObject* Sender);
    void ActAppAboutExecute(QObject* Sender);
    void edValue1Enter(QObject* Sender);
    void edValue1Exit(QObject* Sender);
    // The user's changes of a box's text.
    void edValue1Change(QObject* Sender);
    // A pasted level or number sets the box's number; false for any other text, which the
    // box inserts as it is.
    bool edValue1Paste(QObject* Sender, const QString& Text);
    // The user's steps, undo and redo in a box: the model's to make on the exact number.
    void edValue1Step(QObject* Sender, double Increment);
    void edValue1Undo(QObject* Sender);
    void edValue1Redo(QObject* Sender);
    void lstUnits1Click(QObject* Sender);
    // The user's changes of a precision spinner.
    void seEdValue1PrecisionChange(QObject* Sender);
    void seEdValue1PrecisionExit(QObject* Sender);

    // Converts the source box's number into the target box and shows the outcome.
    void DoConversion();

    // Opens a file through the desktop, ignoring the outcome and every error.
    void OpenDocumentQuietly(const QString& path);

    void InitPaths();
    void FillUnitLists();
    void LoadUserPrefs(const QString& path);

protected:
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateControls(QWidget* client);
    void CreateValueBox(TNumSpinEdit* box, int left, const QString& caption, int tag);
    void CreatePrecisionSpinner(TPrecisionSpinner* spinner, int left);
    void CreateUnitList(QListWidget* list, int left);
    QLabel* CreateLabel(QWidget* client, const QRect& bounds, const QFont& font, QColor color);
    void CreateMenu();
    void SetTabOrder();
    void EndLoading();
    void BindNotifications();
    void SetAccessibility();
    void CommitData(QSessionManager& manager);
    // Saves the preferences for a close request: the error to report when the file could not
    // be written; later requests then close without saving.
    std::optional<QString> SavePrefs();
    // Saves the preferences; false when the file could not be written.
    bool WritePrefs();
    TValueBox BoxOf(const QObject* control) const;
    void CentreOnScreen();
    void ShowProgramIcon();

    QString m_executablePath;
    QString m_appPath;
    QString m_iniFileName; // the preferences file saved at close
    TPrefsLocation m_prefsLocation;
    TConversionController* m_controller = nullptr;
    TConversionView* m_view = nullptr;
    TPrefsAutosave* m_autosave = nullptr;
    bool m_shownBefore = false;
    bool m_saveFailed = false; // a save at close failed and the user was told
};

} // namespace tarvane
