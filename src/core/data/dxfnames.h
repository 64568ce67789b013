// Names for the points of a drawing that carry no point-number text (drawings other CAD programs
// write): the TEXT or the attribute (an ATTRIB of an INSERT) that stands at the point's position, on
// any layer. A text stands at a point when one of its anchors (its insertion point, its alignment
// point, or the insertion point of the INSERT an attribute belongs to) lies within half a millimetre of
// the point in E and N. Of several, an attribute whose tag names a point name comes first, then any text
// that is not the point's height, each in file order.
#ifndef DXFNAMES_H
#define DXFNAMES_H

#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// A TEXT or ATTRIB entity as read: its value, layer, tag (attributes only) and anchors (E, N).
struct DxfText {
    QString value;
    QString layer;
    QString tag;
    bool attribute = false;
    QList<QPair<double, double>> anchors;
};

class DxfNameFinder
{
public:
    // The caller's point `index`, from the texts of its E, N and Z; false (not looked for) when E or N
    // is no number.
    bool add_point(int index, const QString& east, const QString& north, const QString& height);
    bool empty() const { return points_.isEmpty(); }
    // A text met in the drawing, in file order.
    void add_text(const DxfText& text);
    // The name found for point `index`, or a null string.
    QString name(int index) const;
    // The layers the names found came from, in the order of their first name.
    QStringList layers() const;

private:
    struct Point {
        int index;
        double east;
        double north;
        double height; // NaN: none
    };
    struct Found {
        int rank;
        QString value;
        QString layer;
    };
    using Cell = QPair<qint64, qint64>;
    static bool cell_of(double east, double north, Cell* cell);
    int rank_of(const DxfText& text, const Point& point) const;

    QList<Point> points_;
    QHash<Cell, QList<int>> cells_; // positions in points_ by the millimetre cell of their E, N
    QHash<int, Found> found_;       // by the caller's index
};

#endif // DXFNAMES_H
