// The fields of a comma-separated line, located without copying: fields are split at every ","
// (no quoting), empty fields count.
#ifndef LINEFIELDS_H
#define LINEFIELDS_H

#include <QString>
#include <QStringView>

class LineFields
{
public:
    static constexpr int kMaxFields = 16;

    // Locates the first `wanted` fields of `line` (at most kMaxFields). The line must outlive this.
    LineFields(const QString& line, int wanted);

    // Fields found, at most `wanted`: fewer means the line has fewer fields.
    int count() const { return count_; }
    bool has(int fields) const { return count_ >= fields; }
    // Field `i` (below count()) as it stands in the line.
    QStringView field(int i) const { return QStringView(*line_).mid(start_[i], end_[i] - start_[i]); }
    // Where field `i` starts in the line.
    int position(int i) const { return start_[i]; }
    // Makes *out the fields named by `order` (below count()), joined by ","; a negative entry stands
    // for `extra`. Reuses the buffer of *out, which must not be the line itself.
    void join(const signed char* order, int size, const QChar* extra, int extra_size, QString* out) const;

private:
    const QString* line_;
    int count_ = 0;
    int start_[kMaxFields];
    int end_[kMaxFields];
};

#endif // LINEFIELDS_H
