// Wording the findings of a send check for the surveyor.
#include "comm/sendchecktext.h"

namespace sendcheck
{

namespace
{

// Entries of "SendCheckDlg" beyond those the window reads.
enum : int {
    IntroRows = 1,
    IntroUpload = 2,
    TooManyRows = 6, // %1 rows, %2 the most, %3 the rest
    Closing = 7,
    More = 8,        // %1
    RowItem = 9,     // row, field, shown, sent
    EqualItem = 10,  // earlier row, its name, row, its name, what both arrive as
    LineItem = 11,   // line, shown, sent
    LengthItem = 12, // line, its length
    JobItem = 13,    // shown, sent
    EmptyText = 14,
    FirstKind = 15,                  // one heading per Kind, in its order
    FirstWhere = FirstKind + kKinds, // one word per Where, in its order
};

// Records are long and padded: their fields are shown with single spaces, long ones shortened.
// Characters the wire cannot carry are left out, as the decoders leave them out.
QString display(const QString& text, const QStringList& texts)
{
    QString shown = text;
    shown.remove(QChar(0));
    shown = shown.simplified();
    if (shown.isEmpty())
        return texts.value(EmptyText);
    constexpr int kLongest = 60;
    return shown.size() > kLongest ? shown.left(kLongest - 1) + QChar(0x2026) : shown;
}

// One finding as a line. The texts are filled in one call each, so a "%" in a point name stays as it is.
QString item_text(const Finding& f, const QStringList& texts)
{
    const QString row = QString::number(f.row + 1);
    const QString shown = display(f.shown, texts);
    const QString sent = display(f.sent, texts);
    if (f.kind == Kind::EqualOnceCut)
        return texts.value(EqualItem).arg(QString::number(f.other_row + 1), display(f.other, texts), row, shown, sent);
    if (f.where == Where::JobName)
        return texts.value(JobItem).arg(shown, sent);
    if (f.kind == Kind::RecordLength)
        return texts.value(LengthItem).arg(row, QString::number(f.shown.size()));
    if (f.where == Where::Record)
        return texts.value(LineItem).arg(row, shown, sent);
    return texts.value(RowItem).arg(row, texts.value(FirstWhere + int(f.where)), shown, sent);
}

} // namespace

QString question_text(const Report& report, const QStringList& texts, bool upload, int items_per_kind)
{
    QStringList parts{texts.value(upload ? IntroUpload : IntroRows)};
    if (report.too_many())
        parts << texts.value(TooManyRows)
                     .arg(QString::number(report.rows), QString::number(report.limit),
                          QString::number(report.rows - report.limit));
    for (int k = 0; k < kKinds; ++k) {
        const Kind kind = Kind(k);
        QStringList items;
        int total = 0;
        for (const Finding& f : report.findings) {
            if (f.kind != kind)
                continue;
            if (total++ < items_per_kind)
                items << "  " + item_text(f, texts);
        }
        if (total == 0)
            continue;
        if (total > items_per_kind)
            items << "  " + texts.value(More).arg(total - items_per_kind);
        parts << texts.value(FirstKind + k) + "\n" + items.join('\n');
    }
    parts << texts.value(Closing);
    return parts.join("\n\n");
}

} // namespace sendcheck
