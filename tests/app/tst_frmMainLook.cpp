// The main window's look, menus and saving (at close, after changes, at a termination
// signal); run from tst_frmMain's main.
#include "CaptionBar.h"
#include "DesktopFonts.h"
#include "MainWindowTesting.h"
#include "PixelFont.h"
#include "PrefsAutosave.h"
#include "TerminationSignals.h"

#include <QPainter>
#include <QScopeGuard>
#include <QSignalSpy>

#include <csignal>

#include <sys/wait.h>
#include <unistd.h>

using namespace tarvane;
using namespace tarvane::testing;

namespace {

class TestMainWindowLook : public MainWindowFixture {
    Q_OBJECT

private slots:
    void ContextMenuInFrench()
    {
        Start("<missing>");
        const std::unique_ptr<QMenu> menu(m_window->edValue1->createStandardContextMenu());
        QStringList captions;
        for (const QAction* action : menu->actions()) {
            if (!action->isSeparator())
                captions << action->text().section(u'\t', 0, 0).remove(u'&');
        }
        QCOMPARE(captions,
                 (QStringList{"Annuler", "Rétablir", "Couper", "Copier", "Coller", "Supprimer",
                              "Tout sélectionner"}));
    }

    void RandomEntryNeverShowsAWrongNumber_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::newRow("C") << QLocale::c();
        QTest::newRow("en_US") << QLocale(QLocale::English, QLocale::UnitedStates);
        QTest::newRow("fr_FR") << QLocale(QLocale::French, QLocale::France);
    }

    // Seeded random keys, shortcuts and pastes into whichever box is the source, with now and
    // then a change of source or of a precision: after each, the conversion shown is right.
    void RandomEntryNeverShowsAWrongNumber()
    {
        QFETCH(QLocale, locale);
        QLocale::setDefault(locale);
        Start("[UserPrefs]\nValue2Index=5\n");
        TfmMain& w = *m_window;
        std::mt19937 random(20261207);
        const auto pick = [&random](const auto& list) { return list[random() % list.size()]; };
        const QString characters = QStringLiteral("0123456789012345.,+-eE aZ:");
        const QList<QKeyCombination> keys = {Qt::KeypadModifier | Qt::Key_Period,
                                             Qt::Key_Backspace,
                                             Qt::Key_Delete,
                                             Qt::Key_Left,
                                             Qt::Key_Right,
                                             Qt::Key_Home,
                                             Qt::Key_End,
                                             Qt::Key_Up,
                                             Qt::Key_Down,
                                             Qt::Key_PageDown,
                                             Qt::CTRL | Qt::Key_A,
                                             Qt::CTRL | Qt::Key_C,
                                             Qt::CTRL | Qt::Key_X,
                                             Qt::CTRL | Qt::Key_V,
                                             Qt::SHIFT | Qt::Key_Insert,
                                             Qt::CTRL | Qt::Key_Z,
                                             Qt::CTRL | Qt::Key_Y,
                                             Qt::CTRL | Qt::SHIFT | Qt::Key_Z};
        const QStringList pastes = {"2.5",    "-12,5",  "12,5 dBu",
                                    "abc",    "1.2.3",  "1,234.5",
                                    "1E999",  "-1e308", "1.7976931348623157E308",
                                    "12\n34", " ",      "-",
                                    ".",      "7"};
        const QStringList precisions = {"0", "3", "10", "67", "99999999999"};
        for (int i = 0; i < 1500; ++i) {
            TNumSpinEdit* const box = w.edValue1->Tag() == 1 ? w.edValue1 : w.edValue2;
            const int kind = int(random() % 20);
            if (kind < 8) {
                const QChar c = pick(characters);
                Press(box, Qt::Key(c.toUpper().unicode()), QString(c));
            } else if (kind < 15) {
                PressShortcut(box, pick(keys));
            } else if (kind < 18) {
                QApplication::clipboard()->setText(pick(pastes));
                PressShortcut(box, Qt::CTRL | Qt::Key_V);
            } else if (kind == 18) {
                (box == w.edValue1 ? w.edValue2 : w.edValue1)->setFocus(Qt::TabFocusReason);
            } else {
                TPrecisionSpinner* const spinner =
                    pick(QList{w.seEdValue1Precision, w.seEdValue2Precision});
                spinner->setFocus(Qt::TabFocusReason);
                spinner->selectAll();
                QTest::keyClicks(spinner, pick(precisions));
                box->setFocus(Qt::TabFocusReason); // the spinner keeps to its bounds on leaving
                QVERIFY(spinner->Value() >= 0 && spinner->Value() <= 10);
            }
            CheckConversionShown();
            if (QTest::currentTestFailed())
                QFAIL(qPrintable(QStringLiteral("after event %1").arg(i)));
        }
    }

