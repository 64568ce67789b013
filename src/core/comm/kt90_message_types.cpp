// The KT90 command texts: the one table the builders, the instrument model and the trees read.
#include "comm/kt90_message_types.h"

namespace kt90
{

namespace
{

const struct {
    int type;
    const char* text;
} kCommandTexts[] = {
    {Message::Query182, "CONF/182"},
    {Message::Query136, "CONF/136"},
    {Message::Query137, "CONF/137"},
    {Message::QueryWi13, "GET//WI13"},
    {Message::CodeList, "CODE/CONF/LIST"},
    {Message::JobList, "JOB/CONF/LIST"},
    {Message::FormatList, "FORM/CONF/LIST"},
    {Message::HalList, "HAL/CONF/LIST"},
    {Message::ValList, "VAL/CONF/LIST"},
    {Message::UploadFormat, "FORM/SET/0"},
    {Message::SendCoordinates, "JOB/SND/COORD/"},
    {Message::CreateJob, "JOB/SET/"},
    {Message::DownloadFormat, "FORM/SET/0"},
    {Message::ReceiveCoordinates, "JOB/RCV/COORDS/"},
    {Message::ReceiveObservations, "JOB/RCV/OBSERV/"},
};

} // namespace

QString command_text(int type)
{
    for (const auto& command : kCommandTexts) {
        if (command.type == type)
            return QString::fromLatin1(command.text);
    }
    return QString();
}

} // namespace kt90
