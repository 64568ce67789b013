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
        if (reference.row < 0 || reference.row >= survey.rows.size())
            __builtin_trap();
    }
    if (!survey.ok() && !survey.rows.isEmpty())
        __builtin_trap();
    return 0;
}
