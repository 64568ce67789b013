// What one code field says, read against the code list: the code, a string number keeping parallel
// lines of one code apart (CURB1, CURB2), and a last control character that starts a new line (+),
// ends the line at this point (-) or closes it back to its first point (*). Short enough for the
// instruments' 7-character code fields: "CURB12+".
#ifndef SURVEY_LINECODES_H
#define SURVEY_LINECODES_H

#include "survey/codelist.h"

#include <QString>

enum class LineControl { None, Start, End, Close };

struct LineCode {
    enum Problem {
        Fine,
        Empty,                 // nothing but blanks: a plain point
        Unknown,               // code not in the list (code: as typed, without a control or number)
        ControlOnly,           // nothing but control characters
        StringOutOfRange,      // a known code followed by a number that is no string number (0, 123)
        StringWithoutLineCode, // a string number after a point code, or with no code at all
    };

    Problem problem = Empty;
    int entry = -1;        // the code's entry in the list, -1 when none
    QString code;          // the list's spelling of the code; for Unknown the text as typed
    int string_number = 0; // 1 to 99; 0 when none
    LineControl control = LineControl::None;

    // Whether the point joins a line or area: a line or area code, read without a problem.
    bool joins(const CodeList& list) const;
};

// Reads one code field (blanks around it ignored). Codes are matched without regard to letter case; a
// code in the list that ends in digits ("B2") is taken whole before its digits are read as a string
// number.
LineCode parse_line_code(const QString& field, const CodeList& list);

// The largest string number.
constexpr int kMaxStringNumber = 99;

#endif // SURVEY_LINECODES_H
