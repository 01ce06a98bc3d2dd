#include "ModalFocus.h"
#include "frmAbout.h"
#include "frmMain.h"
#include "uMisc.h"

#include <QAction>
#include <QDesktopServices>
#include <QFile>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace tarvane;

namespace {

// Stands in for the desktop's opener: records what it was asked to open.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;

public slots:
    void Open(const QUrl& url) { urls << url; }
};

// Path names a command line would split, quote, expand or redirect.
const QStringList AwkwardNames = {
    QStringLiteral("plain"),
    QStringLiteral("with  two spaces "),
    QStringLiteral("it's \"quoted\""),
    QStringLiteral("$(touch pwned); `id` & echo | cat > out < in *"),
    QStringLiteral("100% #1 ?x=y"),
};

void CreateFile(const QString& path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

} // namespace

class TestHelpActions : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void runDocument_data();
    void runDocument();
    void readme_data();
    void readme();
    void aboutIsFreshEachTime();
    void aboutTakesTheFocusBack();
    void helpIndexDoesNothing();

private:
    UrlCatcher m_catcher;
    std::unique_ptr<QTemporaryDir> m_dir; // a fresh one for each test
};

void TestHelpActions::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_catcher.urls.clear();
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &m_catcher, "Open");
}

void TestHelpActions::cleanup()
{
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
}

// clang-format off
void TestHelpActions::runDocument_data()
{
    QTest::addColumn<QString>("name");       // created in the temporary folder unless empty
    QTest::addColumn<QString>("fileName");   // as passed, relative to the temporary folder
    QTest::addColumn<QString>("parameters");
    QTest::addColumn<int>("result");

    for (const QString& name : AwkwardNames)
        QTest::newRow(qPrintable(name)) << name << name << QString() << ShellAccepted;
    QTest::newRow("missing") << QString() << QStringLiteral("absent.txt") << QString()
                             << ShellFileNotFound;
    QTest::newRow("empty name") << QString() << QString() << QString() << ShellFileNotFound;
    QTest::newRow("parameters cannot be passed") << QStringLiteral("doc.txt")
                                                 << QStringLiteral("doc.txt")
                                                 << QStringLiteral("--flag") << ShellRefused;
}
// clang-format on

// A file opens as that one path whatever its name holds; what cannot open is reported.
void TestHelpActions::runDocument()
{
    QFETCH(QString, name);
    QFETCH(QString, fileName);
    QFETCH(QString, parameters);
    QFETCH(int, result);

    if (!name.isEmpty())
        CreateFile(m_dir->filePath(name));
    QCOMPARE(RunDocument(fileName, parameters, m_dir->path(), ShowNormal), result);
    const QList<QUrl> opened = {QUrl::fromLocalFile(m_dir->filePath(fileName))};
    QCOMPARE(m_catcher.urls, result == ShellAccepted ? opened : QList<QUrl>());
}

// clang-format off
void TestHelpActions::readme_data()
{
    QTest::addColumn<QString>("folder");      // the program's, in a prefix
    QTest::addColumn<bool>("beside");         // a readme beside the program
    QTest::addColumn<bool>("besideIsFolder"); // a folder of the readme's name there instead
    QTest::addColumn<bool>("dataFolder");     // the prefix's share/tarvane/: an installed copy
    QTest::addColumn<bool>("installed");      // the readme in that folder
    QTest::addColumn<QString>("opened");      // relative to the prefix

    const QString awkward = QStringLiteral("Mes programmes $(x) & 'y'");
    const QString bin = QStringLiteral("bin");
    const QString installed = QStringLiteral("share/tarvane/A_Lire.txt");
    QTest::newRow("portable, in a folder with spaces and metacharacters")
        << awkward << true << false << false << false << awkward + QStringLiteral("/A_Lire.txt");
    QTest::newRow("portable: beside the program")
        << bin << true << false << false << false << QStringLiteral("bin/A_Lire.txt");
    QTest::newRow("installed: from its data folder, never beside")
        << bin << true << false << true << true << installed;
    QTest::newRow("installed without its readme") << bin << true << false << true << false << QString();
    QTest::newRow("a folder of that name is no readme")
        << bin << false << true << false << false << QString();
    QTest::newRow("missing readme") << bin << false << false << false << false << QString();
}
// clang-format on

