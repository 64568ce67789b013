// Matching the texts of a drawing to its unnamed points by position.
#include "data/dxfnames.h"

#include <QtGlobal>
#include <cmath>

namespace
{

// Half a millimetre: drawings written to three decimals and to full precision meet.
constexpr double kTolerance = 0.0005;
constexpr double kCellsPerUnit = 1000;
// Beyond this a coordinate cannot be placed on the millimetre grid.
constexpr double kLargest = 1e12;

// Tags by which drawings name a point's name attribute.
bool is_name_tag(const QString& tag)
{
    static const QStringList kTags = {"PT", "PNT", "PTNO", "PN", "NO", "NUM", "NUMBER", "ID", "POINT", "POINTNO"};
    const QString upper = tag.trimmed().toUpper();
    return upper.contains(QLatin1String("NAME")) || kTags.contains(upper) || upper == QString::fromUtf8("点号") ||
           upper == QString::fromUtf8("点名");
}

bool number_of(const QString& text, double* value)
{
    bool ok = false;
    *value = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(*value);
}

} // namespace

bool DxfNameFinder::cell_of(double east, double north, Cell* cell)
{
    if (!(std::fabs(east) < kLargest) || !(std::fabs(north) < kLargest))
        return false;
    *cell = {qRound64(east * kCellsPerUnit), qRound64(north * kCellsPerUnit)};
    return true;
}

bool DxfNameFinder::add_point(int index, const QString& east, const QString& north, const QString& height)
{
    Point point{index, 0, 0, std::nan("")};
    Cell cell;
    if (!number_of(east, &point.east) || !number_of(north, &point.north) || !cell_of(point.east, point.north, &cell))
        return false;
    double z = 0;
    if (number_of(height, &z))
        point.height = z;
    cells_[cell].append(points_.size());
    points_.append(point);
    return true;
}

// 0: an attribute named as a point name; 1: any other text; 2: the point's height written out.
int DxfNameFinder::rank_of(const DxfText& text, const Point& point) const
{
    if (text.attribute && is_name_tag(text.tag))
        return 0;
    double value = 0;
    if (!std::isnan(point.height) && number_of(text.value, &value) && std::fabs(value - point.height) <= kTolerance)
        return 2;
    return 1;
}

void DxfNameFinder::add_text(const DxfText& text)
{
    if (text.value.trimmed().isEmpty())
        return;
    QList<int> matched;
    for (const auto& anchor : text.anchors) {
        Cell cell;
        if (!cell_of(anchor.first, anchor.second, &cell))
            continue;
        for (qint64 dx = -1; dx <= 1; ++dx) {
            for (qint64 dy = -1; dy <= 1; ++dy) {
                for (int at : cells_.value({cell.first + dx, cell.second + dy})) {
                    const Point& point = points_[at];
                    if (std::fabs(point.east - anchor.first) <= kTolerance &&
                        std::fabs(point.north - anchor.second) <= kTolerance && !matched.contains(at))
                        matched.append(at);
                }
            }
        }
    }
    for (int at : matched) {
        const Point& point = points_[at];
        const int rank = rank_of(text, point);
        const auto old = found_.constFind(point.index);
        if (old == found_.constEnd() || rank < old->rank)
            found_.insert(point.index, {rank, text.value, text.layer});
    }
}

QString DxfNameFinder::name(int index) const
{
    const auto found = found_.constFind(index);
    return found == found_.constEnd() ? QString() : found->value;
}

QStringList DxfNameFinder::layers() const
{
    QStringList layers;
    for (const Point& point : points_) {
        const auto found = found_.constFind(point.index);
        if (found != found_.constEnd() && !layers.contains(found->layer))
            layers.append(found->layer);
    }
    return layers;
}
