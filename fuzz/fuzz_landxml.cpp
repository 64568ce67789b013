// The LandXML point reader and survey reader on any document: nesting, references, refusals, survey
// records in any order. They need no runtime files, so no working folder of the harness.
#include "data/tablecolumns.h"
#include "landxml/landxmlreader.h"
#include "landxml/surveyreader.h"

#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QBuffer buffer;
    buffer.setData(reinterpret_cast<const char*>(data), int(size));
    buffer.open(QIODevice::ReadOnly);
    const LandXmlPoints points = read_landxml(&buffer);
    // A refusal holds no points; an accepted file holds at least one.
    if (points.ok() == points.lines.isEmpty())
        __builtin_trap();
    buffer.seek(0);
    const LandXmlSurvey survey = read_landxml_survey(&buffer, {"STN", "BK", "MP"});
    // Every row has the fifteen columns; every reference names a row.
    for (const QStringList& row : survey.rows) {
        if (row.size() != ObsColumn::Count)
            __builtin_trap();
    }
    for (const SurveyReference& reference : survey.references) {
        if (reference.row < 0 || reference.row >= survey.rows.size() ||
            reference.name != survey.rows[reference.row][ObsColumn::Name])
            __builtin_trap();
    }
    // Read again without the observations: the same rows, with the same names and coordinates.
    buffer.seek(0);
    LandXmlSurveyReader reader(&buffer, {"STN", "BK", "MP"});
    int row_count = 0;
    reader.read(
        [&](int row, const QStringList& cells) {
            ++row_count;
            if (row >= survey.rows.size() ||
                cells.mid(ObsColumn::North, 3) != survey.rows[row].mid(ObsColumn::North, 3))
                __builtin_trap();
        },
        false);
    if (survey.ok() && row_count != survey.rows.size())
        __builtin_trap();
    if (!survey.ok() && !survey.rows.isEmpty())
        __builtin_trap();
    return 0;
}
