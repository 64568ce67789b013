// Builders of the messages the PC sends to a KT90, by message type (comm/kt90_message_types.h). The
// communication dictionary's four builder methods are these; code that has no dictionary calls them
// directly.
#ifndef KT90_COMMANDS_H
#define KT90_COMMANDS_H

#include "comm/kt90_message_types.h"

#include <QByteArray>
#include <QString>

namespace kt90
{

// The bytes of one message, CR LF included; empty when there is nothing to send. `text` is the
// command text (for CreateJob the job number, for DataRecord the record length), `value` the
// parameter, appended only when `append` is true.
QByteArray build_message(int type, const QString& text, const QString& value, bool append);
// The listing's and the download's messages: the type's own command text, `value` appended or not.
QByteArray listing_message(int type, const QString& value, bool append);
// The upload's messages: `number` is the job number (SendCoordinates, CreateJob) or the record
// length (DataRecord); types the upload does not send give an empty message.
QByteArray upload_message(int type, const QString& number, const QString& value, bool append);

} // namespace kt90

#endif // KT90_COMMANDS_H
