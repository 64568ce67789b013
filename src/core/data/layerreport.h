// What reading or writing a point file met, for the user to be told: the refusal, named by the
// finding it is told as, and the counts of what was changed or left out (data/filefindings.h picks
// what is worth telling). The layer formats fill all of it; a text format's writer its failure's
// words and the characters GBK cannot hold.
#ifndef LAYERREPORT_H
#define LAYERREPORT_H

#include "data/findingkind.h"
#include "data/textencoding.h"

#include <QString>
#include <QStringList>

struct LayerReport {
    // Why the read or write was refused; FileFinding::None when it was not, or when only `message`
    // says why (a text file that could not be written).
    FileFinding failure = FileFinding::None;
    QString message; // why: the system's or the library's words, or what the refusal names
    qint64 line = 0; // NotWellFormed, NotLandXml: where
    qint64 column = 0;

    // Reading
    QString layer;            // the layer (or sheet) read, when the file holds several
    int layer_count = 0;      // layers or sheets in the file
    QString crs;              // the system the file or layer names ("EPSG:4547"), empty when none
    QString target_crs;       // the system the points were put into, when transformed
    bool transformed = false; // the points changed system
    int other_geometries = 0; // lines, polygons and multi-points left out
    int empty_geometries = 0; // features without a geometry left out
    int failed_transforms = 0;
    int without_coordinates = 0; // points (or rows) without coordinates left out
    int changed_characters = 0;  // commas and line breaks in names and codes replaced
    QStringList hidden_layers;   // hidden sheets before the one read, skipped
    int dated_numbers = 0;       // coordinates and heights a workbook shows as dates, read as numbers

    // Writing
    int written = 0;
    int linework_lines = 0; // lines and areas written beside the points
    int linework_areas = 0;
    int skipped = 0;                        // rows left out: N or E not a number
    int not_numbers_kept = 0;               // rows a text format kept as they stand: N or E not a number
    int without_height = 0;                 // points drawn without a height: Z empty or not a number
    int extra_fields = 0;                   // lines of more fields than the format holds
    int outside_area = 0;                   // points outside the system's area of use
    int changed_values = 0;                 // texts cut or not numbers in a number field
    int dropped_characters = 0;             // control characters XML cannot hold
    bool without_crs = false;               // a format that can carry a system, written without one
    qint64 unencodable = 0;                 // characters written as "?": the text encoding cannot hold them
    UnencodableCharacter first_unencodable; // the first of them: its file line and field

    bool failed() const { return failure != FileFinding::None; }
};

#endif // LAYERREPORT_H