// Lisez-moi opens the readme of the copy, from the installed data folder or beside a portable
// program, and says nothing when there is none.
void TestHelpActions::readme()
{
    QFETCH(QString, folder);
    QFETCH(bool, beside);
    QFETCH(bool, besideIsFolder);
    QFETCH(bool, dataFolder);
    QFETCH(bool, installed);
    QFETCH(QString, opened);

    const QString prefix = m_dir->filePath(QStringLiteral("prefix")) + u'/';
    const QString appPath = prefix + folder + u'/';
    QVERIFY(QDir().mkpath(appPath));
    if (dataFolder)
        QVERIFY(QDir().mkpath(prefix + QStringLiteral("share/tarvane")));
    if (beside)
        CreateFile(appPath + QStringLiteral("A_Lire.txt"));
    if (besideIsFolder)
        QVERIFY(QDir().mkpath(appPath + QStringLiteral("A_Lire.txt")));
    if (installed)
        CreateFile(prefix + QStringLiteral("share/tarvane/A_Lire.txt"));
    TfmMain fmMain(nullptr, appPath + QStringLiteral("tarvane"));
    fmMain.ActAppReadme->trigger();
    QCOMPARE(m_catcher.urls,
             opened.isEmpty() ? QList<QUrl>{} : QList<QUrl>{QUrl::fromLocalFile(prefix + opened)});
    QVERIFY(!QApplication::activeModalWidget());
}

// Each A propos... builds a window owned by the main window, modal, gone once closed.
void TestHelpActions::aboutIsFreshEachTime()
{
    TfmMain fmMain(nullptr, m_dir->filePath(QStringLiteral("tarvane")));
    QList<QPointer<TfmAbout>> shown;
    for (int time = 0; time < 2; ++time) {
        QTimer::singleShot(0, &fmMain, [&shown, &fmMain] {
            auto* about = qobject_cast<TfmAbout*>(QApplication::activeModalWidget());
            shown << about;
            QVERIFY(about);
            QCOMPARE(about->parentWidget(), &fmMain);
            about->btnOK->click();
        });
        fmMain.ActAppAbout->trigger();
        QCOMPARE(shown.size(), time + 1);
        QVERIFY(shown.last().isNull());
    }
    QVERIFY(fmMain.findChildren<TfmAbout*>().isEmpty());
}

// A compositor that knows nothing of modal dialogs may activate the main window while the
// About box is open (or minimize the About box): the About box asks for the focus back.
void TestHelpActions::aboutTakesTheFocusBack()
{
    TfmMain fmMain(nullptr, m_dir->filePath(QStringLiteral("tarvane")));
    fmMain.show();
    QVERIFY(QTest::qWaitForWindowActive(&fmMain));
    TModalFocus modalFocus(qApp);
    qApp->installEventFilter(&modalFocus);
    bool shown = false;
    bool focusBack = false;
    QTimer::singleShot(0, &fmMain, [&] {
        auto* about = qobject_cast<TfmAbout*>(QApplication::activeModalWidget());
        if (!about)
            return;
        shown = QTest::qWaitForWindowActive(about);
        fmMain.activateWindow();
        focusBack = QTest::qWaitFor([about] { return about->isActiveWindow(); });
        about->btnOK->click();
    });
    fmMain.ActAppAbout->trigger();
    QVERIFY(shown);
    QVERIFY(focusBack);
}

// Index de l'aide has no handler: it shows grey and choosing it opens nothing.
void TestHelpActions::helpIndexDoesNothing()
{
    TfmMain fmMain(nullptr, m_dir->filePath(QStringLiteral("tarvane")));
    QVERIFY(!fmMain.ActAppHelpIndex->isEnabled());
    fmMain.ActAppHelpIndex->trigger();
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(m_catcher.urls.isEmpty());
}

QTEST_MAIN(TestHelpActions)
#include "tst_helpactions.moc"
