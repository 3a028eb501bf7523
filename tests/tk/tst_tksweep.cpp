// Random designs made through the designer's widgets, with the hostile texts and number forms a
// user may type: each design's program runs in real Tk and must show what was designed.
#include "designdriving.h"
#include "designexpectation.h"
#include "tkprobe.h"

#include <QApplication>
#include <QProcessEnvironment>
#include <QRandomGenerator>
#include <QtTest>

#include <memory>

using namespace designdriving;
using namespace designexpectation;
using model::ComponentKind;

namespace {

// The seed of the random sweep; KESTRIGAN_SWEEP_SEED replaces it to replay or widen the search.
quint32 sweepSeed()
{
    bool ok = false;
    const quint32 seed = QProcessEnvironment::systemEnvironment()
                             .value(QStringLiteral("KESTRIGAN_SWEEP_SEED")).toUInt(&ok);
    return ok ? seed : 20240611u;
}

constexpr int SweepDesigns = 200;

// The texts a hostile user types or pastes, in pieces that the sweep strings together.
const QStringList HostilePieces = {
    QStringLiteral("'"), QStringLiteral("\""), QStringLiteral("\\"), QStringLiteral("\r\n"), QStringLiteral("\n"),
    QStringLiteral("\r"), QStringLiteral("\t"), QStringLiteral("中文"), QStringLiteral("😀"), QStringLiteral("𠮷"),
    QStringLiteral("{"), QStringLiteral("}"), QStringLiteral("%s"), QStringLiteral("%1"), QStringLiteral("#"),
    QStringLiteral(" "), QStringLiteral("'''"), QStringLiteral("\\n"), QStringLiteral("\\x41"), QStringLiteral("-"),
    QStringLiteral("abc"), QStringLiteral("标签"), QStringLiteral("$x"), QStringLiteral("[a]"), QString(QChar(1)),
    QString(QChar(0x7F)), QStringLiteral("ÿ"), QStringLiteral("\u2028"), QStringLiteral("é"), QStringLiteral(")"),
};

const QStringList SweepFaces = {
    QStringLiteral("微软雅黑"), QStringLiteral("宋体"), QStringLiteral("黑体"), QStringLiteral("Times New Roman"),
    QStringLiteral("DejaVu Sans"), QStringLiteral("Courier"), QStringLiteral("Tom's"), QStringLiteral("a\\b"),
    QStringLiteral("{x"), QStringLiteral("x}"), QStringLiteral("a b c"), QStringLiteral("😀"),
};

QString randomText(QRandomGenerator &rng, int maxPieces)
{
    QString text;
    const int pieces = rng.bounded(maxPieces + 1);
    for (int i = 0; i < pieces; ++i)
        text += HostilePieces.at(rng.bounded(int(HostilePieces.size())));
    return text;
}

// A text the grid reads as the value: plain, signed, padded, in full-width digits or with a unit.
QString numberText(QRandomGenerator &rng, int value)
{
    QString digits = QString::number(qAbs(qint64(value)));
    QString sign = value < 0 ? QStringLiteral("-") : QString();
    switch (rng.bounded(6)) {
    case 0:
        for (QChar &c : digits)
            c = QChar(c.unicode() - u'0' + 0xFF10);
        if (!sign.isEmpty())
            sign = QStringLiteral("－");
        return sign + digits;
    case 1: return QStringLiteral("  ") + sign + digits;
    case 2: return sign + digits + QStringLiteral("px");
    case 3: return value >= 0 ? QStringLiteral("+") + digits : sign + digits;
    default: return sign + digits;
    }
}

const ComponentKind AllKinds[] = {ComponentKind::Label, ComponentKind::Entry, ComponentKind::Button,
                                  ComponentKind::RadioButton, ComponentKind::CheckButton};

} // namespace

class tst_TkSweep : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void randomSweep();

private:
    std::unique_ptr<tktest::XvfbServer> m_xvfb;
};

void tst_TkSweep::initTestCase()
{
    // Fail with the missing tool's name rather than skip: a skipped check never runs in CI.
    const QString python = tktest::compilesInPython(QStringLiteral("import tkinter"));
    QVERIFY2(python.isEmpty(), qPrintable(python));
    m_xvfb = std::make_unique<tktest::XvfbServer>();
    QVERIFY2(m_xvfb->isRunning(), qPrintable(m_xvfb->error()));
}

