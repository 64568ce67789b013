// ktconvert's messages on the console.
#include "convert/console.h"

#include "data/replacefile.h"

#include <QTextCodec>

void say(std::FILE* stream, const QString& text)
{
    const QByteArray bytes = QTextCodec::codecForLocale()->fromUnicode(text + '\n');
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

void tell_findings(const QString& file, const QList<FileFindingText>& findings)
{
    for (const FileFindingText& finding : findings)
        say(stderr, QString("ktconvert: %1%2%3")
                        .arg(file, finding.kind == FileFinding::Encoding ? " " : ": ", finding_in_english(finding)));
}

QString write_failure(const QString& output, bool existed, const LayerReport& layer, const QString& message)
{
    QString reason = layer.failed() ? finding_in_english(layer_refusal(layer)) : message;
    // A write that failed on the way (not a refusal before it) says what it left.
    if (!layer.failed() || layer.failure == FileFinding::WriteFailed || layer.failure == FileFinding::CannotOpen) {
        static const char* const kLeft[] = {"; the file as it was is kept", "; no file was made", ""};
        reason += kLeft[int(after_failed_write(output, existed))];
    }
    return QString("ktconvert: cannot write %1: %2").arg(output, reason);
}

bool tell_read_failure(const QString& input, const QString& output, const PointFileConversion& result)
{
    if (result.outcome == PointFileConversion::UnknownInputFormat ||
        result.outcome == PointFileConversion::InputUnreadable) {
        say(stderr, QString("ktconvert: cannot read %1: %2")
                        .arg(input, finding_in_english(read_refusal(result.read, result.layer_read, result.reason))));
        return true;
    }
    if (result.outcome == PointFileConversion::NoPoints) {
        say(stderr, QString("ktconvert: no point read from %1; %2 not written").arg(input, output));
        return true;
    }
    return false;
}
