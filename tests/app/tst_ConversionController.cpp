// The conversion model without a window: sequences of the user's actions, and what each box
// then shows, with answers worked out by hand.
#include "ConversionController.h"
#include "uUserPrefs.h"

#include <QLocale>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace tarvane;

namespace {

QStringList Arguments(const QString& text)
{
    return text.split(u' ', Qt::SkipEmptyParts);
}

} // namespace

class TestConversionController : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    // Runs one action: "verb box: argument". Restarting saves the preferences to a file and
    // reads them back into a new model, as a close and a start do.
    void Run(std::unique_ptr<TConversionController>& model, const QString& action)
    {
        const QString head = action.section(u':', 0, 0);
        const QString verb = head.section(u' ', 0, 0);
        const TValueBox box = head.section(u' ', 1, 1) == u"2" ? vbValue2 : vbValue1;
        const QString argument = action.section(QStringLiteral(": "), 1);
        TConversionController& c = *model;
        if (verb == u"restore") { // precision 1, precision 2, unit 1, unit 2, value 1[, value 2]
            const QStringList values = Arguments(argument);
            c.Restore({quint8(values[0].toInt()), quint8(values[1].toInt()),
                       quint8(values[2].toInt()), quint8(values[3].toInt()), values[4].toDouble(),
                       values.size() > 5 ? std::optional(values[5].toDouble()) : std::nullopt});
        } else if (verb == u"restart") {
            const QString path = m_dir.filePath(QStringLiteral("tarvane.ini"));
            QVERIFY(SaveUserPrefs(path, c.Prefs()));
            model = std::make_unique<TConversionController>();
            model->Restore(ReadUserPrefs(path));
        } else if (verb == u"enter") {
            c.MakeSource(box);
        } else if (verb == u"leave") {
            c.LeaveBox(box);
        } else if (verb == u"edit") {
            c.EditText(box, argument);
        } else if (verb == u"paste") { // "pasted" or "pasted => what the box then holds"
            const QString pasted = argument.section(QStringLiteral(" => "), 0, 0);
            const QString result = argument.contains(QStringLiteral(" => "))
                ? argument.section(QStringLiteral(" => "), 1)
                : pasted;
            if (!c.Paste(box, pasted, result))
                c.EditText(box, result); // as the box then inserts it
        } else if (verb == u"step") {
            c.Step(box, argument.toDouble());
        } else if (verb == u"undo") {
            c.Undo(box);
        } else if (verb == u"redo") {
            c.Redo(box);
        } else if (verb == u"unit") {
            c.SetUnit(box, argument.toInt());
        } else if (verb == u"precision") {
            c.SetPrecision(box,
                           argument == u"none" ? std::nullopt : std::optional(argument.toInt()));
        } else {
            QFAIL(qPrintable(QStringLiteral("unknown action ") + action));
        }
    }

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::French, QLocale::France)); }

    // clang-format off
    void ActionsGiveHandWorkedAnswers_data()
    {
        QTest::addColumn<QString>("actions");
        QTest::addColumn<QString>("box1");
        QTest::addColumn<QString>("box2");
        QTest::addColumn<QString>("precisions");
        QTest::addColumn<int>("source");
        QTest::addColumn<double>("value1"); // exactly; NaN: not checked
        QTest::addColumn<QString>("units"); // empty: not checked
        QTest::addColumn<double>("value2"); // the number saved for box 2, exactly; NaN: none

        // Units: 0 Veff, 1 Vcac, 2 dBm 50 ohms, 3 dBm 600 ohms, 4 dBu, 5 dBV, 6 W 50 ohms,
        // 8 kHz at 75 kHz, 11 dBuV 75 ohms.
        const double none = std::nan("");
        const auto row = [](const char* name, const char* actions, const char* box1, const char* box2,
                                const char* precisions, int source, double value1, const char* units = "",
                                double value2 = std::nan("")) {
            QTest::newRow(name) << QString::fromUtf8(actions) << QString::fromUtf8(box1)
                                << QString::fromUtf8(box2) << precisions << source << value1 << units
                                << value2;
        };
        // 20 log10(1,23456 / 0,7745966692) = 4,04873
        row("pasted number keeps its digits, the result is left alone",
            "restore: 4 4 0 4 1; paste 1: 1,23456; leave 1; enter 2; leave 2; enter 1",
            "1,23456", "4,0487", "5 4", 1, 1.23456);
        row("pasted into a number", "restore: 4 4 0 4 1; paste 1: 56 => 1,23456",
            "1,23456", "4,0487", "5 4", 1, 1.23456);
        // 1E-11 W in 50 ohms: 10 log10(1E-11 / 1E-3) = -80
        row("level needing 11 decimals shows in the general form",
            "restore: 4 4 0 2 1; paste 1: 0,01 nW; leave 1", "1E-11", "-80,0000", "0 4", 1, 1e-11);
        // 10 log10(5E6 / 1E-3) = 96,98970
        row("megawatts", "restore: 4 4 0 2 1; paste 1: 5 MW", "5000000,0000", "96,9897", "4 4", 1, 5e6);
        // 20 log10(5E-11) = -206,02060
        row("nanovolts into dBV", "restore: 4 4 0 5 1; paste 1: 0,05 nV", "5E-11", "-206,0206",
            "0 4", 1, 5e-11);
        // 20 log10(1E-5) = -100
        row("plain number needing more decimals", "restore: 3 4 0 5 1; paste 1: 1e-5; leave 1",
            "0,00001", "-100,0000", "5 4", 1, 1e-5);
        row("plain number beyond the fixed form", "restore: 4 4 0 0 1; paste 1: 1e20; leave 1",
            "1E20", "1E20", "0 4", 1, 1e20);
        row("level at precision 0 stays in the general form", "restore: 0 4 6 4 1; paste 1: 1,5 kW",
            "1500", "50,9691", "0 4", 1, 1500);
        // 1 mW in 50 ohms is 0 dBm to the last digit of the general form.
        row("a reference point is exactly 0 dB", "restore: 4 0 6 2 1; edit 1: 0,001",
            "0,001", "0", "4 0", 1, 0.001);
        // -73 - 10 log10(600 / 50) = -83,79181
        row("a byte-order mark before a pasted level", "restore: 4 4 0 4 1; paste 1: \uFEFF-73 dBm",
            "-73,0000", "-83,7918", "4 4", 1, -73, "2 4");
        row("pasted text that is no number fails, as typed", "restore: 4 4 0 0 1; paste 1: abc",
            "abc", "-.--", "4 4", 1, 1);
        row("pasted blanks are no number, not 0", "restore: 4 4 0 1 1; edit 1: 2,5; paste 1:    ",
            "   ", "-.--", "4 4", 1, 2.5);
        // 1,73411E-4 V give -73 dBm in 600 ohms: the box's impedance is kept
        row("level pasted into the result", "restore: 4 4 0 3 1; paste 2: -73 dBm",
            "0,0002", "-73,0000", "4 4", 2, 0.00017341059372955374, "", -73);
        row("17 digits typed at precision 0 keep their number",
            "restore: 0 4 0 0 1; edit 1: 12345678901234567; leave 1",
            "1,23456789012346E16", "1,23456789012346E16", "0 4", 1, 12345678901234567.0);
        // 1,2345 x 2 x 1,41421 = 3,49169
        row("precision through 1 on the way to 10",
            "restore: 4 4 0 1 1; edit 1: 1,2345; precision 1: 1; precision 1: 10",
            "1,2345000000", "3,4917", "10 4", 1, 1.2345);
        row("a precision lowered and raised again in the target",
            "restore: 4 4 0 1 1; edit 1: 1,2345; precision 2: 0; precision 2: 2; precision 2: 9",
            "1,2345", "3,491693285", "4 9", 1, 1.2345);
        // 0 dBu = 0,7745967 V = -2,21849 dBV
        row("a typed 0 does not drift",
            "restore: 4 4 4 5 0; enter 2; precision 1: 0", "0", "-2,2185", "0 4", 2, 0);
        row("the unit in use chosen again converts nothing",
            "restore: 4 4 4 5 0; enter 2; unit 1: 4; precision 1: 0", "0", "-2,2185", "0 4", 2, 0);
        row("an empty precision changes nothing", "restore: 4 4 0 0 1; precision 1: none",
            "1,0000", "1,0000", "4 4", 1, 1);
        // 1 kHz at 75 kHz for 12 dBu: 0,7745967 x 10^0,6 / 75 = 0,04111633 V
        row("a restart brings back the number given in box 2",
            "restore: 4 10 0 8 1; enter 2; edit 2: 1; leave 2; restart", "0,0411", "1,0000000000",
            "4 10", 2, 0.041116331774918684, "", 1);
        row("a restart after a move of the focus alone brings back box 1's number",
            "restore: 4 4 0 1 0.5; enter 2; restart", "0,5000", "1,4142", "4 4", 1, 0.5);
        // 0 V has no level in dBu: box 1 keeps its last number for the copies that read it.
        row("a number given in box 2 that box 1 cannot show comes back after a restart",
            "restore: 4 4 4 0 1; enter 2; edit 2: 0; restart", "-.--", "0,0000", "4 4", 2, 1, "", 0);
        row("a restored number in box 2 is the source", "restore: 4 4 4 0 1 0", "-.--", "0,0000",
            "4 4", 2, 1, "", 0);
        row("a restart shows the number at its precision, not rounded to it",
            "restore: 2 4 0 0 1; edit 1: 1,23456; restart", "1,23", "1,2346", "2 4", 1, 1.23456);
        row("into -.-- and out again", "restore: 4 4 0 2 0; enter 2; leave 2; enter 1",
            "0,0000", "-.--", "4 4", 1, 0);
        row("a typed text that reads as no number stays as typed", "restore: 4 4 0 0 1; edit 1: abc; leave 1",
            "abc", "-.--", "4 4", 1, 1);
        row("an emptied box keeps its number and converts nothing",
            "restore: 4 4 0 0 1; edit 1: 5; edit 1: ; leave 1", "", "5,0000", "4 4", 1, 5);
        row("a unit chosen while the source is empty converts its last number",
            "restore: 4 4 0 0 1; edit 1: 2; edit 1: ; unit 2: 1", "", "5,6569", "4 4", 1, 2);
        // 1 V in 50 ohms: 10 log10(0,02 / 0,001) = 13,0103 dBm
        row("box 1 showing -.-- keeps its last number",
            "restore: 4 4 2 0 3; enter 2; edit 2: 1; edit 2: 0; unit 1: 3", "-.--", "0", "4 4", 2,
            13.010299956639813, "", 0);
        // -6 dBV = 0,501187 V
        row("typing in the result makes it the source",
            "restore: 4 4 0 5 1; enter 2; edit 2: -6; leave 2; enter 1", "0,5012", "-6,0000", "4 4",
            1, 0.50118723362727224, "", -6);
        // Levels in units the lists do not hold, converted exactly into the listed unit of their
        // family. 30 dBmV = 90 dBµV = 0,0316228 V: 20 log10(0,0316228 / 0,7745967) = -27,7815 dBu.
        row("dBmV into dBuV 75 ohms", "restore: 4 4 0 4 1; paste 1: 30 dBmV", "90,0000", "-27,7815",
            "4 4", 1, 90, "11 4");
        // S9+20 = -53 dBm; √(0,05 x 10^-8,3) = 0,000500593 V.
        row("S-units into dBm", "restore: 4 4 0 0 1; paste 2: S9+20", "0,0005", "-53,0000", "4 4", 2,
            0.00050059326485045336, "0 2", -53);
        row("dBW into dBm", "restore: 4 4 0 0 1; paste 1: -73 dBW", "-43,0000", "0,0016", "4 4", 1, -43, "2 0");
        // -20 dBFS at +18 dBu: -2 dBu = 0,7745967 x 10^-0,1 = 0,6152943 V.
        row("dBFS into dBu", "restore: 4 4 0 0 1; paste 1: -20 dBFS@18dBu", "-2,0000", "0,6153", "4 4", 1,
            -2, "4 0");
        row("peak volts into Veff", "restore: 4 4 0 1 1; paste 1: 1 Vp", "0,7071", "2,0000", "4 4", 1,
            0.70710678118654757, "0 1");
        // √(0,075 x 10^-10,3) = 0,0000613099 V: 0,00006 V shows -73 dBm within half a dB.
        // 20 log10(0,0000613099 / 0,7745967) = -82,0309 dBu.
        row("dBm across 75 ohms into Veff, its decimals raised", "restore: 4 4 0 4 1; paste 1: -73 dBm@75",
            "0,00006", "-82,0309", "5 4", 1, 6.130990337787642e-05, "0 4");
        row("a gain in the box's own impedance", "restore: 4 4 3 0 1; paste 1: -73 dBm + 20 dB", "-53,0000",
            "0,0017", "4 4", 1, -53, "3 0");
        row("two sources", "restore: 4 4 0 4 1; paste 1: -73 dBm + -73 dBm", "-69,9897", "-80,7815", "4 4",
            1, -69.98970004336019, "2 4");
        row("a level with no voltage fails, as typed", "restore: 4 4 0 4 1; paste 1: -1 W@8",
            "-1 W@8", "-.--", "4 4", 1, 1, "0 4");

        // Steps move the exact number, whatever the box shows of it.
        row("arrow keys step the exact number, not its rounding",
            "restore: 4 4 0 0 1; paste 1: 1,23456789; precision 1: 2; step 1: 1; precision 1: 8",
            "2,23456789", "2,2346", "8 4", 1, 1.23456789 + 1);
        // 1 V = -10 log10(0,6) dBu = 2,21848749616 dBu; plus 1 dB: 1,12201845 V.
        row("stepping the result steps the exact result, which becomes the source",
            "restore: 4 4 0 4 1; enter 2; step 2: 1; precision 2: 10", "1,1220", "3,2184874962",
            "4 10", 2, none, "", 2.2184874961635637 + 1);
        row("steps down and up", "restore: 4 4 0 0 -0.25; step 1: -1; step 1: 3",
            "1,7500", "1,7500", "4 4", 1, 1.75);
        // 1 dBm in 50 ohms: √(0,0012589 x 50) = 0,250891 V
        row("a box showing no number steps from 0", "restore: 4 4 0 2 0; enter 2; step 2: 1",
            "0,2509", "1,0000", "4 4", 2, none, "", 1);

        // Undo and redo put back exact numbers.
        row("undo puts back the exact number, not the rounded text",
            "restore: 4 4 0 0 1; paste 1: 1,23456789; precision 1: 2; edit 1: 5; undo 1; precision 1: 8",
            "1,23456789", "1,2346", "8 4", 1, 1.23456789);
        row("what was typed since the last other action is undone at once",
            "restore: 4 4 0 0 1; edit 1: 5; edit 1: 56; edit 1: 56,; undo 1", "1,0000", "1,0000", "4 4",
            1, 1);
        row("a run of steps is undone at once", "restore: 4 4 0 0 1; step 1: 1; step 1: 1; undo 1",
            "1,0000", "1,0000", "4 4", 1, 1);
        row("edits apart are undone one by one",
            "restore: 4 4 0 0 1; edit 1: 5; leave 1; step 1: 1; undo 1", "5,0000", "5,0000", "4 4", 1, 5);
        row("redo puts the undone back", "restore: 4 4 0 0 1; paste 1: 1,23456789; precision 1: 2; "
            "edit 1: 5; undo 1; redo 1", "5", "5,0000", "2 4", 1, 5);
        row("undoing a step in the result gives back the number it came from",
            "restore: 4 4 0 4 1; enter 2; step 2: 1; undo 2", "1,0000", "2,2185", "4 4", 2, 1);
        row("undo puts back a pasted level's unit", "restore: 4 4 0 4 1; paste 1: -73 dBm; undo 1",
            "1,0000", "2,2185", "4 4", 1, 1, "0 4");
        row("undo converts into the unit chosen since", "restore: 4 4 0 1 1; edit 1: 5; unit 2: 4; undo 1",
            "1,0000", "2,2185", "4 4", 1, 1, "0 4");
        row("nothing to undo once a conversion replaced the box's number",
            "restore: 4 4 0 0 1; edit 1: 5; enter 2; edit 2: 7; enter 1; undo 1", "7,0000", "7", "4 4", 1, 7, "", 7);
        row("undo in the other box changes nothing", "restore: 4 4 0 0 1; edit 1: 5; enter 2; undo 2",
            "5", "5,0000", "4 4", 2, 5);
    }
    // clang-format on

    void ActionsGiveHandWorkedAnswers()
    {
        QFETCH(QString, actions);
        QFETCH(QString, box1);
        QFETCH(QString, box2);
        QFETCH(QString, precisions);
        QFETCH(int, source);
        QFETCH(double, value1);
        QFETCH(QString, units);
        QFETCH(double, value2);
        auto model = std::make_unique<TConversionController>();
        for (const QString& action : actions.split(QStringLiteral("; "))) {
            Run(model, action);
            if (QTest::currentTestFailed())
                return;
        }
        const TConversionController& c = *model;
        QCOMPARE(c.Text(vbValue1), box1);
        QCOMPARE(c.Text(vbValue2), box2);
        QCOMPARE(QStringLiteral("%1 %2").arg(c.Precision(vbValue1)).arg(c.Precision(vbValue2)),
                 precisions);
        QCOMPARE(c.Source(), source == 1 ? vbValue1 : vbValue2);
        QVERIFY2(std::isnan(value1) || c.Prefs().Value1 == value1,
                 qPrintable(QString::number(c.Prefs().Value1, 'g', 17)));
        const std::optional<double> saved2 = c.Prefs().Value2;
        QVERIFY2(std::isnan(value2) ? !saved2 : saved2 == value2,
                 qPrintable(QString::number(saved2.value_or(-1), 'g', 17)));
        if (!units.isEmpty())
            QCOMPARE(QStringLiteral("%1 %2").arg(c.Unit(vbValue1)).arg(c.Unit(vbValue2)), units);
    }

    // What a screen reader is given to say after the restore that starts each row: each new
    // outcome once, whatever made it, and nothing for a keystroke or a move of the focus that
    // changes no result.
    // clang-format off
    void EachNewResultIsToldOnce_data()
    {
        QTest::addColumn<QString>("actions");
        QTest::addColumn<QString>("told"); // one result after the other, " | " between them

        const auto row = [](const char* name, const char* actions, const char* told) {
            QTest::newRow(name) << QString::fromUtf8(actions) << QString::fromUtf8(told);
        };
        // Units: 0 Veff, 1 Vcac, 2 dBm 50 ohms, 5 dBV. 2 Veff = 5,65685 Vcac.
        row("a typed number", "restore: 4 4 0 1 1; edit 1: 2", "Valeur 2 : 5,6569 Vcac (Vpp)");
        row("keystrokes that leave the result as it was",
            "restore: 4 4 0 1 1; edit 1: 2; edit 1: 2,; edit 1: 2,0; edit 1: 2,5",
            "Valeur 2 : 5,6569 Vcac (Vpp) | Valeur 2 : 7,0711 Vcac (Vpp)");
        row("the focus moving to the result and back", "restore: 4 4 0 1 1; edit 1: 2; leave 1; "
            "enter 2; leave 2; enter 1", "Valeur 2 : 5,6569 Vcac (Vpp)");
        // 1 Vcac = 0,353553 Veff
        row("typing in box 2 tells box 1", "restore: 4 4 0 1 1; enter 2; edit 2: 1",
            "Valeur 1 : 0,3536 Veff (Vrms)");
        // 20 log10(2) = 6,0206
        row("a unit chosen for the result", "restore: 4 4 0 1 2; unit 2: 5",
            "Valeur 2 : 6,0206 dBV (réf. 1 V)");
        row("a unit chosen for the source", "restore: 4 4 1 0 2; unit 1: 0",
            "Valeur 2 : 2,0000 Veff (Vrms)");
        row("the result's precision", "restore: 4 4 0 1 2; precision 2: 2; precision 1: 2",
            "Valeur 2 : 5,66 Vcac (Vpp)");
        // 1 V in 50 ohms: 13,0103 dBm
        row("a failure, once, and the way out", "restore: 4 4 0 2 1; edit 1: 0; edit 1: 0,0; "
            "edit 1: abc; edit 1: 1", "Conversion impossible | Valeur 2 : 13,0103 dBm (1 mW / 50 ohms)");
        // 316 µV x 2 x 1,41421 = 893,78 µV, at the result's 4 decimals
        row("a pasted level", "restore: 4 4 0 1 1; paste 1: 316 µV",
            "Valeur 2 : 0,0009 Vcac (Vpp)");
    }
    // clang-format on

    void EachNewResultIsToldOnce()
    {
        QFETCH(QString, actions);
        QFETCH(QString, told);
        auto model = std::make_unique<TConversionController>();
        QStringList steps = actions.split(QStringLiteral("; "));
        Run(model, steps.takeFirst());
        QStringList heard;
        connect(model.get(), &TConversionController::ResultTextChanged, this,
                [&](const QString& text) { heard.append(text); });
        for (const QString& action : std::as_const(steps)) {
            Run(model, action);
            if (QTest::currentTestFailed())
                return;
        }
        QCOMPARE(heard.join(QStringLiteral(" | ")), told);
    }

    // Entering the result box and going back leaves both boxes as they were, whatever the
    // pair of units.
    void EveryUnitPairSurvivesARoundTripOfTheFocus()
    {
        TConversionController c;
        for (int from = 0; from < 12; ++from) {
            for (int to = 0; to < 12; ++to) {
                for (const QString typed : {"0,7000", "-3,2500", "1234,5678", "0,0000"}) {
                    c.SetUnit(vbValue1, from);
                    c.SetUnit(vbValue2, to);
                    c.EditText(vbValue1, typed);
                    const QString result = c.Text(vbValue2);
                    const std::optional<double> numbers[2] = {c.Number(vbValue1),
                                                              c.Number(vbValue2)};
                    for (const TValueBox box : {vbValue2, vbValue1}) {
                        c.LeaveBox(box == vbValue1 ? vbValue2 : vbValue1);
                        c.MakeSource(box);
                        QVERIFY2(c.Text(vbValue1) == typed && c.Text(vbValue2) == result
                                     && c.Number(vbValue1) == numbers[0]
                                     && c.Number(vbValue2) == numbers[1],
                                 qPrintable(
                                     QStringLiteral("%1 to %2: %3 gives %4, then %5 and %6")
                                         .arg(from)
                                         .arg(to)
                                         .arg(typed, result, c.Text(vbValue1), c.Text(vbValue2))));
                    }
                }
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestConversionController)
#include "tst_ConversionController.moc"