void tst_TkSweep::cleanup()
{
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void tst_TkSweep::randomSweep()
{
    const quint32 seed = sweepSeed();
    QStringList programs;
    QList<WindowDesign> designs;
    QStringList designerFaults;

    for (int n = 0; n < SweepDesigns; ++n) {
        QRandomGenerator rng(seed + quint32(n));
        const auto d = startDesigner();
        WindowDesign want;
        const QString where = QStringLiteral("design %1 (seed %2)").arg(n).arg(seed + quint32(n));

        // The window first, so that the widgets go onto its final client area.
        if (rng.bounded(3) > 0) {
            selectWindowEntry(*d);
            const int width = 40 + rng.bounded(900);
            const int height = 40 + rng.bounded(700);
            const int left = rng.bounded(-500, 3000);
            const int top = rng.bounded(-500, 2000);
            const QString title = randomText(rng, 4);
            const QString edits[][2] = {{TitleRow, title},
                                        {WidthRow, numberText(rng, width)},
                                        {HeightRow, numberText(rng, height)},
                                        {LeftRow, numberText(rng, left)},
                                        {TopRow, numberText(rng, top)}};
            for (const auto &edit : edits) {
                const QString failure = editGridValue(*d, edit[0], edit[1]);
                QVERIFY2(failure.isEmpty(), qPrintable(where + QStringLiteral(": ") + failure));
            }
            want.title = title;
            want.client = QSize(width, height);
            want.left = left;
            want.top = top;
        }

        const int count = rng.bounded(8);
        for (int i = 0; i < count; ++i) {
            const ComponentKind kind = AllKinds[rng.bounded(5)];
            const QSize client = designClient(*d)->size();
            QPoint at;
            bool found = false;
            for (int attempt = 0; attempt < 50 && !found; ++attempt) {
                at = QPoint(rng.bounded(client.width()), rng.bounded(client.height()));
                found = isEmptyDesignArea(*d, at);
            }
            if (!found)
                break;
            const model::Component *placed = placeByMouse(*d, kind, at);
            QVERIFY2(placed, qPrintable(where));
            WidgetDesign widget = placedWidget(kind, placed->number, at);

            // Each property is edited with some chance, in the order of the grid.
            if (widget.hasCaption() && rng.bounded(2)) {
                widget.caption = randomText(rng, 5);
                QVERIFY2(editGridValue(*d, TitleRow, widget.caption).isEmpty(), qPrintable(where));
            }
            if (rng.bounded(3) == 0) {
                widget.rect.moveTop(rng.bounded(-60, client.height() + 40));
                QVERIFY2(editGridValue(*d, TopRow, numberText(rng, widget.rect.top())).isEmpty(), qPrintable(where));
            }
            if (rng.bounded(3) == 0) {
                widget.rect.moveLeft(rng.bounded(-100, client.width() + 40));
                QVERIFY2(editGridValue(*d, LeftRow, numberText(rng, widget.rect.left())).isEmpty(),
                         qPrintable(where));
            }
            if (rng.bounded(3) == 0) {
                widget.rect.setWidth(rng.bounded(0, 400));
                QVERIFY2(editGridValue(*d, WidthRow, numberText(rng, widget.rect.width())).isEmpty(),
                         qPrintable(where));
            }
            if (rng.bounded(3) == 0) {
                widget.rect.setHeight(rng.bounded(0, 200));
                QVERIFY2(editGridValue(*d, HeightRow, numberText(rng, widget.rect.height())).isEmpty(),
                         qPrintable(where));
            }
            if (rng.bounded(3) == 0) {
                const QString face = SweepFaces.at(rng.bounded(int(SweepFaces.size())));
                widget.face = widgets::acceptedFace(face);
                QVERIFY2(editGridValue(*d, FaceRow, face).isEmpty(), qPrintable(where));
            }
            if (rng.bounded(3) == 0) {
                widget.points = rng.bounded(0, 49);
                QVERIFY2(editGridValue(*d, SizeRow, numberText(rng, widget.points)).isEmpty(), qPrintable(where));
            }
            want.widgets << widget;
        }

        const QStringList inDesigner = differencesInDesigner(want, *d);
        if (!inDesigner.isEmpty())
            designerFaults << where + QStringLiteral(":\n  ") + inDesigner.join(QStringLiteral("\n  "));
        programs << programInCodeView(*d);
        designs << want;
    }

    const QList<tktest::TkRun> runs = tktest::runManyInTk(programs, m_xvfb->display());
    QCOMPARE(runs.size(), programs.size());
    QStringList failures;
    for (qsizetype n = 0; n < runs.size(); ++n) {
        const QString where = QStringLiteral("design %1 (seed %2)").arg(n).arg(seed + quint32(n));
        if (!runs.at(n).ok) {
            const QString compileError = tktest::compilesInPython(programs.at(n));
            failures << QStringLiteral("%1: the program %2: %3")
                            .arg(where, compileError.isEmpty() ? QStringLiteral("failed in Tk")
                                                               : QStringLiteral("does not compile"),
                                 runs.at(n).error);
            continue;
        }
        const QStringList problems = differencesInTk(designs.at(n), runs.at(n).info);
        if (!problems.isEmpty())
            failures << where + QStringLiteral(":\n  ") + problems.join(QStringLiteral("\n  "));
    }
    QVERIFY2(failures.isEmpty(), qPrintable(QStringLiteral("%1 of %2 designs differ in Tk (KESTRIGAN_SWEEP_SEED=<its seed> "
                                                           "makes it the sweep's first design):\n")
                                                .arg(failures.size()).arg(SweepDesigns)
                                            + failures.mid(0, 10).join(QLatin1Char('\n'))));
    QVERIFY2(designerFaults.isEmpty(), qPrintable(QStringLiteral("%1 designs were not taken as made:\n")
                                                      .arg(designerFaults.size())
                                                  + designerFaults.mid(0, 10).join(QLatin1Char('\n'))));
}

QTEST_MAIN(tst_TkSweep)
#include "tst_tksweep.moc"
