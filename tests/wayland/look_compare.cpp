// The look test's comparison (tests/tk/lookcomparison.h) for programs outside the test process:
// the rig's screenshots of a compositor's output, where the design and Tk's window are found by
// what they show and compared with the same shares as tst_tklook.
//
//   look_compare compare DESIGN TK [DIFFERENCE]
//       Prints "coarse C fine F": the shares (0 to 1) of the pixels whose largest channel
//       difference exceeds 40 and 12. DIFFERENCE, if given, gets the map of where.
//   look_compare locate SCREEN TEMPLATE SCALE [LEFT TOP WIDTH HEIGHT]
//       Prints "X Y WIDTH HEIGHT MEAN": the rectangle of the screen (within the given area) where
//       the template, scaled by SCALE, fits best, and the mean channel difference there.
//
// Images are read in any format Qt reads (PNG, PPM). Exit status 0 when it printed its answer, 1 with
// the reason on stderr otherwise.
#include "lookcomparison.h"

#include <QImage>
#include <QRect>
#include <QStringList>

#include <cstdio>
#include <limits>
#include <optional>

namespace {

int fail(const QString &message)
{
    std::fprintf(stderr, "look_compare: %s\n", qPrintable(message));
    return 1;
}

std::optional<QImage> load(const QString &path, QString *error)
{
    QImage image(path);
    if (image.isNull()) {
        *error = QStringLiteral("cannot read the image %1").arg(path);
        return std::nullopt;
    }
    return image.convertToFormat(QImage::Format_RGB32);
}

// The mean largest channel difference between the template and the screen with the template's
// top-left corner at `at`, over every `step`-th pixel; stops early once the sum passes `limit`.
double mismatch(const QImage &screen, const QImage &pattern, QPoint at, int step, double limit)
{
    qint64 sum = 0;
    qint64 count = 0;
    const qint64 stop = limit >= std::numeric_limits<double>::max() / 2 ? std::numeric_limits<qint64>::max()
                                                                        : qint64(limit * (pattern.width() / step + 1) * (pattern.height() / step + 1));
    for (int y = 0; y < pattern.height(); y += step) {
        const auto *want = reinterpret_cast<const QRgb *>(pattern.constScanLine(y));
        const auto *have = reinterpret_cast<const QRgb *>(screen.constScanLine(at.y() + y)) + at.x();
        for (int x = 0; x < pattern.width(); x += step) {
            sum += look::channelDifference(want[x], have[x]);
            ++count;
        }
        if (sum > stop)
            return std::numeric_limits<double>::max();
    }
    return count ? double(sum) / count : 0;
}

// The best position of the pattern within the area (template corners that keep it inside), searched
// over every position with a sparse sample of the pattern, then refined around the best with all of it.
QPoint bestFit(const QImage &screen, const QImage &pattern, const QRect &area, double *mean)
{
    const QRect corners(area.topLeft(), QSize(area.width() - pattern.width() + 1, area.height() - pattern.height() + 1));
    // Sparse enough that a full screen takes about a second, dense enough to see a window's edges.
    const int sparse = qMax(2, qMin(pattern.width(), pattern.height()) / 24);
    QPoint best = corners.topLeft();
    double bestScore = std::numeric_limits<double>::max();
    for (int y = corners.top(); y <= corners.bottom(); y += 2) {
        for (int x = corners.left(); x <= corners.right(); x += 2) {
            const double score = mismatch(screen, pattern, {x, y}, sparse, bestScore);
            if (score < bestScore) {
                bestScore = score;
                best = {x, y};
            }
        }
    }
    const QRect near = QRect(best - QPoint(3, 3), QSize(7, 7)).intersected(corners);
    bestScore = std::numeric_limits<double>::max();
    for (int y = near.top(); y <= near.bottom(); ++y) {
        for (int x = near.left(); x <= near.right(); ++x) {
            const double score = mismatch(screen, pattern, {x, y}, 1, bestScore);
            if (score < bestScore) {
                bestScore = score;
                best = {x, y};
            }
        }
    }
    *mean = bestScore;
    return best;
}

int compare(const QStringList &args)
{
    if (args.size() != 2 && args.size() != 3)
        return fail(QStringLiteral("usage: look_compare compare DESIGN TK [DIFFERENCE]"));
    QString error;
    const auto design = load(args.at(0), &error);
    const auto tk = design ? load(args.at(1), &error) : std::nullopt;
    if (!tk)
        return fail(error);
    if (design->size() != tk->size())
        return fail(QStringLiteral("the design is %1 x %2 pixels and Tk's window %3 x %4")
                        .arg(design->width()).arg(design->height()).arg(tk->width()).arg(tk->height()));
    const look::Difference difference = look::compare(*design, *tk, QRegion(design->rect()));
    if (args.size() == 3 && !difference.map.save(args.at(2)))
        return fail(QStringLiteral("cannot write %1").arg(args.at(2)));
    std::printf("coarse %.6f fine %.6f\n", difference.coarse, difference.fine);
    return 0;
}

int locate(const QStringList &args)
{
    if (args.size() != 3 && args.size() != 7)
        return fail(QStringLiteral("usage: look_compare locate SCREEN TEMPLATE SCALE [LEFT TOP WIDTH HEIGHT]"));
    QString error;
    const auto screen = load(args.at(0), &error);
    auto pattern = screen ? load(args.at(1), &error) : std::nullopt;
    if (!pattern)
        return fail(error);
    bool ok = false;
    const double scale = args.at(2).toDouble(&ok);
    if (!ok || !(scale >= 0.25 && scale <= 8))
        return fail(QStringLiteral("the scale %1 is not a number from 0.25 to 8").arg(args.at(2)));
    QRect area = screen->rect();
    if (args.size() == 7) {
        int values[4];
        for (int i = 0; i < 4; ++i) {
            values[i] = args.at(3 + i).toInt(&ok);
            if (!ok)
                return fail(QStringLiteral("the area's %1 is not a whole number").arg(args.at(3 + i)));
        }
        area = QRect(values[0], values[1], values[2], values[3]).intersected(screen->rect());
    }
    if (scale != 1) {
        const QSize size(qRound(pattern->width() * scale), qRound(pattern->height() * scale));
        pattern = pattern->scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    if (pattern->isNull() || pattern->width() > area.width() || pattern->height() > area.height())
        return fail(QStringLiteral("the template, %1 x %2 pixels when scaled, does not fit into the %3 x %4 area searched")
                        .arg(pattern->width()).arg(pattern->height()).arg(area.width()).arg(area.height()));
    double mean = 0;
    const QPoint at = bestFit(*screen, *pattern, area, &mean);
    std::printf("%d %d %d %d %.3f\n", at.x(), at.y(), pattern->width(), pattern->height(), mean);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    const QString command = args.isEmpty() ? QString() : args.takeFirst();
    if (command == QLatin1String("compare"))
        return compare(args);
    if (command == QLatin1String("locate"))
        return locate(args);
    return fail(QStringLiteral("usage: look_compare compare DESIGN TK [DIFFERENCE] | "
                               "locate SCREEN TEMPLATE SCALE [LEFT TOP WIDTH HEIGHT]"));
}