    void FrenchLocaleWritesAComma()
    {
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        Start("[UserPrefs]\nValue1=0.775\n");
        CheckShown("0,7750", "0,7750", true, false);
        QVERIFY(m_window->close());
        QVERIFY(ReadAll(IniPath()).contains("\nValue1=0,775\n"));
    }

    void TabOrder()
    {
        Start("<missing>");
        TfmMain& w = *m_window;
        const QList<QWidget*> order = {w.edValue1,
                                       w.edValue2,
                                       w.lstUnits1,
                                       w.lstUnits2,
                                       w.seEdValue1Precision,
                                       w.seEdValue2Precision,
                                       w.edValue1};
        QCOMPARE(QApplication::focusWidget(), order[0]);
        for (qsizetype i = 1; i < order.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), order[i]);
        }
    }

    void WindowLayout()
    {
        Start("<missing>");
        TfmMain& w = *m_window;
        QCOMPARE(w.windowTitle(), QStringLiteral("Tarvane"));
        // The menu bar sits above the whole client area, not inside it.
        QCOMPARE(w.centralWidget()->geometry(), QRect(0, w.menuBar()->height(), 553, 393));
        QCOMPARE(w.size(), QSize(553, w.menuBar()->height() + 393));
        QCOMPARE(w.minimumSize(), w.maximumSize());
        const Qt::WindowFlags flags = w.windowFlags();
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QVERIFY(flags & Qt::WindowMinimizeButtonHint);
        QVERIFY(flags & Qt::WindowSystemMenuHint);
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        const QPoint centre = w.screen()->availableGeometry().center();
        QVERIFY((w.frameGeometry().center() - centre).manhattanLength() <= 2);

        // The value boxes size their height to their font.
        QCOMPARE(w.edValue1->geometry().topLeft(), QPoint(16, 64));
        QCOMPARE(w.edValue2->geometry().topLeft(), QPoint(304, 64));
        QCOMPARE(w.edValue2->width(), 233);
        QCOMPARE(w.lstUnits2->geometry(), QRect(304, 136, 233, 217));
        QCOMPARE(w.seEdValue2Precision->geometry(), QRect(304, 360, 41, 18));
        QCOMPARE(w.Arrow2->geometry(), QRect(256, 200, 41, 41));
        QCOMPARE(w.lblUnit1->geometry(), QRect(16, 104, 233, 24));
        QCOMPARE(w.TabStrip1->geometry(), QRect(8, 8, 537, 21));
        QCOMPARE(w.Label2->text(), QStringLiteral("Précision (nombre de décimales)"));
        QCOMPARE(w.Label2->pos(), QPoint(352, 360));
        // All twelve units show without scrolling.
        QVERIFY(w.lstUnits1->visualItemRect(w.lstUnits1->item(11)).bottom() < 217);
        QCOMPARE(w.lstUnits1->visualItemRect(w.lstUnits1->item(1)).top(), 13);

        const QImage client = w.centralWidget()->grab().toImage();
        QCOMPARE(client.pixelColor(4, 50), QColor(0, 0, 128));           // navy
        QCOMPARE(client.pixelColor(276, 84), QColor(0, 255, 0));         // lime arrow
        QCOMPARE(client.pixelColor(20, 340), QColor(128, 0, 128));       // purple list
        QCOMPARE(client.pixelColor(256 + 2, 64 + 2), QColor(0, 0, 128)); // navy around the arrow
    }

    // clang-format off
    void StripAndMenuBarPixels_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<QColor>("expected");
        const QColor navy(0, 0, 128);
        const QColor blue(0, 0, 255);
        const QColor purple(128, 0, 128);
        const QColor rootFrom(0x9E, 0xBE, 0xF5);
        const QColor rootTo(0xB2, 0xCD, 0xF7);
        QTest::newRow("strip band before the tab") << "strip" << QPoint(2, 5) << navy;
        QTest::newRow("tab outline left") << "strip" << QPoint(14, 10) << blue;
        QTest::newRow("tab outline top") << "strip" << QPoint(20, 0) << blue;
        QTest::newRow("tab fill") << "strip" << QPoint(16, 10) << purple;
        QTest::newRow("strip band after the tab") << "strip" << QPoint(400, 8) << navy;
        QTest::newRow("strip base line") << "strip" << QPoint(300, 19) << blue;
        QTest::newRow("client below the strip") << "strip" << QPoint(300, 21) << navy;
        // The bar's band runs from the window's left edge to 100 pixels past its right edge.
        QTest::newRow("menu band in Fichier") << "bar" << QPoint(1, 1)
                                              << GradientBandColor(rootFrom, rootTo, 1, 653);
        QTest::newRow("menu band past the items")
            << "bar" << QPoint(300, 1) << GradientBandColor(rootFrom, rootTo, 300, 653);
        QTest::newRow("menu band at the right edge")
            << "bar" << QPoint(552, 1) << GradientBandColor(rootFrom, rootTo, 552, 653);
    }
    // clang-format on

    // The strip and the menu bar as the window shows them.
    void StripAndMenuBarPixels()
    {
        QFETCH(QString, where);
        QFETCH(QPoint, point);
        QFETCH(QColor, expected);
        Start("<missing>");
        TfmMain& w = *m_window;
        QWidget* const widget = where == "strip" ? static_cast<QWidget*>(w.TabStrip1) : w.menuBar();
        const QImage window = w.grab().toImage();
        QCOMPARE(window.pixelColor(widget->mapTo(&w, point)), expected);
    }

    void StripCaption()
    {
        Start("<missing>");
        TfmMain& w = *m_window;
        QCOMPARE(w.TabStrip1->Tabs().Count(), 1);
        QCOMPARE(w.TabStrip1->TabIndex(), 0);
        // The yellow caption lies inside the tab, past its 8-pixel margin, lowered 2 + 2.
        const QRect tab = w.TabStrip1->TabRect(0);
        const QImage image = w.TabStrip1->grab().toImage();
        QRect caption;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor pixel = image.pixelColor(x, y);
                if (pixel.red() > 0xC0 && pixel.green() > 0xC0 && pixel.blue() < 0x80)
                    caption |= QRect(x, y, 1, 1);
            }
        }
        QVERIFY(!caption.isEmpty());
        QVERIFY(tab.contains(caption));
        QVERIFY(caption.left() >= tab.left() + 8);
        QVERIFY(caption.top() >= 4);
    }

    void Menu()
    {
        Start("<missing>");
        TfmMain& w = *m_window;
        const QList<QAction*> bar = w.menuBar()->actions();
        QCOMPARE(bar.size(), 2);
        QCOMPARE(bar[0]->text(), QStringLiteral("Fichier"));
        QCOMPARE(bar[1]->text(), QStringLiteral("Aide"));
        QCOMPARE(w.Fichier1->actions(), QList<QAction*>{w.ActAppClose});
        QCOMPARE(w.Aide1->actions(),
                 (QList<QAction*>{w.ActAppHelpIndex, w.N1, w.ActAppReadme, w.N2, w.ActAppAbout}));
        QVERIFY(w.N1->isSeparator() && w.N2->isSeparator());
        QCOMPARE(w.menuBar(), w.StyledMainMenu1);
        QCOMPARE(w.StyledMainMenu1->MenuStyler(), w.MenuStyler1);
        for (QAction* action : {w.ActAppHelpIndex, w.ActAppReadme, w.ActAppAbout, w.ActAppClose}) {
            QCOMPARE(action->parent(), w.ActionList1);
            QCOMPARE(action->toolTip(), action->text());
            QVERIFY(action->shortcut().isEmpty());
            QCOMPARE(action->isEnabled(), action != w.ActAppHelpIndex); // no handler: grey
        }
        QCOMPARE(w.ActAppAbout->text(), QStringLiteral("A propos..."));

        w.ActAppHelpIndex->trigger();
        QVERIFY(w.isVisible());
        QVERIFY(!QFile::exists(IniPath()));
        w.ActAppClose->trigger();
        QVERIFY(!w.isVisible());
        QVERIFY(ReadAll(IniPath()).startsWith("[UserPrefs]\nWriteTest=1\n"));
    }

    // The menu by keyboard alone: Alt reaches the bar, the arrows move and open, Return chooses.
    void MenuByKeyboard()
    {
        Start("<missing>");
        TfmMain& w = *m_window;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Alt);
        QTRY_COMPARE(w.menuBar()->activeAction(), w.Fichier1->menuAction());
        QTest::keyClick(w.menuBar(), Qt::Key_Right);
        QTest::keyClick(w.menuBar(), Qt::Key_Down);
        QVERIFY(QTest::qWaitForWindowExposed(w.Aide1));
        QCOMPARE(w.Aide1->activeAction(), w.ActAppHelpIndex);
        QTest::keyClick(w.Aide1, Qt::Key_Return); // highlighted but never chosen
        QVERIFY(w.isVisible());
        QVERIFY(!QFile::exists(IniPath()));
        QTest::keyClick(w.Aide1, Qt::Key_Escape);
        QTRY_VERIFY(!w.Aide1->isVisible());

        QTest::keyClick(w.menuBar(), Qt::Key_Left);
        QCOMPARE(w.menuBar()->activeAction(), w.Fichier1->menuAction());
        QTest::keyClick(w.menuBar(), Qt::Key_Down);
        QVERIFY(QTest::qWaitForWindowExposed(w.Fichier1));
        QCOMPARE(w.Fichier1->activeAction(), w.ActAppClose);
        QTest::keyClick(w.Fichier1, Qt::Key_Return);
        QTRY_VERIFY(!w.isVisible());
        QVERIFY(QFile::exists(IniPath()));
    }

    void FailedSaveKeepsTheWindowOpen()
    {
        const QByteArray ini("[UserPrefs]\nWriteTest=1\n");
        Start(ini);
        auto* catcher = new MessageBoxCatcher(m_window.get());
        {
            const FileSizeLimit limit(rlim_t(ini.size()));
            QVERIFY(!m_window->close());
        }
        QCOMPARE(catcher->Text, "Impossible d'écrire dans " + IniPath() + '.');
        QCOMPARE(catcher->Icon, QMessageBox::Critical);
        QVERIFY(m_window->isVisible());
        QCOMPARE(ReadAll(IniPath()), ini);

        // The user has been told: closing again closes, without trying again or asking.
        const FileSizeLimit limit(rlim_t(ini.size()));
        QVERIFY(m_window->close());
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(ReadAll(IniPath()), ini);
    }

    // A save that fails as the desktop session ends never holds the session up: no question
    // waits for the user (this session manager allows none), the file is left as it was,
    // and the session's closing of the window goes through, trying the save once more.
    void FailedSaveAtSessionEndLetsItEnd()
    {
        const QByteArray ini("[UserPrefs]\nWriteTest=1\n");
        Start(ini);
        auto* manager = qApp->findChild<QSessionManager*>();
        QVERIFY(manager);
        QVERIFY(!manager->allowsInteraction());
        {
            const FileSizeLimit limit(1);
            emit qApp->commitDataRequest(*manager);
        }
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(ReadAll(IniPath()), ini);
        QVERIFY(m_window->close());
        QVERIFY(ReadAll(IniPath()).contains("\nValue1=1\n")); // the disk has room again
    }

    // Each change of a saved value is in the file within two seconds, the window still open.
    void ChangesReachTheFileWithoutClosing_data()
    {
        QTest::addColumn<int>("change");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("number typed") << 0 << QByteArray("\nValue1=2.5");
        QTest::newRow("unit chosen") << 1 << QByteArray("\nValue2Index=5");
        QTest::newRow("precision stepped") << 2 << QByteArray("\nValue1precision=3");
    }

    void ChangesReachTheFileWithoutClosing()
    {
        QFETCH(int, change);
        QFETCH(QByteArray, line);
        Start("<missing>");
        TfmMain& w = *m_window;
        if (change == 0) {
            TypeInto(w.edValue1, QStringLiteral("2.5"));
        } else if (change == 1) {
            ClickUnit(w.lstUnits2, 5);
        } else {
            w.seEdValue1Precision->setFocus(Qt::TabFocusReason);
            QTest::keyClick(w.seEdValue1Precision, Qt::Key_Down);
        }
        QTRY_VERIFY_WITH_TIMEOUT(ReadAll(IniPath()).contains(line), 2000);
        QVERIFY(w.isVisible());
    }

    // However fast the changes come, one save per delay; a save that fails is tried again.
    // The delay is the autosave's to be given: none here, so no clock is waited on.
    void AutosaveIsRateLimitedAndRetried()
    {
        int saves = 0;
        bool writable = true;
        TPrefsAutosave autosave(
            [&] {
                ++saves;
                return writable;
            },
            std::chrono::milliseconds(0), nullptr);
        for (int keystroke = 0; keystroke < 20; ++keystroke)
            autosave.Changed();
        QVERIFY(autosave.Pending());
        QTRY_VERIFY(!autosave.Pending());
        QCOMPARE(saves, 1);

        writable = false;
        autosave.Changed();
        QTRY_VERIFY(saves >= 3); // tried again and again, nothing shown
        QVERIFY(autosave.Pending());
        QVERIFY(!QApplication::activeModalWidget());
        writable = true;
        QTRY_VERIFY(!autosave.Pending());
        const int saved = saves;
        QCoreApplication::processEvents();
        QCOMPARE(saves, saved);
    }

    void TerminationSignals_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::addColumn<bool>("firstRefused"); // the first close could not save
        QTest::newRow("SIGTERM, the end of the session") << SIGTERM << false;
        QTest::newRow("SIGHUP, the terminal gone") << SIGHUP << false;
        QTest::newRow("SIGINT, Ctrl+C") << SIGINT << false;
        QTest::newRow("SIGTERM again after a refused close") << SIGTERM << true;
    }

    // The signal closes the window through its close request, which saves, as the program
    // wires it. A close refused because the save failed is asked again by the next signal,
    // which saves once more and then closes, the user told.
    void TerminationSignals()
    {
        QFETCH(int, signalNumber);
        QFETCH(bool, firstRefused);
        Start("<missing>");
        TypeInto(m_window->edValue1, QStringLiteral("2.5"));
        const TTerminationSignals terminationSignals;
        connect(&terminationSignals, &TTerminationSignals::Received, qApp,
                &QApplication::closeAllWindows);
        QSignalSpy received(&terminationSignals, &TTerminationSignals::Received);
        if (firstRefused) {
            auto* catcher = new MessageBoxCatcher(m_window.get());
            const FileSizeLimit limit(1);
            std::raise(signalNumber);
            QTRY_VERIFY(!catcher->Text.isEmpty());
            QVERIFY(m_window->isVisible());
        }
        std::raise(signalNumber);
        QTRY_VERIFY(!m_window->isVisible());
        QCOMPARE(received.size(), firstRefused ? 2 : 1);
        QCOMPARE(received.last()[0].toInt(), signalNumber);
        QVERIFY(ReadAll(IniPath()).contains("\nValue1=2.5"));
    }

    // While the first signal is being handled, a second one ends the process at once, by
    // the signal; the first was handed on.
    void SecondSignalEndsAtOnce_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::newRow("SIGTERM, the end of the session") << SIGTERM;
        QTest::newRow("SIGHUP, the terminal gone") << SIGHUP;
        QTest::newRow("SIGINT, Ctrl+C") << SIGINT;
    }

    void SecondSignalEndsAtOnce()
    {
        QFETCH(int, signalNumber);
        int handedOn[2];
        QVERIFY(pipe(handedOn) == 0);
        const pid_t child = fork();
        if (child == 0) {
            TTerminationSignals::InstallHandlers(handedOn[1]);
            std::raise(SIGTERM);
            std::raise(signalNumber);
            _exit(0); // not reached
        }
        close(handedOn[1]);
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY(WIFSIGNALED(status));
        QCOMPARE(WTERMSIG(status), signalNumber);
        unsigned char first = 0;
        QCOMPARE(read(handedOn[0], &first, 1), ssize_t(1));
        QCOMPARE(int(first), SIGTERM);
        close(handedOn[0]);
    }

    // clang-format off
    void CaptionTitleIsBold_data()
    {
        QTest::addColumn<QString>("face");
        QTest::addColumn<QString>("title");
        QTest::newRow("main window, in MS Sans Serif") << "MS Sans Serif" << "Tarvane";
        QTest::newRow("About, in Arial") << "Arial" << "A propos...";
    }
    // clang-format on

    // The caption the program draws where the compositor leaves it the job shows the title in
    // bold, whatever the window's own face: MS Sans Serif, the main window's, has no bold.
    void CaptionTitleIsBold()
    {
        QFETCH(QString, face);
        QFETCH(QString, title);
        ChooseDesktopFaces(false); // MS Sans Serif itself, as the program registers it
        const auto unregister = qScopeGuard([] {
            ChooseDesktopFaces(true);
            QFont::removeSubstitutions(QStringLiteral("MS Sans Serif"));
        });
        QWidget window;
        window.setFont(PixelFont(face, 11));
        window.setWindowTitle(title);
        window.setFixedSize(305, 100); // the program's windows have a fixed size
        auto* const caption = new TCaptionBar(&window);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));

        // White text over a gradient that changes across only: the title's ink is what each
        // column has more of than the caption's top row, between the icon and the buttons.
        const QImage drawn = caption->grab(QRect(20, 0, 250, TCaptionBar::Height)).toImage();
        const auto inkOf = [](const QImage& image, const std::function<int(int)>& background) {
            long ink = 0;
            for (int y = 1; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x)
                    ink += std::max(0, qRed(image.pixel(x, y)) - background(x));
            }
            return ink;
        };
        const long bold = inkOf(drawn, [&drawn](int x) { return qRed(drawn.pixel(x, 0)); });
        // The same title in the same face at its regular weight, white on black.
        QImage regular(drawn.size(), QImage::Format_RGB32);
        regular.fill(Qt::black);
        QPainter painter(&regular);
        QFont font = TCaptionBar::TitleFont();
        font.setBold(false);
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(regular.rect(), Qt::AlignCenter, title);
        painter.end();
        const long plain = inkOf(regular, [](int) { return 0; });
        QVERIFY2(bold > plain * 6 / 5,
                 qPrintable(QStringLiteral("%1 against %2").arg(bold).arg(plain)));
    }

    // The report ends the message with a full stop when its last character sorts after ".".
    void ErrorReachingTheEventLoopIsShown()
    {
        Failing failing(nullptr);
        auto* catcher = new MessageBoxCatcher(&failing);
        QCoreApplication::postEvent(&failing, new QEvent(QEvent::User));
        QTRY_COMPARE(catcher->Text, QStringLiteral("Valeur hors limites."));
        QCOMPARE(catcher->Title, QStringLiteral("Tarvane"));
        QCOMPARE(catcher->Icon, QMessageBox::Critical);
    }
};

} // namespace

int tarvane::testing::RunWindowLookTests(int argc, char** argv)
{
    TestMainWindowLook test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_frmMainLook.moc"
