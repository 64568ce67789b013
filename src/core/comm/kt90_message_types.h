// The KT90 messages the PC sends, by type: the numbers the builders take, the conversations keep as
// their state (the type sent last) and the instrument answers; and the command text of each.
#ifndef KT90_MESSAGE_TYPES_H
#define KT90_MESSAGE_TYPES_H

#include <QString>

namespace kt90
{

namespace Message
{
enum : int {
    None = 0,      // nothing to send; the state of no conversation
    Open = 1,      // "a": opens every conversation
    Continue = 2,  // "c": the second step, after the instrument's first "?"
    Next = 3,      // "?": acknowledges a reply line and asks for the next one
    EndOfData = 4, // 0x1A: the end of the data the PC sends
    Query182 = 10, // the four start-up queries, whose replies are not used
    Query136 = 11,
    Query137 = 12,
    QueryWi13 = 13,
    CodeList = 14, // the lists: codes (not kept), jobs, data formats, HAL, VAL
    JobList = 15,
    FormatList = 16,
    HalList = 17,
    ValList = 18,
    UploadFormat = 20,        // selects the format before a job is sent to the instrument
    SendCoordinates = 21,     // announces coordinates for a job, its number appended
    CreateJob = 22,           // names a job: its name, "/", the job number's digits
    DataRecord = 23,          // one coordinate record for the instrument
    DownloadFormat = 30,      // selects the format before a download, its number appended
    ReceiveCoordinates = 31,  // asks for a job's fixed points, its number appended
    ReceiveObservations = 32, // asks for a job's measured points, its number appended
};
} // namespace Message

// The command text of a message type, the program's own constant; "" for a type that has none
// (1 to 4, 23) or that is not listed.
QString command_text(int type);

} // namespace kt90

#endif // KT90_MESSAGE_TYPES_H
